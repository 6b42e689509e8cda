#include "support/CodecTestDb.h"
#include "support/FtpServer.h"
#include "support/PresetKeyFiles.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "mainwindow/ui/ToolWindows.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "presetkeys/PresetKeyTable.h"
#include "presetkeys/ui/frmFlexiBarcode.h"
#include "presetkeys/ui/frmPresetKey.h"
#include "presetkeys/ui/frmPutPreKey.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"
#include "transfer/TransferRequest.h"
#include "transfer/TransferSession.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::presetkeys;

namespace {

const QString kScale = QStringLiteral("127.  0.  0.  1");
const QString kFlb = QStringLiteral("FLB0UALL.csv");

template<class T = QWidget> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void click(QWidget* window, const char* name) { child<QPushButton>(window, name)->click(); }

QString listTexts(QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts.join(',');
}

// "Number:Key_Switch:Name" of the sheet's rows by Number, "-" for a Null name.
QString keyRows()
{
    return gDBConnection
        .scalar(QStringLiteral("SELECT group_concat(Number || ':' || Key_Switch || ':' || ifnull(Name, '-'), ';') "
                               "FROM (SELECT * FROM KVB_41 ORDER BY Number)"))
        .toString();
}

QByteArray nameBlock(const QByteArray& name) { return QByteArray(1, '\x01') + char(name.size()) + name + '\x0C'; }

// A PLU "no[/mg[/store[/name]]]": store 3, main group 0, its name "P<no>"; "-" for no name.
void addPlu(const QString& spec)
{
    const QStringList f = spec.split('/');
    const QString name = f.value(3, QStringLiteral("P") + f[0]);
    test::addRow(QStringLiteral("KVB_25"),
                 {{"PLU_No", f[0].toInt()},
                  {"PLU_MG", f.value(1, "0").toInt()},
                  {"ST_No", f.value(2, "3").toInt()},
                  {"PLU_Commodity", name == "-" ? QVariant() : QVariant(nameBlock(name.toLatin1()))}});
}

struct AutoCase {
    const char* plus = "7;2;5"; // addPlu() specs
    int count = 0;              // or PLUs 100 to 99 + count, from the highest
    const char* groups = "";    // main groups "store/department/mg"; their departments are added too
    const char* picks = "";     // combDept entries the operator chooses, in turn
    const char* option = "opST";
    const char* answer = "cmdOK";
    const char* depts = ""; // combDept after the picks
    const char* mgs = "";   // combMG after the picks
    const char* keys = "1:2:P2;2:5:P5;3:7:P7";
    bool queryFails = false;
};

} // namespace

Q_DECLARE_METATYPE(AutoCase)

class TestPresetKeyDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TransferFolder> m_folder;
    std::unique_ptr<test::MessageRecorder> m_recorder;
    test::FtpServer m_server;

    std::unique_ptr<frmPresetKey> openSheet()
    {
        auto form = std::make_unique<frmPresetKey>();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("window not exposed");
        return form;
    }
    bool sheetShows(frmPresetKey& form, const QString& name)
    {
        const QList<SheetItem> items = form.canvas().items();
        return std::any_of(items.begin(), items.end(), [&](const SheetItem& i) { return i.text == name; });
    }
    // Double-clicks key 11 of the shipped layout (4 x 6 keys of 2 cm, key 1 at the bottom left).
    void doubleClickKey11(frmPresetKey& form)
    {
        auto* pic = child(&form, "picPresetKey");
        const double perCm = pic->logicalDpiX() / 2.54;
        QTest::mouseDClick(pic, Qt::LeftButton, {}, QPoint(qRound(10 * perCm), qRound(6 * perCm)));
    }

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
        test::loadTexts();
        QVERIFY(test::startScale(m_server));
    }
    void cleanupTestCase()
    {
        transfer::setSessionSettings(ftp::Settings());
        m_folder.reset();
    }
    void init()
    {
        gPresetKeys() = PresetKeyState();
        gStoreTree() = StoreTreeState();
        gStoreTree().gCurScaleIP = kScale;
        gSettings().gWeightPoint = 3;
        gSettings().gDecimalSign = QStringLiteral(".");
        test::emptyTables({"KVB_41", "KVB_14", "KVB_20", "KVB_23", "KVB_25", "SCALE"});
        test::addSheetScale(kScale);
        QVERIFY(m_server.clear());
        m_recorder = std::make_unique<test::MessageRecorder>();
    }
    void cleanup()
    {
        m_recorder.reset();
        ui::windows().reset();
    }

    // The editor opens on the key double-clicked; a name typed last and Enter save it, and the sheet shows it.
    void keyEditorOpensAndSaves()
    {
        auto form = openSheet();
        QString caption;
        test::WindowAnswer answer("frmPutPreKey", [&](QWidget* editor) {
            caption = child<QLabel>(editor, "lblPresetKey")->text();
            ui::setListIndex(child<QComboBox>(editor, "CombFuncKey"), 2);
            auto* name = child<QLineEdit>(editor, "txtCommodity");
            name->setFocus();
            name->selectAll();
            QTest::keyClicks(name, "My key");
            QTest::keyClick(name, Qt::Key_Return);
        });
        doubleClickKey11(*form);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(caption, QStringLiteral("Key 11,  Page 1"));
        QCOMPARE(keyRows(), QStringLiteral("11:2:My key"));
        QVERIFY(sheetShows(*form, QStringLiteral("My key")));
        QVERIFY(m_recorder->messages.isEmpty());
    }

    void keyEditorCancelChangesNothing()
    {
        gPresetKeys().gKeyNum = 24;
        WritePresetKeyPage(11, 12, QStringLiteral("Apples"));
        auto form = openSheet();
        const int drawn = int(form->canvas().items().size());
        test::WindowAnswer answer("frmPutPreKey", [&](QWidget* editor) {
            click(editor, "cmdDel");
            click(editor, "cmdCancel");
        });
        doubleClickKey11(*form);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(keyRows(), QStringLiteral("11:12:Apples"));
        QCOMPARE(int(form->canvas().items().size()), drawn);
    }

    // A write refused on the third page: no page is written, the failure is shown and the dialog stays open.
    void keyEditorRefusedSaveKeepsTheDialog()
    {
        gPresetKeys().gKeyNum = 24;
        WritePresetKeyPage(11, 12, QStringLiteral("Apples"));
        auto form = openSheet();
        const test::FailingWrites refuse(QStringLiteral("BEFORE INSERT ON KVB_41 WHEN NEW.Number = 59"));
        bool openAfterOK = false;
        test::WindowAnswer answer("frmPutPreKey", [&](QWidget* editor) {
            click(editor, "cmdDel");
            click(editor, "cmdNext");
            ui::setListIndex(child<QComboBox>(editor, "CombClerkKey"), 4);
            click(editor, "cmdNext");
            QVERIFY(!child(editor, "cmdNext")->isEnabled());
            ui::setListIndex(child<QComboBox>(editor, "CombPaymentKey"), 0);
            click(editor, "cmdOK");
            openAfterOK = editor->isVisible();
            click(editor, "cmdCancel");
        });
        doubleClickKey11(*form);
        QVERIFY(openAfterOK);
        QCOMPARE(keyRows(), QStringLiteral("11:12:Apples"));
        QCOMPARE(m_recorder->messages.size(), 1);
        QVERIFY(m_recorder->messages[0].text.startsWith("The data could not be saved in the database:\n"));
    }

    // The browse lists the store's PLUs a key can hold, by number; a name past 101 bytes is cut to 100.
    void keyEditorBrowse_data()
    {
        QTest::addColumn<QString>("plus");
        QTest::addColumn<QString>("grid"); // rows "no|name", ';' between them; empty: the grid disabled
        const QString longName(120, 'n');
        QTest::newRow("three PLUs") << "3/0/3/" + longName + ";1;1000005;9/0/4"
                                    << "1|P1;3|" + longName.left(100);
        QTest::newRow("an empty store") << "9/0/4"
                                        << "";
    }
    void keyEditorBrowse()
    {
        QFETCH(QString, plus);
        QFETCH(QString, grid);
        for (const QString& p : plus.split(';'))
            addPlu(p);
        gPresetKeys().gPSKStoreNo = 3;
        gPresetKeys().gKeyNum = 24;
        gPresetKeys().gCurKeyNo = 11;
        frmPutPreKey editor;
        QVERIFY(editor.isLoaded());
        QVERIFY(!child(&editor, "frameBrowse")->isVisibleTo(&editor));
        click(&editor, "cmdBrowse");
        auto* table = child<QTableWidget>(&editor, "GridBrowse");
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r)
            if (table->item(r, 0))
                rows << table->item(r, 0)->text() + '|' + table->item(r, 1)->text();
        QCOMPARE(rows.join(';'), grid);
        QCOMPARE(table->isEnabled(), !grid.isEmpty());
        QVERIFY(child(&editor, "frameBrowse")->isVisibleTo(&editor));
        QVERIFY(!child(&editor, "cmdBrowse")->isEnabled());
        if (grid.isEmpty())
            return;
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(1, 0)).center());
        QCOMPARE(child<QLineEdit>(&editor, "txtPluNo")->text(), QStringLiteral("3"));
        QCOMPARE(editor.editor().keyCodes[0], 3);
    }

    void autoAssignment_data()
    {
        QTest::addColumn<AutoCase>("c");
        // clang-format off
        QTest::newRow("PLUs 7, 2 and 5") << AutoCase{};
        QTest::newRow("thirty PLUs on 24 keys") << AutoCase{.plus = "", .count = 30, .keys = ""};
        QTest::newRow("main groups 3 and 8 by department") << AutoCase{.plus = "1/3;2/5;3/8;4/8/2;5/9", .groups = "3/4/3;3/4/8;2/4/5", .option = "opDP", .depts = "4,4", .mgs = "3,8", .keys = "1:1:P1;2:3:P3"};
        QTest::newRow("department 97 in two stores") << AutoCase{.plus = "1/997;2/5;3/6", .groups = "3/97/997;2/97/5;3/97/6", .picks = "1", .option = "opDP", .depts = "97,97", .mgs = "6,997", .keys = "1:1:P1;2:3:P3"};
        QTest::newRow("department 0 first") << AutoCase{.plus = "1/1", .groups = "3/0/1;3/4/2", .option = "opDP", .depts = "0,4", .keys = "30:9:Old"};
        QTest::newRow("department 0 chosen again") << AutoCase{.plus = "1/1;2/2", .groups = "3/0/1;3/4/2", .picks = "1;0", .option = "opDP", .depts = "0,4", .mgs = "1", .keys = "1:1:P1"};
        QTest::newRow("a department without main groups here") << AutoCase{.plus = "1/2", .groups = "3/4/2;2/5/7", .picks = "1", .option = "opDP", .depts = "4,5", .keys = "30:9:Old"};
        QTest::newRow("one main group") << AutoCase{.plus = "1/2;2/8", .groups = "3/4/2;3/4/8", .option = "opMG", .depts = "4", .mgs = "2,8", .keys = "1:1:P1"};
        QTest::newRow("a PLU without a name") << AutoCase{.plus = "5/0/3/-", .keys = "1:5:-"};
        QTest::newRow("numbers a key cannot hold") << AutoCase{.plus = "3;1;1000005;0", .keys = "1:1:P1;2:3:P3"};
        QTest::newRow("no PLU") << AutoCase{.plus = "", .keys = ""};
        QTest::newRow("Cancel") << AutoCase{.answer = "cmdCancel", .keys = "30:9:Old"};
        QTest::newRow("the query fails") << AutoCase{.keys = "30:9:Old", .queryFails = true};
        // clang-format on
    }
    void autoAssignment()
    {
        QFETCH(AutoCase, c);
        for (const QString& p : QString::fromLatin1(c.plus).split(';', Qt::SkipEmptyParts))
            addPlu(p);
        for (int n = c.count; n > 0; --n)
            addPlu(QString::number(99 + n));
        for (const QString& g : QString::fromLatin1(c.groups).split(';', Qt::SkipEmptyParts)) {
            const QStringList f = g.split('/');
            if (gDBConnection.scalar("SELECT count(*) FROM KVB_20 WHERE ST_No = ? AND DP_No = ?", {f[0], f[1]}).toInt()
                == 0)
                test::addRow("KVB_20", {{"ST_No", f[0]}, {"DP_No", f[1]}});
            test::addRow("KVB_23", {{"ST_No", f[0]}, {"DP_No", f[1]}, {"MG_No", f[2]}});
        }
        gPresetKeys().gKeyNum = 24;
        WritePresetKeyPage(30, 9, QStringLiteral("Old"));
        auto form = openSheet();
        QString depts, mgs;
        bool openAfterOK = false;
        test::WindowAnswer answer("frmAutoPresetKey", [&](QWidget* dialog) {
            QCOMPARE(child<QLabel>(dialog, "lStore")->text(), QStringLiteral("3"));
            for (const QString& pick : QString::fromLatin1(c.picks).split(';', Qt::SkipEmptyParts))
                ui::setListIndex(child<QComboBox>(dialog, "combDept"), pick.toInt());
            depts = listTexts(child<QComboBox>(dialog, "combDept"));
            mgs = listTexts(child<QComboBox>(dialog, "combMG"));
            child<QRadioButton>(dialog, c.option)->click();
            if (c.queryFails)
                gDBConnection.exec(QStringLiteral("ALTER TABLE KVB_25 RENAME TO KVB_25_gone"));
            click(dialog, c.answer);
            openAfterOK = dialog->isVisible();
            if (c.queryFails) {
                gDBConnection.exec(QStringLiteral("ALTER TABLE KVB_25_gone RENAME TO KVB_25"));
                click(dialog, "cmdCancel");
            }
        });
        click(form.get(), "cmdAuto");
        QCOMPARE(answer.count(), 1);
        QVERIFY(form->isEnabled());
        QCOMPARE(openAfterOK, c.queryFails);
        QCOMPARE(depts, QLatin1String(c.depts));
        QCOMPARE(mgs, QLatin1String(c.mgs));
        QString keys = QLatin1String(c.keys);
        for (int k = 1; k <= qMin(c.count, 24); ++k)
            keys += (k > 1 ? ";" : "") + QStringLiteral("%1:%2:P%2").arg(k).arg(99 + k);
        QCOMPARE(keyRows(), keys);
        QCOMPARE(sheetShows(*form, QStringLiteral("Old")), keys.contains("Old"));
        QCOMPARE(m_recorder->messages.size(), c.queryFails ? 1 : 0);
    }

    // Through the Tool menu's table: a format number without a row shows every list at 0; closing brings the main
    // window back.
    void flexiBarcodeOpensFromTheMenu()
    {
        QWidget main;
        ui::windows().setMainWindow(&main);
        main.show();
        toolWindowOpener(QStringLiteral("menuEditFlexiBarcode"))(QStringLiteral("Edit Flexi Barcode"));
        auto* form = ui::windows().tool<frmFlexiBarcode>();
        QVERIFY(form && form->isVisible());
        QVERIFY(!main.isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Edit Flexi Barcode"));
        for (const FBarList& list : kFBarLists)
            QCOMPARE(child<QComboBox>(form, list.objectName)->currentIndex(), 0);
        QCOMPARE(child<QLabel>(form, "labFBar_Item")->text(), QStringLiteral("F2"));
        QCOMPARE(child<QLabel>(form, "labFBar_Item")->font().pointSizeF(), 15.0);
        QVERIFY(!child(form, "cmdDelete")->isEnabled());
        click(form, "cmdClose");
        QTRY_VERIFY(!ui::windows().tool<frmFlexiBarcode>());
        QVERIFY(main.isVisible());
    }

    // Save, another number, back, Delete: what each button and list does.
    void flexiBarcodeEditing()
    {
        frmFlexiBarcode form;
        const auto choose = [&](const char* list, int index) {
            ui::setListIndex(child<QComboBox>(&form, list), index);
        };
        choose("ComboNo", 2);
        choose("ComboType", 1);
        choose("ComboItemDigitNo", 5);
        choose("ComboData1", 5);
        choose("ComboCD", 2);
        QCOMPARE(child<QLabel>(&form, "labFBar_Item")->text(), QStringLiteral("F1F2CCCCCPPPPPCD"));
        choose("ComboEANorITF", 1);
        click(&form, "cmdSave");
        QCOMPARE(m_recorder->messages.size(), 0);
        QVERIFY(child(&form, "cmdDelete")->isEnabled());
        // An unsaved choice goes with another number; the saved format comes back.
        choose("ComboType", 0);
        click(&form, "cmdSave");
        QCOMPARE(m_recorder->messages.size(), 1);
        QCOMPARE(m_recorder->messages[0].text, gLangMsg.text(QStringLiteral("fbarcodeillegal")));
        choose("ComboNo", 4);
        QVERIFY(!child(&form, "cmdDelete")->isEnabled());
        choose("ComboNo", 2);
        QCOMPARE(form.choices().Type, 1);
        QCOMPARE(child<QComboBox>(&form, "ComboEANorITF")->currentText(), QStringLiteral("1:EAN"));
        click(&form, "cmdDelete");
        QCOMPARE(child<QComboBox>(&form, "ComboNo")->currentIndex(), 0);
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_14")).toInt(), 0);
    }

    // Formats 3 and 1 saved in that order go out as two lines, 3 first, whatever their marks; none: no file.
    void flexiBarcodeSend_data()
    {
        QTest::addColumn<bool>("formats");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("two formats") << true
                                     << QByteArray("3,,0,5,0,0,0,0,0,0,0,0,0,0\r\n1,,2,0,0,4,0,0,0,0,0,0,0,0\r\n");
        QTest::newRow("no format") << false << QByteArray();
    }
    void flexiBarcodeSend()
    {
        QFETCH(bool, formats);
        QFETCH(QByteArray, file);
        gStoreTree().gCurStoreNo = 3;
        gStoreTree().gCurSectNo = 2;
        frmFlexiBarcode form;
        if (formats) {
            const auto choose = [&](const char* l, int i) { ui::setListIndex(child<QComboBox>(&form, l), i); };
            choose("ComboNo", 2);
            choose("ComboItemDigitNo", 5);
            click(&form, "cmdSave");
            choose("ComboNo", 0);
            choose("ComboType", 2);
            choose("ComboData2", 4);
            click(&form, "cmdSave");
            gDBConnection.exec(QStringLiteral("UPDATE KVB_14 SET Is_Selected = 0"));
        }
        QString status;
        QStringList request;
        test::WindowAnswer answer("frmFTPDataTrans", [&](QWidget* transfer) {
            request << test::requestOf(transfer).files;
            auto* grid = child<QTableWidget>(transfer, "MSFGFTP");
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, 4)).center());
            click(transfer, "cmdCommand");
            status = grid->item(0, 3) ? grid->item(0, 3)->text() : QString();
            click(transfer, "cmdClose");
        });
        click(&form, "cmdDownload");
        QCOMPARE(answer.count(), 1);
        QCOMPARE(request, (QStringList{kFlb}));
        QCOMPARE(status, formats ? QStringLiteral("Finished") : QStringLiteral("Sending Error"));
        QCOMPARE(test::readFile(m_server.filePath(kFlb)), file);
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT total(Is_Selected) FROM KVB_14")).toInt(),
                 formats ? 2 : 0);
    }
};

QTEST_MAIN(TestPresetKeyDialogs)
#include "tst_presetkeydialogs.moc"
