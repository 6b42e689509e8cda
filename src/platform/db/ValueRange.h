#pragma once

#include <QtGlobal>

#include <limits>
#include <optional>

namespace quorvane::db {

// The schema file's type codes of the whole-number fields.
inline constexpr int TypeBoolean = 1;
inline constexpr int TypeByte = 2;
inline constexpr int TypeInteger = 3; // 16 bits
inline constexpr int TypeLong = 4;    // 32 bits

struct ValueRange {
    qint64 min;
    qint64 max;
    constexpr bool contains(qint64 n) const { return n >= min && n <= max; }
};

// The whole numbers a field of that type code holds: Byte 0 to 255, Integer and Long their 16 and 32 bits.
// A Boolean takes any number (it stores -1 for any but 0). None for a type that holds no whole number.
// The one place these ranges are written: the recordset, the dumps' reloading and the settings file use it.
constexpr std::optional<ValueRange> wholeNumberRange(int typeCode)
{
    switch (typeCode) {
    case TypeBoolean:
        return ValueRange{std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
    case TypeByte:
        return ValueRange{0, 255};
    case TypeInteger:
        return ValueRange{std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};
    case TypeLong:
        return ValueRange{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    default:
        return std::nullopt;
    }
}

} // namespace quorvane::db
