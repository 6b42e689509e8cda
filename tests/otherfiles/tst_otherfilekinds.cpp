#include "support/CodecTestDb.h"
#include "support/FieldValues.h"
#include "support/TransferFixture.h"
#include "support/WindowSteps.h"

#include "otherfiles/OtherFileFields.h"
#include "platform/text/Ansi.h"
#include "settings/Settings.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::otherfiles;

namespace {

const QDateTime kNow(QDate(2027, 3, 5), QTime(9, 7, 42));

// Adds the rows "field=value;...|field=value;..." to the table.
void addRows(const QString& table, const QString& rows)
{
    for (const QString& row : rows.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        test::addTableRows(table + QLatin1Char(':') + row);
}

// A shown value as the tables write it: dates ISO, times HH:mm, check boxes 1 or 0.
QString asText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QTime)
        return v.toTime().toString(QStringLiteral("HH:mm"));
    return v.typeId() == QMetaType::Bool ? QString::number(v.toInt()) : v.toString();
}

// The values of a kind's controls as the table writes them, in binding order.
QString shownText(const OtherFileKind& kind, const QVariantMap& values)
{
    QStringList out;
    for (const FieldBinding* b : bindingsOf(kind))
        if (values.contains(QLatin1String(b->control)))
            out << QLatin1String(b->control) + QLatin1Char('=') + asText(values.value(b->control));
    return out.join(QLatin1Char(';'));
}

// "objectName=text;..." as the window would show them, typed as each control's kind shows (a send box a check).
QVariantMap shownValues(const QString& list)
{
    QVariantMap values;
    for (const auto& [name, text] : test::pairs(list)) {
        const FieldBinding* b = bindingOf(name);
        QVariant v = text;
        v.convert(b ? fields::shownValue(b->kind, 0, 0, {}).metaType() : QMetaType::fromType<bool>());
        values.insert(name, v);
    }
    return values;
}

struct ShowRow {
    const char* name;
    const char* table;
    qint64 number;
    const char* rows = "";
    const char* shown = "";
    bool found = true;
    const char* text = "";
};

struct SaveRow {
    const char* name;
    const char* table;
    qint64 number = 3;
    qint64 next = 0;
    const char* values = "";
    const char* text = "";
    const char* stored = ""; // "field,field=value,value" of the row
    bool untick = false;
};

struct MarkRow {
    const char* name;
    const char* table;
    const char* rows;
    bool ticked = true;
    const char* marks = ""; // Is_Selected of the rows in stored order
    bool stays = true;
};

} // namespace

Q_DECLARE_METATYPE(ShowRow)
Q_DECLARE_METATYPE(SaveRow)
Q_DECLARE_METATYPE(MarkRow)

class TestOtherFileKinds : public test::TransferFolderTest {
    Q_OBJECT

    void setFormats()
    {
        gSettings().gPricePoint = 2;
        gSettings().gWeightPoint = 3;
        gSettings().gDecimalSign = QStringLiteral(".");
        setOtherFilesClock([] { return kNow; });
    }

private slots:
    void showRecord_data();
    void showRecord();
    void saveShown_data();
    void saveShown();
    void markForSending_data();
    void markForSending();
    void sendsTheTickedFilesAndTheDateAndTime();
};

