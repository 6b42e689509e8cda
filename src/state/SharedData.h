#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace quorvane {

// The one connection to the working database and the shared recordsets opened on it.
extern db::Connection gDBConnection;
extern db::Recordset gRsPLU;      // the PLU list of the main window
extern db::Recordset gRsWork;     // dumps and reloads, tree loading, record builders, import and export
extern db::Recordset gRsReceived; // received PLUs, open only while the review window is shown

} // namespace quorvane
