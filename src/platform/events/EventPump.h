#pragma once

#include <QElapsedTimer>

namespace quorvane {

// Lets windows repaint during a long loop without paying for the event pump on every row:
// the pump runs when a few hundredths of a second have passed since it last ran.
class EventPump {
public:
    EventPump() { m_timer.start(); }
    void operator()();

private:
    QElapsedTimer m_timer;
    unsigned m_calls = 0;
};

} // namespace quorvane
