#pragma once

#include <QtGlobal>

#include <functional>

class QWidget;

namespace quorvane::plu {

// What the main window asks of the PLU list and editor that it hosts. Each takes the main window, on which the PLU
// grid MSHFlexGridPLU, the tab strip SSTabPLU and its pages frameTAB(1) to frameTAB(3) are found by objectName.

// Whether the edited PLU may be left: 0 nothing to save (gPLUChanged is not 1), asked nothing; otherwise the
// question "updatePLU" with Yes, No and Cancel: Yes saves the PLU and gives 1, No drops the changes and gives 2,
// Cancel changes nothing and gives 3. Every caller stops on 3.
int AskSavePLUChanges(QWidget* window);

// Lists the PLUs of a node: kind 0 the store's, 1 the department's, 2 the main group's, 3 those of the store's
// search deptOrSearchNo.
void LoadPLUList(QWidget* window, quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo);
// LoadPLUList again for the current selection (gCurNodeKind, gCurStoreNo, gCurDeptNo, gCurMGNo).
void RefreshPLUList(QWidget* window);
// The editor's labels and lists in the current language; its inputs back to their defaults.
void ApplyPLUEditorCaptions(QWidget* window);
// Fills the editor from the listed PLU at that 0-based position.
void ShowPLUInTab(QWidget* window, int position);
// Enables the PLU buttons and menu entries by the edit state and the number of listed PLUs.
void SetEditModeButtons(QWidget* window);
// The PLU grid's column widths as fractions of its width; on every resize of the main window.
void SetPLUGridColumnWidths(QWidget* window);
// Shows the editor frame of that page (1 to 3) and hides the other two.
void ShowTabFrame(QWidget* window, int page);

// Tests see every PLU list the main window asks for; an empty observer sees nothing.
using PluListObserver = std::function<void(quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)>;
void observePLUListLoads(PluListObserver observer);

} // namespace quorvane::plu
