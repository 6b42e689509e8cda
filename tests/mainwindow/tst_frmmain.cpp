#include "NodeRows.h"
#include "TreeDriver.h"
#include "support/CodecTestDb.h"
#include "support/TestSupport.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "mainwindow/ui/ToolWindows.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/text/TextFile.h"
#include "platform/ui/ControlTable.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/Twips.h"
#include "plu/ui/PluListView.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"
#include "state/TwoLevelReader.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace quorvane;

namespace {

// Store 1: section 2 with one scale; departments 97, 5 and 3 with main groups 997, 97 and 197; a search. Store 2:
// no section; department 97 with main group 997; search 15.
const QStringList kRows{
    "STORE|ST_No=1|ST_Name=Centre",
    "STORE|ST_No=2|ST_Name=Harbour",
    "SECT|ST_No=1|SECT_No=2|SECT_Name=Deli",
    "SCALE|ST_No=1|SECT_No=2|SC_IP=192.168.  1. 20|SC_No=Deli 1",
    "KVB_20|ST_No=1|DP_No=97|DP_Name=Misc",
    "KVB_20|ST_No=1|DP_No=5|DP_Name=Fish",
    "KVB_20|ST_No=1|DP_No=3|DP_Name=Fruit",
    "KVB_23|ST_No=1|DP_No=97|MG_No=997|MG_Name=Misc",
    "KVB_23|ST_No=1|DP_No=3|MG_No=97|MG_Name=Apples",
    "KVB_23|ST_No=1|DP_No=3|MG_No=197|MG_Name=Pears",
    "SEARCH|ST_No=1|SH_No=4|SH_Name=Cheap",
    "KVB_20|ST_No=2|DP_No=97|DP_Name=Misc",
    "KVB_23|ST_No=2|DP_No=97|MG_No=997|MG_Name=Misc",
    "SEARCH|ST_No=2|SH_No=15|SH_Name=Offers",
};

const char* const kWatchedEntries[] = {
    "menuStore",         "menuSection",          "menuMachine",        "menuDept",         "menuMg",
    "menuSearch",        "menuProperties",       "menuDelete",         "menuDownloadDept", "menuDownloadMG",
    "menuEditPresetKey", "menuEditFlexiBarcode", "menuImportOrExport",
};

using test::nodeOf;
using test::tree;
QAction* entry(QWidget* w, const char* name) { return ui::menuEntry(w, QLatin1String(name)); }
QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QLatin1String(name)); }

// The operator's press on a node: a click, or the right button's press.
void press(QWidget* w, const QString& key, Qt::MouseButton mouse = Qt::LeftButton)
{
    QVERIFY2(test::press(w, key, mouse), qPrintable(key));
}

// "enabled entries | shown pop-up entries"
QString menuStates(QWidget* w)
{
    QStringList on;
    for (const char* name : kWatchedEntries)
        if (entry(w, name)->isEnabled())
            on << QLatin1String(name);
    if (button(w, "cmdData")->isEnabled())
        on << QStringLiteral("cmdData");
    QStringList shown;
    for (QAction* a : ui::popupMenu(w, QStringLiteral("popmenu"))->actions())
        if (a->isVisible())
            shown << a->objectName();
    return on.join(QLatin1Char(' ')) + QStringLiteral(" | ") + shown.join(QLatin1Char(' '));
}

QString numbersNow()
{
    const StoreTreeState& t = gStoreTree();
    return QStringLiteral("%1 %2 %3 %4 |%5| kind %6")
        .arg(t.gCurStoreNo)
        .arg(t.gCurSectNo)
        .arg(t.gCurDeptNo)
        .arg(t.gCurMGNo)
        .arg(t.gCurScaleIP)
        .arg(int(t.gCurNodeKind));
}

