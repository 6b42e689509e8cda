#include "support/CodecTestDb.h"
#include "support/FtpServer.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "platform/text/Ansi.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WindowOpener.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using namespace quorvane;
using test::FtpServer;

namespace {

const QString kPlu = QStringLiteral("PLU0UALL.csv");

void addScale(const QString& ip, int store, int section, int used = 1, const QString& user = QStringLiteral("scale"),
              const QString& password = QStringLiteral("s3cret"))
{
    test::addRow("SCALE",
                 {{"SC_IP", ip},
                  {"SC_No", "1"},
                  {"SC_Used", used},
                  {"SC_FTPName", user},
                  {"SC_FTPPW", password},
                  {"ST_No", store},
                  {"SECT_No", section}});
}

} // namespace

class TestFrmFTPDataTrans : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noScaleInUse();
    void listsEveryScaleInUse_data();
    void listsEveryScaleInUse();
    void markingOneScale();
    void sendModeWritesFreshFilesAndCloseDeletesThem();
    void fetchAndDeleteModesWriteNothing();
    void failingWriterIsReported();
    void sendsThroughTheWindow();
    void fetchOpenedModallyByACaller();
    void reportEndedEarlyIsTold();
    void refusesToCloseWhileASessionRuns();
    void pressingWithoutAMark();

private:
    struct Window {
        std::unique_ptr<frmFTPDataTrans> form;
        QTableWidget* grid = nullptr;
        QPushButton* command = nullptr;
        QPushButton* close = nullptr;
    };
    Window open(qint16 mode, const QStringList& files);
    void click(QTableWidget* grid, int row, int column);
    QString cell(QTableWidget* grid, int row, int column) const;

    std::unique_ptr<test::TransferFolder> m_folder;
    std::unique_ptr<test::MessageRecorder> m_recorder;
};

void TestFrmFTPDataTrans::init()
{
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    test::fillTransferTexts();
    m_folder = std::make_unique<test::TransferFolder>();
    QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
    m_recorder = std::make_unique<test::MessageRecorder>();
}

void TestFrmFTPDataTrans::cleanup()
{
    m_recorder.reset();
    resetProgramState();
    m_folder.reset();
}

TestFrmFTPDataTrans::Window TestFrmFTPDataTrans::open(qint16 mode, const QStringList& files)
{
    Window w;
    w.form = std::make_unique<frmFTPDataTrans>(TransferRequest{.mode = TransferMode(mode), .files = files});
    w.grid = w.form->findChild<QTableWidget*>("MSFGFTP");
    w.command = w.form->findChild<QPushButton*>("cmdCommand");
    w.close = w.form->findChild<QPushButton*>("cmdClose");
    w.form->show();
    if (!QTest::qWaitForWindowExposed(w.form.get()))
        qWarning("window not exposed");
    return w;
}

