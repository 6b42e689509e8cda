#include "app/ui/SplashWindow.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace quorvane {

QLabel* buildSplashWindow(QWidget* window, const char* labelName)
{
    window->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    window->setWindowTitle(QStringLiteral("Quorvane"));
    window->setFixedSize(420, 220);

    auto* picture = new QLabel(QStringLiteral("Quorvane"), window);
    picture->setObjectName(QStringLiteral("picLogo"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameShape(QFrame::Box);
    QFont big = picture->font();
    big.setPointSize(28);
    big.setBold(true);
    picture->setFont(big);

    auto* label = new QLabel(window);
    label->setObjectName(QLatin1String(labelName));
    label->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(picture, 1);
    layout->addWidget(label);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        window->move(s.x() + (s.width() - window->width()) / 2, s.y() + (s.height() - window->height()) / 2);
    }
    return label;
}

} // namespace quorvane
