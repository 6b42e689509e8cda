#include "platform/events/EventPump.h"

#include "platform/events/DoEvents.h"

namespace quorvane {

void EventPump::operator()()
{
    if (++m_calls % 32 != 0 || m_timer.elapsed() < 20)
        return;
    DoEvents();
    m_timer.restart();
}

} // namespace quorvane
