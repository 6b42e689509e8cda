#pragma once

#include <functional>

namespace quorvane {

// Lets the event loop process what is pending, so windows repaint during long loops. Timers, painting and the
// termination request go on; keys and mouse clicks that arrive meanwhile are dropped, not kept for later: the
// command that pumps has not ended, and what the operator did while it ran is not what they would do after it.
// Whatever else arrives runs inside the command (see platform/ui/HandlerRun.h for the close requests).
void DoEvents();

// How many pumps are under way, one inside the other: with the thread's loop level, how deep in event handling the
// program is (a request that arrives deeper than a command began arrived while it pumped or waited).
int pumpDepth();

// Tests: `f` runs at the start of the next pump, once, inside it (so what it posts is delivered by that pump), and
// that pump is not put off by EventPump's throttle. Cleared by resetProgramState().
void atNextPump(std::function<void()> f);
bool pumpAwaited();

} // namespace quorvane
