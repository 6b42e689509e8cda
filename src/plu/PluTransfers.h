#pragma once

#include "transfer/TransferRequest.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

class PluEditorHost;

// The PLU transfers of the main window: the PLU shown or the marked PLUs sent to a scale, the PLU file deleted on a
// scale, PLUs fetched from a scale for review. The window half answers through these seams.
struct PluTransferSeams {
    // The transfer request, with the send-options dialog first when `sendOptions`: requestTransfer with
    // frmDownLoad::askSendOptions as its prepare step. Its outcome; none when the transfer window was not shown.
    std::function<std::optional<TransferOutcome>(const TransferRequest& request, bool sendOptions)> transfer;
    // The review window over the received PLUs, shown modally with the main window disabled (fetch only).
    std::function<void()> review;
    // A message with the exclamation icon: the gLangMsg key of its first line, and its text.
    std::function<void(const QString& key, const QString& text)> warn;
};

// The data file of every PLU transfer.
QString pluDataFileName();

// Send the PLU shown (cmdDownload). No question first; the checks of a save run instead: a number of 1 to 999999, one
// the store does not use, boxes that read as numbers; a failure writes, marks and sends nothing (false). Then the
// editor is written into its row (a new PLU appended) and the row marked, in one transaction; its scale record is
// built (one that cannot be is named under pluRecordKept and the send goes on with the row's fields); the
// transfer with the send options. Afterwards, whatever happened, the row's mark is cleared, gPLUChanged := 0 and
// the list reloaded (which drops every mark of the list) and the buttons set. True when the transfer was
// requested. Database failures throw db::DbError (a mark not seen: dbWriteErr, nothing sent).
bool SendCurrentPLU(PluEditorHost& host, const PluTransferSeams& seams);

// Send the marked PLUs (cmdSendAll, menuDownload): the save question, then the transfer with the send options.
// The marks stay. False when the question was cancelled.
bool SendMarkedPLUs(PluEditorHost& host, const PluTransferSeams& seams);

// Delete the PLU file on a scale (cmdDel, menuDeletePlu): the save question, then the delete with the send options
// (they build no records). No mark is read or changed. False when the question was cancelled.
bool DeletePLUsOnScale(PluEditorHost& host, const PluTransferSeams& seams);

// Fetch PLUs from a scale (cmdUpload, menuUpload): the save question; RC_25 emptied; the fetch, each received line
// held to receivedLineCheck; the lines it left out named in one message (receivedLinesLeftOut); when rows came the
// review, then the send marks of every store cleared and the list reloaded. RC_25 is empty afterwards whatever
// happened. Returns whether rows came (false also when the question was cancelled).
bool FetchPLUs(PluEditorHost& host, const PluTransferSeams& seams);

} // namespace quorvane
