#include "platform/text/Ansi.h"
#include "records/PackedBcd.h"
#include "records/TextBlock.h"
#include "state/SharedData.h"
#include "support/CodecTestDb.h"
#include "support/PluGenerator.h"
#include "support/TextLines.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using namespace quorvane::test;

namespace {

// A block and its lines as "code:text|code:text"; `both` also builds the block from the lines.
struct BlockCase {
    QString lines{};
    QByteArray hex{};
    bool both = false;
    int maxLines = 15;
};

} // namespace

Q_DECLARE_METATYPE(BlockCase)

class TestTextBlock : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
        gRsPLU.close();
    }

    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("limited");
        QTest::addColumn<QString>("whole");
        QTest::newRow("three letters") << textLine(1, "abc", 0x0C) << "abc"
                                       << "abc";
        QTest::newRow("empty first line") << textLine(1, "", 0x0C) << ""
                                          << "";
        QTest::newRow("two bytes") << hex("0100") << ""
                                   << "";
        QTest::newRow("three bytes") << hex("01010C") << ""
                                     << "";
        QTest::newRow("only the first of two lines") << textLine(1, "ABCDE", 0x0D) + textLine(2, "XYZ", 0x0C) << "ABCDE"
                                                     << "ABCDE";
        const QByteArray b101(101, 'q'), b150(150, 'r');
        QTest::newRow("101 bytes: whole") << textLine(1, b101, 0x0C) << QString(b101) << QString(b101);
        QTest::newRow("150 bytes: 100 of them") << textLine(1, b150, 0x0C) << QString(b150.left(100)) << QString(b150);
    }
    void firstLine()
    {
        QFETCH(QByteArray, block);
        QFETCH(QString, limited);
        QFETCH(QString, whole);
        QCOMPARE(LenBytesToText(block).size(), whole.size());
        QCOMPARE(textBlockFirstLine(block, true), limited);
        QCOMPARE(textBlockFirstLine(block, false), whole);

        CodecDb db;
        QVERIFY(db.isOpen());
        const qint64 id = addRow(QStringLiteral("KVB_25"), {{"PLU_Commodity", block}, {"PLU_Description", block}});
        db::Recordset rs(&gDBConnection);
        rs.open(QStringLiteral("SELECT * FROM KVB_25 WHERE rowid=?"), {id});
        QCOMPARE(PLUTextFirstLine(SelectCommodity, rs), limited);
        QCOMPARE(PLUTextFirstLine(SelectDescription, rs), limited);
        gRsPLU.open(QStringLiteral("SELECT * FROM KVB_25"));
        QCOMPARE(PLUListTextFirstLine(SelectCommodity), whole);
        QCOMPARE(PLUListTextFirstLine(SelectDescription), whole);
    }

    void writeAndRead_data()
    {
        QTest::addColumn<BlockCase>("c");
        // clang-format off
        QTest::newRow("two lines") << BlockCase{.lines = "1:AB|6:C", .hex = "010241420D0601430C", .both = true};
        QTest::newRow("one line") << BlockCase{.lines = "1:AB", .hex = "010241420C", .both = true};
        QTest::newRow("empty text") << BlockCase{.lines = "", .hex = "", .both = true};
        QTest::newRow("one byte") << BlockCase{.lines = "", .hex = "01"};
        QTest::newRow("empty first line") << BlockCase{.lines = "", .hex = "01000D0601430C"};
        QTest::newRow("line past the end") << BlockCase{.lines = "1:ABC", .hex = "0105414243"};
        QTest::newRow("no separator") << BlockCase{.lines = "1:AB", .hex = "01024142"};
        QTest::newRow("ends after 0x0D") << BlockCase{.lines = "1:AB", .hex = "010241420D"};
        QTest::newRow("font without length") << BlockCase{.lines = "1:AB", .hex = "010241420D06"};
        QTest::newRow("empty later line dropped") << BlockCase{.lines = "1:AB|6:C", .hex = "010241420D06000D0601430C"};
        QTest::newRow("other separator") << BlockCase{.lines = "1:A|2:B", .hex = "010141000201420C"};
        QTest::newRow("at most 2 lines") << BlockCase{.lines = "1:A|2:B", .hex = "010141 0D020142 0D030143 0C", .maxLines = 2};
        // clang-format on
    }
    void writeAndRead()
    {
        QFETCH(BlockCase, c);
        const QByteArray block = QByteArray::fromHex(c.hex);
        QCOMPARE(textLinesText(ParseTextBytes(block, c.maxLines)), c.lines);
        if (c.both)
            QCOMPARE(BuildTextBytes(textLinesOf(c.lines)).toHex().toUpper(), c.hex);
    }

    void lineTooLongToWrite()
    {
        QVERIFY_THROWS_EXCEPTION(CodecError, BuildTextBytes({TextLine{1, QByteArray(256, 'a')}}));
    }

    void blocksOfTheRightLength()
    {
        // Blocks of 104 and 153 bytes: font, length, text, separator.
        QCOMPARE(textLine(1, QByteArray(101, 'a'), 0x0C).size(), 104);
        QCOMPARE(textLine(1, QByteArray(150, 'a'), 0x0C).size(), 153);
    }

    void nullFieldAndOtherSelectorGiveNothing()
    {
        CodecDb db;
        QVERIFY(db.isOpen());
        const qint64 id = addRow(QStringLiteral("KVB_25"), {{"PLU_Commodity", textLine(1, "abc", 0x0C)}});
        db::Recordset rs(&gDBConnection);
        rs.open(QStringLiteral("SELECT * FROM KVB_25 WHERE rowid=?"), {id});
        QCOMPARE(PLUTextFirstLine(SelectDescription, rs), QString());
        QCOMPARE(PLUTextFirstLine(2, rs), QString());
    }

    void firstLinePastTheEndFails()
    {
        QVERIFY_THROWS_EXCEPTION(CodecError, LenBytesToText(hex("0105414243")));
        QVERIFY_THROWS_EXCEPTION(CodecError, textBlockFirstLine(hex("01FF4142430C"), false));
    }

    void blockLength_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("one line") << textLine(1, "abcd", 0x0C) + "tail" << 0 << 7;
        QTest::newRow("three lines") << textLine(1, "a", 0x0D) + textLine(1, "bc", 0x0D) + textLine(2, "", 0x0C) + "x"
                                     << 0 << 4 + 5 + 3;
        QTest::newRow("separator 0x00 ends it") << textLine(1, "ab", 0x00) + textLine(1, "cd", 0x0C) << 0 << 5;
        QTest::newRow("from an offset") << QByteArray("xyz") + textLine(1, "ab", 0x0C) << 3 << 5;
    }
    void blockLength()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, start);
        QFETCH(int, length);
        QCOMPARE(textBlockLength(data, start), length);
    }

    void blockRunningPastTheEndFails_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("length byte too large") << hex("0109414243");
        QTest::newRow("no separator") << hex("0103414243");
        QTest::newRow("continues after the last byte") << hex("010141 0D");
        QTest::newRow("empty") << QByteArray();
    }
    void blockRunningPastTheEndFails()
    {
        QFETCH(QByteArray, data);
        QVERIFY_THROWS_EXCEPTION(CodecError, textBlockLength(data, 0));
    }

    void cutInsideADoubleByteCharacterDropsIt()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        // 99 ASCII bytes, then Chinese characters: byte 100 is the lead byte of one of them.
        const QByteArray text = QByteArray(99, 'a') + text::toAnsi(QStringLiteral("\u4e2d\u6587"));
        const QString first = textBlockFirstLine(textLine(1, text, 0x0C), true);
        QCOMPARE(first, QString(99, QLatin1Char('a')));
    }
};

QTEST_GUILESS_MAIN(TestTextBlock)
#include "tst_textblock.moc"
