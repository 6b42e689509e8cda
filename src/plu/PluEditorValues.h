#pragma once

#include "plu/PluFields.h"
#include "records/EanData.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <array>
#include <optional>

namespace quorvane {

// The unit texts of a weighed PLU or of one sold by count.
struct UnitLabels {
    QStringList combSymbol;  // the unit list's one entry; none when the parameter section is missing
    bool tareVisible = true; // lblTare, lblTareG and meditTare
    QString lblDiscLimitG;   // lblDiscLimit1G and lblDiscLimit2G
};

// A list whose entries the rules choose: its entries and the current one (-1 none).
struct ListValue {
    QStringList entries;
    int index = -1;

    QString currentText() const { return index >= 0 && index < entries.size() ? entries[index] : QString(); }
};

// The PLU editor as the rules see it: one member per control of the three pages, named as the control,
// holding what the control shows (texts as typed, list positions with -1 for none, check states, dates and
// times), and what the rules decide about how some of them look. The window copies this to its controls
// and reads its controls back into it; no rule touches a widget.
struct PluEditorValues {
    // Page 1
    QString meditPLU;
    QString txtName;
    QString meditDescription;
    QString meditUPrice;
    QString meditTare;
    QString meditCoupledPLU;
    QString meditDepartment;
    QString meditCost;
    std::array<QString, 5> meditMemDisc; // elements 1 to 4
    ListValue combMG;                    // the main-group numbers
    int combSymbol = 0;
    int combMemDiscType = 0;
    bool chkWeighed = true;
    bool chkUPoverride = false;
    bool chknegativePLU = false;

    // Page 2: meditItemCode, meditFlagCode1 and meditFlagCode2 (text, enabled, greatest length) and the
    // enabled state of combBarcodeFormat and combRSData, as SetBarcodeFlagControls sets them.
    records::BarcodeControls barcode;
    int combBarcodeFormat = 0; // 0 the inherited format ("REF"), n + 1 bar format n
    int combRSData = 0;
    QString meditTaxNum;
    QString meditTax2Num;
    QString meditDiscScheNum;
    QString meditPriScheNum;
    QString meditIngrNum;
    QString meditSMsgNum;

    // Page 3
    int combDiscType = 0;
    QDate DTPickerStartDate;
    QTime DTPickerStartTime;
    QDate DTPickerEndDate;
    QTime DTPickerEndTime;
    QString meditDiscDayOfWeek;
    QString meditDiscLimit1;
    QString meditDiscLimit2;
    QString meditDiscLmtPer1;
    QString meditDiscLmtPer2;
    bool chkPricePriority = false;

    // How some controls look
    UnitLabels units;
    std::optional<QString> dateFormat; // of DTPickerStartDate and DTPickerEndDate; none keeps theirs
};

// The value of a row of the editor's field table (plu/PluFields.h) as the field kinds show it, taken from its place
// in the editor, and back: a box's text (combMG's chosen text, which setting chooses among its entries), a list's
// position, a check state, a picker's date or time. meditDepartment, shown beside the main groups, is no row.
QVariant shownIn(const PluEditorValues& tab, const PluField& row);
void setShown(PluEditorValues& tab, const PluField& row, const QVariant& value);

} // namespace quorvane