void TestOtherFileKinds::showRecord_data()
{
    QTest::addColumn<ShowRow>("row");
    // clang-format off
    const ShowRow rows[] = {
        {.name = "tax 7 absent", .table = "KVB_A8", .number = 7, .shown = "txtTaxName=VAT7;meditTaxRate=0.00;combTaxType=0", .found = false},
        {.name = "tax found", .table = "KVB_A8", .number = 3, .rows = "Code=3;Name=TX;Rate=1750;Status=1", .shown = "txtTaxName=TX;meditTaxRate=17.50;combTaxType=1"},
        {.name = "stock status 5", .table = "KVB_AC", .number = 2, .rows = "Number=2;Name=Key;Type=2;Status=5", .shown = "txtStockName=Key;combStockType=2;chkPrefix=1;chkCostPrint=0;chkShopNameNo=1;combPLUType=0"},
        {.name = "stock out of range", .table = "KVB_AC", .number = 2, .rows = "Number=2;Name=Key;Type=7;Status=26", .shown = "txtStockName=Key;combStockType=0;chkPrefix=0;chkCostPrint=1;chkShopNameNo=0;combPLUType=0"},
        {.name = "stock absent", .table = "KVB_AC", .number = 2, .shown = "txtStockName= ;combStockType=0;chkPrefix=0;chkCostPrint=0;chkShopNameNo=0;combPLUType=0", .found = false},
        {.name = "payment status 9", .table = "KVB_AD", .number = 1, .rows = "Number=1;Name=Cash;Status=9", .shown = "txtPaymentName=Cash;chkPayTotal=1;chkChange=0;chkRounding=0;chkCardReader=1"},
        {.name = "payment absent", .table = "KVB_AD", .number = 1, .shown = "txtPaymentName= ;chkPayTotal=0;chkChange=0;chkRounding=0;chkCardReader=0", .found = false},
        {.name = "clerk held twice", .table = "KVB_44", .number = 4, .rows = "Clerk_No=5;Name=Other|Clerk_No=4;Name=First|Clerk_No=4;Name=Second", .shown = "txtClerkName=First"},
        {.name = "clerk absent", .table = "KVB_44", .number = 4, .shown = "txtClerkName=", .found = false},
        {.name = "discount of type 4", .table = "KVB_AA", .number = 6, .rows = "Number=6;NextNumber=9;Disc_Type=4;Disc_LimitType=1;Disc_SDate=150324;Disc_EDate=311224;Disc_STime=830;Disc_ETime=2359;DisDayOfWeek=65;Disc_1stLim=300;Disc_2ndLim=500;Disc_Within1stL=5;Disc_Within2ndL=12345",
         .shown = "txtDiscScheNextNo=9;combDiscType=4;combDiscLimitType=1;DTPickerStartDate=2024-03-15;DTPickerStartTime=08:30;DTPickerEndDate=2024-12-31;DTPickerEndTime=23:59;meditDiscDayOfWeek=1000001;meditDiscLimit1=300;meditDiscLimit2=500;meditDiscLmtPer1=5;meditDiscLmtPer2=12345"},
        {.name = "discount of type 0 keeps the span", .table = "KVB_AA", .number = 6, .rows = "Number=6;NextNumber=2;Disc_Type=0;Disc_SDate=150324;DisDayOfWeek=65;Disc_1stLim=7",
         .shown = "txtDiscScheNextNo=2;combDiscType=0;combDiscLimitType=0;meditDiscLimit1=7;meditDiscLimit2=0;meditDiscLmtPer1=0;meditDiscLmtPer2=0"},
        {.name = "discount out of range", .table = "KVB_AA", .number = 6, .rows = "Number=6;Disc_Type=9;Disc_LimitType=5;Disc_SDate=310224;Disc_EDate=10100;Disc_STime=2460;Disc_ETime=0;DisDayOfWeek=0",
         .shown = "txtDiscScheNextNo=0;combDiscType=0;combDiscLimitType=0;DTPickerEndDate=2000-01-01;DTPickerEndTime=00:00;meditDiscDayOfWeek=0000000;meditDiscLimit1=0;meditDiscLimit2=0;meditDiscLmtPer1=0;meditDiscLmtPer2=0"},
        {.name = "discount absent", .table = "KVB_AA", .number = 6, .shown = "txtDiscScheNextNo=0;combDiscType=0;combDiscLimitType=0;DTPickerStartDate=2027-03-05;DTPickerEndDate=2027-03-05;meditDiscDayOfWeek=0;meditDiscLimit1=0;meditDiscLimit2=0;meditDiscLmtPer1=0;meditDiscLmtPer2=0", .found = false},
        {.name = "price found", .table = "KVB_AB", .number = 2, .rows = "Number=2;NextNumber=3;NewUnitPrice=499;Price_SDate=10127;Price_STime=800;Price_EDate=311227;Price_ETime=2000;PriceDayOfWeek=127",
         .shown = "txtPriceScheNextNo=3;DTPickerStartDatePrice=2027-01-01;DTPickerStartTimePrice=08:00;DTPickerEndDatePrice=2027-12-31;DTPickerEndTimePrice=20:00;meditPriceDayOfWeek=1111111;meditNewUPrice=4.99"},
        {.name = "price 0 keeps the span", .table = "KVB_AB", .number = 2, .rows = "Number=2;NextNumber=3;Price_SDate=10127", .shown = "txtPriceScheNextNo=3;meditNewUPrice=0.00"},
        {.name = "price absent", .table = "KVB_AB", .number = 2, .shown = "txtPriceScheNextNo=0;DTPickerStartDatePrice=2027-03-05;DTPickerEndDatePrice=2027-03-05;meditPriceDayOfWeek=0;meditNewUPrice=0.00", .found = false},
        {.name = "text found", .table = "KVB_3A", .number = 5, .rows = "No=5;NextNo=8;NameFirstLine=SHOP;Name=SHOPBLOCK", .shown = "txtIngNextNo=8;txtIngredient=SHOP", .text = "SHOPBLOCK"},
        {.name = "text held twice, the first empty", .table = "KVB_3B", .number = 5, .rows = "No=5;NextNo=1;NameFirstLine= ;Name=<null>|No=5;NextNo=2;NameFirstLine=B;Name=BB", .shown = "txtSMsgNextNo=2;txtSMsg=B", .text = "BB"},
        {.name = "empty text keeps its link", .table = "KVB_3C", .number = 5, .rows = "No=5;NextNo=8;NameFirstLine= ;Name=<null>", .shown = "txtAdvNextNo=8;txtAdv="},
        {.name = "text absent", .table = "KVB_3D", .number = 5, .rows = "No=4;NextNo=8;NameFirstLine=X;Name=X", .shown = "txtSNameNextNo=0;txtSName=", .found = false},
    };
    // clang-format on
    for (const ShowRow& row : rows)
        QTest::newRow(row.name) << row;
}

