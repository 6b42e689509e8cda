#include "app/ui/Main.h"

#include "app/SingleInstance.h"
#include "app/ui/TerminationExit.h"
#include "app/ui/frmEnd.h"
#include "app/ui/frmLoading.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WindowOpener.h"

namespace quorvane::app {

StartOutcome Main()
{
    QString error;
    switch (acquireInstanceLock(&error)) {
    case InstanceLock::HeldByOther:
        return StartOutcome::AlreadyRunning;
    case InstanceLock::Failed:
        ui::msgBox(error, ui::MsgIcon::Critical);
        return StartOutcome::Failed;
    case InstanceLock::Acquired:
        break;
    }
    ui::windows().setExiting(false); // a run that starts has no exit under way (tests start several in one process)
    bool started = false;
    {
        frmLoading loading;
        started = loading.Form_Load();
    }
    if (!started) {
        releaseInstanceLock();
        return StartOutcome::Failed;
    }
    showMainWindow(); // already visible: brings it to the front
    // Until here a request ends the process at once, which a start can bear: it has changed nothing yet that the
    // next start does not put right.
    endOnTerminationRequests();
    ui::closeEveryWindowOnQuit(); // a logout ends the program through its exit, whatever is open
    return StartOutcome::Running;
}

void showMainWindow()
{
    const bool loaded = frmMain::isLoaded();
    frmMain* window = frmMain::form();
    if (!loaded)
        QObject::connect(window, &frmMain::unloadRequested, window, [] {
            // A close while the shutdown is at work starts no second one.
            if (!frmEnd::isRunning())
                frmEnd::Show();
        });
    window->Show();
}

} // namespace quorvane::app
