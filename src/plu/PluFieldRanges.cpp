#include "plu/PluFieldRanges.h"

#include "plu/PluFields.h"

#include <QList>

#include <optional>

namespace quorvane {

namespace {

namespace f = records::plu;
using K = fields::Kind;

// What an import checks of a field: how it reads it (a kind and its decimals), and the range only where no number
// box of the PLU editor's field table holds it (the key's store, lists, pickers, check boxes, the two flag digits
// taken as one field, texts). Every other range is the table's own, read by its save check and by the import
// alike. So is the presence flag: the table's flag column, and a rule's own only for a field no row of the table
// shows.
struct Read {
    K kind;
    int decimals = 0;
};
constexpr Read Text{K::Text}, ItemCode{K::ItemCode}, Whole{K::Whole}, Date{K::Date}, Time{K::Time};
constexpr Read Price{K::Amount, fields::PriceDecimals}, Weight{K::Amount, fields::WeightDecimals};
struct Own {
    qint64 min = 0;
    qint64 max = 0;
    qint64 alsoAccepted = 0;
    bool byte = false;
};
struct Rule {
    records::plu::Field field;
    Read read;
    std::optional<Own> own = std::nullopt; // none: the field table's range
    int textLength = 0;
    std::optional<records::plu::Field> flag = std::nullopt; // a field without a row in the field table
};

// clang-format off
const Rule kRules[] = {
    {f::PLU_No,              Whole},
    {f::ST_No,               Whole,    Own{1, 32767}},
    {f::PLU_MG,              Whole},
    {f::PLU_Commodity,       Text,     Own{}, 50, f::Stat2_Commodity},
    {f::PLU_Description,     Text,     Own{}, 50},
    {f::PLU_UPrice,          Price},
    {f::PLU_Tare,            Weight},
    {f::PLU_Cost,            Whole},
    {f::Stat1_Unit,          Whole,    Own{0, 1}},
    {f::PLU_EANItemCode,     ItemCode, Own{}, 10},
    {f::PLU_BarFormat,       Whole,    Own{0, 28, 255}},
    {f::PLU_EANFlags,        Whole,    Own{0, 99, 255, true}},
    {f::PLU_MemPrice,        Whole,    Own{0, 999999}, 0, f::Stat2_MemPrice},
    {f::PLU_CoupledPLUNo,    Whole},
    {f::PLU_TaxNo,           Whole},
    {f::PLU_Tax2No,          Whole},
    {f::PLU_SPMessageNo,     Whole},
    {f::PLU_IngredientNo,    Whole},
    {f::PLU_DiscScheNo,      Whole},
    {f::PLU_PriScheNo,       Whole},
    {f::PLU_RSData,          Whole,    Own{0, 3}},
    {f::PLU_Disc_SDate,      Date,     Own{0, 311299}},
    {f::PLU_Disc_STime,      Time,     Own{0, 2359}},
    {f::PLU_Disc_EDate,      Date,     Own{0, 311299}},
    {f::PLU_Disc_ETime,      Time,     Own{0, 2359}},
    {f::PLU_Disc_1stLim,     Weight},
    {f::PLU_Disc_Within1stL, Price},
    {f::PLU_Disc_2ndLim,     Weight},
    {f::PLU_Disc_Within2ndL, Price},
    {f::PLU_Disc_Type,       Whole,    Own{0, 6}},
    {f::PLU_DisDayOfWeek,    Whole},
    {f::PLU_MemDisc1,        Price},
    {f::PLU_MemDisc2,        Price},
    {f::PLU_MemDisc3,        Price},
    {f::PLU_MemDisc4,        Price},
    {f::Stat1_PBPreUnit,     Whole,    Own{0, 0}}, // a position of the weighed unit list, which has one entry
    {f::Stat1_UPriceOV,      Whole,    Own{0, 1}},
    {f::Stat1_PricePriority, Whole,    Own{0, 1}},
    {f::Stat1_MemPriceType,  Whole,    Own{0, 1}},
    {f::Stat1_NegativePLU,   Whole,    Own{0, 1}},
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
        ranges << PluFieldRange{rule.field, rule.read.kind,  rule.read.decimals,
                                own.min,    own.max,         own.alsoAccepted,
                                own.byte,   rule.textLength, row ? row->flag : rule.flag};
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
    if (inRange && range.kind == K::Date && value != 0 && !fields::dateOf(value).isValid())
        return QStringLiteral("not a date DDMMYY");
    if (inRange && range.kind == K::Time && value != 0 && !fields::timeOf(value).isValid())
        return QStringLiteral("not a time HHMM");
    if (inRange)
        return QString();
    QString accepted = QStringLiteral("%1 to %2").arg(range.min).arg(range.max);
    if (range.alsoAccepted > range.max)
        accepted += QStringLiteral(" or %1").arg(range.alsoAccepted);
    return QStringLiteral("outside %1").arg(accepted);
}

} // namespace quorvane
