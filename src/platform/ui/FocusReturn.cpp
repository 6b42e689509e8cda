#include "platform/ui/FocusReturn.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace quorvane::ui {

namespace {

bool takesFocus(const QWidget* w, const QWidget* window, Qt::FocusPolicy policy)
{
    return w && w->window() == window && w->isVisible() && w->isEnabled() && (w->focusPolicy() & policy) == policy;
}

// Kept as a child of the window: remembers the window's last focused control, watches the window's enabling.
class FocusReturn : public QObject {
    Q_OBJECT
public:
    FocusReturn(QWidget* window, const QList<QWidget*>& tabOrder) : QObject(window), m_window(window)
    {
        setObjectName(QStringLiteral("quorvaneFocusReturn"));
        for (QWidget* w : tabOrder)
            m_tabOrder << w;
        window->installEventFilter(this);
        watchFocus();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // After the command that enabled the window: it may still show, hide or focus controls.
        if (event->type() == QEvent::EnabledChange && m_window->isEnabled())
            QMetaObject::invokeMethod(this, &FocusReturn::giveBack, Qt::QueuedConnection);
        else if (event->type() == QEvent::Show)
            watchFocus();
        return QObject::eventFilter(watched, event);
    }

private:
    // The window's own record of its focus: it changes whether or not the window is active.
    void watchFocus()
    {
        QWindow* handle = m_window->windowHandle();
        if (!handle || handle == m_handle)
            return;
        m_handle = handle;
        connect(handle, &QWindow::focusObjectChanged, this, [this](QObject* now) {
            auto* w = qobject_cast<QWidget*>(now);
            if (w && w != m_window && w->window() == m_window)
                m_last = w;
        });
    }

    void giveBack()
    {
        if (!m_window->isEnabled())
            return;
        if (const QWidget* holder = m_window->focusWidget(); holder && holder->isVisible() && holder->isEnabled())
            return;
        QWidget* to = takesFocus(m_last, m_window, Qt::ClickFocus) ? m_last.data() : firstControl();
        if (to)
            to->setFocus(Qt::OtherFocusReason);
    }

    QWidget* firstControl() const
    {
        for (const QPointer<QWidget>& w : m_tabOrder)
            if (takesFocus(w, m_window, Qt::TabFocus))
                return w;
        for (QWidget* w = m_window->nextInFocusChain(); w && w != m_window; w = w->nextInFocusChain())
            if (takesFocus(w, m_window, Qt::TabFocus))
                return w;
        return nullptr;
    }

    QWidget* m_window;
    QPointer<QWindow> m_handle;
    QList<QPointer<QWidget>> m_tabOrder;
    QPointer<QWidget> m_last;
};

} // namespace

void returnFocusWhenEnabled(QWidget* window, const QList<QWidget*>& tabOrder)
{
    if (!window->findChild<FocusReturn*>(QStringLiteral("quorvaneFocusReturn"), Qt::FindDirectChildrenOnly))
        new FocusReturn(window, tabOrder);
}

} // namespace quorvane::ui

#include "FocusReturn.moc"
