#include "support/CodecTestDb.h"
#include "support/DataRows.h"
#include "support/TransferFixture.h"

#include "datafiles/DataFileWriters.h"
#include "datafiles/ReportLoader.h"
#include "platform/text/Ansi.h"
#include "state/SharedData.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::datafiles;

namespace {

QStringList rowTexts(const QString& table, int index)
{
    db::Recordset rs(&gDBConnection);
    rs.openTable(table);
    rs.move(index);
    QStringList out;
    for (int i = 0; i < rs.fieldCount(); ++i)
        out << rs.value(i).toString();
    return out;
}

QByteArray numbered(int from, int count)
{
    QList<QByteArray> pieces;
    for (int i = 0; i < count; ++i)
        pieces << QByteArray::number(from + i);
    return pieces.join(',');
}

// A report file, the first values of the rows it loads and the lines its load did not read ("N: why", "|"-joined).
struct EndRow {
    const char* name;
    QByteArray bytes;
    const char* loaded = "";
    const char* unread = "";
};

} // namespace

class TestReportLoader : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyReportTable_data();
    void everyReportTable();
    void pieces_data();
    void pieces();
    void numberFields_data();
    void numberFields();
    void refusesOtherNames_data();
    void refusesOtherNames();
    void appendsAndStopsAtEmptyLine();
    void linesNotRead_data();
    void linesNotRead();
    void failureKeepsTheLinesBefore();

private:
    void setUpFolder(const QString& schema = QString());
    std::unique_ptr<test::TransferFolder> m_folder;
};

void TestReportLoader::init() { text::setAnsiCodePage(QStringLiteral("windows-1252")); }

void TestReportLoader::setUpFolder(const QString& schema)
{
    m_folder = std::make_unique<test::TransferFolder>();
    QVERIFY2(m_folder->setUp(schema), qPrintable(m_folder->errorText()));
}

void TestReportLoader::cleanup()
{
    QVERIFY(!gRsWork.isOpen());
    m_folder.reset();
}

void TestReportLoader::everyReportTable_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("fields");
    const QList<QPair<const char*, int>> tables{{"DPT0", 16}, {"MGT0", 17}, {"PLT0", 17}, {"CLT0", 16}, {"SAT0", 123},
                                                {"TAT0", 16}, {"RTB0", 28}, {"RTT0", 33}, {"INV0", 12}};
    for (const auto& [code, fields] : tables)
        QTest::newRow(code) << QString::fromLatin1(code) << fields;
}

void TestReportLoader::everyReportTable()
{
    QFETCH(QString, code);
    QFETCH(int, fields);
    setUpFolder();
    QVERIFY(reportTables().contains(code));
    QVERIFY(m_folder->writeTempFile(code + "UALL.csv", numbered(100, fields) + "\r\n" + numbered(500, 3) + "\r\n"));
    ImportUploadCSV(code);
    QCOMPARE(test::rowCount(code), 2);
    const QStringList first = rowTexts(code, 0);
    QCOMPARE(first.size(), fields);
    QCOMPARE(first.first(), QStringLiteral("100"));
    QCOMPARE(first.last(), QString::number(100 + fields - 1));
    // Fewer pieces than fields: the rest take 0.
    const QStringList second = rowTexts(code, 1);
    QCOMPARE(second.mid(0, 4), (QStringList{"500", "501", "502", "0"}));
    QCOMPARE(second.count(QStringLiteral("0")), fields - 3);
}

void TestReportLoader::pieces_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("expected"); // the first fields of the DPT0 row

    const QString cp = QStringLiteral("windows-1252");
    QTest::newRow("empty piece in the middle") << cp << QByteArray("a,,c") << QStringList{"a", "0", "c", "0"};
    QTest::newRow("empty first piece") << cp << QByteArray(",b") << QStringList{"0", "b", "0"};
    QTest::newRow("blanks kept in a text") << cp << QByteArray(" a , b") << QStringList{" a ", " b", "0"};
    QTest::newRow("long text keeps its rightmost characters")
        << cp << QByteArray(5, 'L') + QByteArray("0123456789").repeated(5)
        << QStringList{QString("0123456789").repeated(5), "0"};
    QTest::newRow("text of exactly the field's size") << cp << QByteArray(50, 'x') << QStringList{QString(50, 'x')};
    QTest::newRow("windows-1252 text") << cp << QByteArray("Caf\xE9,1") << QStringList{QString::fromUtf8("Café"), "1"};
    QTest::newRow("GBK text") << "GBK" << QByteArray("\xC6\xBB\xB9\xFB,2")
                              << QStringList{QString::fromUtf8("苹果"), "2"};
    QTest::newRow("quotes are plain characters") << cp << QByteArray("\"a\",\"b") << QStringList{"\"a\"", "\"b"};
}

