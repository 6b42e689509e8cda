#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace quorvane::test {

// Runs `body` in a forked child process and returns what it returned; nothing when the child did not end normally.
// The child shares this process's state as it was at the fork; what it changes stays in the child, but for the
// files it writes.
std::optional<QString> runInChild(const std::function<QString()>& body);
// In such a child: ends it at once, with `result` as what its body returned.
[[noreturn]] void endChild(const QString& result);

// The message of the qFatal() that stops `body`, run in a child process: a programming error that the program stops
// on. An empty text when the body ends without one; nothing when the child ended otherwise.
std::optional<QString> fatalMessage(const std::function<void()>& body);

} // namespace quorvane::test
