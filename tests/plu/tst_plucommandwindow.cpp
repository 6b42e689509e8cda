// The PLU buttons on the main window, clicked as the operator clicks them, with the questions they ask
// answered; each row checks what one handler shows and stores.

#include "PluFixture.h"

#include "mainwindow/ui/frmMain.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "plu/ui/PluListView.h"
#include "state/PluEditorState.h"
#include "support/WindowAnswer.h"
#include "support/WindowSteps.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct CommandCase {
    QString plus = QStringLiteral("1 2 3"); // store 1's PLU numbers, PLU n priced n.00
    bool edit = true;                       // cmdEdit clicked first
    QString steps;                          // test::runSteps()
    QString answers{};                      // the questions' answers in order: y, n, c
    QString stored;                         // store 1's PLU numbers afterwards, with each price
    QString shown;                          // meditPLU/meditUPrice/gNewPLU/gPLUChanged/gHideSelectedCol
    QString asked{};                        // the keys of the messages shown
    QString grid{};                         // "pointer:mark/..." of every row; empty: not compared
    QString focus{};                        // the control with the focus afterwards; empty: not compared
};

QTableWidget* grid(QWidget* w) { return qobject_cast<QTableWidget*>(control(w, QStringLiteral("MSHFlexGridPLU"))); }
QLineEdit* box(QWidget* w, const QString& name) { return qobject_cast<QLineEdit*>(control(w, name)); }

// A price typed over the box's text, then the focus leaves for the grid.
const QString kPrice9 = QStringLiteral("focus:meditUPrice|clear|type:9|focus:MSHFlexGridPLU|");
// The next delete of PLU 3 fails.
const QString kFail = QStringLiteral("fail:BEFORE DELETE ON KVB_25 WHEN OLD.PLU_No=3|");

} // namespace

class tst_PluCommandWindow : public QObject {
    Q_OBJECT

