#pragma once

#include <QRect>

class QWidget;

namespace quorvane::ui {

// Window layouts are given in twips: 15 twips are one pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

void setGeometryTwips(QWidget* widget, int left, int top, int width, int height);
void setGeometryTwips(QWidget* widget, const QRect& twips);
// Centres a window on its screen, as a window does when it loads: the one way every window centres.
void centreOnScreen(QWidget* window);

} // namespace quorvane::ui
