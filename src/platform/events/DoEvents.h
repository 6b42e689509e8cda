#pragma once

namespace quorvane {

// Lets the event loop process what is pending, so windows repaint during long loops.
void DoEvents();

} // namespace quorvane
