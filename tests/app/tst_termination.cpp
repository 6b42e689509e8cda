#include "support/CodecTestDb.h"
#include "support/DumpRows.h"
#include "support/FtpServer.h"
#include "support/ProgramFolderFixture.h"
#include "support/TestSupport.h"

#include "app/DumpSet.h"
#include "app/ProgramExit.h"
#include "app/SingleInstance.h"
#include "app/WorkingDatabase.h"
#include "app/ui/Main.h"
#include "mainwindow/ui/ToolWindows.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "plu/ui/PluHost.h"
#include "reports/ui/ReportDialogs.h"
#include "reports/ui/frmImportOrExport.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"
#include "transfer/TransferRequest.h"
#include "transfer/TransferSession.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <csignal>

using namespace quorvane;

class TestTermination : public QObject {
    Q_OBJECT

    std::function<void()> m_onEndShown; // runs inside the closing window's show

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frmEnd") && m_onEndShown)
            m_onEndShown();
        return false;
    }

private slots:
    void initTestCase()
    {
        // The program leaves a signal ignored that its starter ignores (a background job ignores SIGINT).
        for (int signal : {SIGTERM, SIGHUP, SIGINT})
            std::signal(signal, SIG_DFL);
    }

    void cleanup()
    {
        qApp->removeEventFilter(this);
        app::CloseDatabase();
        app::releaseInstanceLock();
        resetProgramState(); // the next run starts as a new process does
    }

    // A request runs the orderly exit once, whatever is open: nothing asked, the data saved, the exit code of an
    // orderly exit; a second request while the exit runs changes nothing.
    void requestEndsTheProgramOrderly_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("open");       // what is at work when the request comes
        QTest::addColumn<QStringList>("before"); // what has ended when the closing window shows
        QTest::newRow("SIGTERM, idle") << SIGTERM << "" << QStringList();
        QTest::newRow("SIGTERM, a handler pumping events") << SIGTERM << "pump" << QStringList{"handler"};
        QTest::newRow("SIGTERM, a changed PLU in the editor") << SIGTERM << "editor" << QStringList();
        QTest::newRow("SIGTERM, a PLU import writing") << SIGTERM << "import" << QStringList{"request", "import"};
        QTest::newRow("SIGHUP, a question over a dialog") << SIGHUP << "dialog" << QStringList{"question", "dialog"};
        QTest::newRow("SIGINT, a transfer waiting on a silent scale")
            << SIGINT << "transfer" << QStringList{"session", "transfer window"};
    }

    void requestEndsTheProgramOrderly()
    {
        QFETCH(int, signal);
        QFETCH(QString, open);
        QFETCH(QStringList, before);
        test::ProgramFolderFixture folder;
        // Store mode 1: a start on an empty database asks for no first store.
        QVERIFY(test::writeFile(folder.file(QStringLiteral("ini/setting.cfg")),
                                " 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nVelcor Weighing\r\n"));
        test::MessageRecorder messages;
        app::clearExitCode();
        QCOMPARE(app::Main(), app::StartOutcome::Running);
        test::insertRow(test::dumpOf(QStringLiteral("STORE")), {1, QStringLiteral("Kept"), 0, 0, 255});
        const QString failed = gLangFTP.text(QStringLiteral("ftpConnect")) + QLatin1Char(' ')
            + gLangFTP.text(QStringLiteral("ftpError")); // the exit releases the texts

        QEventLoop programLoop; // QApplication::exec() of main()
        QList<int> exits;
        app::setExitHandler([&](int code) {
            exits << code;
            programLoop.quit();
        });
        QStringList ended;
        qApp->installEventFilter(this);
        QVariant savedPrice; // as the exit finds it
        m_onEndShown = [&] {
            savedPrice = gDBConnection.scalar(QStringLiteral("SELECT group_concat(PLU_UPrice) FROM KVB_25"));
            ended << QStringLiteral("end");
            std::raise(signal); // read by the closing window's own event pump
        };
        const auto raiseLater = [signal](int ms) { QTimer::singleShot(ms, [signal] { std::raise(signal); }); };

        test::SilentListener silent;
        QString status, reason;
        QPointer<QWidget> toolWindow; // a tool window stays open through the exit
        QTimer::singleShot(0, [&] {
            if (open.isEmpty()) {
                std::raise(signal);
            } else if (open == QLatin1String("pump")) { // a long pass, as the data-file writers make
                QElapsedTimer pass;
                pass.start();
                std::raise(signal);
                while (pass.elapsed() < 200)
                    DoEvents();
                ended << QStringLiteral("handler");
            } else if (open == QLatin1String("editor")) { // nothing asked: the edit is dropped as No drops it
                test::addRow("KVB_25", {{"PLU_No", 1}, {"ST_No", 1}, {"PLU_UPrice", 100}});
                gStoreTree().gCurStoreNo = 1;
                plu::LoadPLUList(frmMain::form(), 0, 1, 0, 0);
                QCOMPARE(frmMain::form()->findChild<QLineEdit*>(QStringLiteral("meditPLU"))->text(), "1");
                ui::setText(frmMain::form()->findChild<QLineEdit*>(QStringLiteral("meditUPrice")),
                            QStringLiteral("2.50"));
                gPluEditor().gPLUChanged = 1;
                std::raise(signal);
            } else if (open == QLatin1String("import")) { // rolled back: PLU 1 as stored, nothing of the file
                test::addRow("KVB_25", {{"PLU_No", 1}, {"ST_No", 1}, {"PLU_UPrice", 100}});
                QByteArray lines = "PLU_No\tPLU_UPrice\r\n"; // a title line: the recorder answers Yes
                for (int n = 1; n <= 20000; ++n)
                    lines += QByteArray::number(n) + "\t2\r\n";
                const QString path = folder.file(QStringLiteral("temp/plus.txt"));
                QVERIFY(test::writeFile(path, lines));
                reports::setFileDialogHandler([path](auto, const QString&, const QString&) { return path; });
                toolWindowOpener(QStringLiteral("menuImportOrExport"))(QStringLiteral("PLU import/export"));
                toolWindow = ui::windows().tool<frmImportOrExport>();
                toolWindow->findChild<QListWidget*>(QStringLiteral("SelectItem"))->addItems({"PLU_No", "PLU_UPrice"});
                toolWindow->findChild<QCheckBox*>(QStringLiteral("chkPLU"))->setChecked(true); // PLU 1 replaced
                QTimer written; // the request lands once the import has written PLUs of the file
                QObject::connect(&written, &QTimer::timeout, [&] {
                    if (gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25 WHERE PLU_No>1")).toInt() == 0)
                        return;
                    written.stop();
                    ended << QStringLiteral("request");
                    std::raise(signal);
                });
                written.start(1);
                toolWindow->findChild<QPushButton*>(QStringLiteral("cmdImport"))->click();
                ended << QStringLiteral("import");
            } else if (open == QLatin1String("dialog")) {
                QDialog dialog(frmMain::form());
                QTimer::singleShot(0, &dialog, [&] {
                    QMessageBox question(QMessageBox::Question, QStringLiteral("Quorvane"), QStringLiteral("Save?"),
                                         QMessageBox::Yes | QMessageBox::No, &dialog);
                    raiseLater(0);
                    question.exec();
                    ended << QStringLiteral("question");
                });
                dialog.exec();
                ended << QStringLiteral("dialog");
            } else {
                test::addRow("SCALE", {{"SC_IP", "127.  0.  0.  1"}, {"SC_Used", 1}, {"ST_No", 1}});
                ftp::Settings settings; // the default time-outs: only the request can end the wait in time
                settings.port = silent.port();
                transfer::setSessionSettings(settings);
                gTransferMode = TransferDelete;
                gTransferFiles = QStringList{QStringLiteral("PLU0UALL.csv")};
                frmFTPDataTrans window(frmMain::form());
                auto* grid = window.findChild<QTableWidget*>(QStringLiteral("MSFGFTP"));
                QTimer::singleShot(0, &window, [&] {
                    grid->setCurrentCell(0, 4);
                    window.MSFGFTP_Click();
                    raiseLater(300);
                    window.findChild<QPushButton*>(QStringLiteral("cmdCommand"))->click();
                    ended << QStringLiteral("session");
                    status = grid->item(0, 3)->text();
                    reason = grid->item(0, 3)->toolTip();
                });
                window.exec();
                ended << QStringLiteral("transfer window");
                gTransferFiles.clear();
            }
        });
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(8000, &programLoop, &QEventLoop::quit); // a hang guard only
        programLoop.exec();
        QVERIFY2(clock.elapsed() < 8000, qPrintable(ended.join(QLatin1String(", "))));

        QCOMPARE(ended, before + QStringList{QStringLiteral("end")});
        QCOMPARE(exits, QList<int>{0});
        QStringList asked;
        for (const ui::MsgRequest& m : std::as_const(messages.messages))
            asked << m.key;
        QCOMPARE(asked, open == QLatin1String("import") ? QStringList{"PLUTitle"} : QStringList());
        QVERIFY(!QFile::exists(app::workingDatabasePath()));
        QVERIFY(test::readFile(app::dumpFolder() + QStringLiteral("/tempstore.txt")).contains("Kept"));
        QCOMPARE(savedPrice.toString(),
                 open == QLatin1String("editor") || open == QLatin1String("import") ? QStringLiteral("100")
                                                                                    : QString());
        if (open == QLatin1String("transfer")) {
            QCOMPARE(status, failed);
            QVERIFY2(reason.contains(QLatin1String("stopped")), qPrintable(reason));
        }
        // Nothing is left over to start a second exit.
        QTimer::singleShot(100, &programLoop, &QEventLoop::quit);
        programLoop.exec();
        QCOMPARE(exits.size(), 1);
        QVERIFY(!frmMain::isLoaded());
        delete toolWindow;
    }
};

QTEST_MAIN(TestTermination)
#include "tst_termination.moc"
