#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"

#include "otherfiles/OtherFileRecords.h"
#include "platform/text/Ansi.h"
#include "records/OtherRecords.h"
#include "state/SharedData.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::otherfiles;
using test::hex;

namespace {

const QByteArray kTwoLines = test::textLine(2, "SHOP", 0x0D) + test::textLine(1, "MAIN ST", 0x0C);

// Saves `key` of the table through its builder with the values of `round` and returns the fields the row
// must then hold.
QVariantMap save(const QString& table, qint64 key, int round)
{
    const QString name = round == 1 ? QStringLiteral("Ann") : QStringLiteral("Bob");
    if (table == "KVB_44") {
        SaveClerkRecord(key, name);
        return {{"Name", name}, {"Status", 0}};
    }
    if (table == "KVB_A8") {
        SaveTaxRecord(key, "VAT" + QString::number(key), 1750 * round, round - 1);
        return {{"Name", "VAT" + QString::number(key)}, {"Rate", 1750 * round}, {"Status", round - 1}};
    }
    if (table == "KVB_AC") {
        SaveStockKeyRecord(key, 19 * round, round, name);
        return {{"Status", 19 * round}, {"Type", round}, {"Name", name}};
    }
    if (table == "KVB_AD") {
        SavePaymentKeyRecord(key, 9 - round, name, 0);
        return {{"Status", 9 - round}, {"Name", name}, {"Reserved", 0}};
    }
    if (table == "KVB_AA") {
        DiscountSchedule s;
        s.startDate = 50127;
        s.startTime = 830;
        s.endDate = 311227;
        s.endTime = 2359;
        s.limitType = round - 1;
        s.firstLimit = 500;
        s.withinFirst = 50 * round;
        s.type = 2 * round;
        s.days = round == 1 ? "0111110" : "11";
        SaveDiscountSchedule(key, 13 * round, s);
        return {{"Disc_SDate", 50127},           {"Disc_ETime", 2359},     {"Disc_LimitType", round - 1},
                {"Disc_Within1stL", 50 * round}, {"Disc_Type", 2 * round}, {"DisDayOfWeek", round == 1 ? 62 : 3},
                {"NextNumber", 13 * round}};
    }
    if (table == "KVB_AB") {
        PriceSchedule s;
        s.endDate = 311227;
        s.endTime = 2359;
        s.days = round == 1 ? "1000001" : "0";
        s.newUnitPrice = 999 * round;
        SavePriceSchedule(key, round, s);
        return {{"Price_EDate", 311227},
                {"PriceDayOfWeek", round == 1 ? 65 : 0},
                {"NewUnitPrice", 999 * round},
                {"NextNumber", round}};
    }
    const QByteArray block = round == 1 ? kTwoLines : test::textLine(0, "X", 0x0C);
    SaveTextRecordNextNo(table, key, round, block, name, false);
    return {{"NextNo", round}, {"Name", block}, {"NameFirstLine", name}};
}

// Saves `key` through its builder as a row with nothing to send (a blank name, a rate of 0 or an empty
// text) or with something, and returns the builder's answer.
bool saveBlankOrNot(const QString& table, qint64 key, bool blank)
{
    const QString name = blank ? QStringLiteral(" ") : QStringLiteral("Ann");
    if (table == "KVB_44")
        return SaveClerkRecord(key, name);
    if (table == "KVB_A8")
        return SaveTaxRecord(key, "VAT", blank ? 0 : 500, 1);
    if (table == "KVB_AC")
        return SaveStockKeyRecord(key, 0, 0, name);
    if (table == "KVB_AD")
        return SavePaymentKeyRecord(key, 0, name, 0);
    return SaveTextRecordNextNo(table, key, 0, blank ? QByteArray() : kTwoLines, "SHOP", true);
}

qint64 rowOf(const QString& table, qint64 key)
{
    return gDBConnection
        .scalar(QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?").arg(table, records::otherRecordKeyField(table)),
                {key})
        .toLongLong();
}

} // namespace

