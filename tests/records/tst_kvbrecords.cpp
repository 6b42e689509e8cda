#include "platform/text/Ansi.h"
#include "records/KvbRecords.h"
#include "records/PackedBcd.h"
#include "records/ScaleRecordDumps.h"
#include "state/SharedData.h"
#include "support/CodecTestDb.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using namespace quorvane::test;

namespace {

const QVariantMap kFlexible3{{"FBar_No", 3},        {"FBar_Type", 1},     {"FBar_ItemDigitNo", 10},
                             {"FBar_Data1", 2},     {"FBar_Data2", 3},    {"FBar_FBarDigitNo", 0},
                             {"FBar_CD", 130},      {"FBar_EANorITF", 1}, {"FBar_Data1Type", 10},
                             {"FBar_Data2Type", 0}, {"FBar_Data1SH", 1},  {"FBar_Data2SH", 5}};

// Builds the record of the table's only row on the work recordset, as the editors do before saving.
QByteArray encodeOnly(const QString& table)
{
    gRsWork.openTable(table);
    EncodeKVBRecord(table);
    gRsWork.update();
    const QByteArray rec = gRsWork.bytesValue("KVBBinData");
    gRsWork.close();
    return rec;
}

} // namespace

class TestKvbRecords : public QObject {
    Q_OBJECT

private:
    CodecDb* m_db = nullptr;

private slots:
    void init()
    {
        m_db = new CodecDb;
        QVERIFY2(m_db->isOpen(), qPrintable(m_db->error()));
    }
    void cleanup()
    {
        delete m_db;
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
    }

