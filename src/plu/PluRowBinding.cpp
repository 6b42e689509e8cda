#include "plu/PluRowBinding.h"

#include "plu/PluEditorHost.h"
#include "plu/PluEditorSetUp.h"
#include "records/PackedBcd.h"
#include "records/TextBlock.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <limits>
#include <string_view>

namespace quorvane {

namespace f = records::plu;

namespace {

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

PluInputError notANumber(const char* control, const QString& text)
{
    return PluInputError(
        gLangMsg.text(QStringLiteral("inputErr")),
        QStringLiteral("%1: \"%2\" is not a whole number its field can hold.").arg(QLatin1String(control), text));
}

bool hasCurrentRow() { return gRsPLU.isOpen() && gRsPLU.absolutePosition() >= 0; }

} // namespace

std::optional<qint64> pluBoxValue(const PluField& r, const QVariant& shown, const fields::Format& format)
{
    try {
        return fields::storedValue(r.kind, r.decimals, shown, r.write, format);
    } catch (const fields::FieldError& e) {
        throw PluInputError(e.message(), QLatin1String(r.control) + QStringLiteral(": ") + e.reason());
    }
}

QVariant pluShownValue(const PluField& r, const records::PluRow& row, const fields::Format& format)
{
    switch (r.field) {
    case f::PLU_CommodityFirst: // the first lines of the text blocks
        return firstLineOf(row, f::PLU_Commodity);
    case f::PLU_Description:
        return firstLineOf(row, f::PLU_Description);
    case f::Stat1_PBPreUnit: // a PLU sold by count has the one unit
        return row.number(f::Stat1_Unit) == 0 ? int(row.number(r.field)) : 0;
    case f::PLU_BarFormat: { // 0 the inherited format
        const qint64 barFormat = row.number(r.field);
        return barFormat == 255 ? 0 : int(barFormat + 1);
    }
    case f::PLU_EANFlags: { // a digit each; "F" for unused flags
        const qint64 flags = row.number(r.field);
        const bool tens = r.extra.box && r.extra.box->compared == ComparedAs::TensDigit;
        return flags == 255 ? QStringLiteral("F") : QString::number(tens ? flags / 10 : flags % 10);
    }
    default:
        return fields::shownValue(r.kind, r.decimals, row.value(r.field), format);
    }
}

void ShowPLUInTab(const records::PluRow& row, PluEditorValues& tab)
{
    const fields::Format format = fields::currentFormat();
    const qint64 unit = row.number(f::Stat1_Unit);
    for (const PluField& r : pluFields()) {
        if (r.field == f::PLU_MG) // the list-level call's
            continue;
        if (r.field == f::PLU_EANFlags && row.number(f::PLU_BarFormat) == 255) // an inherited format keeps them
            continue;
        // A stored 0 leaves the picker as it was, and its date is saved; any other value that is no date or time
        // shows as none, kept as stored until changed.
        if ((r.kind == fields::Kind::Date || r.kind == fields::Kind::Time) && row.number(r.field) == 0)
            continue;
        setShown(tab, r, pluShownValue(r, row, format));
    }
    tab.units = SetUnitLabels(int(unit));
    PluEditorState& s = gPluEditor();
    s.gTextBuf3 = TextBuffer{row.bytes(f::PLU_Commodity), quint8(row.number(f::Stat2_Commodity) == 1)};
    s.gTextBuf1 = TextBuffer{row.bytes(f::PLU_Description), quint8(row.number(f::Stat2_Description) == 1)};
    // The editor shows a row now: a new PLU left unsaved is no longer in it.
    s.gNewPLU = 0;
}

void ShowPLUInTab(int position, PluEditorValues& tab)
{
    gRsPLU.move(position);
    const records::PluRow row = records::readPluRow(gRsPLU);
    ShowPLUInTab(row, tab);
    const MGComboFill groups = FillMGCombo(MGChoice::RowGroup);
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
    const fields::Format format = fields::currentFormat();
    const auto read = [&](const PluField& r, const QVariant& shown) { return pluBoxValue(r, shown, format); };
    const QString flag1 = tab.barcode.flagCode1.text;
    const QString flag2 = tab.barcode.flagCode2.text;
    const bool flagsUsed = tab.combBarcodeFormat != 1 && flag1 != QLatin1String("F") && flag2 != QLatin1String("F");
    QList<std::pair<const PluField*, std::optional<qint64>>> values;
    qint64 flags = 255; // format 0, or a flag box showing "F": the flags are not used
    for (const PluField& r : pluFields()) {
        const QVariant shown = shownIn(tab, r);
        switch (r.field) {
        case f::PLU_CommodityFirst: // the text and its blocks are written below
        case f::PLU_Description:
        case f::PLU_EANItemCode:
            continue;
        case f::PLU_EANFlags:
            if (flagsUsed)
                flags = r.control == std::string_view("meditFlagCode1") ? *read(r, shown) * 10
                                                                        : flags + *read(r, shown);
            continue;
        default:
            values.append({&r, read(r, shown)});
        }
    }
    if (flags < std::numeric_limits<qint32>::min() || flags > std::numeric_limits<qint32>::max())
        throw notANumber("meditFlagCode1", flag1 + flag2);

    const auto flag = [&](f::Field field, bool on) { row.set(field, on ? 1 : 0); };
    const StoreTreeState& tree = gStoreTree();
    row.set(f::ST_No, tree.gCurStoreNo);
    row.set(f::SECT_No, tree.gCurSectNo);
    for (const auto& [r, v] : values) {
        if (!v)
            continue;
        switch (r->field) {
        case f::Stat1_PBPreUnit: // the unit of a weighed PLU only
            if (tab.chkWeighed)
                row.set(r->field, *v);
            break;
        case f::PLU_BarFormat:
            row.set(r->field, *v == 0 ? 255 : *v - 1);
            break;
        case f::PLU_Disc_SDate: // a picker showing no stored date, untouched, leaves its field as stored
        case f::PLU_Disc_EDate:
        case f::PLU_Disc_STime:
        case f::PLU_Disc_ETime:
            if (*v != 0)
                row.set(r->field, *v);
            break;
        default:
            row.set(r->field, *v);
        }
    }
    row.set(f::PLU_EANFlags, qint32(flags));
    row.set(f::PLU_EANLastByte, 0);
    // The flags of the boxes whose field is greater than 0; the member discounts' once set stays.
    for (const auto& [r, v] : values) {
        if (!r->flag || *r->flag == f::Stat2_Discount)
            continue;
        if (r->field == f::PLU_MG)
            flag(*r->flag, row.number(f::PLU_MG) != 997);
        else if (r->field == f::PLU_RSData)
            flag(*r->flag, row.number(r->field) != 0);
        else if (row.number(r->field) >= 1)
            flag(*r->flag, true);
        else if (*r->flag != f::Stat2_MemDisc)
            flag(*r->flag, false);
    }
    flag(f::Stat2_Discount, row.number(f::PLU_Disc_Type) != 0 || row.number(f::PLU_DisDayOfWeek) > 0);

    const QString& itemCode = tab.barcode.itemCode.text;
    row.set(f::PLU_EANItemCode, itemCode.isEmpty() ? QVariant() : QVariant(itemCode));
    flag(f::Stat2_ItemCode, !itemCode.isEmpty());
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

} // namespace quorvane
