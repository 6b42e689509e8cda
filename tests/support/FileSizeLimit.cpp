#include "FileSizeLimit.h"

#include <QByteArray>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {

std::optional<QString> runUnderFileSizeLimit(qint64 limit, const std::function<QString()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit r{};
        ::getrlimit(RLIMIT_FSIZE, &r);
        r.rlim_cur = rlim_t(limit);
        if (::setrlimit(RLIMIT_FSIZE, &r) != 0)
            ::_exit(2);
        const QByteArray out = body().toUtf8();
        qsizetype done = 0;
        while (done < out.size()) {
            const ssize_t n = ::write(fds[1], out.constData() + done, size_t(out.size() - done));
            if (n <= 0)
                ::_exit(3);
            done += n;
        }
        ::_exit(0); // nothing of this process's own clean-up runs twice
    }
    ::close(fds[1]);
    QByteArray out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        out.append(buffer, n);
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(out);
}

} // namespace quorvane::test