void TestReportLoader::pieces()
{
    QFETCH(QString, codePage);
    QFETCH(QByteArray, line);
    QFETCH(QStringList, expected);
    setUpFolder();
    text::setAnsiCodePage(codePage);
    QVERIFY(m_folder->writeTempFile("DPT0UALL.csv", line + "\r\n"));
    ImportUploadCSV("DPT0");
    QCOMPARE(rowTexts("DPT0", 0).mid(0, expected.size()), expected);
}

void TestReportLoader::numberFields_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("expected"); // empty: the load fails

    QTest::newRow("numbers parsed whole")
        << QByteArray("abc,123,-7,2.5,memo") << QStringList{"abc", "123", "-7", "2.5", "memo"};
    QTest::newRow("text cut, numbers not") << QByteArray("ABCDEFGHIJKL,2147483647,32767,1e3,")
                                           << QStringList{"CDEFGHIJKL", "2147483647", "32767", "1000", "0"};
    QTest::newRow("missing number pieces take 0") << QByteArray("x") << QStringList{"x", "0", "0", "0", "0"};
    QTest::newRow("long memo kept") << QByteArray(",,,,") + QByteArray(300, 'm')
                                    << QStringList{"0", "0", "0", "0", QString(300, 'm')};
    QTest::newRow("number too big for its field") << QByteArray("a,12345678901") << QStringList{};
    QTest::newRow("number too big for a small field") << QByteArray("a,1,40000") << QStringList{};
    QTest::newRow("letters in a number") << QByteArray("a,12a") << QStringList{};
    QTest::newRow("fraction in a whole number") << QByteArray("a,1.5") << QStringList{};
    QTest::newRow("letters in a real") << QByteArray("a,1,1,x") << QStringList{};
}

void TestReportLoader::numberFields()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, expected);
    setUpFolder(QStringLiteral(QUORVANE_TEST_DATA_DIR "/datafiles/report_schema.txt"));
    QVERIFY(m_folder->writeTempFile("DPT0UALL.csv", line + "\r\n"));
    if (expected.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(DataFileError, ImportUploadCSV("DPT0"));
        QCOMPARE(test::rowCount("DPT0"), 0);
        return;
    }
    ImportUploadCSV("DPT0");
    QCOMPARE(rowTexts("DPT0", 0), expected);
}

void TestReportLoader::refusesOtherNames_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("working table") << "KVB_25";
    QTest::newRow("received PLUs") << "RC_25";
    QTest::newRow("other letter case") << "dpt0";
    QTest::newRow("short") << "DPT";
    QTest::newRow("empty") << "";
    QTest::newRow("SQL") << "DPT0\"; DROP TABLE KVB_25; --";
    QTest::newRow("path") << "../DPT0";
    QTest::newRow("store report the program does not load") << "STR0";
}

void TestReportLoader::refusesOtherNames()
{
    QFETCH(QString, code);
    setUpFolder();
    test::addRow("KVB_25", {{"PLU_No", 1}});
    QVERIFY(m_folder->writeTempFile(code + "UALL.csv", "1,2,3\r\n"));
    QVERIFY_THROWS_EXCEPTION(DataFileError, ImportUploadCSV(code));
    QCOMPARE(test::rowCount("KVB_25"), 1);
    QCOMPARE(test::rowCount("RC_25"), 0);
}

void TestReportLoader::appendsAndStopsAtEmptyLine()
{
    setUpFolder();
    QVERIFY(m_folder->writeTempFile("INV0UALL.csv", "1\r\n2\r\n\r\n"));
    ImportUploadCSV("INV0");
    ImportUploadCSV("INV0");
    QCOMPARE(test::rowCount("INV0"), 4);
    // A file named by another report is not what "INV0" loads.
    QVERIFY(QFile::remove(m_folder->tempFile("INV0UALL.csv")));
    QVERIFY(m_folder->writeTempFile("INV0UDLY.csv", "9\r\n"));
    QVERIFY_THROWS_EXCEPTION(DataFileError, ImportUploadCSV("INV0"));
    QCOMPARE(test::rowCount("INV0"), 4);
}

