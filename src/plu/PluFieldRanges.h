#pragma once

#include "records/PluRow.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace quorvane {

// How a PLU field's value is written as text and read back: the editor's boxes and lists, the import and the
// export all take a field's value by its kind.
enum class PluValueKind {
    Text,     // a text block (PLU_Commodity, PLU_Description): its first line
    ItemCode, // digits kept as text, leading zeros included
    Price,    // whole number in units of the last price place
    Weight,   // whole number in units of the last weight place
    Flags,    // barcode flags: two flag digits, or 255 for none
    Number,   // a whole number
    Date,     // DDMMYY as the date pickers write it, or 0
    Time,     // HHMM as the time pickers write it, or 0
};

// What a PLU field accepts: the values its editor box or list can hold, and nothing else.
struct PluFieldRange {
    records::plu::Field field;
    PluValueKind kind;
    qint64 min = 0;
    qint64 max = 0;
    qint64 alsoAccepted = 0; // above max: one more value that counts (255: inherit, or no flags)
    int textLength = 0;      // texts and item codes: characters kept, the rest cut
    // The presence flag a written value sets, so the PLU's scale record carries it; none for a field every
    // record carries.
    std::optional<records::plu::Field> flag = std::nullopt;
};

// The range of a PLU field by its exact name (letter case counts); nullptr for a field without one, which no
// import or editor writes.
const PluFieldRange* pluFieldRange(QStringView fieldName);

// Empty when the whole number lies in the field's range; otherwise why not, for the operator.
QString pluRangeRefusal(const PluFieldRange& range, qint64 value);

} // namespace quorvane
