#include "platform/StateReset.h"

#include <QList>

namespace quorvane {

namespace {
// Not state: it says how to reset it. Made on first use, as registrations come while the program starts.
QList<StateReset>& resets()
{
    static QList<StateReset> list;
    return list;
}
} // namespace

void registerStateReset(StateReset reset)
{
    if (reset && !resets().contains(reset))
        resets() << reset;
}

void runStateResets()
{
    for (StateReset reset : std::as_const(resets()))
        reset();
}

} // namespace quorvane
