// The PLU transfer commands without their window: the test stands for the main window (PluFixture's TestHost) and
// for the transfer window, which writes the listed files and runs one session against the FTP server.

#include "PluFixture.h"

#include "support/DataRows.h"
#include "support/FtpServer.h"

#include "datafiles/DataFileWriters.h"
#include "plu/PluTransfers.h"
#include "plu/ReceivedPlus.h"
#include "state/PluEditorState.h"
#include "state/StoreTreeState.h"
#include "transfer/SendOptions.h"
#include "transfer/TransferRequest.h"
#include "transfer/TransferSession.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct NoView : transfer::SessionView {
    void showFile(const QString&) override { }
    void showStatus(const QString&, const QString&) override { }
};

struct SendCase {
    const char* name;
    const char* number = "8"; // meditPLU of a new PLU
    const char* marked = "";  // store 1's PLUs marked before
    bool cancel = false;      // the send options cancelled
    bool inherits = false;    // the store's own bar format inherited too: no record can be built
    bool requested = true;
    const char* lines = "4 8";      // the PLU numbers on the scale (store 2 marks 4)
    const char* rows = "1 3 5 8 9"; // store 1's PLUs afterwards
    const char* log = "reload";     // what the main window heard, "|"-joined
};

// clang-format off
const SendCase kSendCases[] = {
    {.name = "new PLU"},
    {.name = "three others marked", .marked = "1 3 9", .lines = "1 3 4 8 9"},
    {.name = "taken number", .number = "5", .marked = "3", .requested = false, .lines = "", .rows = "1 3 5 9", .log = "error This PLU number is already used in the store!|refuse 0 grid"},
    {.name = "number 999999", .number = "999999", .lines = "4 999999", .rows = "1 3 5 9 999999"},
    {.name = "number 0", .number = "0", .requested = false, .lines = "", .rows = "1 3 5 9", .log = "error Please enter a number>0!|refuse 1"},
    {.name = "no number", .number = "8x", .requested = false, .lines = "", .rows = "1 3 5 9", .log = "error Please enter a number\nmeditPLU: \"8x\" is not a whole number its field can hold."},
    {.name = "options cancelled", .cancel = true, .lines = ""},
    {.name = "record kept", .inherits = true, .log = "warn These PLUs could not be encoded and keep their previous scale records:\nPLU 8: its bar format cannot be resolved: store 1 gives bar format 255.|reload"},
};
// clang-format on

// RC_25 is emptied before and after; only rows that came clear every store's marks and reload the list.
struct FetchRow {
    const char* name;
    const char* onScale = ""; // the PLU numbers of the scale's file; "": no file
    const char* reviewed = "";
    const char* rows;  // store 1's PLUs and their marks afterwards
    const char* marks; // the marked PLUs of stores 1 and 2
    const char* log = "";
};

} // namespace

Q_DECLARE_METATYPE(SendCase)

class tst_PluTransfers : public QObject {
    Q_OBJECT

    TransferFolder m_folder;
    FtpServer m_server;
    TestHost m_host;
    PluTransferSeams m_seams;
    bool m_cancel = false;
    QStringList m_requests;
    QString m_reviewed; // the RC_25 numbers the review saw

    // The transfer window: the send options (their OK builds the marked records), the files written, one session.
    std::optional<TransferOutcome> transfer(const TransferRequest& request, bool options)
    {
        const TransferMode mode = request.mode;
        m_requests << QString::number(mode) + (options ? QStringLiteral(" options") : QString());
        if (options && m_cancel)
            return std::nullopt;
        if (options && mode == TransferSend)
            EncodeMarkedPluRecords();
        if (mode == TransferSend) {
            datafiles::makeTempFolder();
            datafiles::writeListedDataFiles(request.files);
        }
        NoView view;
        transfer::TransferSession session(
            mode, request.files, {QStringLiteral("127.0.0.1"), QStringLiteral("scale"), QStringLiteral("s3cret")},
            view);
        session.setReceivedLineCheck(request.lineCheck);
        session.run();
        datafiles::removeDataFiles(request.files);
        return TransferOutcome{session.linesLeftOut()};
    }

    // The PLU numbers of the file on the scale, sorted; empty when there is none.
    QString onScale() const { return test::leadingNumbers(m_server.filePath(pluDataFileName())); }

