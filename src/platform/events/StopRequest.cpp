#include "platform/events/StopRequest.h"

#include "platform/StateReset.h"

#include <atomic>

namespace quorvane {

namespace {

// Lock-free, so a signal handler may set it.
std::atomic<bool> gStopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

const ResetWithState kReset([] { gStopRequested.store(false, std::memory_order_relaxed); });

} // namespace

void requestStop() { gStopRequested.store(true, std::memory_order_relaxed); }

bool stopRequested() { return gStopRequested.load(std::memory_order_relaxed); }

void throwIfStopRequested(const char* what)
{
    if (stopRequested())
        throw StopError(QStringLiteral("%1 was stopped because Quorvane is ending.").arg(QLatin1String(what)));
}

} // namespace quorvane
