#include "NodeRows.h"
#include "TreeDriver.h"
#include "support/DataRows.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "mainwindow/NodeCommands.h"
#include "mainwindow/NodeDialogRules.h"
#include "mainwindow/ui/frmMain.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"
#include "transfer/TransferRequest.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace quorvane;

namespace {

// Store 1 with a section of two scales; store 3 with a section, department 12 and its main group 40; store 4 without
// sections, with department 5, main group 41, a search and a PLU; store 5 with search 3 and department 6 without main
// groups. Store 2: 97 and 997 only.
// clang-format off
const QStringList kRows{
    "STORE|ST_No=1|ST_Name=Centre", "STORE|ST_No=2|ST_Name=Harbour", "STORE|ST_No=3|ST_Name=Quay", "STORE|ST_No=4|ST_Name=Market",
    "STORE|ST_No=5|ST_Name=Lake",
    "SECT|ST_No=1|SECT_No=2|SECT_Name=Deli", "SECT|ST_No=3|SECT_No=2|SECT_Name=Fresh",
    "SCALE|ST_No=1|SECT_No=2|SC_IP= 10.  0.  0.  5|SC_No=Deli 1", "SCALE|ST_No=1|SECT_No=2|SC_IP=192.168.  1. 20|SC_No=Deli 2",
    "KVB_20|ST_No=1|DP_No=97|DP_Name=Misc", "KVB_20|ST_No=2|DP_No=97|DP_Name=Misc", "KVB_20|ST_No=3|DP_No=97|DP_Name=Misc",
    "KVB_20|ST_No=3|DP_No=12|DP_Name=Bakery", "KVB_20|ST_No=4|DP_No=97|DP_Name=Misc", "KVB_20|ST_No=4|DP_No=5|DP_Name=Fish",
    "KVB_20|ST_No=5|DP_No=97|DP_Name=Misc", "KVB_20|ST_No=5|DP_No=6|DP_Name=Game",
    "KVB_23|ST_No=1|DP_No=97|MG_No=997|MG_Name=Misc", "KVB_23|ST_No=2|DP_No=97|MG_No=997|MG_Name=Misc", "KVB_23|ST_No=3|DP_No=97|MG_No=997|MG_Name=Misc",
    "KVB_23|ST_No=3|DP_No=12|MG_No=40|MG_Name=Bread", "KVB_23|ST_No=4|DP_No=97|MG_No=997|MG_Name=Misc", "KVB_23|ST_No=4|DP_No=5|MG_No=41|MG_Name=Cod",
    "KVB_23|ST_No=5|DP_No=97|MG_No=997|MG_Name=Misc",
    "SEARCH|ST_No=2|SH_No=15|SH_Name=Offers", "SEARCH|ST_No=4|SH_No=1|SH_Name=Cheap", "SEARCH|ST_No=5|SH_No=3|SH_Name=Late",
    "KVB_25|PLU_No=1|ST_No=4|PLU_MG=41", "KVB_25|PLU_No=2|ST_No=3|PLU_MG=40",
};
// clang-format on

// What the tables hold, one entry a row.
QStringList tableRows()
{
    QStringList rows;
    for (const char* tableAndKey :
         {"STORE:ST_No", "SECT:ST_No||'/'||SECT_No", "SCALE:SC_IP", "KVB_20:ST_No||'/'||DP_No",
          "KVB_23:ST_No||'/'||DP_No||'/'||MG_No", "SEARCH:ST_No||'/'||SH_No", "KVB_25:PLU_No"}) {
        const QString table = QString::fromLatin1(tableAndKey).section(':', 0, 0);
        db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                                     .arg(QString::fromLatin1(tableAndKey).section(':', 1), table));
        while (st.step())
            rows << table + ' ' + st.column(0).toString();
    }
    return rows;
}

QString selectionText()
{
    const NodeNumbers n = currentSelection();
    return QStringLiteral("%1 %2 %3 %4 |%5|")
        .arg(n.storeNo)
        .arg(n.sectNo)
        .arg(n.deptOrSearchNo)
        .arg(n.mgNo)
        .arg(n.scaleIP);
}

