// The key editor's browse and the automatic assignment on 100,000 PLUs of one store. The browse fills GridBrowse
// of a shown key editor with every PLU; beside it the sqlite3 shell selects the same rows (target: at most 3x).
// The assignment fills the 24 keys of page 1 from the store's PLUs 20 times over, the layout holding 72 rows
// before the first; beside it the shell runs the same query, delete and 24 inserts in one transaction 20 times
// (target: at most 2x). Each prints the best of three rounds and the ratio.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "presetkeys/AutoPresetKey.h"
#include "presetkeys/PresetKeyTable.h"
#include "presetkeys/ui/frmPutPreKey.h"
#include "state/PresetKeyState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace quorvane;

namespace {

constexpr int Rounds = 20;
const QString kPluQuery = QStringLiteral(
    "SELECT PLU_No, PLU_Commodity FROM KVB_25 WHERE ST_No = 1 AND PLU_No BETWEEN 1 AND 999999 ORDER BY PLU_No, rowid");

// The layout of the benchmark's scale with its three full pages.
void fillLayout()
{
    db::Transaction tx(gDBConnection);
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_41 WHERE Scale_IP = ?"), {gStoreTree().gCurScaleIP});
    for (int number = 1; number <= 72; ++number)
        gDBConnection.exec(QStringLiteral("INSERT INTO KVB_41 (Scale_IP, PSK_Layout, Number, Key_Switch, Status, "
                                          "Name, KVBBinData) VALUES (?, 0, ?, ?, 0, ?, ?)"),
                           {gStoreTree().gCurScaleIP, number, number, QStringLiteral("Key %1").arg(number),
                            presetkeys::KvbPresetKeyRecord(number, number, 0, 24)});
    tx.commit();
}

// The shell's script: per round the query, the delete and the 24 inserts our assignment runs, in a transaction.
QString assignmentScript()
{
    const QString ip = gStoreTree().gCurScaleIP;
    QString script = QStringLiteral(".output /dev/null\n");
    for (int round = 0; round < Rounds; ++round) {
        script += QStringLiteral("BEGIN;\n") + kPluQuery + QStringLiteral(" LIMIT 24;\n");
        script += QStringLiteral("DELETE FROM KVB_41 WHERE Scale_IP = '%1' AND PSK_Layout = 0;\n").arg(ip);
        for (int k = 1; k <= 24; ++k)
            script += QStringLiteral("INSERT INTO KVB_41 (Scale_IP, PSK_Layout, Number, Key_Switch, Status, Name, "
                                     "KVBBinData) VALUES ('%1', 0, %2, %2, 0, 'Article %2', x'%3');\n")
                          .arg(ip)
                          .arg(k)
                          .arg(QString::fromLatin1(presetkeys::KvbPresetKeyRecord(k, k, 0, 24).toHex()));
        script += QStringLiteral("COMMIT;\n");
    }
    return script;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    bench::generateData(gDBConnection, bench::DataSetSize{.stores = 1});
    // Every PLU gets its name as a one-line text block.
    gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_Commodity = CAST(char(1, length(PLU_CommodityFirst)) || "
                                      "PLU_CommodityFirst || char(12) AS BLOB)"));
    PresetKeyState& keys = gPresetKeys();
    keys.gPSKLayout = 0;
    keys.gPSKStoreNo = 1;
    keys.gKeyNum = 24;
    keys.gCurKeyNo = 1;
    gStoreTree().gCurScaleIP = bench::detail::scaleAddress(1, 11);
    const QString shellOut = dir.filePath(QStringLiteral("shell.txt"));

    // The browse.
    std::unique_ptr<frmPutPreKey> editor;
    int rows = 0;
    const bench::Timing browse = bench::measure(
        [&] {
            editor->findChild<QPushButton*>(QStringLiteral("cmdBrowse"))->click();
            rows = editor->findChild<QTableWidget*>(QStringLiteral("GridBrowse"))->rowCount();
        },
        {database, kPluQuery}, shellOut,
        [&] {
            editor = std::make_unique<frmPutPreKey>();
            editor->show();
            QCoreApplication::processEvents();
        });
    editor.reset();

    // The assignment.
    const QString scriptFile = dir.filePath(QStringLiteral("assign.sql"));
    {
        QFile script(scriptFile);
        if (!script.open(QIODevice::WriteOnly) || script.write(assignmentScript().toUtf8()) < 0)
            return 1;
    }
    bench::Timing assign;
    int assigned = 0;
    for (int round = 0; round < 3; ++round) {
        fillLayout();
        QElapsedTimer t;
        t.start();
        for (int n = 0; n < Rounds; ++n)
            presetkeys::AutoAssignKeys(
                {.option = presetkeys::AutoOption::Store, .storeNo = 1, .mgNo = 0, .departmentGroups = {}});
        assign.ours = qMin(assign.ours, bench::seconds(t));
        assigned = gDBConnection
                       .scalar(QStringLiteral("SELECT count(*) FROM KVB_41 WHERE Scale_IP = ?"),
                               {gStoreTree().gCurScaleIP})
                       .toInt();
        fillLayout();
        assign.shell = qMin(assign.shell, bench::timeShell({database}, shellOut, scriptFile));
    }
    gDBConnection.close();

    std::printf("browse of %d PLUs into GridBrowse: %.3f s; sqlite3 selecting them: %.3f s\n", rows, browse.ours,
                browse.shell);
    std::printf("ratio %.2f (target at most 3.00): %s\n", browse.ours / browse.shell,
                browse.ours / browse.shell <= 3.0 ? "met" : "MISSED");
    std::printf("%d assignments of 24 keys: %.3f s; sqlite3 running the same statements: %.3f s\n", Rounds, assign.ours,
                assign.shell);
    std::printf("ratio %.2f (target at most 2.00): %s\n", assign.ours / assign.shell,
                assign.ours / assign.shell <= 2.0 ? "met" : "MISSED");
    return rows == 100000 && assigned == 24 ? 0 : 1;
}
