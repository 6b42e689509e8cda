#pragma once

namespace quorvane::app {

// From now on a termination request (SIGTERM, SIGHUP, SIGINT) ends the program as closing the main window does, but
// asks nothing: a transfer under way is ended as failed, the modal windows and menus open at that moment are closed
// as Cancel would close them, and once the program's own event loop is idle the closing window runs unattended.
// Edits not saved yet are left as No to the save question would leave them. A request while the exit is under way
// changes nothing. Called once the main window is up.
void endOnTerminationRequests();

} // namespace quorvane::app