    TransferFolder m_folder;
    QStringList m_asked;
    QString m_answers;

private slots:
    void initTestCase()
    {
        QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText()));
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            if (!r.key.isEmpty())
                m_asked << r.key;
            const QChar a = m_answers.isEmpty() ? QLatin1Char('y') : m_answers.at(0);
            m_answers = m_answers.mid(1);
            if (r.buttons == ui::MsgButtons::Ok)
                return int(ui::MsgOk);
            return int(a == QLatin1Char('y') ? ui::MsgYes : a == QLatin1Char('n') ? ui::MsgNo : ui::MsgCancel);
        });
    }

    void cleanup()
    {
        endSteps();
        gPluEditor().gPLUChanged = 0;
        frmMain::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void command_data()
    {
        QTest::addColumn<CommandCase>("c");
        // clang-format off
        QTest::newRow("New, empty store")       << CommandCase{.plus = "", .steps = "click:cmdNew", .stored = "", .shown = "1/0/1/1/1"};
        QTest::newRow("New asks first, Cancel") << CommandCase{.steps = kPrice9 + "click:cmdNew", .answers = "c", .stored = "1:100 2:200 3:300", .shown = "1/0.09/0/1/1", .asked = "updatePLU"};
        QTest::newRow("Display")                << CommandCase{.steps = "click:cmdDisplay", .stored = "1:100 2:200 3:300", .shown = "1/1.00/0/0/0", .grid = "*:/:/:"};
        QTest::newRow("Up on row 2")            << CommandCase{.steps = "click:MSHFlexGridPLU(2,2)|click:cmdUp", .stored = "1:100 2:200 3:300", .shown = "1/1.00/0/0/1", .grid = "*:/:/:"};
        QTest::newRow("Update a price")         << CommandCase{.steps = kPrice9 + "click:cmdUpdate", .stored = "1:9 2:200 3:300", .shown = "1/0.09/0/0/1", .focus = "cmdUpdate"};
        QTest::newRow("Copy to 4")              << CommandCase{.steps = "click:cmdCopy|focus:meditPLU|clear|type:4|focus:MSHFlexGridPLU|click:cmdUpdate", .stored = "1:100 2:200 3:300 4:100", .shown = "1/1.00/0/0/1"};
        QTest::newRow("Delete, Yes")            << CommandCase{.steps = "click:cmdDlelte", .answers = "y", .stored = "2:200 3:300", .shown = "2/2.00/0/0/1", .asked = "delPLU", .grid = "*:/:"};
        QTest::newRow("Delete fails")           << CommandCase{.steps = kFail + "click:MSHFlexGridPLU(3,2)|click:cmdDlelte", .answers = "y", .stored = "1:100 2:200 3:300", .shown = "3/3.00/0/0/1", .asked = "delPLU dbWriteErr", .grid = ":/:/*:"};
        QTest::newRow("Delete all, Yes")        << CommandCase{.steps = "click:cmdDelAll", .answers = "y", .stored = "", .shown = "/0/0/0/1", .asked = "delAllPLU"};
        QTest::newRow("Cancel after New")       << CommandCase{.steps = "click:MSHFlexGridPLU(2,2)|click:cmdNew|click:cmdCancel", .stored = "1:100 2:200 3:300", .shown = "2/2.00/0/0/1"};
        QTest::newRow("Refresh")                << CommandCase{.steps = "click:MSHFlexGridPLU(2,2)|click:cmdReflesh", .stored = "1:100 2:200 3:300", .shown = "2/2.00/0/0/1"};
        QTest::newRow("Mark all")               << CommandCase{.edit = false, .steps = "click:cmdSelectAll", .stored = "1:100 2:200 3:300", .shown = "1/1.00/0/0/0", .grid = "*:*/:*/:*"};
        QTest::newRow("Unmark all")             << CommandCase{.edit = false, .steps = "click:cmdSelectAll|click:cmdClearAll", .stored = "1:100 2:200 3:300", .shown = "1/1.00/0/0/0", .grid = "*:/:/:"};
        // clang-format on
    }
    void command()
    {
        QFETCH(CommandCase, c);
        resetPlu();
        gPluEditor().gHideSelectedCol = 0;
        for (const QString& n : c.plus.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            addPlu(QStringLiteral("PLU_No=%1;PLU_UPrice=%2").arg(n).arg(n.toInt() * 100));
        frmMain* w = frmMain::form();
        w->Show();
        w->cmdData_Click();
        gPluEditor().gCurPLURow = 0;
        plu::LoadPLUList(w, PluListKind::Store, 1, 0, 0);
        if (c.edit)
            runSteps(w, QStringLiteral("click:cmdEdit"));
        m_asked.clear();
        m_answers = c.answers;
        runSteps(w, c.steps);

        const QString stored = gDBConnection
                                   .scalar(QStringLiteral(
                                       "SELECT group_concat(PLU_No || ':' || PLU_UPrice, ' ') FROM "
                                       "(SELECT * FROM KVB_25 WHERE ST_No=1 ORDER BY PLU_No, PLU_UPrice)"))
                                   .toString();
        QCOMPARE(stored, c.stored);
        const PluEditorState& s = gPluEditor();
        QCOMPARE(QStringList({box(w, QStringLiteral("meditPLU"))->text(), box(w, QStringLiteral("meditUPrice"))->text(),
                              QString::number(s.gNewPLU), QString::number(s.gPLUChanged),
                              QString::number(s.gHideSelectedCol)})
                     .join(QLatin1Char('/')),
                 c.shown);
        QCOMPARE(m_asked.join(QLatin1Char(' ')), c.asked);
        QCOMPARE(grid(w)->columnWidth(6) == 0, s.gHideSelectedCol == 1);
        if (!c.grid.isEmpty())
            QCOMPARE(gridCells(w, QStringLiteral("MSHFlexGridPLU"), {0, 6}, u':'), c.grid);
        if (!c.focus.isEmpty())
            QTRY_COMPARE(w->focusWidget() ? w->focusWidget()->objectName() : QString(), c.focus);
    }
};

QTEST_MAIN(tst_PluCommandWindow)
#include "tst_plucommandwindow.moc"