// The node property record of a kind, its fields joined by "|".
QString recordText(NodeKind kind)
{
    const StoreTreeState& t = gStoreTree();
    const auto join = [](std::initializer_list<QVariant> fields) {
        QStringList out;
        for (const QVariant& f : fields)
            out << f.toString();
        return out.join('|');
    };
    switch (kind) {
    case NodeKind::Store:
        return join(
            {t.gStoreRec.ST_No, t.gStoreRec.ST_Name, t.gStoreRec.Flag1, t.gStoreRec.Flag2, t.gStoreRec.barformat});
    case NodeKind::Section:
        return join({t.gSectRec.SECT_No, t.gSectRec.ST_No, t.gSectRec.SECT_Name, t.gSectRec.Flag1, t.gSectRec.Flag2,
                     t.gSectRec.barformat});
    case NodeKind::Scale: {
        const ScaleRec& r = t.gScaleRec;
        return join({r.SC_IP, r.SC_No, r.SC_Used, r.SC_FTPName, r.SC_FTPPW, r.SC_MODEL_ID, r.SC_PSK_Layout, r.ST_No,
                     r.SECT_No});
    }
    case NodeKind::Department: {
        const DeptRec& r = t.gDeptRec;
        return join({r.DP_No, r.DP_Name, r.Flag1, r.Flag2, r.barformat, r.ST_No, r.SECT_No});
    }
    case NodeKind::MainGroup: {
        const MGRec& r = t.gMGRec;
        return join({r.MG_No, r.MG_Name, r.Flag1, r.Flag2, r.barformat, r.Tax_No, r.ST_No, r.SECT_No, r.DP_No});
    }
    case NodeKind::Search: {
        const SearchRec& r = t.gSearchRec;
        return join({r.SH_No, r.SH_Name, r.DP_No1, r.DP_No2, r.MG_No1, r.MG_No2, r.PLU_No1, r.PLU_No2, r.PLU_UPrice1,
                     r.PLU_UPrice2, r.ST_No});
    }
    default:
        return QString();
    }
}

// The dialog's code box for a node kind, mode (1 edits) and code.
struct LockRow {
    const char* name;
    NodeKind kind = NodeKind::Department;
    int mode = 1;
    int code = 97;
    bool locked = true;
};

} // namespace

class tst_NodeCommands : public QObject {
    Q_OBJECT

    test::TransferFolder m_folder;
    QList<ui::MsgRequest> m_messages;
    int m_answer = ui::MsgYes;

