// The received-PLU review window as an operator meets it: its list, its colours, marking by mouse and keys.

#include "PluFixture.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "plu/ui/frmUpload.h"
#include "support/DataRows.h"
#include "support/PluGenerator.h"
#include "support/WindowSteps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

QTableWidget* grid(QWidget* w) { return w->findChild<QTableWidget*>(QStringLiteral("GridPLUUpload")); }

// "number|PLU|item|name|price|mark" of every row, "/"-separated.
QString rows(QWidget* w)
{
    QStringList out;
    for (int r = 1; r < ui::flexRows(grid(w)); ++r) {
        QStringList cells;
        for (int c = 1; c <= 6; ++c)
            cells << ui::flexText(grid(w), r, c);
        out << cells.join(QLatin1Char('|'));
    }
    return out.join(QLatin1Char('/'));
}

// Column 6, then the pointer's row: "**- 2".
QString marks(QWidget* w)
{
    QString out;
    int pointer = 0;
    for (int r = 1; r < ui::flexRows(grid(w)); ++r) {
        out += ui::flexText(grid(w), r, 6).isEmpty() ? QLatin1Char('-') : QLatin1Char('*');
        if (ui::flexText(grid(w), r, 0) == QLatin1String("*"))
            pointer = r;
    }
    return out + QLatin1Char(' ') + QString::number(pointer);
}

QString selected()
{
    return gDBConnection
        .scalar("SELECT group_concat(PLU_No) FROM (SELECT PLU_No FROM RC_25 WHERE Is_Selected<>0 "
                "ORDER BY PLU_No)")
        .toString();
}

void click(QWidget* w, int row, int col, Qt::KeyboardModifiers keys = {})
{
    QTableWidget* g = grid(w);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, keys, g->visualItemRect(g->item(row - 1, col)).center());
}

// Another row made current by the steps of moveInGrid(), then the row the grid, the pointer and the record view show.
struct Chosen {
    const char* name;
    const char* by;
    int row;
};

} // namespace

class tst_FrmUpload : public QObject {
    Q_OBJECT

