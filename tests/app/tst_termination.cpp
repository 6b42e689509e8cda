#include "support/CodecTestDb.h"
#include "support/DataRows.h"
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
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MenuTable.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/frmUpload.h"
#include "presetkeys/ui/frmPresetKey.h"
#include "reports/ui/ReportDialogs.h"
#include "reports/ui/frmImportOrExport.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"
#include "support/PresetKeyFiles.h"
#include "support/WindowAnswer.h"
#include "transfer/TransferRequest.h"
#include "transfer/TransferSession.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <csignal>

using namespace quorvane;

namespace {

// A command that pumps events or waits in its dialog, and the closes that arrive while it runs: "own" its window,
// "main" the main window, "all" every window at once (QApplication::closeAllWindows), "quit" a quit event (a
// session's logout), at the command's first pump; "main@list" the main window at the first pump of the next PLU
// list load (the list the main window reloads when a tool window has closed). The command "exit" is the program's
// end, its own window the closing one; "transfer" a transfer session, whose closes come while it waits for the scale;
// "tool window" no command at all, a tool window open.
struct CloseRow {
    const char* name;
    const char* command;
    QStringList closes;
    QString kept; // what the next start finds: "table:count" rows of store 1, or the export's line count
};

const char* const kSetting = " 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nVelcor Weighing\r\n";
const char* const kScale = "127.  0.  0.  9";

// Store 1 with a department, a main group, a scale and 50 PLUs, and 5 received PLUs waiting for their copy.
void addStore()
{
    db::Transaction tx(gDBConnection);
    for (auto [table, values] : test::generatorLevels())
        if (values.contains("ST_No"))
            test::addRow(table, values);
    for (int n = 1; n <= 50; ++n)
        test::addRow("KVB_25", {{"ST_No", 1}, {"PLU_No", n}, {"PLU_MG", 12}, {"PLU_UPrice", 100}});
    for (int n = 101; n <= 105; ++n)
        test::addRow("RC_25", {{"PLU_No", n}, {"PLU_UPrice", 7}, {"Is_Selected", 0}});
    tx.commit();
    test::addSheetScale(QLatin1String(kScale));
    gDBConnection.exec("UPDATE SCALE SET ST_No = 1, SECT_No = 1");
    test::addRow("SECT", {{"ST_No", 1}, {"SECT_No", 1}, {"SECT_Name", "Front"}});
}

QString kept(const QString& exportPath)
{
    QString out = gDBConnection
                      .scalar("SELECT 'KVB_25:' || (SELECT count(*) FROM KVB_25) || ' KVB_41:' || "
                              "(SELECT count(*) FROM KVB_41)")
                      .toString();
    if (QFile::exists(exportPath))
        out += QStringLiteral(" export:%1").arg(test::readFile(exportPath).count('\n'));
    return out;
}

} // namespace

class TestTermination : public QObject {
    Q_OBJECT

