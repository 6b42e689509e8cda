#pragma once

#include "platform/ui/ControlTable.h"

class QWidget;

namespace quorvane {

// The look shared by the loading and the closing window: the program's picture above one label, whose text the
// window sets.
ui::ControlTable splashControls(const char* labelName);

// Creates the table's controls on a frameless window centred on the screen and gives them the splash look.
void buildSplashWindow(QWidget* window, const ui::ControlTable& table);

} // namespace quorvane