    // The main window in store mode 1, its store view, or the data view of the store key given.
    frmMain* open(const QString& dataOf)
    {
        gSettings().gSysStore = 1;
        gSettings().gTreeRootName = QStringLiteral("All stores");
        test::addRows(kRows);
        frmMain* w = frmMain::form();
        w->Show();
        if (!dataOf.isEmpty()) {
            test::press(w, dataOf);
            w->cmdData_Click();
        }
        return w;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_folder.setUp(), qPrintable(m_folder.errorText()));
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r;
            return r.buttons == ui::MsgButtons::Ok ? int(ui::MsgOk) : m_answer;
        });
    }

    void init()
    {
        programState().storeTree = StoreTreeState();
        programState().pluEditor = PluEditorState();
        gSettings() = SettingsRecord();
        test::loadTexts();
        test::emptyTables({"STORE", "SECT", "SCALE", "KVB_20", "KVB_23", "SEARCH", "KVB_25"});
        m_messages.clear();
        m_answer = ui::MsgYes;
    }

    void cleanup()
    {
        gPluEditor().gPLUChanged = 0;
        frmMain::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The per-kind rules of a new node, without a window: the parent it needs, its provisional node, the numbers
    // its dialog starts from and the defaults of its record.
    void newNodeRules_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<int>("proposed");
        // "parent > key|text|image ; selection ; record"; empty: not a parent of the kind
        QTest::addColumn<QString>("expect");
        // clang-format off
        QTest::newRow("store") << int(NodeKind::Store) << "*ROOT" << 3 << "*ROOT > STORE 3|New3|2 ; 3 0 0 0 ; 3|New3|16|16|0 97|DEPT|0|0|255|3|0 " "997|MG|0|0|255|0|3|0|97";
        QTest::newRow("section") << int(NodeKind::Section) << "STORE 1" << 3 << "STORE 1 > SECT 1 3|New3|3 ; 1 3 0 0 ; 3|1|New3|0|0|255";
        QTest::newRow("scale") << int(NodeKind::Scale) << "SECT 4 2" << 1 << "SECT 4 2 > MACHINE 4 2   0.  0.  0.  0|New|4 ; 4 2 0 0 ; " "  0.  0.  0.  0|New|1|pelno|pelno|0|0|4|2";
        QTest::newRow("department 98 is 1") << int(NodeKind::Department) << "STORE 2" << 98 << "STORE 2 > DEPT 2 1|New1|2 ; 2 0 1 0 ; 1|New1|0|0|255|2|0";
        QTest::newRow("department 97 is 1") << int(NodeKind::Department) << "STORE 2" << 97 << "STORE 2 > DEPT 2 1|New1|2 ; 2 0 1 0 ; 1|New1|0|0|255|2|0";
        QTest::newRow("department 96") << int(NodeKind::Department) << "STORE 2" << 96 << "STORE 2 > DEPT 2 96|New96|2 ; 2 0 96 0 ; 96|New96|0|0|255|2|0";
        QTest::newRow("main group 997 is 1") << int(NodeKind::MainGroup) << "DEPT 3 12" << 997 << "DEPT 3 12 > MG 3 12 1|New1|3 ; 3 0 12 1 ; 1|New1|0|0|255|0|3|0|12";
        QTest::newRow("main group 998 is 1") << int(NodeKind::MainGroup) << "DEPT 3 12" << 998 << "DEPT 3 12 > MG 3 12 1|New1|3 ; 3 0 12 1 ; 1|New1|0|0|255|0|3|0|12";
        QTest::newRow("search") << int(NodeKind::Search) << "STORE 5" << 4 << "STORE 5 > SEARCH 5 4|New4|2 ; 5 0 4 0 ; 4|New4|1|97|1|997|1|999997|0|999999|5";
        QTest::newRow("main group under a store") << int(NodeKind::MainGroup) << "STORE 3" << 1 << "";
        QTest::newRow("section under the root") << int(NodeKind::Section) << "*ROOT" << 1 << "";
        // clang-format on
    }
    void newNodeRules()
    {
        QFETCH(int, kind);
        QFETCH(QString, parent);
        QFETCH(int, proposed);
        QFETCH(QString, expect);
        const NodeKind k = NodeKind(kind);
        QCOMPARE(isParentOf(k, parent), !expect.isEmpty());
        if (expect.isEmpty())
            return;
        const NewNode n = newNodeUnder(k, parent, proposed, QStringLiteral("New"));
        setCurrentSelection(n.numbers);
        setNewNodeRecords(k, n.numbers, QStringLiteral("New"));
        QString record = recordText(k);
        if (k == NodeKind::Store) // with its department 97 and main group 997
            record += ' ' + recordText(NodeKind::Department) + ' ' + recordText(NodeKind::MainGroup);
        QCOMPARE(QStringLiteral("%1 > %2|%3|%4 ; %5 ; %6")
                     .arg(n.parentKey, n.key, n.text)
                     .arg(n.image)
                     .arg(selectionText().section(" |", 0, 0), record),
                 expect);
        QCOMPARE(currentSelection().scaleIP, kNoScaleIP);
    }

    // The property dialog's code box: locked for stores and sections, and for 97 and 997 only while they are edited.
    void codeLock_data()
    {
        // clang-format off
        test::addDataRows<LockRow>({
            {.name = "department 97 edited"},
            {.name = "new department 97", .mode = 0, .locked = false},
            {.name = "main group 997 edited", .kind = NodeKind::MainGroup, .code = 997},
            {.name = "new main group 997", .kind = NodeKind::MainGroup, .mode = 0, .code = 997, .locked = false},
            {.name = "new store", .kind = NodeKind::Store, .mode = 0, .code = 3},
        });
        // clang-format on
    }
    void codeLock()
    {
        QFETCH(LockRow, row);
        QCOMPARE(codeLocked(row.kind, row.mode, row.code), row.locked);
    }

    // New nodes from the menus on the real tree: the provisional node while the dialog is open, Cancel taking it out
    // and selecting its parent, OK saving; nothing where the command is not offered or the save question is cancelled.
    void newNode_data()
    {
        QTest::addColumn<QString>("dataOf");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("answer"); // "cancel", "ok", "keep PLU" (the save question cancelled)
        QTest::addColumn<QString>("seen");   // window title | provisional key | its text; empty: no dialog
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("added");
        // clang-format off
        QTest::newRow("store, OK") << "" << "*ROOT" << "menuStore" << "ok" << "Store Properties|STORE 6|Store6" << "STORE 6" << QStringList{"STORE 6", "KVB_20 6/97", "KVB_23 6/97/997"};
        QTest::newRow("section, OK") << "" << "STORE 1" << "menuSection" << "ok" << "Section Properties|SECT 1 3|Section3" << "SECT 1 3" << QStringList{"SECT 1/3"};
        QTest::newRow("main group, OK") << "STORE 3" << "DEPT 3 12" << "menuMg" << "ok" << "Main Group Properties|MG 3 12 41|Group41" << "MG 3 12 41" << QStringList{"KVB_23 3/12/41"};
        QTest::newRow("scale, Cancel") << "" << "SECT 3 2" << "menuMachine" << "cancel" << "Scale Properties|MACHINE 3 2   0.  0.  0.  0|Scale" << "SECT 3 2" << QStringList();
        QTest::newRow("department, Cancel") << "STORE 2" << "STORE 2" << "menuDept" << "cancel" << "Department Properties|DEPT 2 1|Dept1" << "STORE 2" << QStringList();
        QTest::newRow("search, Cancel") << "STORE 2" << "STORE 2" << "popmenuNewSearch" << "cancel" << "Search Properties|SEARCH 2 16|Search16" << "STORE 2" << QStringList();
        QTest::newRow("main group, not offered for a store") << "STORE 2" << "STORE 2" << "menuMg" << "cancel" << "" << "STORE 2" << QStringList();
        QTest::newRow("save question cancelled") << "STORE 2" << "DEPT 2 97" << "menuMg" << "keep PLU" << "" << "DEPT 2 97" << QStringList();
        // clang-format on
    }
    void newNode()
    {
        QFETCH(QString, dataOf);
        QFETCH(QString, parent);
        QFETCH(QString, entry);
        QFETCH(QString, answer);
        QFETCH(QStringList, added);
        frmMain* w = open(dataOf);
        QVERIFY(test::press(w, parent));
        const QStringList before = tableRows();
        QString seen;
        const auto respond = [&](QWidget* d) {
            const QString key = rememberedKeyOf(NodeKind(gStoreTree().gPropertyNodeKind));
            QTreeWidgetItem* node = test::nodeOf(w, key);
            seen = d->windowTitle() + '|' + key + '|' + (node ? node->text(0) : QString());
            QVERIFY(node && node->parent() == test::nodeOf(w, parent));
            d->findChild<QPushButton*>(answer == "ok" ? "cmdOK" : "cmdCanel")->click();
        };
        test::WindowAnswer properties("frmProperties", respond), scale("frmScProperties", respond),
            search("frmSearch", respond);
        if (answer == "keep PLU") {
            gPluEditor().gPLUChanged = 1;
            m_answer = ui::MsgCancel;
        }
        // Called as the pop-up menu does, also where the entry is disabled.
        const QHash<QString, void (frmMain::*)()> handlers{
            {"menuStore", &frmMain::menuStore_Click},     {"menuMachine", &frmMain::menuMachine_Click},
            {"menuSection", &frmMain::menuSection_Click}, {"menuDept", &frmMain::menuDept_Click},
            {"menuMg", &frmMain::menuMg_Click},           {"popmenuNewSearch", &frmMain::popmenuNewSearch_Click}};
        (w->*handlers.value(entry))();
        QTEST(seen, "seen");
        QTEST(w->selectedNodeKey(), "selected");
        QCOMPARE(gStoreTree().gTreeViewMode == 1 ? gStoreTree().gStoreViewKey : gStoreTree().gDataViewKey,
                 w->selectedNodeKey());
        QStringList after = tableRows();
        for (const QString& row : added)
            QVERIFY2(after.removeOne(row), qPrintable(row));
        QCOMPARE(after, before);
        if (!seen.isEmpty() && answer == "cancel")
            QVERIFY(!test::nodeOf(w, seen.section('|', 1, 1)));
    }

    // Properties by the node's prefix: the numbers read from its key, its row loaded, the dialog of its kind titled
    // for it; Cancel changes nothing.
    void properties_data()
    {
        QTest::addColumn<QString>("dataOf");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("seen"); // title | selection | record
        // clang-format off
        QTest::newRow("store") << "" << "STORE 1" << "Store Properties|1 0 0 0 |  0.  0.  0.  0||1|Centre|0|0|0";
        QTest::newRow("section") << "" << "SECT 1 2" << "Section Properties|1 2 0 0 |  0.  0.  0.  0||2|1|Deli|0|0|0";
        QTest::newRow("scale") << "" << "MACHINE 1 2  10.  0.  0.  5" << "Scale Properties|1 2 0 0 | 10.  0.  0.  5|| 10.  0.  0.  5|Deli 1|0|||0|0|1|2";
        QTest::newRow("department") << "STORE 5" << "DEPT 5 6" << "Department Properties|5 0 6 0 |  0.  0.  0.  0||6|Game|0|0|0|5|0";
        QTest::newRow("main group") << "STORE 3" << "MG 3 12 40" << "Main Group Properties|3 0 12 40 |  0.  0.  0.  0||40|Bread|0|0|0|0|3|0|12";
        QTest::newRow("search") << "STORE 5" << "SEARCH 5 3" << "Search Properties|5 0 3 0 |  0.  0.  0.  0||3|Late|0|0|0|0|0|0|0|0|5";
        // clang-format on
    }
    void properties()
    {
        QFETCH(QString, dataOf);
        QFETCH(QString, key);
        QFETCH(QString, seen);
        frmMain* w = open(dataOf);
        QVERIFY(test::press(w, key));
        const QStringList before = tableRows();
        QString got;
        const auto respond = [&](QWidget* d) {
            const NodeKind kind = NodeKind(gStoreTree().gPropertyNodeKind);
            got = d->windowTitle() + '|' + selectionText() + '|' + recordText(kind);
            QCOMPARE(gStoreTree().gPropMode, qint16(1));
            d->findChild<QPushButton*>("cmdCanel")->click();
        };
        test::WindowAnswer properties("frmProperties", respond), scale("frmScProperties", respond),
            search("frmSearch", respond);
        ui::menuEntry(w, "popmenuProperties")->trigger();
        QCOMPARE(got, seen);
        QCOMPARE(tableRows(), before);
        QCOMPARE(w->selectedNodeKey(), key);
    }

    // An activation of the main window delivered under its open dialog leaves the rebuild to the one after it.
    void activationUnderTheDialog()
    {
        frmMain* w = open("STORE 3");
        QVERIFY(test::press(w, "DEPT 3 12"));
        test::WindowAnswer properties("frmProperties", [&](QWidget* d) {
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(w, &activate);
            auto* code = d->findChild<QLineEdit*>("txtCode");
            code->selectAll();
            QTest::keyClicks(code, "14");
            d->findChild<QPushButton*>("cmdOK")->click();
        });
        ui::menuEntry(w, "popmenuProperties")->trigger();
        QCOMPARE(properties.count(), 1);
        QVERIFY(!test::nodeOf(w, "DEPT 3 12"));
        QVERIFY(test::nodeOf(w, "DEPT 3 14"));
    }

    // Delete by prefix, after the question: the node's rows (a store's departments and main groups with it), nothing
    // that refers to it; the first node is selected. No changes nothing.
    void deleteNode_data()
    {
        QTest::addColumn<QString>("dataOf");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QString>("selected");
        // clang-format off
        QTest::newRow("store 4") << "" << "STORE 4" << int(ui::MsgYes) << QStringList{"STORE 4", "KVB_20 4/97", "KVB_20 4/5", "KVB_23 4/97/997", "KVB_23 4/5/41"} << "*ROOT";
        QTest::newRow("scale by its address") << "" << "MACHINE 1 2  10.  0.  0.  5" << int(ui::MsgYes) << QStringList{"SCALE  10.  0.  0.  5"} << "*ROOT";
        QTest::newRow("section") << "" << "SECT 3 2" << int(ui::MsgYes) << QStringList{"SECT 3/2"} << "*ROOT";
        QTest::newRow("department") << "STORE 5" << "DEPT 5 6" << int(ui::MsgYes) << QStringList{"KVB_20 5/6"} << "STORE 5";
        QTest::newRow("main group") << "STORE 3" << "MG 3 12 40" << int(ui::MsgYes) << QStringList{"KVB_23 3/12/40"} << "STORE 3";
        QTest::newRow("search") << "STORE 5" << "SEARCH 5 3" << int(ui::MsgYes) << QStringList{"SEARCH 5/3"} << "STORE 5";
        QTest::newRow("No") << "" << "STORE 4" << int(ui::MsgNo) << QStringList() << "STORE 4";
        QTest::newRow("not offered: department 97") << "STORE 3" << "DEPT 3 97" << int(ui::MsgYes) << QStringList() << "DEPT 3 97";
        // clang-format on
    }
    void deleteNode()
    {
        QFETCH(QString, dataOf);
        QFETCH(QString, key);
        QFETCH(QStringList, removed);
        QFETCH(int, answer);
        frmMain* w = open(dataOf);
        QVERIFY(test::press(w, key));
        QStringList expected = tableRows();
        for (const QString& row : removed)
            QVERIFY2(expected.removeOne(row), qPrintable(row));
        m_answer = answer;
        w->menuDelete_Click();
        QCOMPARE(tableRows(), expected);
        QTEST(w->selectedNodeKey(), "selected");
        QCOMPARE(bool(test::nodeOf(w, key)), removed.isEmpty());
        const bool asked = key != "DEPT 3 97";
        QCOMPARE(m_messages.size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(m_messages[0].text, gLangMsg.text("areyousure"));
    }

    // Two scales at one address in one section (an older dump): the tree shows the first; its Properties show its
    // values, OK writes its row and Delete removes it, and the other row keeps every value.
    void twoScalesAtOneAddress()
    {
        frmMain* w = open("");
        gDBConnection.exec("UPDATE SCALE SET SC_FTPName='deli', SC_FTPPW='pw' WHERE SC_No='Deli 1'");
        test::addRows({"SCALE|ST_No=1|SECT_No=2|SC_IP= 10.  0.  0.  5|SC_No=Hidden|SC_FTPName=other|SC_FTPPW=secret|"
                       "SC_PSK_Layout=1"});
        const QString key = QStringLiteral("MACHINE 1 2  10.  0.  0.  5"),
                      fields = "SC_No,SC_FTPName,SC_FTPPW,SC_PSK_Layout";
        QVERIFY(test::press(w, key));
        QString seen;
        test::WindowAnswer scale("frmScProperties", [&](QWidget* d) {
            for (const char* box : {"txtScaleNo", "txtFTPName", "txtFTPPW"})
                seen += d->findChild<QLineEdit*>(box)->text() + '|';
            auto* number = d->findChild<QLineEdit*>("txtScaleNo");
            number->selectAll();
            QTest::keyClicks(number, "Deli 9");
            d->findChild<QPushButton*>("cmdOK")->click();
        });
        ui::menuEntry(w, "popmenuProperties")->trigger();
        QCOMPARE(seen, "Deli 1|deli|pw|");
        QCOMPARE(test::dump("SCALE", fields), "Deli 9:deli:pw:0 Deli 2:::0 Hidden:other:secret:1");
        QCOMPARE(w->selectedNodeKey(), key);
        w->menuDelete_Click();
        QCOMPARE(test::dump("SCALE", fields), "Deli 2:::0 Hidden:other:secret:1");
    }

    // The sends of a department or main group: the store's rows marked (the others' unmarked, also after the
    // transfer), the one file in the request.
    void sendStoreGroups_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("file");
        // clang-format off
        QTest::newRow("departments") << "DEPT 3 12" << "popmenuDownloadDept" << "KVB_20" << "DEP0UALL.csv";
        QTest::newRow("main groups") << "MG 3 12 40" << "menuDownloadMG" << "KVB_23" << "MGP0UALL.csv";
        // clang-format on
    }
    void sendStoreGroups()
    {
        QFETCH(QString, key);
        QFETCH(QString, entry);
        QFETCH(QString, table);
        frmMain* w = open("STORE 3");
        gDBConnection.exec("UPDATE " + table + " SET Is_Selected=1");
        QVERIFY(test::press(w, key));
        QStringList files;
        test::WindowAnswer transfer("frmFTPDataTrans", [&](QWidget* form) { files = test::requestOf(form).files; });
        ui::menuEntry(w, entry)->trigger();
        QCOMPARE(transfer.count(), 1);
        QTEST(files.join(','), "file");
        // Each store's lowest and highest mark: every row of store 3 marked, no other.
        QCOMPARE(gDBConnection
                     .scalar("SELECT group_concat(m) FROM (SELECT ST_No || ':' || min(Is_Selected) || max(Is_Selected) "
                             "AS m FROM "
                             + table + " GROUP BY ST_No ORDER BY ST_No)")
                     .toString(),
                 QStringLiteral("1:00,2:00,3:11,4:00,5:00"));
    }
};

QTEST_MAIN(tst_NodeCommands)
#include "tst_nodecommands.moc"
