#include "support/FileSizeLimit.h"
#include "support/FtpServer.h"
#include "support/TestSupport.h"

#include "platform/ftp/FtpClient.h"
#include "platform/ftp/RunOffUiThread.h"
#include "platform/text/Ansi.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

using namespace quorvane;
using quorvane::test::writeFile;
using test::FtpServer;

namespace {

enum class Step { Connect, Put, Get, Remove };

const QString kName = QStringLiteral("PLU0UALL.csv");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Runs one step against kName: the local side is kName in dir, the remote side holds a file to fetch.
ftp::Result runStep(ftp::FtpClient& client, Step step, const QTemporaryDir& dir)
{
    switch (step) {
    case Step::Connect:
        return client.connect();
    case Step::Put:
        return client.put(dir.filePath(kName), kName);
    case Step::Get:
        return client.get(kName, dir.filePath(kName));
    case Step::Remove:
        return client.remove(kName);
    }
    return {};
}

// Client ports of the control connections that sent commands, read from the server's log.
QSet<QString> controlConnections(const QString& log)
{
    QSet<QString> ports;
    static const QRegularExpression line(QStringLiteral("^127\\.0\\.0\\.1:(\\d+)-\\S* <- "),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(log); it.hasNext();)
        ports.insert(it.next().captured(1));
    return ports;
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestFtpClient : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void normaliseHost_data();
    void normaliseHost();
    void put_data() { payloads(); }
    void put();
    void get_data() { payloads(); }
    void get();
    void wholeSessionOnOneConnection();
    void refusedForReadOnlyUser_data();
    void refusedForReadOnlyUser();
    void loginInTheCodePage_data();
    void loginInTheCodePage();
    void refusedLogin_data();
    void refusedLogin();
    void deadScale_data();
    void deadScale();
    void refusedBeforeNetwork_data();
    void refusedBeforeNetwork();
    void badRemoteName_data();
    void badRemoteName();
    void serverFailsMidSession_data();
    void serverFailsMidSession();
    void dataFlowFloor_data();
    void dataFlowFloor();
    void onlyPositiveCompletionSucceeds_data();
    void onlyPositiveCompletionSucceeds();
    void closeWhenServerHangsUpOrStalls_data();
    void closeWhenServerHangsUpOrStalls();
    void secondSessionAfterFailure();
    void putMissingLocalFile();
    void getMissingRemoteFileLeavesNoLocalFile();
    void getOntoFullDiskKeepsPreviousFile();
    void runOffUiThreadKeepsEventsFlowing();
    void runOffUiThreadRethrows();

private:
    void payloads();

    // One server for every case: each starts on an empty folder, without faults.
    FtpServer m_server;
};

void TestFtpClient::initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.errorText())); }

void TestFtpClient::init()
{
    text::setAnsiCodePage(QString());
    QVERIFY2(m_server.clear(), qPrintable(m_server.errorText()));
}

void TestFtpClient::normaliseHost_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("host"); // empty: refused

    QTest::newRow("plain") << "192.168.1.10"
                           << "192.168.1.10";
    QTest::newRow("stored form") << "192.168.  1. 10"
                                 << "192.168.1.10";
    QTest::newRow("padded groups") << " 10.  0.  0.  7"
                                   << "10.0.0.7";
    QTest::newRow("leading zeros are decimal") << "010.001.000.009"
                                               << "10.1.0.9";
    QTest::newRow("blank inside a group") << "1 0.0.0.1"
                                          << "10.0.0.1";
    QTest::newRow("top values") << "255.255.255.255"
                                << "255.255.255.255";
    QTest::newRow("256") << "192.168.1.256"
                         << "";
    QTest::newRow("1000") << "1000.1.1.1"
                          << "";
    QTest::newRow("many digits") << "99999999999999999999.1.1.1"
                                 << "";
    QTest::newRow("0.0.0.0") << "0.0.0.0"
                             << "";
    QTest::newRow("stored zero address") << "  0.  0.  0.  0"
                                         << "";
    QTest::newRow("three groups") << "192.168.1"
                                  << "";
    QTest::newRow("five groups") << "192.168.1.1.1"
                                 << "";
    QTest::newRow("empty group") << "192..1.1"
                                 << "";
    QTest::newRow("trailing dot") << "192.168.1.1."
                                  << "";
    QTest::newRow("blank group") << "192.   .1.1"
                                 << "";
    QTest::newRow("letters") << "192.168.a.1"
                             << "";
    QTest::newRow("host name") << "localhost"
                               << "";
    QTest::newRow("sign") << "192.168.+1.1"
                          << "";
    QTest::newRow("hex") << "0x7f.0.0.1"
                         << "";
    QTest::newRow("tab") << "192.168.\t1.1"
                         << "";
    QTest::newRow("arabic-indic digit") << QString::fromUtf8("192.168.\u0661.1") << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blanks only") << "               "
                                 << "";
}

