#include "support/DataRows.h"
#include "support/ProgramFolderFixture.h"
#include "support/WindowAnswer.h"

#include "datafiles/DataFileWriters.h"
#include "platform/db/Connection.h"
#include "platform/events/DoEvents.h"
#include "platform/text/Ansi.h"
#include "platform/ui/CellEdit.h"
#include "platform/ui/ControlTable.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MenuTable.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "records/PackedBcd.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/LangCollection.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::ui;

struct StepCase {
    const char* thrown = "";               // "db", "codec", "file"; "" runs through
    const char* failure = "Write failed:"; // with a key: gLangMsg's text of it
    const char* key = "";                  // "": the failure is a plain text
    const char* detail = "";               // the line langMsg adds after the key's text
    const char* message = "";              // the message shown; "" for none
};
Q_DECLARE_METATYPE(StepCase)

struct PickerRow {
    const char* name;
    const char* picker = "DTPickerTime"; // "HH:mm" at 00:00; DTPickerStart "dd.MM.yyyy" at 15.03.2026
    int at = 0;                          // the character of the picker's text clicked; -1 its up arrow
    Qt::Key key = Qt::Key_unknown;       // pressed after the click
    const char* typed = "";
    const char* shown = "";
    const char* held = ""; // a date refused: shown red, then shown again once the picker is left; "" as shown
};

struct PumpedInputRow {
    const char* name;
    const char* control; // a key pressed in txtName, a click on chkWeighed
};

struct CellRow {
    const char* name;
    Qt::Key key = Qt::Key_unknown; // Enter or Esc in the box; none: the wheel turns over the grid
    const char* step = "left";     // the window's next step that ran
    const char* cell = "typed";
};

namespace {

// A window with one control of every kind; each handler counts its runs under the control's name.
class KitWindow : public QDialog {
    Q_OBJECT
public:
    static const ControlTable kControls;
    KitWindow()
    {
        setObjectName(QStringLiteral("frmKit"));
        createControls(this, kControls);
    }

    QMap<QString, int> runs;
    QMap<QString, int> leaves;
    QLineEdit* txtName = nullptr;
    QComboBox* combMG = nullptr;
    ControlArray<QLineEdit> meditMemDisc;

    void txtName_Change() { ++runs[QStringLiteral("txtName")]; }
    void txtName_LostFocus() { ++leaves[QStringLiteral("txtName")]; }
    void meditMemDisc_Change(int index) { ++runs[QStringLiteral("meditMemDisc(%1)").arg(index)]; }
    void meditMemDisc_LostFocus(int index) { ++leaves[QStringLiteral("meditMemDisc(%1)").arg(index)]; }
    void txtNote_Change() { ++runs[QStringLiteral("txtNote")]; }
    void combMG_Click() { ++runs[QStringLiteral("combMG")]; }
    void lstKeys_Click() { ++runs[QStringLiteral("lstKeys")]; }
    void chkWeighed_Click() { ++runs[QStringLiteral("chkWeighed")]; }
    void optA_Click() { ++runs[QStringLiteral("optA")]; }
    void cmdOK_Click() { ++runs[QStringLiteral("cmdOK")]; }
    void SSTab_Click() { ++runs[QStringLiteral("SSTab")]; }
    void DTPickerStart_Change() { ++runs[QStringLiteral("DTPickerStart")]; }
    void DTPickerTime_Change() { ++runs[QStringLiteral("DTPickerTime")]; }
};

const ControlTable KitWindow::kControls{
    .section = "frm_Kit",
    .title = "frmKit",
    .size = {9000, 6000},
    .controls = {
        frame("Frame1", {120, 120, 4500, 2400}).caption(),
        textBox("txtName", {150, 300, 1800, 315})
            .in("Frame1")
            .tab(2)
            .on(&KitWindow::txtName_Change)
            .onLeave(&KitWindow::txtName_LostFocus)
            .to(&KitWindow::txtName),
        maskedEdit("meditMemDisc(1)", {150, 750, 900, 315})
            .in("Frame1")
            .tab(3)
            .on(&KitWindow::meditMemDisc_Change)
            .onLeave(&KitWindow::meditMemDisc_LostFocus)
            .to(&KitWindow::meditMemDisc),
        maskedEdit("meditMemDisc(2)", {1200, 750, 900, 315})
            .in("Frame1")
            .tab(4)
            .on(&KitWindow::meditMemDisc_Change)
            .onLeave(&KitWindow::meditMemDisc_LostFocus)
            .to(&KitWindow::meditMemDisc),
        multiLineText("txtNote", {150, 1200, 4200, 900}).in("Frame1").on(&KitWindow::txtNote_Change),
        comboBox("combMG", {4800, 120, 1800, 315}).on(&KitWindow::combMG_Click).to(&KitWindow::combMG),
        listBox("lstKeys", {4800, 600, 1800, 900}).on(&KitWindow::lstKeys_Click),
        checkBox("chkWeighed", {4800, 1620, 1800, 300}).caption("MainTabWeighted").on(&KitWindow::chkWeighed_Click),
        plainFrame("Frame2", {6750, 120, 2100, 900}),
        optionButton("optA", {0, 0, 1500, 300}).in("Frame2").caption().on(&KitWindow::optA_Click),
        optionButton("optB", {0, 450, 1500, 300}).in("Frame2").caption(),
        commandButton("cmdOK", {6750, 1200, 1200, 450}).tab(1).caption().on(&KitWindow::cmdOK_Click),
        checkBox("chkLong", {6750, 1740, 2100, 600}).caption(),
        label("lblPLU", {120, 2700, 1200, 300}).caption("MainTabPLU"),
        flexGrid("gridList", {120, 3150, 3000, 1500}),
        tabStrip("SSTab", {3300, 2700, 3000, 1950}).on(&KitWindow::SSTab_Click),
        tabPage("page1").in("SSTab").caption("tab0"),
        tabPage("page2").in("SSTab").caption("tab1"),
        label("lblOnPage", {150, 150, 1200, 300}).in("page2").caption("MainTabPLU"),
        treeView("treeStore", {6450, 2700, 2400, 1950}),
        datePicker("DTPickerStart", {120, 4800, 1500, 315}).on(&KitWindow::DTPickerStart_Change),
        timePicker("DTPickerTime", {1800, 4800, 1200, 315}).on(&KitWindow::DTPickerTime_Change),
        pictureBox("picLogo", {3300, 4800, 1500, 900}),
        progressBar("pbLoad", {5100, 4800, 3750, 300}),
    }};

LangCollection kitTexts()
{
    LangCollection texts;
    texts.add(QStringLiteral("frmKit"), QStringLiteral("Kit window"));
    texts.add(QStringLiteral("Frame1"), QStringLiteral("Prices"));
    texts.add(QStringLiteral("MainTabWeighted"), QStringLiteral("Weighed"));
    texts.add(QStringLiteral("optA"), QStringLiteral("Option A"));
    texts.add(QStringLiteral("optB"), QStringLiteral("Option B"));
    texts.add(QStringLiteral("cmdOK"), QStringLiteral("OK"));
    texts.add(QStringLiteral("chkLong"), QStringLiteral("Overwrite PLUs of the same number"));
    texts.add(QStringLiteral("MainTabPLU"), QStringLiteral("PLU No."));
    texts.add(QStringLiteral("tab0"), QStringLiteral("Basic"));
    texts.add(QStringLiteral("tab1"), QStringLiteral("Discount"));
    return texts;
}

// The nearest ancestor that is a control of the table or the window.
QString owner(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            return p->objectName();
    return QString();
}

// Types as the operator does: one key event per character, whatever its script.
void type(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
    }
}

