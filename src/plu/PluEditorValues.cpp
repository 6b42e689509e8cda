#include "plu/PluEditorValues.h"

namespace quorvane {

QList<QPair<QString, QString*>> textBoxes(PluEditorValues& tab)
{
    QList<QPair<QString, QString*>> boxes{
        {QStringLiteral("meditPLU"), &tab.meditPLU},
        {QStringLiteral("txtName"), &tab.txtName},
        {QStringLiteral("meditDescription"), &tab.meditDescription},
        {QStringLiteral("meditUPrice"), &tab.meditUPrice},
        {QStringLiteral("meditTare"), &tab.meditTare},
        {QStringLiteral("meditCoupledPLU"), &tab.meditCoupledPLU},
        {QStringLiteral("meditDepartment"), &tab.meditDepartment},
        {QStringLiteral("meditCost"), &tab.meditCost},
        {QStringLiteral("meditItemCode"), &tab.barcode.itemCode.text},
        {QStringLiteral("meditFlagCode1"), &tab.barcode.flagCode1.text},
        {QStringLiteral("meditFlagCode2"), &tab.barcode.flagCode2.text},
        {QStringLiteral("meditTaxNum"), &tab.meditTaxNum},
        {QStringLiteral("meditTax2Num"), &tab.meditTax2Num},
        {QStringLiteral("meditDiscScheNum"), &tab.meditDiscScheNum},
        {QStringLiteral("meditPriScheNum"), &tab.meditPriScheNum},
        {QStringLiteral("meditIngrNum"), &tab.meditIngrNum},
        {QStringLiteral("meditSMsgNum"), &tab.meditSMsgNum},
        {QStringLiteral("meditDiscDayOfWeek"), &tab.meditDiscDayOfWeek},
        {QStringLiteral("meditDiscLimit1"), &tab.meditDiscLimit1},
        {QStringLiteral("meditDiscLimit2"), &tab.meditDiscLimit2},
        {QStringLiteral("meditDiscLmtPer1"), &tab.meditDiscLmtPer1},
        {QStringLiteral("meditDiscLmtPer2"), &tab.meditDiscLmtPer2},
    };
    for (int i = 1; i <= 4; ++i)
        boxes.append({QStringLiteral("meditMemDisc(%1)").arg(i), &tab.meditMemDisc[i]});
    return boxes;
}

QList<QPair<QString, int*>> listPositions(PluEditorValues& tab)
{
    return {
        {QStringLiteral("combSymbol"), &tab.combSymbol},
        {QStringLiteral("combMemDiscType"), &tab.combMemDiscType},
        {QStringLiteral("combBarcodeFormat"), &tab.combBarcodeFormat},
        {QStringLiteral("combRSData"), &tab.combRSData},
        {QStringLiteral("combDiscType"), &tab.combDiscType},
    };
}

QList<QPair<QString, bool*>> checkBoxes(PluEditorValues& tab)
{
    return {
        {QStringLiteral("chkWeighed"), &tab.chkWeighed},
        {QStringLiteral("chkUPoverride"), &tab.chkUPoverride},
        {QStringLiteral("chknegativePLU"), &tab.chknegativePLU},
        {QStringLiteral("chkPricePriority"), &tab.chkPricePriority},
    };
}

} // namespace quorvane