void TestFtpClient::normaliseHost()
{
    QFETCH(QString, address);
    QFETCH(QString, host);
    const std::optional<QString> result = ftp::normaliseHost(address);
    QCOMPARE(result.value_or(QString()), host);
}

void TestFtpClient::payloads()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray allBytes;
    for (int round = 0; round < 4; ++round)
        for (int b = 0; b < 256; ++b)
            allBytes.append(char(b));
    QByteArray large(3 * 1024 * 1024, Qt::Uninitialized);
    quint32 x = 12345;
    for (char& c : large)
        c = char((x = x * 1103515245u + 12345u) >> 24);
    const QByteArray crlf("1,,1,Apple\r\n2,,2,Pear\r\nlone LF\nlone CR\r\r\n");

    QTest::newRow("CR LF text") << kName << crlf;
    QTest::newRow("all byte values") << kName << allBytes;
    QTest::newRow("empty") << kName << QByteArray();
    QTest::newRow("3 MB") << kName << large;
    // Must reach the server as this very name, not as an ASCII-mode transfer of "x A".
    QTest::newRow("name with blank, percent and type suffix") << "x %41;type=a" << crlf;
}

void TestFtpClient::put()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("local")), bytes));

    ftp::FtpClient client(m_server.settings());
    QVERIFY2(client.connect(), "connect");
    const ftp::Result result = client.put(dir.filePath(QStringLiteral("local")), name);
    QVERIFY2(result, qPrintable(result.errorText));
    client.close();
    QCOMPARE(readAll(m_server.filePath(name)), bytes);
}

void TestFtpClient::get()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QVERIFY(writeFile(m_server.filePath(name), bytes));
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("local")), "an older, longer local copy that must go"));

    ftp::FtpClient client(m_server.settings());
    QVERIFY2(client.connect(), "connect");
    const ftp::Result result = client.get(name, dir.filePath(QStringLiteral("local")));
    QVERIFY2(result, qPrintable(result.errorText));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("local"))), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("local")});
}

void TestFtpClient::wholeSessionOnOneConnection()
{
    QVERIFY(writeFile(m_server.filePath(QStringLiteral("RPT0UALL.csv")), "report\r\n"));
    QVERIFY(writeFile(m_server.filePath(QStringLiteral("OLD0UALL.csv")), "old\r\n"));
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(kName), "plu\r\n"));

    {
        ftp::FtpClient client(m_server.settings());
        QVERIFY(client.connect());
        QVERIFY(client.put(dir.filePath(kName), kName));
        QVERIFY(client.get(QStringLiteral("RPT0UALL.csv"), dir.filePath(QStringLiteral("RPT0UALL.csv"))));
        const ftp::Result removed = client.remove(QStringLiteral("OLD0UALL.csv"));
        QVERIFY2(removed, qPrintable(removed.errorText));
        client.close();
    }

    QVERIFY(!QFile::exists(m_server.filePath(QStringLiteral("OLD0UALL.csv"))));
    QCOMPARE(readAll(m_server.filePath(kName)), QByteArray("plu\r\n"));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("RPT0UALL.csv"))), QByteArray("report\r\n"));
    const QString log = m_server.log();
    QCOMPARE(controlConnections(log).size(), 1);
    QVERIFY(log.contains(QStringLiteral("<- LIST")));
    QVERIFY(log.contains(QStringLiteral("<- PASV")));
    QVERIFY(!log.contains(QStringLiteral("<- EPSV")));
    QVERIFY(log.contains(QStringLiteral("<- TYPE I")));
    QVERIFY(log.contains(QStringLiteral("<- QUIT")));
}

void TestFtpClient::refusedForReadOnlyUser_data()
{
    QTest::addColumn<Step>("step");
    QTest::newRow("put") << Step::Put;
    QTest::newRow("delete") << Step::Remove;
}

