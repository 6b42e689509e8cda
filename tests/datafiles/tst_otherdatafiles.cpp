#include "support/CodecTestDb.h"
#include "support/FtpServer.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "datafiles/DataFileWriters.h"
#include "platform/text/Ansi.h"
#include "records/OtherRecords.h"
#include "state/SharedData.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;
using records::KvbTextRecord;
using test::hex;
using test::textLine;

namespace {

QByteArray dateTime(int y, int mo, int d, int h, int mi)
{
    return records::KvbDateTimeRecord(QDateTime(QDate(y, mo, d), QTime(h, mi)));
}

// The lines of a file, each ending in CR LF.
QByteArray lines(std::initializer_list<QByteArray> list)
{
    QByteArray out;
    for (const QByteArray& l : list)
        out += l + "\r\n";
    return out;
}

QString tableOf(const QString& fileName)
{
    for (const datafiles::DataFileKind& kind : datafiles::dataFileCatalogue())
        if (fileName == QLatin1String(kind.fileName))
            return QLatin1String(kind.table);
    return QString();
}

// Every name the other-files editors send, the barcode ranges last: its table is never filled, so its
// PUT fails and ends the session.
const QStringList kSent{"ING0UALL.csv", "SPM0UALL.csv", "ADV0UALL.csv", "SHP0UALL.csv", "SCM0UALL.csv",
                        "SCS0UALL.csv", "DAT0UALL.csv", "OPE0UALL.csv", "TAX0UALL.csv", "SCH0UALL.csv",
                        "PCS0UALL.csv", "SFK0UALL.csv", "PAK0UALL.csv", "BAR0UALL.csv"};

} // namespace

class TestOtherDataFiles : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    void files_data();
    void files();
    void sendsEveryFileToTheScale();
};

