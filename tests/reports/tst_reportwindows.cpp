#include "support/CodecTestDb.h"
#include "support/FtpServer.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "datafiles/ReportLoader.h"
#include "platform/text/Ansi.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "reports/ReportColumns.h"
#include "reports/ui/ReportDialogs.h"
#include "reports/ui/frmExportReportData.h"
#include "reports/ui/frmResetReportData.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

namespace {

const QString DataDir = QStringLiteral(QUORVANE_TEST_DATA_DIR "/reports/");

const QStringList ColumnControls{"listItem",     "SelectItem", "cmdAdd",      "cmdDelete",  "cmdAddAll",
                                 "cmdDeleteAll", "cmdExport",  "commandOpen", "commandSave"};

QStringList enabledColumnControls(const QWidget* w)
{
    QStringList enabled;
    for (const QString& name : ColumnControls)
        if (w->findChild<QWidget*>(name)->isEnabled())
            enabled << name;
    return enabled;
}

void closeTool(QWidget* w)
{
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT

    test::FtpServer m_server;
    QTemporaryDir m_schemaDir;
    std::unique_ptr<test::TransferFolder> m_folder;

    QStringList m_messages;      // the keys of the messages shown
    QMap<QString, int> m_answer; // to the questions, by key
    bool m_busyWhenDone = false; // labWaiting shown and the window disabled when exportRptOK came
    QStringList m_dialogs;       // each file dialog: kind, folder and filter
    QString m_chosenFile;        // what the file dialog answers

    // The transfer window as the operator works it: the one scale marked, the command pressed, closed.
    struct TransferAnswer {
        QString status;
        QStringList request; // mode and files, as the window found them
        test::WindowAnswer answer{QStringLiteral("frmFTPDataTrans"), [this](QWidget* form) {
                                      const TransferRequest& r = static_cast<frmFTPDataTrans*>(form)->request();
                                      request << QString::number(r.mode) << r.files;
                                      auto* grid = form->findChild<QTableWidget*>(QStringLiteral("MSFGFTP"));
                                      const QRect cell = grid->visualRect(grid->model()->index(0, 4));
                                      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
                                      form->findChild<QPushButton*>(QStringLiteral("cmdCommand"))->click();
                                      status = grid->item(0, 3)->text();
                                      form->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
                                  }};
    };

private slots:
    void initTestCase()
    {
        QVERIFY(test::startScale(m_server));
        // A report whose second field holds a number, so that a line of the fetched file can fail.
        const QString schema = m_schemaDir.filePath(QStringLiteral("abc.txt"));
        QByteArray bytes = test::readFile(test::schemaSource());
        const qsizetype dpt = bytes.indexOf("[DPT0]");
        QVERIFY(dpt > 0);
        bytes.replace(bytes.indexOf("Value_01,10,50", dpt), 14, "Value_01,4,4");
        QVERIFY(test::writeFile(schema, bytes));
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(schema), qPrintable(m_folder->errorText()));
        test::loadTexts();
        test::addRow("SCALE",
                     {{"SC_IP", "127.  0.  0.  1"},
                      {"SC_No", "1"},
                      {"SC_Used", 1},
                      {"SC_FTPName", "scale"},
                      {"SC_FTPPW", "s3cret"},
                      {"ST_No", 3},
                      {"SECT_No", 1}});
        gStoreTree().gCurStoreNo = 3;
        gStoreTree().gCurSectNo = 1;
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            const QString key = r.key.isEmpty() ? QStringLiteral("?") : r.key;
            m_messages << key;
            if (key == QLatin1String("exportRptOK")) {
                auto* w = ui::windows().tool<frmExportReportData>();
                // The window paints, its input held, while the export runs.
                m_busyWhenDone = w && test::paintsWhole(w) && !w->isEnabled()
                    && w->findChild<QLabel*>(QStringLiteral("labWaiting"))->isVisible();
            }
            return m_answer.value(key, ui::MsgOk);
        });
        reports::setFileDialogHandler(
            [this](reports::FileDialogKind kind, const QString& folder, const QString& filter) {
                m_dialogs << QStringLiteral("%1 %2 %3")
                                 .arg(kind == reports::FileDialogKind::Open ? "open" : "save",
                                      folder == programFolder() ? "program folder" : folder, filter);
                return m_chosenFile;
            });
    }

    void cleanupTestCase()
    {
        resetProgramState();
        m_folder.reset();
    }

    void init()
    {
        QVERIFY(m_server.clear());
        m_messages.clear();
        m_dialogs.clear();
        m_answer.clear();
        for (const QString& code : datafiles::reportTables())
            reports::emptyReportTable(code);
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
    }

    // The sales report fetched from the scale replaces what the table held; its columns, chosen from a saved
    // choice or all of them, are exported with the separator, title line, decimals and sign of the row.
    void fetchAndExport_data()
    {
        QTest::addColumn<bool>("allColumns");
        QTest::addColumn<int>("separator");
        QTest::addColumn<bool>("title");
        QTest::addColumn<QString>("decimals"); // price, weight, sign
        QTest::addColumn<QString>("golden");   // or the message of a failure
        // clang-format off
        QTest::newRow("Tab, title, 2 and 3 decimals, point") << false << 0 << true << "2 3 ." << "SAT0_tab_title_2_3_point.txt";
        QTest::newRow("comma, no title, no decimals") << false << 1 << false << "0 0 ." << "SAT0_comma_0_0_point.txt";
        QTest::newRow("Tab, no title, 3 and 2 decimals, comma") << false << 0 << false << "3 2 ," << "SAT0_tab_3_2_comma.txt";
        QTest::newRow("every column, comma, title, comma sign") << true << 1 << true << "2 3 ," << "SAT0_all_comma_title_2_3_comma.txt";
        QTest::newRow("a target that cannot be written") << false << 0 << true << "2 3 ." << "fileWriteErr";
        QTest::newRow("a report table that cannot be read") << false << 0 << true << "2 3 ." << "dbReadErr";
        // clang-format on
    }

    void fetchAndExport()
    {
        QFETCH(bool, allColumns);
        QFETCH(int, separator);
        QFETCH(bool, title);
        QFETCH(QString, decimals);
        QFETCH(QString, golden);

        QVERIFY(test::writeFile(m_server.filePath(QStringLiteral("SAT0UALL.csv")),
                                test::readFile(DataDir + QStringLiteral("SAT0UALL.csv"))));
        gDBConnection.exec(QStringLiteral("INSERT INTO SAT0 (Value_000) VALUES ('stale')"));
        auto* w = ui::windows().openTool<frmExportReportData>(QStringLiteral("Export report"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Export report"));
        auto* listItem = w->findChild<QListWidget*>(QStringLiteral("listItem"));
        auto* selectItem = w->findChild<QListWidget*>(QStringLiteral("SelectItem"));
        QCOMPARE(listItem->count(), 16); // DPT0
        ui::setListIndex(w->findChild<QComboBox*>(QStringLiteral("comboReport")), 4);
        QCOMPARE(listItem->count(), 123);
        QCOMPARE(listItem->item(5)->text(), QStringLiteral("Amount_005"));
        QCOMPARE(enabledColumnControls(w), QStringList());

        m_answer[QStringLiteral("exportreport")] = ui::MsgYes;
        TransferAnswer transfer;
        w->findChild<QPushButton*>(QStringLiteral("cmdUpload"))->click();
        QCOMPARE(transfer.answer.count(), 1);
        QCOMPARE(transfer.request, (QStringList{"1", "SAT0UALL.csv"}));
        QCOMPARE(transfer.status, gLangFTP.text(QStringLiteral("ftpFinish")));
        QCOMPARE(test::rowCount(QStringLiteral("SAT0")), 3);
        QCOMPARE(enabledColumnControls(w), ColumnControls);

        if (allColumns) {
            w->findChild<QPushButton*>(QStringLiteral("cmdAddAll"))->click();
        } else {
            m_chosenFile = DataDir + QStringLiteral("SAT0_columns.txt");
            w->findChild<QPushButton*>(QStringLiteral("commandOpen"))->click();
            QCOMPARE(selectItem->count(), 7);
            QCOMPARE(selectItem->currentRow(), 0);
        }
        QVERIFY(test::paintsWhole(w));

        const QStringList d = decimals.split(QLatin1Char(' '));
        gSettings().gPricePoint = qint16(d[0].toInt());
        gSettings().gWeightPoint = qint16(d[1].toInt());
        gSettings().gDecimalSign = d[2];
        ui::setListIndex(w->findChild<QComboBox*>(QStringLiteral("comboSeperator")), separator);
        m_answer[QStringLiteral("ReportTitle")] = title ? ui::MsgYes : ui::MsgNo;
        const bool unwritable = golden == QLatin1String("fileWriteErr");
        const bool unreadable = golden == QLatin1String("dbReadErr");
        const QString target = m_folder->tempFile(unwritable ? QStringLiteral("no folder/report.txt")
                                                             : QStringLiteral("report.txt"));
        const QByteArray old(5000, 'x');
        if (!unwritable)
            QVERIFY(test::writeFile(target, old)); // replaced, not extended
        m_chosenFile = target;
        m_busyWhenDone = false;
        // The table gone from under the window: its fields are listed, its rows cannot be read.
        if (unreadable)
            gDBConnection.exec(QStringLiteral("ALTER TABLE SAT0 RENAME TO SAT0_away"));
        const auto restore = qScopeGuard([&] {
            if (unreadable)
                gDBConnection.exec(QStringLiteral("ALTER TABLE SAT0_away RENAME TO SAT0"));
        });
        w->findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();

        const QString last = unwritable || unreadable ? golden : QStringLiteral("exportRptOK");
        QCOMPARE(m_messages, (QStringList{"exportreport", "ReportTitle", last}));
        QCOMPARE(m_dialogs.last(), QStringLiteral("save program folder (*.txt)"));
        if (unwritable) {
            QVERIFY(!QFile::exists(target));
        } else if (unreadable) {
            QCOMPARE(test::readFile(target), old);
        } else {
            QCOMPARE(test::readFile(target), test::readFile(DataDir + golden));
            QVERIFY(m_busyWhenDone);
        }
        QVERIFY(w->isEnabled());
        QVERIFY(!w->findChild<QLabel*>(QStringLiteral("labWaiting"))->isVisible());
        closeTool(w);
    }

    // Moving columns between the lists, saving the choice, and a change of report.
    void columnChoice()
    {
        auto* w = ui::windows().openTool<frmExportReportData>(QStringLiteral("Export report"));
        auto* listItem = w->findChild<QListWidget*>(QStringLiteral("listItem"));
        auto* selectItem = w->findChild<QListWidget*>(QStringLiteral("SelectItem"));
        const auto chosen = [&] {
            QStringList texts{QString::number(selectItem->currentRow())};
            for (int i = 0; i < selectItem->count(); ++i)
                texts << selectItem->item(i)->text();
            return texts.join(QLatin1Char(' '));
        };
        w->cmdAdd_Click(); // nothing chosen in listItem
        for (const int row : {3, 3, 0, 13}) {
            ui::setListIndex(listItem, row);
            w->cmdAdd_Click();
        }
        QCOMPARE(chosen(), QStringLiteral("2 Value_03 Value_00 Amount_13"));
        m_chosenFile = m_folder->tempFile(QStringLiteral("choice.txt"));
        w->commandSave_Click();
        QCOMPARE(test::readFile(m_chosenFile), QByteArray(" 3 \r\n 0 \r\n 13 \r\n"));
        ui::setListIndex(selectItem, 0);
        w->cmdDelete_Click();
        QCOMPARE(chosen(), QStringLiteral("-1 Value_00 Amount_13"));
        w->cmdDelete_Click();
        ui::setListIndex(selectItem, 1);
        w->cmdDelete_Click();
        QCOMPARE(chosen(), QStringLiteral("0 Value_00"));
        w->cmdAddAll_Click();
        QCOMPARE(selectItem->count(), 16);
        QCOMPARE(chosen().left(12), QStringLiteral("0 Value_00 V"));
        // The same report again keeps the choice; another lists its fields and empties the choice.
        auto* report = w->findChild<QComboBox*>(QStringLiteral("comboReport"));
        ui::setListIndex(report, 0);
        QCOMPARE(selectItem->count(), 16);
        ui::setListIndex(report, 1);
        QCOMPARE(listItem->count(), 17);
        QCOMPARE(selectItem->count(), 0);
        QCOMPARE(m_dialogs, QStringList{QStringLiteral("save program folder (*.txt)")});
        closeTool(w);
    }

    // The table is emptied before every fetch; a failed one leaves it empty, a file that fails at its third line
    // leaves the two lines before; the question comes all the same.
    void failedFetch_data()
    {
        QTest::addColumn<QByteArray>("file"); // on the scale; none when empty
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("answer");
        QTest::newRow("the file is missing on the scale") << QByteArray() << 0 << int(ui::MsgNo);
        QTest::newRow("the third line fails") << QByteArray("1,1\r\n2,2\r\n3,x\r\n4,4\r\n") << 2 << int(ui::MsgYes);
    }

    void failedFetch()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, rows);
        QFETCH(int, answer);
        if (!file.isEmpty())
            QVERIFY(test::writeFile(m_server.filePath(QStringLiteral("DPT0UALL.csv")), file));
        gDBConnection.exec(QStringLiteral("INSERT INTO DPT0 (Value_00) VALUES ('stale')"));
        auto* w = ui::windows().openTool<frmExportReportData>(QStringLiteral("Export report"));
        m_answer[QStringLiteral("exportreport")] = answer;
        TransferAnswer transfer;
        w->findChild<QPushButton*>(QStringLiteral("cmdUpload"))->click();
        QCOMPARE(transfer.request, (QStringList{"1", "DPT0UALL.csv"}));
        QVERIFY(transfer.status.endsWith(gLangFTP.text(QStringLiteral("ftpError"))));
        QCOMPARE(test::rowCount(QStringLiteral("DPT0")), rows);
        QCOMPARE(m_messages, QStringList{QStringLiteral("exportreport")});
        QCOMPARE(enabledColumnControls(w), answer == ui::MsgYes ? ColumnControls : QStringList());
        closeTool(w);
    }

    // Boxes clicked in this order, the answer to the question; the boxes then, and the files deleted on the
    // scale in the order of the requests.
    void reset_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QStringList>("deleted"); // empty: no transfer
        // clang-format off
        QTest::newRow("daily, period, inventory and journal")
            << QStringList{"chkResetSalesDaily", "chkResetSalesPeriod", "chkResetInventory", "chkResetJournalReport"}
            << int(ui::MsgYes)
            << QStringList{"chkResetSalesDaily", "chkResetSalesPeriod", "chkResetInventory", "chkResetJournalReport"}
            << QStringList()
            << QStringList{"SAT0UDLY.csv", "SAT0UTRM.csv", "INV0UALL.csv", "RTB0UALL.csv", "RTT0UALL.csv"};
        QTest::newRow("all sales unticks and disables daily and period")
            << QStringList{"chkResetSalesDaily", "chkResetSalesAll", "chkResetStockRecord"} << int(ui::MsgYes)
            << QStringList{"chkResetSalesAll", "chkResetStockRecord"}
            << QStringList{"chkResetSalesDaily", "chkResetSalesPeriod"} << QStringList{"SAT0UALL.csv", "STR0UALL.csv"};
        QTest::newRow("all sales unticked again enables them") << QStringList{"chkResetSalesDaily", "chkResetSalesAll", "chkResetSalesAll"} << int(ui::MsgNo) << QStringList() << QStringList() << QStringList();
        QTest::newRow("No starts no transfer") << QStringList{"chkResetInventory"} << int(ui::MsgNo) << QStringList{"chkResetInventory"} << QStringList() << QStringList();
        // clang-format on
    }

    void reset()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, answer);
        QFETCH(QStringList, ticked);
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, deleted);
        const QStringList files{"SAT0UALL.csv", "SAT0UDLY.csv", "SAT0UTRM.csv", "INV0UALL.csv",
                                "STR0UALL.csv", "RTB0UALL.csv", "RTT0UALL.csv"};
        for (const QString& name : files)
            QVERIFY(test::writeFile(m_server.filePath(name), "report"));
        auto* w = ui::windows().openTool<frmResetReportData>(QStringLiteral("Reset reports"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Reset reports"));
        for (const QString& name : clicks)
            w->findChild<QCheckBox*>(name)->click();
        m_answer[QStringLiteral("ResetSelectReport")] = answer;
        TransferAnswer transfer;
        w->findChild<QPushButton*>(QStringLiteral("cmdReset"))->click();
        QVERIFY(test::paintsWhole(w));

        QCOMPARE(m_messages, QStringList{QStringLiteral("ResetSelectReport")});
        QStringList nowTicked, nowDisabled;
        for (const QCheckBox* box : w->findChildren<QCheckBox*>()) {
            if (box->isChecked())
                nowTicked << box->objectName();
            if (!box->isEnabled())
                nowDisabled << box->objectName();
        }
        QCOMPARE(nowTicked, ticked);
        QCOMPARE(nowDisabled, disabled);
        if (deleted.isEmpty()) {
            QCOMPARE(transfer.answer.count(), 0);
        } else {
            QCOMPARE(transfer.request, (QStringList{"2"} + deleted));
            QCOMPARE(transfer.status, gLangFTP.text(QStringLiteral("ftpFinish")));
            QStringList sent;
            static const QRegularExpression dele(QStringLiteral("<- DELE (\\S+)"));
            for (auto it = dele.globalMatch(m_server.log()); it.hasNext();)
                sent << it.next().captured(1);
            QCOMPARE(sent, deleted);
        }
        for (const QString& name : files)
            QCOMPARE(QFile::exists(m_server.filePath(name)), !deleted.contains(name));
        closeTool(w);
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
