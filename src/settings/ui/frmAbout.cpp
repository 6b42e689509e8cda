#include "settings/ui/frmAbout.h"

#include "platform/ui/Twips.h"
#include "settings/TextCollections.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace quorvane {

using namespace ui;

using W = frmAbout;

const ControlTable frmAbout::kControls{
    .section = "frm_About",
    .size = {6000, 3570},
    .controls =
        {
            pictureBox("picIcon", {240, 240, 1200, 1200}).to(&W::picIcon),
            label("lblTitle", {1680, 300, 4080, 420}).caption().to(&W::lblTitle),
            label("lblFunction", {1680, 840, 4080, 540}).caption().to(&W::lblFunction),
            plainFrame("Line1", {240, 1560, 5520, 30}),
            label("lblDescription", {240, 1680, 5520, 660}).caption().to(&W::lblDescription),
            plainFrame("Line2", {240, 2460, 5520, 30}),
            label("lblVersion", {240, 2640, 3600, 300}).to(&W::lblVersion),
            label("lblCode", {240, 3000, 3600, 300}).to(&W::lblCode),
            commandButton("cmdOK", {4320, 2820, 1440, 450}).tab(1).caption().on(&W::cmdOK_Click).to(&W::cmdOK),
        },
};

frmAbout::frmAbout(const QString& title, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(title);
    createControls(this, kControls);
    for (const char* name : {"Line1", "Line2"}) {
        auto* line = findChild<QFrame*>(QLatin1String(name));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
    }
    picIcon->setPixmap(QPixmap(QStringLiteral(":/settings/about.png")));
    picIcon->setAlignment(Qt::AlignCenter);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    lblTitle->setFont(bold);
    for (QLabel* text : {lblFunction, lblDescription})
        text->setWordWrap(true);
    Form_Load();
}

void frmAbout::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangAbout);
    lblVersion->setText(gLangAbout.text(QStringLiteral("lblVersion")) + QLatin1Char(' ') + QLatin1String(Version));
    lblCode->setText(gLangAbout.text(QStringLiteral("lblCode")) + QLatin1Char(' ') + QLatin1String(SoftwareCode));
}

void frmAbout::cmdOK_Click() { accept(); }

} // namespace quorvane
