// The PLU list of one store of 100,000 PLUs: the free-number proposal of the copy and new commands with
// PLUs 1 to 100,000 and with one gap, each beside the sqlite3 shell running the same query in the same run.
// Prints the best of three of each and their ratio (target: at most 2).

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "plu/PluTabs.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace quorvane;

namespace {

// Best of three proposals, each beside a run of the shell; returns the ratio.
double compare(const char* what, const QString& database, qint32 expected)
{
    std::optional<qint32> proposed;
    const bench::Timing best = bench::measure(
        [&] { proposed = ProposeFreePLUNumber().number; },
        {database, QStringLiteral(".parameter set ?1 1"), lowestFreePLUNumberQuery()}, QProcess::nullDevice());
    if (proposed != expected) {
        std::fprintf(stderr, "%s: proposed %d, not %d\n", what, proposed.value_or(-1), expected);
        std::exit(1);
    }
    const double ratio = best.ours / best.shell;
    std::printf("free PLU number, %s: %.4f s; sqlite3 shell: %.4f s; ratio %.2f (target at most 2.00): %s\n", what,
                best.ours, best.shell, ratio, ratio <= 2.0 ? "met" : "MISSED");
    return ratio;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    bench::generateData(gDBConnection, {.stores = 1});
    gStoreTree().gCurStoreNo = 1;
    gPluEditor().gHideSelectedCol = 1; // the proposal runs in edit mode

    compare("PLUs 1 to 100,000", database, 100001);
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE ST_No=1 AND PLU_No=?"), {50000});
    compare("one gap at 50,000", database, 50000);
    gDBConnection.close();
    return 0;
}
