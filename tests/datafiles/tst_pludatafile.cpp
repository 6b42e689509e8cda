#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"

#include "datafiles/DataFileWriters.h"
#include "datafiles/PluDataFile.h"
#include "platform/text/Ansi.h"
#include "state/SharedData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::datafiles;
using records::plu::Field;

namespace {

const QString kPlu = QStringLiteral("PLU0UALL.csv");

// A row holding the given fields; every other field is Null, which reads as 0.
records::PluRow pluRow(const QVariantMap& values)
{
    records::PluRow row;
    int used = 0;
    for (int f = 0; f < records::plu::Count; ++f) {
        const QString name = QLatin1String(records::plu::name(Field(f)));
        if (values.contains(name)) {
            row.load(Field(f), values.value(name));
            ++used;
        }
    }
    if (used != values.size())
        qFatal("unknown PLU field in %s", qPrintable(values.keys().join(QLatin1Char(' '))));
    return row;
}

// Columns 9 to 48 of a PLU without any optional value, discount or text.
const QByteArray kEmptyTail =
    "0,0,0,0,0,000000,0000,000000,0000,0,0,0,0,0,0,0,0,0,0,0,0,,0,0,0,0,0,,0,,0,0,0,0,0,0,0,0,0,0";

} // namespace

class TestPluDataFile : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    void line_data();
    void line();
    void goldenFile_data();
    void goldenFile();
    void noMarkedRowWritesNothing();
    void replacesLongerFileAndKeepsMarks();
    void inheritedFormatPerRowAndFreshEachPass();
    void failingRowDeletesFileAndKeepsRows_data();
    void failingRowDeletesFileAndKeepsRows();
    void dispatchByListedName();
    void frameOnAnotherTable();
    void textFields_data();
    void textFields();
};

void TestPluDataFile::line_data()
{
    QTest::addColumn<QVariantMap>("fields");
    QTest::addColumn<int>("inheritedFormat");
    QTest::addColumn<int>("inheritedFlags");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("flags 12") << QVariantMap{{"PLU_No", 1}, {"PLU_EANFlags", 12}} << 0 << 0
                              << QByteArray("1,,0,0,0,0,0,1200000000000,0,") + kEmptyTail;
    QTest::newRow("flags 255 give 00") << QVariantMap{{"PLU_No", 1}, {"PLU_EANFlags", 255}, {"PLU_BarFormat", 3}} << 0
                                       << 0 << QByteArray("1,,0,0,0,0,0,0000000000000,3,") + kEmptyTail;
    QTest::newRow("item data ignored without its flag")
        << QVariantMap{{"PLU_No", 1}, {"PLU_EANFlags", 5}, {"PLU_EANData", "123456789010"}} << 0 << 0
        << QByteArray("1,,0,0,0,0,0,0500000000000,0,") + kEmptyTail;
    QTest::newRow("inherited format and flags")
        << QVariantMap{{"PLU_No", 1}, {"PLU_EANFlags", 99}, {"PLU_BarFormat", 255}} << 7 << 21
        << QByteArray("1,,0,0,0,0,0,2100000000000,7,") + kEmptyTail;
    QTest::newRow("inherited flags F") << QVariantMap{{"PLU_No", 1}, {"PLU_BarFormat", 255}} << 7 << 176
                                       << QByteArray("1,,0,0,0,0,0,0000000000000,7,") + kEmptyTail;

    const QByteArray head =
        "1,,0,0,0,0,0,0000000000000,0,0,0,0,0,0,000000,0000,000000,0000,0,0,0,0,0,0,0,0,0,0,0,0,,0,0,0,0,";
    const QByteArray zeros10 = "0,0,0,0,0,0,0,0,0,0";
    QTest::newRow("quote in a name unescaped")
        << QVariantMap{{"PLU_No", 1},
                       {"Stat2_Commodity", 1},
                       {"PLU_Commodity", test::textLine(char(1), "12\" pie", 0x0C)}}
        << 0 << 0 << head + "1,\"12\" pie\",0,," + zeros10;
    QTest::newRow("line breaks in a name become blanks")
        << QVariantMap{{"PLU_No", 1},
                       {"Stat2_Commodity", 1},
                       {"PLU_Commodity", test::textLine(char(2), "A\rB\nC\r\nD", 0x0C)}}
        << 0 << 0 << head + "2,\"A B C  D\",0,," + zeros10;
    QTest::newRow("block of three bytes gives empty quotes")
        << QVariantMap{{"PLU_No", 1}, {"Stat2_Commodity", 1}, {"PLU_Commodity", QByteArray("\x04\x00\x0C", 3)}} << 0
        << 0 << head + "4,\"\",0,," + zeros10;
    QTest::newRow("empty block with its flag")
        << QVariantMap{{"PLU_No", 1}, {"Stat2_Commodity", 1}, {"PLU_Commodity", QByteArray()}} << 0 << 0
        << head + "0,\"\",0,," + zeros10;
    QTest::newRow("first line running past the block's end") << QVariantMap{{"PLU_No", 1},
                                                                            {"Stat2_Commodity", 1},
                                                                            {"PLU_Commodity",
                                                                             QByteArray("\x03\x0A"
                                                                                        "AB",
                                                                                        4)}}
                                                             << 0 << 0 << head + "3,\"AB\",0,," + zeros10;
    QTest::newRow("GBK bytes pass unchanged")
        << QVariantMap{{"PLU_No", 1},
                       {"Stat2_Commodity", 1},
                       {"PLU_Commodity", test::textLine(char(1), "\xC6\xBB\xB9\xFB", 0x0C)}}
        << 0 << 0 << head + "1,\"\xC6\xBB\xB9\xFB\",0,," + zeros10;

    QTest::newRow("negative and zero") << QVariantMap{{"PLU_No", 0}, {"PLU_UPrice", -5}} << 0 << 0
                                       << QByteArray("0,,0,0,0,0,-5,0000000000000,0,") + kEmptyTail;
}

