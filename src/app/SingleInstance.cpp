#include "app/SingleInstance.h"

#include "platform/text/Paths.h"
#include "state/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace quorvane::app {

namespace {
std::unique_ptr<QLockFile>& heldLock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

// Why the lock file cannot be written, which QLockFile does not tell: the system's answer to a small file written
// beside it, 0 when that could be written.
int writeFailure(const QString& lockPath)
{
    const QByteArray probe = QFile::encodeName(lockPath + QStringLiteral(".probe"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    const char block[512] = {};
    int failure = 0;
    for (size_t done = 0; done < sizeof block && failure == 0;) {
        const ssize_t n = ::write(fd, block + done, sizeof block - done);
        if (n > 0)
            done += size_t(n);
        else if (n == 0 || errno != EINTR)
            failure = n == 0 ? ENOSPC : errno;
    }
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    ::close(fd);
    ::unlink(probe.constData());
    return failure;
}

// A full disk is named as such: "cannot be created" alone sends the operator after the wrong cause.
QString lockFailure(const QString& path)
{
    const int failure = writeFailure(path);
    QString message =
        QStringLiteral("Quorvane cannot start: the lock file %1 cannot be created").arg(text::nativePath(path));
    if (failure == ENOSPC || failure == EDQUOT || failure == EFBIG)
        return message
            + QStringLiteral(": there is no space left to write in %1 (%2). Free some space on its disk and "
                             "start again.")
                  .arg(text::nativePath(QFileInfo(path).absolutePath()), qt_error_string(failure));
    return failure ? message + QStringLiteral(": %1.").arg(qt_error_string(failure)) : message + QLatin1Char('.');
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
        *error = lockFailure(path);
    return InstanceLock::Failed;
}

void releaseInstanceLock() { heldLock().reset(); }

} // namespace quorvane::app
