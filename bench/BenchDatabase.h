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
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace quorvane::bench {

// Builds the working database of the program folder afresh from the shipped schema and opens it as the
// shared connection; false, with the reason, when it cannot.
inline bool buildWorkingDatabase(QString* error)
{
    app::CloseDatabase();
    app::SchemaBuildError e;
    if (app::BuildDatabaseFromSchema(QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt"),
                                     app::workingDatabasePath(), 0, &e)
        != app::SchemaBuilt) {
        *error = e.message;
        return false;
    }
    return app::OpenDatabase(error);
}

// Makes the temporary folder the program folder, with its Database and temp folders, and builds and opens
// its working database. Gives the database's path; empty, after saying why, when it cannot.
inline QString openWorkingDatabase(const QTemporaryDir& dir)
{
    QDir(dir.path()).mkpath(QStringLiteral("Database"));
    QDir(dir.path()).mkpath(QStringLiteral("temp"));
    setProgramFolder(dir.path());
    QString error;
    if (!buildWorkingDatabase(&error)) {
        std::fprintf(stderr, "cannot build the database: %s\n", qPrintable(error));
        return QString();
    }
    return app::workingDatabasePath();
}

// Replaces `to` by a copy of the database file `from`, for the shell to work on; a failed copy ends the benchmark.
inline void copyDatabase(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        std::fprintf(stderr, "cannot copy the database for the shell\n");
        std::exit(1);
    }
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