void TestPluDataFile::line()
{
    QFETCH(QVariantMap, fields);
    QFETCH(int, inheritedFormat);
    QFETCH(int, inheritedFlags);
    QFETCH(QByteArray, expected);
    const QByteArray line = PluDataLine(pluRow(fields), {inheritedFormat, inheritedFlags});
    QCOMPARE(line, expected);
    QVERIFY(!line.contains('\r') && !line.contains('\n'));
}

void TestPluDataFile::goldenFile_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("windows-1252") << "windows-1252" << QString::fromUtf8("Café au lait")
                                  << QString::fromUtf8("Crème, fraîche");
    QTest::newRow("GBK") << "GBK" << QString::fromUtf8("苹果") << QString::fromUtf8("新鲜,水果");
}

void TestPluDataFile::goldenFile()
{
    QFETCH(QString, codePage);
    QFETCH(QString, name);
    QFETCH(QString, description);
    text::setAnsiCodePage(codePage);

    test::addRow("KVB_23", {{"MG_No", 4}, {"ST_No", 1}, {"DP_No", 2}, {"barformat", 255}, {"Flag1", 3}, {"Flag2", 3}});
    test::addRow("KVB_20", {{"DP_No", 2}, {"ST_No", 1}, {"barformat", 107}, {"Flag1", 1}, {"Flag2", 6}});
    test::addRow("STORE", {{"ST_No", 1}, {"barformat", 9}, {"Flag1", 9}, {"Flag2", 9}});
    test::addRow("KVB_25",
                 {{"PLU_No", 1001},
                  {"ST_No", 1},
                  {"PLU_UPrice", 1299},
                  {"PLU_BarFormat", 2},
                  {"PLU_EANFlags", 21},
                  {"PLU_EANItemCode", "12345"},
                  {"Stat2_ItemCode", 1},
                  {"PLU_MG", 3},
                  {"Stat2_MGCode", 1},
                  {"Stat2_Commodity", 1},
                  {"PLU_Commodity", test::textLine(char(1), text::toAnsi(name), 0x0C)},
                  {"Stat2_Description", 1},
                  {"PLU_Description", test::textLine(char(2), text::toAnsi(description), 0x0C)},
                  {"Is_Selected", 1}});
    test::addRow("KVB_25", {{"PLU_No", 1004}, {"ST_No", 1}, {"PLU_UPrice", 1}, {"Is_Selected", 0}});
    test::addRow("KVB_25",
                 {{"PLU_No", 1002},
                  {"ST_No", 1},
                  {"PLU_MG", 4},
                  {"PLU_BarFormat", 255},
                  {"PLU_EANFlags", 44},
                  {"Is_Selected", 1}});
    test::addRow("KVB_25",
                 {{"PLU_No", 1003},
                  {"ST_No", 1},
                  {"Stat1_Unit", 1},
                  {"PLU_UPrice", 500},
                  {"Stat2_Discount", 1},
                  {"PLU_Disc_SDate", 310126},
                  {"PLU_Disc_STime", 800},
                  {"PLU_Disc_EDate", 280226},
                  {"PLU_Disc_ETime", 1730},
                  {"PLU_Disc_1stLim", 100},
                  {"PLU_Disc_Within1stL", 10},
                  {"PLU_Disc_2ndLim", 200},
                  {"PLU_Disc_Within2ndL", 25},
                  {"PLU_Disc_Type", 1},
                  {"PLU_DisDayOfWeek", 62},
                  {"Is_Selected", 1}});

    TransPLUFTPfile();
    const QByteArray golden = test::readFile(
        QStringLiteral(QUORVANE_TEST_DATA_DIR "/datafiles/PLU0UALL_%1.csv").arg(codePage));
    QVERIFY(!golden.isEmpty());
    QCOMPARE(m_folder->readTempFile(kPlu), golden);

    // The composed item-code data is saved with its row; the marks stay as they were.
    QCOMPARE(gDBConnection.scalar("SELECT PLU_EANData FROM KVB_25 WHERE PLU_No=1001").toString(),
             QStringLiteral("012345000000"));
    QCOMPARE(gDBConnection.scalar("SELECT count(*) FROM KVB_25 WHERE Is_Selected=1").toInt(), 3);
}

