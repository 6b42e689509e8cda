#include "mainwindow/ui/frmMain.h"

#include "platform/ui/WindowOpener.h"

#include <QCloseEvent>
#include <QMetaMethod>

namespace quorvane {

const ui::ControlTable frmMain::kControls{.size = {12000, 9000}, .sizable = true, .controls = {}};

frmMain* frmMain::form()
{
    if (auto* window = ui::windows().mainWindow<frmMain>())
        return window;
    auto* window = new frmMain;
    ui::windows().setMainWindow(window);
    return window;
}

bool frmMain::isLoaded() { return ui::windows().mainWindow<frmMain>() != nullptr; }

void frmMain::unload()
{
    frmMain* window = ui::windows().mainWindow<frmMain>();
    if (!window)
        return;
    window->m_unloaded = true;
    window->close();
}

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quorvane"));
    ui::createControls(this, kControls);
}

void frmMain::Show()
{
    show();
    raise();
    activateWindow();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!m_unloaded) {
        if (isSignalConnected(QMetaMethod::fromSignal(&frmMain::unloadRequested)))
            emit unloadRequested(); // the program's end, which calls unload() when it is done
        else
            m_unloaded = true;
    }
    // A close from inside the program's end (unload() while this event runs) is this same event.
    event->setAccepted(m_unloaded);
}

} // namespace quorvane
