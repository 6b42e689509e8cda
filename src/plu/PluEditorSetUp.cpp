#include "plu/PluEditorSetUp.h"

#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

namespace quorvane {

namespace {

// decimals < 0: the whole number without a decimal sign; a box that is no number is left as typed.
void reformat(QString& box, int decimals)
{
    qint32 v = 0;
    if (ReadFixedDecimal(box, decimalSign(), &v))
        box = decimals < 0 ? QString::number(v) : FormatFixedDecimal(v, qint16(decimals));
}

std::optional<QString> dateFormatOf(int dateType)
{
    if (dateType < 0 || dateType > 5)
        return std::nullopt;
    return dateFormatFor(dateType);
}

// A parameter list: its texts, or nothing when its section is missing.
QStringList listEntries(const LangCollection& section, const QStringList& texts)
{
    return section.isEmpty() ? QStringList() : texts;
}

int firstEntry(const QStringList& entries) { return entries.isEmpty() ? -1 : 0; }

} // namespace

void ClearPLUTab(PluEditorValues& tab)
{
    tab.meditPLU.clear();
    tab.meditDepartment.clear();
    tab.txtName.clear();
    tab.meditDescription.clear();
    tab.meditTare = tab.meditUPrice = QStringLiteral("0");
    for (int i = 1; i <= 4; ++i)
        tab.meditMemDisc[i] = QStringLiteral("0");
    tab.meditCoupledPLU = QStringLiteral("0");
    tab.chkWeighed = true;
    tab.units = SetUnitLabels(0);
    tab.meditCost = QStringLiteral("0");
    tab.combBarcodeFormat = FillBarcodeFormatCombo(0).index;
    tab.barcode.flagCode1.text = tab.barcode.flagCode2.text = QStringLiteral("0");
    tab.barcode.itemCode.text.clear();
    tab.combRSData = 0;
    for (QString* box :
         {&tab.meditTaxNum, &tab.meditTax2Num, &tab.meditDiscScheNum, &tab.meditPriScheNum, &tab.meditIngrNum,
          &tab.meditSMsgNum, &tab.meditDiscLimit1, &tab.meditDiscLimit2, &tab.meditDiscLmtPer1, &tab.meditDiscLmtPer2})
        *box = QStringLiteral("0");
    tab.combDiscType = 0;
    tab.meditDiscDayOfWeek = QStringLiteral("0");
}

UnitLabels SetUnitLabels(int byCount)
{
    UnitLabels u;
    const bool weighed = byCount == 0;
    u.combSymbol = listEntries(
        gParSSTabSymbol,
        {weighed ? gParSSTabSymbol.text(QStringLiteral("Wkg")) : gParSSTabSymbol.text(QStringLiteral("NWnone"))});
    u.tareVisible = weighed;
    u.lblDiscLimitG = weighed ? gParSSTabSymbol.text(QStringLiteral("Wg"))
                              : gParSSTabSymbol.text(QStringLiteral("Wpcs"));
    return u;
}

MGComboFill FillMGCombo(MGChoice choice)
{
    const StoreTreeState& tree = gStoreTree();
    QString sql = QStringLiteral("SELECT MG_No, DP_No FROM KVB_23 WHERE ST_No=?");
    QVariantList params{tree.gCurStoreNo};
    // A search node keeps its search number in gCurDeptNo: its PLUs may be of any main group of the store.
    if (tree.gCurNodeKind != PluListKind::Search) {
        if (tree.gCurDeptNo != 0) {
            sql += QStringLiteral(" AND DP_No=?");
            params << tree.gCurDeptNo;
        }
        if (tree.gCurMGNo != 0) {
            sql += QStringLiteral(" AND MG_No=?");
            params << tree.gCurMGNo;
        }
    }
    db::Statement st = gDBConnection.prepare(sql + QStringLiteral(" ORDER BY MG_No, rowid"));
    st.bind(params);
    QList<qint64> groups;
    QStringList departments;
    while (st.step()) {
        groups << st.columnInt(0);
        departments << st.column(1).toString();
    }

    const bool ownGroup = choice == MGChoice::RowGroup && gRsPLU.isOpen() && gRsPLU.absolutePosition() >= 0;
    const qint64 wanted = ownGroup ? gRsPLU.intValue(QStringLiteral("PLU_MG")) : qint64(tree.gCurMGNo);
    MGComboFill out;
    int chosen = groups.isEmpty() ? -1 : 0;
    for (int i = 0; i < groups.size(); ++i)
        if ((choice == MGChoice::TreeGroup || ownGroup) && groups[i] == wanted)
            chosen = i;
    for (qint64 g : std::as_const(groups))
        out.combMG.entries << QString::number(g);
    if (ownGroup && (chosen < 0 || groups[chosen] != wanted)) {
        chosen = int(std::lower_bound(groups.cbegin(), groups.cend(), wanted) - groups.cbegin());
        out.combMG.entries.insert(chosen, QString::number(wanted));
    } else if (chosen >= 0) {
        out.meditDepartment = departments[chosen];
    }
    out.combMG.index = chosen;
    return out;
}

ListValue FillBarcodeFormatCombo(int select)
{
    ListValue list;
    if (gParEANDisp.isEmpty())
        return list;
    list.entries << gParEANDisp.text(QStringLiteral("REF"));
    for (int p = 1; p < gParEANDisp.count(); ++p)
        list.entries << gParEANDisp.at(p);
    list.index = select == 0 || list.entries.size() < 2 ? 0 : 1;
    return list;
}

void ApplyDataFormatToTab(PluEditorValues& tab)
{
    const SettingsRecord& s = gSettings();
    reformat(tab.meditUPrice, s.gPricePoint);
    reformat(tab.meditCost, s.gPricePoint);
    for (int i = 1; i <= 4; ++i)
        reformat(tab.meditMemDisc[i], tab.combMemDiscType == 1 ? 2 : s.gPricePoint);
    reformat(tab.meditTare, s.gWeightPoint);
    for (QString* box : {&tab.meditDiscLimit1, &tab.meditDiscLimit2})
        reformat(*box, tab.chkWeighed ? s.gWeightPoint : -1);
    const bool percent = tab.combDiscType == 3 || tab.combDiscType == 5;
    for (QString* box : {&tab.meditDiscLmtPer1, &tab.meditDiscLmtPer2})
        reformat(*box, percent ? 2 : s.gPricePoint);
    if (const auto format = dateFormatOf(s.gDateType))
        tab.dateFormat = format;
}

PluEditorCaptions ApplyPLUEditorCaptions(PluEditorValues& tab, const QDate& today)
{
    PluEditorCaptions out;
    out.captions << ControlText{QStringLiteral("lblPriceUnit(0)"), gSettings().gCurrencySymbol};
    const UnitLabels weighed = SetUnitLabels(0);
    out.lists << qMakePair(QStringLiteral("combSymbol"), weighed.combSymbol);
    tab.combSymbol = firstEntry(weighed.combSymbol);
    // The boxes' lengths are the field table's; the department beside the main groups is no row of it.
    for (const PluField& row : pluFields())
        if (row.maxChars > 0)
            out.limits << ControlLimit{QLatin1String(row.control), row.maxChars};
    out.limits << ControlLimit{QStringLiteral("meditDepartment"), 2};
    tab.chkUPoverride = tab.chknegativePLU = false;
    for (int i = 1; i <= 4; ++i)
        out.captions << ControlText{QStringLiteral("lblMemDisc(%1)").arg(i),
                                    gLangMainTab.text(QStringLiteral("MainTabMemDisc")) + QString::number(i)};
    tab.chkWeighed = true;
    tab.units = weighed;
    out.disabled = QStringList{QStringLiteral("meditDepartment"), QStringLiteral("txtName"),
                               QStringLiteral("meditDescription")};

    const ListValue formats = FillBarcodeFormatCombo(0);
    out.lists << qMakePair(QStringLiteral("combBarcodeFormat"), formats.entries);
    tab.combBarcodeFormat = formats.index;
    out.captions << ControlText{QStringLiteral("lblReference"), formats.currentText()};
    tab.barcode.flagCode1.text = tab.barcode.flagCode2.text = QStringLiteral("0");

    const QStringList rsData = listEntries(
        gParRSData,
        {gParRSData.text(QStringLiteral("RS0")), gParRSData.text(QStringLiteral("RS1")),
         gParRSData.text(QStringLiteral("RS2")), gParRSData.text(QStringLiteral("RS3"))});
    out.lists << qMakePair(QStringLiteral("combRSData"), rsData);
    tab.combRSData = firstEntry(rsData);

    const QStringList memDisc = listEntries(
        gParMemdisc, {gParMemdisc.text(QStringLiteral("MD0")), gParMemdisc.text(QStringLiteral("MD1"))});
    out.lists << qMakePair(QStringLiteral("combMemDiscType"), memDisc);
    tab.combMemDiscType = firstEntry(memDisc);

    const QStringList discount = listEntries(
        gParDiscount,
        {gParDiscount.text(QStringLiteral("D0")), gParDiscount.text(QStringLiteral("D1")),
         gParDiscount.text(QStringLiteral("D2")), gParDiscount.text(QStringLiteral("D3")),
         gParDiscount.text(QStringLiteral("D4")), gParDiscount.text(QStringLiteral("D5")),
         gParDiscount.text(QStringLiteral("D6"))});
    out.lists << qMakePair(QStringLiteral("combDiscType"), discount);
    tab.combDiscType = firstEntry(discount);

    if (const auto format = dateFormatOf(gSettings().gDateType))
        tab.dateFormat = format;
    tab.DTPickerStartDate = tab.DTPickerEndDate = today;
    tab.chkPricePriority = false;
    return out;
}

} // namespace quorvane
