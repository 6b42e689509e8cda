// The PLU export and import on one store of 100,000 PLUs, each beside the sqlite3 shell doing the same in the same
// run (best of three of each):
// - export of eight columns, comma-separated; the shell writes the same columns (the name's first line as its own
//   field) as CSV. Target: at most 2.
// - import of that file into a new store 2, Blank for the store; the shell .imports it as CSV into a temporary
//   table and inserts it into KVB_25 in one transaction. Target: at most 3.
// - the same import again with chkPLU ticked (100,000 replaced); the shell also deletes the older rows. Target:
//   at most 3.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "platform/text/Ansi.h"
#include "reports/PluExport.h"
#include "reports/PluImport.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace quorvane;

namespace {

constexpr int kPlus = 100000;

// Names as one-line text blocks, and a tare, an item code and a tax number on every PLU.
void completePlus()
{
    db::Transaction tx(gDBConnection);
    gDBConnection.exec(QStringLiteral(
        "UPDATE KVB_25 SET PLU_Commodity=CAST(char(1, length(PLU_CommodityFirst)) || PLU_CommodityFirst || char(12) "
        "AS BLOB), Stat2_Commodity=1, PLU_Tare=PLU_No % 1000, Stat2_PLUTare=1, "
        "PLU_EANItemCode=printf('%05d', PLU_No % 100000), Stat2_ItemCode=1, PLU_TaxNo=PLU_No % 10, Stat2_TaxNo=1"));
    gDBConnection.exec(QStringLiteral("INSERT INTO STORE (ST_No, ST_Name, Flag1, Flag2, barformat) "
                                      "VALUES (2, 'Store 2', 2, 0, 0)"));
    tx.commit();
}

void expectPlus(int store, int count)
{
    const int held = gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25 WHERE ST_No=?"), {store}).toInt();
    if (held != count) {
        std::fprintf(stderr, "store %d holds %d PLUs, not %d\n", store, held, count);
        std::exit(1);
    }
}

void report(const char* what, const bench::Timing& t, double target)
{
    const double ratio = t.ours / t.shell;
    std::printf("%s: %.3f s (first %.3f s); sqlite3 shell: %.3f s; ratio %.2f (target at most %.2f): %s\n", what,
                t.ours, t.first, t.shell, ratio, target, ratio <= target ? "met" : "MISSED");
}

template<class F> auto orExit(const char* what, F&& work)
{
    try {
        return work();
    } catch (const Error& e) {
        std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(e.fullText()));
        std::exit(1);
    }
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
    bench::generateData(gDBConnection, {.stores = 1, .plus = kPlus});
    completePlus();

    const reports::ValueFormat format{2, 3, QStringLiteral(".")};
    const QStringList columns{"PLU_No",     "ST_No",    "PLU_MG",          "PLU_Commodity",
                              "PLU_UPrice", "PLU_Tare", "PLU_EANItemCode", "PLU_TaxNo"};
    const QString exported = dir.filePath(QStringLiteral("export.csv"));
    int lines = 0;
    const bench::Timing exportTime = bench::measure(
        [&] { lines = orExit("export", [&] {
                  return reports::exportPlus(exported, {columns, ',', false, format});
              }); },
        {QStringLiteral("-batch"), QStringLiteral("-csv"), QStringLiteral("-newline"), QStringLiteral("\r\n"), database,
         QStringLiteral("SELECT PLU_No, ST_No, PLU_MG, PLU_CommodityFirst, PLU_UPrice, PLU_Tare, PLU_EANItemCode, "
                        "PLU_TaxNo FROM KVB_25 ORDER BY rowid")},
        dir.filePath(QStringLiteral("shell.csv")));
    if (lines != kPlus) {
        std::fprintf(stderr, "exported %d lines, not %d\n", lines, kPlus);
        return 1;
    }

    // Both imports: ours reads the exported file; the shell, on a copy of the database taken before each round,
    // reads the same file and converts the decimal columns back to whole numbers.
    QStringList importColumns = columns;
    importColumns[1] = QStringLiteral("Blank");
    const QString copy = dir.filePath(QStringLiteral("shell.db"));
    const auto shellImport = [&](const QString& deleteOlder) {
        return QStringList{
            QStringLiteral("-batch"),
            copy,
            QStringLiteral("BEGIN"),
            QStringLiteral("CREATE TEMP TABLE t(a,b,c,d,e,f,g,h)"),
            QStringLiteral(".import --csv --schema temp %1 t").arg(exported),
            deleteOlder.isEmpty() ? QStringLiteral("SELECT 1") : deleteOlder,
            QStringLiteral(
                "INSERT INTO KVB_25 (ST_No, PLU_No, PLU_MG, Stat2_MGCode, PLU_CommodityFirst, PLU_Commodity, "
                "Stat2_Commodity, PLU_UPrice, PLU_Tare, Stat2_PLUTare, PLU_EANItemCode, Stat2_ItemCode, "
                "PLU_TaxNo, Stat2_TaxNo) SELECT 2, CAST(a AS INTEGER), CAST(c AS INTEGER), 1, d, "
                "CAST(char(1, length(d)) || d || char(12) AS BLOB), 1, CAST(replace(e, '.', '') AS INTEGER), "
                "CAST(replace(f, '.', '') AS INTEGER), 1, g, 1, CAST(h AS INTEGER), 1 FROM t"),
            QStringLiteral("UPDATE KVB_25 SET Is_Selected=0 WHERE Is_Selected<>0"),
            QStringLiteral("COMMIT"),
        };
    };
    const auto import = [&](bool override) {
        const reports::PluImportResult r = orExit("import", [&] {
            return reports::importPlus({.path = exported,
                                        .columns = importColumns,
                                        .separator = ',',
                                        .override = override,
                                        .storeText = QStringLiteral("2"),
                                        .mainGroupText = QStringLiteral("997"),
                                        .format = format});
        });
        if (r.imported != kPlus || r.kept + r.refused != 0) {
            std::fprintf(stderr, "imported %d, left out %d\n", r.imported, r.kept + r.refused);
            std::exit(1);
        }
    };

    const bench::Timing newStore = bench::measure(
        [&] { import(false); }, shellImport(QString()), QProcess::nullDevice(),
        [&] {
            gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE ST_No=2"));
            bench::copyDatabase(database, copy);
        });
    expectPlus(2, kPlus);
    const bench::Timing replaced = bench::measure(
        [&] { import(true); },
        shellImport(
            QStringLiteral("DELETE FROM KVB_25 WHERE ST_No=2 AND PLU_No IN (SELECT CAST(a AS INTEGER) FROM t)")),
        QProcess::nullDevice(), [&] { bench::copyDatabase(database, copy); });
    expectPlus(2, kPlus);
    expectPlus(1, kPlus);
    gDBConnection.close();

    report("PLU export, 100,000 PLUs of 8 columns, comma-separated", exportTime, 2.0);
    report("PLU import into a new store 2", newStore, 3.0);
    report("PLU import again with chkPLU, 100,000 replaced", replaced, 3.0);
    return 0;
}
