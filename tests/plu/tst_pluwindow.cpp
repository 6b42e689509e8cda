// The PLU list and editor on the main window, driven as the operator drives them: the grid's rows and marks by
// mouse and keys, leaving an edited PLU, the editor's captions, and the realigned bar-format lists. Deleting is
// tst_plulist's table and a row of tst_plucommandwindow's.

#include "PluFixture.h"

#include "mainwindow/ui/frmMain.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluEditorPages.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluPanel.h"
#include "state/PluEditorState.h"
#include "state/SettingsState.h"
#include "state/StoreTreeState.h"
#include "support/DataRows.h"
#include "support/WindowSteps.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

template<class T = QWidget> T* find(QWidget* w, const QString& name) { return qobject_cast<T*>(control(w, name)); }
QTableWidget* grid(QWidget* w) { return find<QTableWidget>(w, QStringLiteral("MSHFlexGridPLU")); }
QString text(QWidget* w, const char* box) { return find<QLineEdit>(w, QLatin1String(box))->text(); }

// "row|PLU|item|name|price|mark" of every grid row, "/"-separated; one column's cells, " "-separated.
QString gridRows(QWidget* w) { return gridCells(w, QStringLiteral("MSHFlexGridPLU"), {1, 2, 3, 4, 5, 6}); }
QString column(QWidget* w, int c) { return gridCells(w, QStringLiteral("MSHFlexGridPLU"), {c}, u'|', u' '); }

void click(QWidget* w, int row, int col, Qt::KeyboardModifiers keys = {})
{
    QTableWidget* g = grid(w);
    g->scrollToItem(g->item(row - 1, col));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, keys, g->visualItemRect(g->item(row - 1, col)).center());
}

void clickHeader(QWidget* w)
{
    QHeaderView* header = grid(w)->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
}

// Every later update of KVB_25 fails.
const QString kFailUpdates = QStringLiteral("fail:BEFORE UPDATE ON KVB_25");

// A name's text block of one line.
QByteArray nameBlock(const QByteArray& name) { return QByteArray("\x01") + char(name.size()) + name + "\x0c"; }

// Another row made current by the steps of moveInGrid(), then the row the grid and the editor show.
struct Chosen {
    const char* name;
    const char* by;
    int row;
    bool edit = true; // then Delete deletes the PLU shown
};

// Steps on PLU 1 in edit mode, "|"-separated: "page:N" the page chosen as a click on its tab chooses it, "key:Tab",
// or one of runSteps(). Then whether the save question came (answered Yes) and what PLU 1 holds.
struct Visit {
    const char* name;
    const char* steps;
    const char* fields = "";
    bool asked = false;
    const char* stored = "NULL/0/0/0/0/100"; // item code, its flag, price may be changed, priority, negative, price
};

} // namespace

Q_DECLARE_METATYPE(Chosen)
Q_DECLARE_METATYPE(Visit)

class tst_PluWindow : public QObject {
    Q_OBJECT

    TransferFolder m_folder;
    QList<ui::MsgRequest> m_messages;
    int m_answer = ui::MsgYes;
    QList<bool> m_enabled; // the window's state at each list load

    // The main window on store 1's data view, which lists the store's PLUs.
    frmMain* open()
    {
        frmMain* w = frmMain::form();
        w->Show();
        w->cmdData_Click();
        m_messages.clear();
        return w;
    }

    // The list of a node, as the tree's node click asks for it.
    void list(QWidget* w, int kind, int deptOrSearch = 0, int mg = 0)
    {
        StoreTreeState& t = gStoreTree();
        t.gCurNodeKind = PluListKind(kind);
        t.gCurDeptNo = qint16(deptOrSearch);
        t.gCurMGNo = qint16(mg);
        gPluEditor().gCurPLURow = 0;
        plu::LoadPLUList(w, PluListKind(kind), 1, qint16(deptOrSearch), qint16(mg));
    }

