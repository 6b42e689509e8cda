#include "transfer/ui/RequestTransfer.h"

#include "platform/events/DoEvents.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QPointer>
#include <QWidget>

namespace quorvane {

namespace {

// Gives the caller its input back, however the request ends.
class CallerDisabled {
public:
    explicit CallerDisabled(QWidget* caller) : m_caller(caller) { }
    ~CallerDisabled()
    {
        if (m_caller && m_disabled)
            m_caller->setEnabled(true);
    }
    void disable()
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

std::optional<TransferOutcome> requestTransfer(QWidget* caller, TransferRequest request,
                                               const TransferPreparation& prepare)
{
    CallerDisabled scope(caller);
    if (prepare) {
        const std::optional<QStringList> added = prepare();
        if (!added)
            return std::nullopt;
        request.files += *added;
    }
    DoEvents();
    scope.disable();
    // Without a parent: a window under the disabled caller would be disabled with it.
    frmFTPDataTrans transfer(std::move(request));
    transfer.exec();
    return transfer.outcome();
}

} // namespace quorvane
