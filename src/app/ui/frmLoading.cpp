#include "app/ui/frmLoading.h"

#include "app/ui/SplashWindow.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/MessageBox.h"

#include <QLabel>

namespace quorvane {

namespace {
ui::MsgIcon msgIcon(app::MessageIcon icon)
{
    switch (icon) {
    case app::MessageIcon::Information:
        return ui::MsgIcon::Information;
    case app::MessageIcon::Exclamation:
        return ui::MsgIcon::Exclamation;
    case app::MessageIcon::Critical:
        break;
    }
    return ui::MsgIcon::Critical;
}
} // namespace

frmLoading::frmLoading()
{
    setObjectName(QStringLiteral("frmLoading"));
    lblLoading = buildSplashWindow(this, "lblLoading");
}

bool frmLoading::Form_Load() { return app::RunStartUp(*this); }

void frmLoading::setProgressText(const QString& text) { lblLoading->setText(text); }

void frmLoading::showLoadingWindow()
{
    show();
    DoEvents();
}

void frmLoading::showMessage(const QString& text, app::MessageIcon icon)
{
    // Over the loading window once it shows, so the message is not hidden behind it.
    ui::msgBox(text, msgIcon(icon), ui::MsgButtons::Ok, isVisible() ? this : nullptr);
}

void frmLoading::showMainWindow() { frmMain::form()->Show(); }

} // namespace quorvane
