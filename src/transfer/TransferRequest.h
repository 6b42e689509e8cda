#pragma once

#include "datafiles/ReceivedPluLoader.h"

#include <QStringList>

namespace quorvane {

enum TransferMode : qint16 {
    TransferSend = 0,   // write the listed files from the marked rows and put them on the scale
    TransferFetch = 1,  // get the listed files and load the last one into its table
    TransferDelete = 2, // delete the listed files on the scale
};

// What the transfer window is to do, handed to it by its caller (transfer/ui/RequestTransfer.h). Every scale in use is
// offered, whatever the caller's selection.
struct TransferRequest {
    TransferMode mode = TransferSend;
    // The data-file names, in the order they are written and sent.
    QStringList files;
    // A fetch of received PLUs: the check each line must pass to be loaded; none: every line that reads is loaded.
    datafiles::ReceivedLineCheck lineCheck = {};
};

// What came of a request, for its caller once the transfer window has closed.
struct TransferOutcome {
    // The lines of a fetched PLU file that the window's sessions left out.
    text::LinesLeftOut linesLeftOut;
};

} // namespace quorvane