    TransferFolder m_folder;
    QStringList m_messages;

private slots:
    void initTestCase()
    {
        QVERIFY2(setUpPluFolder(m_folder), qPrintable(m_folder.errorText()));
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r.text;
            return int(ui::MsgOk);
        });
    }
    void init()
    {
        resetPlu();
        emptyTables({"RC_25"});
        m_messages.clear();
        // Four listed rows out of order and one already marked, which is not listed.
        for (const auto& [no, item, name, price, selected] : {std::tuple{7, "0007", "", 250, 0},
                                                              {3, "", "x", 100, 0},
                                                              {5, "", "", 990, 1},
                                                              {4, "", "", 5, 0},
                                                              {9, "", "", 1, 0}})
            addRow(QStringLiteral("RC_25"),
                   {{"PLU_No", no},
                    {"PLU_EANItemCode", *item ? QVariant(QString::fromLatin1(item)) : QVariant()},
                    {"PLU_Commodity", *name ? QVariant(QByteArray("x")) : QVariant()},
                    {"PLU_CommodityFirst", QStringLiteral("Pear")},
                    {"PLU_UPrice", price},
                    {"Is_Selected", selected}});
    }

    void list()
    {
        plu::frmUpload w;
        w.show();
        QCOMPARE(rows(&w), QStringLiteral("1|3||Pear|1.00|/2|4|||0.05|/3|7|0007||2.50|/4|9|||0.01|"));
        QCOMPARE(grid(&w)->horizontalHeaderItem(6)->text(), QStringLiteral("S"));
        QCOMPARE(marks(&w), QStringLiteral("---- 1"));
        QVERIFY(w.isEnabled());
        QVERIFY(!w.findChild<QPushButton*>("cmdTransfer")->isEnabled());
        // Row 1 has the button face in column 1 only; row 2 is light cyan in columns 2 to 6.
        const QColor face = grid(&w)->palette().button().color();
        QCOMPARE(grid(&w)->item(0, 1)->background().color(), face);
        QCOMPARE(grid(&w)->item(1, 1)->background().color(), face);
        QVERIFY(grid(&w)->alternatingRowColors());
        QCOMPARE(grid(&w)->palette().color(QPalette::AlternateBase), QColor(192, 255, 255));
        QCOMPARE(grid(&w)->item(1, 2)->background().style(), Qt::NoBrush);
        QCOMPARE(w.findChild<QComboBox*>("combST")->currentText(), QStringLiteral("1"));
    }

    // Marks by mouse and keys, as the grid shows them and RC_25 holds them.
    void marking()
    {
        plu::frmUpload w;
        w.show();
        auto* transfer = w.findChild<QPushButton*>("cmdTransfer");
        click(&w, 2, 6);
        QCOMPARE(marks(&w), QStringLiteral("-*-- 2"));
        QVERIFY(transfer->isEnabled());
        click(&w, 4, 6);
        click(&w, 2, 6); // one of two cleared
        QCOMPARE(marks(&w), QStringLiteral("---* 2"));
        QVERIFY(transfer->isEnabled());
        click(&w, 4, 6); // the only one cleared
        QVERIFY(!transfer->isEnabled());
        click(&w, 3, 2); // outside the mark column: the pointer only
        QCOMPARE(marks(&w), QStringLiteral("---- 3"));
        // Shift ranges either way.
        click(&w, 1, 2, Qt::ShiftModifier);
        QCOMPARE(marks(&w), QStringLiteral("***- 1"));
        QTest::keyRelease(grid(&w), Qt::Key_Shift);
        click(&w, 4, 2);
        click(&w, 2, 2, Qt::ShiftModifier);
        QCOMPARE(marks(&w), QStringLiteral("**** 2"));
        QCOMPARE(selected(), QStringLiteral("3,4,5,7,9"));
        QTest::keyRelease(grid(&w), Qt::Key_Shift);
        // The arrow keys move the pointer.
        QTest::keyClick(grid(&w), Qt::Key_Down);
        QTest::keyClick(grid(&w), Qt::Key_Down);
        QCOMPARE(marks(&w), QStringLiteral("**** 4"));
        QTest::keyClick(grid(&w), Qt::Key_Up);
        QCOMPARE(marks(&w), QStringLiteral("**** 3"));
        // The header: column 6 marks all ("C"), any other header click clears all ("S").
        grid(&w)->horizontalHeader()->sectionClicked(3);
        QCOMPARE(marks(&w), QStringLiteral("---- 3"));
        QCOMPARE(grid(&w)->horizontalHeaderItem(6)->text(), QStringLiteral("S"));
        grid(&w)->horizontalHeader()->sectionClicked(6);
        QCOMPARE(grid(&w)->horizontalHeaderItem(6)->text(), QStringLiteral("C"));
        QCOMPARE(selected(), QStringLiteral("3,4,5,7,9"));
        grid(&w)->horizontalHeader()->sectionClicked(6);
        QCOMPARE(marks(&w), QStringLiteral("---- 3"));
        QCOMPARE(selected(), QStringLiteral("5"));
        QVERIFY(m_messages.isEmpty());
    }

    // However the operator makes another row current, the record view and the pointer follow it.
    void chosenRowIsShown_data()
    {
        // clang-format off
        test::addDataRows<Chosen>({
            {.name = "PageDown", .by = "key:PgDown", .row = 4},
            {.name = "Ctrl+End", .by = "key:Ctrl+End", .row = 4},
            {.name = "Ctrl+Home", .by = "click:3 key:Ctrl+Home", .row = 1},
            {.name = "Home and End stay on the row", .by = "click:3 key:End key:Home", .row = 3},
            {.name = "pressed on 1, released on 3", .by = "drag:1-3", .row = 3},
            {.name = "a typed 2", .by = "type:2", .row = 2},
        });
        // clang-format on
    }
    void chosenRowIsShown()
    {
        QFETCH(Chosen, row);
        plu::frmUpload w;
        w.show();
        QTableWidget* g = grid(&w);
        moveInGrid(g, QLatin1String(row.by));
        QCOMPARE(g->currentRow() + 1, row.row);
        QCOMPARE(marks(&w).section(QLatin1Char(' '), 1).toInt(), row.row);
        QCOMPARE(w.findChild<QLineEdit*>("meditPLU")->text(), ui::flexText(g, row.row, 2));
    }

    // The record view shows the grid's current row, record 0 first, in controls that take no input, and has none
    // of the editor's handlers: only the window's own rows have one.
    void recordView()
    {
        gDBConnection.exec(QStringLiteral("UPDATE RC_25 SET PLU_MG=PLU_No+10, PLU_Commodity=? WHERE PLU_No=4"),
                           {textLine(1, "Plum", 0x0C)});
        plu::frmUpload w;
        w.show();
        const auto text = [&](const char* name) { return w.findChild<QLineEdit*>(name)->text(); };
        QCOMPARE(text("meditPLU"), QStringLiteral("3"));
        click(&w, 2, 3);
        QCOMPARE(QStringList({text("meditPLU"), text("txtName"), text("meditMG")}), QStringList({"4", "Plum", "14"}));
        QStringList handled;
        for (const ui::Control& row : plu::frmUpload::kControls.controls)
            if (row.handler() || row.leaveHandler() || row.enterHandler())
                handled << row.objectName();
        QCOMPARE(handled, QStringList({"GridPLUUpload", "combST", "combDP", "cmdTransfer", "cmdClose"}));
        for (QWidget* input : w.findChild<QTabWidget*>("SSTabPLUupload")->findChildren<QWidget*>())
            if ((qobject_cast<QLineEdit*>(input) || qobject_cast<QComboBox*>(input) || qobject_cast<QCheckBox*>(input)
                 || qobject_cast<QDateTimeEdit*>(input))
                && !input->objectName().startsWith(QLatin1String("qt_")))
                QVERIFY2(!input->isEnabled(), qPrintable(input->objectName()));
    }

    // No store: "99", and the copy stays off; the first mark says so, once.
    void noStore()
    {
        emptyTables({"STORE"});
        plu::frmUpload w;
        w.show();
        QCOMPARE(w.findChild<QComboBox*>("combST")->currentText(), QStringLiteral("99"));
        click(&w, 1, 6);
        click(&w, 2, 6);
        QVERIFY(!w.findChild<QPushButton*>("cmdTransfer")->isEnabled());
        QCOMPARE(m_messages, QStringList{gLangMsg.text(QStringLiteral("upNoStore"))});
    }
};

QTEST_MAIN(tst_FrmUpload)
#include "tst_frmupload.moc"
