// The scroll-message editor's wiring, driven by objectName: one row per handler; the rules behind it are tested
// at their core functions (tst_scrollmessages).

#include "support/ProgramFolderFixture.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"
#include "support/WindowSteps.h"

#include "otherfiles/ui/frmScrollMSG.h"
#include "settings/TextCollections.h"
#include "transfer/TransferRequest.h"

#include <QtTest>

using namespace quorvane;

namespace {

struct ScrollRow {
    QString rows{};    // "TABLE:field=value;...|..."
    QString steps{};   // test::runSteps()
    QString shown{};   // test::shownAs()
    QString stored{};  // "TABLE:field,field=value,value value,value" of every row
    QString sent{};    // each transfer: its files, then the marks of KVB_3F and of KVB_40 while it is open
    QString message{}; // the key of the one message shown
};

const QString kRefuse = QStringLiteral("fail:BEFORE INSERT ON KVB_3F|");

} // namespace

Q_DECLARE_METATYPE(ScrollRow)

class TestFrmScrollMSG : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    void handlers_data()
    {
        QTest::addColumn<ScrollRow>("row");
        // clang-format off
        QTest::newRow("opening") << ScrollRow{.rows = "KVB_3F:Number=3;Data=Bread|KVB_40:Number=7;File1=9|KVB_40:Number=4;File2=3;Speed3=2", .shown = "combSeqNum=3;combMSGNo(2)=3;combSpeed(3)=2;gridScrollMsg(3)=Bread"};
        QTest::newRow("rows 2 and 5") << ScrollRow{.steps = "cell:gridScrollMsg(2)=Two|cell:gridScrollMsg(5)=Five|click:cmdSaveM", .stored = "KVB_3F:Number,Data=2,Two 5,Five"};
        QTest::newRow("nothing before Save") << ScrollRow{.steps = "cell:gridScrollMsg(2)=Two", .stored = "KVB_3F:Number="};
        QTest::newRow("an emptied row") << ScrollRow{.rows = "KVB_3F:Number=2;Data=Two|KVB_3F:Number=5;Data=Five", .steps = "cell:gridScrollMsg(2)=|click:cmdSaveM", .stored = "KVB_3F:Number,Data=5,Five"};
        QTest::newRow("the 101st byte") << ScrollRow{.steps = "cell:gridScrollMsg(1)=" + QString(101, 'a'), .shown = "gridScrollMsg(1)=" + QString(100, 'a')};
        QTest::newRow("Esc") << ScrollRow{.rows = "KVB_3F:Number=1;Data=kept", .steps = "esc:gridScrollMsg(1)=changed", .shown = "gridScrollMsg(1)=kept"};
        QTest::newRow("another sequence drops") << ScrollRow{.steps = "set:combMSGNo(1)=4|set:combSeqNum=1|set:combSeqNum=0", .shown = "combMSGNo(1)=0"};
        QTest::newRow("a sequence saved") << ScrollRow{.rows = "KVB_40:Number=1;Group1=5;Display3=2", .steps = "set:combPattern(2)=3|click:cmdSaveS|set:combSeqNum=1|set:combSeqNum=0", .shown = "combPattern(2)=3", .stored = "KVB_40:Number,Scroll2,Group1,Display3=1,3,5,2"};
        QTest::newRow("messages sent") << ScrollRow{.steps = "cell:gridScrollMsg(2)=Two|click:cmdDownloadM", .stored = "KVB_3F:Number,Is_Selected=2,0", .sent = "SCM0UALL.csv:1:"};
        QTest::newRow("a sequence sent") << ScrollRow{.rows = "KVB_40:Number=2", .steps = "set:combSeqNum=4|click:cmdDownloadS", .stored = "KVB_40:Number,Is_Selected=2,0 5,0", .sent = "SCS0UALL.csv::0 1"};
        QTest::newRow("a failed save sends nothing") << ScrollRow{.steps = kRefuse + "cell:gridScrollMsg(1)=x|click:cmdDownloadM", .stored = "KVB_3F:Number=", .message = "dbWriteErr"};
        // clang-format on
    }
    void handlers()
    {
        QFETCH(ScrollRow, row);
        test::addTableRows(row.rows);
        test::addScaleInUse();
        test::loadTexts();
        test::MessageRecorder messages;
        QStringList sent;
        test::WindowAnswer transfer(QStringLiteral("frmFTPDataTrans"), [&](QWidget* form) {
            sent << test::requestOf(form).files.join(QLatin1Char(',')) + QLatin1Char(':')
                    + test::storedRows(QStringLiteral("KVB_3F:Is_Selected")) + QLatin1Char(':')
                    + test::storedRows(QStringLiteral("KVB_40:Is_Selected"));
        });
        frmScrollMSG form;
        form.show();
        test::runSteps(&form, row.steps);
        QCOMPARE(test::shownAs(&form, row.shown), row.shown);
        if (!row.stored.isEmpty())
            QCOMPARE(test::storedRows(row.stored.section(QLatin1Char('='), 0, 0)),
                     row.stored.section(QLatin1Char('='), 1));
        QCOMPARE(sent.join(QLatin1Char('|')), row.sent);
        QCOMPARE(messages.messages.size(), row.message.isEmpty() ? 0 : 1);
        if (!row.message.isEmpty())
            QVERIFY(messages.messages[0].text.startsWith(gLangMsg.text(row.message)));
    }
};

QTEST_MAIN(TestFrmScrollMSG)
#include "tst_frmscrollmsg.moc"
