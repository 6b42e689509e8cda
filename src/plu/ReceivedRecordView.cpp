#include "plu/ReceivedRecordView.h"

#include "records/PackedBcd.h"
#include "records/TextBlock.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/SettingsState.h"

#include <QDate>
#include <QTime>

#include <functional>

namespace quorvane {

namespace f = records::plu;

namespace {

using Form = std::function<QVariant(const records::PluRow&)>;

using Keys = std::initializer_list<const char*>;
constexpr Keys kRSData{"RS0", "RS1", "RS2", "RS3"};
constexpr Keys kMemDisc{"MD0", "MD1"};
constexpr Keys kDiscount{"D0", "D1", "D2", "D3", "D4", "D5", "D6"};

QStringList keyed(const LangCollection& texts, Keys keys)
{
    QStringList out;
    for (const char* key : keys)
        out << texts.text(QLatin1String(key));
    return out;
}

QStringList barFormats()
{
    QStringList out;
    for (int p = 1; p <= gParEANDisp.count(); ++p)
        out << gParEANDisp.at(p);
    return out;
}

// A list position, -1 when the list has no such entry.
int position(qint64 value, int entries) { return value >= 0 && value < entries ? int(value) : -1; }

int barFormatPosition(const records::PluRow& row)
{
    const int entries = gParEANDisp.count();
    const qint64 v = row.number(f::PLU_BarFormat);
    return v == 255 ? entries - 1 : position(v, entries);
}

bool weighed(const records::PluRow& row) { return row.number(f::Stat1_Unit) == 0; }

QString fixed(const records::PluRow& row, f::Field field, int decimals)
{
    return FormatFixedDecimal(qint32(row.number(field)), qint16(decimals));
}

Form text(f::Field field)
{
    return [field](const records::PluRow& row) { return QVariant(row.text(field)); };
}
Form number(f::Field field)
{
    return [field](const records::PluRow& row) { return QVariant(QString::number(row.number(field))); };
}
Form price(f::Field field)
{
    return [field](const records::PluRow& row) { return QVariant(fixed(row, field, gSettings().gPricePoint)); };
}
Form isOne(f::Field field)
{
    return [field](const records::PluRow& row) { return QVariant(row.number(field) == 1); };
}
Form listAt(f::Field field, int entries)
{
    return [field, entries](const records::PluRow& row) { return QVariant(position(row.number(field), entries)); };
}

// The first line of a text block, at most 50 characters; a block whose first line runs past its end shows none.
Form firstLine(f::Field field)
{
    return [field](const records::PluRow& row) {
        if (row.isNull(field))
            return QVariant(QString());
        try {
            return QVariant(records::textBlockFirstLine(row.bytes(field), false).left(50));
        } catch (const records::CodecError&) {
            return QVariant(QString());
        }
    };
}

Form flagCode(int digit)
{
    return [digit](const records::PluRow& row) {
        const qint64 flags = row.number(f::PLU_EANFlags);
        if (flags == 255)
            return QVariant(QStringLiteral("F"));
        return QVariant(QString::number(digit == 1 ? flags / 10 : flags % 10));
    };
}

Form limit(f::Field field)
{
    return [field](const records::PluRow& row) {
        return QVariant(weighed(row) ? fixed(row, field, gSettings().gWeightPoint)
                                     : QString::number(row.number(field)));
    };
}

Form withinLimit(f::Field field)
{
    return [field](const records::PluRow& row) {
        const qint64 type = row.number(f::PLU_Disc_Type);
        return QVariant(fixed(row, field, type == 3 || type == 5 ? 2 : gSettings().gPricePoint));
    };
}

// DDMMYY; 0 or no date leaves the picker.
Form date(f::Field field)
{
    return [field](const records::PluRow& row) {
        const qint64 v = row.number(field);
        const QDate d(2000 + int(v % 100), int(v % 10000 / 100), int(v / 10000));
        return v != 0 && d.isValid() ? QVariant(d) : QVariant();
    };
}

// HHMM; 0 or no time leaves the picker.
Form time(f::Field field)
{
    return [field](const records::PluRow& row) {
        const qint64 v = row.number(field);
        const QTime t(int(v / 100), int(v % 100));
        return v != 0 && t.isValid() ? QVariant(t) : QVariant();
    };
}

QString dayMask(qint64 mask)
{
    if (mask == 0)
        return QStringLiteral("0");
    QString s;
    for (int i = 0; i < 7; ++i)
        s += (mask >> (6 - i)) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QString unitLimitLabel(const records::PluRow& row)
{
    return weighed(row) ? gParSSTabSymbol.text(QStringLiteral("Wg")) : gParSSTabSymbol.text(QStringLiteral("Wpcs"));
}

// The view's controls in the order they are filled, each with the form it shows its field in.
const QList<QPair<QString, Form>>& rules()
{
    static const QList<QPair<QString, Form>> table = [] {
        const auto weight = [](f::Field field) {
            return Form(
                [field](const records::PluRow& row) { return QVariant(fixed(row, field, gSettings().gWeightPoint)); });
        };
        QList<QPair<QString, Form>> t{
            {"meditPLU", number(f::PLU_No)},
            {"meditMG", number(f::PLU_MG)},
            {"meditTare", weight(f::PLU_Tare)},
            {"txtName", firstLine(f::PLU_Commodity)},
            {"meditDescription", firstLine(f::PLU_Description)},
            {"meditUPrice", price(f::PLU_UPrice)},
            {"chkWeighed", [](const records::PluRow& row) { return QVariant(weighed(row)); }},
            {"combSymbol",
             [](const records::PluRow& row) {
                 // The unit list holds one entry, weighed or by count.
                 return QVariant(weighed(row) ? position(row.number(f::Stat1_PBPreUnit), 1) : 0);
             }},
            {"chkUPoverride", isOne(f::Stat1_UPriceOV)},
            {"chknegativePLU", isOne(f::Stat1_NegativePLU)},
            {"combMemDiscType", listAt(f::Stat1_MemPriceType, int(kMemDisc.size()))},
        };
        for (int i = 1; i <= 4; ++i)
            t.append({QStringLiteral("meditMemDisc(%1)").arg(i), price(f::Field(f::PLU_MemDisc1 + i - 1))});
        t += QList<QPair<QString, Form>>{
            {"meditCoupledPLU", number(f::PLU_CoupledPLUNo)},
            {"meditCost", price(f::PLU_Cost)},
            {"meditItemCode", text(f::PLU_EANItemCode)},
            {"combBarcodeFormat", [](const records::PluRow& row) { return QVariant(barFormatPosition(row)); }},
            {"lblReference",
             [](const records::PluRow& row) {
                 const int p = barFormatPosition(row);
                 return QVariant(p < 0 ? QString() : gParEANDisp.at(p + 1).mid(2));
             }},
            {"meditFlagCode1", flagCode(1)},
            {"meditFlagCode2", flagCode(2)},
            {"combRSData", listAt(f::PLU_RSData, int(kRSData.size()))},
            {"meditTaxNum", number(f::PLU_TaxNo)},
            {"meditTax2Num", number(f::PLU_Tax2No)},
            {"meditDiscScheNum", number(f::PLU_DiscScheNo)},
            {"meditPriScheNum", number(f::PLU_PriScheNo)},
            {"meditIngrNum", number(f::PLU_IngredientNo)},
            {"meditSMsgNum", number(f::PLU_SPMessageNo)},
            {"combDiscType", listAt(f::PLU_Disc_Type, int(kDiscount.size()))},
            {"meditDiscLimit1", limit(f::PLU_Disc_1stLim)},
            {"meditDiscLimit2", limit(f::PLU_Disc_2ndLim)},
            {"meditDiscLmtPer1", withinLimit(f::PLU_Disc_Within1stL)},
            {"meditDiscLmtPer2", withinLimit(f::PLU_Disc_Within2ndL)},
            {"DTPickerStartDate", date(f::PLU_Disc_SDate)},
            {"DTPickerEndDate", date(f::PLU_Disc_EDate)},
            {"DTPickerStartTime", time(f::PLU_Disc_STime)},
            {"DTPickerEndTime", time(f::PLU_Disc_ETime)},
            {"meditDiscDayOfWeek",
             [](const records::PluRow& row) { return QVariant(dayMask(row.number(f::PLU_DisDayOfWeek))); }},
            {"chkPricePriority", isOne(f::Stat1_PricePriority)},
            {"lblDiscLimit1G", [](const records::PluRow& row) { return QVariant(unitLimitLabel(row)); }},
            {"lblDiscLimit2G", [](const records::PluRow& row) { return QVariant(unitLimitLabel(row)); }},
        };
        return t;
    }();
    return table;
}

} // namespace

QVariant receivedViewValue(const QString& objectName, const records::PluRow& row)
{
    for (const auto& [name, form] : rules())
        if (name == objectName)
            return form(row);
    return QVariant();
}

const QStringList& receivedViewControls()
{
    static const QStringList names = [] {
        QStringList out;
        for (const auto& rule : rules())
            out << rule.first;
        return out;
    }();
    return names;
}

QVariant ReceivedRecordView::value(const QString& objectName) const
{
    for (const auto& [name, v] : values)
        if (name == objectName)
            return v;
    return QVariant();
}

ReceivedRecordView receivedRecordView(const records::PluRow& row)
{
    ReceivedRecordView view;
    for (const auto& [name, form] : rules())
        view.values.append({name, form(row)});
    const bool byWeight = weighed(row);
    view.combSymbol = {byWeight ? gParSSTabSymbol.text(QStringLiteral("Wkg"))
                                : gParSSTabSymbol.text(QStringLiteral("NWnone"))};
    view.tareVisible = byWeight;
    const qint16 dateType = gSettings().gDateType;
    if (dateType >= 0 && dateType <= 5)
        view.dateFormat = dateFormatFor(dateType);
    return view;
}

QList<QPair<QString, QStringList>> receivedViewLists()
{
    return {
        {QStringLiteral("combBarcodeFormat"), barFormats()},
        {QStringLiteral("combRSData"), keyed(gParRSData, kRSData)},
        {QStringLiteral("combMemDiscType"), keyed(gParMemdisc, kMemDisc)},
        {QStringLiteral("combDiscType"), keyed(gParDiscount, kDiscount)},
    };
}

} // namespace quorvane