void TestPluDataFile::noMarkedRowWritesNothing()
{
    test::addRow("KVB_25", {{"PLU_No", 1}, {"Is_Selected", 0}});
    TransPLUFTPfile();
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));

    // A file already there is neither deleted nor rewritten by the writer itself.
    QVERIFY(m_folder->writeTempFile(kPlu, "old"));
    TransPLUFTPfile();
    QCOMPARE(m_folder->readTempFile(kPlu), QByteArray("old"));
}

void TestPluDataFile::replacesLongerFileAndKeepsMarks()
{
    QVERIFY(m_folder->writeTempFile(kPlu, QByteArray(5000, 'x')));
    for (int p : {3, 1, 2})
        test::addRow("KVB_25", {{"PLU_No", p}, {"Is_Selected", 1}});
    TransPLUFTPfile();
    const QByteArray bytes = m_folder->readTempFile(kPlu);
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 4); // three lines and nothing after the last line end
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(bytes.count("\r\n"), 3);
    QCOMPARE(bytes.count('\n'), 3);
    QCOMPARE(bytes.count('\r'), 3);
    QVERIFY(!bytes.contains('x'));
    QVERIFY(lines[0].startsWith("3,,") && lines[1].startsWith("1,,") && lines[2].startsWith("2,,"));
    QCOMPARE(test::rowCount("KVB_25"), 3);
    QCOMPARE(gDBConnection.scalar("SELECT count(*) FROM KVB_25 WHERE Is_Selected=1").toInt(), 3);
}

void TestPluDataFile::inheritedFormatPerRowAndFreshEachPass()
{
    // Two main groups of one store inheriting different formats, and a main group of another store.
    test::addRow("KVB_23", {{"MG_No", 1}, {"ST_No", 1}, {"DP_No", 1}, {"barformat", 12}, {"Flag1", 2}, {"Flag2", 1}});
    test::addRow("KVB_23", {{"MG_No", 2}, {"ST_No", 1}, {"DP_No", 1}, {"barformat", 255}, {"Flag1", 0}, {"Flag2", 0}});
    test::addRow("KVB_20", {{"DP_No", 1}, {"ST_No", 1}, {"barformat", 255}, {"Flag1", 16}, {"Flag2", 16}});
    test::addRow("STORE", {{"ST_No", 1}, {"barformat", 4}, {"Flag1", 2}, {"Flag2", 8}});
    test::addRow("KVB_23", {{"MG_No", 1}, {"ST_No", 2}, {"DP_No", 1}, {"barformat", 6}, {"Flag1", 0}, {"Flag2", 5}});
    const QList<QPair<int, int>> plus{{1, 1}, {1, 2}, {1, 1}, {2, 1}, {1, 3}};
    int p = 0;
    for (const auto& [store, mg] : plus)
        test::addRow("KVB_25",
                     {{"PLU_No", ++p}, {"ST_No", store}, {"PLU_MG", mg}, {"PLU_BarFormat", 255}, {"Is_Selected", 1}});

    // Main group 3 does not exist (deleted): the PLU is written with format 0, flags 00 and its item code.
    gDBConnection.exec("UPDATE KVB_25 SET Stat2_ItemCode=1, PLU_EANItemCode='12' WHERE PLU_No=5");

    // Column 7 begins with the flags, column 8 is the format.
    const auto columns = [&] {
        QStringList out;
        for (const QByteArray& line : m_folder->readTempFile(kPlu).split('\n'))
            if (!line.isEmpty())
                out << QString::fromLatin1(line.split(',')[7].left(2) + '/' + line.split(',')[8]);
        return out;
    };
    TransPLUFTPfile();
    QCOMPARE(columns(), (QStringList{"21/12", "28/4", "21/12", "05/6", "00/0"}));
    QCOMPARE(m_folder->readTempFile(kPlu).split('\n')[4].split(',')[7], QByteArray("0000000000120"));

    // The next pass sees what changed in between.
    gDBConnection.exec("UPDATE KVB_23 SET barformat=3, Flag1=1, Flag2=1 WHERE ST_No=1 AND MG_No=1");
    gDBConnection.exec("UPDATE STORE SET barformat=105, Flag1=0, Flag2=7 WHERE ST_No=1");
    TransPLUFTPfile();
    QCOMPARE(columns(), (QStringList{"11/3", "07/5", "11/3", "05/6", "00/0"}));
}

