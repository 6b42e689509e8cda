#include "plu/PluBinding.h"

#include "plu/PluTabs.h"
#include "records/PackedBcd.h"
#include "records/TextBlock.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <limits>

namespace quorvane {

namespace f = records::plu;

namespace {

QString decimalSign()
{
    const QString& sign = gSettings().gDecimalSign;
    return sign.isEmpty() ? QStringLiteral(".") : sign;
}

QString firstLineOf(const records::PluRow& row, f::Field field)
{
    if (row.isNull(field))
        return QString();
    try {
        return records::textBlockFirstLine(row.bytes(field), false);
    } catch (const records::CodecError&) {
        return QString(); // a first line running past the block: shown empty, the bytes kept
    }
}

// Day x 10000 + month x 100 + year mod 100, and back; 0 is no date.
qint64 dateValue(const QDate& d) { return d.isValid() ? d.day() * 10000 + d.month() * 100 + d.year() % 100 : 0; }
qint64 timeValue(const QTime& t) { return t.isValid() ? t.hour() * 100 + t.minute() : 0; }

// The seven-place day-of-week text: bit 6 first; a mask of 0 is "0".
QString maskText(qint64 mask)
{
    if (mask == 0)
        return QStringLiteral("0");
    QString s;
    for (int k = 1; k <= 7; ++k)
        s += (mask >> (7 - k)) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

PluInputError notANumber(const char* control, const QString& text)
{
    return PluInputError(
        gLangMsg.text(QStringLiteral("inputErr")),
        QStringLiteral("%1: \"%2\" is not a whole number its field can hold.").arg(QLatin1String(control), text));
}

// A number box read back: nothing for an empty box unless its field is always written (then 0).
std::optional<qint32> boxValue(const QString& text, bool decimal, bool always, const char* control)
{
    if (text.isEmpty() && !always)
        return std::nullopt;
    qint32 v = 0;
    if (!ReadFixedDecimal(text, decimal ? decimalSign() : QString(), &v))
        throw notANumber(control, text);
    return v;
}

qint32 maskValue(const QString& text)
{
    qint64 v = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || v > std::numeric_limits<qint32>::max() / 2)
            throw notANumber("meditDiscDayOfWeek", text);
        v = v * 2 + c.digitValue();
    }
    if (v > std::numeric_limits<qint32>::max())
        throw notANumber("meditDiscDayOfWeek", text);
    return qint32(v);
}

bool hasCurrentRow() { return gRsPLU.isOpen() && gRsPLU.absolutePosition() >= 0; }

// What goes back into a refused number box: the current row's number; the proposed one when no row is current,
// or for a new PLU when `proposedForNew`.
qint32 refusedNumberPutBack(bool proposedForNew)
{
    const PluEditorState& s = gPluEditor();
    const bool proposed = !hasCurrentRow() || (proposedForNew && s.gNewPLU == 1);
    return proposed ? s.gNewPLUNo : qint32(gRsPLU.intValue(QStringLiteral("PLU_No")));
}

// SavePLU; `showRow` becomes gCurPLURow once the checks have passed, before the list is loaded again.
bool savePLU(PluEditorHost& host, std::optional<qint32> showRow)
{
    PluEditorState& s = gPluEditor();
    const PluEditorValues tab = host.editorValues();
    qint32 number = 0;
    try {
        number = *boxValue(tab.meditPLU, false, true, "meditPLU");
    } catch (const PluInputError& e) {
        host.showError(e.fullText());
        return false;
    }
    if (number <= 0) {
        ShowInputRangeError(host, 0, 0);
        return false;
    }
    if (CheckPLUOverlap(host, number) == OverlapCheck::Taken)
        return false;
    const quint8 wasNew = s.gNewPLU;
    try {
        db::Transaction tx(gDBConnection);
        TakePLUFromTab(tab);
        gRsPLU.update();
        tx.commit();
    } catch (const PluInputError& e) {
        host.showError(e.fullText());
        return false;
    } catch (...) {
        gRsPLU.cancelUpdate();
        s.gNewPLU = wasNew;
        throw;
    }
    s.gNewPLU = 0;
    s.gPLUChanged = 0;
    if (showRow)
        s.gCurPLURow = *showRow;
    host.setEditModeButtons();
    host.refreshPLUList();
    return true;
}

} // namespace

