// The other-files window's wiring, driven by objectName: one row per handler; the rules behind them are tested
// at their core functions (tst_otherfilekinds).

#include "support/CodecTestDb.h"
#include "support/ProgramFolderFixture.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"
#include "support/WindowSteps.h"

#include "otherfiles/ui/frmOtherFile.h"
#include "platform/text/Ansi.h"
#include "platform/ui/CellEdit.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/SettingsState.h"
#include "transfer/TransferRequest.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;

namespace {

struct HandlerRow {
    const char* name;
    const char* rows = "";    // "TABLE:field=value;...|..."
    const char* steps = "";   // test::runSteps()
    const char* editor = "";  // in the text editor a step opens: "type:keys", "clear", "enter", "ok", "cancel"
    const char* shown = "";   // test::shownAs()
    const char* stored = "";  // "TABLE:field,field=value,value value,value" of every row
    const char* message = ""; // the key of the one message shown
    const char* codePage = "windows-1252";
    int dateType = 0;
    const char* decimalSign = ".";
};

} // namespace

Q_DECLARE_METATYPE(HandlerRow)

class TestFrmOtherFile : public test::TransferFolderTest {
    Q_OBJECT

    // The window on the working database, active, as the menu opens it.
    QPointer<frmOtherFile> open(int dateType = 0, const char* decimalSign = ".")
    {
        test::loadTexts();
        gSettings().gDateType = qint16(dateType);
        gSettings().gDecimalSign = QLatin1String(decimalSign);
        gSettings().gPricePoint = 2;
        gSettings().gWeightPoint = 3;
        otherfiles::setOtherFilesClock([] { return QDateTime(QDate(2027, 3, 5), QTime(9, 7)); });
        auto* form = new frmOtherFile;
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
        if (!QTest::qWaitForWindowActive(form))
            qFatal("the window does not become active");
        return form;
    }

private slots:
    void handlers_data()
    {
        QTest::addColumn<HandlerRow>("row");
        // clang-format off
        const HandlerRow rows[] = {
            {.name = "opening empty: number 1 of every kind", .shown = "txtIngNo=1;txtIngNextNo=0;combClerkNo=0;txtTaxName=VAT1;txtStockName= ;meditNewUPrice=0,00;DTPickerStartDatePrice=05.03.27;DTPickerEndTime=00:00;lblDiscLimit1G=kg;lblDiscLmtPerSym1=off;cmdIng=S", .stored = "KVB_A8:Code=", .dateType = 4, .decimalSign = ","},
            {.name = "a text number shows its record", .rows = "KVB_3A:No=5;NextNo=8;NameFirstLine=SHOP;Name=S", .steps = "set:txtIngNo=5", .shown = "txtIngNextNo=8;txtIngredient=SHOP"},
            {.name = "an emptied text number", .steps = "set:txtSMsgNo=", .shown = "txtSMsg=;txtSMsgNextNo=off;cmdSMsg=off"},
            {.name = "an emptied schedule number", .steps = "set:txtDiscScheNo=", .shown = "txtDiscScheNextNo=off;Frame1=off"},
            {.name = "a number list shows its record", .rows = "KVB_A8:Code=3;Name=TX;Rate=1750;Status=1", .steps = "set:combTaxNo=2", .shown = "txtTaxName=TX;meditTaxRate=17.50;combTaxType=1"},
            {.name = "a failed read", .steps = "sql:DROP TABLE KVB_AB|set:txtPriceScheNo=2", .shown = "txtPriceScheNextNo=off;Frame2=off", .message = "dbReadErr"},
            {.name = "a name left", .steps = "focus:txtClerkName|type:Ann|leave", .stored = "KVB_44:Clerk_No,Name=1,Ann"},
            {.name = "closing by the frame", .steps = "focus:txtClerkName|type:Ann|close", .stored = "KVB_44:Clerk_No,Name=1,Ann"},
            {.name = "a list left", .steps = "set:combStockType=2|focus:combStockType|leave", .stored = "KVB_AC:Number,Type,Name=1,2, "},
            {.name = "a status box left", .steps = "click:chkCardReader|leave", .stored = "KVB_AD:Number,Status,Name=1,8, "},
            {.name = "a picker left", .steps = "set:combDiscType=1|focus:DTPickerStartDate|leave", .stored = "KVB_AA:Number,Disc_Type,Disc_SDate=1,1,50327"},
            {.name = "a next number left, its zeros dropped", .steps = "focus:txtIngNextNo|type:007|leave", .shown = "txtIngNextNo=7", .stored = "KVB_3A:No,NextNo=1,7"},
            {.name = "a lone 0 stays", .steps = "focus:txtDiscScheNextNo|type:0|leave", .shown = "txtDiscScheNextNo=0"},
            {.name = "a pasted non-digit", .steps = "set:txtSMsgNextNo=4|focus:txtSMsgNextNo|paste:1a|leave", .shown = "txtSMsgNextNo=4"},
            {.name = "an emptied next number saves 0", .rows = "KVB_AB:Number=1;NextNumber=4;NewUnitPrice=5", .steps = "focus:txtPriceScheNextNo|clear|leave", .shown = "txtPriceScheNextNo=0", .stored = "KVB_AB:NextNumber,NewUnitPrice=0,5"},
            {.name = "an amount entered and left", .steps = "set:combDiscType=2|focus:meditDiscLmtPer1|type:05|leave", .shown = "meditDiscLmtPer1=0.05", .stored = "KVB_AA:Disc_Type,Disc_Within1stL=2,5"},
            {.name = "the discount type", .steps = "set:combDiscType=6", .shown = "lblDiscLmtPer1=Fixed price;meditDiscLimit1=off;meditDiscLimit2=off;meditDiscLmtPer2=off"},
            {.name = "a limit raised to the first", .steps = "set:combDiscType=2|set:meditDiscLimit2=300|focus:meditDiscLimit1|type:500|leave", .shown = "meditDiscLimit1=0.500;meditDiscLimit2=0.500"},
            {.name = "a limit lowered to the second", .steps = "set:combDiscType=2|set:meditDiscLimit1=300|focus:meditDiscLimit2|type:200|leave", .shown = "meditDiscLimit1=0.200;meditDiscLimit2=0.200"},
            {.name = "an amount raised to the first", .steps = "set:combDiscType=2|set:meditDiscLmtPer2=300|focus:meditDiscLmtPer1|type:500|leave", .shown = "meditDiscLmtPer1=5.00;meditDiscLmtPer2=5.00"},
            {.name = "an amount lowered to the second", .steps = "set:combDiscType=2|set:meditDiscLmtPer1=500|focus:meditDiscLmtPer2|type:300|leave", .shown = "meditDiscLmtPer1=3.00;meditDiscLmtPer2=3.00"},
            {.name = "pieces: 1.500 left as 1500", .steps = "set:combDiscType=2|set:combDiscLimitType=1|set:meditDiscLimit1=1.500|focus:meditDiscLimit1|leave", .shown = "meditDiscLimit1=1500"},
            {.name = "a limit takes four digits", .steps = "set:combDiscType=2|focus:meditDiscLimit1|type:123456|leave", .shown = "meditDiscLimit1=1.234"},
            {.name = "D3 with 12.345", .steps = "set:combDiscType=3|set:meditDiscLmtPer1=12.345|focus:meditDiscLmtPer1|leave", .shown = "meditDiscLmtPer1=23.45"},
            {.name = "D6 takes six digits", .steps = "set:combDiscType=6|focus:meditDiscLmtPer1|type:1234567|leave", .shown = "meditDiscLmtPer1=1234.56"},
            {.name = "days take 0 and 1", .steps = "set:combDiscType=2|focus:meditDiscDayOfWeek|type:10201101|leave", .shown = "meditDiscDayOfWeek=1001101"},
            {.name = "an empty day box", .steps = "set:meditPriceDayOfWeek=1010|focus:meditPriceDayOfWeek|clear|type:2|leave", .shown = "meditPriceDayOfWeek=0"},
            {.name = "a tax rate", .steps = "set:combTaxType=1|focus:meditTaxRate|type:17505|leave", .shown = "meditTaxRate=17.50;txtTaxName=VAT1"},
            {.name = "a name over its bytes", .steps = "focus:txtPaymentName|paste:Cr\u00e8me fra\u00eeche", .shown = "txtPaymentName=Cr\u00e8me f"},
            {.name = "a name over its bytes, GBK", .steps = "focus:txtTaxName|paste:\u6c34\u679c\u6c41", .shown = "txtTaxName=\u6c34\u679c", .codePage = "GBK"},
            {.name = "a character outside the code page", .steps = "focus:txtClerkName|type:A|paste:\u6c34", .shown = "txtClerkName=A", .message = "charRefused"},
            {.name = "the limit type", .steps = "set:meditDiscLimit1=1.500|set:combDiscLimitType=1", .shown = "meditDiscLimit1=1500;lblDiscLimit2G=pcs"},
            {.name = "a send box ticked", .rows = "KVB_44:Clerk_No=1;Name=Ann", .steps = "click:chkClerk", .shown = "chkClerk=1", .stored = "KVB_44:Is_Selected=1"},
            {.name = "a send box with nothing to send", .rows = "KVB_A8:Code=1;Rate=0", .steps = "click:chkTax", .shown = "chkTax=0", .stored = "KVB_A8:Is_Selected=0"},
            {.name = "a builder's untick answer", .rows = "KVB_44:Clerk_No=1;Name=Ann", .steps = "click:chkClerk|focus:txtClerkName|clear|leave", .shown = "chkClerk=0", .stored = "KVB_44:Name,Is_Selected= ,0"},
            {.name = "a failed save", .steps = "fail:BEFORE INSERT ON KVB_44|focus:txtClerkName|type:Ann|leave", .shown = "txtClerkName=Ann", .stored = "KVB_44:Name=", .message = "dbWriteErr"},
            {.name = "the text editor's OK", .steps = "click:cmdIng", .editor = "type:Salt|enter|ok", .shown = "txtIngredient=Salt;txtIngNextNo=0", .stored = "KVB_3A:No,NextNo,NameFirstLine=1,0,Salt"},
            {.name = "an emptied text unticks", .rows = "KVB_3B:No=1;NameFirstLine=A;Name=\x01\x01" "A\x0C", .steps = "click:chkSmsg|click:cmdSMsg", .editor = "clear|enter|ok", .shown = "txtSMsg=;chkSmsg=0", .stored = "KVB_3B:NameFirstLine,Is_Selected= ,0"},
            {.name = "the text editor's Cancel", .steps = "click:cmdAdv", .editor = "type:Ad|cancel", .shown = "txtAdv=", .stored = "KVB_3C:No="},
            {.name = "the text editor's failed save", .steps = "fail:BEFORE INSERT ON KVB_3D|click:cmdSName", .editor = "type:Shop|enter|ok|cancel", .shown = "txtSName=", .stored = "KVB_3D:No=", .message = "dbWriteErr"},
        };
        // clang-format on
        for (const HandlerRow& row : rows)
            QTest::newRow(row.name) << row;
    }
    void handlers()
    {
        QFETCH(HandlerRow, row);
        test::addTableRows(QString::fromLatin1(row.rows));
        text::setAnsiCodePage(QLatin1String(row.codePage));
        QPointer<frmOtherFile> form = open(row.dateType, row.decimalSign);
        test::MessageRecorder messages;
        test::WindowAnswer editor(QStringLiteral("frmStringEdit"), [&](QWidget* w) {
            for (const QString& step : QString::fromLatin1(row.editor).split(QLatin1Char('|'))) {
                auto* box = qobject_cast<QLineEdit*>(ui::cellEditor(w->findChild<QTableWidget*>()));
                if (step == QLatin1String("enter"))
                    QTest::keyClick(box, Qt::Key_Return);
                else if (step == QLatin1String("clear"))
                    box->clear();
                else if (step.startsWith(QLatin1String("type:")))
                    QTest::keyClicks(box, step.mid(5));
                else
                    qobject_cast<QPushButton*>(test::control(w, step == QLatin1String("ok") ? "cmdOK" : "cmdCancel"))
                        ->click();
            }
        });
        test::runSteps(form, QString::fromUtf8(row.steps));
        QCOMPARE(editor.count(), *row.editor ? 1 : 0);
        const QString shown = QString::fromUtf8(row.shown);
        if (form)
            QCOMPARE(test::shownAs(form, shown), shown);
        const QString stored = QString::fromLatin1(row.stored);
        if (!stored.isEmpty())
            QCOMPARE(test::storedRows(stored.section(QLatin1Char('='), 0, 0)), stored.section(QLatin1Char('='), 1));
        QCOMPARE(messages.messages.size(), *row.message ? 1 : 0);
        if (*row.message)
            QVERIFY(messages.messages[0].text.startsWith(gLangMsg.text(QLatin1String(row.message))));
        if (form)
            form->close();
    }

