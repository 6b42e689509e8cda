#include "PluFixture.h"

#include "plu/PluCommands.h"
#include "state/PluEditorState.h"
#include "state/StoreTreeState.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

class tst_PluCommands : public QObject {
    Q_OBJECT

    TransferFolder m_folder;
    const QDate m_today{2026, 12, 9};

    // The store's PLUs by number, listed and shown as a store node lists them.
    void list(TestHost& host, const QString& numbers)
    {
        for (const QString& n : numbers.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            addPlu(QStringLiteral("PLU_No=%1;PLU_UPrice=125").arg(n));
        host.load();
    }

private slots:
    void initTestCase() { QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText())); }
    void init() { resetPlu(); }

    // New proposes the store's first free number (ProposeFreePLUNumber's table) and starts an empty editor on it.
    void newPLU()
    {
        TestHost host;
        list(host, QStringLiteral("1 2 3 4 5 7"));
        gPluEditor().gTextBuf3 = TextBuffer{QByteArray::fromHex("0101410C"), 1};
        const std::optional<NewPLUEditor> made = NewPLUCommand(host, m_today);
        QVERIFY(made);
        QCOMPARE(made->values.meditPLU + QLatin1Char(' ') + made->values.barcode.itemCode.text, QStringLiteral("6 6"));
        const PluEditorState& s = gPluEditor();
        QCOMPARE(
            QStringLiteral("%1 %2 %3 %4").arg(s.gNewPLU).arg(s.gPLUChanged).arg(s.gNewPLUNo).arg(s.gTextBuf3.changed),
            QStringLiteral("1 1 6 0"));
        QVERIFY(s.gTextBuf3.bytes.isEmpty());
        QCOMPARE(made->values.combMG.currentText(), QStringLiteral("12")); // the first of the store's main groups
        QVERIFY(host.log.isEmpty());
    }

    // A changed PLU is offered for saving first; Cancel keeps it, No drops it, also a new PLU not yet saved.
    void newAsksFirst()
    {
        TestHost host;
        list(host, QStringLiteral("5"));
        gPluEditor().gPLUChanged = 1;
        host.answer = PluAnswer::Cancel;
        QVERIFY(!NewPLUCommand(host, m_today));
        QCOMPARE(gPluEditor().gNewPLU, quint8(0));
        host.answer = PluAnswer::No;
        QVERIFY(NewPLUCommand(host, m_today));
        QVERIFY(NewPLUCommand(host, m_today));
        QCOMPARE(host.log, QStringList({"ask save", "ask save", "ask save"}));
        QCOMPARE(pluRows(QStringLiteral("PLU_UPrice")), QStringLiteral("5:125"));
    }

    void cancelAfterNewInAnEmptyStore()
    {
        TestHost host;
        list(host, QString());
        host.values = NewPLUCommand(host, m_today)->values;
        const PluEditorValues v = CancelPLUCommand(host);
        QCOMPARE(v.meditPLU, QString());
        QCOMPARE(gPluEditor().gNewPLU + gPluEditor().gPLUChanged, 0);
    }

    void copyThenUpdate()
    {
        TestHost host;
        list(host, QStringLiteral("5"));
        const FreeNumberProposal p = CopyPLUCommand();
        QCOMPARE(p.number, 1);
        QCOMPARE(gPluEditor().gNewPLU, quint8(1));
        QCOMPARE(gPluEditor().gPLUChanged, qint16(0));
        host.values.meditPLU = QStringLiteral("1");
        const UpdatedPLU u = UpdatePLUCommand(host);
        QVERIFY(u.saved);
        QVERIFY(u.discount); // edit mode: the discount fields by the type again
        QCOMPARE(pluRows(QStringLiteral("PLU_UPrice")), QStringLiteral("1:125 5:125"));
    }

    void copyThenDeleteAsks()
    {
        TestHost host;
        list(host, QStringLiteral("5"));
        CopyPLUCommand();
        host.answer = PluAnswer::No;
        QVERIFY(!DeletePLUCommand(host));
        QCOMPARE(host.log, QStringList({"ask delPLU"}));
        QCOMPARE(pluRows(QStringLiteral("PLU_No")), QStringLiteral("5:5"));
    }

    void cancelAfterAPriceEdit()
    {
        TestHost host;
        list(host, QStringLiteral("5"));
        host.values.meditUPrice = QStringLiteral("9.99");
        gRsPLU.setValue(QStringLiteral("PLU_UPrice"), 999);
        gPluEditor().gPLUChanged = 1;
        const PluEditorValues v = CancelPLUCommand(host);
        QCOMPARE(v.meditUPrice, QStringLiteral("1.25"));
        QCOMPARE(gRsPLU.intValue(QStringLiteral("PLU_UPrice")), 125);
        host.values = v;
        QCOMPARE(AskSavePLUChanges(host), SaveAnswer::Unchanged);
        QVERIFY(host.log.isEmpty());
        QCOMPARE(pluRows(QStringLiteral("PLU_UPrice")), QStringLiteral("5:125"));
    }

    void displayCancelledStaysInEditMode()
    {
        TestHost host;
        list(host, QStringLiteral("5"));
        gPluEditor().gPLUChanged = 1;
        host.answer = PluAnswer::Cancel;
        QVERIFY(!EnterDisplayMode(host));
        QCOMPARE(gPluEditor().gHideSelectedCol, qint16(1));
        host.answer = PluAnswer::No;
        QCOMPARE(EnterDisplayMode(host), true);
        QCOMPARE(gPluEditor().gHideSelectedCol, qint16(0));
        gPluEditor().gNewPLU = 1;
        QCOMPARE(EnterEditMode(), true);
        QCOMPARE(gPluEditor().gHideSelectedCol + gPluEditor().gNewPLU, 1);
    }

    void stepping_data()
    {
        QTest::addColumn<int>("gridRow");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("row");
        QTest::newRow("up on row 2") << 2 << -1 << 1;
        QTest::newRow("down on row 1") << 1 << 1 << 2;
        QTest::newRow("down on the last row") << 3 << 1 << 3;
        QTest::newRow("beyond a shortened list") << 7 << -1 << 3;
    }
    void stepping()
    {
        QFETCH(int, gridRow);
        QFETCH(int, direction);
        QFETCH(int, row);
        TestHost host;
        list(host, QStringLiteral("1 2 3"));
        host.gridRow = gridRow;
        gPluEditor().gCurPLURow = gridRow;
        const std::optional<SteppedPLU> s = StepPLUCommand(host, direction);
        QVERIFY(s);
        QCOMPARE(s->previousRow, gridRow);
        QCOMPARE(s->row, row);
        QCOMPARE(s->values.meditPLU, QString::number(row));
        QCOMPARE(gPluEditor().gCurPLURow, row);
    }

    void steppingStops()
    {
        TestHost host;
        list(host, QString());
        QVERIFY(!StepPLUCommand(host, 1));
        list(host, QStringLiteral("1 2"));
        gPluEditor().gPLUChanged = 1;
        host.answer = PluAnswer::Cancel;
        QVERIFY(!StepPLUCommand(host, 1));
    }

    // Delete all of main group 12's list: PLUs 5, 7 and 7, and PLUs 1001 on in the same group; the store's others
    // stay.
    void deleteAll_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("refused"); // PLU 7 cannot be deleted
        QTest::addColumn<int>("more");     // PLUs 1001 on
        QTest::addColumn<QString>("left");
        QTest::newRow("No") << int(PluAnswer::No) << false << 0 << "1 2 3 5 7 7 9";
        QTest::newRow("Yes") << int(PluAnswer::Yes) << false << 0 << "1 2 3 9";
        QTest::newRow("Yes, over three chunks") << int(PluAnswer::Yes) << false << 1001 << "1 2 3 9";
        QTest::newRow("refused partway") << int(PluAnswer::Yes) << true << 0 << "1 2 3 5 7 7 9";
    }
    void deleteAll()
    {
        QFETCH(int, answer);
        QFETCH(bool, refused);
        QFETCH(int, more);
        QFETCH(QString, left);
        addListRows();
        gDBConnection.exec(
            QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1000 UNION ALL SELECT x + 1 FROM n WHERE x < ?) "
                           "INSERT INTO KVB_25 (ST_No, PLU_No, PLU_MG) SELECT 1, x, 12 FROM n WHERE x > 1000"),
            {1000 + more});
        gStoreTree().gCurNodeKind = PluListKind::MainGroup;
        gStoreTree().gCurDeptNo = 97;
        gStoreTree().gCurMGNo = 12;
        TestHost host;
        host.load();
        QCOMPARE(gRsPLU.recordCount(), 3 + more);
        host.answer = PluAnswer(answer);
        const test::FailingWrites refuse(refused ? QStringLiteral("BEFORE DELETE ON KVB_25 WHEN old.PLU_No=7")
                                                 : QString());
        bool deleted = false;
        try {
            deleted = DeleteAllPLUCommand(host);
        } catch (const db::DbError&) {
            QVERIFY(refused);
        }
        QCOMPARE(deleted, answer == int(PluAnswer::Yes) && !refused);
        QStringList numbers;
        for (const QString& r : pluRows(QStringLiteral("PLU_No")).split(QLatin1Char(' ')))
            numbers << r.section(QLatin1Char(':'), 0, 0);
        QCOMPARE(numbers.join(QLatin1Char(' ')), left);
        QCOMPARE(host.log.first(), "ask delAllPLU");
        if (deleted)
            QCOMPARE(gRsPLU.recordCount(), 0);
    }

    void refreshDropsMarks()
    {
        TestHost host;
        list(host, QStringLiteral("1 2"));
        SetPLUSelection(1, 2, MarkMode::Mark, false, 1);
        QCOMPARE(marked(), QStringLiteral("1 2"));
        QVERIFY(RefreshPLUCommand(host));
        QCOMPARE(marked(), QString());
        QCOMPARE(host.log, QStringList({"reload"}));
    }
};

QTEST_MAIN(tst_PluCommands)
#include "tst_plucommands.moc"
