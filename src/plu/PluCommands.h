#pragma once

#include "plu/PluEditorSetUp.h"
#include "plu/PluEditorValues.h"
#include "plu/PluFieldRules.h"
#include "plu/PluFreeNumbers.h"

#include <QDate>
#include <QVector>

#include <optional>

namespace quorvane {

class PluEditorHost;

// The PLU buttons' work without the window. Each that asks to save first stops (gives none or false) when
// AskSavePLUChanges gives Cancelled. The window then applies what they give: button states (SetEditModeButtons), the
// editor's values, pages and grid marks.

// cmdEdit: edit mode (gHideSelectedCol := 1), no new PLU (gNewPLU := 0). Gives whether the editor pages are
// enabled: the list holds rows. The window then hides the mark column and disables menuImportOrExport.
bool EnterEditMode();

// cmdDisplay: display mode, then the save question. Cancel leaves edit mode as it was (gHideSelectedCol back
// to 1) and gives none; else whether the editor pages are enabled. The window then shows the mark column and
// enables menuImportOrExport.
std::optional<bool> EnterDisplayMode(PluEditorHost& host);

// cmdNew: the save question first (a new PLU not yet saved counts as changed). Then the editor captioned and
// put back to an empty weighed PLU, cleared, the lowest free number of the store in meditPLU and
// meditItemCode (both empty when every number is taken; gNewPLUNo keeps its value then), the tree's main
// group chosen, the bar-format boxes set; gNewPLU := 1, gPLUChanged := 1, the three text buffers emptied.
// The window shows it on page 1 with meditPLU focused and its text selected.
struct NewPLUEditor {
    PluEditorValues values;
    PluEditorCaptions captions;
};
std::optional<NewPLUEditor> NewPLUCommand(PluEditorHost& host, const QDate& today);

// cmdCopy: ProposeFreePLUNumber (outside edit mode nothing), then gNewPLU := 1. gPLUChanged stays: the
// copy is a row once it is saved.
FreeNumberProposal CopyPLUCommand();

// cmdCancel: the stored row of the grid's row shown again, the row's pending edits dropped; gPLUChanged := 0.
// With an empty list the editor is cleared, meditPLU left empty, gNewPLU := 0.
PluEditorValues CancelPLUCommand(PluEditorHost& host);

// cmdUpdate: SavePLU, then, in edit mode, the discount fields by the discount type again (DiscTypeClick).
// False when a check stopped the save.
struct UpdatedPLU {
    bool saved = false;
    std::optional<DiscountTypeControls> discount;
    PluEditorValues values;
};
UpdatedPLU UpdatePLUCommand(PluEditorHost& host);

// cmdDlelte: the save question, then DeletePLU (its own question). True when a PLU was deleted.
bool DeletePLUCommand(PluEditorHost& host);

// cmdDelAll: the save question, then delAllPLU (Yes and No); on Yes every row the list was loaded with is
// deleted in one transaction, pumping events, and the list is loaded again from row 1. A database failure
// deletes nothing and throws db::DbError (the list is not reloaded). False when nothing was asked to go.
bool DeleteAllPLUCommand(PluEditorHost& host);
// Deletes those rows of KVB_25 in one transaction, pumping events; a failure deletes none of them.
void deletePLURows(const QVector<qint64>& rowids);

// cmdUp (-1) and cmdDown (+1): the save question, then the grid row next to the grid's current row, kept
// inside the list, is shown in `values`; gCurPLURow := that row. None when stopped or the list is empty.
struct SteppedPLU {
    int previousRow = 0; // the grid row whose "*" in column 0 is cleared
    int row = 0;         // the row now current, with "*" in column 0
    PluEditorValues values;
};
std::optional<SteppedPLU> StepPLUCommand(PluEditorHost& host, int direction);

// cmdReflesh: the save question, then the list of the tree selection loaded again (its marks drop).
bool RefreshPLUCommand(PluEditorHost& host);

} // namespace quorvane
