// Writes a PNG of every window of the program, and of each PLU editor page, into the folder named on the command
// line, for a person to look at: scripts/grab-windows runs it. It is no test. The windows open as the operator
// opens them, on a temporary program folder holding a store with a little data; a modal dialog is grabbed and
// cancelled the moment it is up, messages are printed and answered with the choice that changes nothing, and no
// scale is ever contacted.

#include "support/CodecTestDb.h"
#include "support/PluGenerator.h"
#include "support/TransferFixture.h"

#include "app/WorkingDatabase.h"
#include "app/ui/frmLoading.h"
#include "mainwindow/NodeKeys.h"
#include "mainwindow/ui/ToolWindows.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/ui/MenuTable.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "plu/ui/frmUpload.h"
#include "presetkeys/PresetKeyTable.h"
#include "presetkeys/ui/frmPresetKey.h"
#include "presetkeys/ui/frmPutPreKey.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace quorvane;

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// Lets the windows settle: posted events, deferred deletes, paint.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Waits, pumping events, until `ready` holds or five seconds have gone.
bool waitUntil(const std::function<bool()>& ready)
{
    const QDeadlineTimer deadline(5000);
    while (!ready() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return ready();
}

template<class T = QWidget> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return found;
}

void click(QWidget* window, const char* name) { child<QPushButton>(window, name)->click(); }

class Shots {
public:
    explicit Shots(const QString& folder) : m_folder(folder) { }

    // Grabs the window into <objectName>[_<state>].png; a window with several states names each.
    void save(QWidget* window, const QString& state = QString())
    {
        settle();
        const QString name = window->objectName() + (state.isEmpty() ? QString() : QLatin1Char('_') + state);
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        if (m_written.contains(name) || !window->grab().save(path)) {
            out() << "not written: " << path << (m_written.contains(name) ? " (twice)" : "") << Qt::endl;
            m_failed = true;
            return;
        }
        m_written << name;
        out() << path << Qt::endl;
    }
    // Prints through the window's button on a PDF printer: <objectName>_print.pdf.
    void print(QWidget* window, const char* button, std::function<bool(QPrinter&, QWidget*)>& printerDialog)
    {
        const QString path = QDir(m_folder).filePath(window->objectName() + QStringLiteral("_print.pdf"));
        printerDialog = [&path](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        };
        click(window, button);
        printerDialog = nullptr;
        if (QFileInfo(path).size() > 0)
            out() << path << Qt::endl;
        else
            skip(path, QStringLiteral("nothing printed"));
    }
    void skip(const QString& window, const QString& why) { out() << "skipped " << window << ": " << why << Qt::endl; }
    bool failed() const { return m_failed; }
    int count() const { return int(m_written.size()); }

private:
    QString m_folder;
    QStringList m_written;
    bool m_failed = false;
};

// What is done with an expected dialog.
struct Expect {
    QString state = {};                            // of the file name
    std::function<void(QDialog*)> beforeShot = {}; // e.g. a row marked
    std::function<void(QDialog*)> afterShot = {};  // none: rejected
};

// Answers every modal dialog the moment it is up and enabled: what the caller expects of that dialog runs (by
// default: it is grabbed and cancelled), so that no exec() blocks the run.
class ModalShots : public QObject {
public:
    explicit ModalShots(Shots& shots) : m_shots(shots) { QCoreApplication::instance()->installEventFilter(this); }
    ~ModalShots() override { QCoreApplication::instance()->removeEventFilter(this); }

    void expect(const QString& objectName, Expect expect) { m_expected.insert(objectName, std::move(expect)); }
    // Expects the dialog, runs `open`, and says when no such dialog came.
    void open(const QString& objectName, const std::function<void()>& open, Expect e = {})
    {
        expect(objectName, std::move(e));
        const int before = m_answered.value(objectName);
        open();
        settle();
        m_expected.remove(objectName);
        if (m_answered.value(objectName) == before)
            m_shots.skip(objectName, QStringLiteral("it did not open"));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && dialog->isWindow() && dialog->isModal())
            answerLater(dialog, 0);
        return QObject::eventFilter(watched, event);
    }

private:
    void answerLater(QDialog* shown, int tries)
    {
        QTimer::singleShot(tries ? 20 : 0, this, [this, tries, dialog = QPointer<QDialog>(shown)] {
            if (!dialog || !dialog->isVisible())
                return;
            // A dialog filling itself (disabled meanwhile) is answered once it is done.
            if (!dialog->isEnabled() && tries < 250) {
                answerLater(dialog, tries + 1);
                return;
            }
            const Expect e = m_expected.take(dialog->objectName());
            m_answered[dialog->objectName()]++;
            if (e.beforeShot)
                e.beforeShot(dialog);
            if (!dialog)
                return;
            m_shots.save(dialog, e.state);
            if (e.afterShot)
                e.afterShot(dialog);
            if (dialog && dialog->isVisible())
                dialog->reject();
        });
    }

    Shots& m_shots;
    QHash<QString, Expect> m_expected;
    QHash<QString, int> m_answered;
};

