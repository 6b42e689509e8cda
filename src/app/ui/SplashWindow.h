#pragma once

class QLabel;
class QWidget;

namespace quorvane {

// The look shared by the loading and the closing window: the program's picture above one label.
// Returns the label.
QLabel* buildSplashWindow(QWidget* window, const char* labelName);

} // namespace quorvane
