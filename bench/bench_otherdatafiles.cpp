// Writes "ING0UALL.csv" for 100,000 marked ingredient texts of 15 lines and "SCH0UALL.csv" for 100,000
// marked discount schedules, then the exit's record dumps of both tables with every tenth record missing (the
// dump builds them) and, beside each, has the sqlite3 shell export the same rows' fields and their records in
// hexadecimal as CSV. Prints the times and their ratios (target: at most 2).

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "OtherFilesData.h"

#include "datafiles/OtherDataFiles.h"
#include "platform/text/Ansi.h"
#include "records/ScaleRecordDumps.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace quorvane;

namespace {

// Best of three runs of the writer, each beside the shell exporting `sql` as CSV; `prepare` runs untimed before
// each.
bench::Timing measure(const std::function<void()>& writer, const QString& database, const QString& sql,
                      const QString& shellOut, const std::function<void()>& prepare = {})
{
    return bench::measure(writer, {QStringLiteral("-csv"), database, sql}, shellOut, prepare);
}

void report(const char* what, const bench::Timing& t, const QString& file, const QString& shellOut)
{
    std::printf("%s: %.3f s (%lld bytes)\n", what, t.ours, qlonglong(QFileInfo(file).size()));
    std::printf("  sqlite3 -csv of the same rows' fields and hex(KVBBinData): %.3f s (%lld bytes)\n", t.shell,
                qlonglong(QFileInfo(shellOut).size()));
    std::printf("  ratio %.2f (target at most 2.00): %s\n", t.ours / t.shell,
                t.ours / t.shell <= 2.0 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    bench::fillOtherFiles();
    const QString shellOut = dir.filePath("shell.csv");

    const bench::Timing texts = measure(
        [] { datafiles::TransStrFTPfile(1, 15); }, database,
        QStringLiteral("SELECT No, NextNo, hex(KVBBinData) FROM KVB_3A WHERE Is_Selected = 1"), shellOut);
    report("ING0UALL.csv, 100,000 marked texts of 15 lines", texts, dir.filePath("temp/ING0UALL.csv"), shellOut);

    const bench::Timing schedules = measure(
        &datafiles::TransDSFTPfile, database,
        QStringLiteral("SELECT Number, Disc_SDate, Disc_STime, Disc_EDate, Disc_ETime, Disc_LimitType, "
                       "Disc_1stLim, Disc_Within1stL, Disc_2ndLim, Disc_Within2ndL, Disc_Type, DisDayOfWeek, "
                       "NextNumber, hex(KVBBinData) FROM KVB_AA WHERE Is_Selected = 1"),
        shellOut);
    report("SCH0UALL.csv, 100,000 marked discount schedules", schedules, dir.filePath("temp/SCH0UALL.csv"), shellOut);

    const QString dumps = dir.filePath("AccessData");
    QDir().mkpath(dumps);
    const bench::Timing exitDump = measure(
        [&dumps] {
            QStringList warnings;
            QString error;
            if (!records::SaveBinDataToFiles(dumps, QString(), &warnings, &error) || !warnings.isEmpty()) {
                std::fprintf(stderr, "the exit dump failed: %s%s\n", qPrintable(error),
                             qPrintable(warnings.join('\n')));
                std::exit(1);
            }
        },
        database,
        QStringLiteral("SELECT No, NextNo, NameFirstLine, hex(Name), hex(KVBBinData) FROM KVB_3A; "
                       "SELECT Number, Disc_SDate, Disc_STime, Disc_EDate, Disc_ETime, Disc_LimitType, "
                       "Disc_1stLim, Disc_Within1stL, Disc_2ndLim, Disc_Within2ndL, Disc_Type, DisDayOfWeek, "
                       "NextNumber, hex(KVBBinData) FROM KVB_AA"),
        shellOut,
        [] {
            // Every tenth record missing, for the dump to build.
            db::Transaction tx(gDBConnection);
            gDBConnection.exec(QStringLiteral("UPDATE KVB_3A SET KVBBinData = NULL WHERE No % 10 = 0"));
            gDBConnection.exec(QStringLiteral("UPDATE KVB_AA SET KVBBinData = NULL WHERE Number % 10 = 0"));
            tx.commit();
        });
    report("Exit dump of both tables, every tenth record built", exitDump,
           dumps + QStringLiteral("/tempingfilekvb.txt"), shellOut);
    std::printf("  (%lld bytes of discount schedule records)\n",
                qlonglong(QFileInfo(dumps + QStringLiteral("/tempdiscschefilekvb.txt")).size()));
    gDBConnection.close();
    return 0;
}
