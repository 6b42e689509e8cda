#pragma once

#include <QString>

namespace quorvane::app {

// What the shared connection was opened on (the working database path).
extern QString gConnectionString;

QString workingDatabasePath();

// Builds the working database afresh from the schema file. The build runs under another name and only a
// finished build takes the working database's place, so a failure leaves every file as it was.
// A working database left behind by a run that did not end normally is never reused or overwritten: it
// is moved aside under a dated name, which `movedAsideTo` receives (empty when there was none).
// `error` receives a complete message for the operator.
bool BuildWorkingDatabase(QString* movedAsideTo, QString* error);

// Opens the shared connection on the working database; never creates the file.
bool OpenDatabase(QString* error = nullptr);

// Closes the shared recordsets that are open, then the connection, and releases the received-PLU recordset.
void CloseDatabase();

bool DeleteWorkingDatabase(QString* error);

} // namespace quorvane::app