// A text block of one line at font 1, as the editor writes a name.
QByteArray nameBlock(const QString& name) { return test::textLine(1, name.toLatin1(), 0x0C); }

const QString kScaleIP = QStringLiteral("192.168.  1. 20");

// Store 1 of generatorLevels() with section 1 and its scale, department 5 without PLUs, a search, 30 PLUs with
// names, preset keys on the scale's sheet and five received PLUs.
void addData()
{
    db::Transaction tx(gDBConnection);
    for (const auto& [table, values] : test::generatorLevels())
        test::addRow(table, values);
    test::addRow("SECT", {{"ST_No", 1}, {"SECT_No", 1}, {"SECT_Name", "Deli"}});
    test::addRow("SCALE",
                 {{"SC_IP", kScaleIP},
                  {"SC_No", "Deli 1"},
                  {"SC_Used", 1},
                  {"SC_FTPName", "scale"},
                  {"SC_FTPPW", "s3cret"},
                  {"SC_PSK_Layout", 0},
                  {"ST_No", 1},
                  {"SECT_No", 1}});
    test::addRow("KVB_20", {{"ST_No", 1}, {"DP_No", 5}, {"DP_Name", "Dairy"}, {"barformat", 255}});
    test::addRow("SEARCH",
                 {{"ST_No", 1},
                  {"SH_No", 1},
                  {"SH_Name", "Cheap"},
                  {"DP_No1", 1},
                  {"DP_No2", 99},
                  {"MG_No1", 1},
                  {"MG_No2", 999},
                  {"PLU_No1", 1},
                  {"PLU_No2", 999999},
                  {"PLU_UPrice1", 0},
                  {"PLU_UPrice2", 500}});
    const QStringList kinds{"Apples", "Pears", "Cheddar", "Brie",   "Ham",
                            "Salami", "Bread", "Olives",  "Grapes", "Plums"};
    QRandomGenerator gen(21);
    for (int n = 1; n <= 30; ++n) {
        QVariantMap p = test::generatePlu(gen, n);
        const QString name = QStringLiteral("%1 %2").arg(kinds[(n - 1) % kinds.size()]).arg((n + 9) / 10);
        p.insert("Stat2_Commodity", 1);
        p.insert("PLU_Commodity", nameBlock(name));
        p.insert("PLU_CommodityFirst", name);
        test::addRow("KVB_25", p);
    }
    for (int n = 1; n <= 5; ++n) {
        const QString name = QStringLiteral("Received %1").arg(n);
        test::addRow("RC_25",
                     {{"PLU_No", 100 + n},
                      {"PLU_EANItemCode", QStringLiteral("%1").arg(100 + n, 4, 10, QLatin1Char('0'))},
                      {"PLU_Commodity", nameBlock(name)},
                      {"PLU_CommodityFirst", name},
                      {"PLU_UPrice", 125 * n},
                      {"PLU_MG", 12},
                      {"PLU_BarFormat", n},
                      {"PLU_EANFlags", 21},
                      {"PLU_Disc_Type", 1},
                      {"PLU_Disc_SDate", 10126},
                      {"PLU_Disc_EDate", 311226},
                      {"PLU_DisDayOfWeek", 62},
                      {"Is_Selected", 0}});
    }
    tx.commit();

    PresetKeyState& keys = gPresetKeys();
    gStoreTree().gCurScaleIP = kScaleIP;
    keys.gPSKLayout = 0;
    keys.gKeyNum = 24;
    for (int key = 1; key <= 6; ++key)
        presetkeys::WritePresetKeyPage(
            presetkeys::pageNumber(key, 1, 24), key,
            gDBConnection.scalar("SELECT PLU_CommodityFirst FROM KVB_25 WHERE PLU_No=?", {key}).toString());
    presetkeys::WritePresetKeyPage(presetkeys::pageNumber(7, 1, 24), 2000005, QStringLiteral("Anna"));
    gStoreTree() = StoreTreeState();
    keys = PresetKeyState();
}

// The shipped layout 0 and a wide layout 1 of 3 rows of 8 keys at 1.5 cm.
void writeTwoLayouts()
{
    QByteArray file = "<PresetKey>\r\n";
    const QList<QPair<const char*, QPair<const char*, const char*>>> sections{
        {"keyType", {"Standard", "Wide"}}, {"keyNum", {"24", "24"}}, {"rows", {"4", "3"}}, {"cols", {"6", "8"}},
        {"RowSpacing", {"2.0", "1.5"}},    {"CharNum", {"0", "0"}},  {"Order", {"0", "0"}}};
    for (const auto& [section, values] : sections)
        file += QByteArray("[") + section + "]\r\nL0=" + values.first + "\r\nL1=" + values.second + "\r\n\r\n";
    test::writeFile(programPath(QLatin1String(paths::PresetKeyFile)), file);
}

