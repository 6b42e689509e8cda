#pragma once

#include "plu/PluEditorValues.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace quorvane {

// The editor's set-up: its captions, lists and limits, the cleared editor, the unit texts, the main-group and
// bar-format lists and the number and date formats.

// The cleared editor: meditPLU, meditDepartment, the name, the description and the item code empty, every
// other number box "0", weighed (with the weighed unit texts, as ticking chkWeighed shows them), the
// inherited bar format, the first RS-data and discount entries and the day-of-week mask "0". combMG,
// combSymbol, combMemDiscType, chkUPoverride, chknegativePLU, chkPricePriority and the pickers keep theirs.
void ClearPLUTab(PluEditorValues& tab);

// The unit texts: byCount 0 a weighed PLU (unit Wkg, tare shown, limits in Wg), else one sold by count
// (NWnone, tare hidden, Wpcs).
UnitLabels SetUnitLabels(int byCount);

// The main groups of the tree selection for combMG, and the department of the chosen one for meditDepartment.
// TreeGroup chooses the tree's main group, RowGroup the PLU_MG of the current row of gRsPLU, which is added when
// the list lacks it (the department then stays empty), so an untouched PLU never changes its main group.
// A search node lists every main group of its store. No main group: an empty list and department.
enum class MGChoice { TreeGroup = 0, RowGroup = 1 };
struct MGComboFill {
    ListValue combMG;
    QString meditDepartment;
};
MGComboFill FillMGCombo(MGChoice choice);

// The bar-format list: the inherited format ("REF") first, then the bar formats by number; entry 0 chosen
// when `select` is 0, else entry 1. Empty, with nothing chosen, when the parameter section is missing.
ListValue FillBarcodeFormatCombo(int select);

// Re-formats the amount boxes with the configured decimals and sets the date pickers' format by gDateType
// (none for a date type outside 0 to 5). A box whose text is no number is left as typed.
void ApplyDataFormatToTab(PluEditorValues& tab);

// What ApplyPLUEditorCaptions puts into the editor besides the captions of its control table.
struct ControlText {
    QString objectName; // a control array element as "lblMemDisc(1)"
    QString text;
};
struct ControlLimit {
    QString objectName;
    int limit = 0; // most characters the operator can type
};
struct PluEditorCaptions {
    QList<ControlText> captions;                  // lblMemDisc(1) to (4), lblPriceUnit(0), lblReference
    QList<QPair<QString, QStringList>> lists;     // entries of combSymbol, combBarcodeFormat, combRSData,
                                                  // combMemDiscType, combDiscType, in the order filled
    QList<ControlLimit> limits;                   // the field table's boxes in its order, then meditDepartment
    QStringList disabled;                         // meditDepartment, txtName, meditDescription
    QString timeFormat = QStringLiteral("HH:mm"); // of the time pickers, with the spin style
};
// Captions, lists and limits of the editor, and the editor put back to an empty weighed PLU: every list at
// its first entry (none for a list whose parameter section is missing), the inherited bar format, flag
// codes "0", the check boxes clear but chkWeighed, both dates `today`, the date format by gDateType.
PluEditorCaptions ApplyPLUEditorCaptions(PluEditorValues& tab, const QDate& today);

} // namespace quorvane