class TestOtherFileRecords : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    void secondSaveUpdatesItsRow_data()
    {
        QTest::addColumn<QString>("table");
        for (const char* table : {"KVB_44", "KVB_A8", "KVB_AC", "KVB_AD", "KVB_AA", "KVB_AB", "KVB_3A"})
            QTest::newRow(table) << table;
    }
    void secondSaveUpdatesItsRow()
    {
        QFETCH(QString, table);
        save(table, 5, 1);
        save(table, 6, 1);
        gDBConnection.exec(QStringLiteral("UPDATE %1 SET Is_Selected = 1").arg(table));
        const QVariantMap expected = save(table, 5, 2);

        QCOMPARE(test::rowCount(table), 2);
        const qint64 id = rowOf(table, 5);
        const QVariantMap row = test::rowValues(table, id);
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
            QCOMPARE(row.value(it.key()), it.value());
        // A text saved while its box is unticked keeps its mark, as every other row here does.
        QCOMPARE(row.value("Is_Selected").toInt(), 1);

        // The record is rebuilt from what the row now holds.
        db::Recordset rs(&gDBConnection);
        rs.open(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(table), {id});
        QCOMPARE(rs.bytesValue("KVBBinData"), records::KvbOtherRecord(table, rs));
        QVERIFY(records::otherRecordFitsRow(table, rs.bytesValue("KVBBinData"), rs));
        QVariantMap other = row;
        other.insert(records::otherRecordKeyField(table), 6);
        QVERIFY(!records::otherRecordFitsRow(table, records::KvbOtherRecord(table, other), rs));
        QVERIFY(!records::otherRecordFitsRow(table, rs.bytesValue("KVBBinData").chopped(1), rs));
        QVERIFY(!gRsWork.isOpen());
    }

    void textMarks_data()
    {
        QTest::addColumn<int>("previousMark");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("boxTicked");
        QTest::addColumn<int>("mark");
        QTest::newRow("text, box ticked") << 0 << kTwoLines << true << 1;
        QTest::newRow("text, box unticked, marked before") << 1 << kTwoLines << false << 1;
        QTest::newRow("text, box unticked, unmarked before") << 0 << kTwoLines << false << 0;
        QTest::newRow("empty text, box ticked") << 1 << QByteArray() << true << 0;
    }
    void textMarks()
    {
        QFETCH(int, previousMark);
        QFETCH(QByteArray, text);
        QFETCH(bool, boxTicked);
        QFETCH(int, mark);
        const qint64 id = test::addRow(
            "KVB_3B", {{"No", 12}, {"NextNo", 3}, {"NameFirstLine", "old"}, {"Is_Selected", previousMark}});
        SaveTextRecordNextNo("KVB_3B", 12, 5, text, "SHOP", boxTicked);
        const QVariantMap row = test::rowValues("KVB_3B", id);
        QCOMPARE(row.value("Is_Selected").toInt(), mark);
        QCOMPARE(row.value("NextNo").toInt(), 5);
        QCOMPARE(row.value("Name").isNull(), text.isEmpty());
        QCOMPARE(row.value("Name").toByteArray(), text);
        QCOMPARE(row.value("NameFirstLine").toString(), text.isEmpty() ? QString(" ") : QString("SHOP"));
        QCOMPARE(row.value("KVBBinData").toByteArray().toHex(' '),
                 (hex("00000012") + char(0) + char(10 + text.size()) + hex("00000005") + text).toHex(' '));
    }

    void answersWhetherToUntickTheBox_data()
    {
        QTest::addColumn<QString>("table");
        for (const char* table : {"KVB_44", "KVB_A8", "KVB_AC", "KVB_AD", "KVB_3D"})
            QTest::newRow(table) << table;
    }
    void answersWhetherToUntickTheBox()
    {
        QFETCH(QString, table);
        QVERIFY(saveBlankOrNot(table, 1, true));
        QVERIFY(!saveBlankOrNot(table, 2, false));
        QVERIFY(!saveBlankOrNot(table, 1, true)); // row 2 is still there to send
        QVERIFY(saveBlankOrNot(table, 2, true));
    }

    void failedSaveLeavesTheRow_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("failure");
        QTest::newRow("first line longer than its field") << "KVB_3C" << 0;
        QTest::newRow("Chinese clerk name on a Western system") << "KVB_44" << 1;
        QTest::newRow("day text with a 2") << "KVB_AB" << 2;
    }
    void failedSaveLeavesTheRow()
    {
        QFETCH(QString, table);
        QFETCH(int, failure);
        save(table, 7, 1);
        const QVariantMap before = test::rowValues(table, rowOf(table, 7));
        PriceSchedule price;
        price.days = "0200000";
        const std::function<void()> failing[] = {
            [] { SaveTextRecordNextNo("KVB_3C", 7, 1, kTwoLines, QString(256, 'x'), true); },
            [] { SaveClerkRecord(7, QStringLiteral("\u6c34\u679c")); },
            [&price] { SavePriceSchedule(7, 0, price); },
        };
        QVERIFY_THROWS_EXCEPTION(Error, failing[failure]());
        QCOMPARE(test::rowValues(table, rowOf(table, 7)), before);
        QCOMPARE(test::rowCount(table), 1);
        QVERIFY(!gRsWork.isOpen());
    }

    void dateTimeRow()
    {
        test::addRow("KVB_4E", {{"SF_No", 1}, {"KVBBinData", QByteArray("old")}});
        test::addRow("KVB_4E", {{"SF_No", 2}});
        SaveDateTimeRecord(QDateTime(QDate(2026, 12, 31), QTime(23, 59)));
        SaveDateTimeRecord(QDateTime(QDate(2027, 3, 5), QTime(9, 7, 30)));
        QCOMPARE(test::rowCount("KVB_4E"), 1);
        const QVariantMap row = test::rowValues("KVB_4E", test::rowIds("KVB_4E").first());
        QCOMPARE(row.value("SF_No").toInt(), 1);
        QCOMPARE(row.value("Is_Selected").toInt(), 1);
        QCOMPARE(row.value("KVBBinData").toByteArray().toHex(' '), hex("000000FF 000E 00 050327 0000 0907").toHex(' '));
    }
};

QTEST_GUILESS_MAIN(TestOtherFileRecords)
#include "tst_otherfilerecords.moc"
