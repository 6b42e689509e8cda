#include "mainwindow/NodeRows.h"
#include "support/CodecTestDb.h"
#include "support/FtpServer.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"
#include "support/WindowSteps.h"

#include "platform/text/Ansi.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"
#include "transfer/SendOptions.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"
#include "transfer/ui/frmDownLoad.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;

namespace {

// Stores 1 and 3, each with department 97 and main group 997; store 3 also has department 12 and its main group 40.
// Store 1's rows and one flexible barcode are marked already. PLU 257 of store 1 and PLU 258 of store 3 are marked
// and inherit their bar format from main groups 10 of their stores; PLU 259 is not marked. The scale is of store 3.
const QStringList kRows{
    "KVB_20|ST_No=1|DP_No=97|DP_Name=Misc|Is_Selected=1",
    "KVB_20|ST_No=3|DP_No=97|DP_Name=Misc",
    "KVB_20|ST_No=3|DP_No=12|DP_Name=Bakery, fresh",
    "KVB_23|ST_No=1|DP_No=97|MG_No=997|MG_Name=Misc|Is_Selected=1",
    "KVB_23|ST_No=3|DP_No=97|MG_No=997|MG_Name=Misc",
    "KVB_23|ST_No=3|DP_No=12|MG_No=40|MG_Name=Bread|Tax_No=3",
    "KVB_23|ST_No=1|DP_No=97|MG_No=10|MG_Name=Buns|barformat=12|Flag1=2|Flag2=1",
    "KVB_23|ST_No=3|DP_No=12|MG_No=10|MG_Name=Rolls|barformat=7|Flag1=1|Flag2=0",
    "KVB_14|FBar_No=1|Is_Selected=1",
    "KVB_14|FBar_No=2",
    "KVB_25|PLU_No=257|ST_No=1|PLU_MG=10|PLU_UPrice=1000|PLU_BarFormat=255|Is_Selected=1",
    "KVB_25|PLU_No=258|ST_No=3|PLU_MG=10|PLU_UPrice=1000|PLU_BarFormat=255|Is_Selected=1",
    "KVB_25|PLU_No=259|ST_No=3|PLU_MG=10|PLU_UPrice=1000|PLU_BarFormat=255",
    "SCALE|SC_IP=127.  0.  0.  1|SC_No=1|SC_Used=1|SC_FTPName=scale|SC_FTPPW=s3cret|ST_No=3|SECT_No=1"};

QString marks(const char* table)
{
    return gDBConnection.scalar(QStringLiteral("SELECT group_concat(ST_No||':'||Is_Selected) FROM ") + table).toString();
}

QString records()
{
    return gDBConnection.scalar("SELECT group_concat(PLU_No||':'||hex(KVBBinData)) FROM KVB_25").toString();
}

// The records of 257 and 258: 32 bytes, the price, and each its own store's inherited bar format and flags.
const QString k257 = QStringLiteral("257:0000025700200000000000000000000000000000000000000000000010000C21");
const QString k258 = QStringLiteral("258:0000025800200000000000000000000000000000000000000000000010000710");
const QString kBuilt = k257 + ',' + k258 + QStringLiteral(",259:");

} // namespace

class tst_FrmDownLoad : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TransferFolder> m_folder;
    QStringList m_messages;

    // The caller's protocol through the transfer request; the dialog answered once its records are built. The files
    // the transfer window was given, "none" when it was not shown.
    QString send(qint16 mode, const std::function<void(QDialog*)>& answer,
                 const std::function<void(QWidget*)>& transfer = {})
    {
        QString files = QStringLiteral("none");
        test::WindowAnswer options("frmDownLoad", [&](QWidget* d) {
            auto* ok = d->findChild<QPushButton*>("cmdOK");
            QTRY_VERIFY(ok->isEnabled() || !d->isVisible());
            if (d->isVisible()) {
                QVERIFY(!d->findChild<QWidget*>("lblLoading")->isVisible());
                answer(static_cast<QDialog*>(d));
            }
        });
        test::WindowAnswer window("frmFTPDataTrans", [&](QWidget* w) {
            files = test::requestOf(w).files.join(',');
            if (transfer)
                transfer(w);
        });
        const bool shown =
            requestTransfer(nullptr, {.mode = TransferMode(mode), .files = {QStringLiteral("PLU0UALL.csv")}}, [mode] {
                return frmDownLoad::askSendOptions(nullptr, mode);
            }).has_value();
        // Shown once, and an outcome exactly when the transfer window was shown.
        return options.count() == 1 && shown == (window.count() == 1) ? files : QStringLiteral("wrong");
    }

