// The kit's parts for the last windows: free-function handlers, onEnter and no handler on a window being
// destroyed, typed panels, the kinds of the field tables, editing in a grid cell, marks over RC_25, control
// characters.

#include "PluFixture.h"
#include "support/ChildProcess.h"
#include "support/WindowSteps.h"

#include "platform/ui/CellEdit.h"
#include "platform/ui/ControlTable.h"
#include "platform/ui/FieldCopy.h"
#include "platform/ui/FlexGrid.h"
#include "plu/Marks.h"
#include "settings/FieldKinds.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;

namespace {

QStringList ran;

void txtA_Click(QWidget* w) { ran << w->objectName() + QStringLiteral(" free"); }
void txtArr_Change(QWidget*, int index) { ran << QStringLiteral("free %1").arg(index); }
void box_GotFocus(QWidget* w, QWidget* box) { ran << w->objectName() + QStringLiteral(" enter ") + box->objectName(); }

class frmKit : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;
    frmKit()
    {
        setObjectName(QStringLiteral("frmKit"));
        ui::createControls(this, kControls);
    }
    void txtB_Change() { ran << QStringLiteral("member"); }
    void txtB_LostFocus() { ran << QStringLiteral("leave B"); }
    void txtB_GotFocus() { ran << QStringLiteral("enter B"); }
};

const ui::ControlTable frmKit::kControls{
    .section = "frm_Kit",
    .size = {6000, 3000},
    .controls =
        {
            ui::textBox("txtA", {120, 120, 1500, 345}).on(&txtA_Click).onEnter(&box_GotFocus),
            ui::textBox("txtArr(3)", {120, 600, 1500, 345}).on(&txtArr_Change),
            ui::textBox("txtB", {120, 1080, 1500, 345})
                .on(&frmKit::txtB_Change)
                .onLeave(&frmKit::txtB_LostFocus)
                .onEnter(&frmKit::txtB_GotFocus),
            ui::flexGrid("grid", {2000, 120, 3800, 2500}),
            ui::textBox("txtC", {120, 1560, 1500, 345}),
        },
};

void typeInto(QWidget* w, const QString& text)
{
    auto* box = static_cast<QLineEdit*>(w);
    box->selectAll();
    box->insert(text); // as a paste: one edit
}

// A panel of a frame, two boxes, a list and an array, and a label bound to no member.
struct TestPanel : ui::Panel {
    QLineEdit* txtA = nullptr;
    QComboBox* combB = nullptr;
    ui::ControlArray<QLineEdit> txtArr;
};

QList<ui::Control> testPanelRows()
{
    return ui::panelRows<TestPanel>({
        ui::frame("fraP", {0, 0, 3900, 1900}),
        ui::textBox("txtA", {120, 120, 1500, 345}).in("fraP").to(&TestPanel::txtA),
        ui::comboBox("combB", {1800, 120, 1500, 345}).in("fraP").to(&TestPanel::combB),
        ui::textBox("txtArr(1)", {120, 600, 1500, 345}).in("fraP").to(&TestPanel::txtArr),
        ui::textBox("txtArr(2)", {1800, 600, 1500, 345}).in("fraP").to(&TestPanel::txtArr),
        ui::label("lblC", {120, 1080, 1500, 345}).in("fraP"),
    });
}

// A window taking the panel's rows: "*" all of them, else those named; then the window's own box.
struct PanelCase {
    QStringList take{"*"};
    QString bound{};     // the panel's pointers that are set
    QString stops{};     // the start of what creating the window stops with
    bool placed = false; // the taken rows placed on the window's own frame fraOwn, moved by (60, 240)
};

struct CellRow {
    const char* name; // the editor's
    int bytes = 0;
    QStringList list{};
    QString typed;            // into the box; a list's row: the steps runSteps() takes
    int key = Qt::Key_Return; // 0: the focus leaves
    QString cell = QStringLiteral("old");
    QString next = QStringLiteral("entered 1 0");
};

} // namespace

Q_DECLARE_METATYPE(CellRow)
Q_DECLARE_METATYPE(PanelCase)

