#include "support/CodecTestDb.h"
#include "support/DataRows.h"
#include "support/TransferFixture.h"

#include "datafiles/DataFileWriters.h"
#include "datafiles/ReceivedPluLoader.h"
#include "platform/text/Ansi.h"
#include "plu/ReceivedPlus.h"
#include "state/SharedData.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::datafiles;

namespace {

const QString kPlu = QStringLiteral("PLU0UALL.csv");

// A received line of the 49 columns the writer produces: every number 0, no text, no discount.
QByteArray line(const QMap<int, QByteArray>& columns = {})
{
    QList<QByteArray> pieces = QByteArray("0,,0,0,0,0,0,0000000000000,0,0,0,0,0,0,000000,0000,000000,0000,0,0,0,0,0,"
                                          "0,0,0,0,0,0,0,,0,0,0,0,0,,0,,0,0,0,0,0,0,0,0,0,0")
                                   .split(',');
    for (auto it = columns.begin(); it != columns.end(); ++it)
        pieces[it.key()] = it.value();
    return pieces.join(',');
}

// The first n pieces of a line.
QByteArray firstPieces(const QByteArray& l, int n) { return l.split(',').mid(0, n).join(','); }

QVariantMap rcRow(int index) { return test::rowValues("RC_25", test::rowIds("RC_25").value(index, -1)); }

// The PLU numbers of RC_25 in stored order.
QString receivedNumbers()
{
    QStringList out;
    for (const qint64 id : test::rowIds("RC_25"))
        out << test::rowValues("RC_25", id).value("PLU_No").toString();
    return out.join(QLatin1Char(' '));
}

// A received file, what of it was loaded (the PLU numbers of RC_25) and the lines named as left out, "|"-joined.
struct LeftOutRow {
    const char* name;
    QList<QByteArray> lines{};
    const char* loaded = "";
    QString named{};
};

} // namespace

Q_DECLARE_METATYPE(LeftOutRow)

class TestReceivedPluLoader : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    void loadsLine_data();
    void loadsLine();
    void refusesLine_data();
    void refusesLine();
    void leavesOutLines_data();
    void leavesOutLines();
    void appendsAndStopsAtEmptyLine();
    void missingFile();
};

