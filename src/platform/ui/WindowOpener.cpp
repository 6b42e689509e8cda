#include "platform/ui/WindowOpener.h"

#include "platform/StateReset.h"
#include "platform/ui/HandlerRun.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

namespace quorvane::ui {

namespace {
WindowOpener gOpener;
// The windows the opener holds are part of the run's state.
const ResetWithState kResetOpener([] { gOpener.reset(); });

// Every modal window of the program, however it is opened (exec(), a message box, a window made modal): it offers
// no iconify button, and one that the window manager iconifies all the same comes back at once. Iconified, it
// would leave the windows it blocks ignoring every click and key, and the window system delivers no click on them
// that could bring it back; Qt only hands their focus on to the modal window, which cannot take it while iconified.
class ModalWindows : public QObject {
public:
    explicit ModalWindows(QCoreApplication* app) : QObject(app) { app->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Show && type != QEvent::WindowStateChange) || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow() || !window->isModal())
            return false;
        if (type == QEvent::Show && (window->windowFlags() & Qt::WindowMinimizeButtonHint)) {
            // Shown, not yet mapped: the window manager reads the flags as it maps the window.
            const Qt::WindowFlags flags = window->windowFlags() & ~Qt::WindowMinimizeButtonHint;
            window->overrideWindowFlags(flags);
            if (QWindow* handle = window->windowHandle())
                handle->setFlags(flags);
        } else if (type == QEvent::WindowStateChange && window->isMinimized()) {
            // After the window system has done telling of the iconify.
            QTimer::singleShot(0, window, [window] {
                if (window->isVisible() && window->isModal() && window->isMinimized()) {
                    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
                    window->raise();
                    window->activateWindow();
                }
            });
        }
        return false;
    }
};

void watchModalWindows() { new ModalWindows(QCoreApplication::instance()); }
} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchModalWindows)

WindowOpener& windows() { return gOpener; }

void WindowOpener::setMainWindow(QWidget* window) { m_main = window; }

QWidget* WindowOpener::openTool(const QByteArray& key, const QString& caption, const std::function<QWidget*()>& create)
{
    if (m_exiting)
        return nullptr;
    QPointer<QWidget>& tool = m_tools[key];
    // A tool window that is hidden has been closed and waits to be deleted: it does not come back.
    if (!tool || !tool->isVisible()) {
        tool = create();
        tool->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(tool, &QObject::destroyed, [this] { toolClosed(); });
    }
    tool->setWindowTitle(caption);
    tool->show();
    tool->raise();
    tool->activateWindow();
    if (m_main)
        m_main->hide();
    return tool;
}

void WindowOpener::toolClosed()
{
    // A tool window closed with the main window (a logout closes every window) is deleted while the exit runs or
    // after it has closed the database. The main window comes back between commands, never inside one that pumps
    // events: it would reload its list under the command.
    if (m_exiting || !m_main)
        return;
    whenNoHandlerRuns(m_main, [this] {
        if (m_exiting || !m_main)
            return;
        for (const QPointer<QWidget>& tool : std::as_const(m_tools))
            if (tool && tool->isVisible())
                return;
        m_main->show();
    });
}

void WindowOpener::reset()
{
    m_main.clear();
    m_tools.clear();
    m_exiting = false;
}

} // namespace quorvane::ui