void TestOtherDataFiles::files_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QVariantList>("rows"); // marked unless they say otherwise
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("fails");

    const QString w = QStringLiteral("windows-1252");
    const QByteArray shop = textLine(2, "SHOP", 0x0D) + textLine(1, "MAIN ST", 0x0C);
    // clang-format off
    QTest::newRow("shop names, one not marked")
        << w << "SHP0UALL.csv"
        << QVariantList{QVariantMap{{"No", 5}, {"NextNo", 0}, {"KVBBinData", KvbTextRecord(5, 0, shop)}},
                        QVariantMap{{"No", 6}, {"KVBBinData", KvbTextRecord(6, 0, shop)}, {"Is_Selected", 0}},
                        QVariantMap{
                            {"No", 7}, {"NextNo", 8}, {"KVBBinData", KvbTextRecord(7, 8, textLine(0, "B", 0x0C))}}}
        << lines({"5,,0,2,\"SHOP\",1,\"MAIN ST\",0,,0,", "7,,8,0,\"B\",0,,0,,0,"}) << false;
    QTest::newRow("every slot filled") << w << "ADV0UALL.csv" << QVariantList{QVariantMap{ {"No", 1}, {"KVBBinData", KvbTextRecord(1, 0, textLine(1, "A", 0x0D) + textLine(2, "B", 0x0D) + textLine(3, "C", 0x0D) + textLine(4, "D", 0x0C))}}} << lines({"1,,0,1,\"A\",2,\"B\",3,\"C\",4,\"D\""}) << false;
    // clang-format on
    QByteArray twenty;
    QByteArray fifteen = "9,,0,";
    for (int i = 1; i <= 20; ++i) {
        twenty += textLine(1, "Line " + QByteArray::number(i), i == 20 ? 0x0C : 0x0D);
        if (i <= 15)
            fifteen += "1,\"Line " + QByteArray::number(i) + "\",";
    }
    fifteen.chop(1);
    // clang-format off
    QTest::newRow("20 lines cut to 15") << w << "ING0UALL.csv" << QVariantList{QVariantMap{{"No", 9}, {"KVBBinData", KvbTextRecord(9, 0, twenty)}}} << lines({fifteen}) << false;
    QTest::newRow("13 bytes, no record")
        << w << "SPM0UALL.csv"
        << QVariantList{QVariantMap{{"No", 1}, {"KVBBinData", KvbTextRecord(1, 0, textLine(3, "", 0x0C))}},
                        QVariantMap{{"No", 2}, {"NextNo", 4}, {"KVBBinData", QVariant()}}}
        << lines({"1,,0,0,,0,,0,,0,,0,,0,,0,,0,", "2,,4,0,,0,,0,,0,,0,,0,,0,,0,"}) << false;
    QTest::newRow("font code 0, an empty line, comma and quote")
        << w << "SPM0UALL.csv"
        << QVariantList{QVariantMap{
               {"No", 3},
               {"KVBBinData",
                KvbTextRecord(3, 0, textLine(0, "A,B", 0x0D) + textLine(3, "", 0x0D) + textLine(1, "12\" pie", 0x0C))}}}
        << lines({"3,,0,0,\"A,B\",3,\"\",1,\"12\" pie\",0,,0,,0,,0,,0,"}) << false;
    QTest::newRow("damaged block")
        << w << "ADV0UALL.csv"
        << QVariantList{QVariantMap{{"No", 4},
                                    {"KVBBinData", KvbTextRecord(4, 0, textLine(2, "OK", 0x0D) + hex("01 09 414243"))}},
                        QVariantMap{{"No", 5},
                                    {"KVBBinData", KvbTextRecord(5, 0, textLine(2, "OK", 0x0D) + hex("01 02 4142"))}}}
        << lines({"4,,0,2,\"OK\",0,,0,,0,", "5,,0,2,\"OK\",0,,0,,0,"}) << false;
    QTest::newRow("scroll message") << w << "SCM0UALL.csv" << QVariantList{QVariantMap{{"Number", 3}, {"Data", "SALE TODAY"}}} << lines({"3,,SALE TODAY,0"}) << false;
    QTest::newRow("scroll sequence, a Null group") << w << "SCS0UALL.csv" << QVariantList{QVariantMap{ {"Number", 2}, {"Group1", QVariant()}, {"File1", 3}, {"Scroll1", 1}, {"Display1", 5}, {"Speed1", 2}}} << lines({"2,,,3,1,2,0,0,0,0,0,0,0,0"}) << false;
    QTest::newRow("date and time") << w << "DAT0UALL.csv" << QVariantList{QVariantMap{{"SF_No", 1}, {"KVBBinData", dateTime(2026, 5, 7, 9, 3)}}, QVariantMap{{"SF_No", 1}, {"KVBBinData", dateTime(2009, 12, 31, 0, 0)}}} << lines({"255,,26,5,7,9,3", "255,,9,12,31,0,0"}) << false;
    QTest::newRow("date and time of 13 bytes") << w << "DAT0UALL.csv" << QVariantList{QVariantMap{{"SF_No", 1}, {"KVBBinData", dateTime(2026, 5, 7, 9, 3).left(13)}}} << QByteArray() << true;
    QTest::newRow("clerk") << w << "OPE0UALL.csv" << QVariantList{QVariantMap{{"Clerk_No", 12}, {"Name", "ANNA"}}, QVariantMap{{"Clerk_No", 13}, {"Name", QString::fromUtf8("Zoë")}}} << lines({"12,,ANNA,,", "13,,Zo\xEB,,"}) << false;
    QTest::newRow("clerk name outside the code page") << w << "OPE0UALL.csv" << QVariantList{QVariantMap{{"Clerk_No", 1}, {"Name", QStringLiteral("\u6c34")}}} << QByteArray() << true;
    QTest::newRow("tax") << w << "TAX0UALL.csv" << QVariantList{QVariantMap{{"Code", 3}, {"Name", "VAT3"}, {"Rate", 1750}, {"Status", 1}}} << lines({"3,,VAT3,1750,1"}) << false;
    QTest::newRow("discount schedules, one with Null dates, times and days")
        << w << "SCH0UALL.csv"
        << QVariantList{QVariantMap{{"Number", 12},
                                    {"Disc_SDate", 10127},
                                    {"Disc_STime", 805},
                                    {"Disc_EDate", 311227},
                                    {"Disc_ETime", 2359},
                                    {"Disc_LimitType", 1},
                                    {"Disc_1stLim", 500},
                                    {"Disc_Within1stL", 50},
                                    {"Disc_2ndLim", 1000},
                                    {"Disc_Within2ndL", 120},
                                    {"Disc_Type", 2},
                                    {"DisDayOfWeek", 65},
                                    {"NextNumber", 13}},
                        QVariantMap{{"Number", 1},
                                    {"Disc_SDate", QVariant()},
                                    {"Disc_STime", QVariant()},
                                    {"Disc_EDate", QVariant()},
                                    {"Disc_ETime", QVariant()},
                                    {"DisDayOfWeek", QVariant()}}}
        << lines({"12,,270101,805,271231,2359,1,500,50,1000,120,2,1,0,0,0,0,0,1,13",
                  "1,,000000,0,000000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0"})
        << false;
    QTest::newRow("price schedule") << w << "PCS0UALL.csv"
                                    << QVariantList{QVariantMap{{"Number", 4},
                                                                {"Price_SDate", 70526},
                                                                {"Price_STime", 800},
                                                                {"Price_EDate", 311227},
                                                                {"Price_ETime", 2359},
                                                                {"PriceDayOfWeek", 0},
                                                                {"NewUnitPrice", 1999},
                                                                {"NextNumber", 5}}}
                                    << lines({"4,,260507,800,271231,2359,0,0,0,0,0,0,0,1999,5"}) << false;
    QTest::newRow("stock keys, status 13, 16 and 24")
        << w << "SFK0UALL.csv"
        << QVariantList{QVariantMap{{"Number", 1}, {"Type", 0}, {"Name", "Prefix"}, {"Status", 13}},
                        QVariantMap{{"Number", 2}, {"Type", 1}, {"Name", "Weighed"}, {"Status", 16}},
                        QVariantMap{{"Number", 3}, {"Type", 2}, {"Name", "Both"}, {"Status", 24}}}
        << lines({"1,,0,Prefix,1,0,1,1", "2,,1,Weighed,0,0,0,2", "3,,2,Both,0,0,0,"}) << false;
    QTest::newRow("payment key") << w << "PAK0UALL.csv" << QVariantList{QVariantMap{{"Number", 2}, {"Name", "Card"}, {"Status", 10}}} << lines({"2,,Card,0,1,0,1"}) << false;
    QTest::newRow("barcode ranges: none") << w << "BAR0UALL.csv" << QVariantList{} << QByteArray() << false;
    // clang-format on

    // On a Chinese system the bytes of a text record and a clerk's name go out as they are.
    const QString g = QStringLiteral("GBK");
    // clang-format off
    QTest::newRow("GBK text") << g << "SHP0UALL.csv" << QVariantList{QVariantMap{ {"No", 1}, {"KVBBinData", KvbTextRecord(1, 0, textLine(1, "\xCB\xAE\xB9\xFB", 0x0C))}}} << lines({"1,,0,1,\"\xCB\xAE\xB9\xFB\",0,,0,,0,"}) << false;
    QTest::newRow("GBK clerk") << g << "OPE0UALL.csv" << QVariantList{QVariantMap{{"Clerk_No", 12}, {"Name", QStringLiteral("\u6c34\u679c")}}} << lines({"12,,\xCB\xAE\xB9\xFB,,"}) << false;
    // clang-format on
}