void selectNode(frmMain* w, NodeKind kind, const NodeNumbers& numbers)
{
    if (!w->selectNode(nodeKey(kind, numbers)))
        qFatal("no node %s", qPrintable(nodeKey(kind, numbers)));
    w->treeStoreAndData_NodeClick();
    settle();
}

void trigger(QWidget* w, const char* entry) { ui::menuEntry(w, QLatin1String(entry))->trigger(); }

// The property dialog of each kind of node, from the main window's Properties entry.
void grabPropertyDialogs(frmMain* w, Shots& shots, ModalShots& modal)
{
    const auto properties = [&](NodeKind kind, const NodeNumbers& numbers, const char* dialog, const char* state) {
        selectNode(w, kind, numbers);
        modal.open(QLatin1String(dialog), [&] { trigger(w, "menuProperties"); }, {.state = QLatin1String(state)});
    };
    click(w, "cmdStore");
    settle();
    selectNode(w, NodeKind::Store, {.storeNo = 1});
    shots.save(w, QStringLiteral("store"));
    properties(NodeKind::Store, {.storeNo = 1}, "frmProperties", "store");
    properties(NodeKind::Section, {.storeNo = 1, .sectNo = 1}, "frmProperties", "section");
    properties(NodeKind::Scale, {.storeNo = 1, .sectNo = 1, .scaleIP = kScaleIP}, "frmScProperties", "");
    selectNode(w, NodeKind::Store, {.storeNo = 1}); // the data view is a store's
    click(w, "cmdData");
    settle();
    properties(NodeKind::Department, {.storeNo = 1, .deptOrSearchNo = 97}, "frmProperties", "department");
    properties(NodeKind::MainGroup, {.storeNo = 1, .deptOrSearchNo = 97, .mgNo = 12}, "frmProperties", "maingroup");
    properties(NodeKind::Search, {.storeNo = 1, .deptOrSearchNo = 1}, "frmSearch", "");
}

// The data view's PLU list, the editor's pages in display and in edit mode, the text editor, the send options with
// the transfer window, and an empty list.
void grabPluEditor(frmMain* w, Shots& shots, ModalShots& modal)
{
    // Leaving a list clears its marks: a few are set while another list is shown.
    selectNode(w, NodeKind::Department, {.storeNo = 1, .deptOrSearchNo = 5});
    gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=(PLU_No IN (2, 3, 5))"));
    selectNode(w, NodeKind::Store, {.storeNo = 1});
    auto* tabs = child<QTabWidget>(w, "SSTabPLU");
    for (const char* mode : {"display", "edit"}) {
        click(w, qstrcmp(mode, "edit") == 0 ? "cmdEdit" : "cmdDisplay");
        for (int page = 1; page <= tabs->count(); ++page) {
            ui::setTab(tabs, page - 1);
            shots.save(w, QStringLiteral("%1_page%2").arg(QLatin1String(mode)).arg(page));
        }
    }
    ui::setTab(tabs, 0);
    modal.open("frmStringEdit", [&] { click(w, "cmdFont"); }, {.state = QStringLiteral("name")});
    modal.open("frmStringEdit", [&] { click(w, "cmdDescFont"); }, {.state = QStringLiteral("description")});
    click(w, "cmdDisplay");
    settle();

    // OK on the send options leads to the transfer window, which is closed unsent.
    modal.expect("frmDownLoad",
                 {.beforeShot = [](QDialog* d) { waitUntil([d] { return child(d, "cmdOK")->isEnabled(); }); },
                  .afterShot = [](QDialog* d) { click(d, "cmdOK"); }});
    modal.open("frmFTPDataTrans", [&] { click(w, "cmdSendAll"); }, {.beforeShot = [](QDialog* d) {
                   auto* grid = child<QTableWidget>(d, "MSFGFTP");
                   if (grid->rowCount() > 0)
                       QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                         grid->visualRect(grid->model()->index(0, grid->columnCount() - 1)).center());
               }});

    // The review with each page of its record view.
    modal.open("frmUpload", [&] { plu::frmUpload::review(w); },
               {.state = QStringLiteral("page1"), .afterShot = [&](QDialog* d) {
                    auto* view = child<QTabWidget>(d, "SSTabPLUupload");
                    for (int page = 2; page <= view->count(); ++page) {
                        view->setCurrentIndex(page - 1);
                        shots.save(d, QStringLiteral("page%1").arg(page));
                    }
                }});

    selectNode(w, NodeKind::Department, {.storeNo = 1, .deptOrSearchNo = 5});
    shots.save(w, QStringLiteral("empty"));
}

