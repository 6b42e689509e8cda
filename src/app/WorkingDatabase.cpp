#include "app/WorkingDatabase.h"

#include "app/SchemaBuilder.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvane::app {

QString gConnectionString;

namespace {

// SQLite keeps a cut-short transaction beside the database under these endings; they belong to that file.
const char* const Companions[] = {"-journal", "-wal", "-shm"};

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

QString stagingPath() { return programPath(QStringLiteral("Database/Orvo2005_Build.mdb")); }

// The builder's own temporary name for a database path.
QString builderTempPath(const QString& databasePath)
{
    return databasePath.left(databasePath.size() - 4) + QStringLiteral("_.mdb");
}

void removeWithCompanions(const QString& path)
{
    QFile::remove(path);
    for (const char* c : Companions)
        QFile::remove(path + QLatin1String(c));
}

QString datedName(const QString& path)
{
    const QString stamp = QFileInfo(path).lastModified().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString name = path + QLatin1Char('.') + stamp;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = path + QLatin1Char('.') + stamp + QLatin1Char('_') + QString::number(n);
    return name;
}

// Moves a working database left behind, with whatever SQLite kept beside it, out of the way.
bool moveAside(const QString& path, QString* movedTo, QString* error)
{
    if (!QFileInfo::exists(path)) {
        for (const char* c : Companions) // left without their database: they would be applied to the new one
            QFile::remove(path + QLatin1String(c));
        return true;
    }
    const QString target = datedName(path);
    if (!QFile::rename(path, target)) {
        *error = QStringLiteral("Quorvane cannot start: the working database %1 left behind by an earlier run "
                                "cannot be moved aside.")
                     .arg(native(path));
        return false;
    }
    for (const char* c : Companions)
        if (QFileInfo::exists(path + QLatin1String(c)))
            QFile::rename(path + QLatin1String(c), target + QLatin1String(c));
    *movedTo = target;
    return true;
}

} // namespace

QString workingDatabasePath() { return programPath(QLatin1String(paths::WorkingDatabase)); }

bool BuildWorkingDatabase(QString* movedAsideTo, QString* error)
{
    movedAsideTo->clear();
    const QString schema = programPath(QLatin1String(paths::SchemaFile));
    const QString working = workingDatabasePath();
    const QString staging = stagingPath();
    if (!QFileInfo(schema).isFile()) {
        *error = QStringLiteral("Quorvane cannot start: the schema file %1 does not exist.").arg(native(schema));
        return false;
    }
    removeWithCompanions(staging);
    removeWithCompanions(builderTempPath(staging));

    SchemaBuildError buildError;
    switch (BuildDatabaseFromSchema(schema, staging, 0, &buildError)) {
    case SchemaBuilt:
        break;
    case SchemaMalformed:
        *error = QStringLiteral("Quorvane cannot start: the schema file %1 is malformed at line %2: %3.")
                     .arg(native(schema))
                     .arg(buildError.line)
                     .arg(buildError.message);
        return false;
    default:
        *error = QStringLiteral("Quorvane cannot start: the working database cannot be built from %1: %2")
                     .arg(native(schema), buildError.message);
        return false;
    }
    if (!moveAside(working, movedAsideTo, error)) {
        removeWithCompanions(staging);
        return false;
    }
    if (!QFile::rename(staging, working)) {
        removeWithCompanions(staging);
        *error =
            QStringLiteral("Quorvane cannot start: the working database %1 cannot be created.").arg(native(working));
        return false;
    }
    return true;
}

namespace {

// The fields by which the program looks rows up. Plain indexes, not keys: the program keeps the keys unique
// itself, and an index changes no result, only spares the bar-format resolution, the node lookups, the PLU
// lists and the free-number search a scan.
const QList<QPair<const char*, QStringList>>& lookupKeys()
{
    static const QList<QPair<const char*, QStringList>> keys{
        {"STORE", {"ST_No"}},           {"SECT", {"ST_No", "SECT_No"}},  {"SCALE", {"SC_IP"}},
        {"SEARCH", {"ST_No", "SH_No"}}, {"KVB_14", {"FBar_No"}},         {"KVB_20", {"ST_No", "DP_No"}},
        {"KVB_23", {"ST_No", "MG_No"}}, {"KVB_25", {"ST_No", "PLU_No"}},
    };
    return keys;
}

void createLookupIndexes()
{
    for (const auto& [table, fields] : lookupKeys()) {
        if (!gDBConnection.hasTable(QLatin1String(table)))
            continue;
        // Names come from the list above, never from a file.
        gDBConnection.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS \"lookup_%1\" ON \"%1\" (\"%2\")")
                               .arg(QLatin1String(table), fields.join(QStringLiteral("\",\""))));
    }
}

} // namespace

bool OpenDatabase(QString* error)
{
    gConnectionString = workingDatabasePath();
    if (!gDBConnection.open(gConnectionString, error))
        return false;
    try {
        createLookupIndexes();
    } catch (const db::DbError& e) {
        if (error)
            *error = e.message();
        gDBConnection.close();
        return false;
    }
    return true;
}

void CloseDatabase()
{
    for (db::Recordset* rs : {&gRsWork, &gRsPLU, &gRsPLU2})
        if (rs->state() == 1)
            rs->close();
    if (gDBConnection.state() == 1)
        gDBConnection.close();
    gRsReceived.close();
}

bool DeleteWorkingDatabase(QString* error)
{
    const QString path = workingDatabasePath();
    if (!QFileInfo::exists(path) || QFile::remove(path))
        return true;
    *error = QStringLiteral("The working database %1 cannot be deleted.").arg(native(path));
    return false;
}

} // namespace quorvane::app
