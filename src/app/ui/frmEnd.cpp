#include "app/ui/frmEnd.h"

#include "app/ProgramExit.h"
#include "app/StartUp.h"
#include "app/ui/SplashWindow.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/MessageBox.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"

#include <QLabel>

namespace quorvane {

const ui::ControlTable frmEnd::kControls = splashControls("labDisplay");

bool frmEnd::isRunning() { return programState().shutdownRunning; }

frmEnd::frmEnd()
{
    setObjectName(QStringLiteral("frmEnd"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildSplashWindow(this, kControls);
    labDisplay = findChild<QLabel*>(QStringLiteral("labDisplay"));
}

void frmEnd::Show()
{
    auto* window = new frmEnd;
    window->Form_Load();
}

void frmEnd::Form_Load()
{
    programState().shutdownRunning = true;
    labDisplay->setText(gLangOther.text(QStringLiteral("unloadSHOW1")));
    if (frmMain::isLoaded())
        frmMain::form()->setEnabled(false); // no command of the main window may run while the dumps are written
    setWindowModality(Qt::ApplicationModal);
    show();
    DoEvents();

    const app::ShutdownResult result = app::EndProgram();
    if (!result.saved)
        ui::msgBox(result.error, ui::MsgIcon::Critical, ui::MsgButtons::Ok, this);
    if (!result.warnings.isEmpty())
        ui::msgBox(result.warnings.join(QLatin1Char('\n')), ui::MsgIcon::Exclamation, ui::MsgButtons::Ok, this);
    close();
    programState().shutdownRunning = false;
    frmMain::unload();
    app::exitProgram(result.saved ? 0 : 1);
}

} // namespace quorvane
