#include "state/SharedData.h"

namespace quorvane {

db::Connection gDBConnection;
db::Recordset gRsPLU{&gDBConnection};
db::Recordset gRsWork{&gDBConnection};
db::Recordset gRsReceived{&gDBConnection};

} // namespace quorvane
