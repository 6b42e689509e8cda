#pragma once

#include "platform/ui/FlexGrid.h"
#include "plu/Marks.h"
#include "plu/SaveAnswer.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class QBrush;
class QWidget;

namespace quorvane::plu {

// What the main window asks of the PLU list and editor that it hosts. Each takes the main window, whose panel
// (PluPanel.h) holds the PLU grid MSHFlexGridPLU, the tab strip SSTabPLU, its pages' frames frameTAB(1) to
// frameTAB(3) and the editor's controls; the PLU buttons and menu entries are the window's own, enabled by objectName
// (enableCommand). A database failure is shown through ui::tryStep.

// Whether the edited PLU may be left: Unchanged when there is nothing to save (gPLUChanged is not 1), asked nothing;
// otherwise the question "updatePLU" with Yes, No and Cancel: Yes saves the PLU (Saved), No drops the changes
// (Dropped), Cancel gives Cancelled, and so does a save that a check or the database stopped. Every caller stops on
// Cancelled.
SaveAnswer AskSavePLUChanges(QWidget* window);

// Lists the PLUs of a node (kind 0 the store's, 1 the department's, 2 the main group's, 3 those of the store's search
// deptOrSearchNo) with the window disabled, and shows the remembered row (gCurPLURow, else row 1) in the editor,
// or an empty editor for an empty list.
void LoadPLUList(QWidget* window, quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo);
// LoadPLUList again for the current selection (gCurNodeKind, gCurStoreNo, gCurDeptNo, gCurMGNo).
void RefreshPLUList(QWidget* window);
// The editor's labels and lists in the current language; its inputs back to an empty weighed PLU.
void ApplyPLUEditorCaptions(QWidget* window);
// Fills the editor from the listed PLU at that 0-based position.
void ShowPLUInTab(QWidget* window, int position);
// Enables the PLU buttons and menu entries by the edit state, the listed PLUs and the grid's row.
void SetEditModeButtons(QWidget* window);
// The PLU grid's column widths as fractions of its width; on every resize of the main window.
void SetPLUGridColumnWidths(QWidget* window);
// Shows the editor frame of that page (1 to 3), hides the other two and sets the page's tab order.
void ShowTabFrame(QWidget* window, int page);
// Makes the page (1 to 3) the selected tab and shows its frame; gCurPLUTab := page.
void SelectPLUTab(QWidget* window, int page);
// Whether the three pages' controls can be operated.
enum class TabFrames { Disabled = 0, Enabled = 1 };
void ResetTabFrames(QWidget* window, TabFrames frames);
// Marks, unmarks or, by a click, marks a range or toggles a single row: `count` grid rows from `startRow`, in the grid
// and in Is_Selected.
void SetPLUSelection(QWidget* window, int startRow, int count, MarkMode mode);
// Asks delPLU, then deletes the PLU shown and loads the list again.
void DeletePLU(QWidget* window);

// The bar-format boxes for the chosen bar format.
void SetBarcodeFlagControls(QWidget* window);

// The window's handlers.
void MSHFlexGridPLU_Click(QWidget* window);       // a click on a cell
void MSHFlexGridPLU_HeaderClick(QWidget* window); // a click on the header row
// The operator made another row current without a click on it (a press released on another row, a key): the
// click's way without its marks, the save question first.
void MSHFlexGridPLU_RowChosen(QWidget* window);
void MSHFlexGridPLU_KeyDown(QWidget* window, bool shift);
void MSHFlexGridPLU_KeyUp(QWidget* window);
void SSTabPLU_Click(QWidget* window);
void chkWeighed_Click(QWidget* window);
void combMemDiscType_Click(QWidget* window);
void combDiscType_Click(QWidget* window);
void combBarcodeFormat_Click(QWidget* window);
// The editor boxes' input rules (PluFieldRules.h), for every box with a rule: the limit on getting the focus, the
// leading zeros dropped while it is typed, the checks and the changed flag on leaving; and the other controls'
// comparisons on leaving (pluControlLostFocus).
void editorBox_GotFocus(QWidget* window, QWidget* control);
void editorBox_Change(QWidget* window, QWidget* control);
void editorBox_LostFocus(QWidget* window, QWidget* control);
void editorControl_LostFocus(QWidget* window, QWidget* control);

// The PLU grid's columns (header, width, alignment) and the fill of one row from a listed PLU (KVB_25 or RC_25):
// its number, PLU number, item code, the name's first line (only for a PLU that has a name), the unit price and
// the send mark; column 1 in `buttonFace`.
QList<ui::FlexColumn> pluGridColumns();
// The grid column of the send marks ("*").
constexpr int MarkColumn = 6;
ui::FlexRowFill pluGridRowFill(const QBrush& buttonFace);

// Tests see every PLU list the main window asks for, with the window already disabled; an empty observer sees
// nothing.
using PluListObserver = std::function<void(quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)>;
void observePLUListLoads(PluListObserver observer);
// Tests see every run of the editor's list handlers, by name ("combDiscType_Click").
using EditorHandlerObserver = std::function<void(const QString& handler)>;
void observeEditorHandlers(EditorHandlerObserver observer);

} // namespace quorvane::plu
