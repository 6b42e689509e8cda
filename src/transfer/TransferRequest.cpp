#include "transfer/TransferRequest.h"

namespace quorvane {

qint16 gTransferMode = TransferSend;
QStringList gTransferFiles;
qint16 gTransferStoreNo = 0;
qint16 gTransferSectNo = 0;
quint8 gSkipPLUEncode = 0;
quint8 gSendCancelled = 0;

} // namespace quorvane