private slots:
    void init()
    {
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
        test::loadTexts();
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r.text.section('\n', 0, 0);
            return int(ui::MsgOk);
        });
        m_messages.clear();
        gStoreTree().gCurStoreNo = 3;
        test::addRows(kRows);
    }
    void cleanup()
    {
        resetProgramState();
        m_folder.reset();
    }

    // The dialog by the caller's protocol: the boxes add their files behind the PLU file and mark the current store's
    // rows only; Cancel and the frame add and mark nothing; a send builds the marked PLUs' records, a delete none.
    void protocol_data()
    {
        QTest::addColumn<int>("mode");
        // The boxes ticked, then "ok", "cancel", "frame" or "done" (closed as the end of the program closes it).
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("marks"); // KVB_20 and KVB_23
        QTest::addColumn<QString>("built");
        const QString none = QStringLiteral("257:,258:,259:");
        // clang-format off
        QTest::newRow("send, both boxes") << int(TransferSend) << "dept mg ok" << "PLU0UALL.csv,DEP0UALL.csv,MGP0UALL.csv" << "1:0,3:1,3:1 1:0,3:1,3:1,1:0,3:1" << kBuilt;
        QTest::newRow("send, no box") << int(TransferSend) << "ok" << "PLU0UALL.csv" << "1:1,3:0,3:0 1:1,3:0,3:0,1:0,3:0" << kBuilt;
        QTest::newRow("send, both boxes, Cancel") << int(TransferSend) << "dept mg cancel" << "none" << "1:1,3:0,3:0 1:1,3:0,3:0,1:0,3:0" << kBuilt;
        QTest::newRow("send, the frame") << int(TransferSend) << "dept frame" << "none" << "1:1,3:0,3:0 1:1,3:0,3:0,1:0,3:0" << kBuilt;
        QTest::newRow("send, closed by the end of the program") << int(TransferSend) << "dept done" << "none" << "1:1,3:0,3:0 1:1,3:0,3:0,1:0,3:0" << kBuilt;
        QTest::newRow("delete, the main groups") << int(TransferDelete) << "mg ok" << "PLU0UALL.csv,MGP0UALL.csv" << "1:1,3:0,3:0 1:0,3:1,3:1,1:0,3:1" << none;
        // clang-format on
    }
    void protocol()
    {
        QFETCH(int, mode);
        QFETCH(QString, answer);
        const QString files = send(qint16(mode), [&](QDialog* d) {
            QCOMPARE(d->windowTitle(), gLangOther.text(mode == TransferSend ? "downTitle" : "delTitle"));
            if (answer.contains("dept"))
                d->findChild<QCheckBox*>("chkDept")->click();
            if (answer.contains("mg"))
                d->findChild<QCheckBox*>("chkMG")->click();
            if (answer.endsWith("frame"))
                d->close();
            else if (answer.endsWith("done"))
                d->QDialog::done(QDialog::Rejected);
            else
                QTest::mouseClick(d->findChild<QPushButton*>(answer.endsWith("ok") ? "cmdOK" : "cmdCancel"),
                                  Qt::LeftButton);
        });
        QTEST(files, "files");
        QTEST(marks("KVB_20") + ' ' + marks("KVB_23"), "marks");
        QTEST(records(), "built");
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join("; ")));
    }

    // A PLU whose record cannot be built keeps its old one, said, and the others are built; a database failure rolls
    // the whole pass back, is said, and counts as Cancel.
    void passFailures_data()
    {
        QTest::addColumn<QString>("sql"); // test::runSteps(): "sql:" or "fail:"
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("files");
        // clang-format off
        QTest::newRow("a price of nine digits") << "sql:UPDATE KVB_25 SET PLU_UPrice=123456789, KVBBinData=x'AB' WHERE PLU_No=257" << "257:AB," + k258 + ",259:" << "pluRecordKept" << "PLU0UALL.csv";
        QTest::newRow("the database refuses") << "fail:BEFORE UPDATE ON KVB_25 WHEN NEW.PLU_No=258" << "257:,258:,259:" << "dbWriteErr" << "none";
        // clang-format on
    }
    void passFailures()
    {
        QFETCH(QString, sql);
        test::runSteps(nullptr, sql);
        const QString files = send(TransferSend, [](QDialog* d) { d->findChild<QPushButton*>("cmdOK")->click(); });
        QTEST(records(), "built");
        QTEST(files, "files");
        QFETCH(QString, message);
        QCOMPARE(m_messages.join("; "), gLangMsg.text(message));
    }

    void markStoreForDownload_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("marks"); // KVB_14, KVB_20, KVB_23
        // clang-format off
        QTest::newRow("KVB_14") << "KVB_14" << "1:1,2:1 1:1,3:0,3:0 1:1,3:0,3:0,1:0,3:0";
        QTest::newRow("KVB_20") << "KVB_20" << "1:1,2:0 1:0,3:1,3:1 1:1,3:0,3:0,1:0,3:0";
        QTest::newRow("KVB_23") << "KVB_23" << "1:1,2:0 1:1,3:0,3:0 1:0,3:1,3:1,1:0,3:1";
        QTest::newRow("another name") << "KVB_25" << "1:1,2:0 1:1,3:0,3:0 1:1,3:0,3:0,1:0,3:0";
        // clang-format on
    }
    void markStoreForDownload()
    {
        QFETCH(QString, table);
        MarkStoreForDownload(table);
        QTEST(gDBConnection.scalar("SELECT group_concat(FBar_No||':'||Is_Selected) FROM KVB_14").toString() + ' '
                  + marks("KVB_20") + ' ' + marks("KVB_23"),
              "marks");
    }

    // A send by the protocol with both boxes ticked, to a scale: the three files in this order, the department and
    // main-group files holding the current store's rows only.
    void sendsToTheScale()
    {
        test::FtpServer server;
        QVERIFY(test::startScale(server));
        test::addRow("SCALE",
                     {{"SC_IP", "127.  0.  0.  1"},
                      {"SC_No", "1"},
                      {"SC_Used", 1},
                      {"SC_FTPName", "scale"},
                      {"SC_FTPPW", "s3cret"},
                      {"ST_No", 3},
                      {"SECT_No", 1}});
        QString status;
        send(
            TransferSend,
            [](QDialog* d) {
                d->findChild<QCheckBox*>("chkDept")->click();
                d->findChild<QCheckBox*>("chkMG")->click();
                d->findChild<QPushButton*>("cmdOK")->click();
            },
            [&](QWidget* w) {
                auto* grid = w->findChild<QTableWidget*>("MSFGFTP");
                const QRect select = grid->visualRect(grid->model()->index(0, grid->columnCount() - 1));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, select.center());
                w->findChild<QPushButton*>("cmdCommand")->click();
                status = grid->item(0, grid->columnCount() - 2)->text();
            });
        QCOMPARE(status, gLangFTP.text("ftpFinish"));
        QStringList stored;
        for (const auto& m : QRegularExpression("<- STOR (\\S+)").globalMatch(server.log()))
            stored << m.captured(1);
        QCOMPARE(stored, QStringList({"PLU0UALL.csv", "DEP0UALL.csv", "MGP0UALL.csv"}));
        for (const char* name : {"DEP0UALL.csv", "MGP0UALL.csv"})
            QCOMPARE(test::readFile(server.filePath(name)),
                     test::readFile(QStringLiteral(QUORVANE_TEST_DATA_DIR "/datafiles/") + name));
    }
};

QTEST_MAIN(tst_FrmDownLoad)
#include "tst_frmdownload.moc"
