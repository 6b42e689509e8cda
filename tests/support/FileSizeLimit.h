#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace quorvane::test {

// Runs `body` in a forked child process in which no file can grow beyond `limit` bytes (RLIMIT_FSIZE, with
// SIGXFSZ ignored, so a write past it fails as on a full disk), and returns what the body returned; nothing
// when the child did not end normally. The child shares this process's state as it was at the fork; what it
// changes stays in the child, but for the files it writes. Needs no privileges.
std::optional<QString> runUnderFileSizeLimit(qint64 limit, const std::function<QString()>& body);

} // namespace quorvane::test
