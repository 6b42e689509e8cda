// The PLU list of one store of 100,000 PLUs. The list loaded into the main window's grid until every row is in it and
// the first PLU is shown: a first load, and a reload whose dropping of the list's marks clears 100,000 of them (target:
// at most 3 times the shell). The free-number proposal of the copy and new commands with PLUs 1 to 100,000 and with
// one gap (target: at most 2). Each beside the sqlite3 shell running the same queries in the same run, its output
// discarded; prints the best of three of each and their ratio.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "BenchWindows.h"
#include "GenerateData.h"

#include "mainwindow/ui/frmMain.h"
#include "platform/ui/FlexGrid.h"
#include "plu/PluFreeNumbers.h"
#include "plu/PluList.h"
#include "plu/ui/PluListView.h"
#include "settings/Settings.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>

using namespace quorvane;

namespace {

// Best of three loads of store 1's list into the window, `before` untimed before each load and before each run of
// the shell; returns the ratio.
double compareLoad(const char* what, QWidget* window, const QString& database, const QStringList& shellStatements,
                   const std::function<void()>& before)
{
    double best = 1e9, bestShell = 1e9;
    for (int round = 0; round < 3; ++round) {
        before();
        gPluEditor().gCurPLURow = 0;
        QElapsedTimer t;
        t.start();
        plu::LoadPLUList(window, PluListKind::Store, 1, 0, 0);
        best = qMin(best, bench::seconds(t));
        const int rows = window->findChild<QTableWidget*>(QStringLiteral("MSHFlexGridPLU"))->rowCount();
        const QString shown = window->findChild<QLineEdit*>(QStringLiteral("meditPLU"))->text();
        if (rows != 100000 || shown != QLatin1String("1")
            || gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25 WHERE Is_Selected<>0")).toInt() != 0) {
            std::fprintf(stderr, "%s: %d rows listed, PLU %s shown, marks left\n", what, rows, qPrintable(shown));
            std::exit(1);
        }
        before();
        bestShell = qMin(bestShell, bench::timeShell(QStringList{database} + shellStatements, QProcess::nullDevice()));
    }
    const double ratio = best / bestShell;
    std::printf("PLU list, %s: %.3f s; sqlite3 shell: %.3f s; ratio %.2f (target at most 3.00): %s\n", what, best,
                bestShell, ratio, ratio <= 3.0 ? "met" : "MISSED");
    return ratio;
}

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
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    bench::generateData(gDBConnection, {.stores = 1});
    bench::answerMessagesOk();

    // The list of the store node, on the shown main window.
    frmMain* window = frmMain::form();
    window->Show();
    QCoreApplication::processEvents();
    StoreTreeState& tree = gStoreTree();
    tree.gCurNodeKind = PluListKind::Store;
    tree.gCurStoreNo = 1;
    const PluListQuery q = BuildPLUListQuery(PluListKind::Store, 1, 0, 0);
    const QString list = QString(q.sql()).replace(QLatin1Char('?'), QStringLiteral("?1")) + QLatin1Char(';');
    const QString unmark = QStringLiteral("UPDATE KVB_25 SET Is_Selected=0 WHERE ST_No=?1 AND Is_Selected<>0;");
    const QString bind = QStringLiteral(".parameter set ?1 1");
    compareLoad("first load of 100,000 PLUs", window, database, {bind, list}, [] { gRsPLU.close(); });
    plu::LoadPLUList(window, PluListKind::Store, 1, 0, 0); // the list shown, whose marks the reload drops
    compareLoad("reload clearing 100,000 marks", window, database, {bind, unmark, list},
                [] { gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=1")); });
    frmMain::unload();

    gPluEditor().gHideSelectedCol = 1; // the proposal runs in edit mode

    compare("PLUs 1 to 100,000", database, 100001);
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE ST_No=1 AND PLU_No=?"), {50000});
    compare("one gap at 50,000", database, 50000);
    gDBConnection.close();
    return 0;
}