void TestFtpClient::refusedForReadOnlyUser()
{
    QFETCH(Step, step);
    QVERIFY(writeFile(m_server.filePath(kName), "on the scale\r\n"));
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(kName), "new\r\n"));

    ftp::FtpClient client(m_server.readOnlySettings());
    QVERIFY(client.connect());
    const ftp::Result result = runStep(client, step, dir);
    QVERIFY(!result);
    QCOMPARE(result.replyCode, 550L);
    QVERIFY2(result.errorText.contains(QStringLiteral("550")), qPrintable(result.errorText));
    QCOMPARE(readAll(m_server.filePath(kName)), QByteArray("on the scale\r\n"));
    // Only a refused delete lets its session go on, on the same connection.
    QCOMPARE(result.refused, step == Step::Remove);
    if (result.refused) {
        QVERIFY(client.get(kName, dir.filePath(QStringLiteral("fetched"))));
        QCOMPARE(controlConnections(m_server.log()).size(), 1);
    }
}

void TestFtpClient::loginInTheCodePage_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("windows-1252") << "windows-1252" << QString::fromUtf8("käse") << QString::fromUtf8("pässwörd€");
    QTest::newRow("GBK") << "GBK" << QString::fromUtf8("秤") << QString::fromUtf8("密码");
    QTest::newRow("outside the code page") << "windows-1252"
                                           << "scale" << QString::fromUtf8("密码");
}

// The scale keeps its login in the code page: a server taking the bytes as sent (latin-1) tells them from UTF-8.
void TestFtpClient::loginInTheCodePage()
{
    QFETCH(QString, codePage);
    QFETCH(QString, user);
    QFETCH(QString, password);
    text::setAnsiCodePage(codePage);
    bool encodable = true;
    FtpServer server;
    FtpServer::Options options;
    options.encoding = QStringLiteral("latin-1");
    options.user = QString::fromLatin1(text::toAnsi(user));
    options.password = QString::fromLatin1(text::toAnsi(password, &encodable));
    QVERIFY2(server.start(options), qPrintable(server.errorText()));
    ftp::FtpClient client(test::loopbackSettings(server.port(), user, password));
    const ftp::Result result = client.connect();
    QVERIFY2(bool(result) == encodable, qPrintable(result.errorText));
    QCOMPARE(server.log().contains(QStringLiteral("FTP session opened")), encodable); // refused before the network
}

void TestFtpClient::refusedLogin_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("wrong password") << "scale"
                                    << "wrong-pass";
    QTest::newRow("unknown user") << "intruder"
                                  << "s3cret";
    QTest::newRow("empty password") << "scale"
                                    << "";
    QTest::newRow("no user: anonymous") << ""
                                        << "";
}

void TestFtpClient::refusedLogin()
{
    QFETCH(QString, user);
    QFETCH(QString, password);

    ftp::FtpClient client(test::loopbackSettings(m_server.port(), user, password));
    const ftp::Result result = client.connect();
    QVERIFY(!result);
    QCOMPARE(result.replyCode, 530L);
    QVERIFY(!result.errorText.isEmpty());
    QVERIFY(user.isEmpty() || !result.errorText.contains(user));
    QVERIFY(password.isEmpty() || !result.errorText.contains(password));
    QVERIFY(
        m_server.log().contains(QStringLiteral("<- USER ") + (user.isEmpty() ? QStringLiteral("anonymous") : user)));
}

void TestFtpClient::deadScale_data()
{
    QTest::addColumn<bool>("silent");
    QTest::newRow("closed port") << false;
    QTest::newRow("silent listener") << true;
}

void TestFtpClient::deadScale()
{
    QFETCH(bool, silent);
    test::SilentListener listener;
    test::ClosedPort closed;
    ftp::Settings settings = test::loopbackSettings(silent ? listener.port() : closed.port(), "scale", "s3cret");
    QVERIFY(settings.port != 0);
    // Only the connect bound is short: it alone must cover a greeting that never comes.
    settings.timeouts.connect = test::shortTimeouts().connect;

    ftp::FtpClient client(settings);
    QElapsedTimer clock;
    clock.start();
    const ftp::Result result = client.connect();
    QVERIFY(!result);
    QVERIFY(!result.errorText.isEmpty());
    QCOMPARE(result.replyCode, 0L);
    // A hang guard, not a speed check: the bound is the 2 s time-out with room for a loaded machine.
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
}

