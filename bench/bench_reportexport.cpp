// Exports 100,000 rows of the sales report (all 123 columns, Tab-separated, two price decimals) and, beside
// it, has the sqlite3 shell write the same table as Tab-separated text with CR LF line ends. Prints both
// times and their ratio (target: at most 2).

#include "BenchTiming.h"

#include "app/SchemaBuilder.h"
#include "app/WorkingDatabase.h"
#include "platform/text/Ansi.h"
#include "reports/ReportColumns.h"
#include "reports/ReportExport.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using quorvane::bench::seconds;

using namespace quorvane;

namespace {

constexpr int kRows = 100000;

// Report values as a scale sends them: counts, amounts and weights of up to seven digits, a tenth of the
// amounts of the last column negative (returns).
void fill()
{
    const QStringList fields = reports::reportFieldNames(QStringLiteral("SAT0"));
    QStringList values;
    for (int k = 0; k < fields.size(); ++k)
        values << QStringLiteral("CAST(%1(r * %2 + %3) % %4 AS TEXT)")
                      .arg(k == fields.size() - 1 ? QStringLiteral("(CASE WHEN r % 10 = 0 THEN -1 ELSE 1 END) * ")
                                                  : QString())
                      .arg(31 + k)
                      .arg(k * 7)
                      .arg(k % 3 == 0 ? 100 : 10000000);
    db::Transaction tx(gDBConnection);
    gDBConnection.exec(QStringLiteral("WITH RECURSIVE n(r) AS (SELECT 1 UNION ALL SELECT r + 1 FROM n WHERE r < %1) "
                                      "INSERT INTO SAT0 SELECT %2 FROM n")
                           .arg(kRows)
                           .arg(values.join(QLatin1Char(','))));
    tx.commit();
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
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    fill();

    const reports::ExportRequest request{QStringLiteral("SAT0"),
                                         reports::reportFieldNames(QStringLiteral("SAT0")),
                                         false,
                                         '\t',
                                         {2, 3, QStringLiteral(".")}};
    const QString exported = dir.filePath("export.txt");
    const QString shellOut = dir.filePath("shell.txt");

    // Best of three exports, each beside a run of the shell.
    double best = 1e9, bestShell = 1e9;
    int lines = 0;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        try {
            lines = reports::exportReport(exported, request);
        } catch (const Error& e) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(e.fullText()));
            return 1;
        }
        best = qMin(best, seconds(t));

        QProcess shell;
        shell.setStandardOutputFile(shellOut);
        t.start();
        shell.start(QStringLiteral("sqlite3"),
                    {QStringLiteral("-batch"), QStringLiteral("-separator"), QStringLiteral("\t"),
                     QStringLiteral("-newline"), QStringLiteral("\r\n"), database,
                     QStringLiteral("SELECT * FROM SAT0")});
        if (!shell.waitForFinished(120000) || shell.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 failed: %s\n", qPrintable(shell.errorString()));
            return 1;
        }
        bestShell = qMin(bestShell, seconds(t));
    }
    gDBConnection.close();

    std::printf("Report export, %d sales rows of 123 columns, two price decimals: %.3f s (%lld bytes)\n", lines, best,
                qlonglong(QFileInfo(exported).size()));
    std::printf("sqlite3 Tab-separated text of the same table: %.3f s (%lld bytes)\n", bestShell,
                qlonglong(QFileInfo(shellOut).size()));
    std::printf("ratio %.2f (target at most 2.00): %s\n", best / bestShell, best / bestShell <= 2.0 ? "met" : "MISSED");
    return 0;
}