void TestPluDataFile::failingRowDeletesFileAndKeepsRows_data()
{
    QTest::addColumn<bool>("blockFile");
    QTest::newRow("a row that cannot be read") << false;
    QTest::newRow("a file that cannot be created") << true;
}

void TestPluDataFile::failingRowDeletesFileAndKeepsRows()
{
    QFETCH(bool, blockFile);
    test::addRow("KVB_25",
                 {{"PLU_No", 1},
                  {"PLU_BarFormat", 1},
                  {"PLU_EANItemCode", "1234567"},
                  {"Stat2_ItemCode", 1},
                  {"Is_Selected", 1}});
    test::addRow("KVB_25", {{"PLU_No", 2}, {"Is_Selected", 1}});
    if (blockFile)
        QVERIFY(QDir(m_folder->tempFile(QString())).mkdir(kPlu));
    else // SQLite keeps text in a number column; the writer must refuse it
        gDBConnection.exec("UPDATE KVB_25 SET PLU_UPrice='12x' WHERE PLU_No=2");

    QVERIFY_THROWS_EXCEPTION(std::exception, TransPLUFTPfile());
    if (!blockFile)
        QVERIFY(!QFileInfo::exists(m_folder->tempFile(kPlu)));
    // The item code of the first row was cut and composed, and that is dropped with the file.
    QCOMPARE(gDBConnection.scalar("SELECT PLU_EANItemCode FROM KVB_25 WHERE PLU_No=1").toString(),
             QStringLiteral("1234567"));
    QCOMPARE(gDBConnection.scalar("SELECT PLU_EANData FROM KVB_25 WHERE PLU_No=1").toString(), QString());

    const QList<WriterFailure> failures = writeListedDataFiles({kPlu});
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures[0].fileName, kPlu);
    QVERIFY(!failures[0].message.isEmpty());
}

