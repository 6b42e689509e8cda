#include "platform/events/EventPump.h"

#include "platform/events/DoEvents.h"

#include <QtGlobal>

#include <time.h>

namespace quorvane {

namespace {

// The coarse clock is a few milliseconds fine, finer than the throttle needs, and costs a fifth of the precise
// one, which a loop of short rows paid on every row.
qint64 nowMs()
{
    timespec ts{};
#ifdef CLOCK_MONOTONIC_COARSE
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
#else
    clock_gettime(CLOCK_MONOTONIC, &ts);
#endif
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// When events were last pumped through here: a throttle shared by every loop of the one UI thread.
bool gPumped = false;
qint64 gPumpedAtMs = 0;

} // namespace

void EventPump::operator()()
{
    if (gPumped && nowMs() - gPumpedAtMs < 20 && !pumpAwaited())
        return;
    DoEvents();
    gPumped = true;
    gPumpedAtMs = nowMs();
}

} // namespace quorvane
