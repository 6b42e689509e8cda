#pragma once

#include "state/PluEditorState.h"

class QWidget;

namespace quorvane::plu {

// The editor's three pages on the window hosting the PLU list and editor: the tab strip SSTabPLU, a frame on each
// page (frameTAB(1) to frameTAB(3)), the page shown and its tab order, the frames enabled in edit mode.

// Shows the editor frame of that page, hides the other two and sets the page's tab order.
void ShowTabFrame(QWidget* window, PluEditorPage page);
// Makes the page the selected tab and shows its frame; gCurPLUTab := page.
void SelectPLUTab(QWidget* window, PluEditorPage page);
// Whether the three pages' controls can be operated.
enum class TabFrames { Disabled = 0, Enabled = 1 };
void ResetTabFrames(QWidget* window, TabFrames frames);

// The tab strip's handler: the page chosen shown, its first control focused in edit mode and, on the basic and the
// discount page, its list's handler run.
void SSTabPLU_Click(QWidget* window);

} // namespace quorvane::plu
