#pragma once

namespace quorvane {

// Lets windows repaint during a long loop without paying for the event pump on every row: calling it
// pumps events when a few hundredths of a second have passed since they were last pumped by any loop, so
// a run of short loops one after the other (the text collections at start-up) pumps as one long loop would.
// Loops keep one each and call it once a row; it costs a reading of the monotonic clock.
class EventPump {
public:
    void operator()();
};

} // namespace quorvane
