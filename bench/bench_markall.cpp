// Mark all on one store of 100,000 PLUs, on the shown main window: from the click until every mark cell of the list
// shows "*" (target: at most 3 times the sqlite3 shell marking the same rows in a copy of the database). Prints the
// best of three and the ratio.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "BenchWindows.h"
#include "GenerateData.h"

#include "mainwindow/ui/frmMain.h"
#include "platform/ui/FlexGrid.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluListView.h"
#include "settings/Settings.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"

#include <QApplication>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace quorvane;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    bench::generateData(gDBConnection, {.stores = 1});
    bench::answerMessagesOk();
    gSettings().gSysStore = 1;
    const QString shellCopy = dir.filePath(QStringLiteral("shell.db"));

    frmMain* window = frmMain::form();
    window->Show();
    window->cmdData_Click();
    plu::LoadPLUList(window, PluListKind::Store, 1, 0, 0);
    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("MSHFlexGridPLU"));
    const int rows = ui::flexRows(grid) - 1;

    const auto prepare = [&] {
        plu::cmdClearAll_Click(window);
        QFile::remove(shellCopy);
        gDBConnection.exec(QStringLiteral("VACUUM INTO ?"), {shellCopy});
    };
    const bench::Timing best = bench::measure(
        [&] { plu::cmdSelectAll_Click(window); },
        {shellCopy, QStringLiteral("UPDATE KVB_25 SET Is_Selected=1 WHERE ST_No=1;")}, dir.filePath("shell.txt"),
        prepare);
    int shown = 0;
    for (int r = 1; r <= rows; ++r)
        shown += ui::flexText(grid, r, plu::MarkColumn) == QLatin1String("*");
    const int stored = gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25 WHERE Is_Selected=1")).toInt();
    frmMain::unload();
    gDBConnection.close();
    if (rows != 100000 || shown != rows || stored != rows) {
        std::fprintf(stderr, "mark all: %d rows listed, %d shown marked, %d stored marked\n", rows, shown, stored);
        return 1;
    }
    const double ratio = best.ours / best.shell;
    std::printf("mark all of 100,000 PLUs: %.3f s; sqlite3 shell: %.3f s; ratio %.2f (target at most 3.00): %s\n",
                best.ours, best.shell, ratio, ratio <= 3.0 ? "met" : "MISSED");
    return 0;
}
