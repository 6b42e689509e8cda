#pragma once

#include <QString>

namespace quorvane::app {

enum class InstanceLock {
    Acquired,
    HeldByOther, // another run of the program uses this program folder
    Failed,      // the lock file cannot be created; `error` says why
};

// One run per program folder: a lock file in the folder names the process that holds it. A lock left by a
// run that no longer exists (a crash, a kill, a reboot) is taken over; a live holder is never timed out.
InstanceLock acquireInstanceLock(QString* error = nullptr);
void releaseInstanceLock();

inline constexpr const char* InstanceLockFile = "quorvane.lock";

} // namespace quorvane::app
