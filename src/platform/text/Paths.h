#pragma once

#include <QString>

namespace quorvane::text {

// A path as messages show it to the operator.
QString nativePath(const QString& path);

// A name beside `path` that nothing holds yet: the path, "." and the time it was last changed
// ("yyyy-MM-dd_HHmmss"), with "_2", "_3" … when that is taken too. For keeping what cannot be removed.
QString datedSiblingName(const QString& path);

} // namespace quorvane::text
