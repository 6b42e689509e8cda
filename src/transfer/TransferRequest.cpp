#include "transfer/TransferRequest.h"

#include "platform/StateReset.h"

namespace quorvane {

qint16 gTransferMode = TransferSend;
QStringList gTransferFiles;
qint16 gTransferStoreNo = 0;
qint16 gTransferSectNo = 0;
datafiles::ReceivedLineCheck gReceivedLineCheck;
text::LinesLeftOut gReceivedLinesLeftOut;
quint8 gSkipPLUEncode = 0;
quint8 gSendCancelled = 0;

namespace {

void resetTransferRequest()
{
    gTransferMode = TransferSend;
    gTransferFiles.clear();
    gTransferStoreNo = 0;
    gTransferSectNo = 0;
    gReceivedLineCheck = nullptr;
    gReceivedLinesLeftOut = {};
    gSkipPLUEncode = 0;
    gSendCancelled = 0;
}

// Whatever uses the request links this file, so a reset of the program state reaches it.
const ResetWithState kResetTransferRequest(&resetTransferRequest);

} // namespace

} // namespace quorvane
