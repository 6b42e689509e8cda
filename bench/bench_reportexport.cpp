// Exports 100,000 rows of the sales report (all 123 columns, Tab-separated, two price decimals) and, beside
// it, has the sqlite3 shell write the same table as Tab-separated text with CR LF line ends. Prints both
// times and their ratio (target: at most 2).

#include "BenchDatabase.h"
#include "BenchTiming.h"

#include "platform/text/Ansi.h"
#include "reports/ReportColumns.h"
#include "reports/ReportExport.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

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
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
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
    int lines = 0;
    const bench::Timing best = bench::measure(
        [&] {
            try {
                lines = reports::exportReport(exported, request);
            } catch (const Error& e) {
                std::fprintf(stderr, "export failed: %s\n", qPrintable(e.fullText()));
                std::exit(1);
            }
        },
        {QStringLiteral("-batch"), QStringLiteral("-separator"), QStringLiteral("\t"), QStringLiteral("-newline"),
         QStringLiteral("\r\n"), database, QStringLiteral("SELECT * FROM SAT0")},
        shellOut);
    gDBConnection.close();

    std::printf("Report export, %d sales rows of 123 columns, two price decimals: %.3f s (%lld bytes)\n", lines,
                best.ours, qlonglong(QFileInfo(exported).size()));
    std::printf("sqlite3 Tab-separated text of the same table: %.3f s (%lld bytes)\n", best.shell,
                qlonglong(QFileInfo(shellOut).size()));
    std::printf("ratio %.2f (target at most 2.00): %s\n", best.ours / best.shell,
                best.ours / best.shell <= 2.0 ? "met" : "MISSED");
    return 0;
}