class ToolStandIn : public QWidget {
    Q_OBJECT
public:
    ToolStandIn() { setObjectName(QStringLiteral("frmToolStandIn")); }
};

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT

    test::TransferFolder m_folder;
    QStringList m_loads;              // the PLU lists asked for
    QList<ui::MsgRequest> m_messages; // every message shown
    int m_answer = ui::MsgOk;         // how questions are answered
    QString m_opened;                 // help files opened

    // Opens the main window on the rows in that store mode, shown as the operator sees it.
    frmMain* open(int sysStore, const QStringList& rows = kRows)
    {
        gSettings().gSysStore = qint16(sysStore);
        gSettings().gTreeRootName = QStringLiteral("All stores");
        if (!rows.isEmpty())
            test::addRows(rows);
        frmMain* w = frmMain::form();
        w->Show();
        return w;
    }

    // The store view's store node, then its data view.
    frmMain* openDataView(const char* storeKey)
    {
        frmMain* w = open(1);
        press(w, QLatin1String(storeKey));
        w->cmdData_Click();
        m_loads.clear();
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
        plu::observePLUListLoads([this](PluListKind kind, qint16 store, qint16 dept, qint16 mg) {
            m_loads << QStringLiteral("%1:%2:%3:%4").arg(int(kind)).arg(store).arg(dept).arg(mg);
        });
        frmMain::setHelpViewer([this](const QString& path) {
            m_opened = path;
            return true;
        });
    }

    void init()
    {
        programState().storeTree = StoreTreeState();
        programState().pluEditor = PluEditorState();
        gSettings() = SettingsRecord();
        gSettings().gLanguageName = QStringLiteral("Standard");
        test::loadTexts();
        test::emptyTables({"STORE", "SECT", "SCALE", "KVB_20", "KVB_23", "SEARCH"});
        m_loads.clear();
        m_messages.clear();
        m_answer = ui::MsgOk;
    }

    void cleanup()
    {
        setToolWindowOpener(QStringLiteral("menuScrollMSG"), {}); // a stand-in goes with its test, a failed check too
        ui::windows().setExiting(false);
        gPluEditor().gPLUChanged = 0;
        frmMain::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frmMain::isLoaded());
    }

    // Node selection over both views: menus, pop-up entries, numbers and the PLU list of each kind of node.
    void selection_data()
    {
        QTest::addColumn<int>("sysStore");
        QTest::addColumn<bool>("sections");  // false: no store has a section
        QTest::addColumn<QString>("dataOf"); // the store whose data view is shown; empty: the store view
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("menus");
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("loads");
        const QString tools = QStringLiteral(" menuEditFlexiBarcode menuImportOrExport");
        const QString none = QStringLiteral("0 0 0 0 |  0.  0.  0.  0| kind 0");
        // clang-format off
        QTest::newRow("root") << 1 << true << "" << "*ROOT" << "menuStore | popmenuNewStore" << none << "";
        QTest::newRow("store with a section, mode 1") << 1 << true << "" << "STORE 1" << "menuSection menuProperties cmdData | popmenuNewSection popmenuProperties" << none << "";
        QTest::newRow("store without sections, mode 1") << 1 << true << "" << "STORE 2" << "menuSection menuProperties menuDelete cmdData | popmenuNewSection popmenuProperties popmenuDelete" << none << "";
        QTest::newRow("store without sections, mode 0") << 0 << false << "" << "STORE 1" << "menuSection menuProperties cmdData | popmenuNewSection popmenuProperties" << none << "";
        QTest::newRow("store without sections, mode 2") << 2 << false << "" << "STORE 1" << "menuSection menuProperties cmdData | popmenuNewSection popmenuProperties" << none << "";
        QTest::newRow("section") << 1 << true << "" << "SECT 1 2" << "menuMachine menuProperties | popmenuNewMachine popmenuProperties" << none << "";
        QTest::newRow("scale") << 1 << true << "" << "MACHINE 1 2 192.168.  1. 20" << "menuProperties menuDelete menuEditPresetKey | popmenuProperties popmenuDelete" << "0 0 0 0 |192.168.  1. 20| kind 0" << "";
        QTest::newRow("data view's store") << 1 << true << "STORE 1" << "STORE 1" << "menuDept menuSearch menuProperties" + tools + " | popmenuNewDept popmenuNewSearch popmenuProperties" << "1 0 0 0 |  0.  0.  0.  0| kind 0" << "0:1:0:0";
        QTest::newRow("department 97") << 1 << true << "STORE 1" << "DEPT 1 97" << "menuMg menuProperties menuDownloadDept" + tools + " | popmenuNewMG popmenuDownloadDept popmenuProperties" << "1 0 97 0 |  0.  0.  0.  0| kind 1" << "0:1:0:0 1:1:97:0";
        QTest::newRow("department 5") << 1 << true << "STORE 1" << "DEPT 1 5" << "menuMg menuProperties menuDelete menuDownloadDept" + tools + " | popmenuNewMG popmenuDownloadDept popmenuProperties popmenuDelete" << "1 0 5 0 |  0.  0.  0.  0| kind 1" << "0:1:0:0 1:1:5:0";
        QTest::newRow("main group 997") << 1 << true << "STORE 1" << "MG 1 97 997" << "menuProperties menuDownloadMG" + tools + " | popmenuDownloadMG popmenuProperties" << "1 0 97 997 |  0.  0.  0.  0| kind 2" << "0:1:0:0 2:1:97:997";
        QTest::newRow("main group 97") << 1 << true << "STORE 1" << "MG 1 3 97" << "menuProperties menuDelete menuDownloadMG" + tools + " | popmenuDownloadMG popmenuProperties popmenuDelete" << "1 0 3 97 |  0.  0.  0.  0| kind 2" << "0:1:0:0 2:1:3:97";
        QTest::newRow("main group 197") << 1 << true << "STORE 1" << "MG 1 3 197" << "menuProperties menuDelete menuDownloadMG" + tools + " | popmenuDownloadMG popmenuProperties popmenuDelete" << "1 0 3 197 |  0.  0.  0.  0| kind 2" << "0:1:0:0 2:1:3:197";
        QTest::newRow("search 15 of store 2") << 1 << true << "STORE 2" << "SEARCH 2 15" << "menuProperties menuDelete" + tools + " | popmenuProperties popmenuDelete" << "2 0 15 0 |  0.  0.  0.  0| kind 3" << "0:2:0:0 3:2:15:0";
        // clang-format on
    }
    void selection()
    {
        QFETCH(int, sysStore);
        QFETCH(bool, sections);
        QFETCH(QString, dataOf);
        QFETCH(QString, key);
        QStringList rows = kRows;
        if (!sections)
            rows.removeIf([](const QString& row) {
                return row.startsWith(QLatin1String("SECT|")) || row.startsWith(QLatin1String("SCALE|"));
            });
        frmMain* w = open(sysStore, rows);
        if (!dataOf.isEmpty()) {
            press(w, dataOf);
            w->cmdData_Click(); // lists the store's PLUs
        }
        press(w, key);
        QCOMPARE(w->selectedNodeKey(), key);
        QTEST(menuStates(w), "menus");
        QTEST(numbersNow(), "numbers");
        QTEST(m_loads.join(QLatin1Char(' ')), "loads");
        QCOMPARE(dataOf.isEmpty() ? gStoreTree().gStoreViewKey : gStoreTree().gDataViewKey, key);
        QVERIFY(m_messages.isEmpty());
    }

    // What the operator's presses on the tree do: a click on the listed node lists nothing again; the right button
    // opens the pop-up menu once; a cancelled save question puts the earlier node back with its menus and numbers;
    // a collapse that hides the selected node selects the collapsed one, unless the question is cancelled.
    void operatorPresses_data()
    {
        // "click KEY", "right KEY", "collapse KEY" (a click on its arrow), "close" (the pop-up menu), "store" (the
        // store view), "changed" (an edited PLU, answer Cancel)
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("loads");
        QTest::addColumn<QString>("popup"); // its shown entries while it is open; "closed"
        QTest::addColumn<int>("questions");
        // clang-format off
        QTest::newRow("same node twice") << QStringList{"click MG 1 3 97", "click MG 1 3 97"} << "MG 1 3 97" << "1 0 3 97 |  0.  0.  0.  0| kind 2" << "2:1:3:97" << "closed" << 0;
        QTest::newRow("right press") << QStringList{"right DEPT 1 3"} << "DEPT 1 3" << "1 0 3 0 |  0.  0.  0.  0| kind 1" << "1:1:3:0" << "popmenuNewMG popmenuDownloadDept popmenuProperties" << 0;
        QTest::newRow("left click after a right press") << QStringList{"right DEPT 1 3", "close", "click DEPT 1 5"} << "DEPT 1 5" << "1 0 5 0 |  0.  0.  0.  0| kind 1" << "1:1:3:0 1:1:5:0" << "closed" << 0;
        QTest::newRow("cancelled question") << QStringList{"click DEPT 1 5", "changed", "click MG 1 3 97"} << "DEPT 1 5" << "1 0 5 0 |  0.  0.  0.  0| kind 1" << "1:1:5:0" << "closed" << 1;
        QTest::newRow("cancelled question, right press") << QStringList{"click DEPT 1 5", "changed", "right MG 1 3 97"} << "DEPT 1 5" << "1 0 5 0 |  0.  0.  0.  0| kind 1" << "1:1:5:0" << "closed" << 1;
        QTest::newRow("collapse over the selected node") << QStringList{"click MG 1 3 97", "collapse DEPT 1 3"} << "DEPT 1 3" << "1 0 3 0 |  0.  0.  0.  0| kind 1" << "2:1:3:97 1:1:3:0" << "closed" << 0;
        QTest::newRow("collapse over the selected node, cancelled") << QStringList{"click MG 1 3 97", "changed", "collapse DEPT 1 3"} << "MG 1 3 97" << "1 0 3 97 |  0.  0.  0.  0| kind 2" << "2:1:3:97" << "closed" << 1;
        QTest::newRow("collapse of another node") << QStringList{"click MG 1 3 97", "collapse DEPT 1 97"} << "MG 1 3 97" << "1 0 3 97 |  0.  0.  0.  0| kind 2" << "2:1:3:97" << "closed" << 0;
        QTest::newRow("collapse over the selected scale") << QStringList{"store", "click MACHINE 1 2 192.168.  1. 20", "collapse STORE 1"} << "STORE 1" << "0 0 0 0 |  0.  0.  0.  0| kind 0" << "" << "closed" << 0;
        // clang-format on
    }
    void operatorPresses()
    {
        QFETCH(QStringList, steps);
        frmMain* w = openDataView("STORE 1");
        QMenu* popup = ui::popupMenu(w, QStringLiteral("popmenu"));
        QString menusBefore;
        for (const QString& step : std::as_const(steps)) {
            const QString key = step.section(QLatin1Char(' '), 1);
            if (step.startsWith(QLatin1String("click")))
                press(w, key);
            else if (step.startsWith(QLatin1String("right")))
                press(w, key, Qt::RightButton);
            else if (step.startsWith(QLatin1String("collapse")))
                QVERIFY2(test::clickArrow(w, key), qPrintable(key));
            else if (step == QLatin1String("close"))
                popup->hide();
            else if (step == QLatin1String("store"))
                w->cmdStore_Click();
            else if (step == QLatin1String("changed")) {
                gPluEditor().gPLUChanged = 1;
                m_answer = ui::MsgCancel;
                menusBefore = menuStates(w);
            }
        }
        QTEST(w->selectedNodeKey(), "selected");
        // The node the operator sees highlighted is the one the menus and numbers belong to.
        const QList<QTreeWidgetItem*> highlighted = tree(w)->selectedItems();
        QTEST(highlighted.size() == 1 ? highlighted[0]->data(0, Qt::UserRole).toString() : QString(), "selected");
        for (const QTreeWidgetItem* up = tree(w)->currentItem()->parent(); up; up = up->parent())
            QVERIFY2(up->isExpanded(), "the selected node is in sight");
        QTEST(numbersNow(), "numbers");
        QTEST(m_loads.join(QLatin1Char(' ')), "loads");
        QStringList shown;
        for (QAction* a : popup->actions())
            if (a->isVisible())
                shown << a->objectName();
        QTEST(popup->isVisible() ? shown.join(QLatin1Char(' ')) : QStringLiteral("closed"), "popup");
        popup->hide();
        QTEST(int(m_messages.size()), "questions");
        if (!menusBefore.isEmpty())
            QCOMPARE(menuStates(w), menusBefore);
    }

    // The start: the first store of an empty database in one-store mode, the root of store mode 1, stores present.
    void start_data()
    {
        QTest::addColumn<int>("sysStore");
        QTest::addColumn<QStringList>("rows"); // "closed": the database fails
        QTest::addColumn<QString>("dialog");   // its title; empty: none
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<QString>("message"); // what the one message holds; empty: none
        // clang-format off
        QTest::newRow("empty, mode 0") << 0 << QStringList() << "Store Properties" << QStringList{"STORE 1|Store1"} << "";
        QTest::newRow("empty, mode 1") << 1 << QStringList() << "" << QStringList{"*ROOT|All stores"} << "";
        QTest::newRow("stores, mode 0") << 0 << kRows << "" << QStringList{"STORE 1|Centre", "SECT 1 2|Deli", "MACHINE 1 2 192.168.  1. 20|Deli 1"} << "";
        QTest::newRow("a section without its store") << 1 << QStringList{"STORE|ST_No=1|ST_Name=Centre", "SECT|ST_No=4|SECT_No=2|SECT_Name=Lost"} << "" << QStringList{"*ROOT|All stores", "STORE 1|Centre"} << "SECT 4 2 (Lost)";
        QTest::newRow("database failure, mode 0") << 0 << QStringList{"closed"} << "" << QStringList() << "database";
        // clang-format on
    }
    void start()
    {
        QFETCH(int, sysStore);
        QFETCH(QStringList, rows);
        QFETCH(QString, dialog);
        QFETCH(QString, message);
        QString title, code;
        test::WindowAnswer answer(QStringLiteral("frmProperties"), [&](QWidget* d) {
            title = d->windowTitle();
            code = d->findChild<QLineEdit*>(QStringLiteral("txtCode"))->text();
            d->close(); // no way out but OK
            QVERIFY(d->isVisible());
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        const bool closed = rows == QStringList{"closed"};
        if (closed)
            gDBConnection.close();
        const auto reopen = qScopeGuard([] {
            if (!gDBConnection.isOpen())
                gDBConnection.open(programPath(QLatin1String(paths::WorkingDatabase)));
        });
        frmMain* w = open(sysStore, closed ? QStringList() : rows);
        QCOMPARE(title, dialog);
        QCOMPARE(answer.count(), dialog.isEmpty() ? 0 : 1);
        const QStringList nodes = test::treeNodes(w);
        QTEST(nodes, "nodes");
        QCOMPARE(w->selectedNodeKey(), nodes.value(0).section(QLatin1Char('|'), 0, 0));
        QCOMPARE(m_messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(m_messages[0].text.contains(message), qPrintable(m_messages[0].text));
        if (!dialog.isEmpty()) {
            QCOMPARE(code, QStringLiteral("1"));
            QCOMPARE(test::dump(QStringLiteral("STORE"), QStringLiteral("ST_No, ST_Name, barformat")),
                     QStringLiteral("1:Store1:0"));
            QCOMPARE(test::dump(QStringLiteral("KVB_20"), QStringLiteral("ST_No, DP_No, DP_Name, barformat")),
                     QStringLiteral("1:97:Dept97:255"));
            QCOMPARE(test::dump(QStringLiteral("KVB_23"), QStringLiteral("ST_No, DP_No, MG_No, MG_Name, barformat")),
                     QStringLiteral("1:97:997:Group997:255"));
        }
        // The tree was rebuilt once, after the dialog: activating the window again leaves it.
        QTreeWidgetItem* top = tree(w)->topLevelItem(0);
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w, &activate);
        QCOMPARE(tree(w)->topLevelItem(0), top);
        // The starting states: no PLU command, no PLU list.
        for (QPushButton* b : w->findChildren<QPushButton*>())
            QVERIFY2(!b->isEnabled() || b->objectName() == QLatin1String("cmdData"), qPrintable(b->objectName()));
        for (const char* name : {"menuDownload", "menuUpload", "menuDeletePlu"})
            QVERIFY(!entry(w, name)->isEnabled());
        QVERIFY(!w->findChild<QTableWidget*>(QStringLiteral("MSHFlexGridPLU"))->isVisible());
        QVERIFY(!w->findChild<QTabWidget*>(QStringLiteral("SSTabPLU"))->isVisible());
    }

    // Store, then Data, then Store: each view selects its remembered node again; a rebuild after the store's dialog
    // shows the name it saved.
    void viewSwitches()
    {
        frmMain* w = open(1);
        press(w, QStringLiteral("STORE 2"));
        w->cmdData_Click();
        QTRY_COMPARE(w->focusWidget(), tree(w)); // as the switch left it, after the list's load
        QCOMPARE(tree(w)->topLevelItem(0)->text(0), QStringLiteral("Harbour"));
        QCOMPARE(gStoreTree().gCurStoreNo, qint16(2));
        QVERIFY(button(w, "cmdStore")->isEnabled() && !button(w, "cmdData")->isEnabled());
        press(w, QStringLiteral("DEPT 2 97"));
        w->cmdStore_Click();
        QCOMPARE(w->selectedNodeKey(), QStringLiteral("STORE 2"));
        QVERIFY(w->findChild<QWidget*>(QStringLiteral("picMain"))->isVisible());
        w->cmdData_Click();
        QCOMPARE(w->selectedNodeKey(), QStringLiteral("DEPT 2 97"));
        QCOMPARE(m_loads, QStringList({"0:2:0:0", "1:2:97:0", "1:2:97:0"}));

        StoreTreeState& t = gStoreTree();
        t.gPropertyNodeKind = qint16(NodeKind::Store);
        t.gStoreRec.ST_No = 2;
        t.gStoreRec.ST_Name = QStringLiteral("Quay");
        t.gTreeFilled = 0;
        w->Form_Activate();
        QCOMPARE(tree(w)->topLevelItem(0)->text(0), QStringLiteral("Quay"));
        QCOMPARE(w->selectedNodeKey(), QStringLiteral("DEPT 2 97"));

        // Once the exit has begun, an activation rebuilds nothing and lists no PLUs.
        ui::windows().setExiting(true);
        t.gStoreRec.ST_Name = QStringLiteral("Pier");
        t.gTreeFilled = 0;
        m_loads.clear();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w, &activate);
        QCOMPARE(tree(w)->topLevelItem(0)->text(0), QStringLiteral("Quay"));
        QCOMPARE(t.gTreeFilled, qint16(0));
        QCOMPARE(m_loads, QStringList());
    }

    // The first resize arms; every later one places each control in proportion, fonts by the height; the design
    // size gives the design geometry back.
    void resizing()
    {
        gSettings().gSysStore = 1;
        frmMain* w = frmMain::form();
        QWidget* client = w->centralWidget();
        const auto pixels = [](const QRect& twips, int factor) {
            return QRect(ui::twipsToPixels(twips.left() * factor), ui::twipsToPixels(twips.top() * factor),
                         ui::twipsToPixels(twips.width() * factor), ui::twipsToPixels(twips.height() * factor));
        };
        const QSize design = pixels(QRect(QPoint(), ui::designSize(w)), 1).size();
        // Twice as large before it is first shown: that first resize only arms the resizing.
        w->resize(design * 2 + QSize(0, w->menuWidget()->sizeHint().height()));
        w->Show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(client->size(), design * 2);
        const QSize frame = w->size() - client->size();
        const qreal designFont = w->font().pointSizeF();
        QList<QWidget*> controls;
        for (QWidget* c : client->findChildren<QWidget*>())
            if (ui::designRect(c).isValid())
                controls << c;
        QCOMPARE(controls.size(), frmMain::kControls.controls.size() - 3); // all but the tab pages
        const auto check = [&](int factor, int slack) {
            for (QWidget* c : std::as_const(controls)) {
                const QRect expected = pixels(ui::designRect(c), factor);
                const QRect got = c->geometry();
                QVERIFY2(qAbs(got.left() - expected.left()) <= slack && qAbs(got.top() - expected.top()) <= slack
                             && qAbs(got.width() - expected.width()) <= slack
                             && qAbs(got.height() - expected.height()) <= slack,
                         qPrintable(c->objectName()));
                QCOMPARE(c->font().pointSizeF(), designFont * factor);
            }
        };
        check(1, 0);
        // A grid's rows and header grow with its font.
        const auto* grid = w->findChild<QTableWidget*>(QStringLiteral("MSHFlexGridPLU"));
        const int rowHeight = grid->verticalHeader()->defaultSectionSize();
        const int headerHeight = grid->horizontalHeader()->sizeHint().height();
        w->resize(design * 2 + frame + QSize(0, 1));
        w->resize(design * 2 + frame);
        QTRY_COMPARE(client->size(), design * 2);
        check(2, 1);
        QVERIFY2(grid->verticalHeader()->defaultSectionSize() >= rowHeight * 9 / 5, "rows keep their height");
        QVERIFY2(grid->horizontalHeader()->sizeHint().height() >= headerHeight * 3 / 2, "the header keeps its height");
        w->resize(design + frame);
        QTRY_COMPARE(client->size(), design);
        check(1, 0);
    }

    // Captions after the load and after each language entry: the block's texts under the keys of the buttons and
    // menus, the check mark, the settings file; the title and the tree stay.
    void captions_data()
    {
        QTest::addColumn<QString>("entry"); // empty: the load
        QTest::addColumn<int>("priceUnit");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("settingLines"); // -1: the file cannot be written
        QTest::newRow("load") << "" << 0 << "Standard" << 9;
        QTest::newRow("Chinese, settings file not written") << "menuChinese" << 0 << "Chinese" << -1;
        QTest::newRow("Chinese") << "menuChinese" << 0 << "Chinese" << 9;
        QTest::newRow("Other, own currency") << "menuOther" << 2 << "Other" << 10;
        QTest::newRow("English") << "menuEnglish" << 1 << "Standard" << 9;
    }
    void captions()
    {
        QFETCH(QString, entry);
        QFETCH(int, priceUnit);
        QFETCH(QString, group);
        QFETCH(int, settingLines);
        const QString settingFile = programPath(QLatin1String(paths::SettingsFile));
        const QByteArray settingBefore = test::readFile(settingFile);
        const auto restoreSetting = qScopeGuard([&] {
            QDir().rmdir(settingFile);
            test::writeFile(settingFile, settingBefore);
        });
        if (settingLines < 0) // a folder in its place
            QVERIFY(QFile::remove(settingFile) && QDir().mkdir(settingFile));
        // Other's texts told apart from Standard's.
        QStringList lines;
        const QString languageFile = programPath(QLatin1String(paths::LanguageFile));
        const QByteArray original = test::readFile(languageFile);
        const auto restore = qScopeGuard([&] { test::writeFile(languageFile, original); });
        QVERIFY(text::readLines(languageFile, text::Encoding::Gb18030, &lines));
        for (qsizetype i = lines.indexOf(QStringLiteral("<Other>")); i < lines.size(); ++i)
            if (lines[i].startsWith(QLatin1String("menuFile=")) || lines[i].startsWith(QLatin1String("MainCmdDelete=")))
                lines[i] += QStringLiteral(" (other)");
        QVERIFY(text::writeLines(languageFile, lines, text::Encoding::Gb18030));
        gSettings().gPriceUnit = qint16(priceUnit);
        gSettings().gCurrencySymbol = QStringLiteral("EUR");
        gSettings().gLanguageIndex = 2;
        frmMain* w = open(1);
        QTreeWidgetItem* top = tree(w)->topLevelItem(0);
        if (!entry.isEmpty())
            ui::menuEntry(w, entry)->trigger();

        LangCollection menus, cmd;
        LoadSectionToCollection(languageFile, group, QStringLiteral("frmMain_Menu"), menus);
        LoadSectionToCollection(languageFile, group, QStringLiteral("frmMain_cmd"), cmd);
        for (const ui::MenuEntry& e : frmMain::kMenus.entries)
            if (!e.captionKey().isEmpty())
                QCOMPARE(ui::menuEntry(w, e.objectName())->text(), menus.text(e.captionKey()));
        for (const ui::Control& c : frmMain::kControls.controls)
            if (!c.captionKey().isEmpty())
                QCOMPARE(w->findChild<QPushButton*>(c.objectName())->text(), cmd.text(c.captionKey()));
        QCOMPARE(ui::menuEntry(w, QStringLiteral("menuFile"))->text().endsWith(QLatin1String(" (other)")),
                 group == QLatin1String("Other"));
        QCOMPARE(button(w, "cmdDel")->text(), button(w, "cmdDlelte")->text());
        LangCollection tabs;
        LoadSectionToCollection(languageFile, group, QStringLiteral("frmMain_sstab"), tabs);
        QCOMPARE(w->findChild<QTabWidget*>(QStringLiteral("SSTabPLU"))->tabText(2),
                 tabs.text(QStringLiteral("MainTab2")));

        const QString checked = entry.isEmpty() ? QStringLiteral("menuOther") : entry;
        for (const char* name : {"menuEnglish", "menuChinese", "menuOther"})
            QCOMPARE(ui::menuEntry(w, QLatin1String(name))->isChecked(), checked == QLatin1String(name));
        QCOMPARE(w->windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(tree(w)->topLevelItem(0), top);
        QVERIFY(!w->findChild<QTabWidget*>(QStringLiteral("SSTabPLU"))->isVisible());
        QVERIFY(w->isEnabled());
        if (settingLines < 0) {
            QCOMPARE(m_messages.size(), 1);
            QCOMPARE(m_messages[0].key, QStringLiteral("fileWriteErr"));
        } else if (!entry.isEmpty()) {
            QStringList setting;
            QVERIFY(text::readLines(settingFile, text::Encoding::Ansi, &setting));
            QCOMPARE(int(setting.size()), settingLines);
            QCOMPARE(setting[0].trimmed(), QString::number(gSettings().gLanguageIndex));
            QCOMPARE(setting[6], priceUnit == 2 ? QStringLiteral("EUR") : setting[6]);
        }
        QCOMPARE(m_messages.size(), settingLines < 0 ? 1 : 0);
    }

    // Cancel on the save question stops each command that asks it; closing by the frame asks too.
    void saveQuestion_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("done"); // the command's effect is seen
        for (const char* command : {"cmdStore", "menuChinese", "menuEnglish", "menuScrollMSG", "menuExit", "frame"}) {
            QTest::addRow("%s, Cancel", command) << command << int(ui::MsgCancel) << false;
            QTest::addRow("%s, No", command) << command << int(ui::MsgNo) << true;
        }
    }
    void saveQuestion()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        setToolWindowOpener(QStringLiteral("menuScrollMSG"), &openToolWindow<ToolStandIn>);
        frmMain* w = openDataView("STORE 1");
        QPointer<frmMain> window(w);
        gPluEditor().gPLUChanged = 1;
        m_answer = answer;
        const bool chinese = command == QLatin1String("menuChinese");
        const bool language = chinese || command == QLatin1String("menuEnglish");
        if (language)
            gSettings().gLanguageName.clear(); // a switch names its language anew, English (ticked) too
        if (command == QLatin1String("cmdStore"))
            w->cmdStore_Click();
        else if (command == QLatin1String("frame"))
            w->close();
        else
            ui::menuEntry(w, command)->trigger();
        // Only the chosen language carries the check mark, also when the switch was cancelled.
        const char* const marks[] = {"menuEnglish", "menuChinese", "menuOther"};
        for (qint16 i = 0; window && i < 3; ++i)
            QCOMPARE(ui::menuEntry(w, QLatin1String(marks[i]))->isChecked(), i == gSettings().gLanguageIndex);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].key, QStringLiteral("updatePLU"));
        QCOMPARE(m_messages[0].icon, ui::MsgIcon::Question);
        QCOMPARE(gPluEditor().gPLUChanged, qint16(answer == ui::MsgNo ? 0 : 1));
        bool done = false;
        if (command == QLatin1String("cmdStore"))
            done = gStoreTree().gTreeViewMode == 1;
        else if (language)
            done = !gSettings().gLanguageName.isEmpty() && gSettings().gLanguageIndex == (chinese ? 1 : 0);
        else if (command == QLatin1String("menuScrollMSG"))
            done = ui::windows().tool<ToolStandIn>() != nullptr;
        else
            done = !window || !window->isVisible();
        QTEST(done, "done");
        if (auto* tool = ui::windows().tool<ToolStandIn>())
            tool->close();
        frmMain::unload(); // the end of the program asks nothing, whatever the editor holds
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
        QCOMPARE(m_messages.size(), 1);
    }

    // The entries of the settings, report and preset-key windows: Cancel on the save question opens nothing (the
    // About window asks none); the window bears the entry's caption; a tool window hides the main window until it
    // unloads.
    void windowEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("tool");
        QTest::addColumn<bool>("asks");
        // clang-format off
        QTest::newRow("data format") << "menuDataFormat" << "frmScale" << false << true;
        QTest::newRow("about") << "menuSoftwareVersion" << "frmAbout" << false << false;
        QTest::newRow("translation") << "menuLanguageTranslate" << "frmTranslate" << true << true;
        QTest::newRow("preset keys") << "menuEditPresetKey" << "frmPresetKey" << true << true;
        QTest::newRow("scroll messages") << "menuScrollMSG" << "frmScrollMSG" << true << true;
        QTest::newRow("other files") << "menuEditOtherFiles" << "frmOtherFile" << true << true;
        QTest::newRow("report export") << "menuExportReport" << "frmExportReportData" << true << true;
        QTest::newRow("report reset") << "menuResetReport" << "frmResetReportData" << true << true;
        // clang-format on
    }
    void windowEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, window);
        QFETCH(bool, tool);
        QFETCH(bool, asks);
        frmMain* w = openDataView("STORE 1");
        if (entry == QLatin1String("menuEditPresetKey")) { // offered for a scale only
            w->cmdStore_Click();
            press(w, QStringLiteral("MACHINE 1 2 192.168.  1. 20"));
        }
        QAction* action = ui::menuEntry(w, entry);
        QVERIFY(action->isEnabled());
        const auto openWindow = [&]() -> QWidget* {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == window && top->isVisible())
                    return top;
            return nullptr;
        };

        gPluEditor().gPLUChanged = 1;
        m_answer = ui::MsgCancel;
        QString modalTitle;
        {
            test::WindowAnswer modal(window, [&](QWidget* dialog) { modalTitle = dialog->windowTitle(); });
            action->trigger();
            QCOMPARE(m_messages.size(), asks ? 1 : 0);
            QCOMPARE(modal.count(), asks ? 0 : 1);
        }
        if (!asks)
            QCOMPARE(modalTitle, action->text());
        QVERIFY(!openWindow());
        QVERIFY(w->isVisible());

        m_answer = ui::MsgNo;
        test::WindowAnswer modal(window, [&](QWidget* dialog) { modalTitle = dialog->windowTitle(); });
        action->trigger();
        if (!tool) {
            QCOMPARE(modal.count(), 1);
            if (!asks)
                QCOMPARE(modalTitle, action->text());
            QVERIFY(w->isVisible());
            return;
        }
        QWidget* opened = openWindow();
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), action->text());
        QVERIFY(!w->isVisible());
        gStoreTree().gTreeFilled = 0; // as the import window leaves it
        {
            // An activation that came while the menu's handler ran is stale once the window has hidden.
            const ui::HandlerRun run(w);
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(w, &activate);
        }
        QCoreApplication::processEvents();
        QCOMPARE(gStoreTree().gTreeFilled, qint16(0));
        opened->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w->isVisible());
        QCOMPARE(gStoreTree().gTreeFilled, qint16(1)); // rebuilt when shown again
    }

    // Help and F1 open the language's help file; a missing one is said.
    void help_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("present");
        // clang-format off
        QTest::newRow("help, English") << "menuSoftwareHelp" << "Software Help EN.chm" << true;
        QTest::newRow("help after Chinese") << "menuChinese" << "Software Help CN.chm" << true;
        QTest::newRow("missing") << "menuSoftwareHelp" << "Software Help EN.chm" << false;
        // clang-format on
    }
    void help()
    {
        QFETCH(QString, entry);
        QFETCH(QString, file);
        QFETCH(bool, present);
        const QString path = programPath(file);
        if (present)
            QVERIFY(test::writeFile(path, "help"));
        frmMain* w = open(1);
        if (entry != QLatin1String("menuSoftwareHelp"))
            ui::menuEntry(w, entry)->trigger();
        m_opened.clear();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_F1);
        QCOMPARE(m_opened, present ? path : QString());
        QCOMPARE(m_messages.size(), present ? 0 : 1);
        if (!present)
            QVERIFY(m_messages[0].text.contains(QDir::toNativeSeparators(path)));
        QFile::remove(path);
        gSettings().gLanguageIndex = 0;
    }

    // One transfer request: the caller takes no input while the transfer window is built and open, and takes it again
    // whatever became of the request.
    void transferRequest_data()
    {
        QTest::addColumn<QString>("step"); // "", "append", "cancel", "throw"
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QStringList>("files"); // as the transfer window saw them
        QTest::newRow("send") << "" << true << QStringList{"DEP0UALL.csv"};
        QTest::newRow("send options append") << "append" << true << QStringList{"DEP0UALL.csv", "MGP0UALL.csv"};
        QTest::newRow("send options cancelled") << "cancel" << false << QStringList();
        QTest::newRow("failing step") << "throw" << false << QStringList();
    }
    void transferRequest()
    {
        QFETCH(QString, step);
        frmMain* w = openDataView("STORE 2");
        press(w, QStringLiteral("DEPT 2 97"));
        QStringList seen;
        bool callerEnabled = true;
        test::WindowAnswer answer(QStringLiteral("frmFTPDataTrans"), [&](QWidget* form) {
            seen = test::requestOf(form).files;
            callerEnabled = w->isEnabled();
        });
        bool shown = false;
        bool thrown = false;
        bool enabledInStep = false;
        try {
            shown = requestTransfer(w, {.mode = TransferSend, .files = {QStringLiteral("DEP0UALL.csv")}}, [&] {
                        enabledInStep = w->isEnabled();
                        if (step == QLatin1String("throw"))
                            throw Error(QStringLiteral("no"));
                        if (step == QLatin1String("cancel"))
                            return std::optional<QStringList>();
                        return std::optional<QStringList>(step == QLatin1String("append") ? QStringList{"MGP0UALL.csv"}
                                                                                          : QStringList());
                    }).has_value();
        } catch (const Error&) {
            thrown = true;
        }
        QCOMPARE(thrown, step == QLatin1String("throw"));
        QVERIFY(enabledInStep);
        QTEST(shown, "shown");
        QTEST(seen, "files");
        QVERIFY(!callerEnabled || !shown);
        QVERIFY(w->isEnabled());
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
