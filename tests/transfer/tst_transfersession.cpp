#include "support/CodecTestDb.h"
#include "support/DataRows.h"
#include "support/FtpServer.h"
#include "support/TransferFixture.h"

#include "datafiles/DataFileWriters.h"
#include "datafiles/PluDataFile.h"
#include "platform/text/Ansi.h"
#include "state/SharedData.h"
#include "transfer/TransferRequest.h"
#include "transfer/TransferSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

using namespace quorvane;
using test::FtpServer;
using test::readFile;
using test::writeFile;
using transfer::ScaleLogin;
using transfer::TransferSession;

namespace {

const QString kPlu = QStringLiteral("PLU0UALL.csv");
const QString kProcess = QStringLiteral("Processing...");
const QString kFinish = QStringLiteral("Finished");

// What the window would show on the marked row.
struct Row : transfer::SessionView {
    QStringList files;
    QStringList statuses;
    QStringList reasons;
    void showFile(const QString& kind) override { files << kind; }
    void showStatus(const QString& text, const QString& reason) override
    {
        statuses << text;
        reasons << reason;
    }
};

// The verbs the server received, in order.
QStringList verbs(const QString& log)
{
    QStringList out;
    static const QRegularExpression re(QStringLiteral(" <- ([A-Z]+)"));
    for (auto it = re.globalMatch(log); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

const QByteArray kReceivedLine =
    "42,,1,0,0,0,990,0000000000000,3,0,0,0,0,0,000000,0000,000000,0000,0,0,0,0,0,0,0,0,0,0,0,0,,"
    "0,0,0,0,1,\"PEAR\",0,,0,0,0,0,0,0,0,0,0,0";

// A delete of STR0, SAT0 and INV0: the files on the scale before it and after, the login, a fault, the commands
// given (how many of the full list) and the status and its reason.
struct DeleteRow {
    const char* name;
    QStringList onScale{"STR0", "SAT0", "INV0"};
    QString user = QStringLiteral("scale");
    QString drop{};
    QStringList left{};
    int commands = 5;
    QString status = QStringLiteral("DELETE Error");
    QString reason{};
};

} // namespace

class TestTransferSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sendsOneFile();
    void unreachableScale();
    void wrongPassword();
    void secondOfThreeFilesMissing();
    void unpreparedFileIsNeverSent();
    void fetchesPluFile();
    void fetchesReportFile();
    void fetchOfTwoLoadsTheLast();
    void failedFetchLoadsNothing();
    void failedLoadIsAFailure();
    void deletes_data();
    void deletes();
    void serverFails_data();
    void serverFails();
    void silentScaleEndsInTime();
    void stopEndsAStalledTransfer_data();
    void stopEndsAStalledTransfer();
    void addressesAndLogins_data();
    void addressesAndLogins();
    void secondSessionAfterFailure();
    void otherModeDoesNothing();

private:
    ScaleLogin login(const QString& user = QStringLiteral("scale"),
                     const QString& password = QStringLiteral("s3cret")) const
    {
        return {QStringLiteral("127.0.0.1"), user, password};
    }
    std::unique_ptr<test::TransferFolder> m_folder;
    // One server for every case: each starts on an empty folder, without faults.
    FtpServer m_server;
};

void TestTransferSession::initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.errorText())); }

void TestTransferSession::init()
{
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    test::fillTransferTexts();
    m_folder = std::make_unique<test::TransferFolder>();
    QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
    QVERIFY2(m_server.clear(), qPrintable(m_server.errorText()));
    // A server that answers needs no short bound; a loaded machine would only trip it.
    test::useFtpPort(m_server.port(), ftp::Timeouts());
}

void TestTransferSession::cleanup()
{
    m_folder.reset();
    transfer::setSessionSettings(ftp::Settings());
}