void TestOtherFileKinds::showRecord()
{
    QFETCH(ShowRow, row);
    setFormats();
    addRows(row.table, row.rows);
    const OtherFileKind& kind = *kindOf(row.table);
    const ShownRecord shown = otherfiles::showRecord(kind, row.number);
    QCOMPARE(shown.found, row.found);
    QCOMPARE(shownText(kind, shown.values), QString::fromLatin1(row.shown));
    QCOMPARE(shown.text, QByteArray(row.text));
    QVERIFY(!gRsWork.isOpen());
}

void TestOtherFileKinds::saveShown_data()
{
    QTest::addColumn<SaveRow>("row");
    // clang-format off
    const SaveRow rows[] = {
        {.name = "stock status 19", .table = "KVB_AC", .values = "txtStockName=Key;combStockType=1;chkPrefix=1;chkCostPrint=1;combPLUType=2", .stored = "Number,Name,Type,Status=3,Key,1,19"},
        {.name = "stock saved from a box, empty name", .table = "KVB_AC", .values = "txtStockName=;chkShopNameNo=1", .stored = "Name,Status= ,4", .untick = true},
        {.name = "payment status 9", .table = "KVB_AD", .values = "txtPaymentName=Cash;chkPayTotal=1;chkCardReader=1", .stored = "Name,Status,Reserved=Cash,9,0"},
        {.name = "tax VAT3", .table = "KVB_A8", .values = "txtTaxName=;combTaxType=1;meditTaxRate=17.50", .stored = "Code,Name,Rate,Status=3,VAT3,1750,1"},
        {.name = "tax ATX3", .table = "KVB_A8", .values = "txtTaxName=;combTaxType=0;meditTaxRate=0.00", .stored = "Name,Rate,Status=ATX3,0,0", .untick = true},
        {.name = "clerk empty name", .table = "KVB_44", .values = "txtClerkName=", .stored = "Clerk_No,Name=3, ", .untick = true},
        {.name = "discount", .table = "KVB_AA", .next = 7, .values = "combDiscType=2;combDiscLimitType=0;DTPickerStartDate=2024-03-15;DTPickerStartTime=08:30;DTPickerEndDate=2027-12-31;DTPickerEndTime=23:59;meditDiscDayOfWeek=0111110;meditDiscLimit1=1.500;meditDiscLimit2=2.000;meditDiscLmtPer1=0.50;meditDiscLmtPer2=12.34",
         .stored = "NextNumber,Disc_Type,Disc_LimitType,Disc_SDate,Disc_STime,Disc_EDate,Disc_ETime,DisDayOfWeek,Disc_1stLim,Disc_2ndLim,Disc_Within1stL,Disc_Within2ndL=7,2,0,150324,830,311227,2359,62,1500,2000,50,1234"},
        {.name = "price, empty day box", .table = "KVB_AB", .next = 0, .values = "meditNewUPrice=17.50;meditPriceDayOfWeek=;DTPickerStartDatePrice=2027-01-01", .stored = "NextNumber,NewUnitPrice,PriceDayOfWeek,Price_SDate,Price_STime=0,1750,0,10127,0"},
        {.name = "text, box ticked", .table = "KVB_3A", .next = 4, .values = "txtIngredient=SHOP;chkIng=1", .text = "SHOPBLOCK", .stored = "No,NextNo,NameFirstLine,Is_Selected=3,4,SHOP,1"},
        {.name = "emptied text", .table = "KVB_3B", .values = "txtSMsg=;chkSmsg=1", .stored = "NextNo,NameFirstLine,Is_Selected=0, ,0", .untick = true},
    };
    // clang-format on
    for (const SaveRow& row : rows)
        QTest::newRow(row.name) << row;
}

void TestOtherFileKinds::saveShown()
{
    QFETCH(SaveRow, row);
    setFormats();
    ShownRecord shown;
    shown.values = shownValues(row.values);
    shown.text = row.text;
    QCOMPARE(otherfiles::saveShown(*kindOf(row.table), row.number, row.next, shown), row.untick);
    const QString stored = QString::fromLatin1(row.stored);
    QCOMPARE(test::storedRows(QLatin1String(row.table) + ':' + stored.section('=', 0, 0)), stored.section('=', 1));
}

