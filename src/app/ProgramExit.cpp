#include "app/ProgramExit.h"
#include "platform/StateReset.h"
#include "state/ProgramState.h"

namespace quorvane::app {

namespace {
ExitHandler& handler()
{
    static ExitHandler h;
    return h;
}
// Set by main() once; a test's handler lasts until the program state is reset.
const ResetWithState kResetHandler([] { handler() = nullptr; });
std::optional<int>& lastCode() { return programState().exitCode; }
} // namespace

void setExitHandler(ExitHandler h) { handler() = std::move(h); }

void exitProgram(int code)
{
    lastCode() = code;
    if (handler())
        handler()(code);
}

std::optional<int> exitCode() { return lastCode(); }

void clearExitCode() { lastCode().reset(); }

} // namespace quorvane::app
