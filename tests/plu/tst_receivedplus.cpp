// The received-PLU review's rules without its window: the list, the target lists, the copy into a store and the
// values of the record view.

#include "PluFixture.h"

#include "plu/PluFields.h"
#include "plu/ReceivedPlus.h"
#include "plu/ReceivedRecordView.h"
#include "state/SettingsState.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// Adds RC_25 rows for the numbers, each priced 1000 times its occurrence plus its number, main group 30,
// Stat2_MGCode 0, as a scale sends them.
void addReceived(const QString& numbers)
{
    QHash<QString, int> seen;
    for (const QString& no : numbers.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        addRow(QStringLiteral("RC_25"),
               {{"PLU_No", no},
                {"ST_No", 4},
                {"PLU_MG", 30},
                {"PLU_UPrice", 1000 * ++seen[no] + no.toInt()},
                {"Stat2_MGCode", 0},
                {"KVBBinData", QByteArray("rec")},
                {"Is_Selected", 0}});
}

// Store 1's PLUs in stored order as "number=price/main group/Stat2_MGCode", "*" when marked for sending.
QString storeRows()
{
    db::Statement st = gDBConnection.prepare(QStringLiteral(
        "SELECT PLU_No, PLU_UPrice, PLU_MG, Stat2_MGCode, Is_Selected FROM KVB_25 WHERE ST_No=1 ORDER BY rowid"));
    QStringList out;
    while (st.step())
        out << QStringLiteral("%1=%2/%3/%4%5")
                   .arg(st.columnInt(0))
                   .arg(st.columnInt(1))
                   .arg(st.columnInt(2))
                   .arg(st.columnInt(3))
                   .arg(st.columnInt(4) ? QStringLiteral("*") : QString());
    return out.join(QLatin1Char(' '));
}

struct CopyCase {
    const char* name;
    const char* stored = "5 9";          // store 1's PLUs before, each priced at its number
    const char* received = "3 5 7 9 12"; // RC_25, in the order they came
    const char* unmarked = "";           // received numbers the operator did not mark
    bool overwrite = true;               // chkSamePLU
    const char* mainGroup = "12";        // combMG
    int copies = 1;
    const char* refused = "";  // a number the database refuses to take
    bool noStore = false;      // STORE emptied
    const char* expected = ""; // storeRows() afterwards
    int written = 5;           // of the last copy; -1 when it throws
    const char* named = "";    // the rows it refused, "|"-joined
};

// clang-format off
const CopyCase kCopyCases[] = {
    {.name = "override", .expected = "5=1005/12/1 9=1009/12/1 3=1003/12/1 7=1007/12/1 12=1012/12/1"},
    {.name = "no override", .overwrite = false, .expected = "5=5/12/1 9=9/12/1 3=1003/12/1 7=1007/12/1 12=1012/12/1", .written = 3},
    {.name = "empty store", .stored = "", .expected = "3=1003/12/1 5=1005/12/1 7=1007/12/1 9=1009/12/1 12=1012/12/1"},
    {.name = "main group 997", .stored = "", .received = "3", .mainGroup = "997", .expected = "3=1003/997/0", .written = 1},
    {.name = "copied twice", .copies = 2, .expected = "5=1005/12/1 9=1009/12/1 3=1003/12/1 7=1007/12/1 12=1012/12/1"},
    {.name = "5 received twice, override", .stored = "", .received = "5 5", .expected = "5=2005/12/1", .written = 2},
    {.name = "5 received twice, no override", .stored = "", .received = "5 5", .overwrite = false, .expected = "5=1005/12/1", .written = 1},
    {.name = "unmarked skipped", .stored = "", .unmarked = "5 9", .expected = "3=1003/12/1 7=1007/12/1 12=1012/12/1", .written = 3},
    {.name = "write refused partway", .refused = "7", .expected = "5=5/12/1 9=9/12/1", .written = -1},
    {.name = "no store", .noStore = true, .expected = "5=5/12/1 9=9/12/1", .written = -1},
    {.name = "out of range", .stored = "", .received = "3 -5 1000000 7", .expected = "3=1003/12/1 7=1007/12/1", .written = 2, .named = "-5: PLU_No \"-5\" outside 1 to 999999|1000000: PLU_No \"1000000\" outside 1 to 999999"},
};

struct ViewCase {
    const char* name;
    const char* fields = "";   // of the received row, beside PLU 42 weighed; "name=" a one-line name block
    const char* expected;      // control=value; a picker left as it is shows "keep"
};

const ViewCase kViewCases[] = {
    {.name = "flags 255", .fields = "PLU_EANFlags=255", .expected = "meditFlagCode1=F;meditFlagCode2=F"},
    {.name = "flags 37", .fields = "PLU_EANFlags=37", .expected = "meditFlagCode1=3;meditFlagCode2=7"},
    {.name = "flags 5", .fields = "PLU_EANFlags=5", .expected = "meditFlagCode1=0;meditFlagCode2=5"},
    {.name = "bar format 255", .fields = "PLU_BarFormat=255", .expected = "combBarcodeFormat=29;lblReference= Inherited"},
    {.name = "bar format 3", .fields = "PLU_BarFormat=3", .expected = "combBarcodeFormat=3;lblReference= EAN-13 FF IIII PPPPPP C"},
    {.name = "bar format 40", .fields = "PLU_BarFormat=40", .expected = "combBarcodeFormat=-1;lblReference="},
    {.name = "date 311299", .fields = "PLU_Disc_SDate=311299;PLU_Disc_ETime=1230", .expected = "DTPickerStartDate=2099-12-31;DTPickerEndTime=12:30"},
    {.name = "date 0", .fields = "PLU_Disc_SDate=0;PLU_Disc_STime=0", .expected = "DTPickerStartDate=keep;DTPickerStartTime=keep"},
    {.name = "no date 310299, no time 2460", .fields = "PLU_Disc_EDate=310299;PLU_Disc_ETime=2460", .expected = "DTPickerEndDate=keep;DTPickerEndTime=keep"},
    {.name = "mask 65", .fields = "PLU_DisDayOfWeek=65", .expected = "meditDiscDayOfWeek=1000001"},
    {.name = "mask 1", .fields = "PLU_DisDayOfWeek=1", .expected = "meditDiscDayOfWeek=0000001"},
    {.name = "mask 0", .fields = "PLU_DisDayOfWeek=0", .expected = "meditDiscDayOfWeek=0"},
    {.name = "weighed", .fields = "PLU_Tare=250;PLU_Disc_1stLim=1500", .expected = "chkWeighed=1;meditTare=0.250;meditDiscLimit1=1.500;lblDiscLimit1G=kg;unit=per kg;tare=1"},
    {.name = "sold by count", .fields = "Stat1_Unit=1;Stat1_PBPreUnit=2;PLU_Disc_2ndLim=1500", .expected = "chkWeighed=0;combSymbol=0;meditDiscLimit2=1500;lblDiscLimit2G=pcs;unit=per piece;tare=0"},
    {.name = "discount type 3", .fields = "PLU_Disc_Type=3;PLU_Disc_Within1stL=1234;PLU_UPrice=1234", .expected = "combDiscType=3;meditDiscLmtPer1=12.34;meditUPrice=1234"},
    {.name = "discount type 5", .fields = "PLU_Disc_Type=5;PLU_Disc_Within2ndL=5", .expected = "meditDiscLmtPer2=0.05"},
    {.name = "discount type 2", .fields = "PLU_Disc_Type=2;PLU_Disc_Within1stL=1234", .expected = "meditDiscLmtPer1=1234"},
    {.name = "name over 50", .fields = "name=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", .expected = "txtName=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwx"},
    {.name = "null name and item code", .expected = "txtName=;meditItemCode=;meditPLU=42"},
    {.name = "item code longer than its box", .fields = "PLU_EANItemCode=12345", .expected = "meditItemCode=12345"},
    {.name = "discount type 9", .fields = "PLU_Disc_Type=9", .expected = "combDiscType=-1"},
    {.name = "RS data 7", .fields = "PLU_RSData=7;Stat1_MemPriceType=1", .expected = "combRSData=-1;combMemDiscType=1"},
    {.name = "weighed unit 2", .fields = "Stat1_PBPreUnit=2", .expected = "combSymbol=-1"},
};

struct TargetCase {
    const char* name;
    const char* added = "";      // "table:store:number" rows added (KVB_20 a department, STORE a store)
    bool empty = false;          // no store, department or main group at all
    const char* store = "1";
    const char* department = ""; // a department chosen: only the main groups refilled
    const char* expected;        // "stores|departments|main groups"; departments empty when left as they were
};

const TargetCase kTargetCases[] = {
    {.name = "no store", .empty = true, .store = "99", .expected = "99|97|997"},
    {.name = "store 1", .expected = "1|97|12 997"},
    {.name = "department without main groups", .added = "KVB_20:1:3", .expected = "1|97|12 997"},
    {.name = "department 5 chosen", .department = "5", .expected = "1||44"},
    {.name = "department 3 chosen", .added = "KVB_20:1:3", .department = "3", .expected = "1|97|12 997"},
    {.name = "department 97 without main groups", .added = "STORE:2:0;KVB_20:2:97", .store = "2", .expected = "1 2|97|997"},
    {.name = "store without departments", .added = "STORE:3:0", .store = "3", .expected = "1 3|97|997"},
};
// clang-format on

QString shown(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDate:
        return v.toDate().isValid() ? v.toDate().toString(Qt::ISODate) : QStringLiteral("keep");
    case QMetaType::QTime:
        return v.toTime().isValid() ? v.toTime().toString(QStringLiteral("HH:mm")) : QStringLiteral("keep");
    default:
        return v.isValid() ? v.toString() : QStringLiteral("keep");
    }
}

} // namespace

