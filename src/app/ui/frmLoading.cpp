#include "app/ui/frmLoading.h"

#include "app/ui/Main.h"
#include "app/ui/SplashWindow.h"
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

const ui::ControlTable frmLoading::kControls = splashControls("lblLoading");

frmLoading::frmLoading()
{
    setObjectName(QStringLiteral("frmLoading"));
    buildSplashWindow(this, kControls);
    lblLoading = findChild<QLabel*>(QStringLiteral("lblLoading"));
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

bool frmLoading::askYesNo(const QString& key, const QString& text)
{
    return ui::msgBox(ui::MsgText{key, text}, ui::MsgIcon::Question, ui::MsgButtons::YesNo,
                      isVisible() ? this : nullptr)
        == ui::MsgYes;
}

void frmLoading::showMainWindow() { app::showMainWindow(); }

} // namespace quorvane
