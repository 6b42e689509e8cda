#include "platform/text/Ansi.h"
#include "records/KvbRecords.h"
#include "records/PackedBcd.h"
#include "support/CodecTestDb.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using quorvane::test::hex;

class TestPackedBcd : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { text::setAnsiCodePage(QStringLiteral("windows-1252")); }

    void encode_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("9 in 4") << qint64(9) << 4 << hex("00000009");
        QTest::newRow("257 in 4, not 00 00 01 01") << qint64(257) << 4 << hex("00000257");
        QTest::newRow("1234 in 2") << qint64(1234) << 2 << hex("1234");
        QTest::newRow("7 in 1") << qint64(7) << 1 << hex("07");
        QTest::newRow("12,345,678 in 4") << qint64(12345678) << 4 << hex("12345678");
        QTest::newRow("0 in 4") << qint64(0) << 4 << hex("00000000");
        QTest::newRow("largest in 4") << qint64(99999999) << 4 << hex("99999999");
        QTest::newRow("largest in 2") << qint64(9999) << 2 << hex("9999");
    }
    void encode()
    {
        QFETCH(qint64, value);
        QFETCH(int, width);
        QFETCH(QByteArray, bytes);
        QCOMPARE(PackedBcd(value, width), bytes);
        QCOMPARE(ReadPackedBcd(bytes, 0, width), std::optional<quint32>(quint32(value)));
    }

    void refusesWhatDoesNotFit_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("width");
        QTest::newRow("negative") << qint64(-1) << 4;
        QTest::newRow("nine digits in 4") << qint64(100000000) << 4;
        QTest::newRow("five digits in 2") << qint64(10000) << 2;
        QTest::newRow("three digits in 1") << qint64(100) << 1;
    }
    void refusesWhatDoesNotFit()
    {
        QFETCH(qint64, value);
        QFETCH(int, width);
        QByteArray buffer(8, 'x');
        QVERIFY_THROWS_EXCEPTION(CodecError, PackedBcd(buffer, 0, value, width));
        QCOMPARE(buffer, QByteArray(8, 'x'));
    }

    void fieldOutsideTheBufferIsRefused()
    {
        QByteArray buffer(4, '\0');
        QVERIFY_THROWS_EXCEPTION(CodecError, PackedBcd(buffer, 2, 5, 4));
        QVERIFY_THROWS_EXCEPTION(CodecError, ReverseCopy(buffer, 3, 0x1234, 2));
    }

    void decodeRefusesBadBytes()
    {
        QCOMPARE(ReadPackedBcd(hex("45"), 0, 1), std::optional<quint32>(45));
        QCOMPARE(ReadPackedBcd(hex("3A"), 0, 1), std::nullopt);
        QCOMPARE(ReadPackedBcd(hex("F0000000"), 0, 4), std::nullopt);
        QCOMPARE(ReadPackedBcd(hex("000002"), 0, 4), std::nullopt);
        QCOMPARE(ReadPackedBcd(hex("00000257"), 1, 4), std::nullopt);
    }

    void reverseCopyAndRead_data()
    {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one byte unchanged") << quint32(0xA7) << 1 << hex("A7");
        QTest::newRow("0x1234 in 2") << quint32(0x1234) << 2 << hex("1234");
        QTest::newRow("length 32") << quint32(32) << 2 << hex("0020");
        QTest::newRow("length 300") << quint32(300) << 2 << hex("012C");
        QTest::newRow("length 1000") << quint32(1000) << 2 << hex("03E8");
        QTest::newRow("0x257 in 4") << quint32(0x257) << 4 << hex("00000257");
    }
    void reverseCopyAndRead()
    {
        QFETCH(quint32, value);
        QFETCH(int, n);
        QFETCH(QByteArray, bytes);
        QByteArray buffer(n, '\0');
        ReverseCopy(buffer, 0, value, n);
        QCOMPARE(buffer, bytes);
        QCOMPARE(ReverseRead(bytes, 0, n), std::optional<quint32>(value));
    }

    void reverseReadStaysInside()
    {
        QCOMPARE(ReverseRead(hex("012C"), 1, 2), std::nullopt);
        QCOMPARE(ReverseRead(hex("0102030405"), 0, 5), std::nullopt);
    }

    void header()
    {
        const auto h = KvbRecordHeader::read(hex("00000257 0022 01"));
        QVERIFY(h);
        QCOMPARE(h->key, std::optional<quint32>(257));
        QCOMPARE(h->length, quint16(34));
        const auto odd = KvbRecordHeader::read(hex("000000FF 000E"));
        QVERIFY(odd);
        QVERIFY(!odd->key);
        QCOMPARE(odd->length, quint16(14));
        QVERIFY(!KvbRecordHeader::read(hex("0000000100")));
    }

    void readerNeverReadsPastTheEnd()
    {
        const QByteArray data = hex("12 34 56");
        RecordReader r(data);
        QCOMPARE(r.bcd(2), quint32(1234));
        QVERIFY_THROWS_EXCEPTION(CodecError, r.bcd(2));
        QCOMPARE(r.byte(), quint8(0x56));
        QVERIFY_THROWS_EXCEPTION(CodecError, r.byte());
        QVERIFY_THROWS_EXCEPTION(CodecError, r.bytes(1));
    }

    void putHexPairs_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("5 at 0-3") << "5" << 0 << 3 << hex("00000005 0000");
        QTest::newRow("001e at 4-5") << "001e" << 4 << 5 << hex("00000000 001E");
        QTest::newRow("nine digits give their first eight") << "123456789" << 0 << 3 << hex("12345678 0000");
        QTest::newRow("one byte") << "82" << 2 << 2 << hex("00008200 0000");
    }
    void putHexPairs()
    {
        QFETCH(QString, digits);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QByteArray, bytes);
        QByteArray buffer(6, '\0');
        PutHexPairs(buffer, digits, first, last);
        QCOMPARE(buffer, bytes);
    }

    void putHexPairsRefusesBadInput()
    {
        QByteArray buffer(6, '\0');
        QVERIFY_THROWS_EXCEPTION(CodecError, PutHexPairs(buffer, QStringLiteral("-5"), 0, 3));
        QVERIFY_THROWS_EXCEPTION(CodecError, PutHexPairs(buffer, QStringLiteral("12"), 5, 6));
        QVERIFY_THROWS_EXCEPTION(CodecError, PutHexPairs(buffer, QStringLiteral("12"), 3, 2));
        QCOMPARE(buffer, QByteArray(6, '\0'));
    }

    void putTextBytes()
    {
        QByteArray buffer(20, 'x');
        PutTextBytes(buffer, QStringLiteral("ABCDE"), 2, 17);
        QCOMPARE(buffer, QByteArray("xxABCDE") + QByteArray(11, '\0') + "xx");
        PutTextBytes(buffer, QStringLiteral("ABCDEFGHIJKLMNOPQRS"), 2, 17);
        QCOMPARE(buffer, QByteArray("xxABCDEFGHIJKLMNOPxx"));
        PutTextBytes(buffer, QString(), 2, 17);
        QCOMPARE(buffer, QByteArray("xx") + QByteArray(16, '\0') + "xx");
        PutTextBytes(buffer, QStringLiteral("Caf\u00e9"), 0, 3);
        QCOMPARE(buffer.left(4), QByteArray("Caf\xe9"));
    }

    void putTextBytesKeepsDoubleByteCharactersWhole()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        QByteArray buffer(16, 'x');
        // 15 ASCII letters and one Chinese character: its two bytes do not fit in the last byte.
        PutTextBytes(buffer, QStringLiteral("ABCDEFGHIJKLMNO\u4e2d"), 0, 15);
        QCOMPARE(buffer, QByteArray("ABCDEFGHIJKLMNO") + '\0');
        PutTextBytes(buffer, QStringLiteral("\u4e2d\u6587"), 0, 15);
        QCOMPARE(buffer.left(5), text::toAnsi(QStringLiteral("\u4e2d\u6587")) + '\0');
    }

    void putTextBytesRefusesWhatTheCodePageCannotHold()
    {
        QByteArray buffer(16, '\0');
        QVERIFY_THROWS_EXCEPTION(CodecError, PutTextBytes(buffer, QStringLiteral("\u4e2d"), 0, 15));
    }
};

QTEST_GUILESS_MAIN(TestPackedBcd)
#include "tst_packedbcd.moc"