void ShowPLUInTab(const records::PluRow& row, PluEditorValues& tab)
{
    const SettingsRecord& set = gSettings();
    const auto n = [&](f::Field field) { return row.number(field); };
    const auto amount = [&](f::Field field, int decimals) {
        return FormatFixedDecimal(qint32(n(field)), qint16(decimals));
    };
    tab.meditPLU = QString::number(n(f::PLU_No));
    tab.meditTare = amount(f::PLU_Tare, set.gWeightPoint);
    tab.txtName = firstLineOf(row, f::PLU_Commodity);
    tab.meditDescription = firstLineOf(row, f::PLU_Description);
    tab.meditUPrice = amount(f::PLU_UPrice, set.gPricePoint);

    const qint64 unit = n(f::Stat1_Unit);
    tab.chkWeighed = unit == 0;
    tab.units = SetUnitLabels(int(unit));
    tab.combSymbol = unit == 0 ? int(n(f::Stat1_PBPreUnit)) : 0;

    tab.chkUPoverride = n(f::Stat1_UPriceOV) == 1;
    tab.chknegativePLU = n(f::Stat1_NegativePLU) == 1;
    tab.combMemDiscType = int(n(f::Stat1_MemPriceType));
    for (int i = 1; i <= 4; ++i)
        tab.meditMemDisc[i] = amount(f::Field(f::PLU_MemDisc1 + i - 1), set.gPricePoint);
    tab.meditCoupledPLU = QString::number(n(f::PLU_CoupledPLUNo));

    tab.meditDiscDayOfWeek = maskText(n(f::PLU_DisDayOfWeek));
    tab.meditCost = amount(f::PLU_Cost, set.gPricePoint);
    tab.barcode.itemCode.text = row.text(f::PLU_EANItemCode);

    const qint64 barFormat = n(f::PLU_BarFormat);
    tab.combBarcodeFormat = barFormat == 255 ? 0 : int(barFormat + 1);
    if (barFormat != 255) {
        const qint64 flags = n(f::PLU_EANFlags);
        tab.barcode.flagCode1.text = flags == 255 ? QStringLiteral("F") : QString::number(flags / 10);
        tab.barcode.flagCode2.text = flags == 255 ? QStringLiteral("F") : QString::number(flags % 10);
    }

    tab.combRSData = int(n(f::PLU_RSData));
    tab.meditTaxNum = QString::number(n(f::PLU_TaxNo));
    tab.meditTax2Num = QString::number(n(f::PLU_Tax2No));
    tab.meditDiscScheNum = QString::number(n(f::PLU_DiscScheNo));
    tab.meditPriScheNum = QString::number(n(f::PLU_PriScheNo));
    tab.meditIngrNum = QString::number(n(f::PLU_IngredientNo));
    tab.meditSMsgNum = QString::number(n(f::PLU_SPMessageNo));
    tab.combDiscType = int(n(f::PLU_Disc_Type));
    tab.meditDiscLimit1 = QString::number(n(f::PLU_Disc_1stLim));
    tab.meditDiscLimit2 = QString::number(n(f::PLU_Disc_2ndLim));
    tab.meditDiscLmtPer1 = QString::number(n(f::PLU_Disc_Within1stL));
    tab.meditDiscLmtPer2 = QString::number(n(f::PLU_Disc_Within2ndL));

    // A stored 0 (or a value that is no date) leaves the picker as it was.
    for (const auto& [field, picker] :
         {std::pair{f::PLU_Disc_SDate, &tab.DTPickerStartDate}, std::pair{f::PLU_Disc_EDate, &tab.DTPickerEndDate}}) {
        const qint64 v = n(field);
        const QDate d(2000 + int(v % 100), int(v % 10000 / 100), int(v / 10000));
        if (v != 0 && d.isValid())
            *picker = d;
    }
    for (const auto& [field, picker] :
         {std::pair{f::PLU_Disc_STime, &tab.DTPickerStartTime}, std::pair{f::PLU_Disc_ETime, &tab.DTPickerEndTime}}) {
        const qint64 v = n(field);
        const QTime t(int(v / 100), int(v % 100));
        if (v != 0 && t.isValid())
            *picker = t;
    }

    tab.chkPricePriority = n(f::Stat1_PricePriority) == 1;
    PluEditorState& s = gPluEditor();
    s.gTextBuf3 = TextBuffer{row.bytes(f::PLU_Commodity), quint8(n(f::Stat2_Commodity) == 1)};
    s.gTextBuf1 = TextBuffer{row.bytes(f::PLU_Description), quint8(n(f::Stat2_Description) == 1)};
    // The editor shows a row now: a new PLU left unsaved is no longer in it.
    s.gNewPLU = 0;
}

