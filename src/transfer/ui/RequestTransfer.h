#pragma once

#include <QStringList>

#include <functional>

class QWidget;

namespace quorvane {

// One transfer request, the way every caller makes it: fills the request (store and section from the current
// selection, the mode, the files in their order), runs the caller's `prepare` step when it has one (the
// send-options dialog: it may append names to gTransferFiles, or return false to cancel), pumps events once, and
// shows the transfer window modally. The calling window is disabled from before the transfer window is built
// (its writers pump events while it loads) until it has closed. gTransferFiles is empty again afterwards, also
// after a cancel or a failure; an exception of the step or the window goes on to the caller once that is done.
// True when the transfer window was shown.
bool requestTransfer(QWidget* caller, qint16 mode, const QStringList& files, const std::function<bool()>& prepare = {});

} // namespace quorvane
