#include "support/CodecTestDb.h"

#include "platform/text/Ansi.h"
#include "records/OtherRecords.h"
#include "records/PackedBcd.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using test::hex;

namespace {

QByteArray zeros(int n) { return QByteArray(n, '\0'); }

const QVariantMap kDiscount12{{"Number", 12},           {"Disc_SDate", 50127},   {"Disc_STime", 830},
                              {"Disc_EDate", 311227},   {"Disc_ETime", 2359},    {"Disc_LimitType", 0},
                              {"Disc_1stLim", 500},     {"Disc_Within1stL", 50}, {"Disc_2ndLim", 1000},
                              {"Disc_Within2ndL", 120}, {"Disc_Type", 2},        {"DisDayOfWeek", 62},
                              {"NextNumber", 13}};

// The record through the named function of the table's kind.
QByteArray namedRecord(const QString& table, const QVariantMap& v)
{
    const auto n = [&](const char* field) { return v.value(QLatin1String(field)).toLongLong(); };
    const auto name = [&] { return v.value(QStringLiteral("Name")).toString(); };
    if (table == QLatin1String("KVB_44"))
        return KvbClerkRecord(n("Clerk_No"), name(), n("Status"));
    if (table == QLatin1String("KVB_A8"))
        return KvbTaxRecord(n("Code"), name(), n("Rate"), n("Status"));
    if (table == QLatin1String("KVB_AC"))
        return KvbStockKeyRecord(n("Number"), n("Status"), n("Type"), name());
    if (table == QLatin1String("KVB_AD"))
        return KvbPaymentKeyRecord(n("Number"), n("Status"), name(), n("Reserved"));
    if (table == QLatin1String("KVB_AA"))
        return KvbDiscScheduleRecord(v);
    if (table == QLatin1String("KVB_AB"))
        return KvbPriceScheduleRecord(v);
    return KvbTextRecord(n("No"), n("NextNo"), v.value(QStringLiteral("Name")).toByteArray());
}

QVariantMap with(QVariantMap values, const QString& field, const QVariant& value)
{
    values.insert(field, value);
    return values;
}

} // namespace

