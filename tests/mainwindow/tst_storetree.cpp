#include "NodeRows.h"
#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"

#include "mainwindow/NodeRecords.h"
#include "mainwindow/StoreTree.h"
#include "records/KvbRecords.h"
#include "settings/Settings.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QtTest>

using namespace quorvane;

namespace {

// Builds the scale record of every department and main group; false when a stored one is not its row's.
bool recordsFitRows(bool build = false)
{
    for (const QString& table : {QStringLiteral("KVB_20"), QStringLiteral("KVB_23")}) {
        db::Recordset rs(&gDBConnection);
        rs.openTable(table);
        for (; !rs.eof(); rs.moveNext()) {
            if (build)
                rs.setValue(QStringLiteral("KVBBinData"), records::buildKvbRecord(table, rs, nullptr));
            else if (rs.bytesValue(QStringLiteral("KVBBinData")) != records::buildKvbRecord(table, rs, nullptr))
                return false;
        }
    }
    return true;
}

QStringList lines(const TreeViewNodes& view)
{
    QStringList out;
    for (const TreeNode& n : view.nodes)
        out << QStringLiteral("%1|%2|%3|%4").arg(n.parentKey, n.key, n.text).arg(n.image);
    for (const SkippedNode& s : view.skipped)
        out << (s.reason == SkippedNode::MissingParent ? QStringLiteral("orphan ") : QStringLiteral("twice "))
                + s.node.key;
    return out;
}

// "store section department-or-search main-group |address|"
QString described(const NodeNumbers& n)
{
    return QStringLiteral("%1 %2 %3 %4 |%5|")
        .arg(n.storeNo)
        .arg(n.sectNo)
        .arg(n.deptOrSearchNo)
        .arg(n.mgNo)
        .arg(n.scaleIP);
}

const QStringList kStoreRows{
    "STORE|ST_No=2|ST_Name=Two",
    "STORE|ST_No=1|ST_Name=One",
    "SECT|ST_No=2|SECT_No=1|SECT_Name=S21",
    "SECT|ST_No=1|SECT_No=2|SECT_Name=S12",
    "SECT|ST_No=2|SECT_No=1|SECT_Name=again",
    "SECT|ST_No=9|SECT_No=1|SECT_Name=S91",
    "SCALE|ST_No=1|SECT_No=2|SC_IP=192.168.  1. 20|SC_No=Scale A",
    "SCALE|ST_No=2|SECT_No=3|SC_IP= 10.  0.  0.  5|SC_No=Scale B",
};

// Two stores with department 10, main groups, PLUs and one scale with its preset keys.
const QStringList kNodeRows{
    "STORE|ST_No=1|ST_Name=One",
    "KVB_20|ST_No=1|DP_No=10|DP_Name=Fruit|barformat=255",
    "KVB_20|ST_No=2|DP_No=10|DP_Name=Bread|barformat=255",
    "KVB_23|ST_No=1|DP_No=10|MG_No=40|MG_Name=Apples|barformat=255",
    "KVB_23|ST_No=1|DP_No=11|MG_No=41|MG_Name=Pears|barformat=255",
    "KVB_23|ST_No=2|DP_No=10|MG_No=40|MG_Name=Rolls|barformat=255",
    "KVB_25|PLU_No=1|ST_No=1|PLU_MG=40",
    "KVB_25|PLU_No=2|ST_No=1|PLU_MG=41",
    "KVB_25|PLU_No=3|ST_No=2|PLU_MG=40",
    "SCALE|ST_No=1|SECT_No=2|SC_IP= 10.  0.  0.  5|SC_No=A",
    "SCALE|ST_No=2|SECT_No=1|SC_IP= 10.  0.  0.  6|SC_No=B",
    "KVB_41|Scale_IP= 10.  0.  0.  5|PSK_Layout=0|Number=1|Key_Switch=1",
    "KVB_41|Scale_IP= 10.  0.  0.  5|PSK_Layout=0|Number=2|Key_Switch=2",
    "KVB_41|Scale_IP= 10.  0.  0.  9|PSK_Layout=0|Number=2|Key_Switch=99",
    "KVB_41|Scale_IP= 10.  0.  0.  9|PSK_Layout=0|Number=3|Key_Switch=3",
};

const QString kMainGroups = QStringLiteral("ST_No,DP_No,MG_No");
const QString kPlus = QStringLiteral("PLU_No,PLU_MG");
const QString kKeys = QStringLiteral("Scale_IP,Number,Key_Switch");

} // namespace

class tst_StoreTree : public QObject {
    Q_OBJECT

