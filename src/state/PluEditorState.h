#pragma once

#include "state/TextBuffer.h"

#include <QtGlobal>

namespace quorvane {

// The editor's three pages, as the tab strip numbers them from 1.
enum class PluEditorPage : qint16 {
    Basic = 1,    // the PLU, its price and unit, main group, cost and member prices
    Codes = 2,    // the barcode, taxes, schedules, ingredient and special message
    Discount = 3, // the discount, its period and days, its two limits
};

// The PLU list and editor: the row shown, the editor's mode and flags, its text buffers.
struct PluEditorState {
    PluEditorPage gCurPLUTab = PluEditorPage::Basic; // selected editor page
    qint32 gCurPLURow = 0;       // grid row (1-based) of the PLU shown; 0 none. A store lists 100,000 PLUs.
    qint16 gPLUChanged = 0;      // 1 while the editor differs from the current row
    qint16 gHideSelectedCol = 0; // 1 in edit mode
    quint8 gNewPLU = 0;          // 1 while the editor holds a PLU that is not yet a row
    qint32 gNewPLUNo = 0;        // the number last proposed for a new PLU
    qint16 mPLUGridShift = 0;    // -1 after a key went down in the grid with Shift held
    TextBuffer gTextBuf3;        // the name, PLU_Commodity
    TextBuffer gTextBuf1;        // the description, PLU_Description
    TextBuffer gTextBuf0;        // a third buffer, cleared by the new command
};

PluEditorState& gPluEditor();

} // namespace quorvane
