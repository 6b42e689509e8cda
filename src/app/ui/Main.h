#pragma once

namespace quorvane::app {

enum class StartOutcome {
    Running,        // the main window is up: run the event loop until exitProgram()
    AlreadyRunning, // another run holds the program folder: nothing was shown or changed
    Failed,         // start-up ended after its message
};

// The start procedure.
StartOutcome Main();

// Shows the main window, creating it when it is not loaded; closing it ends the program through the closing
// window.
void showMainWindow();

} // namespace quorvane::app