void TestReceivedPluLoader::loadsLine_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QVariantMap>("expected");

    const QString cp = QStringLiteral("windows-1252");
    QTest::newRow("item-code data, long layout") << cp << line({{7, "1200001234567"}, {8, "0"}})
                                                 << QVariantMap{{"PLU_EANFlags", 12},
                                                                {"PLU_EANData", "000012345670"},
                                                                {"PLU_EANItemCode", "0000123456"},
                                                                {"PLU_EANLastByte", 70},
                                                                {"Stat2_ItemCode", 1}};
    // A fetched PLU belongs to no store yet: an inherited format finds no main group and reads as format 0.
    QTest::newRow("inherited bar format") << cp << line({{7, "0500001234567"}, {8, "255"}})
                                          << QVariantMap{{"PLU_BarFormat", 255},
                                                         {"PLU_EANData", "000012345670"},
                                                         {"PLU_EANItemCode", "0000123456"},
                                                         {"PLU_EANLastByte", 0},
                                                         {"Stat2_ItemCode", 1}};
    QTest::newRow("discount type 0 stores the rest without the flag")
        << cp
        << line(
               {{14, "070305"}, {15, "930"}, {16, "991231"}, {17, "2359"}, {18, "10"}, {19, "5"}, {20, "20"}, {21, "8"}})
        << QVariantMap{{"PLU_Disc_SDate", 50307}, {"PLU_Disc_STime", 930},    {"PLU_Disc_EDate", 311299},
                       {"PLU_Disc_ETime", 2359},  {"PLU_Disc_1stLim", 10},    {"PLU_Disc_Within1stL", 5},
                       {"PLU_Disc_2ndLim", 20},   {"PLU_Disc_Within2ndL", 8}, {"PLU_Disc_Type", 0},
                       {"Stat2_Discount", 0}};
    QTest::newRow("RS data six columns after the negative-PLU flag")
        << cp << line() + ",0,0,0,0,9" << QVariantMap{{"PLU_RSData", 9}, {"Stat2_RSData", 1}, {"Stat1_NegativePLU", 0}};
    QTest::newRow("line ends after the fourth member discount")
        << cp << firstPieces(line({{39, "2"}, {41, "5"}, {43, "8"}}), 44)
        << QVariantMap{{"Stat1_MemPriceType", 2},
                       {"PLU_MemDisc2", 5},
                       {"PLU_MemDisc4", 8},
                       {"Stat2_MemDisc", 1},
                       {"Stat1_NegativePLU", 0}};
    QTest::newRow("line ends before the tail")
        << cp << firstPieces(line(), 39) << QVariantMap{{"Stat1_MemPriceType", 0}, {"Stat2_MemDisc", 0}};
    QTest::newRow("name that is a single comma")
        << cp << line({{35, "4"}, {36, "\""}, {37, "\""}, {38, "0"}, {39, ""}}) + ",0"
        << QVariantMap{{"PLU_Commodity", test::textLine(char(4), ",", 0x0C)},
                       {"PLU_CommodityFirst", ","},
                       {"Stat2_Commodity", 1}};
    QTest::newRow("empty quotes") << cp << line({{35, "2"}, {36, "\"\""}})
                                  << QVariantMap{{"PLU_Commodity", QByteArray("\x02\x00\x0C", 3)},
                                                 {"PLU_CommodityFirst", ""},
                                                 {"Stat2_Commodity", 1}};
    QTest::newRow("empty name piece writes no name")
        << cp << line()
        << QVariantMap{{"PLU_Commodity", QVariant()}, {"Stat2_Commodity", 0}, {"PLU_CommodityFirst", ""}};
    QTest::newRow("description with commas after a name with two")
        << cp << firstPieces(line(), 35) + ",1,\"N,,\",2,\"x,y,z\",0,0,0,0,0,0,0,0,1,0,0,0,0,0,5"
        << QVariantMap{{"PLU_Commodity", test::textLine(char(1), "N,,", 0x0C)},
                       {"PLU_Description", test::textLine(char(2), "x,y,z", 0x0C)},
                       {"Stat2_Description", 1},
                       {"Stat1_NegativePLU", 1},
                       {"PLU_RSData", 5},
                       {"Stat2_RSData", 1}};
    QTest::newRow("GBK name") << QStringLiteral("GBK") << line({{35, "1"}, {36, "\"\xC6\xBB\xB9\xFB\""}})
                              << QVariantMap{{"PLU_Commodity", test::textLine(char(1), "\xC6\xBB\xB9\xFB", 0x0C)},
                                             {"PLU_CommodityFirst", QString::fromUtf8("苹果")}};
    QTest::newRow("windows-1252 name") << cp << line({{35, "1"}, {36, "\"Caf\xE9\""}})
                                       << QVariantMap{{"PLU_Commodity", test::textLine(char(1), "Caf\xE9", 0x0C)},
                                                      {"PLU_CommodityFirst", QString::fromUtf8("Café")}};
}

void TestReceivedPluLoader::loadsLine()
{
    QFETCH(QString, codePage);
    QFETCH(QByteArray, line);
    QFETCH(QVariantMap, expected);
    text::setAnsiCodePage(codePage);
    QVERIFY(m_folder->writeTempFile(kPlu, line + "\r\n"));
    ImportUploadPLU();
    QCOMPARE(test::rowCount("RC_25"), 1);
    const QVariantMap row = rcRow(0);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QVariant got = row.value(it.key());
        QVERIFY2(row.contains(it.key()), qPrintable(it.key()));
        if (it.value().typeId() == QMetaType::QByteArray || !it.value().isValid())
            QVERIFY2(got == it.value(), qPrintable(it.key() + ": " + got.toByteArray().toHex()));
        else
            QCOMPARE(got.toString(), it.value().toString());
    }
}