void TestReportLoader::linesNotRead_data()
{
    const QByteArray five("1\r\n2\r\n3\r\n4\r\n5\r\n");
    // clang-format off
    test::addDataRows<EndRow>({
        {.name = "empty lines at the end", .bytes = "1\r\n2\r\n\r\n\r\n", .loaded = "1 2"},
        {.name = "one line after", .bytes = "3\r\n\r\n4\r\n", .loaded = "3", .unread = "2: an empty line; the line after it was not read"},
        {.name = "ten after, empty lines among them", .bytes = "1\r\n\r\n" + five + "\r\n" + five + "\r\n\r\n", .loaded = "1", .unread = "2: an empty line; the 10 lines after it were not read"},
        {.name = "an empty first line", .bytes = "\r\n1\r\n", .unread = "1: an empty line; the line after it was not read"},
        {.name = "lines ended by CR alone", .bytes = "1,a\r2,b\r3,c\r", .loaded = "1 2 3"},
        {.name = "a byte-order mark", .bytes = "\xEF\xBB\xBF" "1,a\r\n", .loaded = "1"},
        {.name = "more pieces than fields", .bytes = "1\r\n" + numbered(1, 13) + "\r\n3" + QByteArray(12, ',') + "\r\n\r\n4\r\n", .loaded = "1 3", .unread = "2: 13 pieces, more than the 12 fields|4: an empty line; the line after it was not read"},
    });
    // clang-format on
}

// A scale may write something after an empty line, or lines the load cannot take whole: the load says what it did
// not read.
void TestReportLoader::linesNotRead()
{
    QFETCH(EndRow, row);
    setUpFolder();
    QVERIFY(m_folder->writeTempFile("INV0UALL.csv", row.bytes));
    const text::LinesLeftOut notRead = ImportUploadCSV("INV0");
    QStringList loaded;
    for (int i = 0; i < test::rowCount("INV0"); ++i)
        loaded << rowTexts("INV0", i).first();
    QCOMPARE(loaded.join(QLatin1Char(' ')), QLatin1String(row.loaded));
    QCOMPARE(text::namedLinesText(notRead.named, notRead.count).join(QLatin1Char('|')), QLatin1String(row.unread));
}

void TestReportLoader::failureKeepsTheLinesBefore()
{
    setUpFolder(QStringLiteral(QUORVANE_TEST_DATA_DIR "/datafiles/report_schema.txt"));
    QVERIFY(m_folder->writeTempFile("DPT0UALL.csv", "a,1\r\nb,2\r\n"));
    ImportUploadCSV("DPT0");
    QVERIFY(m_folder->writeTempFile("DPT0UALL.csv", "c,3\r\nd,x\r\ne,5\r\n"));
    try {
        ImportUploadCSV("DPT0");
        QFAIL("the load did not fail");
    } catch (const DataFileError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("line 2")), qPrintable(e.message()));
    }
    QCOMPARE(test::rowCount("DPT0"), 3);
    QCOMPARE(rowTexts("DPT0", 2).first(), QStringLiteral("c"));

    // The shared work recordset must be free; the loader does not take it from another user.
    gRsWork.openTable("MGT0");
    QVERIFY_THROWS_EXCEPTION(DataFileError, ImportUploadCSV("DPT0"));
    QVERIFY(gRsWork.isOpen());
    gRsWork.close();
    QCOMPARE(test::rowCount("DPT0"), 3);

    // A stop asked for during the load ends it as a failing line does.
    QVERIFY(m_folder->writeTempFile("DPT0UALL.csv", "f,6\r\ng,7\r\nh,8\r\n"));
    int loaded = 0;
    QVERIFY_THROWS_EXCEPTION(DataFileError, ImportUploadCSV("DPT0", [&] { return ++loaded == 2; }));
    QCOMPARE(test::rowCount("DPT0"), 5);
}

QTEST_GUILESS_MAIN(TestReportLoader)
#include "tst_reportloader.moc"