void TestTransferSession::sendsOneFile()
{
    test::addRow("KVB_25", {{"PLU_No", 1}, {"Is_Selected", 1}});
    test::addRow("KVB_25",
                 {{"PLU_No", 2},
                  {"Stat2_Commodity", 1},
                  {"PLU_Commodity", test::textLine(char(1), "Caf\xE9", 0x0C)},
                  {"Is_Selected", 1}});
    datafiles::TransPLUFTPfile();
    const QByteArray local = m_folder->readTempFile(kPlu);
    QCOMPARE(local.count("\r\n"), 2);

    Row row;
    TransferSession session(TransferSend, {kPlu}, login(), row);
    QVERIFY(session.run());
    QCOMPARE(readFile(m_server.filePath(kPlu)), local);
    QCOMPARE(m_folder->readTempFile(kPlu), local); // it stays until the window closes
    QCOMPARE(row.statuses, (QStringList{kProcess, kFinish}));
    QCOMPARE(row.files, QStringList{"PLU"});
    QCOMPARE(
        session.commands(),
        (QStringList{"DIR", "PUT \"" + QDir::toNativeSeparators(m_folder->tempFile(kPlu)) + "\" " + kPlu, "CLOSE"}));
    QVERIFY(session.stepText().isEmpty());

    const QStringList sent = verbs(m_server.log());
    const int list = int(sent.indexOf("LIST")), stor = int(sent.indexOf("STOR")), quit = int(sent.indexOf("QUIT"));
    QVERIFY2(list >= 0 && list < stor && stor < quit, qPrintable(sent.join(' ')));
    QVERIFY(sent.contains("TYPE") && sent.contains("PASV") && !sent.contains("EPSV"));
    QVERIFY(m_server.log().contains("TYPE I"));
}

void TestTransferSession::unreachableScale()
{
    test::ClosedPort closed;
    test::useFtpPort(closed.port());
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n"));
    Row row;
    TransferSession session(TransferSend, {kPlu}, login(), row);
    QVERIFY(!session.run());
    QCOMPARE(row.statuses, (QStringList{kProcess, "Connecting Error"}));
    QVERIFY(row.files.isEmpty());
    QCOMPARE(session.commands(), QStringList{"DIR"});
    QVERIFY(!row.reasons.last().isEmpty());
}

void TestTransferSession::wrongPassword()
{
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n"));
    Row row;
    TransferSession session(TransferSend, {kPlu}, login("scale", "Wr0ngPass"), row);
    QVERIFY(!session.run());
    QCOMPARE(row.statuses.last(), QStringLiteral("Connecting Error"));
    QVERIFY(!QFile::exists(m_server.filePath(kPlu)));
    for (const QString& text : row.statuses + row.reasons + session.commands())
        QVERIFY2(!text.contains("Wr0ngPass") && !text.contains("scale"), qPrintable(text));
}

void TestTransferSession::secondOfThreeFilesMissing()
{
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n"));
    QVERIFY(m_folder->writeTempFile("MGP0UALL.csv", "3\r\n"));
    Row row;
    TransferSession session(TransferSend, {kPlu, "DEP0UALL.csv", "MGP0UALL.csv"}, login(), row);
    QVERIFY(!session.run());
    QCOMPARE(readFile(m_server.filePath(kPlu)), QByteArray("1\r\n"));
    QVERIFY(!QFile::exists(m_server.filePath("DEP0UALL.csv")));
    QVERIFY(!QFile::exists(m_server.filePath("MGP0UALL.csv")));
    QCOMPARE(row.files, (QStringList{"PLU", "DEP"}));
    QCOMPARE(row.statuses.last(), QStringLiteral("Sending Error"));
    QCOMPARE(session.commands().size(), 3);
    QVERIFY(session.commands().last().startsWith("PUT "));
    QVERIFY(!session.commands().contains("CLOSE"));
    QCOMPARE(verbs(m_server.log()).count("STOR"), 1);
    // The files of a send survive the failure for the next session.
    QVERIFY(QFile::exists(m_folder->tempFile("MGP0UALL.csv")));
}

void TestTransferSession::unpreparedFileIsNeverSent()
{
    QVERIFY(m_folder->writeTempFile(kPlu, "old\r\n")); // left from an earlier send, could not be removed
    Row row;
    TransferSession session(TransferSend, {kPlu}, login(), row);
    session.setUnpreparedFiles({kPlu});
    QVERIFY(!session.run());
    QCOMPARE(row.statuses.last(), QStringLiteral("Sending Error"));
    QVERIFY(row.reasons.last().contains(kPlu));
    QVERIFY(!QFile::exists(m_server.filePath(kPlu)));
    QVERIFY(!session.commands().contains("CLOSE"));
}

void TestTransferSession::fetchesPluFile()
{
    QVERIFY(writeFile(m_server.filePath(kPlu), kReceivedLine + "\r\n" + kReceivedLine + "\r\n"));
    Row row;
    TransferSession session(TransferFetch, {kPlu}, login(), row);
    QVERIFY(session.run());
    QCOMPARE(row.statuses, (QStringList{kProcess, kFinish}));
    QCOMPARE(test::rowCount("RC_25"), 2);
    QCOMPARE(gDBConnection.scalar("SELECT PLU_CommodityFirst FROM RC_25").toString(), QStringLiteral("PEAR"));
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
    QVERIFY(QFile::exists(m_server.filePath(kPlu)));
    QCOMPARE(session.commands().value(1),
             "GET " + kPlu + " \"" + QDir::toNativeSeparators(m_folder->tempFile(kPlu)) + "\"");
}

