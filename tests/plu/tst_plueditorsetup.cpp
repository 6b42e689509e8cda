#include "PluFixture.h"
#include "plu/PluButtonStates.h"
#include "plu/PluFieldRules.h"
#include "plu/PluFreeNumbers.h"
#include "state/PluEditorState.h"
#include "state/SettingsState.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

class tst_PluEditorSetUp : public QObject {
    Q_OBJECT

    TransferFolder m_folder;

private slots:
    void initTestCase() { QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText())); }
    void init() { resetPlu(); }

    // Each button as "+" enabled, "-" disabled or "." untouched, in the order of `names`.
    void editModeButtons_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count"); // -1: the list is closed
        QTest::addColumn<bool>("marked");
        QTest::addColumn<int>("gridRow");
        QTest::addColumn<int>("gridRows");
        QTest::addColumn<QString>("states");
        // cmdDisplay cmdEdit cmdNew cmdCopy cmdCancel cmdUpdate cmdDlelte cmdDelAll cmdUp cmdDown cmdReflesh
        // cmdSelectAll cmdClearAll cmdSendAll menuDownload cmdDownload cmdDel menuDeletePlu cmdUpload menuUpload
        QTest::newRow("display, closed") << 0 << -1 << false << 0 << 0 << "-+---------++---++++";
        QTest::newRow("display, empty, marks elsewhere") << 0 << 0 << true << 1 << 2 << "-+--------------++++";
        QTest::newRow("display, rows, marks") << 0 << 5 << true << 2 << 6 << "-+---------++++-++++";
        QTest::newRow("edit, first row") << 1 << 5 << true << 1 << 6 << "+-++++++-++----+----";
        QTest::newRow("edit, last row") << 1 << 5 << false << 5 << 6 << "+-+++++++-+----+----";
        QTest::newRow("edit, single row") << 1 << 1 << false << 1 << 2 << "+-++++++--+----+----";
        QTest::newRow("edit, empty") << 1 << 0 << false << 1 << 2 << "+-+-------+---------";
        QTest::newRow("edit, closed") << 1 << -1 << false << 0 << 0 << "+-+.++..-++----.----";
    }
    void editModeButtons()
    {
        QFETCH(int, mode);
        QFETCH(int, count);
        QFETCH(bool, marked);
        QFETCH(int, gridRow);
        QFETCH(int, gridRows);
        QFETCH(QString, states);
        const QStringList names{"cmdDisplay",  "cmdEdit",      "cmdNew",        "cmdCopy",    "cmdCancel",
                                "cmdUpdate",   "cmdDlelte",    "cmdDelAll",     "cmdUp",      "cmdDown",
                                "cmdReflesh",  "cmdSelectAll", "cmdClearAll",   "cmdSendAll", "menuDownload",
                                "cmdDownload", "cmdDel",       "menuDeletePlu", "cmdUpload",  "menuUpload"};
        const QList<ButtonState> set = quorvane::editModeButtons(
            {mode, count >= 0, qMax(count, 0), marked, gridRow, gridRows});
        QString out(names.size(), QLatin1Char('.'));
        for (const ButtonState& b : set) {
            QVERIFY2(names.contains(b.objectName), qPrintable(b.objectName));
            out[names.indexOf(b.objectName)] = b.enabled ? QLatin1Char('+') : QLatin1Char('-');
        }
        QCOMPARE(out, states);
    }

    void freeNumber_data()
    {
        QTest::addColumn<QString>("numbers"); // "store:number" of the PLUs
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("proposed"); // "none": not in edit mode
        QTest::newRow("1, 2, 4") << "1:1 1:2 1:4" << 1 << "3";
        QTest::newRow("empty store") << "2:1 2:2" << 1 << "1";
        QTest::newRow("outside the range") << "1:0 1:-5 1:1 1:1 1:2 1:999997 1:1000000" << 1 << "3";
        QTest::newRow("display mode") << "1:1" << 0 << "none";
    }
    void freeNumber()
    {
        QFETCH(QString, numbers);
        QFETCH(int, mode);
        QFETCH(QString, proposed);
        for (const QString& p : numbers.split(QLatin1Char(' ')))
            addPlu(QStringLiteral("ST_No=%1;PLU_No=%2")
                       .arg(p.section(QLatin1Char(':'), 0, 0), p.section(QLatin1Char(':'), 1)));
        gPluEditor().gHideSelectedCol = qint16(mode);
        const FreeNumberProposal p = ProposeFreePLUNumber();
        QCOMPARE(p.editMode ? QString::number(p.number.value_or(-1)) : QStringLiteral("none"), proposed);
        QCOMPARE(gPluEditor().gNewPLUNo, p.number.value_or(0));
    }

    void freeNumberLast()
    {
        gDBConnection.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < "
                                          "999995) INSERT INTO KVB_25 (PLU_No, ST_No) SELECT x, 1 FROM n"));
        QCOMPARE(ProposeFreePLUNumber().number, 999996);
        addPlu(QStringLiteral("PLU_No=999996"));
        const FreeNumberProposal p = ProposeFreePLUNumber();
        QVERIFY(p.editMode && !p.number);
        QCOMPARE(gPluEditor().gNewPLUNo, 999996); // as it was
    }

    void clearedEditor()
    {
        PluEditorValues tab;
        for (const PluField& row : pluFields()) // the check boxes ticked
            setShown(tab, row, row.kind == fields::Kind::ListPosition ? QVariant(3) : QVariant(QStringLiteral("9")));
        tab.meditDepartment = QStringLiteral("9");
        tab.chkWeighed = false;
        tab.units = SetUnitLabels(1);
        tab.combMG = ListValue{{QStringLiteral("12")}, 0};
        ClearPLUTab(tab);
        const QString cleared = QStringLiteral(
            "meditPLU=;meditDepartment=;txtName=;meditDescription=;meditItemCode=;meditTare=0;meditUPrice=0;"
            "meditMemDisc(4)=0;meditCost=0;meditFlagCode1=0;meditTaxNum=0;meditDiscLmtPer2=0;meditDiscDayOfWeek=0;"
            "combBarcodeFormat=0;combRSData=0;combDiscType=0;combSymbol=3;combMemDiscType=3;combMG=12;chkWeighed=1;"
            "chkUPoverride=1;chknegativePLU=1;chkPricePriority=1");
        QCOMPARE(valuesOf(tab, cleared), cleared);
        // Ticked, chkWeighed shows the weighed unit texts; sold by count, the other ones.
        const UnitLabels byCount = SetUnitLabels(1);
        QCOMPARE(tab.units.combSymbol + byCount.combSymbol, QStringList({"per kg", "per piece"}));
        QCOMPARE(QList<bool>({tab.units.tareVisible, byCount.tareVisible}), QList<bool>({true, false}));
        QCOMPARE(tab.units.lblDiscLimitG + byCount.lblDiscLimitG, QStringLiteral("kgpcs"));
    }

    void dataFormat_data()
    {
        QTest::addColumn<int>("pricePoint");
        QTest::addColumn<int>("dateType");
        QTest::addColumn<int>("memDiscType");
        QTest::addColumn<int>("discType");
        QTest::addColumn<bool>("weighed");
        QTest::addColumn<QString>("texts");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("dateFormat"); // of the pickers, which held "yy/MM/dd"
        // clang-format off
        QTest::newRow("two decimals") << 2 << 1 << 0 << 0 << true << "meditUPrice=125;meditCost=5;meditTare=1500;meditMemDisc(1)=1.25;meditDiscLimit1=20;meditDiscLmtPer1=0" << "meditUPrice=1.25;meditCost=0.05;meditTare=1.500;meditMemDisc(1)=1.25;meditDiscLimit1=0.020;meditDiscLmtPer1=0.00" << "dd-MM-yy";
        QTest::newRow("percentages, by count") << 3 << 4 << 1 << 5 << false << "meditUPrice=12345;meditMemDisc(2)=12345;meditDiscLimit2=1.500;meditDiscLmtPer2=250" << "meditUPrice=12.345;meditMemDisc(2)=123.45;meditDiscLimit2=1500;meditDiscLmtPer2=2.50" << "dd.MM.yy";
        QTest::newRow("date type 6") << 0 << 6 << 0 << 2 << true << "meditUPrice=0.07;meditDiscLmtPer1=250" << "meditUPrice=7;meditDiscLmtPer1=250" << "yy/MM/dd";
        QTest::newRow("no number") << 2 << 7 << 0 << 0 << true << "meditUPrice=1x" << "meditUPrice=1x" << "yy/MM/dd";
        // clang-format on
    }
    void dataFormat()
    {
        QFETCH(int, pricePoint);
        QFETCH(int, dateType);
        QFETCH(int, memDiscType);
        QFETCH(int, discType);
        QFETCH(bool, weighed);
        QFETCH(QString, texts);
        QFETCH(QString, expected);
        QFETCH(QString, dateFormat);
        gSettings().gPricePoint = qint16(pricePoint);
        gSettings().gDateType = qint16(dateType);
        PluEditorValues tab;
        tab.dateFormat = QStringLiteral("yy/MM/dd");
        tab.combMemDiscType = memDiscType;
        tab.combDiscType = discType;
        tab.chkWeighed = weighed;
        enter(tab, texts);
        ApplyDataFormatToTab(tab);
        QCOMPARE(valuesOf(tab, expected), expected);
        QCOMPARE(tab.dateFormat.value_or(QString()), dateFormat);
    }

    void crossChecks_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("texts");
        QTest::addColumn<QString>("expected");
        const QString dates = QStringLiteral("DTPickerStartDate=2026-03-15;DTPickerEndDate=2026-03-14");
        // clang-format off
        QTest::newRow("same dates") << "dates" << 1 << "DTPickerStartDate=2026-03-15;DTPickerEndDate=2026-03-15" << "DTPickerStartDate=2026-03-15;DTPickerEndDate=2026-03-15";
        QTest::newRow("end a day early, start left") << "dates" << 1 << dates << "DTPickerStartDate=2026-03-15;DTPickerEndDate=2026-03-15";
        QTest::newRow("end a day early, end left") << "dates" << 2 << dates << "DTPickerStartDate=2026-03-14;DTPickerEndDate=2026-03-14";
        QTest::newRow("limits, first left") << "limits" << 1 << "meditDiscLimit1=5.000;meditDiscLimit2=2.000" << "meditDiscLimit1=5.000;meditDiscLimit2=5.000";
        QTest::newRow("limits in order") << "limits" << 2 << "meditDiscLimit1=1.000;meditDiscLimit2=2.000" << "meditDiscLimit1=1.000;meditDiscLimit2=2.000";
        QTest::newRow("amounts, first left") << "values 0" << 1 << "meditDiscLmtPer1=6.00;meditDiscLmtPer2=5.00" << "meditDiscLmtPer1=6.00;meditDiscLmtPer2=6.00";
        QTest::newRow("amounts above the price") << "values 2" << 2 << "meditUPrice=5.00;meditDiscLmtPer1=6.00;meditDiscLmtPer2=8.00" << "meditUPrice=5.00;meditDiscLmtPer1=5.00;meditDiscLmtPer2=5.00";
        // clang-format on
    }
    void crossChecks()
    {
        QFETCH(QString, check);
        QFETCH(int, which);
        QFETCH(QString, texts);
        QFETCH(QString, expected);
        PluEditorValues tab;
        enter(tab, texts);
        if (check == QLatin1String("dates"))
            CheckDiscountDates(tab, PairBox(which));
        else if (check == QLatin1String("limits"))
            CheckDiscountLimits(tab, PairBox(which));
        else {
            tab.combDiscType = check.section(QLatin1Char(' '), 1).toInt();
            CheckDiscountValues(tab, PairBox(which));
        }
        QCOMPARE(valuesOf(tab, expected), expected);
    }

    void captions_data()
    {
        QTest::addColumn<int>("dateType");
        QTest::addColumn<bool>("rsDataSection");
        QTest::addColumn<QString>("dateFormat");
        QTest::newRow("date type 4") << 4 << true << "dd.MM.yy";
        QTest::newRow("date type 7, no RS data section") << 7 << false << "yy/MM/dd";
    }
    void captions()
    {
        QFETCH(int, dateType);
        QFETCH(bool, rsDataSection);
        QFETCH(QString, dateFormat);
        gSettings().gDateType = qint16(dateType);
        gSettings().gCurrencySymbol = QStringLiteral("EUR");
        if (!rsDataSection)
            gParRSData.clear();
        PluEditorValues tab;
        tab.dateFormat = QStringLiteral("yy/MM/dd");
        tab.DTPickerStartDate = tab.DTPickerEndDate = QDate(2020, 2, 29);
        tab.chkWeighed = false;
        tab.chkUPoverride = tab.chknegativePLU = tab.chkPricePriority = true;
        tab.barcode.flagCode1.text = QStringLiteral("F");
        const PluEditorCaptions c = ApplyPLUEditorCaptions(tab, QDate(2026, 1, 31));
        for (const TextCollectionSource& s : textCollectionSources())
            if (s.collection == &gParRSData)
                loadTextCollection(s, QStringLiteral("Standard"));

        QStringList lists;
        for (const auto& [name, entries] : c.lists)
            lists << name + QLatin1Char('=') + QString::number(entries.size()) + QLatin1Char(':') + entries.value(0);
        QCOMPARE(lists,
                 QStringList({"combSymbol=1:per kg", "combBarcodeFormat=30:-- Inherited",
                              rsDataSection ? "combRSData=4:No RS data" : "combRSData=0:",
                              "combMemDiscType=2:Member price", "combDiscType=7:No discount"}));
        QStringList texts;
        for (const ControlText& t : c.captions)
            texts << t.objectName + QLatin1Char('=') + t.text;
        QCOMPARE(texts,
                 QStringList({"lblPriceUnit(0)=EUR", "lblMemDisc(1)=Member price #1", "lblMemDisc(2)=Member price #2",
                              "lblMemDisc(3)=Member price #3", "lblMemDisc(4)=Member price #4",
                              "lblReference=-- Inherited"}));
        QStringList limits;
        for (const ControlLimit& l : c.limits)
            limits << l.objectName + QLatin1Char('=') + QString::number(l.limit);
        QCOMPARE(limits.size(), 25);
        for (const char* l : {"meditPLU=6", "meditDepartment=2", "txtName=100", "meditItemCode=3", "meditMemDisc(4)=6",
                              "meditTax2Num=1", "meditDiscLimit2=5", "meditDiscDayOfWeek=7"})
            QVERIFY2(limits.contains(QLatin1String(l)), l);
        QCOMPARE(tab.dateFormat.value_or(QString()), dateFormat);
        const QString reset = QStringLiteral("combSymbol=0;combBarcodeFormat=0;combRSData=%1;combMemDiscType=0;"
                                             "combDiscType=0;DTPickerStartDate=2026-01-31;DTPickerEndDate=2026-01-31;"
                                             "chkWeighed=1;chkUPoverride=0;chknegativePLU=0;chkPricePriority=0;"
                                             "meditFlagCode1=0")
                                  .arg(rsDataSection ? 0 : -1);
        QCOMPARE(valuesOf(tab, reset), reset);
        QCOMPARE(c.disabled, QStringList({"meditDepartment", "txtName", "meditDescription"}));
    }
};

QTEST_GUILESS_MAIN(tst_PluEditorSetUp)
#include "tst_plueditorsetup.moc"
