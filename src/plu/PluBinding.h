#pragma once

#include "platform/Error.h"
#include "plu/PluEditorValues.h"
#include "plu/PluFields.h"
#include "plu/SaveAnswer.h"
#include "records/PluRow.h"

#include <QString>

namespace quorvane {

// A box whose text cannot be taken back into its field; nothing has been written.
class PluInputError : public Error {
public:
    using Error::Error;
};

enum class PluAnswer { Yes, No, Cancel };

// What the PLU rules ask of the window that shows the list and the editor. The window answers with its
// controls and message boxes; tests answer with plain values.
class PluEditorHost {
public:
    virtual ~PluEditorHost() = default;
    // Runs the leave handler of the field that has the focus, so its edit counts.
    virtual void commitFocusedField() = 0;
    // What the editor's controls hold now.
    virtual PluEditorValues editorValues() = 0;
    // A question with the question icon, Yes and No.
    virtual PluAnswer ask(const QString& text) = 0;
    // The question whether to save the edited PLU (updatePLU), Yes, No and Cancel.
    virtual PluAnswer askSaveChanges() = 0;
    // A message with the error icon.
    virtual void showError(const QString& text) = 0;
    // The grid's current row (1-based).
    virtual int gridCurrentRow() = 0;
    // A PLU number was refused: page 1 selected, `number` put back into meditPLU with its whole text
    // selected and the focus; with `gridBack` the grid's current row goes back to gCurPLURow.
    virtual void refusePLUNumber(qint32 number, bool gridBack) = 0;
    // SetEditModeButtons on the window's buttons.
    virtual void setEditModeButtons() = 0;
    // The list of the tree selection loaded again, gCurPLURow kept (RefreshPLUList).
    virtual void refreshPLUList() = 0;
};

// What the editor shows of a row's field in the control of a field-table row, by the row's kind: the text blocks'
// first lines (a line running past its block shows empty), position 0 of the unit list for a PLU sold by count,
// the bar-format list's entry led by the inherited format (255), a flag box's digit ("F" for 255). A date or time
// that is no date or time (0 too) is an invalid QDate or QTime.
QVariant pluShownValue(const PluField& r, const records::PluRow& row, const fields::Format& format);

// Row to editor, through the PLU field table (plu/PluFields.h): every field into the control that shows it, with
// the configured decimals (the date pickers keep their dates for a stored 0, and show none for any other value
// that is no date or time; the flag boxes keep theirs for an inherited bar format), the text
// blocks into gTextBuf3 and gTextBuf1 with their changed marks; gNewPLU := 0, since the editor now shows
// a row. A text block whose first line runs past its end shows an empty line and keeps its bytes.
// combMG, meditDepartment, the bar-format boxes' states and the formats are the list-level call's.
void ShowPLUInTab(const records::PluRow& row, PluEditorValues& tab);

// The list-level call: moves gRsPLU to the 0-based position and shows that row in the editor with its
// main-group list and department, the bar-format boxes and the formats.
void ShowPLUInTab(int position, PluEditorValues& tab);

// Editor to row: sets in `row` (the current values of the PLU, or a new row's) every field the editor
// writes, the store and section of the tree selection and the change flags. A number box left empty
// leaves its field unless the field is always written; "F" in a flag box stores 255; a list without a
// chosen entry leaves its field; a picker showing none leaves its field as stored; an empty combMG stores main
// group 0. A text that is no whole number
// fitting its field throws PluInputError before anything is set.
void TakePLUFromTab(const PluEditorValues& tab, records::PluRow& row);

// The list-level call: writes the editor into the current row of gRsPLU, appending a row first for a
// new PLU (gNewPLU 1, or no current row); gNewPLU := 0. Does not save. PluInputError sets nothing.
void TakePLUFromTab(const PluEditorValues& tab);

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
