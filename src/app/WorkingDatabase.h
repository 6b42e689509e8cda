#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace quorvane::app {

QString workingDatabasePath();

// Builds the working database afresh from the schema file. The build runs under another name and only a
// finished build takes the working database's place, so a failure leaves every file as it was.
// A working database left behind by a run that did not end normally is never reused or overwritten: it
// is moved aside under a dated name, which `movedAsideTo` receives (empty when there was none).
// `error` receives a complete message for the operator.
bool BuildWorkingDatabase(QString* movedAsideTo, QString* error);

// After an exit that could not save the data: the working database, with the work of the run, is moved under a
// dated name beside it, and an empty file of that name followed by ".kept" tells the next start to offer it back
// (neither takes space on a full disk). Returns where it is kept: the working database's own path when it could not
// be moved, as a database left by a crash.
QString keepWorkingDatabase();

struct KeptDatabase {
    QString path;
    QDateTime keptAt;
};
// The newest database an exit kept that is still to be offered back.
std::optional<KeptDatabase> keptWorkingDatabase();
// Offers none of the kept databases again; they stay where they are.
void forgetKeptDatabases();
// Makes the kept database the working one, after a working database left behind is moved aside (`movedAsideTo`,
// as for BuildWorkingDatabase). False, with a message for the operator, when it stays where it is.
bool adoptKeptDatabase(const KeptDatabase& kept, QString* movedAsideTo, QString* error);
// Puts the adopted database back where it was kept (after it could not be opened or the start failed).
void giveBackKeptDatabase(const KeptDatabase& kept);

// Opens the shared connection on the working database; never creates the file.
bool OpenDatabase(QString* error = nullptr);

// Closes the shared recordsets that are open, then the connection, and releases the received-PLU recordset.
void CloseDatabase();

bool DeleteWorkingDatabase(QString* error);

} // namespace quorvane::app