    test::TransferFolder m_folder;

private slots:
    void initTestCase() { QVERIFY2(m_folder.setUp(), qPrintable(m_folder.errorText())); }
    void init()
    {
        programState().storeTree = StoreTreeState();
        if (!gDBConnection.isOpen())
            QVERIFY(gDBConnection.open(programPath(QLatin1String(paths::WorkingDatabase))));
        test::emptyTables({"STORE", "SECT", "SCALE", "KVB_20", "KVB_23", "KVB_25", "KVB_41", "SEARCH"});
    }

    void storeView_data()
    {
        QTest::addColumn<int>("sysStore");
        QTest::addColumn<QString>("rootName");
        QTest::addColumn<QStringList>("expected");
        const QStringList several{"*ROOT|STORE 2|Two|2",
                                  "*ROOT|STORE 1|One|2",
                                  "STORE 2|SECT 2 1|S21|3",
                                  "STORE 1|SECT 1 2|S12|3",
                                  "SECT 1 2|MACHINE 1 2 192.168.  1. 20|Scale A|4",
                                  "twice SECT 2 1",
                                  "orphan SECT 9 1",
                                  "orphan MACHINE 2 3  10.  0.  0.  5"};
        const QStringList one{"|STORE 2|Two|2", "STORE 2|SECT 2 1|S21|3", "twice SECT 2 1",
                              "orphan MACHINE 2 3  10.  0.  0.  5"};
        QTest::newRow("mode 1") << 1 << "Shop" << QStringList{"|*ROOT|Shop|1"} + several;
        QTest::newRow("root text STORE") << 1 << "STORE" << QStringList{"|*ROOT|STORE|1"} + several;
        QTest::newRow("root text S") << 1 << "S" << QStringList{"|*ROOT|S|1"} + several;
        QTest::newRow("mode 0") << 0 << "Shop" << one;
        QTest::newRow("mode 2") << 2 << "Shop" << one;
    }
    void storeView()
    {
        QFETCH(int, sysStore);
        QFETCH(QString, rootName);
        QFETCH(QStringList, expected);
        test::addRows(kStoreRows);
        gSettings().gSysStore = qint16(sysStore);
        gSettings().gTreeRootName = rootName;
        QCOMPARE(lines(LoadStoreView()), expected);
        QCOMPARE(gStoreTree().gTreeStoreNo, qint16(sysStore == 1 ? 0 : 2));
    }

    void dataView()
    {
        test::addRows({"KVB_20|ST_No=3|DP_No=97|DP_Name=D97", "KVB_20|ST_No=4|DP_No=97|DP_Name=other",
                       "KVB_20|ST_No=3|DP_No=5|DP_Name=D5", "KVB_23|ST_No=3|DP_No=5|MG_No=40|MG_Name=M40",
                       "KVB_23|ST_No=3|DP_No=97|MG_No=997|MG_Name=M997", "KVB_23|ST_No=3|DP_No=6|MG_No=41|MG_Name=lost",
                       "SEARCH|ST_No=3|SH_No=2|SH_Name=Cheap", "SEARCH|ST_No=4|SH_No=1|SH_Name=other"});
        const TreeViewNodes view = LoadDataView(QStringLiteral("STORE 3"), QStringLiteral("Main"));
        QCOMPARE(lines(view),
                 QStringList({"|STORE 3|Main|1", "STORE 3|DEPT 3 97|D97|2", "STORE 3|DEPT 3 5|D5|2",
                              "DEPT 3 5|MG 3 5 40|M40|3", "DEPT 3 97|MG 3 97 997|M997|3", "STORE 3|SEARCH 3 2|Cheap|2",
                              "orphan MG 3 6 41"}));
        QCOMPARE(gStoreTree().gCurStoreNo, qint16(3));
    }