void TestFtpClient::refusedBeforeNetwork_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");

    const QString host = QStringLiteral("127.  0.  0.  1");
    QTest::newRow("0.0.0.0") << "  0.  0.  0.  0"
                             << "scale"
                             << "s3cret";
    QTest::newRow("three groups") << "127.  0.  1"
                                  << "scale"
                                  << "s3cret";
    QTest::newRow("host name") << "localhost"
                               << "scale"
                               << "s3cret";
    QTest::newRow("CR LF in user") << host << "scale\r\nDELE PLU0UALL.csv"
                                   << "s3cret";
    QTest::newRow("LF in password") << host << "scale"
                                    << "s3cret\nDELE x";
    QTest::newRow("CR in password") << host << "scale"
                                    << "s3c\rret";
    QTest::newRow("NUL in password") << host << "scale" << QString(QStringLiteral("s3cret") + QChar(0) + "x");
}

void TestFtpClient::refusedBeforeNetwork()
{
    QFETCH(QString, host);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QVERIFY(writeFile(m_server.filePath(kName), "keep\r\n"));
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(kName), "local\r\n"));

    ftp::Settings settings = m_server.settings();
    settings.host = host;
    settings.user = user;
    settings.password = password;
    ftp::FtpClient client(settings);
    for (Step step : {Step::Connect, Step::Put, Step::Get, Step::Remove}) {
        const ftp::Result result = runStep(client, step, dir);
        QVERIFY(!result);
        QCOMPARE(result.replyCode, 0L);
        QVERIFY(!result.errorText.contains(QStringLiteral("s3c")));
        QVERIFY(!result.errorText.contains(QStringLiteral("DELE")));
    }

    QCOMPARE(readAll(dir.filePath(kName)), QByteArray("local\r\n"));

    // A good session afterwards is the first and only one the server saw.
    ftp::FtpClient good(m_server.settings());
    QVERIFY(good.connect());
    QCOMPARE(m_server.log().count(QStringLiteral("FTP session opened")), 1);
    QCOMPARE(readAll(m_server.filePath(kName)), QByteArray("keep\r\n"));
}

void TestFtpClient::badRemoteName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("absolute path") << "/etc/passwd";
    QTest::newRow("sub-folder") << "sub/PLU0UALL.csv";
    QTest::newRow("parent") << "../PLU0UALL.csv";
    // libcurl drops these from the URL: a get would store the folder's listing, a delete say "DELE ..".
    QTest::newRow("parent alone") << "..";
    QTest::newRow("current folder") << ".";
    QTest::newRow("backslash") << "..\\PLU0UALL.csv";
    QTest::newRow("CR LF") << "x\r\nDELE PLU0UALL.csv";
    QTest::newRow("NUL") << QString(QStringLiteral("x") + QChar(0) + "y");
}

void TestFtpClient::badRemoteName()
{
    QFETCH(QString, name);
    QVERIFY(writeFile(m_server.filePath(kName), "keep\r\n"));
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("local")), "local\r\n"));

    ftp::FtpClient client(m_server.settings());
    QVERIFY(client.connect());
    const qsizetype commandsSent = m_server.log().count(QStringLiteral(" <- "));
    QVERIFY(!client.put(dir.filePath(QStringLiteral("local")), name));
    QVERIFY(!client.get(name, dir.filePath(QStringLiteral("fetched"))));
    QVERIFY(!client.remove(name));
    QCOMPARE(m_server.log().count(QStringLiteral(" <- ")), commandsSent);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("fetched"))));
    QCOMPARE(readAll(m_server.filePath(kName)), QByteArray("keep\r\n"));
    QCOMPARE(QDir(m_server.rootPath()).entryList(QDir::Files), QStringList{kName});
}

void TestFtpClient::serverFailsMidSession_data()
{
    QTest::addColumn<QString>("command"); // the server command that goes wrong; empty: the data flow
    QTest::addColumn<bool>("hangUp");     // hangs up, or else goes silent
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("bytes"); // size of the file to move

    const std::pair<const char*, Step> commands[] = {{"PASS", Step::Connect},
                                                     {"LIST", Step::Connect},
                                                     {"STOR", Step::Put},
                                                     {"RETR", Step::Get},
                                                     {"DELE", Step::Remove}};
    for (const auto& [command, step] : commands) {
        QTest::addRow("%s hangs up", command) << command << true << step << 1;
        QTest::addRow("%s stalls", command) << command << false << step << 1;
    }
    // Larger than the socket buffers, so a stalled put cannot finish into them.
    QTest::newRow("data of a put stalls") << QString() << false << Step::Put << 32 * 1024 * 1024;
    // Larger than the server's first chunk.
    QTest::newRow("data of a get stalls") << QString() << false << Step::Get << 1024 * 1024;
}