    void numbered(int count)
    {
        for (int n = 1; n <= count; ++n)
            addPlu(QStringLiteral("PLU_No=%1;PLU_UPrice=%2").arg(n).arg(n * 100));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText()));
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r;
            return r.buttons == ui::MsgButtons::Ok ? int(ui::MsgOk) : m_answer;
        });
        plu::observePLUListLoads([this](auto...) { m_enabled << frmMain::form()->isEnabled(); });
    }

    void init()
    {
        resetPlu();
        gPluEditor().gHideSelectedCol = 0;
        gSettings().gSysStore = 0;
        gSettings().gLanguageName = QStringLiteral("Standard");
        gSettings().gCurrencySymbol = QStringLiteral("RMB");
        addRow(QStringLiteral("KVB_20"), {{"ST_No", 1}, {"DP_No", 5}, {"DP_Name", "Dairy"}, {"barformat", 255}});
        addRow(QStringLiteral("KVB_20"), {{"ST_No", 1}, {"DP_No", 6}, {"DP_Name", "Empty"}, {"barformat", 255}});
        m_messages.clear();
        m_enabled.clear();
        m_answer = ui::MsgYes;
    }

    void cleanup()
    {
        endSteps();
        gPluEditor().gPLUChanged = 0;
        frmMain::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The main window takes the PLU panel whole: every row is the panel's by its name, and every pointer its
    // .to() sets holds the widget of that name.
    void panelBound()
    {
        frmMain* w = open();
        const plu::PluPanel& panel = plu::pluPanel(w);
        for (const ui::Control& row : plu::pluPanelRows()) {
            QWidget* widget = find(w, row.objectName());
            QVERIFY2(panel.control(row.objectName()) == widget, qPrintable(row.objectName()));
            QVERIFY2(!row.bindsMember() || row.boundWidget(w) == widget, qPrintable(row.objectName()));
        }
    }

    // Every row of the editor's field table goes from its place in the editor's values to its control and back:
    // a value of its own each (a digit for the one-character boxes, a day mask for the days).
    void everyFieldRoundTrips()
    {
        using enum fields::Kind;
        frmMain* w = open();
        PluEditorValues tab = plu::editorValues(w);
        tab.units.combSymbol = QStringList{"a", "b", "c", "d", "e"};
        QStringList sent, back;
        int n = 0, list = 0;
        for (const PluField& row : pluFields()) {
            const QString text = QString::number(++n, row.kind == DayMask ? 2 : 10);
            if (ListValue* groups = row.value.in<ListValue>(tab))
                *groups = ListValue{{QStringLiteral("1"), text}, -1};
            const QVariant value = row.kind == ListPosition     ? QVariant(list++)
                : row.kind == Date                              ? QVariant(QDate(2026, 1, 1).addDays(n))
                : row.kind == Time                              ? QVariant(QTime(1, n))
                : row.kind == StatusBit || row.kind == CheckBox ? QVariant(n % 2 == 0)
                : row.focusLimit == 1                           ? QVariant(text.right(1))
                                                                : QVariant(text);
            setShown(tab, row, value);
            sent << row.control + QLatin1Char('=') + value.toString();
        }
        plu::showEditorValues(w, tab);
        const PluEditorValues shown = plu::editorValues(w);
        for (const PluField& row : pluFields())
            back << row.control + QLatin1Char('=') + shownIn(shown, row).toString();
        QCOMPARE(back, sent);
    }

    // The list each kind of node asks for (tst_plulist) filled into the grid, the main-group list and the editor.
    // Department 97 holds main groups 12 and 997, department 5 main group 44.
    void loadPLUList_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("deptOrSearch");
        QTest::addColumn<int>("mg");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("shown"); // meditPLU, combMG and meditDepartment
        // clang-format off
        QTest::newRow("store") << 0 << 0 << 0 << "1|1|||0.50|/2|2|||0.10|/3|3|||5.00|*/4|5|0005|Apple|1.00|/5|7||Pear|9.00|/6|7|||8.00|/7|9|||2.50|" << "1 *0 12 44 997/";
        QTest::newRow("search: bounds inclusive, departments ignored") << 3 << 2 << 0 << "1|3|||5.00|*/2|5|0005|Apple|1.00|" << "3 12 *44 997/5";
        QTest::newRow("empty search") << 3 << 8 << 0 << "" << " *12 44 997/97";
        // clang-format on
    }
    void loadPLUList()
    {
        QFETCH(int, kind);
        QFETCH(int, deptOrSearch);
        QFETCH(int, mg);
        addListRows();
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_EANItemCode='0005', PLU_Commodity=?, "
                                          "PLU_CommodityFirst='Apple' WHERE PLU_No=5"),
                           {nameBlock("Apple")});
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_Commodity=?, PLU_CommodityFirst='Pear' "
                                          "WHERE PLU_No=7 AND PLU_UPrice=900"),
                           {nameBlock("Pear")});
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_CommodityFirst='no name' WHERE PLU_No=9"));
        frmMain* w = open();
        // A mark that no list shown made (a record the start-up could not decode) is listed.
        gRsPLU.close();
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=1 WHERE PLU_No=3"));
        m_enabled.clear();
        list(w, kind, deptOrSearch, mg);
        QCOMPARE(m_enabled, QList<bool>{false});
        QVERIFY(w->isEnabled());
        QTEST(gridRows(w), "rows");
        const QComboBox* groups = find<QComboBox>(w, QStringLiteral("combMG"));
        QStringList shown{text(w, "meditPLU")};
        for (int i = 0; i < groups->count(); ++i)
            shown << (i == groups->currentIndex() ? QStringLiteral("*") : QString()) + groups->itemText(i);
        QTEST(shown.join(QLatin1Char(' ')) + QLatin1Char('/') + text(w, "meditDepartment"), "shown");
        const int rows = ui::flexRows(grid(w)) - 1;
        QCOMPARE(column(w, 0), rows ? QStringLiteral("*") + QString(rows - 1, QLatin1Char(' ')) : QString());
        QCOMPARE(grid(w)->currentRow(), rows ? 0 : -1);
        QCOMPARE(find(w, QStringLiteral("SSTabPLU"))->isEnabled(), rows > 0);
        QVERIFY(!find(w, QStringLiteral("frameTAB(1)"))->isEnabled()); // display mode
        QVERIFY(m_messages.isEmpty());
    }

    // The columns share the grid's width by 9615 parts; the mark column is gone in edit mode.
    void columnWidths()
    {
        numbered(2);
        frmMain* w = open();
        QTableWidget* g = grid(w);
        const auto widths = [&] {
            g->resize(9615, g->height());
            plu::SetPLUGridColumnWidths(w);
            QStringList out;
            for (int c = 0; c < g->columnCount(); ++c)
                out << QString::number(g->columnWidth(c));
            return out.join(QLatin1Char(' '));
        };
        QCOMPARE(widths(), QStringLiteral("0 700 1300 1500 4250 1300 300"));
        runSteps(w, QStringLiteral("click:cmdEdit"));
        QCOMPARE(widths(), QStringLiteral("0 700 1300 1500 4250 1300 0"));
        QVERIFY(find(w, QStringLiteral("frameTAB(2)"))->isEnabled());
    }

    // Marks as the operator sets them: a click in the mark column and again, a click on row 7 and a shift-click
    // on row 3, a reload; the header row; a mark of another store enables sending.
    void marks()
    {
        numbered(8);
        addRow(QStringLiteral("KVB_25"), {{"ST_No", 2}, {"PLU_No", 1}});
        frmMain* w = open();
        QPushButton* sendAll = find<QPushButton>(w, QStringLiteral("cmdSendAll"));
        QVERIFY(!sendAll->isEnabled());

        click(w, 4, 6);
        QCOMPARE(column(w, 6), QStringLiteral("   *    "));
        QCOMPARE(marked(), QStringLiteral("4"));
        QCOMPARE(text(w, "meditPLU"), QStringLiteral("4"));
        QCOMPARE(column(w, 0), QStringLiteral("   *    "));
        QVERIFY(sendAll->isEnabled());
        click(w, 4, 6);
        QCOMPARE(marked(), QString());
        QVERIFY(!sendAll->isEnabled());

        click(w, 7, 2);
        QCOMPARE(marked(), QString());
        click(w, 3, 2, Qt::ShiftModifier);
        QCOMPARE(marked(), QStringLiteral("3 4 5 6 7"));
        QCOMPARE(column(w, 6), QStringLiteral("  * * * * * "));
        QCOMPARE(gPluEditor().gCurPLURow, 3);
        QCOMPARE(text(w, "meditPLU"), QStringLiteral("3"));

        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=1 WHERE ST_No=2"));
        plu::RefreshPLUList(w);
        QCOMPARE(marked(), QString());
        QCOMPARE(column(w, 6).trimmed(), QString());
        QCOMPARE(marked(2), QStringLiteral("1"));
        QVERIFY(sendAll->isEnabled()); // the other store's mark
        QCOMPARE(text(w, "meditPLU"), QStringLiteral("3"));

        clickHeader(w);
        QCOMPARE(gPluEditor().gCurPLURow, 1);
        QCOMPARE(grid(w)->currentRow(), 0);
        QCOMPARE(text(w, "meditPLU"), QStringLiteral("1"));

        QVERIFY(m_messages.isEmpty());

        // Marks that cannot be cleared when the list is loaded again: told as a failed write, not a failed read.
        list(w, 0);
        click(w, 2, 6);
        QCOMPARE(marked(), QStringLiteral("2"));
        runSteps(w, kFailUpdates);
        plu::RefreshPLUList(w);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].key, QStringLiteral("dbWriteErr"));
    }

    // Leaving an edited PLU of row 1 by a click on row 5, a press released on another row or a key, answering the
    // save question.
    void leaveEdited_data()
    {
        QTest::addColumn<QString>("by");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("number"); // typed into meditPLU
        QTest::addColumn<int>("shownRow");
        QTest::addColumn<QString>("prices");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QString>("itemCode"); // of PLU 1, shown in edit mode on the inherit entry; "": display mode
        const QString kept = "1:100 2:200 3:300 4:400 5:500", saved = "1:250 2:200 3:300 4:400 5:500";
        // clang-format off
        QTest::newRow("click, Cancel") << "click:5" << int(ui::MsgCancel) << "1" << 1 << kept << 1 << "";
        QTest::newRow("Down, No") << "key:Down" << int(ui::MsgNo) << "1" << 2 << kept << 1 << "";
        QTest::newRow("Down, Yes") << "key:Down" << int(ui::MsgYes) << "1" << 2 << saved << 1 << "";
        QTest::newRow("click, Yes, number used") << "click:5" << int(ui::MsgYes) << "3" << 1 << kept << 2 << "";
        QTest::newRow("click, Yes, database fails") << "click:5" << int(ui::MsgYes) << "failing" << 1 << kept << 2 << "";
        QTest::newRow("click, Yes, item code longer than its format") << "click:5" << int(ui::MsgYes) << "1" << 5 << saved << 1 << "1234567890";
        QTest::newRow("pressed on 3, released on 5, No") << "drag:3-5" << int(ui::MsgNo) << "1" << 5 << kept << 1 << "";
        QTest::newRow("pressed on 3, released on 5, Cancel") << "drag:3-5" << int(ui::MsgCancel) << "1" << 1 << kept << 1 << "";
        QTest::newRow("Ctrl+End, Cancel") << "key:Ctrl+End" << int(ui::MsgCancel) << "1" << 1 << kept << 1 << "";
        // clang-format on
    }
    void leaveEdited()
    {
        QFETCH(QString, by);
        QFETCH(int, answer);
        QFETCH(QString, number);
        QFETCH(int, shownRow);
        QFETCH(QString, itemCode);
        numbered(5);
        frmMain* w = open();
        if (!itemCode.isEmpty()) {
            gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_BarFormat=255, PLU_EANItemCode=? WHERE PLU_No=1"),
                               {itemCode});
            gPluEditor().gHideSelectedCol = 1;
            plu::ResetTabFrames(w, plu::TabFrames::Enabled);
            plu::ShowPLUInTab(w, 0);
            const auto* box = find<QLineEdit>(w, QStringLiteral("meditItemCode"));
            QVERIFY(box->isEnabled() && ui::editLimit(box).maxChars() < itemCode.size());
            QCOMPARE(box->text(), itemCode); // the limit holds for what is typed next
        }
        const bool failing = number == QLatin1String("failing");
        if (failing)
            runSteps(w, kFailUpdates);
        ui::setText(find<QLineEdit>(w, QStringLiteral("meditUPrice")), QStringLiteral("2.50"));
        ui::setText(find<QLineEdit>(w, QStringLiteral("meditPLU")), failing ? QStringLiteral("1") : number);
        gPluEditor().gPLUChanged = 1;
        m_answer = answer;
        moveInGrid(grid(w), by);
        QTEST(int(m_messages.size()), "messages");
        QCOMPARE(m_messages[0].key, QStringLiteral("updatePLU"));
        QCOMPARE(gPluEditor().gCurPLURow, shownRow);
        QCOMPARE(grid(w)->currentRow() + 1, shownRow);
        QCOMPARE(column(w, 0).indexOf(QLatin1Char('*')) + 1, shownRow);
        QTEST(pluRows(QStringLiteral("PLU_UPrice")), "prices");
        if (failing)
            QCOMPARE(m_messages[1].key, QStringLiteral("dbWriteErr"));
        const bool stayed = answer == ui::MsgCancel || m_messages.size() == 2;
        QCOMPARE(gPluEditor().gPLUChanged, qint16(stayed ? 1 : 0));
        QCOMPARE(text(w, "meditUPrice"), stayed ? QStringLiteral("2.50") : QStringLiteral("%1.00").arg(shownRow));
        if (!itemCode.isEmpty())
            QCOMPARE(pluRows(QStringLiteral("PLU_EANItemCode")).section(QLatin1Char(' '), 0, 0),
                     QStringLiteral("1:") + itemCode);
    }

    // However the operator makes another row current, the editor shows it and Delete deletes that PLU: the grid
    // and the editor never part.
    void chosenRowIsShown_data()
    {
        // clang-format off
        test::addDataRows<Chosen>({
            {.name = "pressed on 3, released on 5", .by = "drag:3-5", .row = 5},
            {.name = "pressed on 3, released unmoved on 5", .by = "slip:3-5", .row = 3},
            {.name = "the right button", .by = "right:4", .row = 4},
            {.name = "PageDown", .by = "key:PgDown", .row = 8},
            {.name = "Ctrl+Home", .by = "click:4 key:Ctrl+Home", .row = 1},
            {.name = "Ctrl+End", .by = "key:Ctrl+End", .row = 8},
            {.name = "Home and End stay on the row", .by = "click:4 key:End key:Home", .row = 4},
            {.name = "a typed 6", .by = "type:6", .row = 6},
            {.name = "display mode", .by = "drag:3-5", .row = 5, .edit = false},
        });
        // clang-format on
    }
    void chosenRowIsShown()
    {
        QFETCH(Chosen, row);
        numbered(8);
        frmMain* w = open();
        if (row.edit)
            runSteps(w, QStringLiteral("click:cmdEdit"));
        moveInGrid(grid(w), QLatin1String(row.by));
        QCOMPARE(grid(w)->currentRow() + 1, row.row);
        QCOMPARE(gPluEditor().gCurPLURow, row.row);
        QCOMPARE(text(w, "meditPLU"), QString::number(row.row));
        QCOMPARE(column(w, 0).indexOf(QLatin1Char('*')) + 1, row.row);
        if (row.edit) {
            runSteps(w, QStringLiteral("click:cmdDlelte"));
            QCOMPARE(m_messages.size(), 1);
            QVERIFY(!pluRows(QStringLiteral("PLU_No")).contains(QStringLiteral("%1:%1").arg(row.row)));
            QCOMPARE(pluRows(QStringLiteral("PLU_No")).count(QLatin1Char(' ')), 6);
        }
    }

    // A look at a page, the focus passing through a box, leaves the PLU as it was; a tick is a change to save.
    void lookOrTick_data()
    {
        // clang-format off
        test::addDataRows<Visit>({
            {.name = "the Barcode page looked at", .steps = "page:2|click:MSHFlexGridPLU(2,2)"},
            {.name = "Tab through the item code", .steps = "page:2|key:Tab|click:MSHFlexGridPLU(2,2)"},
            {.name = "a price saved after the look", .steps = "focus:meditUPrice|type:2|page:2|page:1|click:cmdUpdate", .stored = "NULL/0/0/0/0/2"},
            {.name = "price may be changed", .steps = "click:chkUPoverride|click:MSHFlexGridPLU(2,2)", .asked = true, .stored = "NULL/0/1/0/0/100"},
            {.name = "price priority", .steps = "page:3|click:chkPricePriority|click:MSHFlexGridPLU(2,2)", .asked = true, .stored = "NULL/0/0/1/0/100"},
            {.name = "negative PLU", .steps = "click:chknegativePLU|click:cmdReflesh", .fields = ",Stat1_Unit=1", .asked = true, .stored = "NULL/0/0/0/1/100"},
        });
        // clang-format on
    }
    void lookOrTick()
    {
        QFETCH(Visit, row);
        numbered(2);
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_EANItemCode=NULL, Stat2_ItemCode=0%1 WHERE PLU_No=1")
                               .arg(QLatin1String(row.fields)));
        frmMain* w = open();
        QVERIFY(QTest::qWaitForWindowActive(w));
        runSteps(w, QStringLiteral("click:cmdEdit"));
        for (const QString& step : QString::fromLatin1(row.steps).split(QLatin1Char('|'))) {
            if (step.startsWith(QLatin1String("page:")))
                ui::setTab(find<QTabWidget>(w, QStringLiteral("SSTabPLU")), step.mid(5).toInt() - 1);
            else if (step == QLatin1String("key:Tab"))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            else
                runSteps(w, step);
        }
        QCOMPARE(!m_messages.isEmpty(), row.asked);
        if (row.asked)
            QCOMPARE(m_messages[0].key, QStringLiteral("updatePLU"));
        QCOMPARE(pluRows(QStringLiteral("quote(PLU_EANItemCode)||'/'||Stat2_ItemCode||'/'||Stat1_UPriceOV||'/'||"
                                        "Stat1_PricePriority||'/'||Stat1_NegativePLU||'/'||PLU_UPrice"))
                     .section(QLatin1Char(' '), 0, 0),
                 QStringLiteral("1:") + QLatin1String(row.stored));
    }

    // A language switch with PLUs listed and no current row has nothing to show again, and says nothing.
    void languageWithoutCurrentRow()
    {
        numbered(2);
        frmMain* w = open();
        grid(w)->setCurrentCell(-1, -1);
        w->ChangeLanguage(1);
        w->ChangeLanguage(0);
        QVERIFY(m_messages.isEmpty());
    }

    // What the captions give (tst_plueditorsetup) reaches the editor's controls: a caption, the lists at their first
    // entries, the limits, the disabled boxes, the pickers' date and format; each list's handler runs once.
    void captions()
    {
        frmMain* w = open();
        gSettings().gDateType = 4;
        gSettings().gPriceUnit = 2;
        gSettings().gCurrencySymbol = QStringLiteral("EUR");
        for (const char* name : {"DTPickerStartDate", "DTPickerEndDate"}) {
            find<QDateEdit>(w, QLatin1String(name))->setDisplayFormat(QStringLiteral("yy/MM/dd"));
            find<QDateEdit>(w, QLatin1String(name))->setDate(QDate(2020, 2, 29));
        }
        QStringList ran; // the lists' handlers, each replaced by one that names its list
        for (const char* name : {"combBarcodeFormat", "combDiscType", "combMemDiscType"})
            ui::onChange(find(w, QLatin1String(name)), [&ran, name] { ran << QLatin1String(name); });
        plu::ApplyPLUEditorCaptions(w);

        QCOMPARE(find<QLabel>(w, QStringLiteral("lblPriceUnit(0)"))->text(), QStringLiteral("EUR"));
        for (const char* name : {"combSymbol", "combBarcodeFormat", "combRSData", "combMemDiscType", "combDiscType"}) {
            const auto* list = find<QComboBox>(w, QLatin1String(name));
            QVERIFY2(list->count() > 0 && list->currentIndex() == 0, name);
        }
        // An amount box counts its digits, its decimal sign beside them.
        QStringList limits;
        for (const char* name : {"meditPLU", "txtName", "meditTare", "meditDiscLimit1", "meditDiscDayOfWeek"}) {
            const ui::EditLimit l = ui::editLimit(find<QLineEdit>(w, QLatin1String(name)));
            limits << QString::number(l.maxChars())
                    + (l.filter() == ui::EditLimit::Decimal ? QString(l.decimalSign()) : QString());
        }
        QCOMPARE(limits.join(QLatin1Char(' ')), QStringLiteral("6 100 4. 5. 7"));
        for (const char* name : {"meditDepartment", "txtName", "meditDescription"})
            QVERIFY(!find(w, QLatin1String(name))->isEnabled());
        for (const char* name : {"DTPickerStartDate", "DTPickerEndDate"})
            QCOMPARE(find<QDateEdit>(w, QLatin1String(name))->text(), QDate::currentDate().toString("dd.MM.yy"));
        QCOMPARE(find<QDateTimeEdit>(w, QStringLiteral("DTPickerEndTime"))->displayFormat(), QStringLiteral("HH:mm"));
        ran.sort();
        QCOMPARE(ran, QStringList({"combBarcodeFormat", "combDiscType", "combMemDiscType"}));
    }

    // A limit counts a box's text without the leading zero its change drops: the tax box takes a digit typed
    // after the "0" it shows.
    void digitAfterZero()
    {
        numbered(1);
        frmMain* w = open();
        gPluEditor().gHideSelectedCol = 1;
        plu::ResetTabFrames(w, plu::TabFrames::Enabled);
        plu::ShowPLUInTab(w, 0);
        auto* tax = find<QLineEdit>(w, QStringLiteral("meditTaxNum"));
        QCOMPARE(tax->text(), QStringLiteral("0"));
        tax->setCursorPosition(1);
        QTest::keyClick(tax, Qt::Key_7);
        QCOMPARE(tax->text(), QStringLiteral("7"));
    }

    // With Frame5 5000 twips wide the bar-format list is 2248 twips wide and the RS-data list 840, 1408 to the
    // right of the item code.
    void frame5()
    {
        frmMain* w = open();
        const auto twips = [&](const char* name) {
            const QRect g = find(w, QLatin1String(name))->geometry();
            return QRect(g.topLeft() * ui::kTwipsPerPixel, g.size() * ui::kTwipsPerPixel);
        };
        QWidget* client = w->centralWidget();
        const QSize frame = w->size() - client->size();
        const int width = int(std::lround(15000.0 * 5000 / 10680 / ui::kTwipsPerPixel));
        w->resize(QSize(width, client->height()) + frame);
        QTRY_COMPARE(client->width(), width);
        QVERIFY(qAbs(twips("Frame5").width() - 5000) <= ui::kTwipsPerPixel);
        QVERIFY(qAbs(twips("combBarcodeFormat").width() - 2248) <= ui::kTwipsPerPixel);
        QVERIFY(qAbs(twips("combRSData").width() - 840) <= ui::kTwipsPerPixel);
        QVERIFY(qAbs(twips("combRSData").left() - twips("meditItemCode").left() - 1408) <= ui::kTwipsPerPixel);
        QCOMPARE(twips("combBarcodeFormat").left(), twips("meditItemCode").left());
    }

    // Tab goes through page 1 in its order in edit mode; each page shows and paints in either mode, and a
    // department without PLUs leaves the editor disabled.
    void tabOrder()
    {
        numbered(30);
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_Commodity=?, PLU_CommodityFirst='Golden apples', "
                                          "PLU_EANItemCode='0012', Is_Selected=1 WHERE PLU_No<=3"),
                           {nameBlock("Golden apples")});
        frmMain* w = open();
        auto* tabs = find<QTabWidget>(w, QStringLiteral("SSTabPLU"));
        for (const char* mode : {"display", "edit"}) {
            if (QLatin1String(mode) == QLatin1String("edit")) {
                runSteps(w, QStringLiteral("click:cmdEdit"));
                // Tab goes through page 1 in its order, past the name box that the text editor fills.
                plu::SelectPLUTab(w, PluEditorPage::Basic);
                QWidget* box = find(w, QStringLiteral("meditPLU"));
                box->setFocus();
                QStringList visited{box->objectName()};
                for (int i = 0; i < 3; ++i) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    visited << QApplication::focusWidget()->objectName();
                }
                QCOMPARE(visited, QStringList({"meditPLU", "cmdFont", "cmdDescFont", "meditUPrice"}));
            }
            for (int page = 1; page <= 3; ++page) {
                plu::SelectPLUTab(w, PluEditorPage(page));
                QCOMPARE(tabs->currentIndex(), page - 1);
                QVERIFY(paintsWhole(w));
            }
        }
        list(w, 1, 6); // a department without PLUs
        QCOMPARE(ui::flexRows(grid(w)), 1);
        QVERIFY(!find(w, QStringLiteral("SSTabPLU"))->isEnabled());
    }
};

QTEST_MAIN(tst_PluWindow)
#include "tst_pluwindow.moc"
