#pragma once

#include <QStringList>

namespace quorvane {

// What the transfer window is to do, filled by its caller immediately before the window opens.
enum TransferMode : qint16 {
    TransferSend = 0,   // write the listed files from the marked rows and put them on the scale
    TransferFetch = 1,  // get the listed files and load the last one into its table
    TransferDelete = 2, // delete the listed files on the scale
};

extern qint16 gTransferMode;
// The data-file names of this request, in the order they are written and sent. A caller starts from an
// empty list and clears it again once the window has closed.
extern QStringList gTransferFiles;
// Written by every caller, read by nobody: every scale in use is offered whatever the selection.
extern qint16 gTransferStoreNo;
extern qint16 gTransferSectNo;

// The send-options dialog's flags (transfer/ui/frmDownLoad.h). Not 0: the dialog builds no PLU records; the PLU
// delete commands set it before they show the dialog, which puts it back to 0.
extern quint8 gSkipPLUEncode;
// 1 after the dialog was cancelled (by its frame too), 0 after its OK; its caller goes on only on 0.
extern quint8 gSendCancelled;

} // namespace quorvane
