#pragma once

#include "otherfiles/OtherFileBoxes.h"
#include "platform/ui/LimitedEdit.h"

#include <functional>

class QLineEdit;

namespace quorvane::otherfiles {

// The limited edit of a bound box, by its kind: digits for whole numbers and amounts, "0" and "1" for day masks,
// the record's bytes for names (a character the code page cannot hold refused with charRefused); `maxChars`
// characters, the leading zeros its typing rule drops not counted.
ui::EditLimit boxLimit(const FieldBinding& binding, int maxChars);

// A box's text after its typing rule dropped a leading zero; nothing when none was dropped.
void showTyped(QLineEdit* box, const ChangedBox& typed);

// Connects a bound box: its limit, its typing rule after every change, and `left` when it is left.
void connectBoundBox(QLineEdit* box, const FieldBinding& binding, std::function<void()> left);

// Entering an amount box: its digits without the decimal sign, and its length while entered.
void enterAmountBox(QLineEdit* box, const FieldBinding& binding, int discType);

} // namespace quorvane::otherfiles