void TestTransferSession::fetchesReportFile()
{
    QVERIFY(writeFile(m_server.filePath("DPT0UALL.csv"), "1,Meat,12.50\r\n2,Fish,3.10\r\n"));
    Row row;
    TransferSession session(TransferFetch, {"DPT0UALL.csv"}, login(), row);
    QVERIFY(session.run());
    QCOMPARE(test::rowCount("DPT0"), 2);
    QCOMPARE(gDBConnection.scalar("SELECT Value_01 FROM DPT0 ORDER BY rowid DESC").toString(), QStringLiteral("Fish"));
    QCOMPARE(row.files, QStringList{"DPT"});
    QVERIFY(!QFile::exists(m_folder->tempFile("DPT0UALL.csv")));
    QVERIFY(session.linesNotRead().isEmpty());
}

void TestTransferSession::fetchOfTwoLoadsTheLast()
{
    QVERIFY(writeFile(m_server.filePath("DPT0UALL.csv"), "1,Meat\r\n"));
    QVERIFY(writeFile(m_server.filePath(kPlu), kReceivedLine + "\r\n"));
    Row row;
    TransferSession session(TransferFetch, {"DPT0UALL.csv", kPlu}, login(), row);
    QVERIFY(session.run());
    QCOMPARE(verbs(m_server.log()).count("RETR"), 2);
    QCOMPARE(test::rowCount("RC_25"), 1);
    QCOMPARE(test::rowCount("DPT0"), 0);
    QVERIFY(!QFile::exists(m_folder->tempFile("DPT0UALL.csv")));
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestTransferSession::failedFetchLoadsNothing()
{
    QVERIFY(writeFile(m_server.filePath("DPT0UALL.csv"), "1,Meat\r\n"));
    QVERIFY(m_folder->writeTempFile(kPlu, kReceivedLine + "\r\n")); // a leftover of an earlier fetch
    Row row;
    TransferSession session(TransferFetch, {"DPT0UALL.csv", kPlu}, login(), row);
    QVERIFY(!session.run());
    QCOMPARE(row.statuses.last(), QStringLiteral("Receiving Error"));
    QCOMPARE(row.files, (QStringList{"DPT", "PLU"}));
    QCOMPARE(test::rowCount("RC_25"), 0);
    QCOMPARE(test::rowCount("DPT0"), 0);
    QVERIFY(!QFile::exists(m_folder->tempFile("DPT0UALL.csv")));
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestTransferSession::failedLoadIsAFailure()
{
    // A damaged line is only left out; a database that refuses a row fails the load.
    QVERIFY(writeFile(m_server.filePath(kPlu),
                      kReceivedLine + "\r\n" + "43,,truncated\r\n" + QByteArray(kReceivedLine).replace("42,", "44,")
                          + "\r\n"));
    test::FailingWrites refuse(QStringLiteral("BEFORE INSERT ON RC_25 WHEN NEW.PLU_No=44"));
    Row row;
    TransferSession session(TransferFetch, {kPlu}, login(), row);
    const bool ran = session.run();
    refuse.drop();
    QVERIFY(!ran);
    // Closed well, then the load failed: the status names the get step.
    QCOMPARE(row.statuses, (QStringList{kProcess, kFinish, "Receiving Error"}));
    QVERIFY2(row.reasons.last().contains("refused"), qPrintable(row.reasons.last()));
    QCOMPARE(session.commands().last(), QStringLiteral("CLOSE"));
    QCOMPARE(test::rowCount("RC_25"), 1); // the line before the failing one stays
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestTransferSession::deletes_data()
{
    const QString absent = QStringLiteral(": The scale answered \"550 No such file or directory.\"");
    const QString denied = QStringLiteral(": The scale answered \"550 Not enough privileges.\"");
    // clang-format off
    test::addDataRows<DeleteRow>({
        {.name = "allowed", .status = "Finished"},
        {.name = "the first absent", .onScale = {"SAT0", "INV0"}, .reason = "STR0UALL.csv" + absent},
        {.name = "read-only login", .user = "viewer", .left = {"STR0", "SAT0", "INV0"}, .reason = "STR0UALL.csv" + denied + "\nSAT0UALL.csv" + denied + "\nINV0UALL.csv" + denied},
        {.name = "hangs up at the first", .drop = "DELE", .left = {"STR0", "SAT0", "INV0"}, .commands = 2},
    });
    // clang-format on
}

// A file the scale refuses to delete does not keep the others; a dropped connection ends the session at once.
void TestTransferSession::deletes()
{
    QFETCH(DeleteRow, row);
    for (const QString& code : row.onScale)
        QVERIFY(writeFile(m_server.filePath(code + "UALL.csv"), "x"));
    FtpServer::Faults faults;
    if (!row.drop.isEmpty())
        faults.dropOn << row.drop;
    QVERIFY(m_server.setFaults(faults));
    Row view;
    TransferSession session(TransferDelete, {"STR0UALL.csv", "SAT0UALL.csv", "INV0UALL.csv"},
                            row.user == "viewer" ? login("viewer", "look") : login(), view);
    QCOMPARE(session.run(), row.status == kFinish);
    QStringList left = QDir(m_server.rootPath()).entryList(QDir::Files);
    left.replaceInStrings("UALL.csv", "");
    QStringList expected = row.left;
    expected.sort();
    QCOMPARE(left, expected);
    const QStringList all{"DIR", "DELETE STR0UALL.csv", "DELETE SAT0UALL.csv", "DELETE INV0UALL.csv", "CLOSE"};
    QCOMPARE(session.commands(), all.mid(0, row.commands));
    QCOMPARE(view.statuses.last(), row.status);
    if (!row.reason.isEmpty())
        QCOMPARE(view.reasons.last(), row.reason);
}

void TestTransferSession::serverFails_data()
{
    QTest::addColumn<qint16>("mode");
    QTest::addColumn<QString>("drop");
    QTest::addColumn<QString>("stall");
    QTest::addColumn<bool>("stallData");
    QTest::addColumn<QString>("status"); // empty: the session ends well

    // clang-format off
    QTest::newRow("hangs up at the login") << qint16(TransferSend) << "PASS" << "" << false << "Connecting Error";
    QTest::newRow("hangs up at the listing") << qint16(TransferSend) << "LIST" << "" << false << "Connecting Error";
    QTest::newRow("hangs up at the put") << qint16(TransferSend) << "STOR" << "" << false << "Sending Error";
    QTest::newRow("hangs up at the get") << qint16(TransferFetch) << "RETR" << "" << false << "Receiving Error";
    QTest::newRow("hangs up at the delete") << qint16(TransferDelete) << "DELE" << "" << false << "DELETE Error";
    QTest::newRow("hangs up at the closing") << qint16(TransferSend) << "QUIT" << "" << false << "";
    QTest::newRow("never answers the put") << qint16(TransferSend) << "" << "STOR" << false << "Sending Error";
    QTest::newRow("never answers the delete") << qint16(TransferDelete) << "" << "DELE" << false << "DELETE Error";
    QTest::newRow("never answers the closing") << qint16(TransferSend) << "" << "QUIT" << false << "";
    QTest::newRow("put data stalls") << qint16(TransferSend) << "" << "" << true << "Sending Error";
    QTest::newRow("get data stalls") << qint16(TransferFetch) << "" << "" << true << "Receiving Error";
    // clang-format on
}

void TestTransferSession::serverFails()
{
    QFETCH(qint16, mode);
    QFETCH(QString, drop);
    QFETCH(QString, stall);
    QFETCH(bool, stallData);
    QFETCH(QString, status);
    FtpServer::Faults faults;
    if (!drop.isEmpty())
        faults.dropOn << drop;
    if (!stall.isEmpty())
        faults.stallOn << stall;
    faults.stallData = stallData;
    QVERIFY(m_server.setFaults(faults));
    test::useFtpPort(m_server.port());
    // Where the data stalls: larger than what sockets buffer, so the transfer cannot finish into them.
    const QByteArray padding(stallData ? 4 << 20 : 0, ' ');
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n" + padding));
    QVERIFY(writeFile(m_server.filePath(kPlu), kReceivedLine + "\r\n" + padding));

    Row row;
    TransferSession session(mode, {kPlu}, login(), row);
    QElapsedTimer clock;
    clock.start();
    const bool ok = session.run();
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(ok, status.isEmpty());
    QCOMPARE(row.statuses.last(), status.isEmpty() ? kFinish : status);
    if (mode == TransferFetch)
        QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestTransferSession::silentScaleEndsInTime()
{
    test::SilentListener silent;
    test::useFtpPort(silent.port());
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n"));
    // The UI thread keeps turning while the scale says nothing.
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    Row row;
    TransferSession session(TransferSend, {kPlu}, login(), row);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!session.run());
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 900 && elapsed < 10000, qPrintable(QString::number(elapsed)));
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    QCOMPARE(row.statuses.last(), QStringLiteral("Connecting Error"));
}

void TestTransferSession::stopEndsAStalledTransfer_data()
{
    QTest::addColumn<qint16>("mode");
    QTest::addColumn<int>("bytes");
    // A put the sockets take whole waits for the scale's reply inside libcurl; a larger one stalls in the data.
    QTest::newRow("send, waiting for the reply") << qint16(TransferSend) << 1024;
    QTest::newRow("fetch") << qint16(TransferFetch) << (4 << 20);
}

// The program's end stops a transfer whose data connection stalled at once, not when the stall check fires.
void TestTransferSession::stopEndsAStalledTransfer()
{
    QFETCH(qint16, mode);
    QFETCH(int, bytes);
    FtpServer::Faults faults;
    faults.stallData = true;
    QVERIFY(m_server.setFaults(faults));
    const QByteArray padding(bytes, ' ');
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n" + padding));
    QVERIFY(writeFile(m_server.filePath(kPlu), kReceivedLine + "\r\n" + padding));
    Row row;
    TransferSession session(mode, {kPlu}, login(), row);
    QElapsedTimer stopped;
    QTimer watch; // the stop comes once the data has had time to stall
    connect(&watch, &QTimer::timeout, [&] {
        if (session.commands().size() < 2)
            return;
        watch.stop();
        QTimer::singleShot(300, [&] {
            stopped.start();
            TransferSession::abortRunning();
        });
    });
    watch.start(20);
    QVERIFY(!session.run());
    QVERIFY2(stopped.isValid() && stopped.elapsed() < 1000, qPrintable(QString::number(stopped.elapsed())));
    QVERIFY2(row.reasons.last().contains(QLatin1String("stopped")), qPrintable(row.reasons.last()));
}

void TestTransferSession::addressesAndLogins_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("ok");

    // clang-format off
    QTest::newRow("stored form with blanks removed") << "127.0.0.1" << "scale" << "s3cret" << true;
    QTest::newRow("leading zeros are decimal") << "127.000.000.001" << "scale" << "s3cret" << true;
    QTest::newRow("blanks left in") << "127.  0.  0.  1" << "scale" << "s3cret" << true;
    QTest::newRow("zero address") << "0.0.0.0" << "scale" << "s3cret" << false;
    QTest::newRow("group above 255") << "127.0.0.256" << "scale" << "s3cret" << false;
    QTest::newRow("three groups") << "127.0.1" << "scale" << "s3cret" << false;
    QTest::newRow("letters") << "localhost" << "scale" << "s3cret" << false;
    QTest::newRow("empty") << "" << "scale" << "s3cret" << false;
    QTest::newRow("line break in the user") << "127.0.0.1" << "scale\r\nDELE x" << "s3cret" << false;
    QTest::newRow("line break in the password") << "127.0.0.1" << "scale" << "s3cret\nDELE x" << false;
    QTest::newRow("NUL in the password") << "127.0.0.1" << "scale" << QString("s3cret") + QChar(0) << false;
    // clang-format on
}

void TestTransferSession::addressesAndLogins()
{
    QFETCH(QString, host);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, ok);
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n"));
    Row row;
    TransferSession session(TransferSend, {kPlu}, {host, user, password}, row);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(session.run(), ok);
    QCOMPARE(QFile::exists(m_server.filePath(kPlu)), ok);
    if (!ok) {
        // Refused before any connection is made.
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY2(!m_server.log().contains(" <- "), qPrintable(m_server.log()));
        QCOMPARE(row.statuses.last(), QStringLiteral("Connecting Error"));
        QVERIFY(!row.reasons.last().contains("s3cret"));
    }
}

void TestTransferSession::secondSessionAfterFailure()
{
    QVERIFY(m_folder->writeTempFile(kPlu, "1\r\n"));
    Row first;
    TransferSession failed(TransferSend, {kPlu, "DEP0UALL.csv"}, login(), first);
    QVERIFY(!failed.run());
    QVERIFY(QFile::remove(m_server.filePath(kPlu)));
    Row second;
    TransferSession session(TransferSend, {kPlu}, login(), second);
    QVERIFY(session.run());
    QCOMPARE(second.statuses, (QStringList{kProcess, kFinish}));
    QCOMPARE(readFile(m_server.filePath(kPlu)), QByteArray("1\r\n"));
    // The same session object runs again from the start.
    QVERIFY(session.run());
    QCOMPARE(session.commands().first(), QStringLiteral("DIR"));
}

void TestTransferSession::otherModeDoesNothing()
{
    Row row;
    TransferSession session(3, {kPlu}, login(), row);
    QVERIFY(!session.run());
    QVERIFY(row.statuses.isEmpty() && session.commands().isEmpty());
}

QTEST_MAIN(TestTransferSession)
#include "tst_transfersession.moc"