    void addStorePlus(const QString& marked)
    {
        for (int no : {5, 9, 1, 3})
            addPlu(
                QStringLiteral("PLU_No=%1;Is_Selected=%2").arg(no).arg(marked.split(' ').contains(QString::number(no))));
        addRow(QStringLiteral("KVB_25"), {{"ST_No", 2}, {"PLU_No", 4}, {"PLU_MG", 12}, {"Is_Selected", 1}});
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText()));
        QVERIFY(startScale(m_server));
        m_seams.transfer = [this](const TransferRequest& request, bool options) { return transfer(request, options); };
        m_seams.warn = [this](const QString&, const QString& text) { m_host.log << QStringLiteral("warn ") + text; };
        m_seams.review = [this] {
            m_host.log << QStringLiteral("review");
            OpenReceivedList();
            for (gRsReceived.moveFirst(); !gRsReceived.eof(); gRsReceived.moveNext())
                m_reviewed += gRsReceived.textValue(QStringLiteral("PLU_No")) + QLatin1Char(' ');
            gDBConnection.exec(QStringLiteral("UPDATE RC_25 SET Is_Selected=1"));
            CopyReceivedPLUs(gRsReceived.rowids(), {.store = QStringLiteral("1"), .mainGroup = QStringLiteral("12")});
            gRsReceived.close();
        };
    }
    void init()
    {
        resetPlu();
        QVERIFY(m_server.clear());
        gStoreTree().gCurNodeKind = PluListKind::MainGroup;
        gStoreTree().gCurDeptNo = 97;
        gStoreTree().gCurMGNo = 12;
        m_host = TestHost();
        m_cancel = false;
        m_requests.clear();
        m_reviewed.clear();
        emptyTables({"RC_25"});
    }

    void sendCurrent_data()
    {
        QTest::addColumn<SendCase>("c");
        for (const SendCase& c : kSendCases)
            QTest::newRow(c.name) << c;
    }
    void sendCurrent()
    {
        QFETCH(SendCase, c);
        addStorePlus(QString::fromLatin1(c.marked));
        if (c.inherits)
            gDBConnection.exec(QStringLiteral("UPDATE STORE SET barformat=255"));
        m_host.load();
        gPluEditor().gNewPLU = 1;
        m_host.values.meditPLU = QString::fromLatin1(c.number);
        m_host.values.combBarcodeFormat = 0;
        m_cancel = c.cancel;
        m_host.log.clear();

        QCOMPARE(SendCurrentPLU(m_host, m_seams), c.requested);
        QCOMPARE(m_host.log.join(QLatin1Char('|')), QString::fromLatin1(c.log));
        QCOMPARE(onScale(), QString::fromLatin1(c.lines));
        QCOMPARE(pluRows(QStringLiteral("PLU_MG")).replace(QStringLiteral(":12"), QString()),
                 QString::fromLatin1(c.rows));
        QCOMPARE(m_requests, c.requested ? QStringList{"0 options"} : QStringList());
        // Checks that stop it change no mark; a send leaves none in the list.
        QCOMPARE(marked(), c.requested ? QString() : QString::fromLatin1(c.marked));
        if (c.requested && !c.inherits)
            QVERIFY(!gDBConnection.scalar(QStringLiteral("SELECT KVBBinData FROM KVB_25 WHERE PLU_No=?"), {c.number})
                         .isNull());
    }

    // The marks stay, whether the options went on or not.
    void sendMarked()
    {
        addStorePlus(QStringLiteral("1 9"));
        QVERIFY(SendMarkedPLUs(m_host, m_seams));
        QCOMPARE(onScale(), QStringLiteral("1 4 9"));
        m_cancel = true;
        QVERIFY(m_server.clear());
        QVERIFY(SendMarkedPLUs(m_host, m_seams));
        QCOMPARE(onScale(), QString());
        QCOMPARE(m_requests, (QStringList{"0 options", "0 options"}));
        QCOMPARE(marked(), QStringLiteral("1 9"));
        // A cancelled save question requests nothing.
        gPluEditor().gPLUChanged = 1;
        m_host.answer = PluAnswer::Cancel;
        QVERIFY(!SendMarkedPLUs(m_host, m_seams));
        QVERIFY(!DeletePLUsOnScale(m_host, m_seams));
        QVERIFY(!FetchPLUs(m_host, m_seams));
        QCOMPARE(m_requests.size(), 2);
    }

    void deleteOnScale()
    {
        addStorePlus(QStringLiteral("3"));
        QVERIFY(writeFile(m_server.filePath(pluDataFileName()), scalePluLines(QStringLiteral("7"))));
        QVERIFY(DeletePLUsOnScale(m_host, m_seams));
        QCOMPARE(m_requests, QStringList{"2 options"});
        QVERIFY(m_server.log().contains(QStringLiteral("DELE PLU0UALL.csv")));
        QVERIFY(!QFile::exists(m_server.filePath(pluDataFileName())));
        QCOMPARE(marked(), QStringLiteral("3"));
    }

    void fetch_data()
    {
        // clang-format off
        test::addDataRows<FetchRow>({
            {.name = "rows came", .onScale = "3 5 7 9 12", .reviewed = "3 5 7 9 12 ", .rows = "1:0 3:0 5:0 7:0 9:0 12:0", .marks = "|", .log = "review|reload"},
            {.name = "no file", .rows = "1:1 3:0 5:1 9:0", .marks = "1 5|4"},
            {.name = "a line left out", .onScale = "0 12", .reviewed = "12 ", .rows = "1:0 3:0 5:0 9:0 12:0", .marks = "|", .log = "warn These lines of the received PLU file were left out:\n1: PLU_No \"0\" outside 1 to 999999|review|reload"},
        });
        // clang-format on
    }
    void fetch()
    {
        QFETCH(FetchRow, row);
        addStorePlus(QStringLiteral("1 5"));
        addRow(QStringLiteral("RC_25"), {{"PLU_No", 77}}); // left by an earlier failure
        if (*row.onScale)
            QVERIFY(writeFile(m_server.filePath(pluDataFileName()), scalePluLines(QLatin1String(row.onScale))));
        QCOMPARE(FetchPLUs(m_host, m_seams), *row.onScale != 0);
        QCOMPARE(m_requests, QStringList{"1"});
        QCOMPARE(m_reviewed, QLatin1String(row.reviewed));
        QCOMPARE(m_host.log.join(QLatin1Char('|')), QLatin1String(row.log));
        QCOMPARE(rowCount(QStringLiteral("RC_25")), 0);
        QCOMPARE(pluRows(QStringLiteral("Is_Selected")), QLatin1String(row.rows));
        QCOMPARE(marked() + QLatin1Char('|') + marked(2), QLatin1String(row.marks));
    }
};

QTEST_MAIN(tst_PluTransfers)
#include "tst_plutransfers.moc"
