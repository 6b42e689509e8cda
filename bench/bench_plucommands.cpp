// The PLU commands on one store of 100,000 PLUs. Delete all: every row the store's list was loaded with deleted in
// one transaction, then the list loaded again, empty (target: at most 3 times the sqlite3 shell deleting the
// store's rows from a copy of the same database). Prints the best of three and the ratio.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "plu/PluCommands.h"
#include "plu/PluList.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace quorvane;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    bench::generateData(gDBConnection, {.stores = 1});
    // The rows every round starts from, and the shell's own copy of the database.
    const QString rows = dir.filePath(QStringLiteral("rows.db"));
    const QString shellCopy = dir.filePath(QStringLiteral("shell.db"));
    gDBConnection.exec(QStringLiteral("VACUUM INTO ?"), {rows});

    StoreTreeState& tree = gStoreTree();
    tree.gCurNodeKind = PluListKind::Store;
    tree.gCurStoreNo = 1;
    const auto openList = [] { OpenPLUList(PluListKind::Store, 1, 0, 0); };
    const auto prepare = [&] {
        gRsPLU.close();
        db::Transaction tx(gDBConnection);
        gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25"));
        gDBConnection.exec(QStringLiteral("ATTACH DATABASE ? AS kept"), {rows});
        gDBConnection.exec(QStringLiteral("INSERT INTO KVB_25 SELECT * FROM kept.KVB_25"));
        tx.commit();
        gDBConnection.exec(QStringLiteral("DETACH DATABASE kept"));
        openList();
        bench::copyDatabase(rows, shellCopy);
    };
    const bench::Timing best = bench::measure(
        [&] {
            deletePLURows(gRsPLU.rowids());
            openList();
        },
        {shellCopy, QStringLiteral("DELETE FROM KVB_25 WHERE ST_No=1;")}, QProcess::nullDevice(), prepare);
    if (gRsPLU.recordCount() != 0 || gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25")).toInt() != 0) {
        std::fprintf(stderr, "delete all: %d rows left\n", gRsPLU.recordCount());
        return 1;
    }
    const double ratio = best.ours / best.shell;
    std::printf("delete all of 100,000 PLUs: %.3f s; sqlite3 shell: %.3f s; ratio %.2f (target at most 3.00): %s\n",
                best.ours, best.shell, ratio, ratio <= 3.0 ? "met" : "MISSED");
    gRsPLU.close();
    gDBConnection.close();
    return 0;
}
