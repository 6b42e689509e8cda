#pragma once

#include "transfer/TransferRequest.h"

#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace quorvane {

// The step a caller may run before the transfer window: the names it adds to the request's files (the send-options
// dialog's), or none to cancel the request.
using TransferPreparation = std::function<std::optional<QStringList>()>;

// One transfer request, the way every caller makes it: runs the caller's `prepare` step when it has one, pumps
// events once, and shows the transfer window on the request modally. The calling window is disabled from before the
// transfer window is built (its writers pump events while it loads) until it has closed; an exception of the step
// or the window goes on to the caller once that is done. The outcome once the window has closed; none when the step
// cancelled the request and no window was shown.
std::optional<TransferOutcome> requestTransfer(QWidget* caller, TransferRequest request,
                                               const TransferPreparation& prepare = {});

} // namespace quorvane
