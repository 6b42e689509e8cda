#include "PluFixture.h"
#include "state/PluEditorState.h"
#include "state/StoreTreeState.h"
#include "support/WindowSteps.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const QDate kToday(2026, 3, 15);

QString stored(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("null");
    return v.typeId() == QMetaType::QByteArray ? QStringLiteral("hex:") + QString::fromLatin1(v.toByteArray().toHex())
                                               : v.toString();
}

} // namespace

class tst_PluEditor : public QObject {
    Q_OBJECT

    TransferFolder m_folder;

private slots:
    void initTestCase() { QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText())); }
    void init() { resetPlu(); }

    // A PLU shown in the editor, edited, saved, and read back from its row.
    void rowToEditorToRow_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("back");
        // clang-format off
        QTest::newRow("dates 310105 and 0") << "PLU_Disc_SDate=310105;PLU_Disc_EDate=0;PLU_Disc_STime=930;PLU_Disc_ETime=0" << "DTPickerStartDate=2005-01-31;DTPickerEndDate=2026-03-15;DTPickerStartTime=09:30" << "" << "PLU_Disc_SDate=310105;PLU_Disc_EDate=150326;PLU_Disc_STime=930;PLU_Disc_ETime=0";
        QTest::newRow("no date 310205, no time 2460, untouched") << "PLU_Disc_SDate=310205;PLU_Disc_STime=2460" << "DTPickerStartDate=;DTPickerStartTime=" << "" << "PLU_Disc_SDate=310205;PLU_Disc_STime=2460";
        QTest::newRow("mask 65") << "PLU_DisDayOfWeek=65" << "meditDiscDayOfWeek=1000001" << "" << "PLU_DisDayOfWeek=65;Stat2_Discount=1";
        QTest::newRow("mask 0, then 32") << "PLU_DisDayOfWeek=0" << "meditDiscDayOfWeek=0" << "meditDiscDayOfWeek=0100000" << "PLU_DisDayOfWeek=32;Stat2_Discount=1";
        QTest::newRow("flags 255, bar format 2") << "PLU_BarFormat=2;PLU_EANFlags=255" << "combBarcodeFormat=3;meditFlagCode1=F;meditFlagCode2=F" << "" << "PLU_BarFormat=2;PLU_EANFlags=255";
        QTest::newRow("flags 23, bar format 2") << "PLU_BarFormat=2;PLU_EANFlags=23" << "meditFlagCode1=2;meditFlagCode2=3" << "" << "PLU_EANFlags=23";
        QTest::newRow("F typed") << "PLU_BarFormat=2;PLU_EANFlags=23" << "" << "meditFlagCode2=F" << "PLU_EANFlags=255";
        QTest::newRow("bar format 255") << "PLU_BarFormat=255" << "combBarcodeFormat=0" << "" << "PLU_BarFormat=255";
        QTest::newRow("flexible bar format") << "PLU_BarFormat=21;PLU_EANFlags=5" << "combBarcodeFormat=22;meditFlagCode1=0;meditFlagCode2=5" << "" << "PLU_BarFormat=21;PLU_EANFlags=5";
        QTest::newRow("Null item code and texts") << "PLU_EANItemCode=null;PLU_Commodity=null;PLU_Description=null;PLU_CommodityFirst=null;Stat2_ItemCode=1" << "meditItemCode=;txtName=;meditDescription=" << "" << "PLU_EANItemCode=null;Stat2_ItemCode=0;PLU_Commodity=null;PLU_Description=null;PLU_CommodityFirst= ;Stat2_Commodity=0;Stat2_Discount=0";
        QTest::newRow("first line past the block") << "PLU_Commodity=hex:03096162630c;Stat2_Commodity=1" << "txtName=" << "" << "PLU_Commodity=hex:03096162630c;Stat2_Commodity=1";
        QTest::newRow("flags, sticky member discount, main group 997") << "PLU_MG=997;Stat2_MemDisc=1;PLU_Tare=5;PLU_TaxNo=3;PLU_RSData=2;PLU_CoupledPLUNo=7;PLU_Cost=0" << "combMG=997;meditDepartment=97;meditTare=0.005;combRSData=2" << "" << "Stat2_MGCode=0;Stat2_MemDisc=1;Stat2_PLUTare=1;Stat2_TaxNo=1;Stat2_Tax2No=0;Stat2_RSData=1;Stat2_CoupledPLU=1;Stat2_PLUCost=0";
        QTest::newRow("member price 0.50") << "Stat2_MemDisc=0" << "meditMemDisc(3)=0.00" << "meditMemDisc(3)=0.50" << "PLU_MemDisc3=50;Stat2_MemDisc=1;Stat2_MGCode=1";
        QTest::newRow("empty boxes") << "PLU_UPrice=1234;PLU_TaxNo=4;PLU_Disc_1stLim=9" << "meditUPrice=12.34" << "meditUPrice=;meditTaxNum=;meditDiscLimit1=" << "PLU_UPrice=1234;PLU_TaxNo=4;Stat2_TaxNo=1;PLU_Disc_1stLim=0";
        QTest::newRow("main group without a row") << "PLU_MG=50" << "combMG=50;meditDepartment=" << "" << "PLU_MG=50;Stat2_MGCode=1";
        QTest::newRow("sold by count") << "Stat1_Unit=1;Stat1_PBPreUnit=3" << "chkWeighed=0;combSymbol=0" << "" << "Stat1_Unit=1;Stat1_PBPreUnit=3";
        // clang-format on
    }
    void rowToEditorToRow()
    {
        QFETCH(QString, fields);
        QFETCH(QString, shown);
        QFETCH(QString, edits);
        QFETCH(QString, back);
        // Saved in display mode, where the bar-format boxes keep what the row showed.
        gPluEditor().gHideSelectedCol = 0;
        addPlu(QStringLiteral("PLU_No=5;") + fields);
        TestHost host;
        ApplyPLUEditorCaptions(host.values, kToday);
        host.load();
        QCOMPARE(valuesOf(host.values, shown), shown);
        enter(host.values, edits);
        QVERIFY(SavePLU(host));
        const QVariantMap row = rowValues(QStringLiteral("KVB_25"), rowIds(QStringLiteral("KVB_25")).first());
        for (const auto& [field, value] : pairs(back))
            QVERIFY2(stored(row.value(field)) == value,
                     qPrintable(field + QLatin1Char('=') + stored(row.value(field))));
        QCOMPARE(pluRows(QStringLiteral("ST_No")), QStringLiteral("5:1"));
    }

    // PLUs 1, 2 and 3 listed, PLU 2 shown and edited, the grid on row 3 when the question comes.
    void saveQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("edits");
        QTest::addColumn<int>("newPLU"); // gNewPLU: 1 for a new PLU, 2 left over from before the PLU was shown
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("prices");
        QTest::addColumn<int>("curRow");
        const int yes = int(PluAnswer::Yes), no = int(PluAnswer::No), cancel = int(PluAnswer::Cancel);
        const QString saved = QStringLiteral("1:100 2:250 3:300"), kept = QStringLiteral("1:100 2:200 3:300");
        // clang-format off
        QTest::newRow("unchanged") << -1 << "" << 0 << 0 << "" << kept << 2;
        QTest::newRow("yes") << yes << "meditUPrice=2.50" << 0 << 1 << "ask save|reload" << saved << 3;
        QTest::newRow("no") << no << "meditUPrice=2.50" << 0 << 2 << "ask save" << kept << 2;
        QTest::newRow("cancel") << cancel << "meditUPrice=2.50" << 0 << 3 << "ask save" << kept << 2;
        QTest::newRow("number used") << yes << "meditPLU=3;meditUPrice=2.50" << 0 << 3 << "ask save|error This PLU number is already used in the store!|refuse 2 grid" << kept << 2;
        QTest::newRow("empty number") << yes << "meditPLU=" << 0 << 3 << "ask save|error Please enter a number>0!|refuse 2" << kept << 2;
        QTest::newRow("number 999999") << yes << "meditPLU=999999" << 0 << 1 << "ask save|reload" << "1:100 3:300 999999:200" << 3;
        QTest::newRow("number above 999999") << yes << "meditPLU=1000000" << 0 << 3 << "ask save|error Please enter a number<1000000!|refuse 2" << kept << 2;
        QTest::newRow("tare not a number") << yes << "meditTare=1x" << 0 << 3 << "ask save|error Please enter a number\nmeditTare: \"1x\" is not a whole number its field can hold." << kept << 2;
        QTest::newRow("new PLU") << yes << "meditPLU=7;meditUPrice=2.50" << 1 << 1 << "ask save|reload" << "1:100 2:200 3:300 7:250" << 3;
        // A new PLU's number refused: a number in use gives back the number proposed, an empty one the row's.
        QTest::newRow("new PLU, number used") << yes << "meditPLU=3" << 1 << 3 << "ask save|error This PLU number is already used in the store!|refuse 7 grid" << kept << 2;
        QTest::newRow("new PLU, empty number") << yes << "meditPLU=" << 1 << 3 << "ask save|error Please enter a number>0!|refuse 2" << kept << 2;
        QTest::newRow("stale new flag") << yes << "meditUPrice=2.50" << 2 << 1 << "ask save|reload" << saved << 3;
        // clang-format on
    }
    void saveQuestion()
    {
        QFETCH(int, answer);
        QFETCH(QString, edits);
        QFETCH(int, newPLU);
        QFETCH(int, result);
        QFETCH(QString, log);
        QFETCH(QString, prices);
        QFETCH(int, curRow);
        for (int n = 1; n <= 3; ++n)
            addPlu(QStringLiteral("PLU_No=%1;PLU_UPrice=%2").arg(n).arg(n * 100));
        TestHost host;
        ApplyPLUEditorCaptions(host.values, kToday);
        PluEditorState& s = gPluEditor();
        s.gCurPLURow = 2;
        s.gNewPLU = newPLU == 2 ? 1 : 0;
        host.load();
        s.gNewPLU = newPLU == 1 ? 1 : 0;
        s.gNewPLUNo = 7;
        s.gPLUChanged = answer < 0 ? 0 : 1;
        enter(host.values, edits);
        host.answer = PluAnswer(qMax(answer, 0));
        host.gridRow = 3;
        QCOMPARE(int(AskSavePLUChanges(host)), result);
        QCOMPARE(host.log.join(QLatin1Char('|')), log);
        QCOMPARE(pluRows(QStringLiteral("PLU_UPrice")), prices);
        QCOMPARE(s.gCurPLURow, curRow);
        QCOMPARE(s.gPLUChanged, qint16(result == 3 ? 1 : 0));
        QCOMPARE(s.gNewPLU, quint8(result == 3 && newPLU == 1 ? 1 : 0));
    }

    // The main-group list: the tree selection, the PLU shown (mode 1) or the tree's main group (mode 0).
    void mainGroupList_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("deptOrSearch");
        QTest::addColumn<int>("mg");
        QTest::addColumn<int>("pluMG"); // -1: no PLU listed
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("list"); // entries, "*" before the chosen one, then "/" and the department
        QTest::newRow("store, mode 1") << 0 << 0 << 0 << 997 << 1 << "12 44 *997/97";
        QTest::newRow("main group node, mode 0") << 2 << 97 << 12 << -1 << 0 << "*12/97";
        QTest::newRow("search") << 3 << 2 << 0 << 44 << 1 << "12 *44 997/5";
        QTest::newRow("main group without a row") << 0 << 0 << 0 << 50 << 1 << "12 44 *50 997/";
        QTest::newRow("department without main groups") << 1 << 6 << 0 << 0 << 1 << "*0/";
        QTest::newRow("department without main groups, mode 0") << 1 << 6 << 0 << -1 << 0 << "/";
    }
    void mainGroupList()
    {
        QFETCH(int, kind);
        QFETCH(int, deptOrSearch);
        QFETCH(int, mg);
        QFETCH(int, pluMG);
        QFETCH(int, mode);
        QFETCH(QString, list);
        addTableRows("SEARCH:ST_No=1;SH_No=2;MG_No1=0;MG_No2=999;PLU_No1=1;PLU_No2=99;PLU_UPrice1=0;PLU_UPrice2=99999");
        if (pluMG >= 0)
            addPlu(QStringLiteral("PLU_No=1;PLU_MG=%1").arg(pluMG));
        StoreTreeState& t = gStoreTree();
        t.gCurNodeKind = PluListKind(kind);
        t.gCurDeptNo = qint16(deptOrSearch);
        t.gCurMGNo = qint16(mg);
        TestHost host;
        // A list shown before keeps nothing in the new one.
        host.values.combMG = ListValue{{QStringLiteral("77")}, 0};
        host.values.meditDepartment = QStringLiteral("7");
        host.load();
        if (pluMG < 0) {
            const MGComboFill fill = FillMGCombo(MGChoice(mode));
            host.values.combMG = fill.combMG;
            host.values.meditDepartment = fill.meditDepartment;
        }
        QStringList entries = host.values.combMG.entries;
        if (host.values.combMG.index >= 0)
            entries[host.values.combMG.index].prepend(QLatin1Char('*'));
        QCOMPARE(entries.join(QLatin1Char(' ')) + QLatin1Char('/') + host.values.meditDepartment, list);
    }
};

QTEST_GUILESS_MAIN(tst_PluEditor)
#include "tst_plueditor.moc"