void TestOtherFileKinds::markForSending_data()
{
    QTest::addColumn<MarkRow>("row");
    // clang-format off
    const MarkRow rows[] = {
        {.name = "texts", .table = "KVB_3A", .rows = "No=1;NameFirstLine=A|No=2;NameFirstLine= |No=3;NameFirstLine=<null>", .marks = "1 0 0"},
        {.name = "shop names", .table = "KVB_3D", .rows = "No=1;NameFirstLine= |No=2;NameFirstLine=B", .marks = "0 1"},
        {.name = "clerks", .table = "KVB_44", .rows = "Clerk_No=1;Name= |Clerk_No=2;Name=Ann", .marks = "0 1"},
        {.name = "no tax rate", .table = "KVB_A8", .rows = "Code=1;Rate=0;Is_Selected=1", .marks = "0", .stays = false},
        {.name = "taxes", .table = "KVB_A8", .rows = "Code=1;Rate=0;Is_Selected=1|Code=2;Rate=700", .marks = "0 1"},
        {.name = "stock keys", .table = "KVB_AC", .rows = "Number=1;Name=K", .marks = "1"},
        {.name = "payment keys", .table = "KVB_AD", .rows = "Number=1;Name= ", .marks = "0", .stays = false},
        {.name = "discount of D0 never", .table = "KVB_AA", .rows = "Number=1;Disc_Type=0|Number=2;Disc_Type=3", .marks = "0 1"},
        {.name = "price schedules", .table = "KVB_AB", .rows = "Number=1;NewUnitPrice=5", .marks = "1"},
        {.name = "clearing unmarks all", .table = "KVB_AB", .rows = "Number=1;NewUnitPrice=5;Is_Selected=1|Number=2;Is_Selected=1", .ticked = false, .marks = "0 0"},
        {.name = "empty table", .table = "KVB_3C", .rows = "", .marks = "", .stays = false},
    };
    // clang-format on
    for (const MarkRow& row : rows)
        QTest::newRow(row.name) << row;
}

void TestOtherFileKinds::markForSending()
{
    QFETCH(MarkRow, row);
    addRows(row.table, row.rows);
    QCOMPARE(otherfiles::markForSending(*kindOf(row.table), row.ticked), row.stays);
    QCOMPARE(test::storedRows(QLatin1String(row.table) + ":Is_Selected"), QString::fromLatin1(row.marks));
}

// Clerks, taxes and the date and time as the window saves, ticks and sends them; a clerk saved after the
// tick waits for the next tick.
void TestOtherFileKinds::sendsTheTickedFilesAndTheDateAndTime()
{
    setFormats();
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    test::fillTransferTexts();
    test::FtpServer server;
    QVERIFY(test::startScale(server));
    test::addScaleInUse();
    const auto save = [](const char* table, qint64 number, const char* values) {
        ShownRecord shown;
        shown.values = shownValues(QString::fromUtf8(values));
        return otherfiles::saveShown(*kindOf(table), number, 0, shown);
    };
    save("KVB_44", 1, "txtClerkName=Zo\u00eb");
    save("KVB_44", 2, "txtClerkName=Ann");
    save("KVB_A8", 1, "txtTaxName=VAT1;meditTaxRate=7.00;combTaxType=1");
    QVERIFY(otherfiles::markForSending(*kindOf("chkClerk"), true));
    QVERIFY(otherfiles::markForSending(*kindOf("chkTax"), true));
    save("KVB_44", 3, "txtClerkName=Bob");
    saveDateTimeToSend();
    saveDateTimeToSend();
    QCOMPARE(test::rowCount("KVB_4E"), 1);

    const QStringList files = filesToSend({"chkTax", "chkClerk", "chkIng"}) << QStringLiteral("DAT0UALL.csv");
    QCOMPARE(files, (QStringList{"ING0UALL.csv", "OPE0UALL.csv", "TAX0UALL.csv", "DAT0UALL.csv"}));
    QVERIFY(!test::sendToTheScale(files.mid(1)).contains(QLatin1String("Error")));
    for (const char* name : {"OPE0UALL.csv", "TAX0UALL.csv"})
        QCOMPARE(test::readFile(server.filePath(name)),
                 test::readFile(QStringLiteral(QUORVANE_TEST_DATA_DIR "/otherfiles/") + name));
    QCOMPARE(test::readFile(server.filePath("DAT0UALL.csv")), QByteArray("255,,27,3,5,9,7\r\n"));
    QCOMPARE(test::storedRows("KVB_44:Is_Selected"), QStringLiteral("1 1 0")); // the send leaves the marks
}

QTEST_MAIN(TestOtherFileKinds)
#include "tst_otherfilekinds.moc"