class TestOtherRecords : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { text::setAnsiCodePage(QStringLiteral("windows-1252")); }

    void records_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<QByteArray>("record");

        const QString w = QStringLiteral("windows-1252");
        QTest::newRow("clerk 12 AB") << w << "KVB_44" << QVariantMap{{"Clerk_No", 12}, {"Name", "AB"}, {"Status", 0}}
                                     << hex("000000 12 001B") + "AB" + zeros(18) + zeros(1);
        QTest::newRow("clerk name of the box limit")
            << w << "KVB_44" << QVariantMap{{"Clerk_No", 99}, {"Name", "Sixteen letters!"}}
            << hex("000000 99 001B") + "Sixteen letters!" + zeros(5);
        QTest::newRow("clerk name cut at its slot")
            << w << "KVB_44" << QVariantMap{{"Clerk_No", 1}, {"Name", QString::fromUtf8("Twenty-one chàracters")}}
            << hex("000000 01 001B") + "Twenty-one ch\xE0racter" + zeros(1);
        QTest::newRow("tax 3 VAT3") << w << "KVB_A8"
                                    << QVariantMap{{"Code", 3}, {"Name", "VAT3"}, {"Rate", 1750}, {"Status", 1}}
                                    << hex("000000 03 000E 56415433 1750 01 00");
        QTest::newRow("stock key 5, status 19")
            << w << "KVB_AC"
            << QVariantMap{{"Number", 5}, {"Status", 19}, {"Type", 2}, {"Name", "Twenty-two characters!"}}
            << hex("000000 05 0020 13 02") + "Twenty-two characters!" + zeros(2);
        QTest::newRow("payment key 2, status 9")
            << w << "KVB_AD" << QVariantMap{{"Number", 2}, {"Status", 9}, {"Name", "Card"}, {"Reserved", 0}}
            << hex("000000 02 0010 09") + "Card" + zeros(4) + zeros(1);
        QTest::newRow("text 12, next 5, three bytes")
            << w << "KVB_3A" << QVariantMap{{"No", 12}, {"NextNo", 5}, {"Name", hex("02 00 0C")}}
            << hex("00000012 000D 00000005 02000C");
        QTest::newRow("empty text") << w << "KVB_3D" << QVariantMap{{"No", 7}, {"NextNo", 0}, {"Name", QVariant()}}
                                    << hex("00000007 000A 00000000");
        QTest::newRow("discount schedule 12")
            << w << "KVB_AA" << kDiscount12
            << hex("00000012 002C 00050127 0830 00311227 2359 00 000000 00000500 00000050 00001000 00000120 02 3E "
                   "00000013");
        QTest::newRow("discount from 1 January 2030, 00:05, by count, D6, no next schedule")
            << w << "KVB_AA"
            << QVariantMap{{"Number", 1},
                           {"Disc_SDate", 10130},
                           {"Disc_STime", 5},
                           {"Disc_LimitType", 1},
                           {"Disc_Type", 6}}
            << hex("00000001 002C 00010130 0005 00000000 0000 01 000000 00000000 00000000 00000000 00000000 06 00 "
                   "00000000");
        QTest::newRow("price schedule ending 31 December 2027, 23:59")
            << w << "KVB_AB" << QVariantMap{{"Number", 4},           {"Price_SDate", 10127}, {"Price_STime", 800},
                                            {"Price_EDate", 311227}, {"Price_ETime", 2359},  {"PriceDayOfWeek", 65},
                                            {"NewUnitPrice", 1999},  {"NextNumber", 0}}
            << hex("00000004 001C 00010127 0800 00311227 2359 41 00 00001999 00000000");

        // A double-byte character that does not fit whole stays out of the slot.
        const QString g = QStringLiteral("GBK");
        QTest::newRow("GBK tax name cut between characters")
            << g << "KVB_A8" << QVariantMap{{"Code", 1}, {"Name", QStringLiteral("A\u6c34\u679c")}, {"Rate", 5}}
            << hex("000000 01 000E 41CBAE00 0005 00 00");

        // No record of these tables: refused, never an empty record.
        QTest::newRow("the PLU table") << w << "KVB_25" << QVariantMap{{"PLU_No", 1}} << QByteArray();
    }
    void records()
    {
        QFETCH(QString, codePage);
        QFETCH(QString, table);
        QFETCH(QVariantMap, values);
        QFETCH(QByteArray, record);
        text::setAnsiCodePage(codePage);
        if (record.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(CodecError, KvbOtherRecord(table, values));
            QStringList problems;
            QVERIFY_THROWS_EXCEPTION(CodecError, KvbOtherRecord(table, values, &problems));
            return;
        }
        const QByteArray built = namedRecord(table, values);
        QCOMPARE(built.toHex(' '), record.toHex(' '));
        QCOMPARE(KvbOtherRecord(table, values).toHex(' '), record.toHex(' '));
        if (otherRecordSize(table))
            QCOMPARE(built.size(), otherRecordSize(table));
    }

    void dayMask_data()
    {
        QTest::addColumn<QString>("days");
        QTest::addColumn<int>("mask"); // -1: refused
        QTest::newRow("Sunday") << "1000000" << 64;
        QTest::newRow("Saturday") << "0000001" << 1;
        QTest::newRow("every day") << "1111111" << 127;
        QTest::newRow("Monday to Friday") << "0111110" << 62;
        QTest::newRow("one place") << "0" << 0;
        QTest::newRow("short text counts from the right") << "11" << 3;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("eight places") << "10000000" << -1;
        QTest::newRow("a 2") << "0120000" << -1;
        QTest::newRow("a blank") << "111 111" << -1;
    }
    void dayMask()
    {
        QFETCH(QString, days);
        QFETCH(int, mask);
        if (mask < 0)
            QVERIFY_THROWS_EXCEPTION(CodecError, dayMaskFromText(days));
        else
            QCOMPARE(dayMaskFromText(days), mask);
    }

    void refusesWhatTheRecordCannotCarry_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<QString>("field");
        QTest::newRow("negative clerk") << "KVB_44" << QVariantMap{{"Clerk_No", -1}} << "Clerk_No";
        QTest::newRow("clerk 100") << "KVB_44" << QVariantMap{{"Clerk_No", 100}} << "Clerk_No";
        QTest::newRow("five-digit rate") << "KVB_A8" << QVariantMap{{"Code", 1}, {"Rate", 10000}} << "Rate";
        QTest::newRow("stock status above a byte")
            << "KVB_AC" << QVariantMap{{"Number", 1}, {"Status", 256}} << "Status";
        QTest::newRow("negative payment status") << "KVB_AD" << QVariantMap{{"Number", 1}, {"Status", -1}} << "Status";
        QTest::newRow("nine-digit schedule") << "KVB_AB" << QVariantMap{{"Number", 123456789}} << "Number";
        QTest::newRow("five-digit time") << "KVB_AA" << with(kDiscount12, "Disc_ETime", 12345) << "Disc_ETime";
        QTest::newRow("day mask above a byte") << "KVB_AA" << with(kDiscount12, "DisDayOfWeek", 300) << "DisDayOfWeek";
        QTest::newRow("text block over 65,525 bytes")
            << "KVB_3B" << QVariantMap{{"No", 1}, {"Name", QByteArray(MaxTextBlockSize + 1, 'x')}} << "Name";
        QTest::newRow("Chinese name on a Western system")
            << "KVB_44" << QVariantMap{{"Clerk_No", 1}, {"Name", QStringLiteral("\u6c34\u679c")}} << "Name";
    }
    void refusesWhatTheRecordCannotCarry()
    {
        QFETCH(QString, table);
        QFETCH(QVariantMap, values);
        QFETCH(QString, field);
        try {
            KvbOtherRecord(table, values);
            QFAIL("no refusal");
        } catch (const CodecError& e) {
            QVERIFY2(e.message().startsWith(field + ": "), qPrintable(e.message()));
        }

        // Written as 0 and named, for a caller that must have a record whatever the row holds.
        QStringList problems;
        const QByteArray rec = KvbOtherRecord(table, values, &problems);
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems.first().startsWith(field + ": "));
        QVariantMap zeroed = values;
        zeroed.insert(field, QVariant());
        QCOMPARE(rec.toHex(' '), KvbOtherRecord(table, zeroed).toHex(' '));
    }

    void longestTextBlock()
    {
        const QByteArray rec = KvbOtherRecord("KVB_3C",
                                              QVariantMap{{"No", 1}, {"Name", QByteArray(MaxTextBlockSize, 'x')}});
        QCOMPARE(rec.size(), 0xFFFF);
        QCOMPARE(rec.mid(4, 2), hex("FFFF"));
    }
};

QTEST_GUILESS_MAIN(TestOtherRecords)
#include "tst_otherrecords.moc"