    // The commands send the ticked kinds' files in their order, or the date and time, through the transfer window;
    // the send leaves the marks as they were.
    void sends()
    {
        test::addTableRows(QStringLiteral("KVB_A8:Code=1;Rate=700|KVB_3A:No=1;NameFirstLine=A;Name=A"));
        test::addScaleInUse();
        QPointer<frmOtherFile> form = open();
        QList<QStringList> requests;
        test::WindowAnswer answer(QStringLiteral("frmFTPDataTrans"),
                                  [&](QWidget* form) { requests << test::requestOf(form).files; });
        test::runSteps(form,
                       QStringLiteral("click:cmdSend|click:chkTax|click:chkIng|click:cmdSend|click:cmdDTTM|"
                                      "click:cmdDTTM"));
        QCOMPARE(requests,
                 (QList<QStringList>{{}, {"ING0UALL.csv", "TAX0UALL.csv"}, {"DAT0UALL.csv"}, {"DAT0UALL.csv"}}));
        QCOMPARE(test::storedRows(QStringLiteral("KVB_4E:SF_No,Is_Selected")), QStringLiteral("1,1"));
        QCOMPARE(test::storedRows(QStringLiteral("KVB_A8:Is_Selected")), QStringLiteral("1"));
        QCOMPARE(test::shownAs(form, QStringLiteral("chkTax=1;chkIng=1")), QStringLiteral("chkTax=1;chkIng=1"));
        form->close();
    }
};

QTEST_MAIN(TestFrmOtherFile)
#include "tst_frmotherfile.moc"