void ShowPLUInTab(int position, PluEditorValues& tab)
{
    gRsPLU.move(position);
    const records::PluRow row = records::readPluRow(gRsPLU);
    ShowPLUInTab(row, tab);
    const MGComboFill groups = FillMGCombo(1);
    tab.combMG = groups.combMG;
    tab.meditDepartment = groups.meditDepartment;
    const QVariant department = gDBConnection.scalar(
        QStringLiteral("SELECT DP_No FROM KVB_23 WHERE ST_No=? AND MG_No=? ORDER BY rowid LIMIT 1"),
        {row.number(f::ST_No), row.number(f::PLU_MG)});
    if (department.isValid() && !department.isNull())
        tab.meditDepartment = department.toString();
    tab.barcode = records::SetBarcodeFlagControls(tab.combBarcodeFormat, gPluEditor().gHideSelectedCol, gRsPLU,
                                                  tab.barcode);
    ApplyDataFormatToTab(tab);
}

void TakePLUFromTab(const PluEditorValues& tab, records::PluRow& row)
{
    // Every box is read before any field is set, so a bad one sets nothing.
    const qint32 pluNo = *boxValue(tab.meditPLU, false, true, "meditPLU");
    const qint32 mainGroup = *boxValue(tab.combMG.currentText(), false, true, "combMG");
    const auto tare = boxValue(tab.meditTare, true, false, "meditTare");
    const auto unitPrice = boxValue(tab.meditUPrice, true, false, "meditUPrice");
    const auto coupled = boxValue(tab.meditCoupledPLU, false, false, "meditCoupledPLU");
    std::array<std::optional<qint32>, 5> memDisc;
    for (int i = 1; i <= 4; ++i)
        memDisc[i] = boxValue(tab.meditMemDisc[i], true, false, "meditMemDisc");
    const auto cost = boxValue(tab.meditCost, true, false, "meditCost");
    const QString& flag1 = tab.barcode.flagCode1.text;
    const QString& flag2 = tab.barcode.flagCode2.text;
    qint64 flags = 255; // format 0, or a flag box showing "F": the flags are not used
    if (tab.combBarcodeFormat != 1 && flag1 != QLatin1String("F") && flag2 != QLatin1String("F")) {
        flags = qint64(*boxValue(flag1, false, true, "meditFlagCode1")) * 10
            + *boxValue(flag2, false, true, "meditFlagCode2");
        if (flags < std::numeric_limits<qint32>::min() || flags > std::numeric_limits<qint32>::max())
            throw notANumber("meditFlagCode1", flag1 + flag2);
    }
    const std::pair<f::Field, std::optional<qint32>> numbers[] = {
        {f::PLU_TaxNo, boxValue(tab.meditTaxNum, false, false, "meditTaxNum")},
        {f::PLU_Tax2No, boxValue(tab.meditTax2Num, false, false, "meditTax2Num")},
        {f::PLU_DiscScheNo, boxValue(tab.meditDiscScheNum, false, false, "meditDiscScheNum")},
        {f::PLU_PriScheNo, boxValue(tab.meditPriScheNum, false, false, "meditPriScheNum")},
        {f::PLU_IngredientNo, boxValue(tab.meditIngrNum, false, false, "meditIngrNum")},
        {f::PLU_SPMessageNo, boxValue(tab.meditSMsgNum, false, false, "meditSMsgNum")},
    };
    const std::pair<f::Field, qint32> limits[] = {
        {f::PLU_Disc_1stLim, *boxValue(tab.meditDiscLimit1, true, true, "meditDiscLimit1")},
        {f::PLU_Disc_2ndLim, *boxValue(tab.meditDiscLimit2, true, true, "meditDiscLimit2")},
        {f::PLU_Disc_Within1stL, *boxValue(tab.meditDiscLmtPer1, true, true, "meditDiscLmtPer1")},
        {f::PLU_Disc_Within2ndL, *boxValue(tab.meditDiscLmtPer2, true, true, "meditDiscLmtPer2")},
    };
    const qint32 mask = maskValue(tab.meditDiscDayOfWeek);

    const auto setIf = [&](f::Field field, const std::optional<qint32>& v) {
        if (v)
            row.set(field, *v);
    };
    const auto flag = [&](f::Field field, bool on) { row.set(field, on ? 1 : 0); };
    const auto positive = [&](f::Field field) { return row.number(field) > 0; };
    const StoreTreeState& tree = gStoreTree();
    row.set(f::ST_No, tree.gCurStoreNo);
    row.set(f::SECT_No, tree.gCurSectNo);
    row.set(f::PLU_No, pluNo);
    row.set(f::PLU_MG, mainGroup);
    flag(f::Stat2_MGCode, mainGroup != 997);
    setIf(f::PLU_Tare, tare);
    flag(f::Stat2_PLUTare, positive(f::PLU_Tare));
    setIf(f::PLU_UPrice, unitPrice);
    flag(f::Stat1_Unit, !tab.chkWeighed);
    if (tab.chkWeighed && tab.combSymbol >= 0)
        row.set(f::Stat1_PBPreUnit, tab.combSymbol);
    setIf(f::PLU_CoupledPLUNo, coupled);
    flag(f::Stat2_CoupledPLU, positive(f::PLU_CoupledPLUNo));
    if (tab.combMemDiscType >= 0)
        row.set(f::Stat1_MemPriceType, tab.combMemDiscType);
    for (int i = 1; i <= 4; ++i) {
        const f::Field field = f::Field(f::PLU_MemDisc1 + i - 1);
        setIf(field, memDisc[i]);
        if (row.number(field) >= 1) // once set, the editor never clears it
            flag(f::Stat2_MemDisc, true);
    }
    flag(f::Stat1_UPriceOV, tab.chkUPoverride);
    flag(f::Stat1_NegativePLU, tab.chknegativePLU);
    setIf(f::PLU_Cost, cost);
    flag(f::Stat2_PLUCost, positive(f::PLU_Cost));
    const QString& itemCode = tab.barcode.itemCode.text;
    row.set(f::PLU_EANItemCode, itemCode.isEmpty() ? QVariant() : QVariant(itemCode));
    flag(f::Stat2_ItemCode, !itemCode.isEmpty());
    if (tab.combBarcodeFormat >= 0)
        row.set(f::PLU_BarFormat, tab.combBarcodeFormat == 0 ? 255 : tab.combBarcodeFormat - 1);
    row.set(f::PLU_EANFlags, qint32(flags));
    row.set(f::PLU_EANLastByte, 0);

    if (tab.combRSData >= 0)
        row.set(f::PLU_RSData, tab.combRSData);
    flag(f::Stat2_RSData, row.number(f::PLU_RSData) != 0);
    const f::Field numberFlags[] = {f::Stat2_TaxNo,     f::Stat2_Tax2No,       f::Stat2_DiscScheNo,
                                    f::Stat2_PriScheNo, f::Stat2_IngredientNo, f::Stat2_SPMessageNo};
    for (int i = 0; i < 6; ++i) {
        setIf(numbers[i].first, numbers[i].second);
        flag(numberFlags[i], positive(numbers[i].first));
    }

    if (tab.combDiscType >= 0)
        row.set(f::PLU_Disc_Type, tab.combDiscType);
    for (const auto& [field, v] : limits)
        row.set(field, v);
    row.set(f::PLU_Disc_SDate, dateValue(tab.DTPickerStartDate));
    row.set(f::PLU_Disc_EDate, dateValue(tab.DTPickerEndDate));
    row.set(f::PLU_Disc_STime, timeValue(tab.DTPickerStartTime));
    row.set(f::PLU_Disc_ETime, timeValue(tab.DTPickerEndTime));
    row.set(f::PLU_DisDayOfWeek, mask);
    flag(f::Stat2_Discount, row.number(f::PLU_Disc_Type) != 0 || mask > 0);

    flag(f::Stat1_PricePriority, tab.chkPricePriority);
    const PluEditorState& s = gPluEditor();
    const auto textBlock = [&](f::Field field, f::Field stat, const TextBuffer& buffer) {
        row.set(field, buffer.bytes.isEmpty() ? QVariant() : QVariant(buffer.bytes));
        flag(stat, buffer.changed == 1);
    };
    textBlock(f::PLU_Commodity, f::Stat2_Commodity, s.gTextBuf3);
    row.set(f::PLU_CommodityFirst, tab.txtName.isEmpty() ? QStringLiteral(" ") : tab.txtName);
    textBlock(f::PLU_Description, f::Stat2_Description, s.gTextBuf1);
}