    std::function<void(QWidget*)> m_onShown; // runs inside a window's show

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()
            && m_onShown)
            m_onShown(static_cast<QWidget*>(watched));
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

    // A close that arrives while a command pumps events or waits in its dialog is held until the command has ended:
    // the command ends on its own window, with its message; then the window closes, and the main window's close ends
    // the program orderly, what the command wrote kept.
    void closeDuringACommand_data()
    {
        // clang-format off
        test::addDataRows<CloseRow>({
            {.name = "list fill, main", .command = "fill", .closes = {"main"}, .kept = "KVB_25:50 KVB_41:0"},
            {.name = "import, own", .command = "import", .closes = {"own"}, .kept = "KVB_25:1050 KVB_41:0"},
            {.name = "import, main", .command = "import", .closes = {"main"}, .kept = "KVB_25:1050 KVB_41:0"},
            {.name = "import, own, then main in the list's reload", .command = "import", .closes = {"own", "main@list"}, .kept = "KVB_25:1050 KVB_41:0"},
            {.name = "export, own", .command = "export", .closes = {"own"}, .kept = "KVB_25:50 KVB_41:0 export:51"},
            {.name = "export, main", .command = "export", .closes = {"main"}, .kept = "KVB_25:50 KVB_41:0 export:51"},
            {.name = "delete all, main", .command = "delete all", .closes = {"main"}, .kept = "KVB_25:0 KVB_41:0"},
            {.name = "received copy, own", .command = "copy", .closes = {"own"}, .kept = "KVB_25:55 KVB_41:0"},
            {.name = "received copy, main", .command = "copy", .closes = {"main"}, .kept = "KVB_25:55 KVB_41:0"},
            {.name = "key assignment, own", .command = "keys", .closes = {"own"}, .kept = "KVB_25:50 KVB_41:24"},
            {.name = "key assignment, main", .command = "keys", .closes = {"main"}, .kept = "KVB_25:50 KVB_41:24"},
            {.name = "no command, a tool window open, quit", .command = "tool window", .closes = {"quit"}, .kept = "KVB_25:50 KVB_41:0"},
            {.name = "import, quit", .command = "import", .closes = {"quit"}, .kept = "KVB_25:1050 KVB_41:0"},
            {.name = "transfer session, quit", .command = "transfer", .closes = {"quit"}, .kept = "KVB_25:50 KVB_41:0"},
            {.name = "send options' record build, own", .command = "send options", .closes = {"own"}, .kept = "KVB_25:50 KVB_41:0"},
            {.name = "exit, own", .command = "exit", .closes = {"own"}, .kept = "KVB_25:50 KVB_41:0"},
            {.name = "exit, all", .command = "exit", .closes = {"all"}, .kept = "KVB_25:50 KVB_41:0"},
            {.name = "exit, quit", .command = "exit", .closes = {"quit"}, .kept = "KVB_25:50 KVB_41:0"},
        });
        // clang-format on
    }

    void closeDuringACommand()
    {
        QFETCH(CloseRow, row);
        const QString command = QLatin1String(row.command);
        test::ProgramFolderFixture folder;
        QVERIFY(test::writeFile(folder.file(QStringLiteral("ini/setting.cfg")), kSetting));
        test::MessageRecorder messages;
        app::clearExitCode();
        QCOMPARE(app::Main(), app::StartOutcome::Running);
        addStore();
        QByteArray lines = "PLU_No\tPLU_UPrice\r\n"; // a title line: the recorder answers Yes
        for (int n = 1001; n <= 2000; ++n)
            lines += QByteArray::number(n) + "\t2\r\n";
        const QString importPath = folder.file(QStringLiteral("temp/plus.txt"));
        const QString exportPath = folder.file(QStringLiteral("temp/out.txt"));
        QVERIFY(test::writeFile(importPath, lines));
        reports::setFileDialogHandler([&](reports::FileDialogKind kind, const QString&, const QString&) {
            return kind == reports::FileDialogKind::Open ? importPath : exportPath;
        });

        QEventLoop programLoop; // QApplication::exec() of main()
        QList<int> exits;
        app::setExitHandler([&](int code) {
            exits << code;
            programLoop.quit();
        });
        frmMain* main = frmMain::form();
        main->cmdStore_Click(); // the store view of the rows added
        QVERIFY(main->selectNode(QStringLiteral("STORE 1")));
        main->treeStoreAndData_NodeClick();
        QPointer<QWidget> own = main;
        const auto button = [](QWidget* w, const char* name) {
            return w->findChild<QPushButton*>(QLatin1String(name));
        };
        // Each close is posted by a pump, so that pump delivers it; a command that waits in its dialog has it posted
        // before, for the dialog's loop.
        QStringList closes = row.closes;
        std::function<void()> closeNext = [&] {
            const QString next = closes.takeFirst();
            QWidget* target = next == QLatin1String("own") ? own.data() : main;
            if (next == QLatin1String("quit"))
                QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
            else if (next == QLatin1String("all"))
                QMetaObject::invokeMethod(
                    qApp, [] { QApplication::closeAllWindows(); }, Qt::QueuedConnection);
            else
                QMetaObject::invokeMethod(
                    target, [target] { target->close(); }, Qt::QueuedConnection);
            // The command pumps once more after the close, as a long one does: a window deleted then is gone under it.
            atNextPump([] {});
            if (closes.value(0) == QLatin1String("main@list"))
                plu::observePLUListLoads([&](auto...) {
                    if (!closes.isEmpty())
                        atNextPump(closeNext);
                });
        };
        std::unique_ptr<test::WindowAnswer> answer;
        const test::ClosedPort refusing;
        QStringList ended; // the command's end, a transfer window's show, the closing window's show
        qApp->installEventFilter(this);
        m_onShown = [&](QWidget* shown) {
            if (shown->objectName() == QLatin1String("frmEnd")) {
                ended << QStringLiteral("end");
                if (command == QLatin1String("exit")) {
                    own = shown;
                    atNextPump(closeNext);
                }
            } else if (shown->objectName() == QLatin1String("frmDownLoad")) {
                own = shown;
                atNextPump(closeNext); // the first pump of the record build
            } else if (shown->objectName() == QLatin1String("frmFTPDataTrans")) {
                ended << QStringLiteral("transfer");
                QTimer::singleShot(0, shown, [&, shown] {
                    auto* grid = shown->findChild<QTableWidget*>(QStringLiteral("MSFGFTP"));
                    grid->setCurrentCell(0, 4);
                    static_cast<frmFTPDataTrans*>(shown)->MSFGFTP_Click();
                    QTimer::singleShot(0, closeNext); // while the session waits for the scale
                    button(shown, "cmdCommand")->click();
                });
            }
        };
        // The command's own window is still there when the command ends: it shows the command's message.
        const auto commandEnded = [&] { ended << (own ? QStringLiteral("command") : QStringLiteral("window gone")); };
        QTimer::singleShot(0, [&] {
            if (command == QLatin1String("fill")) {
                atNextPump(closeNext);
                button(main, "cmdData")->click();
            } else if (command == QLatin1String("delete all")) {
                button(main, "cmdData")->click();
                button(main, "cmdEdit")->click();
                atNextPump(closeNext);
                button(main, "cmdDelAll")->click();
            } else if (command == QLatin1String("import") || command == QLatin1String("export")) {
                button(main, "cmdData")->click(); // the list the main window reloads when it is back
                main->menuImportOrExport_Click();
                own = ui::windows().tool<frmImportOrExport>();
                ui::setListIndex(own->findChild<QComboBox*>(QStringLiteral("comboIorE")),
                                 command == QLatin1String("import") ? 0 : 1);
                own->findChild<QListWidget*>(QStringLiteral("SelectItem"))->addItems({"PLU_No", "PLU_UPrice"});
                atNextPump(closeNext);
                button(own, command == QLatin1String("import") ? "cmdImport" : "cmdExport")->click();
            } else if (command == QLatin1String("exit")) {
                main->close();
            } else if (command == QLatin1String("tool window")) { // the main window hidden behind it
                main->menuImportOrExport_Click();
                own = ui::windows().tool<frmImportOrExport>();
                closeNext();
            } else if (command == QLatin1String("send options")) {
                button(main, "cmdData")->click();
                button(main, "cmdSelectAll")->click();
                button(main, "cmdSendAll")->click();
                own = main; // the dialog went with its command
            } else if (command == QLatin1String("transfer")) {
                // The departments of store 1 sent to a scale that refuses the connection.
                gDBConnection.exec(QStringLiteral("UPDATE SCALE SET SC_IP='127.  0.  0.  1'"));
                transfer::setSessionSettings(test::loopbackSettings(refusing.port()));
                button(main, "cmdData")->click();
                QVERIFY(main->selectNode(QStringLiteral("DEPT 1 97")));
                main->treeStoreAndData_NodeClick();
                ui::menuEntry(main, QStringLiteral("menuDownloadDept"))->trigger();
            } else if (command == QLatin1String("copy")) {
                answer = std::make_unique<test::WindowAnswer>(QStringLiteral("frmUpload"), [&](QWidget* review) {
                    own = review;
                    static_cast<plu::frmUpload*>(review)->GridPLUUpload_HeaderClick(6); // every row marked
                    atNextPump(closeNext);
                    button(review, "cmdTransfer")->click();
                    commandEnded();
                });
                plu::frmUpload::review(main);
            } else {
                gStoreTree().gCurScaleIP = QLatin1String(kScale);
                main->menuEditPresetKey_Click();
                own = ui::windows().tool<frmPresetKey>();
                answer = std::make_unique<test::WindowAnswer>(QStringLiteral("frmAutoPresetKey"), [&](QWidget* d) {
                    d->findChild<QRadioButton*>(QStringLiteral("opMG"))->click();
                    button(d, "cmdOK")->click();
                });
                closeNext();
                button(own, "cmdAuto")->click();
            }
            if (command != QLatin1String("copy") && command != QLatin1String("exit"))
                commandEnded();
            // Then the operator ends the program.
            if (row.closes == QStringList{QStringLiteral("own")} && command != QLatin1String("exit"))
                QMetaObject::invokeMethod(
                    main, [main] { main->close(); }, Qt::QueuedConnection);
        });
        QTimer::singleShot(8000, &programLoop, &QEventLoop::quit); // a hang guard only
        programLoop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // as exec() does when it returns
        QCOMPARE(exits, QList<int>{0});
        QVERIFY(closes.isEmpty());
        QCOMPARE(ended.join(u','),
                 command == QLatin1String("exit")           ? QStringLiteral("end")
                     : command == QLatin1String("transfer") ? QStringLiteral("transfer,command,end")
                                                            : QStringLiteral("command,end"));
        if (own && own != main)
            delete own;
        answer.reset();
        m_onShown = nullptr;

        test::MessageRecorder restart;
        QCOMPARE(app::Main(), app::StartOutcome::Running);
        QCOMPARE(restart.messages.size(), 0);
        QCOMPARE(kept(exportPath), row.kept);
        test::closeMainWindow();
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
        QVERIFY(test::writeFile(folder.file(QStringLiteral("ini/setting.cfg")), kSetting));
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
        m_onShown = [&](QWidget* shown) {
            if (shown->objectName() != QLatin1String("frmEnd"))
                return;
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
                plu::LoadPLUList(frmMain::form(), PluListKind::Store, 1, 0, 0);
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
                frmFTPDataTrans window({.mode = TransferDelete, .files = {QStringLiteral("PLU0UALL.csv")}},
                                       frmMain::form());
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
