#include "transfer/ui/RequestTransfer.h"

#include "platform/events/DoEvents.h"
#include "state/StoreTreeState.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QPointer>
#include <QWidget>

namespace quorvane {

namespace {

// Gives the list back empty and the caller its input, however the request ends.
class RequestScope {
public:
    explicit RequestScope(QWidget* caller) : m_caller(caller) { }
    ~RequestScope()
    {
        gTransferFiles.clear();
        if (m_caller && m_disabled)
            m_caller->setEnabled(true);
    }
    void disableCaller()
    {
        if (m_caller && m_caller->isEnabled()) {
            m_caller->setEnabled(false);
            m_disabled = true;
        }
    }

private:
    QPointer<QWidget> m_caller;
    bool m_disabled = false;
};

} // namespace

bool requestTransfer(QWidget* caller, qint16 mode, const QStringList& files, const std::function<bool()>& prepare)
{
    RequestScope scope(caller);
    const StoreTreeState& tree = gStoreTree();
    gTransferStoreNo = tree.gCurStoreNo;
    gTransferSectNo = tree.gCurSectNo;
    gTransferMode = mode;
    gTransferFiles = files;
    if (prepare && !prepare())
        return false;
    DoEvents();
    scope.disableCaller();
    // Without a parent: a window under the disabled caller would be disabled with it.
    frmFTPDataTrans transfer;
    transfer.exec();
    return true;
}

} // namespace quorvane