void TestFrmFTPDataTrans::click(QTableWidget* grid, int row, int column)
{
    const QRect rect = grid->visualRect(grid->model()->index(row - 1, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

QString TestFrmFTPDataTrans::cell(QTableWidget* grid, int row, int column) const
{
    const QTableWidgetItem* item = grid->item(row - 1, column);
    return item ? item->text() : QString();
}

void TestFrmFTPDataTrans::noScaleInUse()
{
    addScale("192.168.  1.  1", 1, 1, 0);
    test::addRow("KVB_25", {{"PLU_No", 1}, {"Is_Selected", 1}});
    Window w = open(TransferSend, {kPlu});
    QCOMPARE(m_recorder->messages.size(), 1);
    QCOMPARE(m_recorder->messages[0].text, QStringLiteral("No Machine."));
    QCOMPARE(m_recorder->messages[0].title, QStringLiteral("Quorvane"));
    QCOMPARE(m_recorder->messages[0].icon, ui::MsgIcon::Exclamation);
    QCOMPARE(w.grid->rowCount(), 0);
    QCOMPARE(w.grid->columnCount(), 5);
    QCOMPARE(w.grid->horizontalHeaderItem(3)->text(), QStringLiteral("Status"));
    QVERIFY(!w.grid->isEnabled());
    QVERIFY(w.command->isEnabled());
    QVERIFY(QDir(m_folder->tempFile(QString())).entryList(QDir::Files).isEmpty());

    w.command->click();
    QCOMPARE(m_recorder->messages.size(), 1);
    QVERIFY(w.form->isEnabled());
    QCOMPARE(w.grid->rowCount(), 0);
}

void TestFrmFTPDataTrans::listsEveryScaleInUse_data()
{
    QTest::addColumn<qint16>("mode");
    QTest::addColumn<QString>("caption");
    QTest::newRow("send") << qint16(TransferSend) << "Download";
    QTest::newRow("fetch") << qint16(TransferFetch) << "Upload";
    QTest::newRow("delete") << qint16(TransferDelete) << "Delete";
    QTest::newRow("other") << qint16(7) << "Command";
}

void TestFrmFTPDataTrans::listsEveryScaleInUse()
{
    QFETCH(qint16, mode);
    QFETCH(QString, caption);
    addScale(" 10.  0.  0.  7", 1, 3);
    addScale("192.168.  1. 20", 1, 4, 0);
    addScale("192.168.  2. 30", 2, 1, -1);
    Window w = open(mode, {kPlu});
    QVERIFY(m_recorder->messages.isEmpty());
    QCOMPARE(w.form->windowTitle(), QStringLiteral("Data Transfer"));
    QCOMPARE(w.command->text(), caption);
    QCOMPARE(w.close->text(), QStringLiteral("Close"));
    QVERIFY(!w.command->isEnabled());

    QCOMPARE(w.grid->rowCount(), 2);
    QCOMPARE(cell(w.grid, 1, 0), QStringLiteral("3"));
    QCOMPARE(cell(w.grid, 1, 1), QStringLiteral(" 10.  0.  0.  7"));
    QCOMPARE(cell(w.grid, 2, 0), QStringLiteral("1"));
    QCOMPARE(cell(w.grid, 2, 1), QStringLiteral("192.168.  2. 30"));
    const QStringList headers{"Section", "Scale", "File", "Status", "*"};
    const QList<int> widths{60, 100, 40, 80, 20};
    for (int c = 0; c < 5; ++c) {
        QCOMPARE(w.grid->horizontalHeaderItem(c)->text(), headers[c]);
        QCOMPARE(w.grid->columnWidth(c), widths[c]);
    }
    QVERIFY(cell(w.grid, 1, 3).isEmpty() && cell(w.grid, 1, 4).isEmpty());
    QVERIFY(w.grid->item(0, 1)->textAlignment() & Qt::AlignLeft);

    // Twips at 15 to the pixel.
    QCOMPARE(w.form->size(), QSize(345, 449));
    QCOMPARE(w.grid->geometry(), QRect(16, 8, 313, 393));
    QCOMPARE(w.command->geometry(), QRect(32, 408, 97, 33));
    QCOMPARE(w.close->geometry(), QRect(216, 408, 97, 33));

    click(w.grid, 1, 4);
    QVERIFY(test::paintsWhole(w.form.get()));
}

void TestFrmFTPDataTrans::markingOneScale()
{
    addScale("192.168.  1.  1", 1, 1);
    addScale("192.168.  1.  2", 1, 2);
    Window w = open(TransferDelete, {"SAT0UALL.csv"});
    w.grid->setItem(1, 2, new QTableWidgetItem("SAT"));
    w.grid->setItem(1, 3, new QTableWidgetItem("Finished"));

    click(w.grid, 1, 4);
    QCOMPARE(cell(w.grid, 1, 4), QStringLiteral("*"));
    QVERIFY(w.command->isEnabled());

    click(w.grid, 2, 4);
    QCOMPARE(cell(w.grid, 1, 4), QString());
    QCOMPARE(cell(w.grid, 2, 4), QStringLiteral("*"));
    QCOMPARE(cell(w.grid, 2, 2), QString());
    QCOMPARE(cell(w.grid, 2, 3), QString());
    QVERIFY(w.command->isEnabled());

    // Any column but the last changes nothing.
    for (int c = 0; c < 4; ++c)
        click(w.grid, 1, c);
    QCOMPARE(cell(w.grid, 2, 4), QStringLiteral("*"));
    QCOMPARE(cell(w.grid, 1, 4), QString());

    click(w.grid, 2, 4);
    QCOMPARE(cell(w.grid, 2, 4), QString());
    QVERIFY(!w.command->isEnabled());
}

void TestFrmFTPDataTrans::sendModeWritesFreshFilesAndCloseDeletesThem()
{
    addScale("127.  0.  0.  1", 1, 1);
    test::addRow("KVB_25", {{"PLU_No", 8}, {"Is_Selected", 1}});
    // Old files of every listed name: none of them may survive the opening.
    for (const QString& name : {kPlu, QStringLiteral("DEP0UALL.csv"), QStringLiteral("MGP0UALL.csv")})
        QVERIFY(m_folder->writeTempFile(name, "stale"));
    QVERIFY(m_folder->writeTempFile("KAS0UALL.csv", "not listed"));
    Window w = open(TransferSend, {kPlu, "DEP0UALL.csv", "MGP0UALL.csv"});
    QVERIFY(m_recorder->messages.isEmpty());
    QVERIFY(m_folder->readTempFile(kPlu).startsWith("8,,"));
    QVERIFY(!QFile::exists(m_folder->tempFile("DEP0UALL.csv")));
    QVERIFY(!QFile::exists(m_folder->tempFile("MGP0UALL.csv")));

    w.close->click();
    QVERIFY(!w.form->isVisible());
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
    QCOMPARE(m_folder->readTempFile("KAS0UALL.csv"), QByteArray("not listed"));
    QCOMPARE(w.form->request().files.size(), 3); // the list is the caller's
}

void TestFrmFTPDataTrans::fetchAndDeleteModesWriteNothing()
{
    addScale("127.  0.  0.  1", 1, 1);
    test::addRow("KVB_25", {{"PLU_No", 8}, {"Is_Selected", 1}});
    QVERIFY(m_folder->writeTempFile(kPlu, "old copy"));
    {
        Window w = open(TransferFetch, {kPlu});
        QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
    }
    QVERIFY(m_folder->writeTempFile(kPlu, "kept"));
    Window w = open(TransferDelete, {kPlu});
    QCOMPARE(m_folder->readTempFile(kPlu), QByteArray("kept"));
    // Closing by the window's own close box deletes the listed files in every mode.
    w.form->close();
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestFrmFTPDataTrans::failingWriterIsReported()
{
    FtpServer server;
    QVERIFY(test::startScale(server));
    addScale("127.  0.  0.  1", 1, 1);
    test::addRow("KVB_25", {{"PLU_No", 8}, {"Is_Selected", 1}});
    test::addRow("KVB_25", {{"PLU_No", 9}, {"Is_Selected", 1}, {"Stat2_PLUTare", 1}});
    gDBConnection.exec("UPDATE KVB_25 SET PLU_Tare='heavy' WHERE PLU_No=9");
    QVERIFY(m_folder->writeTempFile(kPlu, "stale"));

    Window w = open(TransferSend, {kPlu});
    QCOMPARE(m_recorder->messages.size(), 1);
    QVERIFY2(m_recorder->messages[0].text.startsWith("The transfer could not be prepared:"),
             qPrintable(m_recorder->messages[0].text));
    QVERIFY(m_recorder->messages[0].text.contains(kPlu));
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));

    click(w.grid, 1, 4);
    w.command->click();
    QCOMPARE(cell(w.grid, 1, 3), QStringLiteral("Sending Error"));
    QCOMPARE(cell(w.grid, 1, 2), QStringLiteral("PLU"));
    QVERIFY(!QFile::exists(server.filePath(kPlu)));
}

void TestFrmFTPDataTrans::sendsThroughTheWindow()
{
    FtpServer server;
    QVERIFY(test::startScale(server));
    addScale("192.168.  9.  9", 1, 1, 1, "other", "other");
    addScale("127.  0.  0.  1", 2, 5);
    test::addRow("KVB_25", {{"PLU_No", 8}, {"Is_Selected", 1}});
    Window w = open(TransferSend, {kPlu});
    const QByteArray local = m_folder->readTempFile(kPlu);

    click(w.grid, 2, 4);
    QTest::mouseClick(w.command, Qt::LeftButton);
    QCOMPARE(cell(w.grid, 2, 2), QStringLiteral("PLU"));
    QCOMPARE(cell(w.grid, 2, 3), QStringLiteral("Finished"));
    QCOMPARE(cell(w.grid, 2, 4), QString());
    QVERIFY(w.command->isEnabled());
    QVERIFY(w.form->isEnabled());
    QVERIFY(!w.form->sessionRunning());
    QTRY_COMPARE(w.form->focusWidget(), w.command); // the window disabled for the session gives it back
    QCOMPARE(test::readFile(server.filePath(kPlu)), local);
    QCOMPARE(m_folder->readTempFile(kPlu), local);
    QVERIFY(!server.log().contains("s3cret"));

    // Marking the row again clears the traces of the last session.
    click(w.grid, 2, 4);
    QCOMPARE(cell(w.grid, 2, 3), QString());
    QCOMPARE(cell(w.grid, 2, 2), QString());

    w.close->click();
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestFrmFTPDataTrans::fetchOpenedModallyByACaller()
{
    FtpServer server;
    QVERIFY(test::startScale(server));
    addScale("127.  0.  0.  1", 1, 1);
    QVERIFY(
        test::writeFile(server.filePath(kPlu),
                        "42,,1,0,0,0,990,0000000000000,3,0,0,0,0,0,000000,0000,000000,0000,0,0,0,0,0,0,0,0,0,0,0,0,,"
                        "0,0,0,0,1,\"PEAR\",0,,0,0,0,0,0,0,0,0,0,0\r\n"));

    // As a caller does it: exec() the window on the request, go on when it has closed.
    QString status;
    test::WindowAnswer answer("frmFTPDataTrans", [&](QWidget* form) {
        auto* grid = form->findChild<QTableWidget*>("MSFGFTP");
        click(grid, 1, 4);
        form->findChild<QPushButton*>("cmdCommand")->click();
        status = cell(grid, 1, 3);
        form->findChild<QPushButton*>("cmdClose")->click();
    });
    QCOMPARE(ui::showModal<frmFTPDataTrans>(TransferRequest{.mode = TransferFetch, .files = {kPlu}}),
             int(QDialog::Rejected));
    QCOMPARE(answer.count(), 1);
    QCOMPARE(status, QStringLiteral("Finished"));
    QCOMPARE(test::rowCount("RC_25"), 1);
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

// A report that ended at an empty line before more lines: told at once, the status finished.
void TestFrmFTPDataTrans::reportEndedEarlyIsTold()
{
    FtpServer server;
    QVERIFY(test::startScale(server));
    addScale("127.  0.  0.  1", 1, 1);
    QVERIFY(test::writeFile(server.filePath("DPT0UALL.csv"), "1,Meat\r\n\r\n2,Fish\r\n"));
    Window w = open(TransferFetch, {"DPT0UALL.csv"});
    click(w.grid, 1, 4);
    w.command->click();
    QCOMPARE(cell(w.grid, 1, 3), QStringLiteral("Finished"));
    QCOMPARE(test::rowCount("DPT0"), 1);
    QCOMPARE(m_recorder->messages.size(), 1);
    QCOMPARE(m_recorder->messages[0].key, QStringLiteral("reportLinesNotRead"));
    QVERIFY2(m_recorder->messages[0].text.endsWith("\nDPT0UALL.csv\n2: an empty line; the line after it was not read"),
             qPrintable(m_recorder->messages[0].text));
    QVERIFY(w.form->isEnabled());
}

void TestFrmFTPDataTrans::refusesToCloseWhileASessionRuns()
{
    test::SilentListener silent;
    test::useFtpPort(silent.port());
    addScale("127.  0.  0.  1", 1, 1);
    test::addRow("KVB_25", {{"PLU_No", 8}, {"Is_Selected", 1}});
    Window w = open(TransferSend, {kPlu});
    click(w.grid, 1, 4);

    // While the scale stays silent: the window paints, refuses every way of closing, and keeps its files.
    int grabs = 0;
    bool refused = true;
    QTimer probe;
    connect(&probe, &QTimer::timeout, w.form.get(), [&] {
        if (!w.form->sessionRunning())
            return;
        refused = refused && !w.form->isEnabled();
        if (!w.form->grab().isNull())
            ++grabs;
        w.form->close();
        w.form->reject(); // what the Escape key does
        refused = refused && w.form->isVisible() && QFile::exists(m_folder->tempFile(kPlu));
    });
    probe.start(100);
    QElapsedTimer clock;
    clock.start();
    w.command->click();
    probe.stop();
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(grabs >= 5, qPrintable(QString::number(grabs)));
    QVERIFY(refused);
    QCOMPARE(cell(w.grid, 1, 3), QStringLiteral("Connecting Error"));
    QVERIFY(!cell(w.grid, 1, 3).isEmpty());
    QVERIFY(!w.grid->item(0, 3)->toolTip().isEmpty());
    QCOMPARE(cell(w.grid, 1, 4), QString());
    QVERIFY(w.form->isEnabled());

    w.form->close();
    QVERIFY(!w.form->isVisible());
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
}

void TestFrmFTPDataTrans::pressingWithoutAMark()
{
    addScale("127.  0.  0.  1", 1, 1);
    Window w = open(TransferFetch, {kPlu, "DPT0UALL.csv"});
    click(w.grid, 1, 4);
    click(w.grid, 1, 4);
    QVERIFY(m_folder->writeTempFile(kPlu, "left over"));
    QVERIFY(m_folder->writeTempFile("DPT0UALL.csv", "left over"));
    // The button is disabled now; a caller's code may still press it.
    w.form->cmdCommand_Click();
    QVERIFY(!QFile::exists(m_folder->tempFile(kPlu)));
    QVERIFY(!QFile::exists(m_folder->tempFile("DPT0UALL.csv")));
    QVERIFY(cell(w.grid, 1, 3).isEmpty());
    QVERIFY(w.form->isEnabled());
}

QTEST_MAIN(TestFrmFTPDataTrans)
#include "tst_frmftpdatatrans.moc"