class tst_KitParts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(test::setUpPluFolder(m_folder), qPrintable(m_folder.errorText())); }

    // One row per handler kind: a free function, a free function of an array element, one given its control, a
    // member; then focus in and out; then the window deleted while its box with a leave handler has the focus.
    void handlerKinds()
    {
        ran.clear();
        auto* w = new frmKit;
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->findChild<QWidget*>("txtA")->setFocus(Qt::TabFocusReason);
        ran.clear();
        typeInto(w->findChild<QWidget*>("txtA"), "a");
        typeInto(w->findChild<QWidget*>("txtArr(3)"), "b");
        auto* b = w->findChild<QLineEdit*>("txtB");
        b->setFocus(Qt::TabFocusReason);
        typeInto(b, "c");
        w->findChild<QWidget*>("txtA")->setFocus(Qt::TabFocusReason);
        b->setFocus(Qt::TabFocusReason);
        QCOMPARE(
            ran,
            (QStringList{"frmKit free", "free 3", "enter B", "member", "leave B", "frmKit enter txtA", "enter B"}));
        ran.clear();
        delete w; // txtB has the focus: no handler runs on the half-destroyed window, nothing stops
        QCOMPARE(ran, QStringList());
        QVERIFY(!ui::Handler(&frmKit::txtB_Change).accepts(new QObject(this)));
    }

    void panels_data()
    {
        QTest::addColumn<PanelCase>("c");
        // clang-format off
        QTest::newRow("whole") << PanelCase{.bound = "txtA combB txtArr(1) txtArr(2)"};
        QTest::newRow("in part") << PanelCase{.take = {"fraP", "txtA", "txtArr(2)", "lblC"}, .bound = "txtA txtArr(2)"};
        QTest::newRow("array by name") << PanelCase{.take = {"fraP", "txtArr"}, .bound = "txtArr(1) txtArr(2)"};
        QTest::newRow("no such row") << PanelCase{.take = {"fraP", "txtZ"}, .stops = "Control txtZ is taken from a panel that has no row"};
        QTest::newRow("its frame not taken") << PanelCase{.take = {"txtA"}, .stops = "Control txtA sits on fraP, which no earlier row creates"};
        QTest::newRow("none taken") << PanelCase{.take = {}, .stops = "Window frmHost of class QDialog holds no panel (anonymous namespace)::TestPanel"};
        QTest::newRow("placed on the window's frame") << PanelCase{.take = {"fraP", "txtA"}, .bound = "txtA fraP on fraOwn at 60,240 txtA on fraP at 120,120", .placed = true};
        // clang-format on
    }
    // Each row the window took is the panel's by its name, and its .to() member holds the same widget.
    void panels()
    {
        QFETCH(PanelCase, c);
        const ui::ControlTable table{
            .section = "frm_Kit",
            .size = {6000, 3000},
            .controls = (c.placed ? QList<ui::Control>{ui::frame("fraOwn", {0, 0, 5000, 2500})} : QList<ui::Control>{})
                + (c.take == QStringList{"*"} ? testPanelRows()
                       : c.placed             ? ui::placedOn(ui::takeRows(testPanelRows(), c.take), "fraOwn", {60, 240})
                                              : ui::takeRows(testPanelRows(), c.take))
                + QList<ui::Control>{ui::textBox("txtOwn", {4000, 120, 1500, 345})},
        };
        const auto open = [&] {
            QDialog w;
            w.setObjectName(QStringLiteral("frmHost"));
            ui::createControls(&w, table);
            const TestPanel& p = ui::panel<TestPanel>(&w);
            QStringList bound;
            if (p.txtA)
                bound << QStringLiteral("txtA");
            if (p.combB)
                bound << QStringLiteral("combB");
            for (int i : p.txtArr.indexes())
                bound << QStringLiteral("txtArr(%1)").arg(i);
            for (const ui::Control& row :
                 table.controls.mid(c.placed ? 1 : 0, table.controls.size() - (c.placed ? 2 : 1))) {
                QWidget* widget = w.findChild<QWidget*>(row.objectName());
                if (p.control(row.objectName()) != widget || (row.bindsMember() && row.boundWidget(&w) != widget))
                    bound << QStringLiteral("unbound ") + row.objectName();
                if (c.placed)
                    bound << QStringLiteral("%1 on %2 at %3,%4")
                                 .arg(row.objectName(), widget->parentWidget()->objectName())
                                 .arg(ui::designRect(widget).x())
                                 .arg(ui::designRect(widget).y());
            }
            return bound.join(QLatin1Char(' '));
        };
        if (c.stops.isEmpty())
            QCOMPARE(open(), c.bound);
        else
            QCOMPARE(test::fatalMessage(open).value_or(QStringLiteral("no stop")).left(c.stops.size()), c.stops);
    }

    void fieldKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("shown");
        QTest::addColumn<int>("zero"); // the window's display rule: the PLU editor's Short, the other files' Full
        using K = fields::Kind;
        const int S = int(fields::ZeroShown::Short), F = int(fields::ZeroShown::Full);
        // clang-format off
        QTest::newRow("whole") << int(K::Whole) << 0 << QVariant(42) << QVariant("42") << S;
        QTest::newRow("amount, price decimals, comma") << int(K::Amount) << int(fields::PriceDecimals) << QVariant(12345) << QVariant("123,45") << S;
        QTest::newRow("amount, weight decimals") << int(K::Amount) << int(fields::WeightDecimals) << QVariant(1500) << QVariant("1,500") << S;
        QTest::newRow("date DDMMYY") << int(K::Date) << 0 << QVariant(311224) << QVariant(QDate(2024, 12, 31)) << F;
        QTest::newRow("time HHMM") << int(K::Time) << 0 << QVariant(2359) << QVariant(QTime(23, 59)) << S;
        QTest::newRow("time 0, PLU editor") << int(K::Time) << 0 << QVariant(0) << QVariant(QTime()) << S;
        QTest::newRow("time 0, other files") << int(K::Time) << 0 << QVariant(0) << QVariant(QTime(0, 0)) << F;
        QTest::newRow("day mask") << int(K::DayMask) << 0 << QVariant(65) << QVariant("1000001") << F;
        QTest::newRow("day mask 0, PLU editor") << int(K::DayMask) << 0 << QVariant(0) << QVariant("0") << S;
        QTest::newRow("day mask 0, other files") << int(K::DayMask) << 0 << QVariant(0) << QVariant("0000000") << F;
        QTest::newRow("list position") << int(K::ListPosition) << 0 << QVariant(3) << QVariant(3) << S;
        QTest::newRow("status bit") << int(K::StatusBit) << 0 << QVariant(1) << QVariant(true) << S;
        QTest::newRow("check box, negated") << int(K::CheckBox) << 0 << QVariant(0) << QVariant(true) << S;
        // clang-format on
    }
    void fieldKinds()
    {
        QFETCH(int, kind);
        QFETCH(int, decimals);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, shown);
        QFETCH(int, zero);
        const fields::Format format{.decimalSign = ",", .priceDecimals = 2, .weightDecimals = 3};
        const auto k = fields::Kind(kind);
        QCOMPARE(fields::shownValue(k, decimals, stored, format, fields::ZeroShown(zero)), shown);
        QCOMPARE(fields::storedValue(k, decimals, shown, fields::Write::Always, format), stored.toLongLong());
    }

    // Stored values that are no date or time show as none (the picker keeps what it shows);
    // an empty box of a field written only when not empty writes nothing.
    void fieldKindEdges()
    {
        QVERIFY(!fields::dateOf(310205).isValid());
        QVERIFY(!fields::timeOf(2460).isValid());
        QCOMPARE(fields::storedValue(fields::Kind::Whole, 0, QString(), fields::Write::NotEmpty, {}), std::nullopt);
        QVERIFY_THROWS_EXCEPTION(fields::FieldError,
                                 fields::storedValue(fields::Kind::Whole, 0, "x1", fields::Write::Always, {}));
        // A picker given no date keeps its own and answers none until the operator changes it.
        QDateEdit picker(QDate(2026, 3, 15));
        ui::showField(&picker, fields::dateOf(310205), {});
        QCOMPARE(ui::fieldShown(&picker), QVariant(QDate()));
        picker.setDate(QDate(2026, 3, 16));
        QCOMPARE(ui::fieldShown(&picker), QVariant(QDate(2026, 3, 16)));
    }

    void cellEdit_data()
    {
        QTest::addColumn<CellRow>("row");
        // clang-format off
        QTest::newRow("Enter commits") << CellRow{.name = "enter", .typed = "new", .cell = "new"};
        QTest::newRow("the byte limit cuts a paste") << CellRow{.name = "limit", .bytes = 4, .typed = "abcdef", .cell = "abcd"};
        QTest::newRow("Esc restores") << CellRow{.name = "esc", .typed = "new", .key = Qt::Key_Escape, .next = "cancelled 1 0"};
        QTest::newRow("leaving commits") << CellRow{.name = "leave", .typed = "new", .key = 0, .cell = "new", .next = "left 1 0"};
        QTest::newRow("Tab leaves") << CellRow{.name = "tab", .typed = "new", .key = Qt::Key_Tab, .cell = "new", .next = "left 1 0"};
        QTest::newRow("a list's popup is no leaving") << CellRow{.name = "list", .list = {"old", "new"}, .typed = "choose:list=1", .key = 0, .cell = "new", .next = "left 1 0"};
        // clang-format on
    }
    void cellEdit()
    {
        QFETCH(CellRow, row);
        frmKit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* grid = w.findChild<QTableWidget*>("grid");
        ui::setupFlexGrid(grid, {{"Text", 1500}}, 2);
        ui::setFlexText(grid, 1, 0, "old");
        QString next;
        const auto say = [&next](const char* what) {
            return [&next, what](int r, int c) { next = QStringLiteral("%1 %2 %3").arg(what).arg(r).arg(c); };
        };
        QWidget* editor = ui::editCell(grid, {1, 0},
                                       {.name = row.name,
                                        .limit = ui::EditLimit().bytes(row.bytes),
                                        .list = row.list,
                                        .entered = say("entered"),
                                        .left = say("left"),
                                        .cancelled = say("cancelled")});
        QCOMPARE(ui::cellEditor(grid), editor);
        QCOMPARE(editor->objectName(), row.name);
        if (!row.list.isEmpty()) {
            test::runSteps(&w, row.typed);
            QCOMPARE(ui::cellEditor(grid), editor);
        } else {
            static_cast<QLineEdit*>(editor)->setModified(true);
            typeInto(editor, row.typed);
        }
        if (row.key)
            QTest::keyClick(editor, Qt::Key(row.key));
        else
            w.findChild<QWidget*>("txtA")->setFocus(Qt::TabFocusReason);
        QCOMPARE(ui::flexText(grid, 1, 0), row.cell);
        QCOMPARE(next, row.next);
        QVERIFY(!ui::cellEditor(grid));
    }

    // A list editor that ends on the click that opens its popup: choose: stops the run saying so, choosing nothing.
    void chooseInAnEditorThatEnds()
    {
        frmKit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* grid = w.findChild<QTableWidget*>("grid");
        ui::setupFlexGrid(grid, {{"Text", 1500}}, 2);
        QWidget* editor = ui::editCell(grid, {1, 0}, {.name = "list", .list = {"old", "new"}});
        struct EndOnPress : QObject {
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                if (event->type() == QEvent::MouseButtonPress)
                    QTest::keyClick(static_cast<QWidget*>(watched), Qt::Key_Escape);
                return false;
            }
        } ending;
        editor->installEventFilter(&ending);
        QCOMPARE(test::fatalMessage([&] { test::runSteps(&w, "choose:list=1"); }).value_or("no stop"),
                 QStringLiteral("list closed when its popup opened"));
    }

    // In a grid the arrows move the current cell; Tab and Shift+Tab go to the window's next and previous controls,
    // from a cell's box too (the box's leaving done).
    void gridKeys()
    {
        frmKit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* grid = w.findChild<QTableWidget*>("grid");
        ui::setupFlexGrid(grid, {{"A", 1500}, {"B", 1500}}, 3);
        grid->setCurrentCell(0, 0);
        const auto keys = [&](QWidget* from, std::initializer_list<Qt::Key> pressed) {
            from->setFocus();
            for (Qt::Key key : pressed)
                QTest::keyClick(QApplication::focusWidget(), key);
            return QStringLiteral("%1 %2,%3")
                .arg(QApplication::focusWidget()->objectName())
                .arg(grid->currentRow())
                .arg(grid->currentColumn());
        };
        QCOMPARE(keys(grid, {Qt::Key_Right, Qt::Key_Down}), QStringLiteral("grid 1,1"));
        QCOMPARE(keys(grid, {Qt::Key_Tab}), QStringLiteral("txtC 1,1"));
        QCOMPARE(keys(grid, {Qt::Key_Backtab}), QStringLiteral("txtB 1,1"));
        QCOMPARE(keys(ui::editCell(grid, {1, 0}, {.name = "box"}), {Qt::Key_Tab}), QStringLiteral("txtC 0,0"));
        QVERIFY(!ui::cellEditor(grid));
    }

    // Marks over RC_25: a Shift range, a single toggle, mark all, clear all, and the clearing of the marked rows
    // by rowid, no row outside the list written.
    void marksOverReceivedPlus()
    {
        test::emptyTables({"RC_25"});
        test::addTableRows(
            "RC_25:ST_No=1;PLU_No=5|RC_25:ST_No=1;PLU_No=3|RC_25:ST_No=1;PLU_No=9|RC_25:ST_No=1;PLU_No=1|"
            "RC_25:ST_No=2;PLU_No=7;Is_Selected=1");
        const QString table = QStringLiteral("RC_25");
        MarkList marks(table, MarkList::rowidsOf(table, QStringLiteral("WHERE ST_No=1 ORDER BY PLU_No, rowid")));
        QCOMPARE(marks.set(2, 2, MarkMode::Click), 1); // PLUs 3 and 5
        QCOMPARE(marks.markedRows(), (QList<int>{2, 3}));
        QCOMPARE(marks.set(3, 1, MarkMode::Click, true), 0);
        QCOMPARE(marks.markedRows(), (QList<int>{2}));
        marks.setAll(true);
        QCOMPARE(marks.markedRows(), (QList<int>{1, 2, 3, 4}));
        marks.clearMarked();
        QCOMPARE(marks.markedRows(), QList<int>());
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT SUM(Is_Selected) FROM RC_25")).toInt(), 1);
    }

private:
    test::TransferFolder m_folder;
};

QTEST_MAIN(tst_KitParts)
#include "tst_kitparts.moc"
