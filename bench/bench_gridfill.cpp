// Fills a flex grid on a shown window with 100,000 PLU rows of the shared data set through the chunked grid
// fill and, beside it, has the sqlite3 shell select the same columns of the same rows. Prints both times, their
// ratio (target: at most 3) and how often the window painted during a fill.

#include "BenchTiming.h"
#include "GenerateData.h"

#include "app/SchemaBuilder.h"
#include "app/WorkingDatabase.h"
#include "platform/ui/FlexGrid.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using quorvane::bench::seconds;

using namespace quorvane;

namespace {

// Counts the paints of the grid's rows.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
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
    bench::generateData(gDBConnection, {});

    // The columns of the PLU list, in list order.
    const QString sql = QStringLiteral("SELECT PLU_No, PLU_EANItemCode, PLU_CommodityFirst, PLU_UPrice, Is_Selected "
                                       "FROM KVB_25 ORDER BY ST_No, PLU_No");
    const QString shellOut = dir.filePath("shell.txt");

    QTableWidget grid;
    grid.resize(900, 600);
    PaintCounter counter;
    grid.viewport()->installEventFilter(&counter);
    grid.show();
    QCoreApplication::processEvents();

    double bestFill = 1e9, bestShell = 1e9;
    int rows = 0, paints = 0;
    for (int round = 0; round < 3; ++round) {
        ui::setupFlexGrid(&grid,
                          {{QStringLiteral("PLU"), 1300},
                           {QStringLiteral("Item"), 1500},
                           {QStringLiteral("Name"), 4250},
                           {QStringLiteral("Price"), 1300},
                           {QStringLiteral("*"), 300}},
                          1);
        QCoreApplication::processEvents();
        counter.paints = 0;
        QElapsedTimer t;
        t.start();
        db::Statement query = gDBConnection.prepare(sql);
        rows = ui::fillFlexGrid(&grid, query);
        bestFill = qMin(bestFill, seconds(t));
        paints = counter.paints;

        QProcess shell;
        shell.setStandardOutputFile(shellOut);
        t.start();
        shell.start(QStringLiteral("sqlite3"), {database, sql});
        if (!shell.waitForFinished(120000) || shell.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 failed: %s\n", qPrintable(shell.errorString()));
            return 1;
        }
        bestShell = qMin(bestShell, seconds(t));
    }
    gDBConnection.close();

    std::printf("grid fill, %d PLU rows of 5 columns on a shown window: %.3f s, %d paints during the fill\n", rows,
                bestFill, paints);
    std::printf("sqlite3 selecting the same columns: %.3f s\n", bestShell);
    std::printf("ratio %.2f (target at most 3.00): %s\n", bestFill / bestShell,
                bestFill / bestShell <= 3.0 ? "met" : "MISSED");
    return rows == 100000 ? 0 : 1;
}
