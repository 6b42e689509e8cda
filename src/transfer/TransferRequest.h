#pragma once

#include "datafiles/ReceivedPluLoader.h"

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

// A fetch of received PLUs: the check each line must pass to be loaded, set by the caller with the request (none:
// every line that reads is loaded); and the lines the window's sessions left out, for the caller to name once the
// window has closed. The caller clears both afterwards.
extern datafiles::ReceivedLineCheck gReceivedLineCheck;
extern text::LinesLeftOut gReceivedLinesLeftOut;

// The send-options dialog's flags (transfer/ui/frmDownLoad.h). Not 0: the dialog builds no PLU records; the PLU
// delete commands set it before they show the dialog, which puts it back to 0.
extern quint8 gSkipPLUEncode;
// 1 after the dialog was cancelled (by its frame too), 0 after its OK; its caller goes on only on 0.
extern quint8 gSendCancelled;

} // namespace quorvane
