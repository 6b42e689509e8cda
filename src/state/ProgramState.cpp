#include "state/ProgramState.h"

#include <QList>

namespace quorvane {

namespace {
// One object for the run; the registrations are not state: they say how to reset it.
ProgramState gState;
QList<StateReset> gResets;
} // namespace

ProgramState& programState() { return gState; }

void resetProgramState()
{
    gState = ProgramState();
    for (StateReset reset : std::as_const(gResets))
        reset();
}

void registerStateReset(StateReset reset)
{
    if (reset && !gResets.contains(reset))
        gResets << reset;
}

} // namespace quorvane
