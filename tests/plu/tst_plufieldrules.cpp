#include "PluFixture.h"

#include "plu/PluFieldRules.h"
#include "state/PluEditorState.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// One visit to an editor control: its text (or list position) shown, the focus, what is typed, the leaving.
struct FieldCase {
    QString box{};
    QString row = QStringLiteral("PLU_No=5;PLU_UPrice=125"); // the listed PLU; "" an empty list
    QString others{};                                        // another PLU of the store
    QString shown{};                                         // the box's text before the focus
    int position = -2; // a list's position or a check box's state, -2 as shown by the row
    int discType = 0;
    int editMode = 1;
    QString typed = QStringLiteral("-");   // the text typed over the selected one; "-" nothing typed
    QString focused = QStringLiteral("-"); // the text on getting the focus; "-" not compared
    int limit = 0;                         // set on getting the focus; 0 none
    int caret = -1;                        // after typing; -1 none placed
    QString left{};                        // the text after leaving
    int pluChanged = 0;
    QString refused{}; // what the host was asked to put back
};

} // namespace

Q_DECLARE_METATYPE(FieldCase)

class tst_PluFieldRules : public QObject {
    Q_OBJECT

    TransferFolder m_folder;

private slots:
    void initTestCase() { QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText())); }
    void init() { resetPlu(); }

    void leaving_data()
    {
        QTest::addColumn<FieldCase>("c");
        // clang-format off
        QTest::newRow("price typed over") << FieldCase{.box = "meditUPrice", .shown = "1.25", .typed = "9", .focused = "125", .limit = 6, .left = "0.09", .pluChanged = 1};
        QTest::newRow("price kept") << FieldCase{.box = "meditUPrice", .shown = "1.25", .limit = 6, .left = "1.25"};
        QTest::newRow("tax 07") << FieldCase{.box = "meditTaxNum", .row = "PLU_No=5;PLU_TaxNo=7", .typed = "07", .caret = 1, .left = "7"};
        QTest::newRow("0.50 kept") << FieldCase{.box = "meditCost", .typed = "0.50", .limit = 6, .left = "0.50", .pluChanged = 1};
        QTest::newRow("tare empty") << FieldCase{.box = "meditTare", .shown = "0.000", .typed = "", .focused = "0000", .limit = 4, .left = "0.000"};
        QTest::newRow("PLU 05") << FieldCase{.box = "meditPLU", .shown = "5", .typed = "05", .caret = 1, .left = "5"};
        QTest::newRow("PLU empty") << FieldCase{.box = "meditPLU", .shown = "5", .typed = "", .left = "", .refused = "refuse 5"};
        QTest::newRow("PLU taken") << FieldCase{.box = "meditPLU", .others = "PLU_No=7", .shown = "5", .typed = "7", .left = "7", .refused = "refuse 5 grid"};
        QTest::newRow("PLU free") << FieldCase{.box = "meditPLU", .shown = "5", .typed = "8", .left = "8", .pluChanged = 1};
        QTest::newRow("flag 1 of 23") << FieldCase{.box = "meditFlagCode1", .row = "PLU_No=5;PLU_EANFlags=23", .shown = "2", .left = "2"};
        QTest::newRow("flag 2 of 23") << FieldCase{.box = "meditFlagCode2", .row = "PLU_No=5;PLU_EANFlags=23", .shown = "3", .left = "3"};
        QTest::newRow("flag 1 to 4") << FieldCase{.box = "meditFlagCode1", .row = "PLU_No=5;PLU_EANFlags=23", .shown = "2", .typed = "4", .left = "4", .pluChanged = 1};
        QTest::newRow("flag F") << FieldCase{.box = "meditFlagCode1", .row = "PLU_No=5;PLU_EANFlags=23", .shown = "F", .left = "F", .pluChanged = 1};
        QTest::newRow("day mask kept") << FieldCase{.box = "meditDiscDayOfWeek", .row = "PLU_No=5;PLU_DisDayOfWeek=5", .shown = "0000101", .left = "0000101"};
        QTest::newRow("one more day") << FieldCase{.box = "meditDiscDayOfWeek", .row = "PLU_No=5;PLU_DisDayOfWeek=5", .shown = "0000101", .typed = "0000111", .left = "0000111", .pluChanged = 1};
        QTest::newRow("item code as text") << FieldCase{.box = "meditItemCode", .row = "PLU_No=5;PLU_EANItemCode=0012", .typed = "12", .left = "12", .pluChanged = 1};
        QTest::newRow("no item code passed through") << FieldCase{.box = "meditItemCode", .left = ""};
        QTest::newRow("item code emptied") << FieldCase{.box = "meditItemCode", .row = "PLU_No=5;PLU_EANItemCode=12", .shown = "12", .typed = "", .left = "", .pluChanged = 1};
        QTest::newRow("amount at type 3") << FieldCase{.box = "meditDiscLmtPer1", .shown = "123.45", .discType = 3, .focused = "2345", .limit = 4, .left = "23.45", .pluChanged = 1};
        QTest::newRow("amount at type 2") << FieldCase{.box = "meditDiscLmtPer1", .row = "PLU_No=5;PLU_UPrice=99999;PLU_Disc_Within1stL=12345", .shown = "123.45", .discType = 2, .focused = "12345", .limit = 6, .left = "123.45"};
        QTest::newRow("empty list") << FieldCase{.box = "meditUPrice", .row = "", .shown = "1.25", .typed = "9", .limit = 6, .left = "0.09"};
        QTest::newRow("REF with 255") << FieldCase{.box = "combBarcodeFormat", .row = "PLU_No=5;PLU_BarFormat=255", .position = 0};
        QTest::newRow("entry 3 with 2") << FieldCase{.box = "combBarcodeFormat", .row = "PLU_No=5;PLU_BarFormat=2", .position = 3};
        QTest::newRow("entry 3 with 255") << FieldCase{.box = "combBarcodeFormat", .row = "PLU_No=5;PLU_BarFormat=255", .position = 3, .pluChanged = 1};
        QTest::newRow("entry 3, display mode") << FieldCase{.box = "combBarcodeFormat", .row = "PLU_No=5;PLU_BarFormat=255", .position = 3, .editMode = 0};
        QTest::newRow("RS data, display mode") << FieldCase{.box = "combRSData", .position = 2, .editMode = 0};
        QTest::newRow("RS data") << FieldCase{.box = "combRSData", .position = 2, .pluChanged = 1};
        QTest::newRow("discount type") << FieldCase{.box = "combDiscType", .row = "PLU_No=5;PLU_Disc_Type=4", .position = 4};
        QTest::newRow("member type") << FieldCase{.box = "combMemDiscType", .position = 1, .pluChanged = 1};
        QTest::newRow("unit by count") << FieldCase{.box = "combSymbol", .row = "PLU_No=5;Stat1_Unit=1", .position = 1};
        QTest::newRow("price may be changed ticked") << FieldCase{.box = "chkUPoverride", .position = 1, .pluChanged = 1};
        QTest::newRow("negative PLU ticked") << FieldCase{.box = "chknegativePLU", .row = "PLU_No=5;Stat1_Unit=1", .position = 1, .pluChanged = 1};
        QTest::newRow("price priority ticked") << FieldCase{.box = "chkPricePriority", .position = 1, .pluChanged = 1};
        QTest::newRow("price priority as stored") << FieldCase{.box = "chkPricePriority", .row = "PLU_No=5;Stat1_PricePriority=1", .position = 1};
        QTest::newRow("sold by count as stored") << FieldCase{.box = "chkWeighed", .row = "PLU_No=5;Stat1_Unit=1", .position = 0};
        // clang-format on
    }
    void leaving()
    {
        QFETCH(FieldCase, c);
        if (!c.others.isEmpty())
            addPlu(c.others);
        if (!c.row.isEmpty())
            addPlu(c.row);
        gPluEditor().gHideSelectedCol = qint16(c.editMode);
        TestHost host;
        host.load();
        PluEditorValues& tab = host.values;
        tab.combDiscType = c.discType;
        const PluFieldRule* rule = pluFieldRule(c.box);
        const PluField& row = *pluField(c.box);
        if (!rule) {
            setShown(tab, row, c.position); // a list or a check box
            pluControlLostFocus(c.box, tab);
            QCOMPARE(int(gPluEditor().gPLUChanged), c.pluChanged);
            return;
        }
        QString* box = row.value.in<QString>(tab);
        QVERIFY(box);
        const FocusedBox focused = pluFieldGotFocus(*rule, c.shown, c.discType);
        if (c.focused != QLatin1String("-"))
            QCOMPARE(focused.text, c.focused);
        QCOMPARE(focused.limit.value_or(0), c.limit);
        *box = focused.text;
        if (c.typed != QLatin1String("-")) {
            const ChangedBox typed = pluFieldChanged(*rule, c.typed);
            QCOMPARE(typed.caret.value_or(-1), c.caret);
            *box = typed.text;
        }
        QCOMPARE(pluFieldLostFocus(*rule, tab, host), c.refused.isEmpty());
        QCOMPARE(*box, c.left);
        QCOMPARE(int(gPluEditor().gPLUChanged), c.pluChanged);
        QCOMPARE(host.log.filter(QStringLiteral("refuse")).join(QLatin1Char('|')), c.refused);
    }

    void leadingZeros_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("PLU 0") << "meditPLU" << "0" << "";
        QTest::newRow("PLU 007") << "meditPLU" << "007" << "7";
        QTest::newRow("tax 0") << "meditTaxNum" << "0" << "0";
        QTest::newRow("tax 007") << "meditTaxNum" << "007" << "7";
        QTest::newRow("decimal 0.5") << "meditCost" << "0.5" << "0.5";
        QTest::newRow("item code 007") << "meditItemCode" << "007" << "007";
        // clang-format on
    }
    void leadingZeros()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QCOMPARE(pluFieldChanged(*pluFieldRule(box), typed).text, text);
    }

    // Enabled controls as d (day of week), l and p (first limit and amount), L and P (second), t (pickers),
    // % (percent labels) and "fixed" where lblDiscLmtPer1 is captioned as the fixed price.
    void discountType_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("controls");
        QTest::newRow("0") << 0 << "-------";
        QTest::newRow("1") << 1 << "d----t-";
        QTest::newRow("2") << 2 << "dlpLPt-";
        QTest::newRow("3") << 3 << "dlpLPt%";
        QTest::newRow("4") << 4 << "dlpLPt-";
        QTest::newRow("5") << 5 << "dlpLPt%";
        QTest::newRow("6") << 6 << "d-p--t- fixed";
        QTest::newRow("-1 as 2") << -1 << "dlpLPt-";
        QTest::newRow("7 as 2") << 7 << "dlpLPt-";
    }
    void discountType()
    {
        QFETCH(int, position);
        QFETCH(QString, controls);
        const DiscountTypeControls c = discountTypeControls(position);
        QString out;
        for (const auto& [on, letter] : std::initializer_list<std::pair<bool, char>>{{c.meditDiscDayOfWeek, 'd'},
                                                                                     {c.meditDiscLimit1, 'l'},
                                                                                     {c.meditDiscLmtPer1, 'p'},
                                                                                     {c.meditDiscLimit2, 'L'},
                                                                                     {c.meditDiscLmtPer2, 'P'},
                                                                                     {c.pickers, 't'},
                                                                                     {c.percent, '%'}})
            out += on ? QLatin1Char(letter) : QLatin1Char('-');
        QCOMPARE(out + (c.fixedPrice ? QStringLiteral(" fixed") : QString()), controls);
    }

    void discountTypeClick()
    {
        PluEditorValues tab;
        tab.combDiscType = 5;
        tab.meditDiscLmtPer1 = QStringLiteral("123.45");
        tab.meditDiscLmtPer2 = QStringLiteral("1.00");
        gPluEditor().gHideSelectedCol = 0;
        QVERIFY(!DiscTypeClick(tab));
        QCOMPARE(tab.meditDiscLmtPer1, QStringLiteral("123.45"));
        gPluEditor().gHideSelectedCol = 1;
        QCOMPARE(DiscTypeClick(tab), discountTypeControls(5));
        QCOMPARE(tab.meditDiscLmtPer1 + QLatin1Char(' ') + tab.meditDiscLmtPer2, QStringLiteral("23.45 1.00"));
    }

    void memberDiscountTypeClick()
    {
        PluEditorValues tab;
        tab.combMemDiscType = 1;
        tab.meditMemDisc[1] = QStringLiteral("123.45");
        gPluEditor().gHideSelectedCol = 0;
        QVERIFY(!MemDiscTypeClick(tab));
        QCOMPARE(tab.meditMemDisc[1], QStringLiteral("123.45"));
        gPluEditor().gHideSelectedCol = 1;
        QCOMPARE(MemDiscTypeClick(tab), true);
        QCOMPARE(tab.meditMemDisc[1], QStringLiteral("23.45"));
        tab.combMemDiscType = 2;
        tab.meditMemDisc[1] = QStringLiteral("123.45");
        QCOMPARE(MemDiscTypeClick(tab), false);
        QCOMPARE(tab.meditMemDisc[1], QStringLiteral("123.45"));
    }

    void weighedClick_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::addColumn<int>("editMode");
        QTest::addColumn<bool>("weighed");
        QTest::addColumn<QString>("result"); // combSymbol, chknegativePLU, its enabled state
        QTest::newRow("ticked, listed") << true << 1 << true << "1 0 0";
        QTest::newRow("ticked, display mode") << true << 0 << true << "1 0 0";
        QTest::newRow("ticked, empty list") << false << 1 << true << "0 0 0";
        QTest::newRow("cleared") << true << 1 << false << "0 1 1";
    }
    void weighedClick()
    {
        QFETCH(bool, listed);
        QFETCH(int, editMode);
        QFETCH(bool, weighed);
        QFETCH(QString, result);
        if (listed)
            addPlu(QStringLiteral("PLU_No=5;Stat1_PBPreUnit=1"));
        gPluEditor().gHideSelectedCol = qint16(editMode);
        TestHost host;
        host.load();
        PluEditorValues& tab = host.values;
        tab.chkWeighed = weighed;
        tab.chknegativePLU = true;
        const bool enabled = WeighedClick(tab);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(tab.combSymbol).arg(tab.chknegativePLU).arg(enabled), result);
        QCOMPARE(tab.units.tareVisible, weighed);
    }

    void referenceLabel()
    {
        QCOMPARE(quorvane::referenceLabel(QStringLiteral("REF"), 0), QStringLiteral("REF"));
        QCOMPARE(quorvane::referenceLabel(QStringLiteral("1.EAN-13"), 2), QStringLiteral("EAN-13"));
    }

    void everyRuleNamesABoxAndAField()
    {
        PluEditorValues tab;
        for (const PluFieldRule& rule : pluFieldRules()) {
            QVERIFY2(pluField(QLatin1String(rule.objectName))->value.in<QString>(tab), rule.objectName);
            QVERIFY2(gDBConnection
                             .scalar(QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('KVB_25') WHERE name=?"),
                                     {QString::fromLatin1(rule.field)})
                             .toInt()
                         == 1,
                     rule.field);
        }
    }
};

QTEST_MAIN(tst_PluFieldRules)
#include "tst_plufieldrules.moc"
