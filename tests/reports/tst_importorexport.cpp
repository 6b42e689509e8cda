#include "support/CodecTestDb.h"
#include "support/TestSupport.h"
#include "support/TransferFixture.h"

#include "mainwindow/ui/ToolWindows.h"
#include "platform/text/Ansi.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "reports/ui/ReportDialogs.h"
#include "reports/ui/frmImportOrExport.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace quorvane;

namespace {

// One handler of the window at work: the steps a row takes ("add:ST_No", "remove:1", "mode:1", "click:cmdImport",
// "country" is set before opening), and what stands afterwards.
struct Row {
    const char* steps;
    int country = 0;
    const char* file = "";     // what the file dialog answers with: a file in temp/ holding these bytes; "dir/" none
    const char* answer = "no"; // to PLUTitle
    const char* state;         // "choice=...;fonts=...;st=0|1;mg=0|1;sizes=c/d;font=shown|hidden;messages=..."
};

} // namespace

class TstImportOrExport : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TransferFolder> m_folder;
    QStringList m_messages;
    QString m_chosen;
    bool m_busy = false;

    frmImportOrExport* open()
    {
        toolWindowOpener(QStringLiteral("menuImportOrExport"))(QStringLiteral("PLU import/export"));
        return ui::windows().tool<frmImportOrExport>();
    }
    template<class T> T* find(QWidget* w, const char* name) { return w->findChild<T*>(QLatin1String(name)); }

    QString state(QWidget* w)
    {
        QStringList choice;
        auto* select = find<QListWidget>(w, "SelectItem");
        for (int i = 0; i < select->count(); ++i)
            choice << select->item(i)->text() + (select->item(i)->isSelected() ? QStringLiteral("*") : QString());
        return QStringLiteral("choice=%1;st=%2;mg=%3;sizes=%4/%5;font=%6;sep=%7;chk=%8;messages=%9")
            .arg(choice.join(QLatin1Char(',')))
            .arg(find<QComboBox>(w, "comboST_No")->isEnabled())
            .arg(find<QComboBox>(w, "comboMG_No")->isEnabled())
            .arg(gImportExport().CommodityFontSize)
            .arg(gImportExport().DescriptionFontSize)
            .arg(find<QComboBox>(w, "comboFontSize")->isVisible() ? find<QComboBox>(w, "comboFontSize")->currentText()
                                                                  : QStringLiteral("hidden"))
            .arg(find<QComboBox>(w, "comboSeperator")->currentIndex())
            .arg(find<QCheckBox>(w, "chkPLU")->isChecked())
            .arg(m_messages.join(QLatin1Char(',')));
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
        test::loadTexts();
        for (const int store : {1, 2})
            test::addRow(QStringLiteral("STORE"), {{"ST_No", store}});
        test::addRow(QStringLiteral("KVB_23"), {{"ST_No", 1}, {"MG_No", 997}});
        test::addRow(QStringLiteral("KVB_23"), {{"ST_No", 2}, {"MG_No", 12}});
        test::addRow(QStringLiteral("KVB_25"), {{"ST_No", 1}, {"PLU_No", 5}, {"PLU_UPrice", 100}});
        m_messages.clear();
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            QString key = r.key.isEmpty() ? QStringLiteral("?") : r.key;
            if (key == QLatin1String("importseperator") || key == QLatin1String("importOK"))
                key += QLatin1Char('(') + r.text.section(QLatin1Char('\n'), 1).replace(QLatin1Char('\n'), u'|')
                    + QLatin1Char(')');
            if (auto* w = ui::windows().tool<frmImportOrExport>())
                m_busy = !w->isEnabled() && find<QLabel>(w, "labWaiting")->isVisible();
            m_messages << key;
            return r.key == QLatin1String("PLUTitle") && m_chosen.endsWith(QLatin1String("yes")) ? ui::MsgYes
                                                                                                 : ui::MsgNo;
        });
        reports::setFileDialogHandler([this](reports::FileDialogKind, const QString&, const QString&) {
            return m_chosen.isEmpty() ? QString() : m_folder->tempFile(m_chosen.section(QLatin1Char(' '), 0, 0));
        });
    }
    void cleanup()
    {
        if (QWidget* w = ui::windows().tool<frmImportOrExport>())
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetProgramState();
        m_folder.reset();
    }

    // Opening closes the PLU list, asks for a new tree; closing asks for a new PLU list.
    void openAndClose()
    {
        gRsPLU.open(QStringLiteral("SELECT * FROM KVB_25"));
        frmImportOrExport* w = open();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("PLU import/export"));
        QVERIFY(!gRsPLU.isOpen());
        QCOMPARE(gStoreTree().gTreeFilled, 0);
        QCOMPARE(find<QComboBox>(w, "comboMG_No")->count(), 2);
        QCOMPARE(find<QListWidget>(w, "listItem")->count(), 41);
        QVERIFY(find<QPushButton>(w, "cmdImport")->isEnabled() && !find<QPushButton>(w, "cmdExport")->isEnabled());
        gStoreTree().gReloadPLUList = 0;
        find<QPushButton>(w, "cmdClose")->click();
        QCOMPARE(gStoreTree().gReloadPLUList, 1);
    }

    void handlers_data()
    {
        // clang-format off
        const Row rows[] = {
            {.steps = "add:ST_No", .state = "choice=ST_No*;st=0;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages="},
            {.steps = "add:ST_No,remove", .state = "choice=;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages="},
            {.steps = "mode:1,add:PLU_MG,mode:0", .state = "choice=PLU_MG*;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages="},
            {.steps = "add:Blank,add:Blank,add:PLU_No,add:PLU_No", .state = "choice=Blank,Blank,PLU_No*;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages="},
            {.steps = "add:PLU_No,add:PLU_Tare,add:PLU_MG,mark:1,remove", .state = "choice=PLU_No*,PLU_MG;st=1;mg=0;sizes=0/0;font=hidden;sep=0;chk=0;messages="},
            {.steps = "add:PLU_Commodity,font:3", .state = "choice=PLU_Commodity*;st=1;mg=1;sizes=3/0;font=3G;sep=0;chk=0;messages="},
            {.steps = "add:PLU_Description,font:2,add:PLU_Commodity,mark:0", .state = "choice=PLU_Description*,PLU_Commodity;st=1;mg=1;sizes=1/2;font=2G;sep=0;chk=0;messages="},
            {.steps = "add:PLU_Commodity,font:4", .country = 37, .state = "choice=PLU_Commodity*;st=1;mg=1;sizes=4/0;font=4T;sep=0;chk=0;messages="},
            {.steps = "add:PLU_Commodity,font:15", .country = 1, .state = "choice=PLU_Commodity*;st=1;mg=1;sizes=15/0;font=5L;sep=0;chk=0;messages="},
            {.steps = "click:commandOpen", .file = " 1 \r\nx\r\n2\r\n0\r\n 2 \r\n1\r\n3", .state = "choice=ST_No*,PLU_No,PLU_MG;st=0;mg=0;sizes=2/0;font=hidden;sep=1;chk=1;messages="},
            {.steps = "click:commandOpen", .file = " 1 ", .state = "choice=;st=1;mg=1;sizes=0/0;font=hidden;sep=1;chk=0;messages="},
            {.steps = "add:PLU_No,click:cmdImport", .file = "x\t\r\n", .state = "choice=PLU_No*;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages=PLUTitle,importseperator(PLUs imported: 0|Lines left out, their PLU kept: 0|Lines not imported: 1|1: PLU_No \"x\" not a whole number)"},
            {.steps = "add:PLU_Tare,click:cmdImport", .state = "choice=PLU_Tare*;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages=importPLU"},
            {.steps = "add:PLU_No,click:cmdImport", .state = "choice=PLU_No*;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages=PLUTitle"},
            {.steps = "add:PLU_No,click:cmdImport", .file = "dir/", .state = "choice=PLU_No*;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages=PLUTitle,fileReadErr"},
            {.steps = "mode:1,add:PLU_No,click:cmdExport", .file = "dir/", .state = "choice=PLU_No*;st=1;mg=1;sizes=0/0;font=hidden;sep=0;chk=0;messages=PLUTitle,fileWriteErr"},
        };
        // clang-format on
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("country");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        for (const Row& r : rows)
            QTest::addRow("%s %d", r.steps, r.country) << r.steps << r.country << QByteArray(r.file) << r.state;
    }
    void handlers()
    {
        QFETCH(QString, steps);
        QFETCH(int, country);
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        gSettings().gSysCountry = qint16(country);
        if (file == "dir/") {
            m_chosen = QStringLiteral("no/such/out.txt");
        } else if (!file.isEmpty()) {
            m_chosen = QStringLiteral("in.txt");
            QVERIFY(m_folder->writeTempFile(m_chosen, file));
        } else {
            m_chosen.clear();
        }
        frmImportOrExport* w = open();
        auto* list = find<QListWidget>(w, "listItem");
        for (const QString& step : steps.split(QLatin1Char(','))) {
            const QString arg = step.section(QLatin1Char(':'), 1);
            if (step.startsWith(QLatin1String("add:"))) {
                ui::setListIndex(list,
                                 int(list->findItems(arg, Qt::MatchExactly).value(0)
                                         ? list->row(list->findItems(arg, Qt::MatchExactly)[0])
                                         : -1));
                find<QPushButton>(w, "cmdAdd")->click();
            } else if (step == QLatin1String("remove")) {
                find<QPushButton>(w, "cmdDelete")->click();
            } else if (step.startsWith(QLatin1String("mark:"))) {
                ui::setListIndex(find<QListWidget>(w, "SelectItem"), arg.toInt());
            } else if (step.startsWith(QLatin1String("mode:"))) {
                ui::setListIndex(find<QComboBox>(w, "comboIorE"), arg.toInt());
            } else if (step.startsWith(QLatin1String("font:"))) {
                ui::setListIndex(find<QComboBox>(w, "comboFontSize"), arg.toInt() - 1);
            } else if (step.startsWith(QLatin1String("click:"))) {
                find<QPushButton>(w, qPrintable(arg))->click();
            }
        }
        QCOMPARE(state(w), expected);
        QVERIFY(w->isEnabled() && !find<QLabel>(w, "labWaiting")->isVisible());
    }

    // Export and import through the window: the file written, the message with its counts, the busy state.
    void exportThenImport()
    {
        gSettings().gPricePoint = 2;
        frmImportOrExport* w = open();
        auto* list = find<QListWidget>(w, "listItem");
        for (const int field : {1, 6}) { // PLU_No, PLU_UPrice
            ui::setListIndex(list, field);
            find<QPushButton>(w, "cmdAdd")->click();
        }
        m_chosen = QStringLiteral("plus.txt yes");
        ui::setListIndex(find<QComboBox>(w, "comboIorE"), 1);
        find<QPushButton>(w, "cmdExport")->click();
        QCOMPARE(m_messages, (QStringList{"PLUTitle", "exportOK"}));
        QVERIFY(m_busy);
        QCOMPARE(m_folder->readTempFile(QStringLiteral("plus.txt")), QByteArray("PLU_No\tPLU_UPrice\r\n5\t1.00\r\n"));

        m_messages.clear();
        QVERIFY(m_folder->writeTempFile(QStringLiteral("plus.txt"), "PLU_No\tPLU_UPrice\r\n5\t2\r\n6\t3\r\n\r\n"));
        ui::setListIndex(find<QComboBox>(w, "comboIorE"), 0);
        ui::setListIndex(find<QComboBox>(w, "comboST_No"), 1);
        gStoreTree().gReloadPLUList = 0;
        find<QPushButton>(w, "cmdImport")->click();
        QVERIFY(m_messages.value(1).startsWith(QLatin1String("importseperator(")));
        QVERIFY(m_messages.value(1).contains(QLatin1String("4: blank line")));
        QVERIFY(m_busy);
        QCOMPARE(gStoreTree().gReloadPLUList, 1);
        QCOMPARE(test::rowCount(QStringLiteral("KVB_25")), 3);
    }
};

QTEST_MAIN(TstImportOrExport)
#include "tst_importorexport.moc"
