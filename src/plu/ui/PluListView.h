#pragma once

#include "platform/ui/FlexGrid.h"
#include "plu/Marks.h"
#include "state/StoreTreeState.h"

#include <QtGlobal>

#include <functional>

class QBrush;
class QWidget;

namespace quorvane::plu {

// The PLU list view on the window hosting the PLU list and editor (its panel, PluPanel.h, holds the grid
// MSHFlexGridPLU): the list of a tree node in the grid, the row shown in the editor, the send marks, the grid's
// handlers. A database failure is shown through ui::tryStep.

// Lists the PLUs of a node (a search node's search number in deptOrSearchNo) with the window disabled, and shows the
// remembered row (gCurPLURow, else row 1) in the editor, or an empty editor for an empty list.
void LoadPLUList(QWidget* window, PluListKind kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo);
// LoadPLUList again for the current selection (gCurNodeKind, gCurStoreNo, gCurDeptNo, gCurMGNo).
void RefreshPLUList(QWidget* window);
// Fills the editor from the listed PLU at that 0-based position.
void ShowPLUInTab(QWidget* window, int position);
// Makes the grid's row (1 for the first PLU) current, selected across; a row the grid lacks changes nothing.
void selectGridRow(QWidget* window, int row);
// The PLU grid's column widths as fractions of its width; on every resize of the main window.
void SetPLUGridColumnWidths(QWidget* window);
// Marks, unmarks or, by a click, marks a range or toggles a single row: `count` grid rows from `startRow`, in the grid
// and in Is_Selected.
void SetPLUSelection(QWidget* window, int startRow, int count, MarkMode mode);

// The grid's handlers.
void MSHFlexGridPLU_Click(QWidget* window);       // a click on a cell
void MSHFlexGridPLU_HeaderClick(QWidget* window); // a click on the header row
// The operator made another row current without a click on it (a press released on another row, a key): the
// click's way without its marks, the save question first.
void MSHFlexGridPLU_RowChosen(QWidget* window);
void MSHFlexGridPLU_KeyDown(QWidget* window, bool shift);
void MSHFlexGridPLU_KeyUp(QWidget* window);

// The PLU grid's columns (header, width, alignment) and the fill of one row from a listed PLU (KVB_25 or RC_25):
// its number, PLU number, item code, the name's first line (only for a PLU that has a name), the unit price and
// the send mark; column 1 in `buttonFace`.
QList<ui::FlexColumn> pluGridColumns();
// The grid column of the send marks ("*").
constexpr int MarkColumn = 6;
ui::FlexRowFill pluGridRowFill(const QBrush& buttonFace);

// Tests see every PLU list the main window asks for, with the window already disabled; an empty observer sees
// nothing.
using PluListObserver = std::function<void(PluListKind kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)>;
void observePLUListLoads(PluListObserver observer);

} // namespace quorvane::plu
