#include "support/LanguageFileLayout.h"
#include "support/ProgramFolderFixture.h"
#include "support/TestSupport.h"
#include "support/WindowAnswer.h"

#include "app/ProgramExit.h"
#include "app/SingleInstance.h"
#include "app/WorkingDatabase.h"
#include "app/ui/Main.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/text/Ansi.h"
#include "platform/ui/MenuTable.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WindowOpener.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/frmAbout.h"
#include "settings/ui/frmScale.h"
#include "settings/ui/frmTranslate.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

using namespace quorvane;

namespace {

const QByteArray Shipped(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nVelcor Weighing\r\n");

QString languagePath() { return programPath(QLatin1String(paths::LanguageFile)); }

QByteArray crlf(const QStringList& lines)
{
    return text::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), text::Encoding::Gb18030);
}

// Two blocks of five lines, each ending in an empty line, then the same four lines again without it. The
// standard text "Al" is shorter than half its translation.
QStringList fourteenLines()
{
    return {"<Standard>", "[frm_Test]", "a=Al", "b=Beta = B", "",           "<Chinese>", "[frm_Test]",
            "a=甲",       "b=乙",       "",     "<Other>",    "[frm_Test]", "a=Alpha",   "b=Beta = B"};
}

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Every item of a combo box, then its shown text.
QString shown(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items.join(QLatin1Char('|')) + QStringLiteral(" > ") + box->currentText();
}

// Files may not grow while it lives (as on a full disk): RLIMIT_FSIZE, with SIGXFSZ ignored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

} // namespace

class TestSettingsWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramFolderFixture> m_folder;
    QStringList m_messages;   // the keys of the messages shown, "?" for another
    int m_answer = ui::MsgNo; // to every Yes/No question

