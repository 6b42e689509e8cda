#include "support/CodecTestDb.h"
#include "support/PresetKeyFiles.h"
#include "support/TransferFixture.h"

#include "datafiles/DataFileWriters.h"
#include "presetkeys/PresetKeyLayout.h"
#include "presetkeys/PresetKeyTable.h"
#include "records/PackedBcd.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QFile>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::presetkeys;

namespace {

const QString kScaleA = QStringLiteral("192.168.  1. 20");
const QString kScaleB = QStringLiteral(" 10.  0.  0.  5");
const QString kKas = QStringLiteral("KAS0UALL.csv");

void showSheet(const QString& scale, qint16 layout, qint16 keyNum)
{
    gStoreTree().gCurScaleIP = scale;
    gPresetKeys().gPSKLayout = layout;
    gPresetKeys().gKeyNum = keyNum;
}

qint64 addKey(const QString& scale, int layout, int number, int keySwitch, int status, int selected = 0)
{
    return test::addRow(QStringLiteral("KVB_41"),
                        {{"Scale_IP", scale},
                         {"PSK_Layout", layout},
                         {"Number", number},
                         {"Key_Switch", keySwitch},
                         {"Status", status},
                         {"Is_Selected", selected}});
}

// "scale|layout|Number|Key_Switch|Status|Name" of every key row in stored order.
QStringList keyRows()
{
    QStringList rows;
    db::Statement st = gDBConnection.prepare(
        QStringLiteral("SELECT Scale_IP, PSK_Layout, Number, Key_Switch, Status, Name FROM KVB_41 ORDER BY rowid"));
    while (st.step()) {
        QStringList row;
        for (int i = 0; i < 6; ++i)
            row << st.column(i).toString();
        rows << row.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class TestPresetKeys : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void keyCodesAndRecords_data();
    void keyCodesAndRecords();
    void recordRefusals();
    void pageWrites();
    void layoutDeleteAndMarks();
    void kasFile();
    void exitRecordByLayoutFile();

    void shippedLayout();
    void layoutIndexTakesItsLine();
    void keyAtPoint_data();
    void keyAtPoint();

private:
    std::unique_ptr<test::TransferFolder> m_folder;
};

void TestPresetKeys::initTestCase()
{
    m_folder = std::make_unique<test::TransferFolder>();
    QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
}

void TestPresetKeys::cleanupTestCase() { m_folder.reset(); }

void TestPresetKeys::init()
{
    gPresetKeys() = PresetKeyState();
    gStoreTree() = StoreTreeState();
    test::emptyTables({"KVB_41", "SCALE"});
    gLangMsg.clear();
    gLangMsg.add(QStringLiteral("presetKeyFileErr"), QStringLiteral("The preset-key file cannot be used:"));
}

void TestPresetKeys::keyCodesAndRecords_data()
{
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("keyNum");
    QTest::addColumn<int>("keySwitch");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("PLU 1234, key 3, page 1") << 1234 << 3 << 24 << 1234 << 0 << test::hex("00000003 000B 00001234 00");
    QTest::newRow("payment 2, key 7, page 3")
        << 3000002 << 55 << 24 << 2 << 129 << test::hex("00000519 000B 00000002 81");
    QTest::newRow("tare 1250, key 24, page 2")
        << 5001250 << 48 << 24 << 1250 << 6 << test::hex("00000280 000B 00001250 06");
    QTest::newRow("first function key") << 1000000 << 1 << 24 << 0 << 1 << test::hex("00000001 000B 00000000 01");
    QTest::newRow("clerk 98") << 2000098 << 2 << 24 << 98 << 2 << test::hex("00000002 000B 00000098 02");
    QTest::newRow("batch report 99") << 4000099 << 3 << 24 << 99 << 130 << test::hex("00000003 000B 00000099 82");
    QTest::newRow("tare 5") << 5000005 << 4 << 24 << 5 << 6 << test::hex("00000004 000B 00000005 06");
    QTest::newRow("key 24, page 3") << 7 << 72 << 24 << 7 << 0 << test::hex("00000536 000B 00000007 00");
    QTest::newRow("key 30 of 32, page 1") << 8 << 30 << 32 << 8 << 0 << test::hex("00000030 000B 00000008 00");
}

void TestPresetKeys::keyCodesAndRecords()
{
    QFETCH(int, keyCode);
    QFETCH(int, number);
    QFETCH(int, keyNum);
    QFETCH(int, keySwitch);
    QFETCH(int, status);
    QFETCH(QByteArray, record);
    const KeyFields fields = keyFieldsOfCode(keyCode);
    QCOMPARE(fields.keySwitch, keySwitch);
    QCOMPARE(fields.status, status);
    QCOMPARE(keyCodeOfFields(keySwitch, status), keyCode);
    QCOMPARE(KvbPresetKeyRecord(number, keySwitch, status, keyNum).toHex(' '), record.toHex(' '));

    // Written through the table and read back, the page keeps its code; the record is the row's.
    showSheet(kScaleA, 0, qint16(keyNum));
    WritePresetKeyPage(number, keyCode, QStringLiteral("Name"));
    QCOMPARE(ReadPresetKeyPage(number).keyCode, keyCode);
    QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT KVBBinData FROM KVB_41")).toByteArray(), record);
}

void TestPresetKeys::recordRefusals()
{
    // Any other Status above 2 reads as a preset tare.
    QCOMPARE(keyCodeOfFields(5, 7), 5000005);
    QVERIFY_THROWS_EXCEPTION(records::CodecError, KvbPresetKeyRecord(1, 1, 0, 0));
    QVERIFY_THROWS_EXCEPTION(records::CodecError, KvbPresetKeyRecord(1, -1, 0, 24));
    QVERIFY_THROWS_EXCEPTION(records::CodecError, KvbPresetKeyRecord(1, 1, 256, 24));
    // A record that cannot be built writes nothing.
    showSheet(kScaleA, 0, 0);
    QVERIFY_THROWS_EXCEPTION(records::CodecError, WritePresetKeyPage(1, 1234, QString()));
    QCOMPARE(test::rowCount(QStringLiteral("KVB_41")), 0);
}

void TestPresetKeys::pageWrites()
{
    showSheet(kScaleA, 0, 24);
    WritePresetKeyPage(pageNumber(7, 1, 24), 1234, QString());
    WritePresetKeyPage(pageNumber(7, 2, 24), 3000003, QStringLiteral("Card"));
    WritePresetKeyPage(pageNumber(7, 3, 24), 0, QStringLiteral("ignored")); // empty and without a row: nothing
    showSheet(kScaleB, 0, 24);
    WritePresetKeyPage(7, 2000001, QStringLiteral("Anna"));
    QCOMPARE(keyRows(),
             (QStringList{kScaleA + "|0|7|1234|0| ", kScaleA + "|0|31|3|129|Card", kScaleB + "|0|7|1|2|Anna"}));

    showSheet(kScaleA, 0, 24);
    QCOMPARE(ReadPresetKeyPage(31).keyCode, 3000003);
    QCOMPARE(ReadPresetKeyPage(31).name, QStringLiteral("Card"));
    QCOMPARE(ReadPresetKeyPage(55).keyCode, 0);
    WritePresetKeyPage(7, 5000250, QStringLiteral("Tare")); // over the row that is there
    WritePresetKeyPage(31, 0, QString());                   // an empty page loses its row
    QCOMPARE(keyRows(), (QStringList{kScaleA + "|0|7|250|6|Tare", kScaleB + "|0|7|1|2|Anna"}));
    QCOMPARE(presetKeyNames(), (QHash<qint32, QString>{{7, QStringLiteral("Tare")}}));
}

void TestPresetKeys::layoutDeleteAndMarks()
{
    addKey(kScaleA, 0, 1, 1, 0);
    addKey(kScaleA, 1, 1, 2, 0);
    addKey(kScaleB, 0, 1, 3, 0);
    addKey(kScaleA, 0, 2, 4, 0);
    showSheet(kScaleA, 0, 24);
    MarkPresetKeyLayout(true);
    QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT group_concat(Is_Selected) FROM KVB_41")).toString(),
             QStringLiteral("1,0,0,1"));
    MarkPresetKeyLayout(false);
    QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT sum(Is_Selected) FROM KVB_41")).toInt(), 0);
    DeletePresetKeyLayout();
    QCOMPARE(keyRows(), (QStringList{kScaleA + "|1|1|2|0|", kScaleB + "|0|1|3|0|"}));
}

void TestPresetKeys::kasFile()
{
    // Marked rows of two layouts in stored order; the file splits Number by 24 whatever the layout.
    addKey(kScaleA, 0, 24, 1234, 0, 1);
    addKey(kScaleA, 0, 25, 3, 1, 1);
    addKey(kScaleA, 0, 26, 9, 0, 0);
    addKey(kScaleA, 0, 48, 98, 2, 1);
    addKey(kScaleA, 0, 49, 2, 129, 1);
    addKey(kScaleA, 0, 72, 99, 130, 1);
    addKey(kScaleA, 0, 80, 1250, 6, 1);
    addKey(kScaleA, 1, 30, 5, 0, 1); // key 30 of a 32-key layout
    QVERIFY(datafiles::writeListedDataFiles({kKas}).isEmpty());
    QCOMPARE(m_folder->readTempFile(kKas),
             test::readFile(QStringLiteral(QUORVANE_TEST_DATA_DIR "/presetkeys/KAS0UALL.csv")));

    gDBConnection.exec(QStringLiteral("UPDATE KVB_41 SET Is_Selected = 0"));
    QFile::remove(m_folder->tempFile(kKas));
    QVERIFY(datafiles::writeListedDataFiles({kKas}).isEmpty());
    QVERIFY(!QFile::exists(m_folder->tempFile(kKas)));
}

void TestPresetKeys::exitRecordByLayoutFile()
{
    // Layout 0 of the shipped file has 24 keys a page; it has no layout 3.
    addKey(kScaleA, 0, 30, 5, 0);
    addKey(kScaleA, 3, 30, 5, 0);
    db::Recordset rows(&gDBConnection);
    rows.openTable(QStringLiteral("KVB_41"));
    LayoutKeyCounts layouts;
    QCOMPARE(presetKeyRecordOfRow(rows, layouts), test::hex("00000262 000B 00000005 00"));
    rows.moveNext();
    try {
        presetKeyRecordOfRow(rows, layouts);
        QFAIL("a layout the file lacks gave a record");
    } catch (const records::CodecError& e) {
        QVERIFY2(e.reason().contains(QStringLiteral("no line for layout 3")), qPrintable(e.fullText()));
    }
}

void TestPresetKeys::shippedLayout()
{
    test::addRow(QStringLiteral("SCALE"), {{"SC_IP", kScaleA}, {"SC_PSK_Layout", 0}, {"ST_No", 3}, {"SECT_No", 2}});
    gStoreTree().gCurScaleIP = kScaleA;
    QCOMPARE(LoadPresetKeyLayout(), QStringLiteral("Standard:  192.168.  1. 20"));
    const PresetKeyState& s = gPresetKeys();
    QCOMPARE(s.gPSKLayout, 0);
    QCOMPARE(s.gPSKStoreNo, 3);
    QCOMPARE(s.gPSKSectNo, 2);
    QCOMPARE(s.gKeyNum, 24);
    QCOMPARE(s.gKeyRows, 4);
    QCOMPARE(s.gKeyCols, 6);
    QCOMPARE(s.gKeyCellSize, 2.0f);
    QCOMPARE(sheetSizeTwips(s.gKeyRows, s.gKeyCols, s.gKeyCellSize), QSize(10206, 6237));

    // A scale without a row takes layout 0 and keeps the store and section of the last one found.
    gPresetKeys().gPSKLayout = 5;
    gStoreTree().gCurScaleIP = kScaleB;
    QCOMPARE(LoadPresetKeyLayout(), QStringLiteral("Standard:   10.  0.  0.  5"));
    QCOMPARE(s.gPSKLayout, 0);
    QCOMPARE(s.gPSKStoreNo, 3);
}

void TestPresetKeys::layoutIndexTakesItsLine()
{
    // The keys left of "=" play no part: layout 2 is the third line of every section.
    const QString file = m_folder->tempFile(QStringLiteral("layouts.ini"));
    QVERIFY(test::writeFile(file,
                            test::presetKeyLayoutFile({{"keyType", "Z=Small\r\nremark\r\nA=Medium\r\nx=Large"},
                                                       {"keyNum", "Z=10\r\nA=20\r\nx=32"},
                                                       {"rows", "Z=1\r\nA=2\r\nx=4"},
                                                       {"cols", "Z=1\r\nA=2\r\nx=8"},
                                                       {"RowSpacing", "Z=1\r\nA=1.5\r\nx=1.75cm"},
                                                       {"CharNum", "Z=1\r\nA=2\r\nx=12"},
                                                       {"Order", "Z=1\r\nA=2\r\nx=-1"}})));
    const PresetKeyLayout l = readPresetKeyLayout(file, 2);
    QCOMPARE(l.keyType, QStringLiteral("Large"));
    QCOMPARE(QList<int>({l.keyNum, l.rows, l.cols, l.charNum, l.order}), QList<int>({32, 4, 8, 12, -1}));
    QCOMPARE(l.cellSize, 1.75f);
}

void TestPresetKeys::keyAtPoint_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("key");
    QTest::newRow("top-left cell") << 2.0f << 2.0f << 19;
    QTest::newRow("bottom-right key") << 12.5f << 8.5f << 6;
    QTest::newRow("function-key column") << 13.5f << 2.0f << -1;
    QTest::newRow("left edge") << 1.0f << 5.0f << -1;
    QTest::newRow("bottom edge") << 5.0f << 9.0f << -1;
    QTest::newRow("right edge of the keys") << 13.0f << 5.0f << -1;
    QTest::newRow("line between columns 1 and 2") << 3.0f << 8.5f << 2;
    QTest::newRow("just inside the bottom-left corner") << 1.001f << 8.999f << 1;
}

void TestPresetKeys::keyAtPoint()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, key);
    gPresetKeys().gKeyRows = 4;
    gPresetKeys().gKeyCols = 6;
    gPresetKeys().gKeyCellSize = 2;
    QCOMPARE(KeyAtPoint(x, y), key);
}

QTEST_MAIN(TestPresetKeys)
#include "tst_presetkeys.moc"
