#pragma once

#include <QElapsedTimer>

namespace quorvane::bench {

inline double seconds(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

} // namespace quorvane::bench
