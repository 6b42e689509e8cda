// The PLU transfer buttons and menu entries of the main window, and the received-PLU review, driven as the operator
// drives them; the scale is the tests' FTP server.

#include "PluFixture.h"

#include "support/FtpServer.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "mainwindow/ui/frmMain.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "plu/PluTransfers.h"
#include "plu/ui/frmUpload.h"
#include "state/PluEditorState.h"
#include "state/SettingsState.h"
#include "transfer/TransferRequest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct Case {
    const char* name;
    const char* command;                    // a button or menu entry of the main window
    const char* number = nullptr;           // meditPLU of a new PLU shown
    const char* marked = "";                // store 1's PLUs marked before
    const char* options = "ok";             // the send options' answer, the boxes ticked first ("dept mg ok")
    const char* request = "0 PLU0UALL.csv"; // the transfer window's mode and files, "none" when not shown
    const char* lines = "";                 // the PLU numbers on the scale afterwards
    const char* rows = "1 3 5 9";           // store 1's PLUs afterwards
    const char* marks = "";                 // and their marks
    const char* log = "";                   // what the server was asked to delete or store
    const char* scale = "";                 // the PLU numbers on the scale before, "none": no PLU file there
    const char* message = "";               // the message shown
};

// clang-format off
const Case kCases[] = {
    {.name = "send current, a new PLU", .command = "cmdDownload", .number = "8", .lines = "8", .rows = "1 3 5 8 9", .log = "STOR PLU0UALL.csv"},
    {.name = "send current, a taken number", .command = "cmdDownload", .number = "5", .marked = "3", .request = "none", .marks = "3", .message = "overlap"},
    {.name = "send current, options cancelled", .command = "cmdDownload", .number = "8", .options = "cancel", .request = "none", .rows = "1 3 5 8 9"},
    {.name = "send marked", .command = "cmdSendAll", .marked = "1 9", .lines = "1 9", .marks = "1 9", .log = "STOR PLU0UALL.csv"},
    {.name = "send marked, cancelled", .command = "cmdSendAll", .marked = "1 9", .options = "cancel", .request = "none", .marks = "1 9"},
    {.name = "menuDownload", .command = "menuDownload", .marked = "3", .lines = "3", .marks = "3", .log = "STOR PLU0UALL.csv"},
    {.name = "delete", .command = "cmdDel", .marked = "3", .request = "2 PLU0UALL.csv", .marks = "3", .log = "DELE PLU0UALL.csv", .scale = "7"},
    {.name = "delete, both boxes", .command = "cmdDel", .options = "dept mg ok", .request = "2 PLU0UALL.csv,DEP0UALL.csv,MGP0UALL.csv", .log = "DELE PLU0UALL.csv|DELE DEP0UALL.csv|DELE MGP0UALL.csv", .scale = "7"},
    {.name = "menuDeletePlu", .command = "menuDeletePlu", .request = "2 PLU0UALL.csv", .log = "DELE PLU0UALL.csv", .scale = "7"},
    {.name = "cmdUpload, no file on the scale", .command = "cmdUpload", .marked = "1 5", .options = "", .request = "1 PLU0UALL.csv", .marks = "1 5", .scale = "none"},
    {.name = "menuUpload, an empty file", .command = "menuUpload", .marked = "1 5", .options = "", .request = "1 PLU0UALL.csv", .marks = "1 5", .log = "RETR PLU0UALL.csv"},
    {.name = "cmdUpload, no good line", .command = "cmdUpload", .marked = "1 5", .options = "", .request = "1 PLU0UALL.csv", .lines = "-5 0", .marks = "1 5", .log = "RETR PLU0UALL.csv", .scale = "-5 0", .message = "receivedLinesLeftOut"},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(Case)

class tst_PluTransferWindow : public QObject {
    Q_OBJECT

    TransferFolder m_folder;
    FtpServer m_server;
    QStringList m_messages;

    frmMain* open()
    {
        frmMain* w = frmMain::form();
        w->Show();
        w->cmdData_Click();
        m_messages.clear(); // the test database's tree
        return w;
    }

    // The PLU numbers of the file on the scale, sorted; empty when there is none.
    QString onScale() const { return test::leadingNumbers(m_server.filePath(pluDataFileName())); }

    // The server's STOR, RETR and DELE commands, in order.
    QString serverLog() const
    {
        QStringList out;
        for (const QString& line : m_server.log().split(QLatin1Char('\n'))) {
            static const QRegularExpression command(QStringLiteral("\\b(STOR|RETR|DELE) (\\S+)"));
            if (const QRegularExpressionMatch m = command.match(line);
                m.hasMatch() && line.contains(QLatin1String("<- ")))
                out << m.captured(1) + QLatin1Char(' ') + m.captured(2);
        }
        out.removeDuplicates();
        return out.join(QLatin1Char('|'));
    }

    // Marks store 1's PLUs named, after the list shown has dropped the marks it found.
    static void mark(const QString& numbers)
    {
        for (const QString& no : numbers.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=1 WHERE ST_No=1 AND PLU_No=?"),
                               {no.toInt()});
    }

    // Runs the command; the send options answered as `options` says, the transfer window run against the scale.
    // The transfer window's mode and files, "none" when it was not shown.
    QString run(frmMain* w, const QString& command, const QString& options,
                const std::function<void(QWidget*)>& review = {})
    {
        QString request = QStringLiteral("none");
        WindowAnswer sendOptions(QStringLiteral("frmDownLoad"), [&](QWidget* d) {
            QTRY_VERIFY(d->findChild<QPushButton*>("cmdOK")->isEnabled());
            if (options.contains("dept"))
                d->findChild<QCheckBox*>("chkDept")->click();
            if (options.contains("mg"))
                d->findChild<QCheckBox*>("chkMG")->click();
            d->findChild<QPushButton*>(options.endsWith("ok") ? "cmdOK" : "cmdCancel")->click();
        });
        WindowAnswer transfer(QStringLiteral("frmFTPDataTrans"), [&](QWidget* form) {
            const TransferRequest& r = test::requestOf(form);
            request = QString::number(r.mode) + QLatin1Char(' ') + r.files.join(QLatin1Char(','));
            auto* grid = form->findChild<QTableWidget*>(QStringLiteral("MSFGFTP"));
            grid->setCurrentCell(0, grid->columnCount() - 1);
            emit grid->cellClicked(0, grid->columnCount() - 1);
            form->findChild<QPushButton*>(QStringLiteral("cmdCommand"))->click();
            form->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
        });
        WindowAnswer reviewWindow(QStringLiteral("frmUpload"), [&](QWidget* form) {
            if (review)
                review(form);
        });
        if (auto* button = w->findChild<QPushButton*>(command)) {
            button->setEnabled(true); // the states are SetEditModeButtons' and tested with it
            button->click();
        } else {
            auto* entry = w->findChild<QAction*>(command);
            entry->setEnabled(true);
            entry->trigger();
        }
        return request;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText()));
        QVERIFY(startScale(m_server));
        fillTransferTexts();
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << (r.key.isEmpty() ? r.text.section('\n', 0, 0) : r.key);
            return int(ui::MsgOk);
        });
    }
    void init()
    {
        resetPlu();
        QVERIFY(m_server.clear());
        gSettings().gSysStore = 0;
        addScaleInUse();
        emptyTables({"RC_25"});
        m_messages.clear();
    }
    void cleanup()
    {
        gPluEditor().gPLUChanged = 0;
        frmMain::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void commands_data()
    {
        QTest::addColumn<Case>("c");
        for (const Case& c : kCases)
            QTest::newRow(c.name) << c;
    }
    void commands()
    {
        QFETCH(Case, c);
        for (int no : {5, 9, 1, 3})
            addPlu(QStringLiteral("PLU_No=%1").arg(no));
        if (QByteArray(c.scale) != "none")
            QVERIFY(writeFile(m_server.filePath(pluDataFileName()), scalePluLines(QLatin1String(c.scale))));
        for (const char* file : {"DEP0UALL.csv", "MGP0UALL.csv"})
            QVERIFY(writeFile(m_server.filePath(QLatin1String(file)), "1\r\n"));
        frmMain* w = open();
        mark(QString::fromLatin1(c.marked));
        if (c.number) {
            gPluEditor().gNewPLU = 1;
            w->findChild<QLineEdit*>("meditPLU")->setText(QString::fromLatin1(c.number));
            w->findChild<QComboBox*>("combBarcodeFormat")->setCurrentIndex(0);
        }
        QCOMPARE(run(w, QLatin1String(c.command), QLatin1String(c.options)), QLatin1String(c.request));
        QCOMPARE(onScale(), QLatin1String(c.lines));
        QCOMPARE(pluRows(QStringLiteral("PLU_No")).replace(QRegularExpression(":\\d+"), QString()),
                 QLatin1String(c.rows));
        QCOMPARE(marked(), QLatin1String(c.marks));
        QCOMPARE(serverLog(), QLatin1String(c.log));
        QCOMPARE(rowCount(QStringLiteral("RC_25")), 0);
        QVERIFY(w->isEnabled());
        if (c.number && QByteArray(c.number) == "8" && QByteArray(c.options) == "ok")
            QVERIFY(!gDBConnection.scalar(QStringLiteral("SELECT KVBBinData FROM KVB_25 WHERE PLU_No=8")).isNull());
        QCOMPARE(m_messages.join('|'), c.message);
    }

    // A fetch of 3, 5, 7, 9 and 12 into a store holding 5 and 9: reviewed, all marked and copied; then nothing is
    // left received or marked, and the list shows the store's PLUs.
    void fetch()
    {
        addPlu(QStringLiteral("PLU_No=5"));
        addPlu(QStringLiteral("PLU_No=9;PLU_UPrice=77"));
        QVERIFY(writeFile(m_server.filePath(pluDataFileName()), scalePluLines(QStringLiteral("3 5 7 9 12"))));
        frmMain* w = open();
        mark(QStringLiteral("5"));
        QString listed;
        const QString request = run(w, QStringLiteral("cmdUpload"), QString(), [&](QWidget* review) {
            QVERIFY(!w->isEnabled());
            auto* grid = review->findChild<QTableWidget*>("GridPLUUpload");
            for (int r = 1; r < ui::flexRows(grid); ++r)
                listed += ui::flexText(grid, r, 2) + QLatin1Char(' ');
            grid->horizontalHeader()->sectionClicked(6);
            QCOMPARE(review->findChild<QComboBox*>("combST")->currentText(), QStringLiteral("1"));
            review->findChild<QPushButton*>("cmdTransfer")->click();
            review->findChild<QPushButton*>("cmdClose")->click();
        });
        QCOMPARE(request, QStringLiteral("1 PLU0UALL.csv"));
        QCOMPARE(listed, QStringLiteral("3 5 7 9 12 "));
        QCOMPARE(m_messages, QStringList{"upTranOK"});
        QCOMPARE(pluRows(QStringLiteral("PLU_UPrice")), QStringLiteral("3:990 5:990 7:990 9:990 12:990"));
        QCOMPARE(rowCount(QStringLiteral("RC_25")), 0);
        QCOMPARE(marked(), QString());
        QCOMPARE(ui::flexRows(w->findChild<QTableWidget*>("MSHFlexGridPLU")), 6);
        QVERIFY(w->isEnabled());
    }
};

QTEST_MAIN(tst_PluTransferWindow)
#include "tst_plutransferwindow.moc"
