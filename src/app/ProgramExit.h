#pragma once

#include <functional>
#include <optional>

namespace quorvane::app {

// The program ends through here: main() turns the code into the process's exit code, a test reads it. A test's
// handler lasts until resetProgramState().
using ExitHandler = std::function<void(int code)>;
void setExitHandler(ExitHandler handler);

void exitProgram(int code);

// The code of the last exitProgram(), until clearExitCode().
std::optional<int> exitCode();
void clearExitCode();

} // namespace quorvane::app
