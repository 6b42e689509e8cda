#include "plu/PluFieldRanges.h"

#include <QDate>

namespace quorvane {

namespace {

namespace f = records::plu;
using K = PluValueKind;

// One row per field that a box or list of the PLU editor sets, with what that control can hold.
// clang-format off
const PluFieldRange kRanges[] = {
    {f::PLU_No,              K::Number,   1, 999999},
    {f::ST_No,               K::Number,   1, 32767},
    {f::PLU_MG,              K::Number,   0, 997},
    {f::PLU_Commodity,       K::Text,     0, 0, 0, 50},
    {f::PLU_Description,     K::Text,     0, 0, 0, 50},
    {f::PLU_UPrice,          K::Price,    0, 999999},
    {f::PLU_Tare,            K::Weight,   0, 9999},
    {f::PLU_Cost,            K::Number,   0, 999999},
    {f::Stat1_Unit,          K::Number,   0, 1},
    {f::PLU_EANItemCode,     K::ItemCode, 0, 0, 0, 10},
    {f::PLU_BarFormat,       K::Number,   0, 28, 255},
    {f::PLU_EANFlags,        K::Flags,    0, 99, 255},
    {f::PLU_MemPrice,        K::Number,   0, 999999},
    {f::PLU_CoupledPLUNo,    K::Number,   0, 999999},
    {f::PLU_TaxNo,           K::Number,   0, 9},
    {f::PLU_Tax2No,          K::Number,   0, 9},
    {f::PLU_SPMessageNo,     K::Number,   0, 999999},
    {f::PLU_IngredientNo,    K::Number,   0, 999999},
    {f::PLU_DiscScheNo,      K::Number,   0, 999999},
    {f::PLU_PriScheNo,       K::Number,   0, 999999},
    {f::PLU_RSData,          K::Number,   0, 3},
    {f::PLU_Disc_SDate,      K::Date,     0, 311299},
    {f::PLU_Disc_STime,      K::Time,     0, 2359},
    {f::PLU_Disc_EDate,      K::Date,     0, 311299},
    {f::PLU_Disc_ETime,      K::Time,     0, 2359},
    {f::PLU_Disc_1stLim,     K::Weight,   0, 9999},
    {f::PLU_Disc_Within1stL, K::Price,    0, 999999},
    {f::PLU_Disc_2ndLim,     K::Weight,   0, 9999},
    {f::PLU_Disc_Within2ndL, K::Price,    0, 999999},
    {f::PLU_Disc_Type,       K::Number,   0, 6},
    {f::PLU_DisDayOfWeek,    K::Number,   0, 127},
    {f::PLU_MemDisc1,        K::Price,    0, 999999},
    {f::PLU_MemDisc2,        K::Price,    0, 999999},
    {f::PLU_MemDisc3,        K::Price,    0, 999999},
    {f::PLU_MemDisc4,        K::Price,    0, 999999},
    {f::Stat1_PBPreUnit,     K::Number,   0, 0}, // a position of the weighed unit list, which has one entry
    {f::Stat1_UPriceOV,      K::Number,   0, 1},
    {f::Stat1_PricePriority, K::Number,   0, 1},
    {f::Stat1_MemPriceType,  K::Number,   0, 1},
    {f::Stat1_NegativePLU,   K::Number,   0, 1},
};
// clang-format on

} // namespace

const PluFieldRange* pluFieldRange(QStringView fieldName)
{
    for (const PluFieldRange& r : kRanges)
        if (fieldName == QLatin1StringView(records::plu::name(r.field)))
            return &r;
    return nullptr;
}

QString pluRangeRefusal(const PluFieldRange& range, qint64 value)
{
    const bool inRange = (value >= range.min && value <= range.max)
        || (range.alsoAccepted > range.max && value == range.alsoAccepted);
    if (inRange && range.kind == K::Date && value != 0
        && !QDate(2000 + int(value % 100), int(value / 100 % 100), int(value / 10000)).isValid())
        return QStringLiteral("not a date DDMMYY");
    if (inRange && range.kind == K::Time && value % 100 > 59)
        return QStringLiteral("not a time HHMM");
    if (inRange)
        return QString();
    QString accepted = QStringLiteral("%1 to %2").arg(range.min).arg(range.max);
    if (range.alsoAccepted > range.max)
        accepted += QStringLiteral(" or %1").arg(range.alsoAccepted);
    return QStringLiteral("outside %1").arg(accepted);
}

} // namespace quorvane
