// The text editor's window driven as an operator drives it: typing into the box laid over a line's text cell,
// choosing a font from the list laid over its font cell, Esc, and OK with a save step that fails.

#include "platform/Error.h"
#include "platform/text/Ansi.h"
#include "platform/ui/CellEdit.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "plu/ui/frmStringEdit.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/SettingsState.h"
#include "state/TextBuffer.h"
#include "support/ProgramFolderFixture.h"
#include "support/TextLines.h"
#include "support/WindowSteps.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;

namespace {

struct WindowCase {
    QString codePage = QStringLiteral("windows-1252");
    int mode = EditDescription;
    QString buffer{};       // "code:text|..." (Latin-1)
    QString steps;          // see run()
    QString lines;          // the grid's lines after the steps, "font:text|..."
    QString box{};          // the display box after OK; "-" when the window stayed open
    QString message{};      // the key of the one message shown, if any
    bool saveFails = false; // the save step of modes 13 to 16 throws
};

// Steps, ";"-separated: "type:text" into the open box ("x33" types 33 x, "中8" eight 中), "esc" and "enter" in
// the open box or list, "pick:p" chooses list position p, "shows:txtGrid=text" or "shows:CobFont=p" checks the
// open box or list by its name; the others as test::runSteps() takes them: a click on line i's text cell is
// "click:gridString(i,1)", on its font cell "click:gridString(i,2)", a mouse choice in the list "choose:CobFont=p".
void run(frmStringEdit& w, const QString& steps)
{
    auto* grid = w.findChild<QTableWidget*>(QStringLiteral("gridString"));
    for (const QString& step : steps.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString verb = step.section(QLatin1Char(':'), 0, 0);
        const QString arg = step.section(QLatin1Char(':'), 1);
        QWidget* open = ui::cellEditor(grid);
        if (verb == QLatin1String("type")) {
            const int times = arg.size() > 1 ? arg.mid(1).toInt() : 1;
            for (int n = 0; n < times; ++n) { // a key event with its text: keyClicks takes ASCII only
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(arg.at(0)));
                QApplication::sendEvent(open, &press);
            }
        } else if (verb == QLatin1String("esc")) {
            QTest::keyClick(open, Qt::Key_Escape);
        } else if (verb == QLatin1String("enter")) {
            QTest::keyClick(open, Qt::Key_Return);
        } else if (verb == QLatin1String("pick")) {
            static_cast<QComboBox*>(open)->setCurrentIndex(arg.toInt());
        } else if (verb == QLatin1String("shows")) {
            QCOMPARE(test::shownAs(&w, arg), arg);
        } else {
            test::runSteps(&w, step);
        }
    }
}

} // namespace

class tst_StringEditWindow : public QObject {
    Q_OBJECT

    test::ProgramFolderFixture m_folder;
    QStringList m_messages;

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        test::loadTexts();
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r.key;
            return int(ui::MsgOk);
        });
    }
    void cleanupTestCase() { text::setAnsiCodePage(QStringLiteral("windows-1252")); }

    void window_data()
    {
        QTest::addColumn<WindowCase>("c");
        const QString x32(32, QLatin1Char('x')), x20(20, QLatin1Char('x')), x16(16, QLatin1Char('x'));
        // clang-format off
        QTest::newRow("33rd byte at G1")   << WindowCase{.steps = "type:x33;click:cmdOK", .lines = "G1:" + x32, .box = x32};
        QTest::newRow("no code page room") << WindowCase{.steps = "type:a;type:中;click:cmdOK", .lines = "G1:a", .box = "a", .message = "charRefused"};
        QTest::newRow("GBK counts 2")      << WindowCase{.codePage = "GBK", .steps = "type:中17;click:cmdOK", .lines = "G1:" + QString(16, QChar(0x4E2D)), .box = QString(16, QChar(0x4E2D))};
        QTest::newRow("own font's limit")  << WindowCase{.mode = EditIngredient, .buffer = "1:a|2:b", .steps = "click:gridString(1,2);enter;click:gridString(2,1);type:x20;enter", .lines = "G1:a|G2:" + x16, .box = "-"};
        QTest::newRow("font changed")      << WindowCase{.mode = EditIngredient, .buffer = "1:a", .steps = "click:gridString(1,2);pick:1;enter;click:gridString(1,1);type:x20;enter", .lines = "G2:" + x16, .box = "-"};
        QTest::newRow("Esc in the box")    << WindowCase{.buffer = "1:a", .steps = "shows:txtGrid=a;type:zz;esc;click:cmdOK", .lines = "G1:a", .box = "a"};
        QTest::newRow("font by mouse")     << WindowCase{.buffer = "1:a", .steps = "click:gridString(1,2);choose:CobFont=2;shows:CobFont=2;enter;click:cmdOK", .lines = "G3:a", .box = "a"};
        QTest::newRow("refused by mouse")  << WindowCase{.buffer = "1:" + x20, .steps = "click:gridString(1,2);choose:CobFont=1;shows:CobFont=0;choose:CobFont=2;enter;click:cmdOK", .lines = "G3:" + x20, .box = x20};
        QTest::newRow("Esc in the list")   << WindowCase{.buffer = "1:a", .steps = "click:gridString(1,2);pick:2;esc;click:cmdOK", .lines = "G1:a", .box = "a"};
        QTest::newRow("append, delete")    << WindowCase{.mode = EditAdvert, .buffer = "1:a", .steps = "click:cmdAppend;type:b;click:cmdInsert;type:c;click:gridString(2,1);click:cmdDelete", .lines = "G1:a|G1:b", .box = "-"};
        QTest::newRow("save step fails")   << WindowCase{.mode = EditSpecialMsg, .buffer = "1:a", .steps = "type:b;click:cmdOK", .lines = "G1:b", .box = "-", .message = "dbWriteErr", .saveFails = true};
        // clang-format on
    }
    void window()
    {
        QFETCH(WindowCase, c);
        text::setAnsiCodePage(c.codePage);
        gSettings().gSysCountry = 0;
        m_messages.clear();
        TextBuffer& buffer = stringEditBuffer(c.mode);
        buffer = TextBuffer{records::BuildTextBytes(test::textLinesOf(c.buffer)), quint8(c.buffer.isEmpty() ? 0 : 1)};
        const TextBuffer before = buffer;
        QLineEdit display(QStringLiteral("shown"));
        int saved = 0;
        TextSaveStep step = [&](const QByteArray&, const QString&) {
            ++saved;
            if (c.saveFails)
                throw Error(QStringLiteral("disk full"));
        };
        frmStringEdit w(nullptr, c.mode, &display, step);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        run(w, c.steps);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(test::gridCells(&w, QStringLiteral("gridString"), {2, 1}, u':', u'|'), c.lines);
        QCOMPARE(m_messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        if (c.box == QLatin1String("-")) {
            QVERIFY(w.isVisible());
            QCOMPARE(display.text(), QStringLiteral("shown"));
            QCOMPARE(buffer.bytes, before.bytes);
        } else {
            QVERIFY(!w.isVisible());
            QCOMPARE(display.text(), c.box);
            QCOMPARE(text::toAnsi(display.text()), records::ParseTextBytes(buffer.bytes, 1).value(0).bytes);
        }
        QCOMPARE(saved, c.saveFails ? 1 : 0);
    }
};

QTEST_MAIN(tst_StringEditWindow)
#include "tst_stringeditwindow.moc"
