#pragma once

#include "plu/SaveAnswer.h"

#include <QString>

namespace quorvane {

class PluEditorHost;

// The save of the edited PLU: the checks of its number, the save itself and the save question.

// The range-error message, the text of inputErr followed by ">" (a number too small) or "<" (too large), the limit
// and "!", then the refused number replaced by the current row's PLU_No, by gNewPLUNo when no row is current.
enum class OutOfRange { TooSmall = 0, TooLarge = 1 };
QString inputRangeErrorText(qint32 limit, OutOfRange refused);
void ShowInputRangeError(PluEditorHost& host, qint32 limit, OutOfRange refused);

// The duplicate-number check of meditPLU's number: needed for an empty list, a new PLU, or a number that
// differs from the current row's. A number the store uses is refused with the message overlap, and the box
// gets back gNewPLUNo for a new PLU (or with no row), else the current row's PLU_No.
enum class OverlapCheck { NotNeeded, Free, Taken };
OverlapCheck CheckPLUOverlap(PluEditorHost& host, qint32 number);

// The number check of a save, before anything is written: meditPLU reads as a whole number within its box's range
// (1 to 999999; else inputErr with the limit passed) that the store does not use (CheckPLUOverlap). False when it
// is refused, which is shown.
bool PLUNumberAccepted(PluEditorHost& host, const QString& meditPLU);

// Checks the editor, writes it into its row and saves it in one transaction, then reloads the list:
// true. False when a check stopped it (an empty or 0 number or one above 999999: inputErr; a number the store uses:
// overlap; a box that is no number: its message); then nothing is written and the flags stay. A database failure throws
// db::DbError with nothing written.
bool SavePLU(PluEditorHost& host);

// Asked before the shown PLU is left. A stopped save leaves gCurPLURow on the shown PLU; the caller abandons its
// action on Cancelled.
SaveAnswer AskSavePLUChanges(PluEditorHost& host);

} // namespace quorvane