private slots:
    void init()
    {
        m_folder = std::make_unique<test::ProgramFolderFixture>();
        QVERIFY(m_folder->isValid());
        m_messages.clear();
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << (r.key.isEmpty() ? QStringLiteral("?") : r.key);
            return r.buttons == ui::MsgButtons::YesNo ? m_answer : int(ui::MsgOk);
        });
        app::clearExitCode();
    }

    void cleanup()
    {
        if (frmMain::isLoaded())
            test::closeMainWindow();
        app::CloseDatabase();
        app::releaseInstanceLock();
        resetProgramState();
        m_folder.reset();
    }

    // The program runs on the held settings file; the operator works in the dialog, then OK or Cancel,
    // then the answer to DataFormatSet.
    void frmScale_data()
    {
        QTest::addColumn<QByteArray>("held");
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("shownUnit");
        QTest::addColumn<QString>("actions"); // ";"-separated: "type:<text>", "key:<name>", "pick:<combo>=<i>"
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("outcome"); // "running", "ended", "stays open"

        const QByteArray own(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 5 \r\n 2 \r\nEUR\r\n 4 \r\n 0 \r\nVelcor Weighing\r\n");
        // clang-format off
        QTest::newRow("held own text is the third item; OK and No keep it") << own << "windows-1252" << "RMB|$|EUR > EUR" << "" << "cmdOK" << int(ui::MsgNo) << own << "running";
        QTest::newRow("an own text typed gives ten lines; No keeps the new values")
            << Shipped << "windows-1252"
            << "RMB|$ > RMB"
            << "type:GBP;pick:combDateType=1;pick:combSYS_Country=37"
            << "cmdOK" << int(ui::MsgNo)
            << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 1 \r\n 2 \r\nGBP\r\n 37 \r\n 0 \r\nVelcor Weighing\r\n")
            << "running";
        QTest::newRow("\"$\" typed writes code 1") << Shipped << "windows-1252" << "RMB|$ > RMB" << "type:$" << "cmdOK" << int(ui::MsgNo) << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\nVelcor Weighing\r\n") << "running";
        QTest::newRow("held values outside their lists are written back")
            << QByteArray(" 2 \r\n 5 \r\n 2 \r\n 9 \r\n 9 \r\n 7 \r\n 38 \r\n 1 \r\nMy Shops\r\n") << "windows-1252"
            << "RMB|$ > "
            << ""
            << "cmdOK" << int(ui::MsgNo)
            << QByteArray(" 2 \r\n 5 \r\n 2 \r\n 9 \r\n 9 \r\n 7 \r\n 38 \r\n 1 \r\nMy Shops\r\n") << "running";
        QTest::newRow("Cancel writes nothing") << Shipped << "windows-1252" << "RMB|$ > RMB" << "type:EUR;pick:combPPoint=0" << "cmdCancel" << int(ui::MsgNo) << Shipped << "running";
        QTest::newRow("Backspace, Enter and a double-byte character are dropped; Delete and the arrows work")
            << Shipped << "GBK"
            << "RMB|$ > RMB"
            << "key:End;key:Backspace;key:中;key:Return;key:Home;key:Delete"
            << "cmdOK" << int(ui::MsgNo)
            << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 2 \r\nMB\r\n 0 \r\n 0 \r\nVelcor Weighing\r\n")
            << "running";
        QTest::newRow("OK, then Yes ends the program") << Shipped << "windows-1252" << "RMB|$ > RMB" << "pick:combPPointType=1" << "cmdOK" << int(ui::MsgYes) << QByteArray(" 0 \r\n 2 \r\n 1 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nVelcor Weighing\r\n") << "ended";
        QTest::newRow("a failed write changes nothing and asks nothing") << Shipped << "windows-1252" << "RMB|$ > RMB" << "type:EUR;limit" << "cmdOK" << int(ui::MsgYes) << Shipped << "stays open";
        // clang-format on
    }

    void frmScale()
    {
        QFETCH(QByteArray, held);
        QFETCH(QString, codePage);
        QFETCH(QString, shownUnit);
        QFETCH(QString, actions);
        QFETCH(QString, button);
        QFETCH(int, answer);
        QFETCH(QByteArray, written);
        QFETCH(QString, outcome);

        const QString settings = m_folder->file(QLatin1String(paths::SettingsFile));
        QVERIFY(test::writeFile(settings, held));
        // A first start on an empty database in one-store mode asks for the first store: the operator takes it.
        test::WindowAnswer firstStore(QStringLiteral("frmProperties"),
                                      [](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); });
        QCOMPARE(app::Main(), app::StartOutcome::Running);
        text::setAnsiCodePage(codePage);
        m_answer = answer;
        const SettingsRecord before = gSettings();

        bool limited = false;
        bool openAfterOK = false;
        std::optional<test::WindowAnswer> operatorAnswer;
        operatorAnswer.emplace(QStringLiteral("frmScale"), [&](QWidget* dialog) {
            auto* unit = dialog->findChild<QComboBox*>(QStringLiteral("combPriceUnit"));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Data Format"));
            QCOMPARE(shown(unit), shownUnit);
            QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), QStringLiteral("Cancel"));
            QVERIFY(test::paintsWhole(dialog));
            // Keys go where the operator's go: to the widget with the focus once the box is clicked.
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            unit->setFocus(Qt::MouseFocusReason);
            QWidget* keys = QApplication::focusWidget();
            QCOMPARE(keys, unit);
            const QHash<QString, Qt::Key> named{{"End", Qt::Key_End},
                                                {"Home", Qt::Key_Home},
                                                {"Backspace", Qt::Key_Backspace},
                                                {"Delete", Qt::Key_Delete},
                                                {"Return", Qt::Key_Return}};
            for (const QString& action : actions.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                const QString arg = action.section(QLatin1Char(':'), 1);
                if (action.startsWith(QLatin1String("type:"))) {
                    unit->lineEdit()->selectAll();
                    QTest::keyClicks(keys, arg);
                } else if (action.startsWith(QLatin1String("key:")) && named.contains(arg)) {
                    QTest::keyClick(keys, named[arg]);
                } else if (action.startsWith(QLatin1String("key:"))) {
                    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, arg);
                    QApplication::sendEvent(keys, &press);
                } else if (action.startsWith(QLatin1String("pick:"))) {
                    auto* combo = dialog->findChild<QComboBox*>(arg.section(QLatin1Char('='), 0, 0));
                    combo->setCurrentIndex(arg.section(QLatin1Char('='), 1).toInt());
                } else if (action == QLatin1String("limit")) {
                    limited = true;
                }
            }
            if (limited) {
                FileSizeLimit full(8);
                dialog->findChild<QPushButton*>(button)->click();
            } else {
                dialog->findChild<QPushButton*>(button)->click();
            }
            openAfterOK = dialog->isVisible();
        });
        const int result = ui::showModal<::quorvane::frmScale>();
        QCOMPARE(operatorAnswer->count(), 1);
        operatorAnswer.reset();
        QCOMPARE(test::readFile(settings), written);
        QCOMPARE(openAfterOK, outcome == QLatin1String("stays open"));
        QCOMPARE(result, int(button == QLatin1String("cmdOK") && !openAfterOK ? QDialog::Accepted : QDialog::Rejected));

        QStringList expectedMessages;
        if (outcome == QLatin1String("stays open"))
            expectedMessages << QStringLiteral("fileWriteErr");
        else if (button == QLatin1String("cmdOK"))
            expectedMessages << QStringLiteral("DataFormatSet");
        QCOMPARE(m_messages, expectedMessages);

        if (outcome == QLatin1String("ended")) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(app::exitCode(), std::optional<int>(0));
            QVERIFY(!frmMain::isLoaded());
            QVERIFY(QFile::exists(m_folder->file(QStringLiteral("AccessData/tempstore.txt"))));
            QVERIFY(!QFile::exists(m_folder->file(QLatin1String(paths::WorkingDatabase))));
            return;
        }
        QVERIFY(!app::exitCode());
        QVERIFY(frmMain::isLoaded());
        // The record holds the new values where OK wrote them; Cancel and a failed write change nothing.
        SettingsRecord next;
        QVERIFY(readSettingsFile(settings, &next));
        const SettingsRecord& now = gSettings();
        const SettingsRecord& expected = written == held ? before : next;
        QCOMPARE(now.gPricePoint, expected.gPricePoint);
        QCOMPARE(now.gDateType, expected.gDateType);
        QCOMPARE(now.gSysCountry, expected.gSysCountry);
        if (expected.gSysStore == 1)
            QCOMPARE(now.gTreeRootName, expected.gTreeRootName);
        if (next.gPriceUnit == 2)
            QCOMPARE(now.gCurrencySymbol, next.gCurrencySymbol);

        // A language switch rewrites the file from the record: it keeps the price unit saved, and the dialog
        // opens on it again.
        static const char* const languages[] = {"menuEnglish", "menuChinese", "menuOther"};
        QVERIFY(next.gLanguageIndex >= 0 && next.gLanguageIndex <= 2);
        ui::menuEntry(ui::windows().mainWindow(), QLatin1String(languages[next.gLanguageIndex]))->trigger();
        SettingsRecord rewritten;
        QVERIFY(readSettingsFile(settings, &rewritten));
        QCOMPARE(rewritten.gPriceUnit, next.gPriceUnit);
        QCOMPARE(rewritten.gCurrencySymbol, next.gCurrencySymbol);
        QString shownAgain;
        test::WindowAnswer reopened(QStringLiteral("frmScale"), [&](QWidget* dialog) {
            shownAgain = dialog->findChild<QComboBox*>(QStringLiteral("combPriceUnit"))->currentText();
        });
        ui::showModal<::quorvane::frmScale>();
        QCOMPARE(reopened.count(), 1);
        const QString saved = next.gPriceUnit == 0 ? QStringLiteral("RMB")
            : next.gPriceUnit == 1                 ? QStringLiteral("$")
            : next.gPriceUnit == 2                 ? next.gCurrencySymbol
                                                   : QString();
        QCOMPARE(shownAgain, saved);
        QCOMPARE(m_messages, expectedMessages);
    }

    // The editor opened as the main window's tool: the main window hides until it closes. A row is clicked,
    // its translation typed (held to twice the standard text), and the window closed by its button after
    // moving on, or by its frame while the box still has the edit; a write that fails says so and keeps the file.
    void frmTranslate_data()
    {
        QTest::addColumn<bool>("byFrame");
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("moved on, closed by cmdClose") << false << false;
        QTest::newRow("closed by its frame while editing") << true << false;
        QTest::newRow("the write fails: the message, the old file kept") << false << true;
    }

    void frmTranslate()
    {
        QFETCH(bool, byFrame);
        QFETCH(bool, diskFull);
        test::loadTexts();
        QStringList lines = fourteenLines();
        QVERIFY(test::writeFile(languagePath(), crlf(lines)));
        QWidget main;
        main.setObjectName(QStringLiteral("frmMain"));
        ui::windows().setMainWindow(&main);
        main.show();

        auto* w = ui::windows().openTool<::quorvane::frmTranslate>(QStringLiteral("Translate"));
        QVERIFY(QTest::qWaitForWindowActive(w));
        QVERIFY(!main.isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Translate"));
        QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("cmdClose"))->text(), QStringLiteral("Close"));
        auto* original = w->findChild<QListWidget*>(QStringLiteral("lstOriginal"));
        auto* translate = w->findChild<QListWidget*>(QStringLiteral("lstTranslate"));
        auto* originalName = w->findChild<QLineEdit*>(QStringLiteral("txtOriginalName"));
        auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtTranslateName"));
        QCOMPARE(original->count(), 2);
        QCOMPARE(original->item(1)->text(), QStringLiteral("Beta = B"));
        QCOMPARE(translate->item(0)->text(), QStringLiteral("Alpha"));
        QVERIFY(!translate->isEnabled() && !box->isEnabled() && !originalName->isEnabled());

        // A translation longer than the limit is shown whole; typing stops at twice the standard text.
        clickRow(original, 0);
        QCOMPARE(box->text(), QStringLiteral("Alpha"));
        clickRow(original, 1);
        QCOMPARE(translate->currentRow(), 1);
        QCOMPARE(originalName->text(), QStringLiteral("Beta = B"));
        QCOMPARE(box->text(), QStringLiteral("Beta = B"));
        QVERIFY(box->isEnabled() && box->hasFocus() && box->selectedText() == box->text());
        QTest::keyClicks(box, QStringLiteral("0123456789ABCDEFGHIJ"));
        QCOMPARE(box->text(), QStringLiteral("0123456789ABCDEF"));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("X=Y"));
        QVERIFY(test::paintsWhole(w));

        if (!byFrame) {
            clickRow(original, 0);
            QCOMPARE(translate->item(1)->text(), QStringLiteral("X=Y"));
            QCOMPARE(box->text(), QStringLiteral("Alpha"));
        }
        {
            std::optional<FileSizeLimit> full;
            if (diskFull)
                full.emplace(8);
            if (byFrame)
                w->close();
            else
                QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!ui::windows().tool<::quorvane::frmTranslate>());
        QVERIFY(main.isVisible());
        // Line 3 pairs with line 13: only that body changes, split at its first "=".
        if (!diskFull)
            lines[13] = QStringLiteral("b=X=Y");
        QCOMPARE(test::readFile(languagePath()), crlf(lines));
        QCOMPARE(m_messages, diskFull ? QStringList{QStringLiteral("fileWriteErr")} : QStringList());
    }

    // The shipped file comes back byte for byte; after an edit it keeps the layout the program reads.
    void frmTranslateShippedFile()
    {
        test::loadTexts();
        const QByteArray shipped = test::readFile(languagePath());
        ui::windows().openTool<::quorvane::frmTranslate>(QStringLiteral("Translate"))->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::readFile(languagePath()), shipped);

        auto* w = ui::windows().openTool<::quorvane::frmTranslate>(QStringLiteral("Translate"));
        QVERIFY(QTest::qWaitForWindowActive(w));
        auto* original = w->findChild<QListWidget*>(QStringLiteral("lstOriginal"));
        // A row in the middle whose original is long enough for the translation typed (twice its length fits).
        int row = original->count() / 2;
        while (row < original->count() && original->item(row)->text().size() < 5)
            ++row;
        original->scrollToItem(original->item(row));
        clickRow(original, row);
        auto* translate = w->findChild<QListWidget*>(QStringLiteral("lstTranslate"));
        QCOMPARE(translate->verticalScrollBar()->value(), original->verticalScrollBar()->value());
        auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtTranslateName"));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("Übersetzt"));
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const QByteArray edited = test::readFile(languagePath());
        const QString fault = test::languageFileLayoutFault(
            edited, test::textSectionsOf(QLatin1String(paths::LanguageFile)), false);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        const QList<QByteArray> before = shipped.split('\n');
        const QList<QByteArray> after = edited.split('\n');
        QCOMPARE(after.size(), before.size());
        QStringList changed;
        for (int i = 0; i < before.size(); ++i)
            if (before[i] != after[i])
                changed << text::decode(after[i], text::Encoding::Gb18030).trimmed();
        QCOMPARE(changed.size(), 1);
        QVERIFY2(changed[0].endsWith(QStringLiteral("=Übersetzt")), qPrintable(changed[0]));
        QVERIFY(test::languageFileLayoutFault(edited, test::textSectionsOf(QLatin1String(paths::LanguageFile)), true)
                    .contains(QLatin1String("Other")));
    }

    // A file the editor cannot pair safely: one message, nothing listed, the file not rewritten.
    void frmTranslateRefusesFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QStringList shifted = fourteenLines();
        shifted.removeAt(12);
        shifted.insert(13, QStringLiteral("c=Gamma"));
        QTest::newRow("blocks not parallel") << crlf(shifted);
        QStringList long3002;
        for (int i = 0; i < 3002; ++i)
            long3002 << QStringLiteral("k%1=v").arg(i % 1000);
        QTest::newRow("3002 lines") << crlf(long3002);
    }

    void frmTranslateRefusesFile()
    {
        QFETCH(QByteArray, bytes);
        test::loadTexts();
        QVERIFY(test::writeFile(languagePath(), bytes));
        auto* w = ui::windows().openTool<::quorvane::frmTranslate>(QStringLiteral("Translate"));
        QCOMPARE(m_messages, QStringList{QStringLiteral("translateFileInvalid")});
        QCOMPARE(w->findChild<QListWidget*>(QStringLiteral("lstOriginal"))->count(), 0);
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::readFile(languagePath()), bytes);
        QCOMPARE(m_messages.size(), 1);
    }

    // With "Other" chosen every text but the version and the code comes from the Other block.
    void frmAbout()
    {
        QString language = text::decode(test::readFile(languagePath()), text::Encoding::Gb18030);
        const qsizetype other = language.indexOf(QStringLiteral("<Other>"));
        QVERIFY(other > 0);
        const QList<QPair<QString, QString>> translated{
            {"lblTitle=Quorvane", "lblTitle=Quorvane!"},         {"lblFunction=", "lblFunction=Funktion "},
            {"lblDescription=", "lblDescription=Beschreibung "}, {"lblVersion=Version", "lblVersion=Ausgabe"},
            {"lblCode=Software code", "lblCode=Code"},           {"cmdOK=OK", "cmdOK=Gut"}};
        QString block = language.mid(other);
        const qsizetype about = block.indexOf(QStringLiteral("[frm_About]"));
        QVERIFY(about > 0);
        for (const auto& [from, to] : translated) {
            const qsizetype at = block.indexOf(from, about);
            QVERIFY2(at > 0, qPrintable(from));
            block.replace(at, from.size(), to);
        }
        QVERIFY(test::writeFile(languagePath(), text::encode(language.left(other) + block, text::Encoding::Gb18030)));
        test::loadTexts(QStringLiteral("Other"));

        QStringList texts;
        test::WindowAnswer answer(QStringLiteral("frmAbout"), [&](QWidget* dialog) {
            for (const char* name : {"lblTitle", "lblFunction", "lblDescription", "lblVersion", "lblCode"})
                texts << dialog->findChild<QLabel*>(QLatin1String(name))->text();
            auto* picture = dialog->findChild<QLabel*>(QStringLiteral("picIcon"));
            QVERIFY(!picture->pixmap().isNull());
            QVERIFY(test::paintsWhole(dialog));
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"));
            texts << ok->text() << dialog->windowTitle();
            ok->click();
        });
        QCOMPARE(ui::showModal<::quorvane::frmAbout>(QStringLiteral("About Quorvane")), int(QDialog::Accepted));
        QCOMPARE(answer.count(), 1);
        QCOMPARE(texts.size(), 7);
        QCOMPARE(texts[0], QStringLiteral("Quorvane!"));
        QVERIFY(texts[1].startsWith(QStringLiteral("Funktion ")));
        QVERIFY(texts[2].startsWith(QStringLiteral("Beschreibung ")));
        QCOMPARE(texts.mid(3), (QStringList{"Ausgabe 1.02", "Code QLPRDX018", "Gut", "About Quorvane"}));
    }
};

QTEST_MAIN(TestSettingsWindows)
#include "tst_settingswindows.moc"
