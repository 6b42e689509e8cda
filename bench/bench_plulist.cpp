// The PLU list of one store of 100,000 PLUs: the free-number proposal of the copy and new commands with
// PLUs 1 to 100,000 and with one gap, each beside the sqlite3 shell running the same query in the same run.
// Prints the best of three of each and their ratio (target: at most 2).

#include "BenchTiming.h"
#include "GenerateData.h"

#include "app/SchemaBuilder.h"
#include "app/WorkingDatabase.h"
#include "plu/PluTabs.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using quorvane::bench::seconds;

using namespace quorvane;

namespace {

// Best of three proposals, each beside a run of the shell; returns the ratio.
double compare(const char* what, const QString& database, qint32 expected)
{
    double best = 1e9, bestShell = 1e9;
    std::optional<qint32> proposed;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        proposed = ProposeFreePLUNumber().number;
        best = qMin(best, seconds(t));

        QProcess shell;
        shell.setStandardOutputFile(QProcess::nullDevice());
        t.start();
        shell.start(QStringLiteral("sqlite3"),
                    {database, QStringLiteral(".parameter set ?1 1"), lowestFreePLUNumberQuery()});
        if (!shell.waitForFinished(120000) || shell.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 failed: %s\n", qPrintable(shell.errorString()));
            std::exit(1);
        }
        bestShell = qMin(bestShell, seconds(t));
    }
    if (proposed != expected) {
        std::fprintf(stderr, "%s: proposed %d, not %d\n", what, proposed.value_or(-1), expected);
        std::exit(1);
    }
    const double ratio = best / bestShell;
    std::printf("free PLU number, %s: %.4f s; sqlite3 shell: %.4f s; ratio %.2f (target at most 2.00): %s\n", what,
                best, bestShell, ratio, ratio <= 2.0 ? "met" : "MISSED");
    return ratio;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Database");
    setProgramFolder(dir.path());
    const QString database = programPath(QLatin1String(paths::WorkingDatabase));
    if (app::BuildDatabaseFromSchema(QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt"), database, 0)
            != app::SchemaBuilt
        || !app::OpenDatabase()) {
        std::fprintf(stderr, "cannot build the database\n");
        return 1;
    }
    bench::generateData(gDBConnection, {.stores = 1});
    gStoreTree().gCurStoreNo = 1;
    gPluEditor().gHideSelectedCol = 1; // the proposal runs in edit mode

    compare("PLUs 1 to 100,000", database, 100001);
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE ST_No=1 AND PLU_No=?"), {50000});
    compare("one gap at 50,000", database, 50000);
    gDBConnection.close();
    return 0;
}
