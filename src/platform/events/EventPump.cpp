#include "platform/events/EventPump.h"

#include "platform/events/DoEvents.h"

#include <QElapsedTimer>

namespace quorvane {

namespace {
// When events were last pumped through here: a throttle shared by every loop of the one UI thread.
QElapsedTimer gSincePumped;
} // namespace

void EventPump::operator()()
{
    if (gSincePumped.isValid() && gSincePumped.elapsed() < 20)
        return;
    DoEvents();
    gSincePumped.start();
}

} // namespace quorvane
