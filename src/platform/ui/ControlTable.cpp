#include "platform/ui/ControlTable.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/FocusReturn.h"
#include "platform/ui/LimitedEdit.h"

#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <map>
#include <typeindex>

namespace quorvane::ui {

namespace {

const char* const DesignRectProperty = "quorvaneDesignRect";
const char* const DesignSizeProperty = "quorvaneDesignSize";

// "name(3)" is element 3 of the array "name".
const QRegularExpression& arrayElementName()
{
    static const QRegularExpression re(QStringLiteral("^(\\w+)\\((\\d+)\\)$"));
    return re;
}

QWidget* makeWidget(const Control& row, QWidget* parent)
{
    switch (row.kind()) {
    case Kind::TextBox:
    case Kind::MaskedEdit: {
        auto* box = new QLineEdit(parent);
        dropControlCharacters(box);
        return box;
    }
    case Kind::MultiLineText:
        return new QPlainTextEdit(parent);
    case Kind::ComboBox: {
        auto* combo = new ComboBox(parent);
        combo->setEditable(row.isEditable());
        return combo;
    }
    case Kind::ListBox:
        return new ListBox(parent);
    case Kind::CheckBox: // taller than a line: its caption wraps
        return row.twips().height() > 450 ? new WrappingCheckBox(parent) : new CheckBox(parent);
    case Kind::OptionButton:
        return new OptionButton(parent);
    case Kind::CommandButton: {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false); // Enter in a box does not press a button
        return button;
    }
    case Kind::Label:
        return new QLabel(parent);
    case Kind::Frame:
        return new QGroupBox(parent);
    case Kind::PlainFrame:
        return new QFrame(parent);
    case Kind::FlexGrid: {
        auto* grid = new FlexGridWidget(parent);
        grid->verticalHeader()->hide();
        grid->setTabKeyNavigation(false); // Tab goes on to the window's next control; the arrows move in the grid
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        rowHeightsFollowFont(grid);
        return grid;
    }
    case Kind::TabStrip:
        return new QTabWidget(parent);
    case Kind::TabPage: {
        auto* tabs = qobject_cast<QTabWidget*>(parent);
        if (!tabs)
            qFatal("Tab page %s is not in a tab strip", qPrintable(row.objectName()));
        auto* page = new QWidget;
        tabs->addTab(page, QString());
        return page;
    }
    case Kind::TreeView: {
        auto* tree = new TreeView(parent);
        tree->setHeaderHidden(true);
        return tree;
    }
    case Kind::DatePicker: {
        auto* picker = new DatePicker(parent);
        picker->setCalendarPopup(true);
        typeBySection(picker);
        return picker;
    }
    case Kind::TimePicker: {
        auto* picker = new QTimeEdit(parent);
        typeBySection(picker);
        return picker;
    }
    case Kind::PictureBox:
        return new PictureBox(parent);
    case Kind::ProgressBar:
        return new QProgressBar(parent);
    }
    return nullptr;
}

// Where a window's controls go: a main window keeps them on its central widget, below its menu bar.
QWidget* clientArea(QWidget* window)
{
    auto* main = qobject_cast<QMainWindow*>(window);
    if (!main)
        return window;
    if (!main->centralWidget()) {
        auto* central = new QWidget;
        central->setObjectName(QStringLiteral("clientArea"));
        main->setCentralWidget(central);
    }
    return main->centralWidget();
}

// The panels a window holds, one of each type; a child of the window, so they go with it.
class PanelStore : public QObject {
public:
    explicit PanelStore(QObject* window) : QObject(window) { setObjectName(QStringLiteral("quorvanePanels")); }

    static PanelStore* of(const QObject* window)
    {
        return dynamic_cast<PanelStore*>(
            window->findChild<QObject*>(QStringLiteral("quorvanePanels"), Qt::FindDirectChildrenOnly));
    }

