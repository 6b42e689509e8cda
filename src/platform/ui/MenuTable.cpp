#include "platform/ui/MenuTable.h"

#include <QHash>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace quorvane::ui {

MenuEntry::MenuEntry(const char* objectName, const char* parent)
    : m_name(QLatin1String(objectName))
    , m_parent(QLatin1String(parent))
    , m_caption(m_name)
{
}

MenuEntry& MenuEntry::on(Handler handler)
{
    m_handler = std::move(handler);
    return *this;
}

MenuEntry& MenuEntry::shortcut(const char* keys)
{
    m_shortcut = QLatin1String(keys);
    return *this;
}

MenuEntry& MenuEntry::caption(const char* key)
{
    m_caption = QLatin1String(key);
    return *this;
}

MenuEntry& MenuEntry::checkable()
{
    m_checkable = true;
    return *this;
}

MenuEntry& MenuEntry::popup()
{
    m_popup = true;
    return *this;
}

MenuEntry& MenuEntry::separator()
{
    m_separator = true;
    return *this;
}

void createMenus(QMainWindow* window, const MenuTable& table)
{
    QSet<QString> parents;
    for (const MenuEntry& e : table.entries)
        parents.insert(e.parentName());

    QHash<QString, QMenu*> menus;
    for (const MenuEntry& e : table.entries) {
        QMenu* parent = nullptr;
        if (!e.parentName().isEmpty()) {
            parent = menus.value(e.parentName());
            if (!parent)
                qFatal("Menu entry %s is under %s, which no earlier row creates", qPrintable(e.objectName()),
                       qPrintable(e.parentName()));
        }
        QAction* action = nullptr;
        if (e.isSeparator()) {
            action = parent->addSeparator();
        } else if (parents.contains(e.objectName()) || e.isPopup()) {
            QMenu* menu = e.isPopup() ? new QMenu(window)
                : parent              ? parent->addMenu(QString())
                                      : window->menuBar()->addMenu(QString());
            menu->setObjectName(e.objectName());
            menus.insert(e.objectName(), menu);
            action = menu->menuAction();
        } else {
            action = parent ? parent->addAction(QString()) : window->menuBar()->addAction(QString());
        }
        action->setObjectName(e.objectName());
        action->setCheckable(e.isCheckable());
        if (!e.shortcutKeys().isEmpty())
            action->setShortcut(QKeySequence::fromString(e.shortcutKeys()));
        if (!e.handler())
            continue;
        if (QMenu* menu = menus.value(e.objectName())) {
            QObject::connect(menu, &QMenu::aboutToShow, window, e.handler().boundTo(window, -1));
        } else {
            // Qt flips a checkable entry's mark before the handler runs; the handler alone sets marks, so a
            // command it cancels leaves them as they were.
            QObject::connect(action, &QAction::triggered, window, [action, handler = e.handler().boundTo(window, -1)] {
                if (action->isCheckable())
                    action->setChecked(!action->isChecked());
                handler();
            });
        }
    }
}

void setCaptions(QWidget* window, const MenuTable& table, const TextOf& textOf)
{
    for (const MenuEntry& e : table.entries)
        if (!e.captionKey().isEmpty())
            if (QAction* action = menuEntry(window, e.objectName()))
                action->setText(textOf(e.captionKey()));
}

QAction* menuEntry(const QWidget* window, const QString& objectName) { return window->findChild<QAction*>(objectName); }

QMenu* popupMenu(const QWidget* window, const QString& objectName) { return window->findChild<QMenu*>(objectName); }

} // namespace quorvane::ui