Q_DECLARE_METATYPE(CopyCase)
Q_DECLARE_METATYPE(ViewCase)
Q_DECLARE_METATYPE(TargetCase)

class tst_ReceivedPlus : public QObject {
    Q_OBJECT

    TransferFolder m_folder;

private slots:
    void initTestCase() { QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText())); }
    void init()
    {
        resetPlu();
        gSettings().gPricePoint = 0;
        emptyTables({"RC_25"});
    }

    // Rows carrying a mark when the list loads are left out; the rest by number, then as received.
    void listLeavesMarkedOut()
    {
        addReceived("9 3 7 3");
        gDBConnection.exec(QStringLiteral("UPDATE RC_25 SET Is_Selected=PLU_No-8 WHERE PLU_No>=9"));
        addRow(QStringLiteral("RC_25"), {{"PLU_No", 1}, {"Is_Selected", 2}});
        OpenReceivedList();
        QStringList listed;
        for (gRsReceived.moveFirst(); !gRsReceived.eof(); gRsReceived.moveNext())
            listed << gRsReceived.textValue(QStringLiteral("PLU_No")) + QLatin1Char('/')
                    + gRsReceived.textValue(QStringLiteral("PLU_UPrice"));
        QCOMPARE(listed.join(QLatin1Char(' ')), QStringLiteral("3/1003 3/2003 7/1007"));
        gRsReceived.close();
        QVERIFY(HasReceivedPLUs());
        EmptyReceivedPLUs();
        QVERIFY(!HasReceivedPLUs());
    }

    void copy_data()
    {
        QTest::addColumn<CopyCase>("c");
        for (const CopyCase& c : kCopyCases)
            QTest::newRow(c.name) << c;
    }
    void copy()
    {
        QFETCH(CopyCase, c);
        for (const QString& no : QString::fromLatin1(c.stored).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            addPlu(QStringLiteral("PLU_No=%1;PLU_UPrice=%1;Stat2_MGCode=1").arg(no));
        addReceived(QString::fromLatin1(c.received));
        OpenReceivedList();
        // The window's marks: every listed row but the unmarked ones.
        gDBConnection.exec(QStringLiteral("UPDATE RC_25 SET Is_Selected=1"));
        for (const QString& no : QString::fromLatin1(c.unmarked).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            gDBConnection.exec(QStringLiteral("UPDATE RC_25 SET Is_Selected=0 WHERE PLU_No=?"), {no.toInt()});
        test::FailingWrites refuse(*c.refused ? QStringLiteral("BEFORE INSERT ON KVB_25 WHEN NEW.PLU_No=%1")
                                                    .arg(QString::fromLatin1(c.refused).toInt())
                                              : QString());
        if (c.noStore)
            emptyTables({"STORE"});
        const ReceivedCopyTarget target{
            .store = QStringLiteral("1"), .mainGroup = QString::fromLatin1(c.mainGroup), .overwrite = c.overwrite};
        const int listed = gRsReceived.recordCount();
        QList<int> bar;
        int written = -1;
        QString named;
        try {
            for (int i = 0; i < c.copies; ++i) {
                bar.clear();
                const ReceivedCopyResult result = CopyReceivedPLUs(gRsReceived.rowids(), target,
                                                                   [&](int value) { bar << value; });
                written = result.written;
                named = text::namedLinesText(result.refused.named, result.refused.count).join(QLatin1Char('|'));
            }
        } catch (const Error& e) {
            written = -1;
            if (c.noStore)
                QCOMPARE(e.message(), QStringLiteral("No store exists: create one before copying."));
        }
        refuse.drop();
        gRsReceived.close();
        QCOMPARE(storeRows(), QString::fromLatin1(c.expected));
        QCOMPARE(written, c.written);
        QCOMPARE(named, QLatin1String(c.named));
        if (written >= 0) {
            QCOMPARE(int(bar.size()), listed);
            QCOMPARE(bar.last(), listed);
        }
    }

    void recordView_data()
    {
        QTest::addColumn<ViewCase>("c");
        for (const ViewCase& c : kViewCases)
            QTest::newRow(c.name) << c;
    }
    void recordView()
    {
        QFETCH(ViewCase, c);
        records::PluRow row;
        row.load(records::plu::PLU_No, 42);
        for (const auto& [field, value] : pairs(QString::fromLatin1(c.fields))) {
            if (field == QLatin1String("name")) {
                row.load(records::plu::PLU_Commodity, textLine(char(1), value.toLatin1(), 0x0C));
                continue;
            }
            for (int f = 0; f < records::plu::Count; ++f)
                if (field == QLatin1String(records::plu::name(records::plu::Field(f))))
                    row.load(records::plu::Field(f), value);
        }
        const ReceivedRecordView view = receivedRecordView(row);
        QStringList got;
        for (const auto& [control, expected] : pairs(QString::fromLatin1(c.expected))) {
            const QHash<QString, QString> labels{{"unit", view.units.combSymbol.join(QLatin1Char(','))},
                                                 {"tare", QString::number(view.units.tareVisible)},
                                                 {"lblDiscLimit1G", view.units.lblDiscLimitG},
                                                 {"lblDiscLimit2G", view.units.lblDiscLimitG},
                                                 {"lblReference", view.lblReference}};
            got << control + QLatin1Char('=') + labels.value(control, shown(view.value(control)));
        }
        QCOMPARE(got.join(QLatin1Char(';')), QString::fromLatin1(c.expected));
        QCOMPARE(view.values.size(), pluFields().size());
    }

    void targetLists_data()
    {
        QTest::addColumn<TargetCase>("c");
        for (const TargetCase& c : kTargetCases)
            QTest::newRow(c.name) << c;
    }
    void targetLists()
    {
        QFETCH(TargetCase, c);
        if (c.empty)
            emptyTables({"STORE", "KVB_20", "KVB_23"});
        for (const QString& add : QString::fromLatin1(c.added).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList p = add.split(QLatin1Char(':'));
            addRow(p[0],
                   p[0] == QLatin1String("STORE") ? QVariantMap{{"ST_No", p[1]}}
                                                  : QVariantMap{{"ST_No", p[1]}, {"DP_No", p[2]}});
        }
        const QString store = QString::fromLatin1(c.store);
        const ReceivedDeptMG lists = *c.department ? receivedMGList(store, QString::fromLatin1(c.department))
                                                   : receivedDeptMGLists(store);
        QCOMPARE(QStringList({receivedStoreList().join(QLatin1Char(' ')), lists.combDP.join(QLatin1Char(' ')),
                              lists.combMG.join(QLatin1Char(' '))})
                     .join(QLatin1Char('|')),
                 QString::fromLatin1(c.expected));
        QCOMPARE(anyStoreExists(), !c.empty);
    }
};

QTEST_MAIN(tst_ReceivedPlus)
#include "tst_receivedplus.moc"
