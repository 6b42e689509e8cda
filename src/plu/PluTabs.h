#pragma once

#include "plu/PluEditorValues.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

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

// The cross-checks of page 3, run when a box is left: the first box of the pair (or the unit price) or the second.
// An inverted pair takes the value just entered; nothing is shown.
enum class PairBox { First = 1, Second = 2 };
void CheckDiscountDates(PluEditorValues& tab, PairBox left);
void CheckDiscountLimits(PluEditorValues& tab, PairBox left);
void CheckDiscountValues(PluEditorValues& tab, PairBox left);

// The enabled state of the PLU buttons and menu entries, by objectName, each named once; a control the
// rules leave as it is does not appear.
struct ButtonState {
    QString objectName;
    bool enabled = false;
};
struct EditModeInputs {
    int hideSelectedCol = 0; // gHideSelectedCol
    bool listOpen = false;   // gRsPLU is open
    int listCount = 0;       // its rows
    bool anyMarked = false;  // CountSelectedPLU
    int gridRow = 0;         // the grid's current row
    int gridRows = 0;        // the grid's rows, header row included
};
QList<ButtonState> editModeButtons(const EditModeInputs& in);
// The same for the editor's state and gRsPLU, with the grid's current row and row count.
QList<ButtonState> SetEditModeButtons(int gridRow, int gridRows);

// The lowest number from 1 to 999996 that no KVB_25 row of the store uses, from one query; none when all
// are taken. Numbers outside that range do not count.
std::optional<qint32> lowestFreePLUNumber(qint16 storeNo);
// Its query; the store number is its one value.
QString lowestFreePLUNumberQuery();

// The copy command's proposal. Outside edit mode nothing happens (editMode false). In edit mode the lowest
// free number of gCurStoreNo, also kept in gNewPLUNo, goes into meditPLU with its text selected (none when
// every number is taken: meditPLU and gNewPLUNo keep theirs); then page 1 is selected and meditPLU focused.
struct FreeNumberProposal {
    bool editMode = false;
    std::optional<qint32> number;
};
FreeNumberProposal ProposeFreePLUNumber();

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
