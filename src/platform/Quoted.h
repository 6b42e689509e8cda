#pragma once

#include <QString>

namespace quorvane {

// `text` between double quotes, a double quote inside it doubled: a table or field name in SQL, a path in
// a command line.
inline QString quoted(QString text)
{
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace quorvane