    std::map<std::type_index, std::unique_ptr<Panel>> panels;
};

QByteArray typeName(const std::type_info& type)
{
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    const QByteArray out = status == 0 && name ? QByteArray(name) : QByteArray(type.name());
    std::free(name);
    return out;
}

void sizeClientArea(QWidget* window, const ControlTable& table)
{
    window->setProperty(DesignSizeProperty, table.size);
    if (!table.size.isValid())
        return;
    QSize pixels(twipsToPixels(table.size.width()), twipsToPixels(table.size.height()));
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
        pixels.rheight() += main->menuWidget()->sizeHint().height();
    if (table.sizable)
        window->resize(pixels);
    else
        window->setFixedSize(pixels);
}

} // namespace

Control::Control(Kind kind, const char* objectName, QRect twips)
    : m_kind(kind)
    , m_objectName(QLatin1String(objectName))
    , m_name(m_objectName)
    , m_twips(twips)
{
    if (const auto m = arrayElementName().match(m_objectName); m.hasMatch()) {
        m_name = m.captured(1);
        m_index = m.captured(2).toInt();
    }
}

Control& Control::tab(int position)
{
    m_tab = position;
    return *this;
}

Control& Control::caption()
{
    m_caption = m_name;
    return *this;
}

Control& Control::caption(const char* key)
{
    m_caption = QLatin1String(key);
    return *this;
}

Control& Control::in(const char* parentObjectName)
{
    m_parent = QLatin1String(parentObjectName);
    return *this;
}

Control& Control::on(Handler handler)
{
    m_handler = std::move(handler);
    return *this;
}

Control& Control::onLeave(Handler handler)
{
    m_leave = std::move(handler);
    return *this;
}

Control& Control::onEnter(Handler handler)
{
    m_enter = std::move(handler);
    return *this;
}

Control& Control::editable()
{
    m_editable = true;
    return *this;
}

QWidget* Panel::control(const QString& objectName) const
{
    QWidget* widget = m_controls.value(objectName);
    if (!widget)
        qFatal("Panel control %s is not a row its window took", qPrintable(objectName));
    return widget;
}

namespace detail {

Panel* findPanel(const QObject* window, const std::type_info& type)
{
    const PanelStore* store = window ? PanelStore::of(window) : nullptr;
    if (!store)
        return nullptr;
    const auto it = store->panels.find(std::type_index(type));
    return it == store->panels.end() ? nullptr : it->second.get();
}

Panel& addPanel(QObject* window, const std::type_info& type, std::unique_ptr<Panel> (*make)())
{
    PanelStore* store = PanelStore::of(window);
    if (!store)
        store = new PanelStore(window);
    std::unique_ptr<Panel>& slot = store->panels[std::type_index(type)];
    if (!slot)
        slot = make();
    return *slot;
}

void noPanel(const QObject* window, const std::type_info& type)
{
    qFatal("Window %s of class %s holds no panel %s", window ? qPrintable(window->objectName()) : "none",
           window ? window->metaObject()->className() : "none", typeName(type).constData());
}

} // namespace detail

QList<Control> takeRows(const QList<Control>& rows, const QStringList& names)
{
    QList<Control> taken;
    QStringList left = names;
    for (const Control& row : rows) {
        // A control array is taken whole by its name, or element by element.
        if (names.contains(row.objectName()) || (row.index() >= 0 && names.contains(row.name())))
            taken << row;
        left.removeAll(row.objectName());
        left.removeAll(row.name());
    }
    for (const QString& name : std::as_const(left)) {
        Control missing(Kind::Label, "", QRect());
        missing.m_objectName = missing.m_name = name;
        missing.m_missing = true;
        taken << missing;
    }
    return taken;
}

QList<Control> placedOn(QList<Control> rows, const char* parent, QPoint shift)
{
    QStringList names;
    for (const Control& row : std::as_const(rows))
        names << row.objectName();
    for (Control& row : rows)
        if (!names.contains(row.parentName())) {
            row.m_parent = QLatin1String(parent);
            row.m_twips.translate(shift);
        }
    return rows;
}

