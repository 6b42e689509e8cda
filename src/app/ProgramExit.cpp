#include "app/ProgramExit.h"

namespace quorvane::app {

namespace {
ExitHandler& handler()
{
    static ExitHandler h;
    return h;
}
std::optional<int>& lastCode()
{
    static std::optional<int> code;
    return code;
}
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
