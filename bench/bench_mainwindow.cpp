// The main window's tree on the shared data set: the data view of store 1 (98 departments, 998 main groups, 10
// searches, with the store's PLU list that selecting its node shows) reached by the Data button and rebuilt as
// after a property dialog, and the store view of the 10 stores in
// store mode 1 (Store button), each 20 times on a shown window; beside them the sqlite3 shell running the same
// queries 20 times. Prints the times and their ratios (target: at most 3).

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "BenchWindows.h"
#include "GenerateData.h"

#include "mainwindow/ui/frmMain.h"
#include "plu/PluList.h"
#include "settings/Settings.h"
#include "state/ProgramFolder.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

using quorvane::bench::seconds;

using namespace quorvane;

namespace {

constexpr int Rounds = 20;

// The loader's queries of one view.
const QStringList kStoreViewQueries{
    "SELECT ST_No, ST_Name FROM STORE ORDER BY rowid;",
    "SELECT ST_No, SECT_No, SECT_Name FROM SECT ORDER BY rowid;",
    "SELECT ST_No, SECT_No, SC_IP, SC_No FROM SCALE ORDER BY rowid;",
};
const QStringList kDataViewQueries{
    "SELECT ST_No, DP_No, DP_Name FROM KVB_20 WHERE ST_No=1 ORDER BY rowid;",
    "SELECT ST_No, DP_No, MG_No, MG_Name FROM KVB_23 WHERE ST_No=1 ORDER BY rowid;",
    "SELECT ST_No, SH_No, SH_Name FROM SEARCH WHERE ST_No=1 ORDER BY rowid;",
};

// The shell running the queries Rounds times, its output written to a file as a listing would be read.
double shellSeconds(const QString& database, const QStringList& queries, const QString& out)
{
    QByteArray script;
    for (int i = 0; i < Rounds; ++i)
        script += queries.join(QLatin1Char('\n')).toUtf8() + '\n';
    QProcess shell;
    shell.setStandardOutputFile(out);
    QElapsedTimer t;
    t.start();
    shell.start(QStringLiteral("sqlite3"), {database});
    shell.write(script);
    shell.closeWriteChannel();
    if (!shell.waitForFinished(120000) || shell.exitCode() != 0) {
        std::fprintf(stderr, "sqlite3 failed: %s\n", qPrintable(shell.errorString()));
        std::exit(1);
    }
    return seconds(t);
}

double timed(const std::function<void()>& untimed, const std::function<void()>& step)
{
    double total = 0;
    for (int i = 0; i < Rounds; ++i) {
        untimed();
        QElapsedTimer t;
        t.start();
        step();
        total += seconds(t);
    }
    return total;
}

void report(const char* what, double window, double shell)
{
    std::printf("%-60s %.3f s; sqlite3 %.3f s; ratio %.2f (target at most 3.00): %s\n", what, window, shell,
                window / shell, window / shell <= 3.0 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    bench::generateData(gDBConnection, {});
    bench::answerMessagesOk();
    gSettings().gSysStore = 1;
    gSettings().gTreeRootName = QStringLiteral("All stores");

    frmMain* window = frmMain::form();
    window->Show();
    QCoreApplication::processEvents();
    const auto storeView = [window] {
        window->cmdStore_Click();
        window->selectNode(QStringLiteral("STORE 1"));
    };

    const double dataSwitch = timed(storeView, [window] { window->cmdData_Click(); });
    const auto nodes = [window] {
        int n = 0;
        for (QTreeWidgetItemIterator it(window->findChild<QTreeWidget*>(QStringLiteral("treeStoreAndData"))); *it; ++it)
            ++n;
        return n;
    };
    const int dataNodes = nodes();
    const double rebuild = timed([] { gStoreTree().gTreeFilled = 0; }, [window] { window->Form_Activate(); });
    const double storeSwitch = timed([window] { window->cmdData_Click(); }, storeView);
    const int storeNodes = nodes();

    const QString out = dir.filePath(QStringLiteral("shell.txt"));
    // Selecting the store node of the data view lists the store's PLUs as well: the shell lists them too.
    const PluListQuery storeList = BuildPLUListQuery(PluListKind::Store, 1, 0, 0);
    QString listQuery = storeList.sql() + QLatin1Char(';');
    for (const QVariant& value : storeList.params)
        listQuery.replace(listQuery.indexOf(QLatin1Char('?')), 1, value.toString());
    const double shellData = shellSeconds(database, kDataViewQueries + QStringList{listQuery}, out);
    // The rebuild selects the node shown before: its list is not read again.
    const double shellTree = shellSeconds(database, kDataViewQueries, out);
    const double shellStore = shellSeconds(database, kStoreViewQueries, out);
    frmMain::unload();
    gDBConnection.close();

    std::printf("%d rounds each; data view of store 1: %d nodes; store view: %d nodes\n", Rounds, dataNodes,
                storeNodes);
    report("data view by the Data button", dataSwitch, shellData);
    report("data view rebuilt after a dialog", rebuild, shellTree);
    report("store view (store mode 1) by the Store button", storeSwitch, shellStore);
    return 0;
}