QList<Control> shownOnly(QList<Control> rows)
{
    for (Control& row : rows)
        row.m_handler = row.m_leave = row.m_enter = Handler();
    return rows;
}

QList<Control> uncaptioned(QList<Control> rows)
{
    for (Control& row : rows)
        row.caption("");
    return rows;
}

void createControls(QWidget* window, const ControlTable& table)
{
    for (const Control& row : table.controls)
        if (row.isMissing())
            qFatal("Control %s is taken from a panel that has no row of that name", qPrintable(row.objectName()));
    sizeClientArea(window, table);
    QWidget* client = clientArea(window);
    QHash<QString, QWidget*> made;
    QList<QWidget*> widgets;
    for (const Control& row : table.controls) {
        QWidget* parent = client;
        if (!row.parentName().isEmpty()) {
            parent = made.value(row.parentName());
            if (!parent)
                qFatal("Control %s sits on %s, which no earlier row creates", qPrintable(row.objectName()),
                       qPrintable(row.parentName()));
        }
        QWidget* widget = makeWidget(row, parent);
        widget->setObjectName(row.objectName());
        if (row.kind() != Kind::TabPage) {
            setGeometryTwips(widget, row.twips());
            widget->setProperty(DesignRectProperty, row.twips());
        }
        made.insert(row.objectName(), widget);
        widgets << widget;
    }

    // Handlers last, so that building the window ran none of them.
    for (qsizetype i = 0; i < table.controls.size(); ++i) {
        const Control& row = table.controls[i];
        row.bindTo(window, widgets[i]);
        if (row.handler())
            onChange(widgets[i], row.handler().boundTo(window, row.index(), widgets[i]));
        if (row.leaveHandler())
            onLeave(widgets[i], row.leaveHandler().boundTo(window, row.index(), widgets[i]));
        if (row.enterHandler())
            onEnter(widgets[i], row.enterHandler().boundTo(window, row.index(), widgets[i]));
    }

    QList<qsizetype> tabbed;
    for (qsizetype i = 0; i < table.controls.size(); ++i)
        if (table.controls[i].tabPosition() > 0)
            tabbed << i;
    std::stable_sort(tabbed.begin(), tabbed.end(), [&](qsizetype a, qsizetype b) {
        return table.controls[a].tabPosition() < table.controls[b].tabPosition();
    });
    QList<QWidget*> order;
    for (qsizetype i : std::as_const(tabbed))
        order << widgets[i];
    setTabOrder(order);
    returnFocusWhenEnabled(window, order);
}

void setCaptions(QWidget* window, const ControlTable& table, const TextOf& textOf)
{
    if (table.title)
        window->setWindowTitle(textOf(QLatin1String(table.title)));
    for (const Control& row : table.controls) {
        if (row.captionKey().isEmpty())
            continue;
        QWidget* widget = window->findChild<QWidget*>(row.objectName());
        if (!widget)
            continue;
        const QString text = textOf(row.captionKey());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(text);
        else if (row.kind() == Kind::TabPage)
            for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
                if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                    tabs->setTabText(tabs->indexOf(widget), text);
                    break;
                }
    }
}

QRect designRect(const QWidget* control) { return control->property(DesignRectProperty).toRect(); }

QSize designSize(const QWidget* window) { return window->property(DesignSizeProperty).toSize(); }

void setTabOrder(const QList<QWidget*>& order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QMap<int, QWidget*> findControlArray(const QWidget* window, const QString& name)
{
    QMap<int, QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto m = arrayElementName().match(w->objectName());
        if (m.hasMatch() && m.captured(1) == name)
            found.insert(m.captured(2).toInt(), w);
    }
    return found;
}

} // namespace quorvane::ui
