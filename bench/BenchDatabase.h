#pragma once

#include "GenerateData.h"

#include "app/SchemaBuilder.h"
#include "app/WorkingDatabase.h"
#include "platform/text/Ansi.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"
#include "state/TwoLevelReader.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace quorvane::bench {

// A program folder in `dir` whose working database is built from the shipped schema and opened as the shared
// connection; the code page windows-1252. The database's path, empty (said on stderr) when it could not be built.
inline QString openBenchDatabase(const QTemporaryDir& dir)
{
    QDir(dir.path()).mkpath(QStringLiteral("Database"));
    QDir(dir.path()).mkpath(QStringLiteral("temp"));
    setProgramFolder(dir.path());
    const QString database = programPath(QLatin1String(paths::WorkingDatabase));
    if (app::BuildDatabaseFromSchema(QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt"), database, 0)
            != app::SchemaBuilt
        || !app::OpenDatabase()) {
        std::fprintf(stderr, "cannot build the database\n");
        return QString();
    }
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    return database;
}

// The shared data set with every PLU marked for sending, and the item-code definitions of the shipped parameter
// file that sending them reads.
inline void fillMarkedPlus()
{
    generateData(gDBConnection, {});
    markPlusForSending(gDBConnection);
    LoadSectionToCollection(QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/ini/ParameterPLU.ini"),
                            QStringLiteral("Standard"), QStringLiteral("EAN_EDIT"), gParEANEdit);
}

} // namespace quorvane::bench
