#include "app/ui/frmEnd.h"

#include "app/ProgramExit.h"
#include "app/StartUp.h"
#include "app/ui/SplashWindow.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/WindowOpener.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"

#include <QDebug>
#include <QLabel>

namespace quorvane {

const ui::ControlTable frmEnd::kControls = splashControls("labDisplay");

bool frmEnd::isRunning() { return programState().shutdownRunning; }

// Not deleted on its close: it lives until the shutdown, which runs inside it, has returned.
frmEnd::frmEnd(bool unattended) : m_unattended(unattended)
{
    setObjectName(QStringLiteral("frmEnd"));
    buildSplashWindow(this, kControls);
    labDisplay = findChild<QLabel*>(QStringLiteral("labDisplay"));
}

void frmEnd::Show()
{
    frmEnd window(false);
    window.Form_Load();
}

void frmEnd::ShowUnattended()
{
    frmEnd window(true);
    window.Form_Load();
}

void frmEnd::report(const QString& text, ui::MsgIcon icon)
{
    if (m_unattended)
        qWarning().noquote() << text;
    else
        ui::msgBox(text, icon, ui::MsgButtons::Ok, this);
}

void frmEnd::Form_Load()
{
    // A close of this window while the dumps are written (its close box, a close-all, a quit) is held as during any
    // command: the window stays until the exit closes it, and the exit ends as it began.
    const ui::HandlerRun run(this);
    programState().shutdownRunning = true;
    ui::windows().setExiting(true); // no window comes back from here on, whatever closes while the dumps are written
    labDisplay->setText(gLangOther.text(QStringLiteral("unloadSHOW1")));
    if (frmMain::isLoaded())
        frmMain::form()->setEnabled(false); // no command of the main window may run while the dumps are written
    setWindowModality(Qt::ApplicationModal);
    show();
    DoEvents();

    const app::ShutdownResult result = app::EndProgram();
    if (!result.saved)
        report(result.error, ui::MsgIcon::Critical);
    if (!result.warnings.isEmpty())
        report(result.warnings.join(QLatin1Char('\n')), ui::MsgIcon::Exclamation);
    close();
    programState().shutdownRunning = false;
    frmMain::unload();
    app::exitProgram(result.saved ? 0 : 1);
}

} // namespace quorvane
