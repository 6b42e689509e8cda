#include "app/ui/SplashWindow.h"

#include "platform/ui/Twips.h"
#include "platform/ui/Widgets.h"

#include <QFont>
#include <QFrame>
#include <QLabel>

namespace quorvane {

ui::ControlTable splashControls(const char* labelName)
{
    return {.size = {6300, 3300},
            .controls = {
                ui::pictureBox("picLogo", {150, 150, 6000, 2400}),
                ui::label(labelName, {150, 2700, 6000, 450}),
            }};
}

void buildSplashWindow(QWidget* window, const ui::ControlTable& table)
{
    window->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    window->setWindowTitle(QStringLiteral("Quorvane"));
    ui::createControls(window, table);

    auto* picture = window->findChild<ui::PictureBox*>(QStringLiteral("picLogo"));
    picture->setText(QStringLiteral("Quorvane"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameShape(QFrame::Box);
    QFont big = picture->font();
    big.setPointSize(28);
    big.setBold(true);
    picture->setFont(big);
    window->findChild<QLabel*>(table.controls.last().objectName())->setAlignment(Qt::AlignCenter);
    ui::centreOnScreen(window);
}

} // namespace quorvane
