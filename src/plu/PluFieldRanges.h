#pragma once

#include "records/PluRow.h"
#include "settings/FieldKinds.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace quorvane {

// What a PLU field accepts: the values its editor box or list can hold, and nothing else. Its kind says how the
// import reads a column and the export writes it (settings/FieldKinds.h): Text a text block's first line,
// ItemCode digits kept as text, Amount a whole number in units of its decimals' last place (PriceDecimals or
// WeightDecimals), Whole, Date (DDMMYY) and Time (HHMM) whole numbers.
struct PluFieldRange {
    records::plu::Field field;
    fields::Kind kind;
    int decimals = 0; // Amount: PriceDecimals or WeightDecimals
    qint64 min = 0;
    qint64 max = 0;
    qint64 alsoAccepted = 0; // above max: one more value that counts (255: inherit, or no flags)
    bool byte = false;       // read as the record's one byte: taken mod 256 (the barcode flags)
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
