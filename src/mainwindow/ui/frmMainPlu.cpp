// The main window's handlers of the PLU grid, the editor's tab strip and its controls: each hands the window to the
// PLU list and editor, which find their controls on it by objectName.

#include "mainwindow/ui/frmMain.h"
#include "plu/ui/PluHost.h"

namespace quorvane {

void frmMain::MSHFlexGridPLU_Click() { plu::MSHFlexGridPLU_Click(this); }
void frmMain::SSTabPLU_Click() { plu::SSTabPLU_Click(this); }
void frmMain::chkWeighed_Click() { plu::chkWeighed_Click(this); }
void frmMain::combMemDiscType_Click() { plu::combMemDiscType_Click(this); }
void frmMain::combDiscType_Click() { plu::combDiscType_Click(this); }
void frmMain::combBarcodeFormat_Click() { plu::combBarcodeFormat_Click(this); }

} // namespace quorvane
