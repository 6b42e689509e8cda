#pragma once

#include <QList>
#include <QString>

namespace quorvane {

// The enabled state of the PLU buttons and menu entries, by objectName, each named once; a control the
// rules leave as it is does not appear.
struct ButtonState {
    QString objectName;
    bool enabled = false;
};
struct EditModeInputs {
    int hideSelectedCol = 0; // gHideSelectedCol
    bool listOpen = false;   // gRsPLU is open
    int listCount = 0;       // its rows
    bool anyMarked = false;  // CountSelectedPLU
    int gridRow = 0;         // the grid's current row
    int gridRows = 0;        // the grid's rows, header row included
};
QList<ButtonState> editModeButtons(const EditModeInputs& in);
// The same for the editor's state and gRsPLU, with the grid's current row and row count.
QList<ButtonState> SetEditModeButtons(int gridRow, int gridRows);

} // namespace quorvane