void showActive(QWidget* w)
{
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// The wheel turned one notch down over `w` at `pos`, as the window system delivers it.
void wheel(QWidget* w, QPoint pos)
{
    QWheelEvent turn(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&turn);
    qApp->notify(w, &turn);
}

struct WheelsSeen : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Wheel;
        return false;
    }
};

class ToolStub : public QWidget {
    Q_OBJECT
public:
    ToolStub() { setObjectName(QStringLiteral("frmToolStub")); }
};

class ModalStub : public QDialog {
    Q_OBJECT
public:
    ModalStub()
    {
        setObjectName(QStringLiteral("frmModalStub"));
        setWindowFlag(Qt::WindowMinimizeButtonHint);
    }
};

class MenuWindow : public QMainWindow {
    Q_OBJECT
public:
    static const MenuTable kMenus;
    QStringList ran;
    void menuNew_Click() { ran << QStringLiteral("menuNew"); }
    void menuStore_Click() { ran << QStringLiteral("menuStore"); }
    void menuExit_Click() { ran << QStringLiteral("menuExit"); }
    void menuOther_Click() { ran << QStringLiteral("menuOther"); } // sets no mark
    void popmenuProperties_Click() { ran << QStringLiteral("popmenuProperties"); }
};

const MenuTable MenuWindow::kMenus{
    "frmMain_Menu",
    {
        menu("menuFile"),
        menu("menuNew", "menuFile").on(&MenuWindow::menuNew_Click),
        menu("menuStore", "menuNew").shortcut("Ctrl+N").on(&MenuWindow::menuStore_Click),
        separator("menuFile"),
        menu("menuExit", "menuFile").on(&MenuWindow::menuExit_Click),
        menu("menuLanguage"),
        menu("menuOther", "menuLanguage").caption("menuOthers").checkable().on(&MenuWindow::menuOther_Click),
        menu("popmenu").popup().caption(nullptr),
        menu("popmenuProperties", "popmenu").on(&MenuWindow::popmenuProperties_Click),
    }};

} // namespace