    void nodeKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("numbers"); // store sect dept-or-search mg |address|
        QTest::newRow("store") << "STORE 12" << 1 << "12 0 0 0 |  0.  0.  0.  0|";
        QTest::newRow("section") << "SECT 1 2" << 2 << "1 2 0 0 |  0.  0.  0.  0|";
        QTest::newRow("scale") << "MACHINE 1 2 192.168.  1. 20" << 3 << "1 2 0 0 |192.168.  1. 20|";
        QTest::newRow("department") << "DEPT 2 5" << 4 << "2 0 5 0 |  0.  0.  0.  0|";
        QTest::newRow("main group") << "MG 3 12 997" << 5 << "3 0 12 997 |  0.  0.  0.  0|";
        QTest::newRow("search") << "SEARCH 2 15" << 6 << "2 0 15 0 |  0.  0.  0.  0|";
        QTest::newRow("root") << kRootNodeKey << 7 << "0 0 0 0 |  0.  0.  0.  0|";
    }
    void nodeKeys()
    {
        QFETCH(QString, key);
        QFETCH(int, kind);
        QFETCH(QString, numbers);
        const NodeKey parsed = parseNodeKey(key);
        QCOMPARE(int(parsed.kind), kind);
        QCOMPARE(described(parsed.numbers), numbers);
        QCOMPARE(nodeKey(parsed), key);
    }

    void nodeOperations()
    {
        test::addRows(kNodeRows);
        auto numbers = [](const char* key) { return parseNodeKey(QLatin1String(key)).numbers; };
        // Scale addresses are unique across stores, main-group numbers within their store.
        QVERIFY(NodeNumberExists(QStringLiteral("SCALE"), numbers("MACHINE 7 7  10.  0.  0.  6")));
        QVERIFY(!NodeNumberExists(QStringLiteral("SCALE"), numbers("MACHINE 1 2 10.0.0.6")));
        QVERIFY(NodeNumberExists(QStringLiteral("KVB_23"), numbers("MG 1 3 41")));
        QVERIFY(!NodeNumberExists(QStringLiteral("KVB_23"), numbers("MG 3 10 40")));
        QVERIFY(NodeNumberExists(QStringLiteral("KVB_20"), numbers("DEPT 2 10")));

        QVERIFY(LoadNodeProperties(QStringLiteral("SCALE"), numbers("MACHINE 2 1  10.  0.  0.  6")));
        QCOMPARE(gStoreTree().gScaleRec.SC_No, QStringLiteral("B"));
        QVERIFY(!LoadNodeProperties(QStringLiteral("SCALE"), numbers("MACHINE 1 1  10.  0.  0.  6")));
        QCOMPARE(gStoreTree().gScaleRec.SECT_No, qint16(1)); // kept

        test::addRows({"SECT|ST_No=1|SECT_No=4", "SECT|ST_No=2|SECT_No=1", "SECT|ST_No=1|SECT_No=3"});
        QCOMPARE(FillSectionCombo(QStringLiteral("SECT"), 1, 0), QStringList({"Not Used", "4", "3"}));
        test::updateRow(QStringLiteral("KVB_20"), 1, {{QStringLiteral("SECT_No"), 4}});
        QVERIFY(FillSectionCombo(QStringLiteral("KVB_20"), 1, 10).isEmpty());
        QCOMPARE(gStoreTree().gCurSectNo, qint16(4));

        DeleteNodeRecords(QStringLiteral("KVB_23"), numbers("MG 1 11 40"));
        QCOMPARE(test::dump(QStringLiteral("KVB_23"), kMainGroups), QStringLiteral("1:10:40 1:11:41 2:10:40"));
        DeleteNodeRecords(QStringLiteral("KVB_23"), numbers("MG 1 10 40"));
        QCOMPARE(test::dump(QStringLiteral("KVB_23"), kMainGroups), QStringLiteral("1:11:41 2:10:40"));
        DeleteNodeRecords(QStringLiteral("KVB_23"), numbers("MG 1 0 0"), true);
        DeleteNodeRecords(QStringLiteral("KVB_20"), numbers("DEPT 1 0"), true);
        QCOMPARE(test::dump(QStringLiteral("KVB_23"), kMainGroups), QStringLiteral("2:10:40"));
        QCOMPARE(test::dump(QStringLiteral("KVB_20"), QStringLiteral("ST_No,DP_No")), QStringLiteral("2:10"));
    }

    void saving_data()
    {
        QTest::addColumn<QString>("key");        // the node saved
        QTest::addColumn<QVariant>("newValue");  // its new number or address
        QTest::addColumn<QString>("badName");    // a main-group name the code page cannot hold
        QTest::addColumn<QStringList>("after");  // main groups, PLUs, preset keys
        QTest::addColumn<QString>("oldKey");     // the numbers saved over; empty: the node's own
        QTest::addColumn<QString>("otherScale"); // a row added before, empty for none
        const QString keys = QStringLiteral(" 10.  0.  0.  5:1:1  10.  0.  0.  5:2:2  10.  0.  0.  9:2:99  "
                                            "10.  0.  0.  9:3:3");
        const QStringList unchanged{"1:10:40 1:11:41 2:10:40", "1:40 2:41 3:40", keys};
        // clang-format off
        QTest::newRow("department 10 to 12") << "DEPT 1 10" << QVariant(12) << "" << QStringList{"1:12:40 1:11:41 2:10:40", "1:40 2:41 3:40", keys} << "" << "";
        QTest::newRow("main group 40 to 45") << "MG 1 10 40" << QVariant(45) << "" << QStringList{"1:10:45 1:11:41 2:10:40", "1:45 2:41 3:40", keys} << "" << "";
        QTest::newRow("scale address") << "MACHINE 1 2  10.  0.  0.  5" << QVariant(" 10.  0.  0.  9") << "" << QStringList{unchanged[0], unchanged[1], " 10.  0.  0.  9:1:1  10.  0.  0.  9:2:2  10.  0.  0.  9:3:3"} << "" << "";
        QTest::newRow("failing save") << "DEPT 1 10" << QVariant(12) << "Äpfel\u9762" << unchanged << "" << "";
        QTest::newRow("scale address, another scale keeps the old one") << "MACHINE 1 2  10.  0.  0.  5" << QVariant(" 10.  0.  0.  9") << "" << QStringList{unchanged[0], unchanged[1], " 10.  0.  0.  5:1:1  10.  0.  0.  5:2:2  10.  0.  0.  9:3:3  10.  0.  0.  9:1:1  10.  0.  0.  9:2:2"} << "" << "SCALE|ST_No=3|SECT_No=1|SC_IP= 10.  0.  0.  5";
        QTest::newRow("scale address, no scale row under the old key") << "MACHINE 1 2  10.  0.  0.  5" << QVariant(" 10.  0.  0.  7") << "" << unchanged << "MACHINE 1 3  10.  0.  0.  5" << "";
        // clang-format on
    }
    void saving()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, newValue);
        QFETCH(QString, badName);
        QFETCH(QStringList, after);
        QFETCH(QString, oldKey);
        QFETCH(QString, otherScale);
        test::addRows(kNodeRows);
        if (!otherScale.isEmpty())
            test::addRows({otherScale});
        QVERIFY(recordsFitRows(true));
        if (!badName.isEmpty())
            test::updateRow(QStringLiteral("KVB_23"), 1, {{QStringLiteral("MG_Name"), badName}});
        const NodeKey node = parseNodeKey(key);
        const QString table = nodeTableName(node.kind);
        QVERIFY(LoadNodeProperties(table, node.numbers));
        StoreTreeState& t = gStoreTree();
        t.gDeptRec.DP_No = t.gMGRec.MG_No = qint16(newValue.toInt());
        t.gScaleRec.SC_IP = newValue.toString();
        const QString before = test::dump(table, QStringLiteral("*"));
        try {
            SaveNodeProperties(table, oldKey.isEmpty() ? node.numbers : parseNodeKey(oldKey).numbers, 1);
            QVERIFY(badName.isEmpty());
            QVERIFY(recordsFitRows());
        } catch (const Error& e) {
            QVERIFY2(!badName.isEmpty(), qPrintable(e.fullText()));
            QCOMPARE(test::dump(table, QStringLiteral("*")), before);
        }
        QCOMPARE(
            QStringList({test::dump(QStringLiteral("KVB_23"), kMainGroups), test::dump(QStringLiteral("KVB_25"), kPlus),
                         test::dump(QStringLiteral("KVB_41"), kKeys)}),
            after);
        QVERIFY(!gDBConnection.inTransaction());
    }

    void newNode_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("proposal");
        QTest::addColumn<QString>("selection"); // store sect dept-or-search mg |address|
        // clang-format off
        QTest::newRow("first store") << "STORE" << "" << QStringList() << 1 << "0 0 0 0 ||";
        QTest::newRow("stores 1, 2, 7") << "STORE" << kRootNodeKey << QStringList{"STORE|ST_No=1", "STORE|ST_No=2", "STORE|ST_No=7"} << 8 << "0 0 0 0 ||";
        QTest::newRow("stores 7, 2") << "STORE" << "STORE 2" << QStringList{"STORE|ST_No=7", "STORE|ST_No=2"} << 3 << "0 0 0 0 ||";
        QTest::newRow("main group of DEPT 2 5") << "KVB_23" << "DEPT 2 5" << QStringList{"KVB_23|ST_No=2|DP_No=3|MG_No=40", "KVB_23|ST_No=2|DP_No=5|MG_No=12", "KVB_23|ST_No=3|DP_No=5|MG_No=90"} << 13 << "2 0 5 0 ||";
        QTest::newRow("section of a department") << "SECT" << "DEPT 2 5" << QStringList{"SECT|ST_No=0|SECT_No=4"} << 5 << "0 0 0 0 ||";
        QTest::newRow("search") << "SEARCH" << "STORE 4" << QStringList{"SEARCH|ST_No=4|SH_No=6"} << 7 << "4 0 0 0 ||";
        QTest::newRow("scale without the database") << "MACHINE" << "SECT 12 3" << QStringList() << 1 << "12 3 0 0 |  0.  0.  0.  0|";
        // clang-format on
    }
    void newNode()
    {
        QFETCH(QString, kind);
        QFETCH(QString, selected);
        QFETCH(QStringList, rows);
        QFETCH(int, proposal);
        QFETCH(QString, selection);
        test::addRows(rows);
        if (kind == QLatin1String("MACHINE"))
            gDBConnection.close();
        QCOMPARE(PrepareNewNode(kind, selected), proposal);
        QCOMPARE(described(currentSelection()), selection);
    }
};

QTEST_GUILESS_MAIN(tst_StoreTree)
#include "tst_storetree.moc"
