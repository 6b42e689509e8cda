#pragma once

class QWidget;

namespace quorvane::ui {

// Window layouts are given in twips: 15 twips are one pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

void setGeometryTwips(QWidget* widget, int left, int top, int width, int height);
// A window whose client area has this fixed size.
void setFixedClientSizeTwips(QWidget* window, int width, int height);
// Centres a window on its screen, as a window does when it loads.
void centreOnScreen(QWidget* window);

} // namespace quorvane::ui
