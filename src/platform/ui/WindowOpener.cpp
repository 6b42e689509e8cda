#include "platform/ui/WindowOpener.h"

#include "platform/StateReset.h"
#include "platform/ui/HandlerRun.h"

namespace quorvane::ui {

namespace {
WindowOpener gOpener;
// The windows the opener holds are part of the run's state.
const ResetWithState kResetOpener([] { gOpener.reset(); });
} // namespace

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
