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

namespace {

// The pickers by name.
template<class T> T* picker(PluEditorValues& tab, const QString& control);
template<> QDate* picker(PluEditorValues& tab, const QString& control)
{
    return control == QLatin1String("DTPickerStartDate") ? &tab.DTPickerStartDate
        : control == QLatin1String("DTPickerEndDate")    ? &tab.DTPickerEndDate
                                                         : nullptr;
}
template<> QTime* picker(PluEditorValues& tab, const QString& control)
{
    return control == QLatin1String("DTPickerStartTime") ? &tab.DTPickerStartTime
        : control == QLatin1String("DTPickerEndTime")    ? &tab.DTPickerEndTime
                                                         : nullptr;
}

template<class T> T* member(const QList<QPair<QString, T*>>& members, const QString& control)
{
    for (const auto& [name, value] : members)
        if (name == control)
            return value;
    return nullptr;
}

} // namespace

QVariant shownIn(const PluEditorValues& tab, const QString& control)
{
    auto& values = const_cast<PluEditorValues&>(tab); // the member lists only read here
    if (control == QLatin1String("combMG"))
        return tab.combMG.currentText();
    if (const QString* text = member(textBoxes(values), control))
        return *text;
    if (const int* index = member(listPositions(values), control))
        return *index;
    if (const bool* checked = member(checkBoxes(values), control))
        return *checked;
    if (const QDate* date = picker<QDate>(values, control))
        return *date;
    if (const QTime* time = picker<QTime>(values, control))
        return *time;
    return QVariant();
}

void setShown(PluEditorValues& tab, const QString& control, const QVariant& value)
{
    if (QString* text = member(textBoxes(tab), control))
        *text = value.toString();
    else if (int* index = member(listPositions(tab), control))
        *index = value.toInt();
    else if (bool* checked = member(checkBoxes(tab), control))
        *checked = value.toBool();
    else if (QDate* date = picker<QDate>(tab, control))
        *date = value.toDate();
    else if (QTime* time = picker<QTime>(tab, control))
        *time = value.toTime();
}

} // namespace quorvane