void TestOtherDataFiles::files()
{
    QFETCH(QString, codePage);
    QFETCH(QString, fileName);
    QFETCH(QVariantList, rows);
    QFETCH(QByteArray, expected);
    QFETCH(bool, fails);
    text::setAnsiCodePage(codePage);
    for (const QVariant& row : std::as_const(rows)) {
        QVariantMap values = row.toMap();
        if (!values.contains("Is_Selected"))
            values.insert("Is_Selected", 1);
        test::addRow(tableOf(fileName), values);
    }

    const QList<datafiles::WriterFailure> failures = datafiles::writeListedDataFiles({fileName});
    QCOMPARE(failures.size(), fails ? 1 : 0);
    QCOMPARE(QFile::exists(m_folder->tempFile(fileName)), !expected.isEmpty());
    QCOMPARE(m_folder->readTempFile(fileName), expected);
}

void TestOtherDataFiles::sendsEveryFileToTheScale()
{
    test::fillTransferTexts();
    test::FtpServer server;
    QVERIFY(test::startScale(server));

    const QByteArray shop = textLine(2, "SHOP", 0x0D) + textLine(1, QByteArray("CAF\xC9"), 0x0C);
    for (const char* table : {"KVB_3A", "KVB_3B", "KVB_3C", "KVB_3D"})
        for (int no : {1, 2})
            test::addRow(
                table,
                {{"No", no}, {"NextNo", no % 2}, {"KVBBinData", KvbTextRecord(no, no % 2, shop)}, {"Is_Selected", 1}});
    test::addRow("KVB_3F", {{"Number", 1}, {"Data", QString::fromUtf8("Crème fraîche, 2 for 1")}, {"Is_Selected", 1}});
    test::addRow("KVB_40", {{"Number", 1}, {"File1", 1}, {"Scroll1", 2}, {"Speed1", 3}, {"Is_Selected", 1}});
    test::addRow("KVB_4E", {{"SF_No", 1}, {"KVBBinData", dateTime(2027, 3, 5, 9, 7)}, {"Is_Selected", 1}});
    test::addRow("KVB_44", {{"Clerk_No", 1}, {"Name", QString::fromUtf8("Zoë")}, {"Is_Selected", 1}});
    test::addRow("KVB_44", {{"Clerk_No", 2}, {"Name", "Ann"}, {"Is_Selected", 1}});
    test::addRow("KVB_A8", {{"Code", 1}, {"Name", "VAT1"}, {"Rate", 700}, {"Status", 1}, {"Is_Selected", 1}});
    test::addRow("KVB_AA",
                 {{"Number", 1},
                  {"Disc_SDate", 10127},
                  {"Disc_STime", 800},
                  {"Disc_EDate", 311227},
                  {"Disc_ETime", 2000},
                  {"Disc_Type", 3},
                  {"Disc_1stLim", 2},
                  {"Disc_Within1stL", 1000},
                  {"DisDayOfWeek", 62},
                  {"Is_Selected", 1}});
    test::addRow("KVB_AB",
                 {{"Number", 1},
                  {"Price_SDate", 10127},
                  {"Price_EDate", 311227},
                  {"Price_ETime", 2359},
                  {"PriceDayOfWeek", 127},
                  {"NewUnitPrice", 499},
                  {"Is_Selected", 1}});
    test::addRow("KVB_AC", {{"Number", 1}, {"Status", 9}, {"Type", 1}, {"Name", "Stock in"}, {"Is_Selected", 1}});
    test::addRow("KVB_AD", {{"Number", 1}, {"Status", 5}, {"Name", "Cash"}, {"Is_Selected", 1}});

    test::addScaleInUse();

    // "BAR0UALL.csv", listed last, has no rows to send.
    QCOMPARE(test::sendToTheScale(kSent), QStringLiteral("Sending Error"));
    for (const QString& name : kSent.first(13))
        QCOMPARE(test::readFile(server.filePath(name)),
                 test::readFile(QStringLiteral(QUORVANE_TEST_DATA_DIR "/otherfiles/") + name));
    QVERIFY(!QFile::exists(server.filePath("BAR0UALL.csv")));
}

QTEST_MAIN(TestOtherDataFiles)
#include "tst_otherdatafiles.moc"
