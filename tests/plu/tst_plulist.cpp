#include "PluFixture.h"
#include "state/PluEditorState.h"
#include "state/StoreTreeState.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

class tst_PluList : public QObject {
    Q_OBJECT

    TransferFolder m_folder;

private slots:
    void initTestCase() { QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText())); }
    void init() { resetPlu(); }

    // Department 97 holds main groups 12 and 997, department 5 main group 44, department 6 none.
    void listQuery_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("deptOrSearch");
        QTest::addColumn<int>("mg");
        QTest::addColumn<QString>("plus");
        QTest::newRow("store") << 0 << 0 << 0 << "1 2 3 5 7 7 9";
        QTest::newRow("department 97") << 1 << 97 << 0 << "5 7 7 9";
        QTest::newRow("department 5") << 1 << 5 << 0 << "3";
        QTest::newRow("department without main groups") << 1 << 6 << 0 << "1 2";
        QTest::newRow("main group 12") << 2 << 97 << 12 << "5 7 7";
        QTest::newRow("search, bounds inclusive, departments ignored") << 3 << 2 << 0 << "3 5";
        QTest::newRow("search without a row") << 3 << 8 << 0 << "";
    }
    void listQuery()
    {
        QFETCH(int, kind);
        QFETCH(int, deptOrSearch);
        QFETCH(int, mg);
        QFETCH(QString, plus);
        addListRows();
        const PluListQuery q = OpenPLUList(PluListKind(kind), 1, qint16(deptOrSearch), qint16(mg));
        QStringList listed, prices;
        for (; !gRsPLU.eof(); gRsPLU.moveNext()) {
            listed << gRsPLU.textValue(QStringLiteral("PLU_No"));
            prices << gRsPLU.textValue(QStringLiteral("PLU_UPrice"));
        }
        QCOMPARE(listed.join(QLatin1Char(' ')), plus);
        // The grid fill runs the same text: its rows come in the same order.
        db::Statement st = gDBConnection.prepare(q.sql());
        st.bind(q.params);
        QStringList filled;
        while (st.step())
            filled << st.column(4).toString();
        QCOMPARE(filled, prices);
    }

    void marks()
    {
        for (int n = 1; n <= 8; ++n)
            addPlu(QStringLiteral("PLU_No=%1").arg(n));
        addRow(QStringLiteral("KVB_25"), {{"ST_No", 2}, {"PLU_No", 1}, {"Is_Selected", 1}});
        QCOMPARE(SetPLUSelection(1, 1, MarkMode::Click, false, 1), std::nullopt); // no list yet
        OpenPLUList(PluListKind::Store, 1, 0, 0);

        QCOMPARE(SetPLUSelection(4, 1, MarkMode::Click, false, 4), 1); // a click in the mark column of row 4
        QCOMPARE(marked(), QStringLiteral("4"));
        QCOMPARE(gRsPLU.intValue(QStringLiteral("PLU_No")), 4);
        QCOMPARE(gRsPLU.intValue(QStringLiteral("Is_Selected")), 1);
        QCOMPARE(SetPLUSelection(4, 1, MarkMode::Click, true, 4), 0); // and again
        QCOMPARE(marked(), QString());
        QCOMPARE(SetPLUSelection(3, 5, MarkMode::Click, false, 3), 1); // row 7, then a shift-click on row 3
        QCOMPARE(marked(), QStringLiteral("3 4 5 6 7"));
        QCOMPARE(SetPLUSelection(1, 8, MarkMode::Unmark, false, 2), 0); // clear all
        QCOMPARE(marked(), QString());
        QCOMPARE(SetPLUSelection(1, 8, MarkMode::Mark, false, 2), 1); // select all
        QCOMPARE(marked(), QStringLiteral("1 2 3 4 5 6 7 8"));

        // Another node, and back: the marks of the list shown are dropped, the other store keeps its own.
        OpenPLUList(PluListKind::MainGroup, 1, 97, 997);
        OpenPLUList(PluListKind::Store, 1, 0, 0);
        QCOMPARE(marked(), QString());
        QCOMPARE(marked(2), QStringLiteral("1"));
        QVERIFY(CountSelectedPLU());
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=0"));
        QVERIFY(!CountSelectedPLU());

        ClearPLUSelection();
        QVERIFY(!gRsPLU.isOpen());
        QCOMPARE(SetPLUSelection(1, 8, MarkMode::Mark, false, 1), std::nullopt);
        OpenPLUList(PluListKind::Department, 1, 6, 0); // empty
        QCOMPARE(SetPLUSelection(1, 1, MarkMode::Mark, false, 1), std::nullopt);
        QCOMPARE(marked(), QString());

        // The search lists PLUs 3 and 5; PLU 3, marked, is saved at a price outside it: the reload drops its mark
        // all the same, and nothing is left to send.
        gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25"));
        addListRows();
        StoreTreeState& t = gStoreTree();
        t.gCurNodeKind = PluListKind::Search;
        t.gCurDeptNo = 2;
        TestHost host;
        ApplyPLUEditorCaptions(host.values, QDate(2026, 3, 15));
        host.load();
        QCOMPARE(SetPLUSelection(1, 1, MarkMode::Click, false, 1), 1);
        QCOMPARE(marked(), QStringLiteral("3"));
        host.values.meditUPrice = QStringLiteral("9.99");
        QVERIFY(SavePLU(host));
        QCOMPARE(gRsPLU.recordCount(), 1);
        QCOMPARE(pluRows(QStringLiteral("PLU_UPrice")), QStringLiteral("1:50 2:10 3:999 5:100 7:900 7:800 9:250"));
        QCOMPARE(marked(), QString());
        QVERIFY(!CountSelectedPLU());
    }

    // Five PLUs, the row shown deleted (or not).
    void deletePLU_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("shownRow");
        QTest::addColumn<QString>("shownPLU");
        QTest::newRow("last of five") << 5 << int(PluAnswer::Yes) << "1:1 2:1 3:1 4:1" << 4 << "4";
        QTest::newRow("row 2") << 2 << int(PluAnswer::Yes) << "1:1 3:1 4:1 5:1" << 2 << "3";
        QTest::newRow("No") << 2 << int(PluAnswer::No) << "1:1 2:1 3:1 4:1 5:1" << 2 << "2";
    }
    void deletePLU()
    {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QString, left);
        QFETCH(int, shownRow);
        QFETCH(QString, shownPLU);
        for (int n = 1; n <= 5; ++n)
            addPlu(QStringLiteral("PLU_No=%1").arg(n));
        TestHost host;
        gPluEditor().gCurPLURow = row;
        host.load();
        host.answer = PluAnswer(answer);
        QCOMPARE(DeletePLU(host), answer == int(PluAnswer::Yes));
        QCOMPARE(host.log.first(), QStringLiteral("ask delPLU"));
        QCOMPARE(pluRows(QStringLiteral("ST_No")), left);
        QCOMPARE(gPluEditor().gCurPLURow, shownRow);
        QCOMPARE(host.values.meditPLU, shownPLU);
    }
};

QTEST_GUILESS_MAIN(tst_PluList)
#include "tst_plulist.moc"
