#include "app/ui/Main.h"

#include "app/SingleInstance.h"
#include "app/ui/frmLoading.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/ui/MessageBox.h"

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
    bool started = false;
    {
        frmLoading loading;
        started = loading.Form_Load();
    }
    if (!started) {
        releaseInstanceLock();
        return StartOutcome::Failed;
    }
    frmMain::form()->Show(); // already visible: brings it to the front
    return StartOutcome::Running;
}

} // namespace quorvane::app
