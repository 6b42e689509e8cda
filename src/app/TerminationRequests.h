#pragma once

#include <QString>

#include <functional>

namespace quorvane::app {

// SIGTERM, SIGHUP and SIGINT (a logout, the system's shutdown, a kill, a closed terminal, Ctrl+C) become requests
// to end the program instead of ending the process on the spot. The signal handler only sets the stop flag
// (platform/events/StopRequest.h), which long work reads between its steps, and writes a byte to a pipe;
// the thread that calls this (the UI thread) reads it in its event loop and calls `onRequest` there, once for
// requests that arrive together. The first call installs the handlers for the rest of the process; a later one
// only replaces `onRequest`. False, with the reason, when the handlers cannot be installed: the signals then keep
// ending the process.
bool watchTerminationRequests(std::function<void()> onRequest, QString* error = nullptr);

} // namespace quorvane::app
