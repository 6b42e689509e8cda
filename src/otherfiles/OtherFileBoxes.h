#pragma once

#include "otherfiles/OtherFileFields.h"
#include "plu/PluFieldRules.h"

#include <QString>
#include <QVariantMap>

namespace quorvane::otherfiles {

// The boxes of the other-files window as they are typed, entered and left. Their typing rules are the PLU editor's
// (plu/PluFieldRules.h): after each change a box drops the leading zeros its row's ChangeForm names.
ChangedBox numberTyped(const QString& text);
ChangedBox typedText(const FieldBinding& binding, const QString& text);

// Entering an amount box (limits, amounts, new unit price, tax rate), as the PLU editor's boxes are entered: the
// decimal signs are removed and, for a discount amount of D3 or D5, the text is cut to its last four characters;
// the box then takes the length it gives (the row's focusLimit).
FocusedBox enteredAmount(const FieldBinding& binding, const QString& text, int discType);

// Leaving a box: what it shows after the leave rule, before its kind is saved. `values` holds what the
// window shows, by objectName; the box left and the boxes its rule changes are rewritten in it.
// An empty number, next-number, day or amount box becomes "0"; the two limits and the two amounts are kept
// in order; amounts are shown again in their decimals; an empty name of the box's kind takes its default.
// `number` is the record's number (the tax default names it).
void leaveField(const FieldBinding& binding, qint64 number, QVariantMap& values);

// The discount types' rule, which fields are open and whether the amounts are percentages, is the PLU editor's
// (discountTypeControls, plu/PluFieldRules.h): one table serves both windows.
// A discount amount as the type shows it: D3 and D5 in hundredths of its last four digits, the others in
// the price decimals.
QString discAmountText(const QString& shown, int type);
// A limit as the limit type shows it: weights in the weight decimals, pieces as a plain number.
QString discLimitText(const QString& shown, int limitType);
// Whether the limits are weights (limit type 0, unit key "Wg" of section SSTab_Symbol), else pieces ("Wpcs").
inline bool limitsAreWeights(int limitType) { return limitType == 0; }

// The integer of a box's digits, its decimal signs removed (an Amount read back); an empty box is 0. Text that is
// not a number throws.
qint64 digitsValue(const QString& text);

} // namespace quorvane::otherfiles
