// Fills a flex grid on a shown window with 100,000 PLU rows of the shared data set through the chunked grid
// fill and, beside it, has the sqlite3 shell select the same columns of the same rows. Prints both times, their
// ratio (target: at most 3) and how often the window painted during a fill.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "platform/ui/FlexGrid.h"
#include "state/SharedData.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>

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
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
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

    int rows = 0, paints = 0;
    const bench::Timing best = bench::measure(
        [&] {
            db::Statement query = gDBConnection.prepare(sql);
            rows = ui::fillFlexGrid(&grid, query);
            paints = counter.paints;
        },
        {database, sql}, shellOut,
        [&] {
            ui::setupFlexGrid(&grid,
                              {{QStringLiteral("PLU"), 1300},
                               {QStringLiteral("Item"), 1500},
                               {QStringLiteral("Name"), 4250},
                               {QStringLiteral("Price"), 1300},
                               {QStringLiteral("*"), 300}},
                              1);
            QCoreApplication::processEvents();
            counter.paints = 0;
        });
    gDBConnection.close();

    std::printf("grid fill, %d PLU rows of 5 columns on a shown window: %.3f s, %d paints during the fill\n", rows,
                best.ours, paints);
    std::printf("sqlite3 selecting the same columns: %.3f s\n", best.shell);
    std::printf("ratio %.2f (target at most 3.00): %s\n", best.ours / best.shell,
                best.ours / best.shell <= 3.0 ? "met" : "MISSED");
    return rows == 100000 ? 0 : 1;
}