void TestReceivedPluLoader::refusesLine_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::addColumn<QString>("reason");

    QTest::newRow("letters in a number") << line({{6, "12x"}}) << "column 6";
    QTest::newRow("empty number") << line({{2, ""}}) << "column 2";
    QTest::newRow("number beyond 32 bits") << line({{6, "99999999999"}}) << "PLU_UPrice";
    QTest::newRow("number beyond 64 bits") << line({{0, "99999999999999999999999"}}) << "column 0";
    QTest::newRow("font code above 255") << line({{35, "256"}, {36, "\"A\""}}) << "font code";
    QTest::newRow("negative font code") << line({{35, "-1"}, {36, "\"A\""}}) << "font code";
    QTest::newRow("text of 256 bytes") << line({{35, "1"}, {36, '"' + QByteArray(256, 'a') + '"'}}) << "256 bytes";
    QTest::newRow("name of 1 MB") << line({{35, "1"}, {36, '"' + QByteArray(1 << 20, 'a') + '"'}}) << "1048576 bytes";
    QTest::newRow("text never closes") << line({{35, "1"}, {36, "\"open"}}) << "does not close";
    QTest::newRow("truncated before the texts") << firstPieces(line(), 30) << "column 31";
    QTest::newRow("truncated inside the texts") << firstPieces(line(), 38) << "column 38";
    QTest::newRow("ends inside the member discounts") << firstPieces(line(), 42) << "column 42";
    QTest::newRow("item-code data not digits") << line({{7, "05ABCDEF12345"}}) << "column 7";
    QTest::newRow("item-code data too long") << line({{7, "0512345678901234"}}) << "column 7";
    QTest::newRow("binary garbage") << QByteArray("\x01\x02\xFF,,,\"\"\"", 9) << "";
}

void TestReceivedPluLoader::refusesLine()
{
    QFETCH(QByteArray, bad);
    QFETCH(QString, reason);
    test::addRow("RC_25", {{"PLU_No", 77}});
    // The bad line is left out and named; the lines around it are loaded.
    QVERIFY(m_folder->writeTempFile(kPlu, line({{0, "1"}}) + "\r\n" + bad + "\r\n" + line({{0, "3"}}) + "\r\n"));
    const text::LinesLeftOut leftOut = ImportUploadPLU();
    QCOMPARE(leftOut.count, 1);
    QCOMPARE(leftOut.named.first().line, 2);
    QVERIFY2(leftOut.named.first().reason.contains(reason), qPrintable(leftOut.named.first().reason));
    QCOMPARE(receivedNumbers(), QStringLiteral("77 1 3"));
}

