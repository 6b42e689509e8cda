#pragma once

namespace quorvane {

// How a part of the program puts its own values back as a fresh run finds them: its caches, the windows it
// holds, and the stand-ins a test puts in place of a dialog, a clock or the operator's answers. Each registers
// beside what it resets, whatever its layer; resetProgramState() runs them all before the state itself is
// made afresh.
using StateReset = void (*)();

// Registering the same function again changes nothing.
void registerStateReset(StateReset reset);

// Runs every registered reset, in the order of registration.
void runStateResets();

// Registers a reset where its values are defined, when the program starts:
// `const ResetWithState kReset([] { gSeam = nullptr; });` in the file that holds gSeam.
struct ResetWithState {
    explicit ResetWithState(StateReset reset) { registerStateReset(reset); }
};

} // namespace quorvane
