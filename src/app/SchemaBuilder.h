#pragma once

#include <QString>

namespace quorvane::app {

// Results of BuildDatabaseFromSchema.
enum SchemaBuildResult : unsigned char {
    SchemaBuilt = 0,
    SchemaFileMissing = 1,
    SchemaDatabaseExists = 2, // mode 3 only
    SchemaMalformed = 3,      // see SchemaBuildError::line
    SchemaDatabaseFailed = 4, // a file could not be deleted, created or written
};

struct SchemaBuildError {
    int line = 0; // 1-based line of the schema file, 0 when not tied to a line
    QString message;
};

// Builds an empty database from the schema file under its temporary name and moves it over the database
// path. Mode 0 rebuilds always; mode 3 builds only when the database does not exist yet. A malformed
// schema or a failing file leaves the database path as it was.
unsigned char BuildDatabaseFromSchema(const QString& schemaPath, const QString& databasePath, int mode,
                                      SchemaBuildError* error = nullptr);

// The name a database is built under: its path without the last four characters, then "_.mdb"
// ("Orvo2005_New_.mdb" for the working database).
QString temporaryDatabasePath(const QString& databasePath);

// The first half of a build: the schema's tables in a new database at temporaryDatabasePath(databasePath),
// replacing one an interrupted build left there; nothing else is touched. SchemaBuilt or a failure.
unsigned char buildTemporaryDatabase(const QString& schemaPath, const QString& databasePath,
                                     SchemaBuildError* error = nullptr);

} // namespace quorvane::app