void TestFtpClient::serverFailsMidSession()
{
    QFETCH(QString, command);
    QFETCH(bool, hangUp);
    QFETCH(Step, step);
    QFETCH(int, bytes);
    FtpServer::Faults faults;
    if (command.isEmpty())
        faults.stallData = true;
    else
        (hangUp ? faults.dropOn : faults.stallOn) << command;
    QVERIFY(m_server.setFaults(faults));
    QTemporaryDir dir;
    QVERIFY(writeFile(step == Step::Get ? m_server.filePath(kName) : dir.filePath(kName), QByteArray(bytes, 'x')));

    ftp::Settings settings = m_server.settings();
    settings.timeouts = test::shortTimeouts();
    ftp::FtpClient client(settings);
    QElapsedTimer clock;
    clock.start();
    if (step != Step::Connect)
        QVERIFY(client.connect());
    const ftp::Result result = runStep(client, step, dir);
    QVERIFY(!result);
    QVERIFY(!result.errorText.isEmpty());
    client.close();
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
    if (step == Step::Get)
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestFtpClient::dataFlowFloor_data()
{
    QTest::addColumn<bool>("stopAfterBurst");
    QTest::addColumn<int>("trickleBytes"); // 0: full speed
    QTest::addColumn<int>("trickleMs");
    QTest::addColumn<int>("fileBytes");
    QTest::addColumn<bool>("ok");

    // The floor is 1,024 bytes in any second. Averaged over several seconds, the first stop would fail
    // late and the trickle never.
    QTest::newRow("stops after a burst") << true << 0 << 0 << 1024 * 1024 << false;
    QTest::newRow("trickles below the floor") << false << 100 << 250 << 64 * 1024 << false;
    QTest::newRow("slow but above the floor") << false << 2048 << 100 << 16 * 1024 << true;
}

void TestFtpClient::dataFlowFloor()
{
    QFETCH(bool, stopAfterBurst);
    QFETCH(int, trickleBytes);
    QFETCH(int, trickleMs);
    QFETCH(int, fileBytes);
    QFETCH(bool, ok);
    FtpServer::Faults faults;
    faults.stallData = stopAfterBurst;
    faults.trickleBytes = trickleBytes;
    faults.trickleMs = trickleMs;
    QVERIFY(m_server.setFaults(faults));
    QByteArray bytes(fileBytes, Qt::Uninitialized);
    for (int i = 0; i < fileBytes; ++i)
        bytes[i] = char(i * 7);
    QVERIFY(writeFile(m_server.filePath(kName), bytes));
    QTemporaryDir dir;

    ftp::Settings settings = m_server.settings();
    settings.timeouts.stalled = test::shortTimeouts().stalled;
    ftp::FtpClient client(settings);
    QVERIFY(client.connect());
    QElapsedTimer clock;
    clock.start();
    const ftp::Result result = client.get(kName, dir.filePath(kName));
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(bool(result), ok);
    if (ok) {
        QCOMPARE(readAll(dir.filePath(kName)), bytes);
        return;
    }
    QVERIFY2(result.errorText.contains(QStringLiteral("1024 bytes in 1 s")), qPrintable(result.errorText));
    // The span and the client's 100 ms beat, with room for a loaded machine.
    QVERIFY2(elapsed < 2500, qPrintable(QString::number(elapsed)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestFtpClient::onlyPositiveCompletionSucceeds_data()
{
    QTest::addColumn<QString>("answer"); // what the server says instead of carrying out the command
    QTest::addColumn<Step>("step");
    QTest::newRow("DELE pending") << "DELE=350 Waiting for more" << Step::Remove;
    QTest::newRow("DELE preliminary") << "DELE=150 About to delete" << Step::Remove;
}

void TestFtpClient::onlyPositiveCompletionSucceeds()
{
    QFETCH(QString, answer);
    QFETCH(Step, step);
    FtpServer::Faults faults;
    faults.answerOn << answer;
    QVERIFY(m_server.setFaults(faults));
    QVERIFY(writeFile(m_server.filePath(kName), "keep\r\n"));
    QTemporaryDir dir;
    ftp::Settings settings = m_server.settings();
    settings.timeouts = test::shortTimeouts();
    ftp::FtpClient client(settings);
    QVERIFY(client.connect());
    const ftp::Result result = runStep(client, step, dir);
    QVERIFY(!result);
    QVERIFY(!result.errorText.isEmpty());
    client.close();
    QCOMPARE(readAll(m_server.filePath(kName)), QByteArray("keep\r\n"));
}

void TestFtpClient::closeWhenServerHangsUpOrStalls_data()
{
    QTest::addColumn<bool>("hangUp");
    QTest::newRow("QUIT hangs up") << true;
    QTest::newRow("QUIT stalls") << false;
}

void TestFtpClient::closeWhenServerHangsUpOrStalls()
{
    QFETCH(bool, hangUp);
    FtpServer::Faults faults;
    (hangUp ? faults.dropOn : faults.stallOn) << QStringLiteral("QUIT");
    QVERIFY(m_server.setFaults(faults));
    ftp::Settings settings = m_server.settings();
    settings.timeouts = test::shortTimeouts();

    ftp::FtpClient client(settings);
    QVERIFY(client.connect());
    QElapsedTimer clock;
    clock.start();
    client.close();
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    // The same client starts afresh.
    QVERIFY(m_server.setFaults({}));
    QVERIFY(client.connect());
}

void TestFtpClient::secondSessionAfterFailure()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(kName), "plu\r\n"));

    ftp::Settings wrong = m_server.settings();
    wrong.password = QStringLiteral("nope");
    {
        ftp::FtpClient failed(wrong);
        QVERIFY(!failed.connect());
    }
    ftp::FtpClient client(m_server.settings());
    QVERIFY(client.connect());
    // A refused command leaves the session usable.
    QVERIFY(!client.remove(QStringLiteral("NOT0UALL.csv")));
    const ftp::Result result = client.put(dir.filePath(kName), kName);
    QVERIFY2(result, qPrintable(result.errorText));
    QCOMPARE(readAll(m_server.filePath(kName)), QByteArray("plu\r\n"));
}

void TestFtpClient::putMissingLocalFile()
{
    QTemporaryDir dir;

    ftp::FtpClient client(m_server.settings());
    QVERIFY(client.connect());
    const ftp::Result result = client.put(dir.filePath(kName), kName);
    QVERIFY(!result);
    QVERIFY2(result.errorText.contains(dir.filePath(kName)), qPrintable(result.errorText));
    QVERIFY(!QFile::exists(m_server.filePath(kName)));
}

void TestFtpClient::getMissingRemoteFileLeavesNoLocalFile()
{
    QTemporaryDir dir;

    ftp::FtpClient client(m_server.settings());
    QVERIFY(client.connect());
    const ftp::Result result = client.get(kName, dir.filePath(kName));
    QVERIFY(!result);
    QCOMPARE(result.replyCode, 550L);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// A disk that refuses to grow the file fails the fetch and keeps the previous copy whole.
void TestFtpClient::getOntoFullDiskKeepsPreviousFile()
{
    QVERIFY(writeFile(m_server.filePath(kName), QByteArray(12000, 'x')));
    QTemporaryDir dir;
    const QByteArray previous = "the previous fetch";
    QVERIFY(writeFile(dir.filePath(kName), previous));

    const std::optional<QString> outcome = test::runUnderFileSizeLimit(4096, [&] {
        ftp::FtpClient client(m_server.settings());
        const ftp::Result connected = client.connect();
        if (!connected)
            return QStringLiteral("connect: ") + connected.errorText;
        const ftp::Result got = client.get(kName, dir.filePath(kName));
        return got ? QStringLiteral("succeeded") : QStringLiteral("failed: ") + got.errorText;
    });
    QVERIFY(outcome);
    QVERIFY2(outcome->startsWith(QLatin1String("failed: ")), qPrintable(*outcome));
    QCOMPARE(readAll(dir.filePath(kName)), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{kName});
}

void TestFtpClient::runOffUiThreadKeepsEventsFlowing()
{
    test::SilentListener listener;
    ftp::Settings settings = test::loopbackSettings(listener.port(), "scale", "s3cret");
    settings.timeouts = test::shortTimeouts();
    ftp::FtpClient client(settings);

    int ticks = 0;
    QTimer timer;
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
    timer.start();
    const ftp::Result result = ftp::runOffUiThread([&] { return client.connect(); });
    timer.stop();
    QVERIFY(!result);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
}

void TestFtpClient::runOffUiThreadRethrows()
{
    QCOMPARE(ftp::runOffUiThread([] { return 42; }), 42);
    bool ran = false;
    ftp::runOffUiThread([&] { ran = true; });
    QVERIFY(ran);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, ftp::runOffUiThread([]() -> int { throw std::runtime_error("x"); }));
}

QTEST_GUILESS_MAIN(TestFtpClient)
#include "tst_ftpclient.moc"