// The check of the PLU field ranges, as a fetch gives it.
void TestReceivedPluLoader::leavesOutLines_data()
{
    QList<QByteArray> zeros(25, line());
    zeros << line({{0, "7"}});
    QStringList named;
    for (int i = 1; i <= 20; ++i)
        named << QStringLiteral("%1: PLU_No \"0\" outside 1 to 999999").arg(i);
    QList<QByteArray> endedEarly = zeros;
    endedEarly << "" << line({{0, "8"}}) << "" << line({{0, "9"}}) << "";
    const QByteArray controls("\"Nu\0l\x1b"
                              "E\tT\"",
                              10);
    const QString controlsText = QStringLiteral("Nu") + QChar(0)
        + QStringLiteral("l\x1b"
                         "E\tT");
    // clang-format off
    test::addDataRows<LeftOutRow>({
        {.name = "values outside their ranges", .lines = {line({{0, "-5"}}), line({{0, "0"}}), line({{0, "1001"}, {6, "500"}}), line({{0, "1009"}, {6, "-100"}})}, .loaded = "1001", .named = "1: PLU_No \"-5\" outside 1 to 999999|2: PLU_No \"0\" outside 1 to 999999|4: PLU_UPrice \"-100\" outside 0 to 999999"},
        {.name = "a bar format and a date", .lines = {line({{0, "1"}, {8, "29"}}), line({{0, "2"}, {14, "990230"}}), line({{0, "3"}})}, .loaded = "3", .named = "1: PLU_BarFormat \"29\" outside 0 to 28 or 255|2: PLU_Disc_SDate \"300299\" not a date DDMMYY"},
        {.name = "more than 20", .lines = zeros, .loaded = "7", .named = named.join(QLatin1Char('|')) + "|(+5)"},
        {.name = "control characters in a name", .lines = {line({{0, "1"}, {35, "1"}, {36, controls}}), line({{0, "2"}, {37, "1"}, {38, "\"\x7f\""}}), line({{0, "3"}})}, .loaded = "3", .named = "1: PLU_Commodity \"" + controlsText + "\" a control character (U+0000)|2: PLU_Description \"\x7f\" a control character (U+007f)"},
        {.name = "a tab, VT or FF at a name's ends", .lines = {line({{0, "1"}, {35, "1"}, {36, "\"\tA\""}}), line({{0, "2"}, {35, "1"}, {36, "\"A\x0b\""}}), line({{0, "3"}, {37, "1"}, {38, "\"\x0c" "B\""}}), line({{0, "4"}})}, .loaded = "4", .named = "1: PLU_Commodity \"\tA\" a control character (U+0009)|2: PLU_Commodity \"A\x0b\" a control character (U+000b)|3: PLU_Description \"\x0c" "B\" a control character (U+000c)"},
        {.name = "lines ended by CR alone, one of more pieces than fields", .lines = {line({{0, "1"}}) + "\r" + line({{0, "2"}}) + ",0,0,0,0,0,0\r" + line({{0, "3"}}) + ",0,0,0,0,0,"}, .loaded = "1 3", .named = "2: 55 pieces, more than the 54 fields"},
        {.name = "an empty line before more", .lines = {line({{0, "1"}}), "", line({{0, "2"}}), line({{0, "3"}}), "", ""}, .loaded = "1", .named = "2: an empty line; the 2 lines after it were not read"},
        {.name = "an empty line after 20 left out", .lines = endedEarly, .loaded = "7", .named = named.mid(0, 19).join(QLatin1Char('|')) + "|27: an empty line; the 2 lines after it were not read|(+6)"},
    });
    // clang-format on
}

void TestReceivedPluLoader::leavesOutLines()
{
    QFETCH(LeftOutRow, row);
    QVERIFY(m_folder->writeTempFile(kPlu, row.lines.join("\r\n") + "\r\n"));
    const text::LinesLeftOut leftOut = ImportUploadPLU(receivedLineCheck());
    QCOMPARE(text::namedLinesText(leftOut.named, leftOut.count).join(QLatin1Char('|')), row.named);
    QCOMPARE(receivedNumbers(), QLatin1String(row.loaded));
}

void TestReceivedPluLoader::appendsAndStopsAtEmptyLine()
{
    test::addRow("RC_25", {{"PLU_No", 77}});
    QVERIFY(m_folder->writeTempFile(
        kPlu, line({{0, "1"}}) + "\r\n" + line({{0, "2"}}) + "\r\n" + line({{0, "3"}}) + "\r\n\r\n"));
    ImportUploadPLU();
    QCOMPARE(test::rowCount("RC_25"), 4);
    QCOMPARE(rcRow(3).value("PLU_No").toInt(), 3);

    // An empty file and a lone line end add nothing, and say nothing.
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\r\n")}) {
        QVERIFY(m_folder->writeTempFile(kPlu, bytes));
        QCOMPARE(ImportUploadPLU().count, 0);
        QCOMPARE(test::rowCount("RC_25"), 4);
    }
}

void TestReceivedPluLoader::missingFile()
{
    QVERIFY_THROWS_EXCEPTION(DataFileError, ImportUploadPLU());
    QCOMPARE(test::rowCount("RC_25"), 0);
}

QTEST_GUILESS_MAIN(TestReceivedPluLoader)
#include "tst_receivedpluloader.moc"