QWidget* shownToolWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top != ui::windows().mainWindow() && !qobject_cast<QDialog*>(top))
            return top;
    return nullptr;
}

void closeTool(QWidget* tool)
{
    tool->close();
    settle();
}

// Every window of the Tool menu, opened through its table; the preset-key sheet at both layouts with its dialogs,
// the PLU import and export in either mode.
void grabToolWindows(frmMain* w, Shots& shots, ModalShots& modal)
{
    // The sheet is the selected scale's.
    click(w, "cmdStore");
    selectNode(w, NodeKind::Scale, {.storeNo = 1, .sectNo = 1, .scaleIP = kScaleIP});
    for (const QString& entry : toolWindowEntries()) {
        const ToolOpener opener = toolWindowOpener(entry);
        if (!opener) {
            shots.skip(entry, QStringLiteral("the entry has no window yet"));
            continue;
        }
        opener(ui::menuEntry(w, entry)->text());
        settle();
        QWidget* tool = shownToolWindow();
        if (!tool) {
            shots.skip(entry, QStringLiteral("no window opened"));
            continue;
        }
        if (entry == QLatin1String("menuEditPresetKey")) {
            shots.save(tool, QStringLiteral("layout0"));
            gPresetKeys().gCurKeyNo = 1;
            modal.open("frmPutPreKey", [&] { frmPutPreKey::editKey(tool); });
            modal.open("frmAutoPresetKey", [&] { click(tool, "cmdAuto"); });
            shots.print(tool, "cmdPrint", frmPresetKey::printerDialog);
            closeTool(tool);
            writeTwoLayouts();
            gDBConnection.exec(QStringLiteral("UPDATE SCALE SET SC_PSK_Layout=1"));
            opener(ui::menuEntry(w, entry)->text());
            settle();
            if ((tool = shownToolWindow()))
                shots.save(tool, QStringLiteral("layout1"));
        } else if (entry == QLatin1String("menuImportOrExport")) {
            shots.save(tool, QStringLiteral("import"));
            ui::setListIndex(child<QComboBox>(tool, "comboIorE"), 1);
            shots.save(tool, QStringLiteral("export"));
        } else {
            shots.save(tool);
        }
        if (tool)
            closeTool(tool);
    }
}

void grabOthers(frmMain* w, Shots& shots, ModalShots& modal)
{
    modal.open("frmScale", [&] { trigger(w, "menuDataFormat"); });
    modal.open("frmAbout", [&] { trigger(w, "menuSoftwareVersion"); });
    frmLoading loading;
    loading.setProgressText(gLangOther.text(QStringLiteral("loadSHOW2")));
    loading.show();
    shots.save(&loading);
    loading.close();
    shots.skip(QStringLiteral("frmEnd"), QStringLiteral("showing it runs the shutdown; it looks as frmLoading does"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: grab_windows <folder>\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    test::TransferFolder programFolder;
    SettingsFileError settingsError;
    if (!programFolder.setUp()
        || !readSettingsFile(programPath(QLatin1String(paths::SettingsFile)), &gSettings(), &settingsError)) {
        std::fprintf(stderr, "no program folder: %s%s\n", qPrintable(programFolder.errorText()),
                     qPrintable(settingsError.message));
        return 1;
    }
    gDBConnection.close();
    test::loadTexts(gSettings().gLanguageName);
    QString error;
    if (!app::OpenDatabase(&error)) {
        std::fprintf(stderr, "no database: %s\n", qPrintable(error));
        return 1;
    }
    addData();
    ui::setMsgBoxHandler([](const ui::MsgRequest& r) {
        out() << "message: " << QString(r.text).replace(QLatin1Char('\n'), QLatin1String(" | ")) << Qt::endl;
        switch (r.buttons) {
        case ui::MsgButtons::Ok:
            return int(ui::MsgOk);
        case ui::MsgButtons::OkCancel:
            return int(ui::MsgCancel);
        default:
            return int(ui::MsgNo);
        }
    });

    Shots shots(folder);
    ModalShots modal(shots);
    frmMain* w = frmMain::form();
    w->Show();
    if (!QTest::qWaitForWindowExposed(w))
        out() << "the main window is not exposed" << Qt::endl;
    grabPropertyDialogs(w, shots, modal);
    grabPluEditor(w, shots, modal);
    grabToolWindows(w, shots, modal);
    grabOthers(w, shots, modal);
    out() << shots.count() << " pictures in " << folder << Qt::endl;

    gPluEditor().gPLUChanged = 0;
    frmMain::unload();
    settle();
    resetProgramState();
    return shots.failed() ? 1 : 0;
}
