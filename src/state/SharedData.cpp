#include "state/SharedData.h"

namespace quorvane {

db::Connection gDBConnection;
db::Recordset gRsPLU{&gDBConnection};
db::Recordset gRsPLU2{&gDBConnection};
db::Recordset gRsWork{&gDBConnection};
db::Recordset gRsReceived{&gDBConnection};

} // namespace quorvane
