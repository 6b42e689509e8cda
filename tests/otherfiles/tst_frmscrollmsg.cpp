// The scroll-message editor's wiring, driven by objectName; the rules behind it are tested at their core
// functions (tst_scrollmessages).

#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "otherfiles/ui/frmScrollMSG.h"
#include "platform/ui/CellEdit.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"
#include "transfer/TransferRequest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;

namespace {

template<class T = QWidget> T* child(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

QTableWidget* grid(QWidget* form) { return child<QTableWidget>(form, QStringLiteral("gridScrollMsg")); }

// Clicks message row `row` and returns the box laid over its cell.
QLineEdit* openCell(QWidget* form, int row)
{
    QTableWidget* g = grid(form);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(row - 1, 1)).center());
    return qobject_cast<QLineEdit*>(ui::cellEditor(g));
}

// Types into row `row`, replacing its text, and ends with `key`.
void typeRow(QWidget* form, int row, const QString& text, Qt::Key key = Qt::Key_Return)
{
    QLineEdit* box = openCell(form, row);
    QVERIFY(box);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, key);
}

void click(QWidget* form, const char* name) { child<QPushButton>(form, QLatin1String(name))->click(); }

// "Number=field ..." of the table's rows.
QString stored(const char* table = "KVB_3F", const char* field = "Data")
{
    QStringList rows;
    for (const qint64 id : test::rowIds(QLatin1String(table))) {
        const QVariantMap row = test::rowValues(QLatin1String(table), id);
        rows << row.value(QStringLiteral("Number")).toString() + QLatin1Char('=')
                + row.value(QLatin1String(field)).toString();
    }
    return rows.join(QLatin1Char(' '));
}

QComboBox* step(QWidget* form, const char* list, int k)
{
    return child<QComboBox>(form, QStringLiteral("%1(%2)").arg(QLatin1String(list)).arg(k));
}

} // namespace

class TestFrmScrollMSG : public test::TransferFolderTest {
    Q_OBJECT

    QStringList m_messages;

    void prepare()
    {
        test::loadTexts();
        m_messages.clear();
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r.text.section(QLatin1Char('\n'), 0, 0);
            return int(ui::MsgOk);
        });
    }

private slots:
    // Sequences 4 and 7 stored: the lowest is shown; a stored message fills its row.
    void opening()
    {
        test::addRow("KVB_3F", {{"Number", 3}, {"Data", "Fresh bread"}});
        test::addRow("KVB_40", {{"Number", 7}, {"File1", 9}});
        test::addRow("KVB_40", {{"Number", 4}, {"File2", 3}, {"Speed3", 2}});
        prepare();
        frmScrollMSG window;
        window.show();
        QWidget* form = &window;
        QCOMPARE(child<QComboBox>(form, QStringLiteral("combSeqNum"))->currentIndex(), 3);
        QCOMPARE(step(form, "combMSGNo", 2)->currentIndex(), 3);
        QCOMPARE(step(form, "combSpeed", 3)->currentIndex(), 2);
        QCOMPARE(ui::flexText(grid(form), 3, 1), QStringLiteral("Fresh bread"));
        QCOMPARE(ui::flexText(grid(form), 9, 0), QStringLiteral("9"));
    }

    // Rows 2 and 5 saved as two rows; an emptied row goes from the table.
    void saveMessages()
    {
        prepare();
        frmScrollMSG window;
        window.show();
        QWidget* form = &window;
        typeRow(form, 2, QStringLiteral("Two"));
        typeRow(form, 5, QStringLiteral("Five"));
        QCOMPARE(test::rowCount(QStringLiteral("KVB_3F")), 0); // nothing before Save
        click(form, "cmdSaveM");
        QCOMPARE(stored(), QStringLiteral("2=Two 5=Five"));
        typeRow(form, 2, QString());
        click(form, "cmdSaveM");
        QCOMPARE(stored(), QStringLiteral("5=Five"));
    }

    // The 101st byte is refused; Esc keeps the cell's text.
    void cellLimits()
    {
        prepare();
        frmScrollMSG window;
        window.show();
        QWidget* form = &window;
        typeRow(form, 1, QString(101, QLatin1Char('a')));
        QCOMPARE(ui::flexText(grid(form), 1, 1), QString(100, QLatin1Char('a')));
        typeRow(form, 1, QStringLiteral("changed"), Qt::Key_Escape);
        QCOMPARE(ui::flexText(grid(form), 1, 1), QString(100, QLatin1Char('a')));
    }

    // Another sequence drops unsaved steps; Save keeps them.
    void sequenceSwitch()
    {
        prepare();
        frmScrollMSG window;
        window.show();
        QWidget* form = &window;
        QComboBox* number = child<QComboBox>(form, QStringLiteral("combSeqNum"));
        ui::setListIndex(step(form, "combMSGNo", 1), 4);
        ui::setListIndex(number, 1);
        ui::setListIndex(number, 0);
        QCOMPARE(step(form, "combMSGNo", 1)->currentIndex(), 0);
        ui::setListIndex(step(form, "combPattern", 2), 3);
        click(form, "cmdSaveS");
        ui::setListIndex(number, 1);
        ui::setListIndex(number, 0);
        QCOMPARE(step(form, "combPattern", 2)->currentIndex(), 3);
    }

    // Each send saves first, then sends its file with its rows marked only while the transfer window is open; a
    // send whose save fails opens no transfer window.
    void sends()
    {
        test::addScaleInUse();
        prepare();
        frmScrollMSG window;
        window.show();
        QWidget* form = &window;
        QStringList sent;
        test::WindowAnswer answer(QStringLiteral("frmFTPDataTrans"), [&](QWidget*) {
            sent << gTransferFiles.join(QLatin1Char(',')) + QLatin1Char(':') + stored("KVB_3F", "Is_Selected")
                    + QLatin1Char(':') + stored("KVB_40", "Is_Selected");
        });
        typeRow(form, 2, QStringLiteral("Two"));
        click(form, "cmdDownloadM");
        ui::setListIndex(child<QComboBox>(form, QStringLiteral("combSeqNum")), 4);
        click(form, "cmdDownloadS");
        QCOMPARE(sent, (QStringList{"SCM0UALL.csv:2=1:", "SCS0UALL.csv:2=0:5=1"}));
        QCOMPARE(stored("KVB_3F", "Is_Selected") + ' ' + stored("KVB_40", "Is_Selected"), QStringLiteral("2=0 5=0"));
        gDBConnection.exec(
            QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON KVB_3F BEGIN SELECT RAISE(ABORT, 'x'); END"));
        click(form, "cmdDownloadM");
        QCOMPARE(answer.count(), 2);
        QCOMPARE(m_messages, QStringList{gLangMsg.text(QStringLiteral("dbWriteErr"))});
    }
};

QTEST_MAIN(TestFrmScrollMSG)
#include "tst_frmscrollmsg.moc"
