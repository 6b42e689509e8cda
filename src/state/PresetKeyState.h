#pragma once

#include <QtGlobal>

namespace quorvane {

// The layout of the scale whose preset-key sheet is open: written when the sheet loads, read by the sheet's
// drawing, the key editor and the automatic assignment.
struct PresetKeyState {
    qint16 gPSKLayout = 0;  // SC_PSK_Layout of the scale shown; also PSK_Layout of its key rows
    qint32 gPSKStoreNo = 0; // ST_No and SECT_No of that scale: kept from the last load that found it
    qint32 gPSKSectNo = 0;
    qint16 gKeyNum = 0;  // keys per page
    qint16 gKeyRows = 0; // key rows and columns of the sheet
    qint16 gKeyCols = 0;
    float gKeyCellSize = 0; // side of a key cell in centimetres
    qint16 gKeyCharNum = 0; // read and kept, used by nothing
    qint16 gKeyOrder = 0;   // read and kept, used by nothing
    qint32 gCurKeyNo = 0;   // the key of the last double click on the sheet, -1 when it missed
};

PresetKeyState& gPresetKeys();

} // namespace quorvane
