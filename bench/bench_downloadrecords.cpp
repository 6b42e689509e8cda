// The send-options dialog's record-building pass over 100,000 marked PLUs and, beside it, the sqlite3 shell running
// one UPDATE per row, in one transaction, that writes the record the pass built into KVBBinData by rowid. Prints both
// times and their ratio (target: at most 2).

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "settings/TextCollections.h"
#include "state/SharedData.h"
#include "state/TwoLevelReader.h"
#include "transfer/SendOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using quorvane::bench::seconds;

using namespace quorvane;

namespace {

void forgetRecords() { gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET KVBBinData = NULL")); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    if (database.isEmpty())
        return 1;
    bench::fillMarkedPlus();

    // Best of three passes, each on rows without records.
    double best = 1e9;
    PluRecordPass pass;
    for (int round = 0; round < 3; ++round) {
        forgetRecords();
        QElapsedTimer t;
        t.start();
        pass = EncodeMarkedPluRecords();
        best = qMin(best, seconds(t));
    }

    // The shell writes the same records, one UPDATE a row in one transaction.
    const QString script = dir.filePath(QStringLiteral("update.sql"));
    {
        QFile out(script);
        if (!out.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write the script\n");
            return 1;
        }
        out.write("BEGIN;\n");
        db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT rowid, hex(KVBBinData) FROM KVB_25"));
        while (st.step())
            out.write("UPDATE KVB_25 SET KVBBinData = X'" + st.column(1).toString().toLatin1()
                      + "' WHERE rowid = " + QByteArray::number(st.columnInt(0)) + ";\n");
        out.write("COMMIT;\n");
    }
    double bestShell = 1e9;
    for (int round = 0; round < 3; ++round) {
        forgetRecords();
        QProcess shell;
        shell.setStandardInputFile(script);
        QElapsedTimer t;
        t.start();
        shell.start(QStringLiteral("sqlite3"), {database});
        if (!shell.waitForFinished(300000) || shell.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 failed: %s %s\n", qPrintable(shell.errorString()),
                         shell.readAllStandardError().constData());
            return 1;
        }
        bestShell = qMin(bestShell, seconds(t));
    }
    gDBConnection.close();

    std::printf("Record-building pass, 100,000 marked PLUs, a tenth inheriting their bar format: %.3f s "
                "(%d built, %lld kept)\n",
                best, pass.built, qlonglong(pass.kept.size()));
    std::printf("sqlite3, one UPDATE of KVBBinData a row in one transaction: %.3f s\n", bestShell);
    std::printf("ratio %.2f (target at most 2.00): %s\n", best / bestShell, best / bestShell <= 2.0 ? "met" : "MISSED");
    return 0;
}