class TstWindowKit : public QObject {
    Q_OBJECT

private slots:
    void controlTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QString>("caption");
        // clang-format off
        QTest::newRow("frame") << "Frame1" << "QGroupBox" << "frmKit" << QRect(8, 8, 300, 160) << "Prices";
        QTest::newRow("text box on the frame") << "txtName" << "QLineEdit" << "Frame1" << QRect(10, 20, 120, 21) << "";
        QTest::newRow("array element") << "meditMemDisc(2)" << "QLineEdit" << "Frame1" << QRect(80, 50, 60, 21) << "";
        QTest::newRow("multi-line") << "txtNote" << "QPlainTextEdit" << "Frame1" << QRect(10, 80, 280, 60) << "";
        QTest::newRow("combo") << "combMG" << "quorvane::ui::ComboBox" << "frmKit" << QRect(320, 8, 120, 21) << "";
        QTest::newRow("list") << "lstKeys" << "quorvane::ui::ListBox" << "frmKit" << QRect(320, 40, 120, 60) << "";
        QTest::newRow("check, caption by key") << "chkWeighed" << "quorvane::ui::CheckBox" << "frmKit" << QRect(320, 108, 120, 20) << "Weighed";
        QTest::newRow("check, two lines") << "chkLong" << "quorvane::ui::WrappingCheckBox" << "frmKit" << QRect(450, 116, 140, 40) << "Overwrite PLUs of the same number";
        QTest::newRow("option on a plain frame") << "optB" << "quorvane::ui::OptionButton" << "Frame2" << QRect(0, 30, 100, 20) << "Option B";
        QTest::newRow("button") << "cmdOK" << "QPushButton" << "frmKit" << QRect(450, 80, 80, 30) << "OK";
        QTest::newRow("label") << "lblPLU" << "QLabel" << "frmKit" << QRect(8, 180, 80, 20) << "PLU No.";
        QTest::newRow("grid") << "gridList" << "quorvane::ui::FlexGridWidget" << "frmKit" << QRect(8, 210, 200, 100) << "";
        QTest::newRow("label on a tab page") << "lblOnPage" << "QLabel" << "page2" << QRect(10, 10, 80, 20) << "PLU No.";
        QTest::newRow("tree") << "treeStore" << "quorvane::ui::TreeView" << "frmKit" << QRect(430, 180, 160, 130) << "";
        QTest::newRow("date") << "DTPickerStart" << "quorvane::ui::DatePicker" << "frmKit" << QRect(8, 320, 100, 21) << "";
        QTest::newRow("time") << "DTPickerTime" << "QTimeEdit" << "frmKit" << QRect(120, 320, 80, 21) << "";
        QTest::newRow("picture") << "picLogo" << "quorvane::ui::PictureBox" << "frmKit" << QRect(220, 320, 100, 60) << "";
        QTest::newRow("progress") << "pbLoad" << "QProgressBar" << "frmKit" << QRect(340, 320, 250, 20) << "";
        // clang-format on
    }

    void controlTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, parent);
        QFETCH(QRect, pixels);
        QFETCH(QString, caption);
        KitWindow w;
        setCaptions(&w, KitWindow::kControls, kitTexts());
        QWidget* c = w.findChild<QWidget*>(name);
        QVERIFY(c);
        QCOMPARE(QString::fromLatin1(c->metaObject()->className()), className);
        QCOMPARE(owner(c), parent);
        QCOMPARE(c->geometry(), pixels);
        QCOMPARE(designRect(c).topLeft() / 15, pixels.topLeft()); // the twips as written
        if (auto* button = qobject_cast<QAbstractButton*>(c))
            QCOMPARE(button->text(), caption);
        else if (auto* l = qobject_cast<QLabel*>(c))
            QCOMPARE(l->text(), caption);
        else if (auto* g = qobject_cast<QGroupBox*>(c))
            QCOMPARE(g->title(), caption);
    }

    // What a table gives the window besides its controls: size, title, tab texts, members, arrays, tab order.
    void controlTableWindow()
    {
        KitWindow w;
        setCaptions(&w, KitWindow::kControls, kitTexts());
        QCOMPARE(w.size(), QSize(600, 400));
        QCOMPARE(designSize(&w), QSize(9000, 6000));
        QCOMPARE(w.windowTitle(), QStringLiteral("Kit window"));
        auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("SSTab"));
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(1), QStringLiteral("Discount"));
        QCOMPARE(w.txtName, w.findChild<QLineEdit*>(QStringLiteral("txtName")));
        QCOMPARE(w.meditMemDisc.indexes(), (QList<int>{1, 2}));
        QCOMPARE(w.meditMemDisc(2), w.findChild<QLineEdit*>(QStringLiteral("meditMemDisc(2)")));
        QCOMPARE(controlArray<QLineEdit>(&w, QStringLiteral("meditMemDisc")).elements(), w.meditMemDisc.elements());
        QCOMPARE(w.findChild<QWidget*>(QStringLiteral("cmdOK"))->nextInFocusChain(), w.txtName);
        QCOMPARE(w.txtName->nextInFocusChain(), w.meditMemDisc(1));
        QCOMPARE(w.meditMemDisc(1)->nextInFocusChain(), w.meditMemDisc(2));
        QVERIFY(w.runs.isEmpty()); // building the window ran no handler
    }

    void valueSetters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>(
            "afterQtSetter"); // Qt's own setter or clear(): the operator's change where Qt has no signal
        for (const char* n : {"combMG", "lstKeys", "chkWeighed", "optA", "txtName"})
            QTest::newRow(n) << n << 3;
        for (const char* n : {"txtNote", "DTPickerStart", "DTPickerTime", "SSTab"})
            QTest::newRow(n) << n << 4;
    }

    void valueSetters()
    {
        QFETCH(QString, name);
        QFETCH(int, afterQtSetter);
        KitWindow w;
        auto* combo = w.combMG;
        combo->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
        auto* list = w.findChild<QListWidget*>(QStringLiteral("lstKeys"));
        list->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        auto* check = w.findChild<QCheckBox*>(QStringLiteral("chkWeighed"));
        auto* option = w.findChild<QRadioButton*>(QStringLiteral("optA"));
        auto* note = w.findChild<QPlainTextEdit*>(QStringLiteral("txtNote"));
        auto* date = w.findChild<QDateEdit*>(QStringLiteral("DTPickerStart"));
        auto* time = w.findChild<QTimeEdit*>(QStringLiteral("DTPickerTime"));
        auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("SSTab"));
        showActive(&w);
        QWidget* control = w.findChild<QWidget*>(name);
        control->setFocus();
        const int& runs = w.runs[name];

        // The operator's change, then a setter to a new value, then to the same value again.
        if (name == QLatin1String("combMG")) {
            QTest::keyClick(combo, Qt::Key_Down);
            QCOMPARE(runs, 1);
            setListIndex(combo, 2);
            setListIndex(combo, 2);
            combo->setCurrentIndex(0);
            combo->clear();
        } else if (name == QLatin1String("lstKeys")) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
            QCOMPARE(runs, 1);
            QCOMPARE(list->currentRow(), 1);
            setListIndex(list, 2);
            setListIndex(list, 2);
            list->setCurrentRow(0);
            list->clear();
        } else if (name == QLatin1String("chkWeighed")) {
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
            QCOMPARE(runs, 1);
            setChecked(check, false);
            setChecked(check, false);
            check->setChecked(true);
        } else if (name == QLatin1String("optA")) {
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
            QCOMPARE(runs, 1);
            w.findChild<QRadioButton*>(QStringLiteral("optB"))->setChecked(true);
            setOption(option);
            setOption(option);
            QVERIFY(option->isChecked());
            option->setChecked(false);
        } else if (name == QLatin1String("txtName")) {
            QTest::keyClick(w.txtName, Qt::Key_A);
            QCOMPARE(runs, 1);
            setText(w.txtName, QStringLiteral("b"));
            setText(w.txtName, QStringLiteral("b"));
            w.txtName->setText(QStringLiteral("c"));
        } else if (name == QLatin1String("txtNote")) {
            QTest::keyClick(note, Qt::Key_A);
            QCOMPARE(runs, 1);
            setText(note, QStringLiteral("b"));
            setText(note, QStringLiteral("b"));
            note->setPlainText(QStringLiteral("c"));
        } else if (name == QLatin1String("DTPickerStart")) {
            date->setDate(QDate(2026, 3, 1)); // before any handler counts as the operator's: see afterQtSetter
            w.runs[name] = 0;
            QTest::keyClick(date, Qt::Key_Up);
            QCOMPARE(runs, 1);
            setDate(date, QDate(2026, 5, 31));
            setDate(date, QDate(2026, 5, 31));
            QCOMPARE(date->date(), QDate(2026, 5, 31));
            date->setDate(QDate(2026, 6, 1));
        } else if (name == QLatin1String("DTPickerTime")) {
            QTest::keyClick(time, Qt::Key_Up);
            QCOMPARE(runs, 1);
            setTime(time, QTime(8, 30));
            setTime(time, QTime(8, 30));
            time->setTime(QTime(9, 0));
        } else if (name == QLatin1String("SSTab")) {
            QTabBar* bar = tabs->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
            QCOMPARE(runs, 1);
            QCOMPARE(tabs->currentIndex(), 1);
            setTab(tabs, 0);
            setTab(tabs, 0);
            tabs->setCurrentIndex(1);
        }
        QCOMPARE(runs, afterQtSetter);
    }

    // A key or a click that arrives while a command pumps events is dropped: the command has not ended, and it
    // would act inside it.
    void inputDuringAPumpIsDropped_data()
    {
        // clang-format off
        test::addDataRows<PumpedInputRow>({
            {.name = "a key to a text box", .control = "txtName"},
            {.name = "a press on a check box", .control = "chkWeighed"},
        });
        // clang-format on
    }
    void inputDuringAPumpIsDropped()
    {
        QFETCH(PumpedInputRow, row);
        KitWindow w;
        showActive(&w);
        QWidget* control = w.findChild<QWidget*>(QLatin1String(row.control));
        control->setFocus();
        atNextPump([control] {
            if (qobject_cast<QLineEdit*>(control)) {
                QCoreApplication::postEvent(control,
                                            new QKeyEvent(QEvent::KeyPress, Qt::Key_A, {}, QStringLiteral("a")));
                return;
            }
            const QPointF at(6, control->height() / 2);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    control,
                    new QMouseEvent(type, at, control->mapToGlobal(at), Qt::LeftButton,
                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {}));
        });
        DoEvents();
        QCOMPARE(w.txtName->text(), QString());
        QVERIFY(!w.findChild<QCheckBox*>(QStringLiteral("chkWeighed"))->isChecked());
        QVERIFY(w.runs.isEmpty());
    }

    // Whatever the box's own width, its list shows its longest entry whole.
    void listWidth()
    {
        // A style whose lists keep the box's width of their own.
        const std::unique_ptr<QStyle> narrow(QStyleFactory::create(QStringLiteral("windows")));
        KitWindow w;
        w.combMG->setStyle(narrow.get());
        showActive(&w);
        w.combMG->addItems({QStringLiteral("1"), QStringLiteral("3:Middle and last check digits, and more besides")});
        w.combMG->showPopup();
        QAbstractItemView* view = w.combMG->view();
        QVERIFY(view->isVisible());
        QCOMPARE_GE(view->viewport()->width(), view->sizeHintForIndex(w.combMG->model()->index(1, 0)).width());
        QCOMPARE_LT(w.combMG->width(), view->fontMetrics().horizontalAdvance(w.combMG->itemText(1)));
    }

    // A click selects the section under the mouse, so the digits typed replace it.
    void pickerClick_data()
    {
        // clang-format off
        test::addDataRows<PickerRow>({
            {.name = "time: the hours", .at = 1, .typed = "0830", .shown = "08:30"},
            {.name = "time: the minutes", .at = 3, .typed = "45", .shown = "00:45"},
            {.name = "time: the up arrow", .at = -1, .shown = "01:00"},
            {.name = "date: the month", .picker = "DTPickerStart", .at = 4, .typed = "07", .shown = "15.07.2026"},
            {.name = "date: Home", .picker = "DTPickerStart", .at = 7, .key = Qt::Key_Home, .typed = "0105", .shown = "01.05.2026"},
            {.name = "date: End", .picker = "DTPickerStart", .at = 0, .key = Qt::Key_End, .typed = "2030", .shown = "15.03.2030"},
            {.name = "date: a leap day", .picker = "DTPickerStart", .typed = "29022028", .shown = "29.02.2028"},
            {.name = "date: separators", .picker = "DTPickerStart", .typed = "29.02.2028", .shown = "29.02.2028"},
            {.name = "date: a day February lacks", .picker = "DTPickerStart", .typed = "30022028", .shown = "30.02.2028", .held = "15.03.2026"},
        });
        // clang-format on
    }

    void pickerClick()
    {
        QFETCH(PickerRow, row);
        KitWindow w;
        auto* date = w.findChild<QDateEdit*>(QStringLiteral("DTPickerStart"));
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        date->setDate(QDate(2026, 3, 15));
        w.findChild<QTimeEdit*>(QStringLiteral("DTPickerTime"))->setDisplayFormat(QStringLiteral("HH:mm"));
        showActive(&w);
        auto* picker = w.findChild<QDateTimeEdit*>(QLatin1String(row.picker));
        auto* box = picker->findChild<QLineEdit*>();
        box->setCursorPosition(qMax(row.at, 0));
        if (row.at < 0)
            QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->width() - 4, 4));
        else
            QTest::mouseClick(box, Qt::LeftButton, {},
                              box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center() + QPoint(3, 0));
        if (row.key != Qt::Key_unknown)
            QTest::keyClick(picker, row.key);
        QTest::keyClicks(picker, QLatin1String(row.typed));
        QCOMPARE(box->text(), QLatin1String(row.shown));
        const QString held = *row.held ? QLatin1String(row.held) : QLatin1String(row.shown);
        QCOMPARE(box->palette().color(QPalette::Text) == Qt::red, *row.held != 0);
        w.txtName->setFocus();
        QCOMPARE(box->text(), held);
        if (picker == date)
            QCOMPARE(date->date().toString(QStringLiteral("dd.MM.yyyy")), held);
    }

    // A closed list or a picker turns with the wheel only while it has the focus; else the wheel goes on to its
    // parent, and the control takes no focus.
    void wheelTurnsTheFocusOnly()
    {
        KitWindow w;
        w.combMG->addItems({QStringLiteral("0"), QStringLiteral("1")});
        w.findChild<QDateEdit*>(QStringLiteral("DTPickerStart"))->setDate(QDate(2026, 3, 15));
        w.findChild<QTimeEdit*>(QStringLiteral("DTPickerTime"))->setTime(QTime(10, 30));
        showActive(&w);
        WheelsSeen seen;
        w.installEventFilter(&seen);
        for (const char* name : {"combMG", "DTPickerStart", "DTPickerTime"}) {
            auto* control = w.findChild<QWidget*>(QLatin1String(name));
            auto* box = control->findChild<QLineEdit*>();
            const auto shown = [&] { return box ? box->text() : w.combMG->currentText(); };
            const QString before = shown();
            QWidget* under = box ? static_cast<QWidget*>(box) : control; // what the window system gives the wheel
            seen.count = 0;
            w.txtName->setFocus();
            wheel(under, under->rect().center());
            QCOMPARE(shown(), before);
            QCOMPARE(seen.count, 1);
            QVERIFY2(!control->hasFocus(), name);
            control->setFocus();
            wheel(under, under->rect().center());
            QVERIFY2(shown() != before, name);
            QCOMPARE(seen.count, 1);
        }
        QCOMPARE(w.runs.value(QStringLiteral("combMG")), 1);
    }

    // A tree keeps one node selected, the current one: a Ctrl+click or Ctrl+Space on it leaves it selected.
    void treeKeepsItsNode()
    {
        KitWindow w;
        auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("treeStore"));
        tree->addTopLevelItems(
            {new QTreeWidgetItem({QStringLiteral("1")}), new QTreeWidgetItem({QStringLiteral("2")})});
        showActive(&w);
        QTreeWidgetItem* node = tree->topLevelItem(1);
        const QPoint at = tree->visualItemRect(node).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{node});
        QTest::keyClick(tree, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{node});
        QCOMPARE(tree->currentItem(), node);
    }

    // A click in the blank right of a short caption acts as a click on the caption.
    void clickBesideCaption()
    {
        KitWindow w;
        setCaptions(&w, KitWindow::kControls, kitTexts());
        showActive(&w);
        for (const char* name : {"chkWeighed", "optB"}) {
            auto* button = w.findChild<QAbstractButton*>(QLatin1String(name));
            QCOMPARE_LT(button->fontMetrics().horizontalAdvance(button->text()) + 30, button->width());
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 2, button->height() / 2));
            QVERIFY2(button->isChecked(), name);
        }
        QCOMPARE(w.runs.value(QStringLiteral("chkWeighed")), 1);
    }

    // A window that a command disabled gives the focus back when it is enabled again: to the control that had it,
    // else to the first of the tab order; a control the command focused keeps it.
    void focusReturn()
    {
        KitWindow w;
        showActive(&w);
        for (const auto& [meanwhile, focused] : {std::pair{"", "txtName"}, {"disable", "cmdOK"}, {"focus", "combMG"}}) {
            w.txtName->setEnabled(true);
            w.txtName->setFocus();
            w.setEnabled(false);
            w.txtName->setEnabled(qstrcmp(meanwhile, "disable") != 0);
            w.setEnabled(true);
            if (qstrcmp(meanwhile, "focus") == 0)
                w.combMG->setFocus();
            QCoreApplication::processEvents();
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(focused));
        }
    }

    // Enter, Esc and a scroll of the grid end a cell's editing with the focus on the grid.
    void cellEditEnds_data()
    {
        // clang-format off
        test::addDataRows<CellRow>({
            {.name = "Enter", .key = Qt::Key_Return, .step = "entered"},
            {.name = "Esc", .key = Qt::Key_Escape, .step = "cancelled", .cell = "before"},
            {.name = "the wheel over the grid"},
        });
        // clang-format on
    }

    void cellEditEnds()
    {
        QFETCH(CellRow, row);
        KitWindow w;
        auto* grid = w.findChild<QTableWidget*>(QStringLiteral("gridList"));
        setupFlexGrid(grid, {{QString(), 300}, {QString(), 2000}}, 40);
        setFlexText(grid, 1, 1, QStringLiteral("before"));
        showActive(&w);
        QStringList steps;
        CellEdit edit{.name = QStringLiteral("txtGrid")};
        edit.entered = [&](int, int) { steps << QStringLiteral("entered"); };
        edit.left = [&](int, int) { steps << QStringLiteral("left"); };
        edit.cancelled = [&](int, int) { steps << QStringLiteral("cancelled"); };
        auto* box = static_cast<QLineEdit*>(editCell(grid, {1, 1}, edit));
        box->setText(QStringLiteral("typed"));
        if (row.key != Qt::Key_unknown)
            QTest::keyClick(box, row.key);
        else
            wheel(grid->viewport(), grid->viewport()->rect().center());
        QCOMPARE(grid->verticalScrollBar()->value() > 0, row.key == Qt::Key_unknown);
        QVERIFY(!cellEditor(grid));
        QCOMPARE(steps, QStringList{QLatin1String(row.step)});
        QCOMPARE(flexText(grid, 1, 1), QLatin1String(row.cell));
        QCOMPARE(QApplication::focusWidget(), grid);
    }

    // A column too narrow for a text takes what it lacks from another.
    void columnFitsText()
    {
        QTableWidget grid;
        setupFlexGrid(&grid, {{QString(), 250}, {QString(), 3000}}, 16);
        for (int r = 1; r <= 15; ++r)
            setFlexText(&grid, r, 0, QString::number(r));
        const int both = grid.columnWidth(0) + grid.columnWidth(1);
        const int needed = static_cast<QAbstractItemView&>(grid).sizeHintForColumn(0);
        QCOMPARE_LT(grid.columnWidth(0), needed);
        fitColumnToText(&grid, 0, QStringLiteral("15"), 1);
        QCOMPARE(grid.columnWidth(0), needed);
        QCOMPARE(grid.columnWidth(0) + grid.columnWidth(1), both);
    }

    void leaveAndCommit_data()
    {
        QTest::addColumn<int>("reason"); // how the focus moves on; -1: commitFocusedField() instead
        QTest::addColumn<int>("leaves");
        QTest::newRow("Tab") << int(Qt::TabFocusReason) << 1;
        QTest::newRow("mouse") << int(Qt::MouseFocusReason) << 1;
        QTest::newRow("pop-up") << int(Qt::PopupFocusReason) << 0;
        QTest::newRow("other window") << int(Qt::ActiveWindowFocusReason) << 0;
        QTest::newRow("menu bar") << int(Qt::MenuBarFocusReason) << 0;
        QTest::newRow("commit") << -1 << 1;
    }

    void leaveAndCommit()
    {
        QFETCH(int, reason);
        QFETCH(int, leaves);
        KitWindow w;
        showActive(&w);
        w.meditMemDisc(2)->setFocus();
        QTRY_VERIFY(w.meditMemDisc(2)->hasFocus());
        if (reason < 0)
            commitFocusedField(&w);
        else
            w.txtName->setFocus(Qt::FocusReason(reason));
        QCOMPARE(w.leaves.value(QStringLiteral("meditMemDisc(2)")), leaves);
        QCOMPARE(w.leaves.size(), leaves);
    }

    void limitedEdit_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<int>("chars");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("filter"); // and after ", " the leading zeros the box's handler drops
        QTest::addColumn<QString>("start");  // set by code before the limit
        QTest::addColumn<int>("cursor");     // where the operator types; -1 at the end
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("dropped"); // the pasted text dropped at the end instead
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("messages");
        const QString cp1252 = QStringLiteral("windows-1252");
        const QString gbk = QStringLiteral("GBK");
        const QString zhong = QStringLiteral("\u4E2D"), wen = QStringLiteral("\u6587");
        // clang-format off
        QTest::newRow("digits typed") << cp1252 << 6 << 0 << "digits" << "" << -1 << "12a3" << "" << false << "123" << 0;
        QTest::newRow("digits: a paste with a letter changes nothing") << cp1252 << 6 << 0 << "digits" << "12" << -1 << "" << "3x4" << false << "12" << 0;
        QTest::newRow("digits pasted") << cp1252 << 6 << 0 << "digits" << "12" << -1 << "" << "345" << false << "12345" << 0;
        QTest::newRow("characters: typing stops at the limit") << cp1252 << 4 << 0 << "any" << "" << -1 << "abcdef" << "" << false << "abcd" << 0;
        QTest::newRow("characters: a paste is cut") << cp1252 << 4 << 0 << "any" << "ab" << -1 << "" << "cdef" << false << "abcd" << 0;
        QTest::newRow("a limit leaves a longer text whole") << cp1252 << 6 << 0 << "digits" << "1234567890" << -1 << "1" << "" << false << "1234567890" << 0;
        QTest::newRow("decimal: one sign") << cp1252 << 0 << 0 << "decimal" << "" << -1 << "1,2,3" << "" << false << "1,23" << 0;
        QTest::newRow("decimal: the sign beside the digits") << cp1252 << 4 << 0 << "decimal" << "" << -1 << "123,456" << "" << false << "123,4" << 0;
        QTest::newRow("decimal: a paste with a second sign changes nothing") << cp1252 << 4 << 0 << "decimal" << "1,2" << -1 << "" << "3,4" << false << "1,2" << 0;
        QTest::newRow("decimal: a drop loses the digits that do not fit") << cp1252 << 4 << 0 << "decimal" << "1,2" << -1 << "" << "3456" << true << "1,234" << 0;
        QTest::newRow("decimal: a drop with a letter changes nothing") << cp1252 << 4 << 0 << "decimal" << "1,2" << -1 << "" << "3a" << true << "1,2" << 0;
        QTest::newRow("days of the week") << cp1252 << 7 << 0 << "binary" << "" << -1 << "0120" << "" << false << "010" << 0;
        QTest::newRow("GBK bytes: a double-byte character counts 2") << gbk << 0 << 5 << "any" << "" << -1 << zhong + "a" + wen + "b" << "" << false << zhong + "a" + wen << 0;
        QTest::newRow("GBK bytes: a paste loses its end") << gbk << 0 << 4 << "any" << "ab" << -1 << "" << zhong + wen << false << "ab" + zhong << 0;
        QTest::newRow("bytes: a key that does not fit is refused") << cp1252 << 0 << 4 << "any" << "abcd" << 1 << "X" << "" << false << "abcd" << 0;
        QTest::newRow("bytes: a paste inside loses its own end") << cp1252 << 0 << 4 << "any" << "ab" << 1 << "" << "XYZ" << false << "aXYb" << 0;
        QTest::newRow("1252 refuses a Chinese key, once") << cp1252 << 0 << 0 << "any" << "" << -1 << "a" + zhong + "b" << "" << false << "ab" << 1;
        QTest::newRow("1252 refuses a paste holding Chinese") << cp1252 << 0 << 0 << "any" << "ab" << -1 << "" << "x" + zhong << false << "ab" << 1;
        QTest::newRow("control characters dropped from a drop") << cp1252 << 0 << 0 << "any" << "ab" << -1 << "" << "c\td\r\ne" + QString(QChar(0)) + "\x1b\x7f" << true << "abcde" << 0;
        QTest::newRow("text set by code is not refused") << cp1252 << 0 << 0 << "any" << "a" + zhong << -1 << "" << "" << false << "a" + zhong << 0;
        QTest::newRow("whole number: a key after the 0 it drops fits") << cp1252 << 1 << 0 << "digits, whole number" << "0" << -1 << "7" << "" << false << "7" << 0;
        QTest::newRow("decimal: the 0 before the sign counts") << cp1252 << 1 << 0 << "decimal, decimal" << "0," << -1 << "5" << "" << false << "0," << 0;
        // clang-format on
    }

    void limitedEdit()
    {
        QFETCH(QString, codePage);
        QFETCH(int, chars);
        QFETCH(int, bytes);
        QFETCH(QString, filter);
        QFETCH(QString, start);
        QFETCH(int, cursor);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(bool, dropped);
        QFETCH(int, messages);
        text::setAnsiCodePage(codePage);
        test::MessageRecorder recorder;
        QWidget w;
        auto* box = new QLineEdit(&w);
        EditLimit limit = EditLimit().chars(chars).bytes(bytes).refusal(QStringLiteral("Refused:"));
        if (filter.startsWith(QLatin1String("digits")))
            limit.digits();
        else if (filter.startsWith(QLatin1String("decimal")))
            limit.decimal(QLatin1Char(','));
        else if (filter == QLatin1String("binary"))
            limit.binary();
        const QString zeros = filter.section(QStringLiteral(", "), 1);
        const ChangeForm form = zeros == QLatin1String("whole number") ? ChangeForm::WholeNumber
            : zeros == QLatin1String("decimal")                        ? ChangeForm::Decimal
                                                                       : ChangeForm::None;
        limit.leadingZero(form);
        QObject::connect(box, &QLineEdit::textEdited, box,
                         [box, form] { box->setText(withoutLeadingZeros(box->text(), form, QStringLiteral(","))); });
        setText(box, start);
        limitEdit(box, limit);
        QCOMPARE(box->text(), start);
        box->setCursorPosition(cursor < 0 ? int(box->text().size()) : cursor);
        type(box, typed);
        if (dropped) {
            QMimeData data;
            data.setText(pasted);
            const QPoint end(box->width() - 1, box->height() / 2);
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &enter); // the desktop enters before it drops
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &drop);
        } else if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            box->paste();
        }
        QTEST(box->text(), "expected");
        QCOMPARE(recorder.messages.size(), messages);
        if (messages)
            QCOMPARE(recorder.messages[0].text, QStringLiteral("Refused: \u4E2D"));
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
    }

    void toolWindows()
    {
        QWidget main;
        main.setObjectName(QStringLiteral("frmMainStub"));
        windows().setMainWindow(&main);
        main.show();
        auto* tool = windows().openTool<ToolStub>(QStringLiteral("Edit Other Files"));
        QVERIFY(tool->isVisible());
        QCOMPARE(tool->windowTitle(), QStringLiteral("Edit Other Files"));
        QVERIFY(!main.isVisible());
        QCOMPARE(windows().openTool<ToolStub>(QStringLiteral("Other")), tool); // one instance
        QCOMPARE(tool->windowTitle(), QStringLiteral("Other"));
        QCOMPARE(windows().tool<ToolStub>(), tool);

        tool->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!windows().tool<ToolStub>());
        QVERIFY(main.isVisible());
        // Opened again after it closed: a new instance.
        QVERIFY(windows().openTool<ToolStub>(QStringLiteral("Again")));
        QVERIFY(!main.isVisible());
        windows().tool<ToolStub>()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(main.isVisible());
        windows().reset();
        QVERIFY(!windows().mainWindow());
    }

    void modalWindows_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("result");
        QTest::newRow("accepted") << "accept" << int(QDialog::Accepted);
        QTest::newRow("rejected") << "reject" << int(QDialog::Rejected);
        QTest::newRow("left open by the answer") << "" << int(QDialog::Rejected);
    }

    void modalWindows()
    {
        QFETCH(QString, answer);
        bool wasModal = false;
        test::WindowAnswer answering(QStringLiteral("frmModalStub"), [&](QWidget* w) {
            wasModal = w->isModal() && QApplication::activeModalWidget() == w;
            if (answer == QLatin1String("accept"))
                static_cast<QDialog*>(w)->accept();
            else if (answer == QLatin1String("reject"))
                static_cast<QDialog*>(w)->reject();
        });
        QTEST(showModal<ModalStub>(), "result");
        QCOMPARE(answering.count(), 1);
        QVERIFY(wasModal);
    }

    // A modal window offers no iconify button; iconified all the same, it comes back.
    void modalNotIconified()
    {
        ModalStub dialog;
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!(dialog.windowHandle()->flags() & Qt::WindowMinimizeButtonHint));
        dialog.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!dialog.isMinimized());
        QVERIFY(dialog.isVisible());
    }

    void menuTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("menu"); // the menu it is in; "" for the menu bar
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("checkable");
        // clang-format off
        QTest::newRow("menu on the bar") << "menuFile" << "" << "File" << "" << false;
        QTest::newRow("submenu") << "menuNew" << "menuFile" << "New" << "" << false;
        QTest::newRow("command with shortcut") << "menuStore" << "menuNew" << "Store" << "Ctrl+N" << false;
        QTest::newRow("caption under another key") << "menuOther" << "menuLanguage" << "Others" << "" << true;
        QTest::newRow("pop-up entry") << "popmenuProperties" << "popmenu" << "Properties" << "" << false;
        // clang-format on
    }

    void menuTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, menu);
        MenuWindow w;
        createMenus(&w, MenuWindow::kMenus);
        LangCollection texts;
        for (const auto& [k, v] : {std::pair{"menuFile", "File"},
                                   {"menuNew", "New"},
                                   {"menuStore", "Store"},
                                   {"menuOthers", "Others"},
                                   {"popmenuProperties", "Properties"}})
            texts.add(QLatin1String(k), QLatin1String(v));
        setCaptions(&w, MenuWindow::kMenus, texts);
        QAction* action = menuEntry(&w, name);
        QVERIFY(action);
        const QList<QAction*> holder = menu.isEmpty() ? w.menuBar()->actions() : popupMenu(&w, menu)->actions();
        QVERIFY(holder.contains(action));
        QTEST(action->text(), "caption");
        QTEST(action->shortcut().toString(), "shortcut");
        QTEST(action->isCheckable(), "checkable");
        // The pop-up menu is not on the bar; the separator sits between New and Exit.
        QVERIFY(!w.menuBar()->actions().contains(popupMenu(&w, QStringLiteral("popmenu"))->menuAction()));
        QVERIFY(popupMenu(&w, QStringLiteral("menuFile"))->actions().at(1)->isSeparator());
        // A menu's handler runs as it opens; a command's when chosen, and only the handler sets a mark.
        if (QMenu* opened = action->menu()) {
            opened->popup(QPoint());
            opened->hide();
        } else {
            action->trigger();
        }
        QCOMPARE(w.ran, name == QLatin1String("menuFile") ? QStringList() : QStringList{name});
        QVERIFY(!action->isChecked());
    }

    void gridFill_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("params");
        QTest::addColumn<int>("presetRows");
        QTest::addColumn<bool>("numbered"); // a fill of its own writes the row number before the query's columns
        QTest::addColumn<int>("added");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QStringList>("cells"); // "row|column|text", classic row numbers
        const QString all = QStringLiteral("SELECT n, name, price FROM t ORDER BY n");
        // clang-format off
        QTest::newRow("columns in order, over chunks") << all << QVariantList() << 0 << false << 2500 << false << QStringList{"1|0|1", "1|1|Item 1", "1|2|0.5", "2500|1|Item 2500", "7|1|"};
        QTest::newRow("bound values") << "SELECT n, name FROM t WHERE n <= ? AND name LIKE ? ORDER BY n" << QVariantList{8, "Item%"} << 0 << false << 7 << false << QStringList{"1|1|Item 1", "6|0|6", "7|0|8"};
        QTest::newRow("appended after the rows there") << "SELECT n FROM t WHERE n > 2498 ORDER BY n" << QVariantList() << 3 << false << 2 << false << QStringList{"3|0|", "4|0|2499", "5|0|2500"};
        QTest::newRow("a fill of its own") << "SELECT name FROM t WHERE n BETWEEN 10 AND 11 ORDER BY n" << QVariantList() << 0 << true << 2 << false << QStringList{"1|0|1", "1|1|Item 10", "2|0|2"};
        QTest::newRow("no rows") << "SELECT n FROM t WHERE n < 0" << QVariantList() << 0 << false << 0 << false << QStringList();
        QTest::newRow("failing row keeps the rows before it") << "SELECT CASE WHEN n > 1500 THEN abs(n * 0 - 9223372036854775807 - 1) ELSE n END FROM t" << QVariantList() << 0 << false << 1500 << true << QStringList{"1500|0|1500"};
        // clang-format on
    }

    void gridFill()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, params);
        QFETCH(int, presetRows);
        QFETCH(bool, numbered);
        QFETCH(int, added);
        QFETCH(bool, fails);
        QFETCH(QStringList, cells);
        QTemporaryDir dir;
        db::Connection c;
        QVERIFY(c.create(dir.filePath(QStringLiteral("grid.db"))));
        c.exec(QStringLiteral("CREATE TABLE t (n INTEGER, name TEXT, price REAL)"));
        c.beginTransaction();
        for (int n = 1; n <= 2500; ++n)
            c.exec(QStringLiteral("INSERT INTO t VALUES (?, ?, ?)"),
                   {n, n == 7 ? QVariant() : QVariant(QStringLiteral("Item %1").arg(n)), n / 2.0});
        c.commit();

        QTableWidget grid;
        setupFlexGrid(&grid,
                      {{QStringLiteral("No."), 600},
                       {QStringLiteral("Name"), 1500},
                       {QStringLiteral("Price"), 900, Qt::AlignRight}},
                      presetRows + 1);
        grid.show();
        db::Statement query = c.prepare(sql);
        query.bind(params);
        int got = -1;
        FlexRowFill fill = columnsInOrder();
        if (numbered)
            fill = [](const db::Statement& q, int row, std::span<QTableWidgetItem* const> items) {
                items[0]->setText(QString::number(row));
                items[1]->setText(q.column(0).toString());
            };
        try {
            got = fillFlexGrid(&grid, query, fill);
        } catch (const db::DbError&) {
            got = -2;
        }
        QCOMPARE(got, fails ? -2 : added);
        QCOMPARE(flexRows(&grid), presetRows + added + 1);
        for (const QString& cell : std::as_const(cells)) {
            const QStringList p = cell.split(QLatin1Char('|'));
            QCOMPARE(flexText(&grid, p[0].toInt(), p[1].toInt()), p[2]);
        }
        if (added > 0 && !numbered)
            QCOMPARE(Qt::Alignment(grid.item(presetRows, 2)->textAlignment()), Qt::Alignment(Qt::AlignRight));
    }

    // A failure is shown with the failure text first and carries its language key, so tests match keys.
    void tryStep_data()
    {
        QTest::addColumn<StepCase>("c");
        // clang-format off
        QTest::newRow("runs through")                  << StepCase{};
        QTest::newRow("database")                      << StepCase{.thrown = "db", .message = "Write failed:\ndisk I/O error"};
        QTest::newRow("codec, without a failure text") << StepCase{.thrown = "codec", .failure = "", .message = "Value too large\nPLU_UPrice"};
        QTest::newRow("data file")                     << StepCase{.thrown = "file", .message = "Write failed:\ntemp/PLU0UALL.csv\nNo space left"};
        QTest::newRow("keyed failure")                 << StepCase{.thrown = "db", .key = "dbWriteErr", .message = "Write failed:\ndisk I/O error"};
        QTest::newRow("keyed failure with a detail")   << StepCase{.thrown = "db", .key = "fileWriteErr", .detail = "ini/setting.cfg", .message = "Write failed:\nini/setting.cfg\ndisk I/O error"};
        QTest::newRow("keyed, runs through")           << StepCase{.key = "dbWriteErr"};
        // clang-format on
    }

    void tryStep()
    {
        QFETCH(StepCase, c);
        const QString key = QLatin1String(c.key);
        gLangMsg.add(key, QLatin1String(c.failure));
        const auto forget = qScopeGuard([] { gLangMsg.clear(); });
        test::MessageRecorder recorder;
        bool after = false;
        const auto step = [&] {
            if (c.thrown == QLatin1String("db"))
                throw db::DbError(QStringLiteral("disk I/O error"));
            if (c.thrown == QLatin1String("codec"))
                throw records::CodecError(QStringLiteral("Value too large"), QStringLiteral("PLU_UPrice"));
            if (c.thrown == QLatin1String("file"))
                throw datafiles::DataFileError(QStringLiteral("temp/PLU0UALL.csv"), QStringLiteral("No space left"));
            after = true;
        };
        const bool ok = key.isEmpty() ? ui::tryStep(step, QLatin1String(c.failure))
                                      : ui::tryStep(step, langMsg(key, QLatin1String(c.detail)));
        const QString message = QLatin1String(c.message);
        QCOMPARE(ok, message.isEmpty());
        QCOMPARE(after, ok);
        QCOMPARE(recorder.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(recorder.messages[0].text, message);
            QCOMPARE(recorder.messages[0].key, key);
            QCOMPARE(recorder.messages[0].icon, MsgIcon::Critical);
        }
    }
};

QTEST_MAIN(TstWindowKit)
#include "tst_windowkit.moc"
