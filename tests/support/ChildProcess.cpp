#include "ChildProcess.h"

#include <QByteArray>

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {

namespace {

int gResultPipe = -1; // in a child: where its result goes

} // namespace

void endChild(const QString& result)
{
    const QByteArray out = result.toUtf8();
    qsizetype done = 0;
    while (done < out.size()) {
        const ssize_t n = ::write(gResultPipe, out.constData() + done, size_t(out.size() - done));
        if (n <= 0)
            ::_exit(3);
        done += n;
    }
    ::_exit(0); // nothing of this process's own clean-up runs twice
}

std::optional<QString> runInChild(const std::function<QString()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(fds[0]);
        gResultPipe = fds[1];
        endChild(body());
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

std::optional<QString> fatalMessage(const std::function<void()>& body)
{
    return runInChild([&] {
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtFatalMsg)
                endChild(message);
        });
        body();
        return QString();
    });
}

} // namespace quorvane::test
