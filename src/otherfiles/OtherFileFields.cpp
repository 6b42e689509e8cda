#include "otherfiles/OtherFileFields.h"

#include "otherfiles/OtherFileRecords.h"
#include "platform/db/Recordset.h"
#include "state/SharedData.h"

namespace quorvane::otherfiles {

namespace {

using enum fields::Kind;
using C = ChangeForm;
using B = DecimalsBy;
constexpr auto Always = fields::Write::Always;

// clang-format off
const QList<FieldBinding> kBindings{
    {.control = "txtIngNextNo", .field = "NextNo", .kind = Whole, .write = Always, .maxChars = 6, .extra = {.table = "KVB_3A", .change = C::WholeNumber}},
    {.control = "txtIngredient", .field = "NameFirstLine", .kind = Text, .extra = {.table = "KVB_3A"}},
    {.control = "txtSMsgNextNo", .field = "NextNo", .kind = Whole, .write = Always, .maxChars = 6, .extra = {.table = "KVB_3B", .change = C::WholeNumber}},
    {.control = "txtSMsg", .field = "NameFirstLine", .kind = Text, .extra = {.table = "KVB_3B"}},
    {.control = "txtAdvNextNo", .field = "NextNo", .kind = Whole, .write = Always, .maxChars = 6, .extra = {.table = "KVB_3C", .change = C::WholeNumber}},
    {.control = "txtAdv", .field = "NameFirstLine", .kind = Text, .extra = {.table = "KVB_3C"}},
    {.control = "txtSNameNextNo", .field = "NextNo", .kind = Whole, .write = Always, .maxChars = 6, .extra = {.table = "KVB_3D", .change = C::WholeNumber}},
    {.control = "txtSName", .field = "NameFirstLine", .kind = Text, .extra = {.table = "KVB_3D"}},
    {.control = "txtClerkName", .field = "Name", .kind = Text, .maxChars = 16, .extra = {.table = "KVB_44", .maxBytes = 16}},
    {.control = "txtTaxName", .field = "Name", .kind = Text, .maxChars = 4, .extra = {.table = "KVB_A8", .absent = "VAT%1", .maxBytes = 4}},
    {.control = "meditTaxRate", .field = "Rate", .kind = Amount, .decimals = 2, .write = Always, .maxChars = 4, .focusLimit = 4, .extra = {.table = "KVB_A8", .change = C::Decimal}},
    {.control = "combTaxType", .field = "Status", .kind = ListPosition, .extra = {.table = "KVB_A8", .listSize = 2}},
    {.control = "txtStockName", .field = "Name", .kind = Text, .maxChars = 22, .extra = {.table = "KVB_AC", .absent = " ", .maxBytes = 22}},
    {.control = "combStockType", .field = "Type", .kind = ListPosition, .extra = {.table = "KVB_AC", .listSize = 3}},
    {.control = "chkPrefix", .field = "Status", .kind = StatusBit, .extra = {.table = "KVB_AC", .bits = 1}},
    {.control = "chkCostPrint", .field = "Status", .kind = StatusBit, .extra = {.table = "KVB_AC", .bits = 2}},
    {.control = "chkShopNameNo", .field = "Status", .kind = StatusBit, .extra = {.table = "KVB_AC", .bits = 4}},
    {.control = "combPLUType", .field = "Status", .kind = ListPosition, .extra = {.table = "KVB_AC", .bits = 24, .listSize = 3}},
    {.control = "txtPaymentName", .field = "Name", .kind = Text, .maxChars = 7, .extra = {.table = "KVB_AD", .absent = " ", .maxBytes = 7}},
    {.control = "chkPayTotal", .field = "Status", .kind = StatusBit, .extra = {.table = "KVB_AD", .bits = 1}},
    {.control = "chkChange", .field = "Status", .kind = StatusBit, .extra = {.table = "KVB_AD", .bits = 2}},
    {.control = "chkRounding", .field = "Status", .kind = StatusBit, .extra = {.table = "KVB_AD", .bits = 4}},
    {.control = "chkCardReader", .field = "Status", .kind = StatusBit, .extra = {.table = "KVB_AD", .bits = 8}},
    {.control = "txtDiscScheNextNo", .field = "NextNumber", .kind = Whole, .write = Always, .maxChars = 6, .extra = {.table = "KVB_AA", .change = C::WholeNumber}},
    {.control = "combDiscType", .field = "Disc_Type", .kind = ListPosition, .extra = {.table = "KVB_AA", .listSize = 7}},
    {.control = "combDiscLimitType", .field = "Disc_LimitType", .kind = ListPosition, .extra = {.table = "KVB_AA", .listSize = 2}},
    {.control = "DTPickerStartDate", .field = "Disc_SDate", .kind = Date, .extra = {.table = "KVB_AA", .whileTyped = true}},
    {.control = "DTPickerStartTime", .field = "Disc_STime", .kind = Time, .extra = {.table = "KVB_AA", .whileTyped = true}},
    {.control = "DTPickerEndDate", .field = "Disc_EDate", .kind = Date, .extra = {.table = "KVB_AA", .whileTyped = true}},
    {.control = "DTPickerEndTime", .field = "Disc_ETime", .kind = Time, .extra = {.table = "KVB_AA", .whileTyped = true}},
    {.control = "meditDiscDayOfWeek", .field = "DisDayOfWeek", .kind = DayMask, .maxChars = 7, .extra = {.table = "KVB_AA", .whileTyped = true}},
    {.control = "meditDiscLimit1", .field = "Disc_1stLim", .kind = Amount, .write = Always, .maxChars = 5, .focusLimit = 4, .extra = {.table = "KVB_AA", .decimalsBy = B::LimitType, .change = C::Decimal}},
    {.control = "meditDiscLimit2", .field = "Disc_2ndLim", .kind = Amount, .write = Always, .maxChars = 5, .focusLimit = 4, .extra = {.table = "KVB_AA", .decimalsBy = B::LimitType, .change = C::Decimal}},
    {.control = "meditDiscLmtPer1", .field = "Disc_Within1stL", .kind = Amount, .write = Always, .maxChars = 6, .focusLimit = 6, .extra = {.table = "KVB_AA", .decimalsBy = B::DiscountType, .change = C::Decimal}},
    {.control = "meditDiscLmtPer2", .field = "Disc_Within2ndL", .kind = Amount, .write = Always, .maxChars = 6, .focusLimit = 6, .extra = {.table = "KVB_AA", .decimalsBy = B::DiscountType, .change = C::Decimal}},
    {.control = "txtPriceScheNextNo", .field = "NextNumber", .kind = Whole, .write = Always, .maxChars = 6, .extra = {.table = "KVB_AB", .change = C::WholeNumber}},
    {.control = "DTPickerStartDatePrice", .field = "Price_SDate", .kind = Date, .extra = {.table = "KVB_AB", .whileTyped = true}},
    {.control = "DTPickerStartTimePrice", .field = "Price_STime", .kind = Time, .extra = {.table = "KVB_AB", .whileTyped = true}},
    {.control = "DTPickerEndDatePrice", .field = "Price_EDate", .kind = Date, .extra = {.table = "KVB_AB", .whileTyped = true}},
    {.control = "DTPickerEndTimePrice", .field = "Price_ETime", .kind = Time, .extra = {.table = "KVB_AB", .whileTyped = true}},
    {.control = "meditPriceDayOfWeek", .field = "PriceDayOfWeek", .kind = DayMask, .maxChars = 7, .extra = {.table = "KVB_AB", .whileTyped = true}},
    {.control = "meditNewUPrice", .field = "NewUnitPrice", .kind = Amount, .decimals = fields::PriceDecimals, .write = Always, .maxChars = 6, .focusLimit = 6, .extra = {.table = "KVB_AB", .change = C::Decimal}},
};
// clang-format on

// The kind's field whose 0 leaves the span of a schedule unshown.
QString typeField(const OtherFileKind& kind)
{
    return QLatin1String(kind.table) == QLatin1String("KVB_AA") ? QStringLiteral("Disc_Type")
                                                                : QStringLiteral("NewUnitPrice");
}

// The part of a stored field a control shows, and the place of its lowest bit in the field.
qint64 lowestBit(const FieldBinding& b) { return b.extra.bits ? b.extra.bits & -b.extra.bits : 1; }
qint64 partOf(const FieldBinding& b, qint64 v) { return b.extra.bits ? (v & b.extra.bits) / lowestBit(b) : v; }

// A stored value (a text, or the part of a number) as its control shows it, by the kind's one reader; an invalid
// QVariant leaves the control as it is.
QVariant shownValue(const FieldBinding& b, const QVariant& stored, const fields::Format& format, fields::ZeroShown zero)
{
    const QVariant shown = fields::shownValue(b.kind, b.decimals, stored, format, zero);
    switch (b.kind) {
    case Date:
        return shown.toDate().isValid() ? shown : QVariant();
    case Time:
        return shown.toTime().isValid() ? shown : QVariant();
    case ListPosition:
        return shown.toInt() >= 0 && shown.toInt() < b.extra.listSize ? shown.toInt() : 0;
    default:
        return shown;
    }
}

// A number without a row: its names' defaults, today's date, and 0 for the rest as the kinds show it.
QVariant absentValue(const FieldBinding& b, qint64 number, const fields::Format& format)
{
    if (b.kind == Text)
        return QString::fromLatin1(b.extra.absent).replace(QLatin1String("%1"), QString::number(number));
    if (b.kind == Date)
        return otherFilesNow().date();
    return shownValue(b, 0, format, fields::ZeroShown::Short);
}

// The stored fields of the kind from what the window shows, the parts of a field joined. A day mask goes to its
// schedule's builder as the text shown, which the builder reads.
QVariantMap storedFields(const OtherFileKind& kind, const QVariantMap& values)
{
    const fields::Format format = fields::currentFormat();
    QVariantMap stored;
    for (const FieldBinding* b : bindingsOf(kind)) {
        const QString field = QLatin1String(b->field);
        const QVariant shown = values.value(QLatin1String(b->control));
        if (b->kind == Text)
            stored.insert(field, shown.toString());
        else if (b->kind == DayMask)
            stored.insert(field, shown.toString().isEmpty() ? QStringLiteral("0") : shown.toString());
        else if (const auto v = fields::storedValue(b->kind, b->decimals, shown, b->write, format))
            stored.insert(field, b->extra.bits ? stored.value(field).toLongLong() | *v * lowestBit(*b) : *v);
    }
    return stored;
}

void fillSpan(ScheduleSpan& s, const QVariantMap& f, const QString& prefix, const QString& daysField)
{
    s.startDate = f.value(prefix + QStringLiteral("SDate")).toLongLong();
    s.startTime = f.value(prefix + QStringLiteral("STime")).toLongLong();
    s.endDate = f.value(prefix + QStringLiteral("EDate")).toLongLong();
    s.endTime = f.value(prefix + QStringLiteral("ETime")).toLongLong();
    s.days = f.value(daysField).toString();
}

} // namespace

const FieldBinding* bindingOf(const QString& objectName)
{
    for (const FieldBinding& b : kBindings)
        if (objectName == QLatin1String(b.control))
            return &b;
    return nullptr;
}

QList<const FieldBinding*> bindingsOf(const OtherFileKind& kind)
{
    QList<const FieldBinding*> result;
    for (const FieldBinding& b : kBindings)
        if (QLatin1String(b.extra.table) == QLatin1String(kind.table))
            result.append(&b);
    return result;
}

ShownRecord showRecord(const OtherFileKind& kind, qint64 number)
{
    db::Recordset row(&gDBConnection);
    // A text row counts only with its text; without one the first row of the number still gives its link.
    const QString order = kind.isText() ? QStringLiteral("(Name IS NULL OR length(Name) = 0), rowid")
                                        : QStringLiteral("rowid");
    row.open(QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY %3 LIMIT 1")
                 .arg(QLatin1StringView(kind.table), QLatin1StringView(kind.keyField), order),
             {number});
    ShownRecord shown;
    shown.found = !row.eof();
    if (shown.found && kind.isText())
        shown.text = row.bytesValue(QStringLiteral("Name"));
    const bool spanShown = shown.found && (!kind.frame || row.intValue(typeField(kind)) != 0);
    const fields::Format format = fields::currentFormat();
    for (const FieldBinding* b : bindingsOf(kind)) {
        const QString field = QLatin1String(b->field);
        QVariant value;
        if (!shown.found)
            value = absentValue(*b, number, format);
        else if (b->extra.whileTyped && !spanShown)
            continue;
        else if (kind.isText() && QLatin1String(b->control) == QLatin1String(kind.textBox) && shown.text.isEmpty())
            value = QString();
        else if (b->kind == Text)
            value = shownValue(*b, row.value(field), format, kOtherFilesZero);
        else
            value = shownValue(*b, partOf(*b, row.intValue(field)), format, kOtherFilesZero);
        if (value.isValid())
            shown.values.insert(QLatin1String(b->control), value);
    }
    row.close();
    return shown;
}

QString emptyNameDefault(const OtherFileKind& kind, qint64 number, const QVariantMap& values)
{
    const QString table = QLatin1String(kind.table);
    for (const FieldBinding* b : bindingsOf(kind)) {
        if (!isName(*b) || !values.value(QLatin1String(b->control)).toString().isEmpty())
            continue;
        if (table == QLatin1String("KVB_A8"))
            return (values.value(QStringLiteral("combTaxType")).toInt() == 0 ? QStringLiteral("ATX")
                                                                             : QStringLiteral("VAT"))
                + QString::number(number);
        return QStringLiteral(" ");
    }
    return {};
}

bool saveShown(const OtherFileKind& kind, qint64 number, qint64 next, const ShownRecord& shown)
{
    QVariantMap values = shown.values;
    for (const FieldBinding* b : bindingsOf(kind))
        if (isName(*b) && values.value(QLatin1String(b->control)).toString().isEmpty())
            values.insert(QLatin1String(b->control), emptyNameDefault(kind, number, values));
    const QVariantMap f = storedFields(kind, values);
    const QString table = QLatin1String(kind.table);
    const QString name = f.value(QStringLiteral("Name")).toString();
    const qint64 status = f.value(QStringLiteral("Status")).toLongLong();
    if (kind.isText())
        return SaveTextRecordNextNo(table, number, next, shown.text,
                                    values.value(QLatin1StringView(kind.textBox)).toString(),
                                    values.value(QLatin1StringView(kind.sendBox)).toBool());
    if (table == QLatin1String("KVB_44"))
        return SaveClerkRecord(number, name);
    if (table == QLatin1String("KVB_A8"))
        return SaveTaxRecord(number, name, f.value(QStringLiteral("Rate")).toLongLong(), status);
    if (table == QLatin1String("KVB_AC"))
        return SaveStockKeyRecord(number, status, f.value(QStringLiteral("Type")).toLongLong(), name);
    if (table == QLatin1String("KVB_AD"))
        return SavePaymentKeyRecord(number, status, name, 0);
    if (table == QLatin1String("KVB_AA")) {
        DiscountSchedule s;
        fillSpan(s, f, QStringLiteral("Disc_"), QStringLiteral("DisDayOfWeek"));
        s.limitType = f.value(QStringLiteral("Disc_LimitType")).toLongLong();
        s.firstLimit = f.value(QStringLiteral("Disc_1stLim")).toLongLong();
        s.withinFirst = f.value(QStringLiteral("Disc_Within1stL")).toLongLong();
        s.secondLimit = f.value(QStringLiteral("Disc_2ndLim")).toLongLong();
        s.withinSecond = f.value(QStringLiteral("Disc_Within2ndL")).toLongLong();
        s.type = f.value(QStringLiteral("Disc_Type")).toLongLong();
        SaveDiscountSchedule(number, next, s);
        return false;
    }
    PriceSchedule s;
    fillSpan(s, f, QStringLiteral("Price_"), QStringLiteral("PriceDayOfWeek"));
    s.newUnitPrice = f.value(QStringLiteral("NewUnitPrice")).toLongLong();
    SavePriceSchedule(number, next, s);
    return false;
}

} // namespace quorvane::otherfiles
