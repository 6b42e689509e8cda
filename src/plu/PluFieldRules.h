#pragma once

#include "plu/PluEditorValues.h"
#include "plu/PluFields.h"

#include <QList>
#include <QString>

#include <optional>

namespace quorvane {

class PluEditorHost;

// One number box of the PLU editor, by the objectName of its control (an element of meditMemDisc as
// "meditMemDisc(1)"), with the field of KVB_25 it shows: a row of the PLU field table that has box rules, in the
// form the rules read.
struct PluFieldRule {
    const char* objectName = "";
    const char* field = "";
    int focusLimit = 0;             // most characters a decimal box takes on getting the focus; 0 keeps its own
    bool percentByDiscType = false; // a discount amount: 4 characters at discount type 3 or 5
    bool decimal = false;           // typed in minor units: loses its decimal sign on focus, re-formatted on leaving
    bool binaryKeys = false;        // takes only 0 and 1 (else only digits)
    ChangeForm change = ChangeForm::None;
    LeaveCheck check = LeaveCheck::None;
    ComparedAs compared = ComparedAs::WholeNumber;
};

// The number boxes' rules, one per box, in the field table's order.
const QList<PluFieldRule>& pluFieldRules();
// The rule of that box; none for a control without one.
const PluFieldRule* pluFieldRule(const QString& objectName);

// A box getting the focus, with the position of combDiscType: its text (a decimal box without its decimal
// sign, a discount amount at a percentage type with only its last 4 characters) and the greatest length to
// set, none to keep the box's own. The window then selects the whole text.
struct FocusedBox {
    QString text;
    std::optional<int> limit;
};
FocusedBox pluFieldGotFocus(const PluFieldRule& rule, const QString& text, int discType);

// A box's text changed: the text with its leading zeros dropped by the box's form; the caret then stands at
// position 1 (at 0 in a box left empty). No caret when nothing was dropped.
struct ChangedBox {
    QString text;
    std::optional<int> caret;
};
ChangedBox pluFieldChanged(const PluFieldRule& rule, const QString& text);

// A box left, with its text in `tab`: an empty text becomes "0" (not in meditPLU, nor in the item code, compared as
// text, where empty is no item code), the box's cross-check runs, then with a listed row the text is compared with
// the row's field, and a difference sets gPLUChanged := 1; a decimal box is re-formatted. meditPLU empty or "0" is
// refused through ShowInputRangeError, a number the store uses through CheckPLUOverlap: then false, and nothing is
// compared.
bool pluFieldLostFocus(const PluFieldRule& rule, PluEditorValues& tab, PluEditorHost& host);

// The cross-checks of page 3, run when a box is left: the first box of the pair (or the unit price) or the second.
// An inverted pair takes the value just entered; nothing is shown.
enum class PairBox { First = 1, Second = 2 };
void CheckDiscountDates(PluEditorValues& tab, PairBox left);
void CheckDiscountLimits(PluEditorValues& tab, PairBox left);
void CheckDiscountValues(PluEditorValues& tab, PairBox left);

// The other controls left: combMG, combSymbol, combMemDiscType, combDiscType, combBarcodeFormat, combRSData,
// the check boxes of the field table and the four date and time pickers. Their comparisons as above (a check box's
// state as the save stores it); a date picker first runs CheckDiscountDates, chkWeighed re-formats the tab. Another
// objectName does nothing.
void pluControlLostFocus(const QString& objectName, PluEditorValues& tab);

// Whether a box's text differs from the field of the current row, read as compared; a text that is no whole
// number differs.
bool differsFromRow(ComparedAs compared, const QString& field, const QString& text);

// What a discount type enables: the day of week, the limits and amounts, the four pickers; whether the
// percent labels show, and whether lblDiscLmtPer1 is captioned as the fixed price. A position outside 0 to 6 counts as 2.
struct DiscountTypeControls {
    bool meditDiscDayOfWeek = false;
    bool meditDiscLimit1 = false;
    bool meditDiscLmtPer1 = false;
    bool meditDiscLimit2 = false;
    bool meditDiscLmtPer2 = false;
    bool pickers = false;
    bool percent = false;
    bool fixedPrice = false;
    bool operator==(const DiscountTypeControls&) const = default;
};
DiscountTypeControls discountTypeControls(int position);

// combDiscType_Click: only in edit mode (else none, and nothing changes). At a percentage type the amounts
// lose their decimal sign and keep their last 4 characters; then the tab is re-formatted.
std::optional<DiscountTypeControls> DiscTypeClick(PluEditorValues& tab);
// combMemDiscType_Click: only in edit mode; at position 1 the four member discounts as the amounts above.
// Then the tab is re-formatted. Gives whether the percent labels show.
std::optional<bool> MemDiscTypeClick(PluEditorValues& tab);
// chkWeighed_Click: the unit texts, combSymbol (Stat1_PBPreUnit of the listed row when ticked, else 0) and
// chknegativePLU (cleared when ticked). Gives whether chknegativePLU is enabled.
bool WeighedClick(PluEditorValues& tab);
// lblReference for the chosen bar-format entry: entry 0 ("REF") whole, every other from its third character.
QString referenceLabel(const QString& entryText, int entry);

} // namespace quorvane
