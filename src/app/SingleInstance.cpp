#include "app/SingleInstance.h"

#include "platform/text/Paths.h"
#include "state/ProgramFolder.h"

#include <QLockFile>

#include <memory>

namespace quorvane::app {

namespace {
std::unique_ptr<QLockFile>& heldLock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}
} // namespace

InstanceLock acquireInstanceLock(QString* error)
{
    const QString path = programPath(QLatin1String(InstanceLockFile));
    auto lock = std::make_unique<QLockFile>(path);
    // By age alone a lock is never stale: a run may last for days. Only a holder that is gone frees it.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        heldLock() = std::move(lock);
        return InstanceLock::Acquired;
    }
    if (lock->error() == QLockFile::LockFailedError)
        return InstanceLock::HeldByOther;
    if (error)
        *error =
            QStringLiteral("Quorvane cannot start: the lock file %1 cannot be created.").arg(text::nativePath(path));
    return InstanceLock::Failed;
}

void releaseInstanceLock() { heldLock().reset(); }

} // namespace quorvane::app
