#pragma once

#include "platform/Error.h"

namespace quorvane {

// A request to end the program (a termination signal) that long work reads between its steps, so that it stops
// at once instead of running to its end first. Set from a signal handler, so reading it costs one load.
void requestStop();
bool stopRequested();

// What work throws when it stops on that request. Its caller undoes what it had begun as after any failure; a
// window shows nothing for it, as the program is ending.
class StopError : public Error {
public:
    using Error::Error;
};

// Throws StopError, saying what was stopped, once a stop is requested.
void throwIfStopRequested(const char* what);

} // namespace quorvane
