#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quorvane::ui {

void setGeometryTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void setGeometryTwips(QWidget* widget, const QRect& twips)
{
    setGeometryTwips(widget, twips.left(), twips.top(), twips.width(), twips.height());
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - window->width()) / 2, area.y() + (area.height() - window->height()) / 2);
}

} // namespace quorvane::ui
