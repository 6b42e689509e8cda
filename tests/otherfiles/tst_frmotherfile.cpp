// The other-files window's wiring, driven by objectName: one row per handler; the rules behind them are tested
// at their core functions (tst_otherfilekinds).

#include "support/CodecTestDb.h"
#include "support/FieldValues.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "otherfiles/OtherFileKinds.h"
#include "otherfiles/ui/frmOtherFile.h"
#include "platform/ui/CellEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"
#include "transfer/TransferRequest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;

namespace {

QWidget* child(QWidget* window, const QString& name)
{
    QWidget* found = window->findChild<QWidget*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A control's value as the rows write it: a box's, button's or label's text, a list's position, a check box 1 or 0.
QString valueOf(QWidget* w)
{
    if (auto* box = qobject_cast<QLineEdit*>(w))
        return box->text();
    if (auto* list = qobject_cast<QComboBox*>(w))
        return QString::number(list->currentIndex());
    if (auto* check = qobject_cast<QCheckBox*>(w))
        return check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto* button = qobject_cast<QPushButton*>(w))
        return button->text();
    return qobject_cast<QLabel*>(w)->text();
}

// Adds the rows "TABLE:field=value;...|..." (a text table's Name as bytes).
void addRows(const QString& rows)
{
    for (const QString& row : rows.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString table = row.section(QLatin1Char(':'), 0, 0);
        QVariantMap values = test::fieldValues(row.section(QLatin1Char(':'), 1));
        if (values.contains(QStringLiteral("Name")) && table.startsWith(QLatin1String("KVB_3")))
            values[QStringLiteral("Name")] = values.value(QStringLiteral("Name")).toString().toLatin1();
        test::addRow(table, values);
    }
}

// Steps, "|"-separated: "set:name=value" through the control's setter, "focus:name", "type:keys" into the focused
// box, "clear" it, "click:name", "leave" (the focus moves to cmdClose), "sql:statement".
void run(QWidget* form, const QString& steps)
{
    for (const QString& step : steps.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString verb = step.section(QLatin1Char(':'), 0, 0);
        const QString arg = step.section(QLatin1Char(':'), 1);
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        if (verb == QLatin1String("set")) {
            const QString value = arg.section(QLatin1Char('='), 1);
            QWidget* w = child(form, name);
            if (auto* list = qobject_cast<QComboBox*>(w))
                ui::setListIndex(list, value.toInt());
            else
                ui::setText(qobject_cast<QLineEdit*>(w), value);
        } else if (verb == QLatin1String("focus")) {
            child(form, arg)->setFocus(Qt::TabFocusReason);
        } else if (verb == QLatin1String("type")) {
            QTest::keyClicks(form->focusWidget(), arg);
        } else if (verb == QLatin1String("clear")) {
            qobject_cast<QLineEdit*>(form->focusWidget())->selectAll();
            QTest::keyClick(form->focusWidget(), Qt::Key_Backspace);
        } else if (verb == QLatin1String("click")) {
            QTest::mouseClick(child(form, arg), Qt::LeftButton, {}, QPoint(8, 8));
        } else if (verb == QLatin1String("leave")) {
            child(form, QStringLiteral("cmdClose"))->setFocus(Qt::TabFocusReason);
        } else {
            gDBConnection.exec(arg);
        }
    }
}

struct HandlerRow {
    const char* name;
    const char* rows = "";
    const char* steps = "";
    const char* shown = "";    // "objectName=value;..."
    const char* disabled = ""; // objectNames disabled or hidden
    const char* stored = "";   // "TABLE:field=value;..." of the table's first row; "TABLE:" for none
    const char* message = "";  // the msgbox key shown
};

struct TextRow {
    const char* name;
    const char* rows = "";
    const char* setUp = ""; // steps before the button
    const char* button = "cmdIng";
    const char* answer = "type:Salt|enter|ok"; // in the text editor: "type:keys", "clear", "enter", "ok", "cancel"
    const char* shown = "";
    const char* stored = "";
    const char* message = "";
};

} // namespace

