#include "plu/PluFieldRules.h"

#include "plu/PluEditorHost.h"
#include "plu/PluEditorSetUp.h"
#include "plu/PluSave.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "state/PluEditorState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"

#include <limits>

namespace quorvane {

namespace {

using L = LeaveCheck;
using A = ComparedAs;

// A row of the list is shown: the comparisons have something to compare with.
bool rowListed() { return gRsPLU.isOpen() && gRsPLU.recordCount() > 0 && gRsPLU.absolutePosition() >= 0; }

bool editMode() { return gPluEditor().gHideSelectedCol == 1; }

QString withoutDecimalSign(QString text)
{
    text.remove(decimalSign());
    return text;
}

// A percentage typed in minor units: no decimal sign, its last 4 characters.
QString percentText(const QString& text) { return withoutDecimalSign(text).right(4); }

bool percentDiscType(int position) { return position == 3 || position == 5; }

std::optional<qint64> wholeNumber(const QString& text)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

void compareNumber(const char* field, std::optional<qint64> value)
{
    if (rowListed() && value != gRsPLU.intValue(QLatin1String(field)))
        gPluEditor().gPLUChanged = 1;
}

QString* boxOf(PluEditorValues& tab, const QString& objectName)
{
    const PluField* row = pluField(objectName);
    return row ? row->value.in<QString>(tab) : nullptr;
}

bool isCheckBox(const PluField& row)
{
    return row.kind == fields::Kind::StatusBit || row.kind == fields::Kind::CheckBox;
}

// An amount box read as stored: the decimal sign removed, the rest a whole number ("" counts as 0).
std::optional<qint32> amountOf(const QString& text)
{
    qint32 v = 0;
    if (!ReadFixedDecimal(text, decimalSign(), &v))
        return std::nullopt;
    return v;
}

// Whether the first amount is above the second; false when either is no number.
bool above(const QString& first, const QString& second)
{
    const auto a = amountOf(first), b = amountOf(second);
    return a && b && *a > *b;
}

qint64 dateValue(const QDate& d) { return d.day() * 10000 + d.month() * 100 + d.year() % 100; }
qint64 timeValue(const QTime& t) { return t.hour() * 100 + t.minute(); }

} // namespace

void CheckDiscountDates(PluEditorValues& tab, PairBox left)
{
    const QDate& start = tab.DTPickerStartDate;
    const QDate& end = tab.DTPickerEndDate;
    if (!start.isValid() || !end.isValid() || end >= start)
        return;
    if (left == PairBox::First)
        tab.DTPickerEndDate = start;
    else
        tab.DTPickerStartDate = end;
}

void CheckDiscountLimits(PluEditorValues& tab, PairBox left)
{
    if (!above(tab.meditDiscLimit1, tab.meditDiscLimit2))
        return;
    if (left == PairBox::First)
        tab.meditDiscLimit2 = tab.meditDiscLimit1;
    else
        tab.meditDiscLimit1 = tab.meditDiscLimit2;
}

void CheckDiscountValues(PluEditorValues& tab, PairBox left)
{
    if (above(tab.meditDiscLmtPer1, tab.meditDiscLmtPer2)) {
        if (left == PairBox::First)
            tab.meditDiscLmtPer2 = tab.meditDiscLmtPer1;
        else if (left == PairBox::Second)
            tab.meditDiscLmtPer1 = tab.meditDiscLmtPer2;
    }
    if (tab.combDiscType != 2)
        return;
    if (above(tab.meditDiscLmtPer2, tab.meditUPrice))
        tab.meditDiscLmtPer2 = tab.meditUPrice;
    if (above(tab.meditDiscLmtPer1, tab.meditDiscLmtPer2))
        tab.meditDiscLmtPer1 = tab.meditDiscLmtPer2;
}

const QList<PluFieldRule>& pluFieldRules()
{
    static const QList<PluFieldRule> rules = [] {
        QList<PluFieldRule> out;
        for (const PluField& row : pluFields()) {
            const std::optional<BoxRules>& box = row.extra.box;
            if (!box)
                continue;
            const bool decimal = row.kind == fields::Kind::Amount;
            out << PluFieldRule{.objectName = row.control,
                                .field = records::plu::name(row.field),
                                .focusLimit = decimal ? row.focusLimit : 0,
                                .percentByDiscType = box->percentByDiscType,
                                .decimal = decimal,
                                .binaryKeys = row.kind == fields::Kind::DayMask,
                                .change = box->change,
                                .check = box->check,
                                .compared = box->compared};
        }
        return out;
    }();
    return rules;
}

const PluFieldRule* pluFieldRule(const QString& objectName)
{
    for (const PluFieldRule& rule : pluFieldRules())
        if (objectName == QLatin1String(rule.objectName))
            return &rule;
    return nullptr;
}

FocusedBox pluFieldGotFocus(const PluFieldRule& rule, const QString& text, int discType)
{
    if (!rule.decimal)
        return {text, std::nullopt};
    if (rule.percentByDiscType && percentDiscType(discType))
        return {percentText(text), 4};
    return {withoutDecimalSign(text), rule.focusLimit > 0 ? std::optional<int>(rule.focusLimit) : std::nullopt};
}

ChangedBox pluFieldChanged(const PluFieldRule& rule, const QString& text)
{
    ChangedBox out{withoutLeadingZeros(text, rule.change, decimalSign()), std::nullopt};
    if (out.text != text)
        out.caret = qMin<int>(1, int(out.text.size()));
    return out;
}

bool differsFromRow(ComparedAs compared, const QString& field, const QString& text)
{
    if (compared == A::Text)
        return text != gRsPLU.textValue(field);
    const qint64 stored = gRsPLU.intValue(field);
    if (compared == A::DayMask) {
        bool ok = false;
        const qint64 mask = text.toLongLong(&ok, 2);
        return !ok || mask != stored;
    }
    const std::optional<qint64> v = wholeNumber(compared == A::WholeNumber ? withoutDecimalSign(text) : text);
    if (!v)
        return true;
    switch (compared) {
    case A::TensDigit:
        return *v != stored / 10;
    case A::UnitsDigit:
        return *v != stored % 10;
    default:
        return *v != stored;
    }
}

bool pluFieldLostFocus(const PluFieldRule& rule, PluEditorValues& tab, PluEditorHost& host)
{
    QString* box = boxOf(tab, QLatin1String(rule.objectName));
    if (!box)
        return true;
    if (rule.check == L::PluNumber) {
        if (box->isEmpty() || *box == QLatin1String("0")) {
            ShowInputRangeError(host, 0, OutOfRange::TooSmall);
            return false;
        }
        if (const std::optional<qint64> n = wholeNumber(*box);
            n && *n <= std::numeric_limits<qint32>::max() && CheckPLUOverlap(host, qint32(*n)) == OverlapCheck::Taken)
            return false;
    } else if (box->isEmpty() && rule.compared != A::Text) {
        *box = QStringLiteral("0"); // a number box; an empty item code is no item code
    }
    switch (rule.check) {
    case L::DiscountValues1:
        CheckDiscountValues(tab, PairBox::First);
        break;
    case L::DiscountValues2:
        CheckDiscountValues(tab, PairBox::Second);
        break;
    case L::DiscountLimits1:
        CheckDiscountLimits(tab, PairBox::First);
        break;
    case L::DiscountLimits2:
        CheckDiscountLimits(tab, PairBox::Second);
        break;
    default:
        break;
    }
    if (rowListed() && differsFromRow(rule.compared, QLatin1String(rule.field), *box))
        gPluEditor().gPLUChanged = 1;
    if (rule.decimal)
        ApplyDataFormatToTab(tab);
    return true;
}

void pluControlLostFocus(const QString& objectName, PluEditorValues& tab)
{
    const auto is = [&](const char* name) { return objectName == QLatin1String(name); };
    if (is("combMG")) {
        // As the save reads it: no main group chosen is main group 0.
        const QString text = tab.combMG.currentText();
        compareNumber("PLU_MG", text.isEmpty() ? std::optional<qint64>(0) : wholeNumber(text));
    } else if (is("combSymbol")) {
        if (tab.chkWeighed)
            compareNumber("Stat1_PBPreUnit", tab.combSymbol);
    } else if (is("combMemDiscType")) {
        compareNumber("Stat1_MemPriceType", tab.combMemDiscType);
    } else if (is("combDiscType")) {
        compareNumber("PLU_Disc_Type", tab.combDiscType);
    } else if (is("combBarcodeFormat")) {
        if (editMode())
            compareNumber("PLU_BarFormat", tab.combBarcodeFormat == 0 ? 255 : tab.combBarcodeFormat - 1);
    } else if (is("combRSData")) {
        if (editMode())
            compareNumber("PLU_RSData", tab.combRSData);
    } else if (const PluField* box = pluField(objectName); box && isCheckBox(*box)) {
        // As the save reads it, so that a tick alone is a change to save.
        compareNumber(records::plu::name(box->field),
                      fields::storedValue(box->kind, 0, shownIn(tab, *box), fields::Write::Always, {}));
        if (is("chkWeighed"))
            ApplyDataFormatToTab(tab);
    } else if (is("DTPickerStartDate")) {
        CheckDiscountDates(tab, PairBox::First);
        compareNumber("PLU_Disc_SDate", dateValue(tab.DTPickerStartDate));
    } else if (is("DTPickerEndDate")) {
        CheckDiscountDates(tab, PairBox::Second);
        compareNumber("PLU_Disc_EDate", dateValue(tab.DTPickerEndDate));
    } else if (is("DTPickerStartTime")) {
        compareNumber("PLU_Disc_STime", timeValue(tab.DTPickerStartTime));
    } else if (is("DTPickerEndTime")) {
        compareNumber("PLU_Disc_ETime", timeValue(tab.DTPickerEndTime));
    }
}

DiscountTypeControls discountTypeControls(int position)
{
    if (position < 0 || position > 6)
        position = 2;
    DiscountTypeControls c;
    if (position == 0)
        return c;
    c.meditDiscDayOfWeek = c.pickers = true;
    if (position == 6) {
        c.meditDiscLmtPer1 = true;
        c.fixedPrice = true;
    } else if (position >= 2) {
        c.meditDiscLimit1 = c.meditDiscLmtPer1 = c.meditDiscLimit2 = c.meditDiscLmtPer2 = true;
        c.percent = percentDiscType(position);
    }
    return c;
}

std::optional<DiscountTypeControls> DiscTypeClick(PluEditorValues& tab)
{
    if (!editMode())
        return std::nullopt;
    const DiscountTypeControls c = discountTypeControls(tab.combDiscType);
    if (c.percent) {
        tab.meditDiscLmtPer1 = percentText(tab.meditDiscLmtPer1);
        tab.meditDiscLmtPer2 = percentText(tab.meditDiscLmtPer2);
    }
    ApplyDataFormatToTab(tab);
    return c;
}

std::optional<bool> MemDiscTypeClick(PluEditorValues& tab)
{
    if (!editMode())
        return std::nullopt;
    const bool percent = tab.combMemDiscType == 1;
    if (percent)
        for (int i = 1; i <= 4; ++i)
            tab.meditMemDisc[i] = percentText(tab.meditMemDisc[i]);
    ApplyDataFormatToTab(tab);
    return percent;
}

bool WeighedClick(PluEditorValues& tab)
{
    tab.units = SetUnitLabels(tab.chkWeighed ? 0 : 1);
    tab.combSymbol = tab.chkWeighed && rowListed() ? int(gRsPLU.intValue(QStringLiteral("Stat1_PBPreUnit"))) : 0;
    if (tab.chkWeighed)
        tab.chknegativePLU = false;
    return !tab.chkWeighed;
}

QString referenceLabel(const QString& entryText, int entry) { return entry == 0 ? entryText : entryText.mid(2); }

} // namespace quorvane
