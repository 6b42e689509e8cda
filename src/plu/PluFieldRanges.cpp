#include "plu/PluFieldRanges.h"

#include "plu/PluFields.h"

#include <QDate>
#include <QList>

#include <optional>

namespace quorvane {

namespace {

namespace f = records::plu;
using K = PluValueKind;

// What an import checks of a field: the kind of check, and the range only where no number box of the PLU
// editor's field table holds it (the key's store, lists, pickers, check boxes, the two flag digits taken as one
// field, texts). Every other range is the table's own, read by its save check and by the import alike. So is the
// presence flag: the table's flag column, and a rule's own only for a field no row of the table shows.
struct Own {
    qint64 min = 0;
    qint64 max = 0;
    qint64 alsoAccepted = 0;
};
struct Rule {
    records::plu::Field field;
    PluValueKind kind;
    std::optional<Own> own = std::nullopt; // none: the field table's range
    int textLength = 0;
    std::optional<records::plu::Field> flag = std::nullopt; // a field without a row in the field table
};

// clang-format off
const Rule kRules[] = {
    {f::PLU_No,              K::Number},
    {f::ST_No,               K::Number,   Own{1, 32767}},
    {f::PLU_MG,              K::Number},
    {f::PLU_Commodity,       K::Text,     Own{}, 50, f::Stat2_Commodity},
    {f::PLU_Description,     K::Text,     Own{}, 50},
    {f::PLU_UPrice,          K::Price},
    {f::PLU_Tare,            K::Weight},
    {f::PLU_Cost,            K::Number},
    {f::Stat1_Unit,          K::Number,   Own{0, 1}},
    {f::PLU_EANItemCode,     K::ItemCode, Own{}, 10},
    {f::PLU_BarFormat,       K::Number,   Own{0, 28, 255}},
    {f::PLU_EANFlags,        K::Flags,    Own{0, 99, 255}},
    {f::PLU_MemPrice,        K::Number,   Own{0, 999999}, 0, f::Stat2_MemPrice},
    {f::PLU_CoupledPLUNo,    K::Number},
    {f::PLU_TaxNo,           K::Number},
    {f::PLU_Tax2No,          K::Number},
    {f::PLU_SPMessageNo,     K::Number},
    {f::PLU_IngredientNo,    K::Number},
    {f::PLU_DiscScheNo,      K::Number},
    {f::PLU_PriScheNo,       K::Number},
    {f::PLU_RSData,          K::Number,   Own{0, 3}},
    {f::PLU_Disc_SDate,      K::Date,     Own{0, 311299}},
    {f::PLU_Disc_STime,      K::Time,     Own{0, 2359}},
    {f::PLU_Disc_EDate,      K::Date,     Own{0, 311299}},
    {f::PLU_Disc_ETime,      K::Time,     Own{0, 2359}},
    {f::PLU_Disc_1stLim,     K::Weight},
    {f::PLU_Disc_Within1stL, K::Price},
    {f::PLU_Disc_2ndLim,     K::Weight},
    {f::PLU_Disc_Within2ndL, K::Price},
    {f::PLU_Disc_Type,       K::Number,   Own{0, 6}},
    {f::PLU_DisDayOfWeek,    K::Number},
    {f::PLU_MemDisc1,        K::Price},
    {f::PLU_MemDisc2,        K::Price},
    {f::PLU_MemDisc3,        K::Price},
    {f::PLU_MemDisc4,        K::Price},
    {f::Stat1_PBPreUnit,     K::Number,   Own{0, 0}}, // a position of the weighed unit list, which has one entry
    {f::Stat1_UPriceOV,      K::Number,   Own{0, 1}},
    {f::Stat1_PricePriority, K::Number,   Own{0, 1}},
    {f::Stat1_MemPriceType,  K::Number,   Own{0, 1}},
    {f::Stat1_NegativePLU,   K::Number,   Own{0, 1}},
};
// clang-format on

QList<PluFieldRange> resolvedRanges()
{
    QList<PluFieldRange> ranges;
    for (const Rule& rule : kRules) {
        const PluField* row = pluField(rule.field);
        // Table faults: the program stops, naming the field, as the window kit stops on a faulty control table.
        if (!row && !rule.own)
            qFatal("PLU field %s has no range: no row of the PLU field table and no own range", f::name(rule.field));
        if (row && rule.flag)
            qFatal("PLU field %s has its flag named twice: one table names a field's flag", f::name(rule.field));
        const Own own = rule.own ? *rule.own : Own{row->extra.min, row->extra.max};
        ranges << PluFieldRange{
            rule.field, rule.kind, own.min, own.max, own.alsoAccepted, rule.textLength, row ? row->flag : rule.flag};
    }
    return ranges;
}

} // namespace

const PluFieldRange* pluFieldRange(QStringView fieldName)
{
    static const QList<PluFieldRange> ranges = resolvedRanges();
    for (const PluFieldRange& r : ranges)
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
