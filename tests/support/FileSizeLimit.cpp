#include "FileSizeLimit.h"

#include "ChildProcess.h"

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace quorvane::test {

std::optional<QString> runUnderFileSizeLimit(qint64 limit, const std::function<QString()>& body)
{
    return runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit r{};
        ::getrlimit(RLIMIT_FSIZE, &r);
        r.rlim_cur = rlim_t(limit);
        if (::setrlimit(RLIMIT_FSIZE, &r) != 0)
            ::_exit(2);
        return body();
    });
}

} // namespace quorvane::test