void TestPluDataFile::dispatchByListedName()
{
    test::addRow("KVB_25", {{"PLU_No", 5}, {"Is_Selected", 1}});
    test::addRow("KVB_20", {{"DP_No", 1}, {"Is_Selected", 1}});

    // Unknown names and names of other letter case write nothing.
    QVERIFY(writeListedDataFiles({"plu0uall.csv", "XYZ0UALL.csv", "dep0uall.csv"}).isEmpty());
    QVERIFY(QDir(m_folder->tempFile(QString())).entryList(QDir::Files).isEmpty());

    // A name listed twice runs its writer twice; the second run writes the same file again.
    QVERIFY(m_folder->writeTempFile(kPlu, QByteArray(300, 'y')));
    QVERIFY(writeListedDataFiles({kPlu, "DEP0UALL.csv", kPlu}).isEmpty());
    QCOMPARE(m_folder->readTempFile(kPlu), QByteArray("5,,0,0,0,0,0,0000000000000,0,") + kEmptyTail + "\r\n");

    QCOMPARE(dataFileCatalogue().size(), 19);
    // A file is named once, in the catalogue, and found by its table: no table has two.
    for (const DataFileKind& kind : dataFileCatalogue())
        QCOMPARE(dataFileOf(kind.table), QLatin1String(kind.fileName));
    QStringList missing = removeDataFiles({kPlu, "DEP0UALL.csv"});
    QVERIFY(missing.isEmpty());
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestPluDataFile::frameOnAnotherTable()
{
    test::addRow("KVB_20", {{"DP_No", 1}, {"DP_Name", "Meat, fresh"}, {"barformat", -1}, {"Is_Selected", 1}});
    test::addRow("KVB_20", {{"DP_No", 2}, {"DP_Name", "Fish"}, {"barformat", 0}, {"Is_Selected", 0}});
    test::addRow("KVB_20", {{"DP_No", 3}, {"DP_Name", "Fruit"}, {"barformat", 255}, {"Is_Selected", 1}});
    const QStringList fields{"DP_No", "dp_name", "barformat"};
    const auto build = [](MarkedRow& row, QByteArray& line) {
        appendNumber(line, row.value(0).toLongLong());
        line += ",,";
        appendTextField(line, row.value(1).toString());
        line += ',';
        appendNumber(line, row.value(2).toLongLong());
        row.setValue(2, row.value(2).toLongLong() + 1);
    };
    QVERIFY(writeMarkedRows("DEP0UALL.csv", "kvb_20", fields, build));
    QCOMPARE(m_folder->readTempFile("DEP0UALL.csv"), QByteArray("1,,Meat, fresh,-1\r\n3,,Fruit,255\r\n"));
    QCOMPARE(gDBConnection.scalar("SELECT group_concat(barformat) FROM KVB_20").toString(), QStringLiteral("0,0,256"));

    // A text the code page cannot hold fails the pass: no file, no row changed.
    gDBConnection.exec("UPDATE KVB_20 SET DP_Name=? WHERE DP_No=3", {QString::fromUtf8("苹果")});
    QVERIFY_THROWS_EXCEPTION(DataFileError, writeMarkedRows("DEP0UALL.csv", "KVB_20", fields, build));
    QVERIFY(!QFile::exists(m_folder->tempFile("DEP0UALL.csv")));
    QCOMPARE(gDBConnection.scalar("SELECT group_concat(barformat) FROM KVB_20").toString(), QStringLiteral("0,0,256"));

    // A value the schema refuses fails it as well; so does a field the table lacks.
    const auto tooLong = [](MarkedRow& row, QByteArray&) { row.setValue(1, QString(300, 'x')); };
    QVERIFY_THROWS_EXCEPTION(db::DbError, writeMarkedRows("DEP0UALL.csv", "KVB_20", fields, tooLong));
    QVERIFY_THROWS_EXCEPTION(db::DbError, writeMarkedRows("DEP0UALL.csv", "KVB_20", {"DP_No", "Nothing"}, build));
    QVERIFY_THROWS_EXCEPTION(db::DbError, writeMarkedRows("DEP0UALL.csv", "NoTable", fields, build));
    QVERIFY(!QFile::exists(m_folder->tempFile("DEP0UALL.csv")));
}

void TestPluDataFile::textFields_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected"); // empty: refused

    QTest::newRow("plain") << "windows-1252"
                           << "Meat" << QByteArray("Meat");
    QTest::newRow("line breaks") << "windows-1252"
                                 << "a\r\nb\nc\rd" << QByteArray("a  b c d");
    QTest::newRow("windows-1252") << "windows-1252" << QString::fromUtf8("Crème €") << QByteArray("Cr\xE8me \x80");
    QTest::newRow("GBK") << "GBK" << QString::fromUtf8("苹果\n汁") << QByteArray("\xC6\xBB\xB9\xFB \xD6\xAD");
    QTest::newRow("not in windows-1252") << "windows-1252" << QString::fromUtf8("苹果") << QByteArray();
    QTest::newRow("not in GBK") << "GBK" << QString::fromUtf8("€ \U0001F34E") << QByteArray();
}

void TestPluDataFile::textFields()
{
    QFETCH(QString, codePage);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    text::setAnsiCodePage(codePage);
    QByteArray line("x,");
    if (expected.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(DataFileError, appendTextField(line, text));
        return;
    }
    appendTextField(line, text);
    QCOMPARE(line, "x," + expected);
}

QTEST_GUILESS_MAIN(TestPluDataFile)
#include "tst_pludatafile.moc"