void TakePLUFromTab(const PluEditorValues& tab)
{
    PluEditorState& s = gPluEditor();
    // With no row shown (an empty list), what the editor holds can only become a new row.
    const bool append = s.gNewPLU == 1 || !hasCurrentRow();
    records::PluRow row = append ? records::PluRow() : records::readPluRow(gRsPLU);
    TakePLUFromTab(tab, row);
    if (append)
        gRsPLU.addNew();
    try {
        records::writePluRow(gRsPLU, row);
    } catch (...) {
        gRsPLU.cancelUpdate();
        throw;
    }
    s.gNewPLU = 0;
}

QString inputRangeErrorText(qint32 limit, quint8 flag)
{
    return gLangMsg.text(QStringLiteral("inputErr")) + (flag == 0 ? QLatin1Char('>') : QLatin1Char('<'))
        + QString::number(limit) + QLatin1Char('!');
}

void ShowInputRangeError(PluEditorHost& host, qint32 limit, quint8 flag)
{
    host.showError(inputRangeErrorText(limit, flag));
    host.refusePLUNumber(refusedNumberPutBack(false), false);
}

OverlapCheck CheckPLUOverlap(PluEditorHost& host, qint32 number)
{
    const bool emptyList = !gRsPLU.isOpen() || gRsPLU.recordCount() == 0;
    if (!emptyList && gPluEditor().gNewPLU != 1 && hasCurrentRow()
        && gRsPLU.intValue(QStringLiteral("PLU_No")) == number)
        return OverlapCheck::NotNeeded;
    const bool taken = gDBConnection
                           .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM KVB_25 WHERE PLU_No=? AND ST_No=?)"),
                                   {number, gStoreTree().gCurStoreNo})
                           .toBool();
    if (!taken)
        return OverlapCheck::Free;
    host.showError(gLangMsg.text(QStringLiteral("overlap")));
    host.refusePLUNumber(refusedNumberPutBack(true), true);
    return OverlapCheck::Taken;
}

bool SavePLU(PluEditorHost& host) { return savePLU(host, std::nullopt); }

int AskSavePLUChanges(PluEditorHost& host)
{
    host.commitFocusedField();
    PluEditorState& s = gPluEditor();
    if (s.gPLUChanged != 1)
        return 0;
    switch (host.askSaveChanges()) {
    case PluAnswer::Yes: {
        // A stopped save leaves gCurPLURow on the shown PLU, and the caller stops.
        const bool saved = savePLU(host, host.gridCurrentRow());
        host.setEditModeButtons();
        return saved ? 1 : 3;
    }
    case PluAnswer::No:
        s.gPLUChanged = 0;
        s.gNewPLU = 0;
        host.setEditModeButtons();
        return 2;
    case PluAnswer::Cancel:
        break;
    }
    return 3;
}

} // namespace quorvane
