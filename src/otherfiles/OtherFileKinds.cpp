#include "otherfiles/OtherFileKinds.h"

#include "datafiles/DataFileWriters.h"
#include "otherfiles/OtherFileRecords.h"
#include "platform/Error.h"
#include "platform/StateReset.h"
#include "platform/db/Recordset.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QTime>

namespace quorvane::otherfiles {

namespace {

// clang-format off
const QList<OtherFileKind> kKinds{
    {"KVB_3A", "No", "txtIngNo", "txtIngNextNo", "chkIng", "NameFirstLine", " ", false, 13, "cmdIng", "txtIngredient", nullptr},
    {"KVB_3B", "No", "txtSMsgNo", "txtSMsgNextNo", "chkSmsg", "NameFirstLine", " ", false, 14, "cmdSMsg", "txtSMsg", nullptr},
    {"KVB_3C", "No", "txtAdvNo", "txtAdvNextNo", "chkAdv", "NameFirstLine", " ", false, 15, "cmdAdv", "txtAdv", nullptr},
    {"KVB_3D", "No", "txtSNameNo", "txtSNameNextNo", "chkSname", "NameFirstLine", " ", false, 16, "cmdSName", "txtSName", nullptr},
    {"KVB_44", "Clerk_No", "combClerkNo", nullptr, "chkClerk", "Name", " ", false, 0, nullptr, nullptr, nullptr, 99},
    {"KVB_A8", "Code", "combTaxNo", nullptr, "chkTax", "Rate", "0", true, 0, nullptr, nullptr, nullptr, 9},
    {"KVB_AC", "Number", "combStockNo", nullptr, "chkStockFNKey", "Name", " ", false, 0, nullptr, nullptr, nullptr, 99},
    {"KVB_AD", "Number", "combPaymentNo", nullptr, "chkPaymentKey", "Name", " ", false, 0, nullptr, nullptr, nullptr, 9},
    {"KVB_AA", "Number", "txtDiscScheNo", "txtDiscScheNextNo", "chkDiscSch", "Disc_Type", "0", true, 0, nullptr, nullptr, "Frame1"},
    {"KVB_AB", "Number", "txtPriceScheNo", "txtPriceScheNextNo", "chkPriceSch", "NewUnitPrice", "0", true, 0, nullptr, nullptr, "Frame2"},
};

using F = Form;
using T = Typing;
const QList<FieldBinding> kBindings{
    {.objectName = "txtIngNextNo", .table = "KVB_3A", .field = "NextNo", .form = F::Whole, .absent = "0", .typing = T::Number, .maxChars = 6},
    {.objectName = "txtIngredient", .table = "KVB_3A", .field = "NameFirstLine", .form = F::Text},
    {.objectName = "txtSMsgNextNo", .table = "KVB_3B", .field = "NextNo", .form = F::Whole, .absent = "0", .typing = T::Number, .maxChars = 6},
    {.objectName = "txtSMsg", .table = "KVB_3B", .field = "NameFirstLine", .form = F::Text},
    {.objectName = "txtAdvNextNo", .table = "KVB_3C", .field = "NextNo", .form = F::Whole, .absent = "0", .typing = T::Number, .maxChars = 6},
    {.objectName = "txtAdv", .table = "KVB_3C", .field = "NameFirstLine", .form = F::Text},
    {.objectName = "txtSNameNextNo", .table = "KVB_3D", .field = "NextNo", .form = F::Whole, .absent = "0", .typing = T::Number, .maxChars = 6},
    {.objectName = "txtSName", .table = "KVB_3D", .field = "NameFirstLine", .form = F::Text},
    {.objectName = "txtClerkName", .table = "KVB_44", .field = "Name", .form = F::Text, .typing = T::Name, .maxChars = 16, .maxBytes = 16},
    {.objectName = "txtTaxName", .table = "KVB_A8", .field = "Name", .form = F::Text, .absent = "VAT%1", .typing = T::Name, .maxChars = 4, .maxBytes = 4},
    {.objectName = "meditTaxRate", .table = "KVB_A8", .field = "Rate", .form = F::FixedTwo, .absent = "0", .typing = T::Amount, .maxChars = 4},
    {.objectName = "combTaxType", .table = "KVB_A8", .field = "Status", .form = F::ListPosition, .listSizeOrBit = 2, .absent = "0"},
    {.objectName = "txtStockName", .table = "KVB_AC", .field = "Name", .form = F::Text, .absent = " ", .typing = T::Name, .maxChars = 22, .maxBytes = 22},
    {.objectName = "combStockType", .table = "KVB_AC", .field = "Type", .form = F::ListPosition, .listSizeOrBit = 3, .absent = "0"},
    {.objectName = "chkPrefix", .table = "KVB_AC", .field = "Status", .form = F::StatusBit, .listSizeOrBit = 1, .absent = "0"},
    {.objectName = "chkCostPrint", .table = "KVB_AC", .field = "Status", .form = F::StatusBit, .listSizeOrBit = 2, .absent = "0"},
    {.objectName = "chkShopNameNo", .table = "KVB_AC", .field = "Status", .form = F::StatusBit, .listSizeOrBit = 4, .absent = "0"},
    {.objectName = "combPLUType", .table = "KVB_AC", .field = "Status", .form = F::PluType, .listSizeOrBit = 3, .absent = "0"},
    {.objectName = "txtPaymentName", .table = "KVB_AD", .field = "Name", .form = F::Text, .absent = " ", .typing = T::Name, .maxChars = 7, .maxBytes = 7},
    {.objectName = "chkPayTotal", .table = "KVB_AD", .field = "Status", .form = F::StatusBit, .listSizeOrBit = 1, .absent = "0"},
    {.objectName = "chkChange", .table = "KVB_AD", .field = "Status", .form = F::StatusBit, .listSizeOrBit = 2, .absent = "0"},
    {.objectName = "chkRounding", .table = "KVB_AD", .field = "Status", .form = F::StatusBit, .listSizeOrBit = 4, .absent = "0"},
    {.objectName = "chkCardReader", .table = "KVB_AD", .field = "Status", .form = F::StatusBit, .listSizeOrBit = 8, .absent = "0"},
    {.objectName = "txtDiscScheNextNo", .table = "KVB_AA", .field = "NextNumber", .form = F::Whole, .absent = "0", .typing = T::Number, .maxChars = 6},
    {.objectName = "combDiscType", .table = "KVB_AA", .field = "Disc_Type", .form = F::ListPosition, .listSizeOrBit = 7, .absent = "0"},
    {.objectName = "combDiscLimitType", .table = "KVB_AA", .field = "Disc_LimitType", .form = F::ListPosition, .listSizeOrBit = 2, .absent = "0"},
    {.objectName = "DTPickerStartDate", .table = "KVB_AA", .field = "Disc_SDate", .form = F::Date, .whileTyped = true},
    {.objectName = "DTPickerStartTime", .table = "KVB_AA", .field = "Disc_STime", .form = F::Time, .absent = nullptr, .whileTyped = true},
    {.objectName = "DTPickerEndDate", .table = "KVB_AA", .field = "Disc_EDate", .form = F::Date, .whileTyped = true},
    {.objectName = "DTPickerEndTime", .table = "KVB_AA", .field = "Disc_ETime", .form = F::Time, .absent = nullptr, .whileTyped = true},
    {.objectName = "meditDiscDayOfWeek", .table = "KVB_AA", .field = "DisDayOfWeek", .form = F::DayText, .absent = "0", .whileTyped = true, .typing = T::Days, .maxChars = 7},
    {.objectName = "meditDiscLimit1", .table = "KVB_AA", .field = "Disc_1stLim", .form = F::Limit, .absent = "0", .typing = T::Amount, .maxChars = 5},
    {.objectName = "meditDiscLimit2", .table = "KVB_AA", .field = "Disc_2ndLim", .form = F::Limit, .absent = "0", .typing = T::Amount, .maxChars = 5},
    {.objectName = "meditDiscLmtPer1", .table = "KVB_AA", .field = "Disc_Within1stL", .form = F::Amount, .absent = "0", .typing = T::Amount, .maxChars = 6},
    {.objectName = "meditDiscLmtPer2", .table = "KVB_AA", .field = "Disc_Within2ndL", .form = F::Amount, .absent = "0", .typing = T::Amount, .maxChars = 6},
    {.objectName = "txtPriceScheNextNo", .table = "KVB_AB", .field = "NextNumber", .form = F::Whole, .absent = "0", .typing = T::Number, .maxChars = 6},
    {.objectName = "DTPickerStartDatePrice", .table = "KVB_AB", .field = "Price_SDate", .form = F::Date, .whileTyped = true},
    {.objectName = "DTPickerStartTimePrice", .table = "KVB_AB", .field = "Price_STime", .form = F::Time, .absent = nullptr, .whileTyped = true},
    {.objectName = "DTPickerEndDatePrice", .table = "KVB_AB", .field = "Price_EDate", .form = F::Date, .whileTyped = true},
    {.objectName = "DTPickerEndTimePrice", .table = "KVB_AB", .field = "Price_ETime", .form = F::Time, .absent = nullptr, .whileTyped = true},
    {.objectName = "meditPriceDayOfWeek", .table = "KVB_AB", .field = "PriceDayOfWeek", .form = F::DayText, .absent = "0", .whileTyped = true, .typing = T::Days, .maxChars = 7},
    {.objectName = "meditNewUPrice", .table = "KVB_AB", .field = "NewUnitPrice", .form = F::Price, .absent = "0", .typing = T::Amount, .maxChars = 6},
};

// clang-format on

QString formatted(qint64 value, int decimals) { return FormatFixedDecimal(qint32(value), qint16(decimals)); }

// The kind's field whose 0 leaves the span of a schedule unshown.
QString typeField(const OtherFileKind& kind)
{
    return QLatin1String(kind.table) == QLatin1String("KVB_AA") ? QStringLiteral("Disc_Type")
                                                                : QStringLiteral("NewUnitPrice");
}

// A stored date or time as its picker shows it; invalid (not shown) when it names no date or time.
QDate storedDate(qint64 v) { return QDate(2000 + int(v % 100), int(v % 10000 / 100), int(v / 10000)); }
QTime storedTime(qint64 v) { return QTime(int(v / 100), int(v % 100)); }

QString dayText(qint64 mask)
{
    QString text;
    for (int weight = 64; weight >= 1; weight /= 2)
        text += (mask & weight) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

// The stored value of the row as its control shows it; an invalid QVariant leaves the control as it is.
QVariant shownValue(const FieldBinding& b, const db::Recordset& row)
{
    if (b.form == F::Text)
        return row.value(QLatin1String(b.field)).toString();
    const qint64 v = row.intValue(QLatin1String(b.field));
    switch (b.form) {
    case F::Text:
        break;
    case F::Whole:
    case F::Limit:
    case F::Amount:
        return QString::number(v);
    case F::FixedTwo:
        return formatted(v, 2);
    case F::Price:
        return formatted(v, gSettings().gPricePoint);
    case F::Date: {
        const QDate date = storedDate(v);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case F::Time: {
        const QTime time = storedTime(v);
        return v >= 0 && time.isValid() ? QVariant(time) : QVariant();
    }
    case F::DayText:
        return dayText(v);
    case F::ListPosition:
        return v >= 0 && v < b.listSizeOrBit ? int(v) : 0;
    case F::StatusBit:
        return (v & b.listSizeOrBit) != 0;
    case F::PluType: {
        const qint64 bits = v & 24;
        return bits == 24 ? 0 : int(bits / 8);
    }
    }
    return {};
}

QVariant absentValue(const FieldBinding& b, qint64 number)
{
    if (!b.absent)
        return {};
    const QString absent = QString::fromLatin1(b.absent).replace(QLatin1String("%1"), QString::number(number));
    switch (b.form) {
    case F::FixedTwo:
        return formatted(0, 2);
    case F::Price:
        return formatted(0, gSettings().gPricePoint);
    case F::Date:
        return otherFilesNow().date();
    case F::Time:
        return {};
    case F::ListPosition:
    case F::PluType:
        return 0;
    case F::StatusBit:
        return false;
    default:
        return absent;
    }
}

// The stored value of a shown one; status bits and the PLU type come as the part of Status they give.
QVariant storedValue(const FieldBinding& b, const QVariant& shown)
{
    switch (b.form) {
    case F::Text:
        return shown.toString();
    case F::Whole:
    case F::FixedTwo:
    case F::Price:
    case F::Limit:
    case F::Amount:
        return digitsValue(shown.toString());
    case F::Date: {
        const QDate d = shown.toDate();
        return d.isValid() ? d.day() * 10000 + d.month() * 100 + d.year() % 100 : 0;
    }
    case F::Time: {
        const QTime t = shown.toTime();
        return t.isValid() ? t.hour() * 100 + t.minute() : 0;
    }
    case F::DayText:
        return shown.toString().isEmpty() ? QStringLiteral("0") : shown.toString();
    case F::ListPosition:
        return shown.toInt();
    case F::StatusBit:
        return shown.toBool() ? b.listSizeOrBit : 0;
    case F::PluType:
        return shown.toInt() * 8;
    }
    return {};
}

// The stored fields of the kind from what the window shows, status bits joined.
QVariantMap storedFields(const OtherFileKind& kind, const QVariantMap& values)
{
    QVariantMap fields;
    for (const FieldBinding* b : bindingsOf(kind)) {
        const QString field = QLatin1String(b->field);
        const QVariant value = storedValue(*b, values.value(QLatin1String(b->objectName)));
        if (b->form == F::StatusBit || b->form == F::PluType)
            fields.insert(field, fields.value(field).toLongLong() | value.toLongLong());
        else
            fields.insert(field, value);
    }
    return fields;
}

void fillSpan(ScheduleSpan& s, const QVariantMap& f, const QString& prefix, const QString& daysField)
{
    s.startDate = f.value(prefix + "SDate").toLongLong();
    s.startTime = f.value(prefix + "STime").toLongLong();
    s.endDate = f.value(prefix + "EDate").toLongLong();
    s.endTime = f.value(prefix + "ETime").toLongLong();
    s.days = f.value(daysField).toString();
}

// A test's stand-in clock; the system's after a reset of the program state.
std::function<QDateTime()> gClock;
const ResetWithState kResetClock([] { gClock = nullptr; });

} // namespace

const QList<OtherFileKind>& otherFileKinds() { return kKinds; }

const OtherFileKind* kindOf(const QString& name)
{
    for (const OtherFileKind& kind : kKinds)
        if (name == QLatin1String(kind.table) || name == QLatin1String(kind.numberControl)
            || name == QLatin1String(kind.sendBox))
            return &kind;
    return nullptr;
}

const QList<FieldBinding>& fieldBindings() { return kBindings; }

const FieldBinding* bindingOf(const QString& objectName)
{
    for (const FieldBinding& b : kBindings)
        if (objectName == QLatin1String(b.objectName))
            return &b;
    return nullptr;
}

QList<const FieldBinding*> bindingsOf(const OtherFileKind& kind)
{
    QList<const FieldBinding*> result;
    for (const FieldBinding& b : kBindings)
        if (QLatin1String(b.table) == QLatin1String(kind.table))
            result.append(&b);
    return result;
}

ShownRecord showRecord(const OtherFileKind& kind, qint64 number)
{
    db::Recordset row(&gDBConnection);
    // A text row counts only with its text; without one the first row of the number still gives its link.
    const QString order = kind.isText() ? QStringLiteral("(Name IS NULL OR length(Name) = 0), rowid")
                                        : QStringLiteral("rowid");
    row.open(QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY %3 LIMIT 1").arg(kind.table, kind.keyField, order),
             {number});
    ShownRecord shown;
    shown.found = !row.eof();
    if (shown.found && kind.isText())
        shown.text = row.bytesValue(QStringLiteral("Name"));
    const bool spanShown = shown.found && (!kind.frame || row.intValue(typeField(kind)) != 0);
    for (const FieldBinding* b : bindingsOf(kind)) {
        QVariant value;
        if (!shown.found)
            value = absentValue(*b, number);
        else if (b->whileTyped && !spanShown)
            continue;
        else if (kind.isText() && QLatin1String(b->objectName) == QLatin1String(kind.textBox) && shown.text.isEmpty())
            value = QString();
        else
            value = shownValue(*b, row);
        if (value.isValid())
            shown.values.insert(QLatin1String(b->objectName), value);
    }
    row.close();
    return shown;
}

QString emptyNameDefault(const OtherFileKind& kind, qint64 number, const QVariantMap& values)
{
    const QString table = QLatin1String(kind.table);
    for (const FieldBinding* b : bindingsOf(kind)) {
        if (b->typing != T::Name || !values.value(QLatin1String(b->objectName)).toString().isEmpty())
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
        if (b->typing == T::Name && values.value(QLatin1String(b->objectName)).toString().isEmpty())
            values.insert(QLatin1String(b->objectName), emptyNameDefault(kind, number, values));
    const QVariantMap f = storedFields(kind, values);
    const QString table = QLatin1String(kind.table);
    const QString name = f.value(QStringLiteral("Name")).toString();
    const qint64 status = f.value(QStringLiteral("Status")).toLongLong();
    if (kind.isText())
        return SaveTextRecordNextNo(table, number, next, shown.text, values.value(kind.textBox).toString(),
                                    values.value(kind.sendBox).toBool());
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

bool markForSending(const OtherFileKind& kind, bool ticked)
{
    const QVariant empty = kind.numericSendTest ? QVariant(QByteArray(kind.sendEmpty).toLongLong())
                                                : QVariant(QString::fromLatin1(kind.sendEmpty));
    db::Transaction transaction(gDBConnection);
    // The table and field come from the kinds' table, never from the operator.
    gDBConnection.exec(QStringLiteral("UPDATE %1 SET Is_Selected = CASE WHEN ? AND %2 <> ? THEN 1 ELSE 0 END")
                           .arg(kind.table, kind.sendField),
                       {ticked ? 1 : 0, empty});
    const bool found = ticked
        && gDBConnection
               .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE Is_Selected = 1)").arg(kind.table))
               .toBool();
    transaction.commit();
    return !ticked || found;
}

QStringList filesToSend(const QStringList& tickedSendBoxes)
{
    QStringList files;
    for (const OtherFileKind& kind : kKinds)
        if (tickedSendBoxes.contains(QLatin1String(kind.sendBox)))
            files.append(datafiles::dataFileOf(kind.table));
    return files;
}

ChangedBox numberTyped(const QString& text) { return pluFieldChanged({.change = ChangeForm::WholeNumber}, text); }

ChangeForm typedForm(const FieldBinding& b)
{
    return b.typing == T::Number ? ChangeForm::WholeNumber
        : b.typing == T::Amount  ? ChangeForm::Decimal
                                 : ChangeForm::None;
}

ChangedBox typedText(const FieldBinding& b, const QString& text)
{
    return pluFieldChanged({.change = typedForm(b)}, text);
}

FocusedBox enteredAmount(const FieldBinding& b, const QString& text, int discType)
{
    // Limits and the tax rate take four digits while entered, the unit price and the amounts six.
    const bool six = b.form == F::Price || b.form == F::Amount;
    return pluFieldGotFocus({.focusLimit = six ? 6 : 4, .percentByDiscType = b.form == F::Amount, .decimal = true},
                            text, discType);
}

void leaveField(const FieldBinding& b, qint64 number, QVariantMap& values)
{
    const QString name = QLatin1String(b.objectName);
    QString text = values.value(name).toString();
    if (b.typing == T::Name) {
        if (text.isEmpty())
            values.insert(name, emptyNameDefault(*kindOf(QLatin1String(b.table)), number, values));
        return;
    }
    if (b.typing == T::None)
        return;
    if (text.isEmpty())
        text = QStringLiteral("0");
    const int discType = values.value(QStringLiteral("combDiscType")).toInt();
    if (b.form == F::Limit || b.form == F::Amount) {
        const bool limits = b.form == F::Limit;
        const QString first = limits ? QStringLiteral("meditDiscLimit1") : QStringLiteral("meditDiscLmtPer1");
        const QString second = limits ? QStringLiteral("meditDiscLimit2") : QStringLiteral("meditDiscLmtPer2");
        values.insert(name, text);
        if (digitsValue(values.value(first).toString()) > digitsValue(values.value(second).toString()))
            values.insert(name == first ? second : first, text);
        for (const QString& box : {first, second})
            values.insert(box,
                          limits ? discLimitText(values.value(box).toString(),
                                                 values.value(QStringLiteral("combDiscLimitType")).toInt())
                                 : discAmountText(values.value(box).toString(), discType));
        return;
    }
    if (b.form == F::FixedTwo) {
        // The tax rate saves the tax, and a tax is never saved without a name.
        const QString nameBox = QStringLiteral("txtTaxName");
        if (values.value(nameBox).toString().isEmpty())
            values.insert(nameBox, emptyNameDefault(*kindOf(QLatin1String(b.table)), number, values));
        text = formatted(digitsValue(text), 2);
    } else if (b.form == F::Price)
        text = formatted(digitsValue(text), gSettings().gPricePoint);
    values.insert(name, text);
}

QString discAmountText(const QString& shown, int type)
{
    QString digits = shown;
    digits.remove(decimalSign());
    if (discountTypeControls(type).percent)
        return formatted(digitsValue(digits.right(4)), 2);
    return formatted(digitsValue(digits), gSettings().gPricePoint);
}

QString discLimitText(const QString& shown, int limitType)
{
    const qint64 value = digitsValue(shown);
    return limitsAreWeights(limitType) ? formatted(value, gSettings().gWeightPoint) : QString::number(value);
}

qint64 digitsValue(const QString& text)
{
    qint32 value = 0;
    if (!ReadFixedDecimal(text, decimalSign(), &value))
        throw Error(QStringLiteral("\"%1\" is not a number.").arg(text));
    return value;
}

QDateTime otherFilesNow() { return gClock ? gClock() : QDateTime::currentDateTime(); }

void setOtherFilesClock(std::function<QDateTime()> now) { gClock = std::move(now); }

void saveDateTimeToSend() { SaveDateTimeRecord(otherFilesNow()); }

} // namespace quorvane::otherfiles