    void records_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QVariantMap>("row");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("department 97") << "KVB_20" << QVariantMap{{"DP_No", 97}, {"DP_Name", "Fruit"}}
                                       << hex("00000097 0016") + "Fruit" + QByteArray(11, '\0');
        QTest::newRow("department, empty name")
            << "KVB_20" << QVariantMap{{"DP_No", 5}, {"DP_Name", ""}} << hex("00000005 0016") + QByteArray(16, '\0');
        QTest::newRow("main group 997")
            << "KVB_23" << QVariantMap{{"MG_No", 997}, {"DP_No", 97}, {"MG_Name", "Sixteen letters!"}, {"Tax_No", 1}}
            << hex("00000997 001E 00000097") + "Sixteen letters!" + hex("00000001");
        QTest::newRow("flexible barcode 3") << "KVB_14" << kFlexible3 << hex("00000003 0010 0110020300 82 10000105");
    }
    void records()
    {
        QFETCH(QString, table);
        QFETCH(QVariantMap, row);
        QFETCH(QByteArray, record);
        addRow(table, row);
        QCOMPARE(encodeOnly(table), record);

        // Back into a row that holds other values: every field comes from the record.
        const qint64 id = rowIds(table).first();
        QVariantMap scrambled;
        for (auto it = row.constBegin(); it != row.constEnd(); ++it)
            scrambled.insert(it.key(), it.value().typeId() == QMetaType::QString ? QVariant("x") : QVariant(9));
        updateRow(table, id, scrambled);
        QString error;
        QVERIFY2(DecodeKVBRecords(table, &error), qPrintable(error));
        QVariantMap expected = row;
        if (table == "KVB_14")
            expected.insert("FBar_CD", 2); // after a start only the check-digit mode
        const QVariantMap back = rowValues(table, id);
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
            QCOMPARE(back.value(it.key()).toString(), it.value().toString());
    }

    void longNameIsCut()
    {
        addRow("KVB_20", {{"DP_No", 1}, {"DP_Name", "Vegetables and herbs"}});
        QCOMPARE(encodeOnly("KVB_20").mid(6), QByteArray("Vegetables and h"));
        QVERIFY(DecodeKVBRecords("KVB_20", nullptr));
        QCOMPARE(rowValues("KVB_20", rowIds("KVB_20").first()).value("DP_Name").toString(),
                 QString("Vegetables and h"));
    }

    void chineseNameOnAChineseSystem()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        addRow("KVB_20", {{"DP_No", 2}, {"DP_Name", QStringLiteral("\u6c34\u679c")}});
        QCOMPARE(encodeOnly("KVB_20").mid(6, 5), text::toAnsi(QStringLiteral("\u6c34\u679c")) + '\0');
        QVERIFY(DecodeKVBRecords("KVB_20", nullptr));
        QCOMPARE(rowValues("KVB_20", rowIds("KVB_20").first()).value("DP_Name").toString(),
                 QStringLiteral("\u6c34\u679c"));
    }

    void encoderRefusesWhatTheRecordCannotCarry_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QVariantMap>("row");
        QTest::newRow("nine-digit department") << "KVB_20" << QVariantMap{{"DP_No", 123456789}};
        QTest::newRow("negative main group") << "KVB_23" << QVariantMap{{"MG_No", -1}};
        QTest::newRow("negative tax") << "KVB_23" << QVariantMap{{"MG_No", 1}, {"Tax_No", -3}};
        QVariantMap f = kFlexible3;
        f.insert("FBar_Type", 100);
        QTest::newRow("three-digit flexible field") << "KVB_14" << f;
        f = kFlexible3;
        f.insert("FBar_CD", 256);
        QTest::newRow("flags above a byte") << "KVB_14" << f;
        QTest::newRow("name outside the code page")
            << "KVB_20" << QVariantMap{{"DP_No", 1}, {"DP_Name", QStringLiteral("\u4e2d")}};
    }
    void encoderRefusesWhatTheRecordCannotCarry()
    {
        QFETCH(QString, table);
        QFETCH(QVariantMap, row);
        row.insert("KVBBinData", QByteArray("old"));
        addRow(table, row);
        gRsWork.openTable(table);
        QVERIFY_THROWS_EXCEPTION(CodecError, EncodeKVBRecord(table));
        QCOMPARE(gRsWork.bytesValue("KVBBinData"), QByteArray("old"));
        gRsWork.close();
    }

    void otherTablesAreLeftAlone()
    {
        const qint64 id = addRow("KVB_44", {{"Clerk_No", 1}, {"Name", "Ann"}, {"KVBBinData", hex("00000001")}});
        gRsWork.openTable("KVB_44");
        EncodeKVBRecord("KVB_44");
        QVERIFY(!gRsWork.isEditing());
        gRsWork.close();
        QVERIFY(DecodeKVBRecords("KVB_44", nullptr));
        QVERIFY(DecodeKVBRecords("NO_SUCH_TABLE", nullptr));
        QCOMPARE(rowValues("KVB_44", id).value("Name").toString(), QString("Ann"));
    }

    void decoderSkipsRowsWithoutAWholeRecord_data()
    {
        QTest::addColumn<QVariant>("record");
        QTest::newRow("no record") << QVariant();
        QTest::newRow("empty") << QVariant(QByteArray(""));
        QTest::newRow("short") << QVariant(hex("00000097 0016") + "Fruit");
        QTest::newRow("not packed decimal") << QVariant(hex("000000A7 0016") + "Fruit" + QByteArray(11, '\0'));
        QTest::newRow("too long") << QVariant(hex("00000097 0016") + QByteArray(17, 'x'));
    }
    void decoderSkipsRowsWithoutAWholeRecord()
    {
        QFETCH(QVariant, record);
        const QVariantMap row{{"DP_No", 4}, {"DP_Name", "Kept"}, {"KVBBinData", record}};
        const qint64 bad = addRow("KVB_20", row);
        const qint64 good = addRow(
            "KVB_20", {{"DP_No", 1}, {"KVBBinData", hex("00000007 0016") + "Seven" + QByteArray(11, '\0')}});
        QString error;
        QVERIFY2(DecodeKVBRecords("KVB_20", &error), qPrintable(error));
        QCOMPARE(rowValues("KVB_20", bad).value("DP_Name").toString(), QString("Kept"));
        QCOMPARE(rowValues("KVB_20", bad).value("DP_No").toInt(), 4);
        QCOMPARE(rowValues("KVB_20", good).value("DP_Name").toString(), QString("Seven"));
        QCOMPARE(rowValues("KVB_20", good).value("DP_No").toInt(), 7);
    }

    void emptyTableIsOpenedAndClosed()
    {
        QVERIFY(DecodeKVBRecords("KVB_14", nullptr));
        QVERIFY(!gRsWork.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestKvbRecords)
#include "tst_kvbrecords.moc"
