#pragma once

#include "plu/PluEditorValues.h"
#include "plu/PluFields.h"
#include "records/PluRow.h"

#include <QVariant>

#include <optional>

namespace quorvane {

// A PLU row bound to the editor's boxes, both ways, through the PLU field table (plu/PluFields.h).

// What the editor shows of a row's field in the control of a field-table row, by the row's kind: the text blocks'
// first lines (a line running past its block shows empty), position 0 of the unit list for a PLU sold by count,
// the bar-format list's entry led by the inherited format (255), a flag box's digit ("F" for 255). A date or time
// that is no date or time (0 too) is an invalid QDate or QTime.
QVariant pluShownValue(const PluField& r, const records::PluRow& row, const fields::Format& format);

// A box's shown value read back into its field by its field-table row: none for an empty box whose field is written
// only when not empty. A text that is no whole number the field can hold throws PluInputError naming the control.
std::optional<qint64> pluBoxValue(const PluField& r, const QVariant& shown, const fields::Format& format);

// Row to editor: every field into the control that shows it, with the configured decimals (the date pickers keep
// their dates for a stored 0, and show none for any other value that is no date or time; the flag boxes keep theirs
// for an inherited bar format), the text blocks into gTextBuf3 and gTextBuf1 with their changed marks; gNewPLU := 0,
// since the editor now shows a row. A text block whose first line runs past its end shows an empty line and keeps
// its bytes. combMG, meditDepartment, the bar-format boxes' states and the formats are the list-level call's.
void ShowPLUInTab(const records::PluRow& row, PluEditorValues& tab);

// The list-level call: moves gRsPLU to the 0-based position and shows that row in the editor with its
// main-group list and department, the bar-format boxes and the formats.
void ShowPLUInTab(int position, PluEditorValues& tab);

// Editor to row: sets in `row` (the current values of the PLU, or a new row's) every field the editor writes, the
// store and section of the tree selection and the change flags. A number box left empty leaves its field unless the
// field is always written; "F" in a flag box stores 255; a list without a chosen entry leaves its field; a picker
// showing none leaves its field as stored; an empty combMG stores main group 0. A text that is no whole number
// fitting its field throws PluInputError (PluEditorHost.h) before anything is set.
void TakePLUFromTab(const PluEditorValues& tab, records::PluRow& row);

// The list-level call: writes the editor into the current row of gRsPLU, appending a row first for a
// new PLU (gNewPLU 1, or no current row); gNewPLU := 0. Does not save. PluInputError sets nothing.
void TakePLUFromTab(const PluEditorValues& tab);

} // namespace quorvane
