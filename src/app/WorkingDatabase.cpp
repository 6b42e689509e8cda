#include "app/WorkingDatabase.h"

#include "app/SchemaBuilder.h"
#include "platform/text/FileWriter.h"
#include "platform/text/Paths.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvane::app {

namespace {

// SQLite keeps a cut-short transaction beside the database under these endings; they belong to that file.
const char* const Companions[] = {"-journal", "-wal", "-shm"};

void removeWithCompanions(const QString& path)
{
    QFile::remove(path);
    for (const char* c : Companions)
        QFile::remove(path + QLatin1String(c));
}

// Renames a database with whatever SQLite kept beside it.
bool renameWithCompanions(const QString& from, const QString& to)
{
    if (!QFile::rename(from, to))
        return false;
    for (const char* c : Companions)
        if (QFileInfo::exists(from + QLatin1String(c)))
            QFile::rename(from + QLatin1String(c), to + QLatin1String(c));
    return true;
}

// Moves a working database left behind, with whatever SQLite kept beside it, out of the way.
bool moveAside(const QString& path, QString* movedTo, QString* error)
{
    if (!QFileInfo::exists(path)) {
        for (const char* c : Companions) // left without their database: they would be applied to the new one
            QFile::remove(path + QLatin1String(c));
        return true;
    }
    const QString target = text::datedSiblingName(path);
    if (!renameWithCompanions(path, target)) {
        *error = QStringLiteral("Quorvane cannot start: the working database %1 left behind by an earlier run "
                                "cannot be moved aside.")
                     .arg(text::nativePath(path));
        return false;
    }
    *movedTo = target;
    return true;
}

const QLatin1String KeptEnding(".kept");

// The files that mark kept databases, as "Orvo2005_New.mdb.<date>.kept".
QFileInfoList keptMarkers()
{
    const QFileInfo working(workingDatabasePath());
    return QDir(working.absolutePath())
        .entryInfoList({working.fileName() + QStringLiteral(".*") + KeptEnding}, QDir::Files | QDir::Hidden);
}

} // namespace

QString workingDatabasePath() { return programPath(QLatin1String(paths::WorkingDatabase)); }

bool BuildWorkingDatabase(QString* movedAsideTo, QString* error)
{
    movedAsideTo->clear();
    const QString schema = programPath(QLatin1String(paths::SchemaFile));
    const QString working = workingDatabasePath();
    if (!QFileInfo(schema).isFile()) {
        *error =
            QStringLiteral("Quorvane cannot start: the schema file %1 does not exist.").arg(text::nativePath(schema));
        return false;
    }
    // Built under its own name first, so a failed build leaves whatever working database is there.
    const QString built = temporaryDatabasePath(working);
    removeWithCompanions(built);
    SchemaBuildError buildError;
    switch (buildTemporaryDatabase(schema, working, &buildError)) {
    case SchemaBuilt:
        break;
    case SchemaMalformed:
        *error = QStringLiteral("Quorvane cannot start: the schema file %1 is malformed at line %2: %3.")
                     .arg(text::nativePath(schema))
                     .arg(buildError.line)
                     .arg(buildError.message);
        return false;
    default:
        *error = QStringLiteral("Quorvane cannot start: the working database cannot be built from %1: %2")
                     .arg(text::nativePath(schema), buildError.message);
        return false;
    }
    if (!moveAside(working, movedAsideTo, error)) {
        removeWithCompanions(built);
        return false;
    }
    if (!QFile::rename(built, working)) {
        removeWithCompanions(built);
        *error = QStringLiteral("Quorvane cannot start: the working database %1 cannot be created.")
                     .arg(text::nativePath(working));
        return false;
    }
    return true;
}

QString keepWorkingDatabase()
{
    const QString working = workingDatabasePath();
    const QString kept = text::datedSiblingName(working);
    if (!text::writeFileAtomically(kept + KeptEnding, QByteArray()))
        return working;
    if (renameWithCompanions(working, kept))
        return kept;
    QFile::remove(kept + KeptEnding);
    return working;
}

std::optional<KeptDatabase> keptWorkingDatabase()
{
    std::optional<KeptDatabase> newest;
    for (const QFileInfo& marker : keptMarkers()) {
        const QString path = marker.filePath().chopped(KeptEnding.size());
        if (QFileInfo(path).isFile() && (!newest || marker.lastModified() > newest->keptAt))
            newest = KeptDatabase{path, marker.lastModified()};
    }
    return newest;
}

void forgetKeptDatabases()
{
    for (const QFileInfo& marker : keptMarkers())
        QFile::remove(marker.filePath());
}

bool adoptKeptDatabase(const KeptDatabase& kept, QString* movedAsideTo, QString* error)
{
    movedAsideTo->clear();
    const QString working = workingDatabasePath();
    if (!moveAside(working, movedAsideTo, error))
        return false;
    if (renameWithCompanions(kept.path, working))
        return true;
    *error = QStringLiteral("%1 cannot be renamed to %2.").arg(text::nativePath(kept.path), text::nativePath(working));
    return false;
}

void giveBackKeptDatabase(const KeptDatabase& kept) { renameWithCompanions(workingDatabasePath(), kept.path); }

namespace {

// The fields by which the program looks rows up. Plain indexes, not keys: the program keeps the keys unique
// itself, and an index changes no result, only spares the bar-format resolution, the node lookups, the PLU
// lists and the free-number search a scan.
const QList<QPair<const char*, QStringList>>& lookupKeys()
{
    static const QList<QPair<const char*, QStringList>> keys{
        {"STORE", {QStringLiteral("ST_No")}},
        {"SECT", {QStringLiteral("ST_No"), QStringLiteral("SECT_No")}},
        {"SCALE", {QStringLiteral("SC_IP")}},
        {"SEARCH", {QStringLiteral("ST_No"), QStringLiteral("SH_No")}},
        {"KVB_14", {QStringLiteral("FBar_No")}},
        {"KVB_20", {QStringLiteral("ST_No"), QStringLiteral("DP_No")}},
        {"KVB_23", {QStringLiteral("ST_No"), QStringLiteral("MG_No")}},
        {"KVB_25", {QStringLiteral("ST_No"), QStringLiteral("PLU_No")}},
        {"KVB_41", {QStringLiteral("Scale_IP"), QStringLiteral("PSK_Layout"), QStringLiteral("Number")}},
        {"KVB_3A", {QStringLiteral("No")}},
        {"KVB_3B", {QStringLiteral("No")}},
        {"KVB_3C", {QStringLiteral("No")}},
        {"KVB_3D", {QStringLiteral("No")}},
        {"KVB_AA", {QStringLiteral("Number")}},
        {"KVB_AB", {QStringLiteral("Number")}},
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
    if (!gDBConnection.open(workingDatabasePath(), error))
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
    for (db::Recordset* rs : {&gRsWork, &gRsPLU})
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
    *error = QStringLiteral("The working database %1 cannot be deleted.").arg(text::nativePath(path));
    return false;
}

} // namespace quorvane::app
