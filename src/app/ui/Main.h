#pragma once

namespace quorvane::app {

enum class StartOutcome {
    Running,        // the main window is up: run the event loop until exitProgram()
    AlreadyRunning, // another run holds the program folder: nothing was shown or changed
    Failed,         // start-up ended after its message
};

// The start procedure.
StartOutcome Main();

} // namespace quorvane::app