Q_DECLARE_METATYPE(HandlerRow)
Q_DECLARE_METATYPE(TextRow)

class TestFrmOtherFile : public test::TransferFolderTest {
    Q_OBJECT

    QStringList m_messages;

    // The window on the working database, active, as the menu opens it.
    frmOtherFile* open()
    {
        test::loadTexts();
        gSettings().gDecimalSign = QStringLiteral(".");
        gSettings().gPricePoint = 2;
        gSettings().gWeightPoint = 3;
        otherfiles::setOtherFilesClock([] { return QDateTime(QDate(2027, 3, 5), QTime(9, 7)); });
        m_messages.clear();
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r.text.section(QLatin1Char('\n'), 0, 0);
            return int(ui::MsgOk);
        });
        auto* form = new frmOtherFile;
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
        if (!QTest::qWaitForWindowActive(form))
            qFatal("the window does not become active");
        return form;
    }

    void check(QWidget* form, const QString& shown, const QString& disabled, const QString& stored,
               const QString& message)
    {
        QStringList got;
        for (const QString& pair : shown.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            got << pair.section(QLatin1Char('='), 0, 0) + QLatin1Char('=')
                    + valueOf(child(form, pair.section(QLatin1Char('='), 0, 0)));
        QCOMPARE(got.join(QLatin1Char(';')), shown);
        for (const QString& name : disabled.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            QVERIFY2(!child(form, name)->isEnabled() || child(form, name)->isHidden(), qPrintable(name));
        if (!stored.isEmpty()) {
            const QString table = stored.section(QLatin1Char(':'), 0, 0);
            const QString fields = stored.section(QLatin1Char(':'), 1);
            const QList<qint64> ids = test::rowIds(table);
            QCOMPARE(ids.isEmpty(), fields.isEmpty());
            QString mismatch;
            QVERIFY2(ids.isEmpty() || test::hasFieldValues(test::rowValues(table, ids.first()), fields, &mismatch),
                     qPrintable(mismatch));
        }
        QCOMPARE(m_messages.join(QLatin1Char('|')),
                 message.isEmpty() ? QString() : gLangMsg.text(message).section(QLatin1Char('\n'), 0, 0));
    }

private slots:
    // An empty database at date order 4 and the decimal sign ",": number 1 of every kind with its defaults.
    void openingEmpty()
    {
        gSettings().gDateType = 4;
        frmOtherFile* form = open();
        gSettings().gDecimalSign = QStringLiteral(",");
        run(form, QStringLiteral("set:txtPriceScheNo=1"));
        check(form,
              "txtIngNo=1;txtIngNextNo=0;combClerkNo=0;txtTaxName=VAT1;txtStockName= ;meditNewUPrice=0,00;"
              "lblDiscLimit1G=kg;cmdIng=S",
              "lblDiscLmtPerSym1", "KVB_A8:", "");
        QCOMPARE(qobject_cast<QDateTimeEdit*>(child(form, "DTPickerStartDatePrice"))->text(),
                 QStringLiteral("05.03.27"));
        QCOMPARE(qobject_cast<QDateTimeEdit*>(child(form, "DTPickerEndTime"))->displayFormat(),
                 QStringLiteral("HH:mm"));
        form->close();
    }

    void handlers_data()
    {
        QTest::addColumn<HandlerRow>("row");
        // clang-format off
        const HandlerRow rows[] = {
            {.name = "a text number shows its record", .rows = "KVB_3A:No=5;NextNo=8;NameFirstLine=SHOP;Name=S", .steps = "set:txtIngNo=5", .shown = "txtIngNextNo=8;txtIngredient=SHOP"},
            {.name = "an emptied text number", .steps = "set:txtSMsgNo=", .shown = "txtSMsg=", .disabled = "txtSMsgNextNo;cmdSMsg"},
            {.name = "an emptied schedule number", .steps = "set:txtDiscScheNo=", .disabled = "txtDiscScheNextNo;Frame1"},
            {.name = "a number list shows its record", .rows = "KVB_A8:Code=3;Name=TX;Rate=1750;Status=1", .steps = "set:combTaxNo=2", .shown = "txtTaxName=TX;meditTaxRate=17.50;combTaxType=1"},
            {.name = "a failed read", .steps = "sql:DROP TABLE KVB_AB|set:txtPriceScheNo=2", .disabled = "txtPriceScheNextNo;Frame2", .message = "dbReadErr"},
            {.name = "a name left", .steps = "focus:txtClerkName|type:Ann|leave", .stored = "KVB_44:Clerk_No=1;Name=Ann"},
            {.name = "a list left", .steps = "set:combStockType=2|focus:combStockType|leave", .stored = "KVB_AC:Number=1;Type=2;Name= "},
            {.name = "a status box left", .steps = "click:chkCardReader|leave", .stored = "KVB_AD:Number=1;Status=8;Name= "},
            {.name = "a picker left", .steps = "set:combDiscType=1|focus:DTPickerStartDate|leave", .stored = "KVB_AA:Number=1;Disc_Type=1;Disc_SDate=50327"},
            {.name = "a next number left", .steps = "focus:txtIngNextNo|type:7|leave", .stored = "KVB_3A:No=1;NextNo=7"},
            {.name = "an emptied next number saves 0", .rows = "KVB_AB:Number=1;NextNumber=4;NewUnitPrice=5", .steps = "focus:txtPriceScheNextNo|clear|leave", .shown = "txtPriceScheNextNo=0", .stored = "KVB_AB:NextNumber=0;NewUnitPrice=5"},
            {.name = "an amount entered and left", .steps = "set:combDiscType=2|focus:meditDiscLmtPer1|type:05|leave", .shown = "meditDiscLmtPer1=0.05", .stored = "KVB_AA:Disc_Type=2;Disc_Within1stL=5"},
            {.name = "the discount type", .steps = "set:combDiscType=6", .shown = "lblDiscLmtPer1=Fixed price", .disabled = "meditDiscLimit1;meditDiscLimit2;meditDiscLmtPer2"},
            {.name = "the limit type", .steps = "set:meditDiscLimit1=1.500|set:combDiscLimitType=1", .shown = "meditDiscLimit1=1500;lblDiscLimit2G=pcs"},
            {.name = "a send box ticked", .rows = "KVB_44:Clerk_No=1;Name=Ann", .steps = "click:chkClerk", .shown = "chkClerk=1", .stored = "KVB_44:Is_Selected=1"},
            {.name = "a send box with nothing to send", .rows = "KVB_A8:Code=1;Rate=0", .steps = "click:chkTax", .shown = "chkTax=0", .stored = "KVB_A8:Is_Selected=0"},
            {.name = "a builder's untick answer", .rows = "KVB_44:Clerk_No=1;Name=Ann", .steps = "click:chkClerk|focus:txtClerkName|clear|leave", .shown = "chkClerk=0", .stored = "KVB_44:Name= ;Is_Selected=0"},
            {.name = "a failed save", .steps = "sql:CREATE TRIGGER refuse BEFORE INSERT ON KVB_44 BEGIN SELECT RAISE(ABORT, 'refused'); END|focus:txtClerkName|type:Ann|leave", .shown = "txtClerkName=Ann", .stored = "KVB_44:", .message = "dbWriteErr"},
        };
        // clang-format on
        for (const HandlerRow& row : rows)
            QTest::newRow(row.name) << row;
    }
    void handlers()
    {
        QFETCH(HandlerRow, row);
        addRows(QString::fromUtf8(row.rows));
        frmOtherFile* form = open();
        run(form, QString::fromUtf8(row.steps));
        check(form, row.shown, row.disabled, row.stored, row.message);
        form->close();
    }

    // The commands send the ticked kinds' files in their order, or the date and time, through the transfer window;
    // the send leaves the marks as they were.
    void sends()
    {
        addRows(QStringLiteral("KVB_A8:Code=1;Rate=700|KVB_3A:No=1;NameFirstLine=A;Name=A"));
        test::addScaleInUse();
        frmOtherFile* form = open();
        QList<QStringList> requests;
        test::WindowAnswer answer(QStringLiteral("frmFTPDataTrans"), [&](QWidget*) { requests << gTransferFiles; });
        run(form, QStringLiteral("click:cmdSend|click:chkTax|click:chkIng|click:cmdSend|click:cmdDTTM|click:cmdDTTM"));
        QCOMPARE(requests,
                 (QList<QStringList>{{}, {"ING0UALL.csv", "TAX0UALL.csv"}, {"DAT0UALL.csv"}, {"DAT0UALL.csv"}}));
        QCOMPARE(test::rowCount(QStringLiteral("KVB_4E")), 1);
        check(form, "chkTax=1;chkIng=1", "", "KVB_A8:Is_Selected=1", "");
        form->close();
    }

    void textEditor_data()
    {
        QTest::addColumn<TextRow>("row");
        // clang-format off
        const TextRow rows[] = {
            {.name = "OK saves the text", .shown = "txtIngredient=Salt;txtIngNextNo=0", .stored = "KVB_3A:No=1;NextNo=0;NameFirstLine=Salt"},
            {.name = "an emptied text unticks", .rows = "KVB_3B:No=1;NameFirstLine=A;Name=\x01\x01" "A\x0C", .setUp = "click:chkSmsg", .button = "cmdSMsg", .answer = "clear|enter|ok", .shown = "txtSMsg=;chkSmsg=0", .stored = "KVB_3B:NameFirstLine= ;Is_Selected=0"},
            {.name = "Cancel", .button = "cmdAdv", .answer = "type:Ad|cancel", .shown = "txtAdv=", .stored = "KVB_3C:"},
            {.name = "a failed save", .setUp = "sql:CREATE TRIGGER refuse BEFORE INSERT ON KVB_3D BEGIN SELECT RAISE(ABORT, 'refused'); END", .button = "cmdSName", .answer = "type:Shop|enter|ok|cancel", .shown = "txtSName=", .stored = "KVB_3D:", .message = "dbWriteErr"},
        };
        // clang-format on
        for (const TextRow& row : rows)
            QTest::newRow(row.name) << row;
    }
    // The text buttons open the text editor on their kind's text; its OK saves the row.
    void textEditor()
    {
        QFETCH(TextRow, row);
        addRows(QString::fromLatin1(row.rows));
        frmOtherFile* form = open();
        run(form, QString::fromUtf8(row.setUp));
        test::WindowAnswer answer(QStringLiteral("frmStringEdit"), [&](QWidget* editor) {
            for (const QString& step : QString::fromUtf8(row.answer).split(QLatin1Char('|'))) {
                auto* box = qobject_cast<QLineEdit*>(ui::cellEditor(editor->findChild<QTableWidget*>()));
                if (step == QLatin1String("enter"))
                    QTest::keyClick(box, Qt::Key_Return);
                else if (step == QLatin1String("clear"))
                    box->clear();
                else if (step.startsWith(QLatin1String("type:")))
                    QTest::keyClicks(box, step.mid(5));
                else
                    qobject_cast<QPushButton*>(
                        child(editor, QLatin1String("cmd") + (step == QLatin1String("ok") ? "OK" : "Cancel")))
                        ->click();
            }
        });
        run(form, QLatin1String("click:") + QLatin1String(row.button));
        QCOMPARE(answer.count(), 1);
        check(form, row.shown, "", row.stored, row.message);
        form->close();
    }

    // Closing by the frame saves the field being edited.
    void closingSavesTheFocusedField()
    {
        frmOtherFile* form = open();
        run(form, QStringLiteral("focus:txtClerkName|type:Ann"));
        form->close();
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT Name FROM KVB_44 WHERE Clerk_No = 1")).toString(),
                 QStringLiteral("Ann"));
    }
};

QTEST_MAIN(TestFrmOtherFile)
#include "tst_frmotherfile.moc"
