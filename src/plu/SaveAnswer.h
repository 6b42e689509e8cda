#pragma once

namespace quorvane {

// What the save question of an edited PLU ended in.
enum class SaveAnswer {
    Unchanged = 0, // nothing changed: nothing was asked
    Saved = 1,
    Dropped = 2,   // the changes were dropped
    Cancelled = 3, // cancelled, or the save was stopped
};

} // namespace quorvane
