#include "support/CodecTestDb.h"
#include "support/DataRows.h"
#include "support/DumpRows.h"
#include "support/FileSizeLimit.h"
#include "support/PluGenerator.h"
#include "support/ProgramFolderFixture.h"
#include "support/TestSupport.h"
#include "support/WindowAnswer.h"

#include "app/DumpSet.h"
#include "app/ProgramExit.h"
#include "app/SingleInstance.h"
#include "app/WorkingDatabase.h"
#include "app/ui/Main.h"
#include "app/ui/frmEnd.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/text/Ansi.h"
#include "platform/text/TextFile.h"
#include "platform/ui/CellEdit.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "plu/PluFieldRanges.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluListView.h"
#include "presetkeys/KeyEditor.h"
#include "presetkeys/ui/frmFlexiBarcode.h"
#include "records/KvbRecords.h"
#include "records/OtherRecords.h"
#include "records/PackedBcd.h"
#include "records/TextBlock.h"
#include "reports/PluExport.h"
#include "reports/PluImport.h"
#include "reports/ui/ReportDialogs.h"
#include "reports/ui/frmImportOrExport.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>
#include <optional>

using namespace quorvane;
using quorvane::test::writeFile;
using namespace quorvane::app;

class TestStartUp;

namespace {

const char* const WorkingDb = "Database/Orvo2005_New.mdb";

QByteArray storeDump(const char* name) { return QByteArray(" 1 \r\n") + name + "\r\n 0 \r\n 0 \r\n 255 \r\n"; }

using DumpFiles = QMap<QString, QByteArray>; // file name to content

// A file that stops the start: written over the shipped one, or removed when `content` is null.
struct FailedStartRow {
    const char* name;
    const char* file;
    QByteArray content{};
    bool leftBehind = false; // a working database from an earlier run is present
    QString renamedField{};  // a schema line changed so the dumps no longer fit
    QStringList said;
};

struct WriteFailRow {
    const char* name;
    QString saved{};          // store saved by the exit before, empty for none
    QString added{};          // store added in the run whose exit fails
    bool unencodable = false; // a payment key the code page cannot hold, closing window first
    qint64 limit = 0;         // largest file the child may write; 0: no child
    QString failingFile;      // named in the message
    bool resume = false;      // Yes when the next start offers the kept working database
};

struct DumpRow {
    const char* name;
    DumpFiles files;    // besides a store dump of store 1, unless they hold one
    bool sealed = true; // a marker with their sizes and checksums, as an exit writes it
    DumpFiles after{};  // written over them once they are sealed
    bool starts = true;
    QStringList said{};   // in the one message
    QStringList kept{};   // as .bak at the next exit
    QStringList unsaid{}; // not in it
    int plus = -1;        // PLUs loaded with a record; -1: not counted
    QString stays{};      // said again at the start after the next exit
};

struct StoreDumpRow {
    const char* name;
    int left;             // bytes of tempstore.txt left
    QByteArray marker{};  // written over the exit's own; empty keeps it
    QStringList stores{}; // the names loaded
    QString said;
};

struct FolderRow {
    const char* name;
    QStringList refused{};       // "Delete <folder>", "Rename <folder>" or "Copy <entry>"
    bool refusedAtStart = false; // also at the next start
    int code = 0;                // of the exit
    QString exitSays{};          // in the exit's message, empty for none
    int startMessages = 0;       // at the next start
    QString startSays{};         // in its last message
    QString loaded = QStringLiteral("New");
    int movedAside = 0; // AccessData.old.<date> folders left in the end
};

// The store name of each folder's set, empty for no folder.
struct SwapRow {
    const char* name;
    QString current{};
    QString fresh{};
    bool freshComplete = false;
    QString old{};
    QString loaded{};
    bool leftBehind = false; // the working database of the run whose exit was cut short
    QString said{};          // in the one message
};

// The smallest records a PLU and a department can have.
QByteArray pluRecord(int no) { return records::PackedBcd(no, 4) + QByteArray::fromHex("0020") + QByteArray(26, '\0'); }
QByteArray department(int no) { return records::PackedBcd(no, 4) + QByteArray::fromHex("0016") + QByteArray(16, 'D'); }

QStringList storeNames()
{
    QStringList names;
    for (const QVariantList& row : test::rowsOf(test::dumpOf(QStringLiteral("STORE"))))
        names << row[1].toString();
    return names;
}

// Marks the dump folder complete, as an exit does, with the size and checksum of each file in it.
bool seal(const QString& folder)
{
    DumpSeals seals;
    const auto written = sealInto(&seals);
    const auto files = test::snapshot(folder);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        written(it.key(), it.value());
    QString error;
    return markDumpSetComplete(folder, {}, seals, &error);
}

QStringList visibleWindows()
{
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            names << w->objectName();
    return names;
}

using TableRows = QMap<QString, QList<QVariantMap>>; // each row's fields by name, in stored order

// Rows put in by `make` while the program runs, through a real exit and start (TestStartUp::restart).
struct RestartRow {
    const char* name;
    void (TestStartUp::*make)(TableRows& want); // may say itself how tables are to come back
    QStringList tables{};                       // to come back as they stood before the exit
    QString rebuilt{};                          // the fields built at exit from the others, as a pattern
    int deletedGroup = 0;                       // main group deleted before the exit: its PLUs keep their fields too
    const char* swapped = nullptr;              // a record dump whose first two records are swapped after the exit
    QStringList said{};                         // a part of each message of the exit and the start
    void (TestStartUp::*check)() = nullptr;     // after the start, what the rows cannot show
};

// Every row of the table in stored order; with `records`, holding those and no record after them.
QList<QVariantMap> rowsNow(const QString& table, std::optional<QList<QByteArray>> records = {})
{
    QList<QVariantMap> rows;
    for (qint64 id : test::rowIds(table)) {
        rows << test::rowValues(table, id);
        if (records)
            rows.last().insert("KVBBinData", rows.size() > records->size() ? QVariant() : records->at(rows.size() - 1));
    }
    return rows;
}

const QByteArray kKey3 = QByteArray::fromHex("00000003000B0000123400"),
                 kKey30 = QByteArray::fromHex("00000262000B0000000281");

void addKey(int layout, int number, int keySwitch, int status, const QByteArray& record)
{
    // clang-format off
    test::addRow(QStringLiteral("KVB_41"), {{"Scale_IP", "192.168.001.010"}, {"PSK_Layout", layout}, {"Number", number}, {"Key_Switch", keySwitch}, {"Status", status}, {"Name", "Key"}, {"KVBBinData", record.isEmpty() ? QVariant() : QVariant(record)}, {"Is_Selected", 1}});
    // clang-format on
}

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramFolderFixture> m_folder;
    std::unique_ptr<test::MessageRecorder> m_messages;

    QString file(const char* relative) const { return m_folder->file(QLatin1String(relative)); }

    // Starts and checks that the main window is up.
    void startRunning()
    {
        QCOMPARE(Main(), StartOutcome::Running);
        QVERIFY(test::findWindow(QStringLiteral("frmMain")));
        QVERIFY(!test::findWindow(QStringLiteral("frmLoading")));
    }

    // Closes the main window and checks the orderly end.
    void closeOrderly()
    {
        clearExitCode();
        test::closeMainWindow();
        QCOMPARE(exitCode(), std::optional<int>(0));
        QVERIFY(!QFile::exists(file(WorkingDb)));
        QVERIFY(!frmMain::isLoaded());
    }

    // A run that ends without its shutdown, as a crash leaves it.
    void crash()
    {
        CloseDatabase();
        releaseInstanceLock();
        frmMain::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Starts and expects the end after one message holding every fragment, with no window left and no
    // file changed.
    void checkFailedStart(ui::MsgIcon icon, const QStringList& fragments)
    {
        const auto before = test::snapshot(m_folder->path());
        QCOMPARE(Main(), StartOutcome::Failed);
        QCOMPARE(visibleWindows(), QStringList());
        QVERIFY(!frmMain::isLoaded());
        QCOMPARE(m_messages->messages.size(), 1);
        QCOMPARE(m_messages->messages[0].icon, icon);
        QCOMPARE(m_messages->messages[0].title, QStringLiteral("Quorvane"));
        for (const QString& f : fragments)
            QVERIFY2(m_messages->messages[0].text.contains(f), qPrintable(m_messages->messages[0].text));
        QCOMPARE(test::snapshot(m_folder->path()), before);
    }

    // ---- what the rows of restart() put in ----

    // Rows of awkward values in every dumped table; those of the tables that take their fields back from their scale
    // records are not compared (the next rows are theirs).
    void sampleRows(TableRows& want)
    {
        db::Transaction tx(gDBConnection);
        for (const TableDump& d : tableDumps())
            for (const QVariantList& values : test::insertSampleRows(d, 5))
                if (!QStringList{"KVB_20", "KVB_23", "KVB_14", "KVB_25"}.contains(d.table)) {
                    QVariantMap& row = want[d.table].emplace_back();
                    for (qsizetype i = 0; i < values.size(); ++i)
                        row.insert(d.fields[i].name, values[i]);
                }
        tx.commit();
    }

    // Stores, departments, main groups, flexible barcodes and PLUs with all their fields; departments and main groups
    // get their records as the node dialogs save them.
    void levelsAndPlus(TableRows&)
    {
        db::Transaction tx(gDBConnection);
        for (const auto& [table, values] : test::generatorLevels())
            test::addRow(table, values);
        test::addRow(QStringLiteral("SECT"), {{"ST_No", 1}, {"SECT_No", 1}}); // the generated PLUs' section
        QRandomGenerator gen(11);
        for (int n = 0; n < 200; ++n)
            test::addRow(QStringLiteral("KVB_25"), test::generatePlu(gen, 10 + n * 3));
        tx.commit();
        for (const char* table : {"KVB_20", "KVB_23"}) {
            gRsWork.openTable(QLatin1String(table));
            for (; !gRsWork.eof(); gRsWork.moveNext())
                records::EncodeKVBRecord(QLatin1String(table));
            gRsWork.close();
        }
    }

    // What the flexible-barcode and key editors save: a format saved as EAN with its check-digit mode, two keys.
    void editorsSaved(TableRows&)
    {
        {
            frmFlexiBarcode form;
            // clang-format off
            for (auto [list, index] : {std::pair{"ComboNo", 1}, {"ComboType", 1}, {"ComboItemDigitNo", 5}, {"ComboData1", 5}, {"ComboCD", 2}, {"ComboEANorITF", 1}})
                ui::setListIndex(form.findChild<QComboBox*>(QLatin1String(list)), index);
            // clang-format on
            form.cmdSave_Click();
        }
        gStoreTree().gCurScaleIP = QStringLiteral("127.  0.  0.  1");
        gPresetKeys().gKeyNum = 24;
        presetkeys::KeyEditor keys = presetkeys::LoadKeyEditor(3);
        presetkeys::PickListEntry(keys, presetkeys::KeyList::Clerk, 4, QStringLiteral("Clerk 5"));
        presetkeys::NextKeyPage(keys);
        presetkeys::PickBrowsedPLU(keys, QStringLiteral("12"), QStringLiteral("Apples"));
        presetkeys::SavePresetKey(keys);
        QCOMPARE(test::rowIds(QStringLiteral("KVB_41")).size(), 2);
    }

    // After the start the format saved as EAN shows "1:EAN" and its check-digit mode.
    void flexiBarcodeShowsEan()
    {
        frmFlexiBarcode form;
        ui::setListIndex(form.findChild<QComboBox*>(QStringLiteral("ComboNo")), 1);
        QCOMPARE(form.findChild<QComboBox*>(QStringLiteral("ComboEANorITF"))->currentText(), QStringLiteral("1:EAN"));
        QCOMPARE(form.findChild<QComboBox*>(QStringLiteral("ComboCD"))->currentIndex(), 2);
    }

    // Store 1's PLUs exported with every field and imported into store 2, with Blank for the store: store 2 holds the
    // same values, names as their first lines, under the same main groups.
    void importedPlus(TableRows&)
    {
        QStringList catalogue;
        for (int i = 1; i <= gParImportExportItem.count(); ++i)
            catalogue << gParImportExportItem.at(i);
        // One PLU at the top of every range, with every flag; one at the bottom, with names of several lines.
        // clang-format off
        QVariantMap top{{"PLU_MG", 12}, {"PLU_BarFormat", 3}, {"PLU_EANItemCode", "0042"}, {"PLU_Commodity", test::textLine(3, "Golden apples", 0x0D) + test::textLine(1, "2", 0x0C)}, {"PLU_Description", test::textLine(2, QByteArray(50, 'D'), 0x0C)}};
        QVariantMap bottom{{"PLU_MG", 997}, {"PLU_Commodity", test::textLine(1, "Pears", 0x0D) + test::textLine(4, "x", 0x0C)}, {"PLU_Description", test::textLine(0, "Ripe", 0x0D) + test::textLine(0, "", 0x0C)}, {"Stat2_Commodity", 1}, {"Stat2_Description", 1}};
        // clang-format on
        for (const QString& name : catalogue)
            if (const PluFieldRange* range = pluFieldRange(name); range && range->kind != fields::Kind::ItemCode) {
                top.insert(name, top.value(name, range->max));
                bottom.insert(name, bottom.value(name, range->min));
                if (range->flag)
                    top.insert(QLatin1String(records::plu::name(*range->flag)), 1);
            }
        db::Transaction tx(gDBConnection);
        for (int store : {1, 2})
            for (auto [table, values] : test::generatorLevels())
                if (values.contains("ST_No")) { // the store, its department and main groups
                    values.insert("ST_No", store);
                    test::addRow(table, values);
                }
        for (QVariantMap p : {top, bottom}) {
            p.insert("ST_No", 1);
            p.insert("PLU_CommodityFirst", records::textBlockFirstLine(p.value("PLU_Commodity").toByteArray(), true));
            test::addRow(QStringLiteral("KVB_25"), p);
        }
        tx.commit();
        const QString path = m_folder->file(QStringLiteral("temp/plus.txt"));
        QCOMPARE(reports::exportPlus(path, {catalogue, '\t', false, {2, 3, "."}}), 2);
        catalogue.replace(catalogue.indexOf("ST_No"), QStringLiteral("Blank"));
        const reports::PluImportResult r = reports::importPlus(
            {.path = path, .columns = catalogue, .storeText = "2", .mainGroupText = "997", .format = {2, 3, "."}});
        QCOMPARE(r.imported, 2);
        QCOMPARE(r.named.size(), 0);
        QCOMPARE(reports::exportPlus(path, {catalogue, '\t', false, {2, 3, "."}}), 4);
        const QList<QByteArray> lines = test::readFile(path).split('\n');
        QCOMPARE(lines.mid(2, 2), lines.mid(0, 2)); // store 2's as store 1's, but for the store
        gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE ST_No=1")); // put in, not saved by the program
    }

    // A name written in the text editor at font G3 and saved with the PLU: its text, its font code and its presence
    // flag.
    void editedName(TableRows& want)
    {
        {
            db::Transaction tx(gDBConnection);
            for (auto [table, values] : test::generatorLevels())
                if (values.contains("ST_No"))
                    test::addRow(table, values);
            test::addRow(QStringLiteral("KVB_25"), {{"ST_No", 1}, {"PLU_No", 7}, {"PLU_MG", 12}});
            tx.commit();
        }
        frmMain* w = frmMain::form();
        w->cmdData_Click();
        gStoreTree().gCurStoreNo = 1; // as the store node's click sets it
        plu::LoadPLUList(w, PluListKind::Store, 1, 0, 0);
        plu::cmdEdit_Click(w);
        test::WindowAnswer editor(QStringLiteral("frmStringEdit"), [](QWidget* d) {
            auto* grid = d->findChild<QTableWidget*>(QStringLiteral("gridString"));
            for (int column : {1, 2}) {
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualItemRect(grid->item(0, column)).center());
                QWidget* open = ui::cellEditor(grid);
                if (auto* fonts = qobject_cast<QComboBox*>(open))
                    fonts->setCurrentIndex(fonts->findText(QStringLiteral("G3")));
                else
                    QTest::keyClicks(open, QStringLiteral("Plums"));
                QTest::keyClick(open, Qt::Key_Return);
            }
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        plu::cmdFont_Click(w);
        QCOMPARE(editor.count(), 1);
        plu::cmdUpdate_Click(w);
        want.insert("KVB_25", {{{"PLU_Commodity", test::textLine(3, "Plums", 0x0C)}, {"Stat2_Commodity", 1}}});
    }

    // The other files' tables and the preset keys, every other row without its record and clerk 3 with clerk 4's: at
    // exit each gets its own, built from its fields. A date-time row is not kept.
    void otherFiles(TableRows& want)
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        const QByteArray flour = test::textLine(1, "Wheat flour", 0x0D) + test::textLine(2, "\xD0\xA1\xC2\xF3", 0x0D)
            + test::textLine(0, "", 0x0D) + test::textLine(3, "Salt", 0x0C);
        // clang-format off
        const QList<std::pair<QString, QVariantMap>> rows{
            {"KVB_44", {{"Clerk_No", 1}, {"Name", QString::fromUtf8("收银员")}, {"Status", 0}}},
            {"KVB_44", {{"Clerk_No", 2}, {"Name", "Bob"}, {"Status", 0}}},
            {"KVB_44", {{"Clerk_No", 3}, {"Name", "Cy"}, {"Status", 0}}},
            {"KVB_A8", {{"Code", 1}, {"Name", "VAT1"}, {"Rate", 1750}, {"Status", 1}}},
            {"KVB_A8", {{"Code", 2}, {"Name", QString::fromUtf8("税二")}, {"Rate", 600}, {"Status", 0}}},
            {"KVB_AC", {{"Number", 5}, {"Status", 19}, {"Type", 2}, {"Name", "Stock"}}},
            {"KVB_AD", {{"Number", 2}, {"Status", 9}, {"Name", "Card"}, {"Reserved", 0}}},
            {"KVB_AA", {{"Number", 7}, {"Disc_SDate", 10130}, {"Disc_EDate", 311230}, {"Disc_ETime", 2359}, {"Disc_Type", 6}, {"Disc_Within1stL", 999}, {"DisDayOfWeek", 127}}},
            {"KVB_AB", {{"Number", 3}, {"Price_SDate", 10130}, {"Price_STime", 5}, {"Price_EDate", 311227}, {"Price_ETime", 2359}, {"PriceDayOfWeek", 127}, {"NewUnitPrice", 999}, {"NextNumber", 0}}},
            {"KVB_3A", {{"No", 1}, {"NextNo", 2}, {"NameFirstLine", "Wheat flour"}, {"Name", flour}}},
            {"KVB_3A", {{"No", 2}, {"NextNo", 0}, {"NameFirstLine", " "}}},
            {"KVB_3A", {{"No", 3}, {"NextNo", 0}, {"NameFirstLine", "Wheat flour"}, {"Name", flour}}},
            {"KVB_3B", {{"No", 7}, {"NextNo", 0}, {"NameFirstLine", "Fresh"}, {"Name", test::textLine(1, "Fresh", 0x0C)}}},
            {"KVB_3C", {{"No", 8}, {"NextNo", 9}, {"NameFirstLine", "Sale"}, {"Name", test::textLine(4, "Sale", 0x0C)}}},
            {"KVB_3D", {{"No", 1}, {"NextNo", 0}, {"NameFirstLine", "Shop"}, {"Name", test::textLine(6, "Shop", 0x0C)}}},
        };
        // clang-format on
        // Each row's record as its builder makes it; every other row is saved with it, clerk 3 with clerk 4's.
        QMap<QString, QList<QByteArray>> expected;
        db::Transaction tx(gDBConnection);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const auto& [table, values] = rows[i];
            QVariantMap row = values;
            row.insert("Is_Selected", 1);
            const QByteArray record = records::KvbOtherRecord(table, values);
            if (values.value("Clerk_No") == 3)
                row.insert("KVBBinData", records::KvbOtherRecord(table, {{"Clerk_No", 4}, {"Name", "Cy"}}));
            else if (i % 2 == 0)
                row.insert("KVBBinData", record);
            test::addRow(table, row);
            expected[table] << record;
        }
        addKey(0, 3, 1234, 0, kKey3);
        addKey(0, 30, 2, 129, QByteArray());
        expected["KVB_41"] = {kKey3, kKey30};
        test::addRow("KVB_4E",
                     {{"SF_No", 1}, {"KVBBinData", records::KvbDateTimeRecord(QDateTime::currentDateTime())}});
        tx.commit();
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
            want.insert(it.key(), rowsNow(it.key(), it.value()));
        want.insert("KVB_4E", {});
    }

    // A key of layout 5, which the preset-key file lacks, gets no record at exit: the dump ends there, and the key
    // after it loses its record.
    void keyOfMissingLayout(TableRows& want)
    {
        addKey(0, 3, 1234, 0, kKey3);
        addKey(0, 30, 2, 129, QByteArray());
        addKey(5, 1, 7, 0, QByteArray());
        addKey(0, 4, 8, 0, QByteArray::fromHex("00000004000B0000000800"));
        want.insert("KVB_41", rowsNow("KVB_41", QList<QByteArray>{kKey3, kKey30}));
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<test::ProgramFolderFixture>();
        QVERIFY(m_folder->isValid());
        // Store mode 1: the tree has its root, so a start on an empty database opens no first-store dialog.
        QVERIFY(writeFile(file("ini/setting.cfg"),
                          " 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nVelcor Weighing\r\n"));
        m_messages = std::make_unique<test::MessageRecorder>();
        clearExitCode();
    }

    void cleanup()
    {
        // A test's seams go before the exit below runs: they may hold what the test function held.
        setFolderOperationCheck(nullptr);
        setExitHandler(nullptr);
        plu::observePLUListLoads({});
        reports::setFileDialogHandler(nullptr);
        if (frmMain::isLoaded())
            test::closeMainWindow();
        CloseDatabase();
        releaseInstanceLock();
        m_messages.reset();
        m_folder.reset();
    }

    void missingConfigurationFile_data()
    {
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("language file") << QStringList{QStringLiteral("ini/language.ini")};
        QTest::newRow("parameter file") << QStringList{QStringLiteral("ini/ParameterPLU.ini")};
        QTest::newRow("settings file") << QStringList{QStringLiteral("ini/setting.cfg")};
        QTest::newRow("all three") << QStringList{"ini/language.ini", "ini/ParameterPLU.ini", "ini/setting.cfg"};
    }

    void missingConfigurationFile()
    {
        QFETCH(QStringList, missing);
        for (const QString& f : missing)
            QVERIFY(QFile::remove(m_folder->file(f)));
        bool loadingVisible = true;
        m_messages->onMessage = [&](const ui::MsgRequest&) {
            loadingVisible = test::findWindow(QStringLiteral("frmLoading")) != nullptr;
        };
        checkFailedStart(ui::MsgIcon::Exclamation, {});
        QCOMPARE(m_messages->messages.value(0).text, QStringLiteral("Some source file is not exist!"));
        QVERIFY(!loadingVisible);
    }

    void failedStart_data()
    {
        const QByteArray malformed = "[STORE]\r\nST_No,4,4\r\nST_Name,10\r\n\r\n[END]\r\n";
        // clang-format off
        test::addDataRows<FailedStartRow>({
            {.name = "settings file ends early", .file = "ini/setting.cfg", .content = " 0 \r\n 2 \r\n 0 \r\n", .said = {"setting.cfg", "line 4"}},
            {.name = "schema missing", .file = "Database/abc.txt", .said = {"abc.txt does not exist"}},
            {.name = "schema missing, database left behind", .file = "Database/abc.txt", .leftBehind = true, .said = {"abc.txt does not exist"}},
            {.name = "schema malformed", .file = "Database/abc.txt", .content = malformed, .said = {"abc.txt is malformed at line 3"}},
            {.name = "schema malformed, database left behind", .file = "Database/abc.txt", .content = malformed, .leftBehind = true, .said = {"abc.txt is malformed at line 3"}},
            {.name = "schema without end line", .file = "Database/abc.txt", .content = "[STORE]\r\nST_No,4,4\r\n\r\n", .said = {"malformed at line"}},
            {.name = "malformed dump", .file = "AccessData/tempplu.txt", .content = " 1 \r\n 1 \r\n 0 \r\n 2 \r\n", .said = {"tempplu.txt, line 4:"}},
            {.name = "schema lacks a dumped field", .file = "AccessData/tempstore.txt", .content = storeDump("Main"), .renamedField = "ST_Name", .said = {"no field ST_Name"}},
        });
        // clang-format on
    }

    void failedStart()
    {
        QFETCH(FailedStartRow, row);
        if (row.content.isNull())
            QVERIFY(QFile::remove(file(row.file)));
        else
            QVERIFY(writeFile(file(row.file), row.content));
        if (row.leftBehind)
            QVERIFY(writeFile(file(WorkingDb), "a database left behind"));
        if (!row.renamedField.isEmpty()) {
            const QByteArray line = "\r\n" + row.renamedField.toLatin1() + ",";
            QByteArray schema = test::readFile(file("Database/abc.txt"));
            QVERIFY(schema.contains(line));
            QVERIFY(writeFile(file("Database/abc.txt"), schema.replace(line, "\r\nRenamed_" + line.mid(2))));
        }
        checkFailedStart(ui::MsgIcon::Critical, row.said);
    }

    // A language file that cannot be read is named at the end of start-up, and the program runs on.
    void damagedLanguageFile()
    {
        QVERIFY(writeFile(file("ini/language.ini"), QByteArray()));
        startRunning();
        QCOMPARE(m_messages->messages.size(), 1);
        QCOMPARE(m_messages->messages[0].text,
                 gLangMsg.text(QStringLiteral("langFileErr")) + QLatin1Char('\n') + file("ini/language.ini"));
        closeOrderly();
    }

    void emptyDumpFolder()
    {
        QVERIFY(writeFile(file("Database/Orvo2005_New_.mdb"), "left by a build that was cut short"));
        startRunning();
        QVERIFY(test::findWindow(QStringLiteral("frmMain"))->isEnabled());
        QCOMPARE(m_messages->messages.size(), 0);
        const QStringList tables = gDBConnection.tables();
        QVERIFY(tables.size() >= 33);
        for (const QString& t : tables)
            QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t)).toInt(), 0);
        QVERIFY(QFile::exists(file(InstanceLockFile)));

        closeOrderly();
        for (const TableDump& d : tableDumps()) {
            QFileInfo fi(dumpFolder() + QLatin1Char('/') + d.file);
            QVERIFY2(fi.isFile() && fi.size() == 0, qPrintable(d.file));
        }
        QVERIFY(!QFileInfo::exists(newDumpFolder()));
        QVERIFY(!QFileInfo::exists(oldDumpFolder()));
        QVERIFY(!QFileInfo::exists(file(InstanceLockFile)));
        QVERIFY(!QFileInfo::exists(file("Database/Orvo2005_New_.mdb")));
        QCOMPARE(visibleWindows(), QStringList());
        QCOMPARE(m_messages->messages.size(), 0);
        QCOMPARE(gLangOther.count(), 0); // released
    }

    void secondStartDoesNothing()
    {
        startRunning();
        test::insertRow(test::dumpOf(QStringLiteral("STORE")), {1, QStringLiteral("Running"), 0, 0, 255});
        const auto before = test::snapshot(m_folder->path());
        const QStringList windows = visibleWindows();
        QCOMPARE(Main(), StartOutcome::AlreadyRunning);
        QCOMPARE(m_messages->messages.size(), 0);
        QCOMPARE(visibleWindows(), windows);
        QCOMPARE(test::snapshot(m_folder->path()), before);
        QCOMPARE(storeNames(), QStringList{QStringLiteral("Running")});
        closeOrderly();
    }

    void lockOfAnEndedRunIsTakenOver()
    {
        QProcess ended;
        ended.start(QStringLiteral("/bin/true"));
        QVERIFY(ended.waitForFinished());
        const qint64 pid = ended.processId() ? ended.processId() : 999999;
        const QByteArray info = QByteArray::number(pid) + "\nquorvane\n" + QSysInfo::machineHostName().toUtf8() + "\n";
        QVERIFY(writeFile(file(InstanceLockFile), info));
        startRunning();
        closeOrderly();
    }

    // Rows put in while the program runs come back after a real exit and start: the rows of `tables` as they stood
    // before the exit, a maker's `want` as it says, every row with Is_Selected cleared, but for the fields the exit
    // builds again from the others. A second cycle writes the same dumps again.
    void restart_data()
    {
        const QStringList levels{"STORE", "KVB_20", "KVB_23", "KVB_14", "KVB_25"};
        const QString rebuilt = "KVBBinData|PLU_EANData|_Byte";
        const QString keyLost =
            "1 scale records of KVB_41 could not be kept: row 3 has no whole record, and none can be "
            "built: Layout 5 has no keys per page.\nThe preset-key file cannot be used:";
        // clang-format off
        test::addDataRows<RestartRow>({
            {.name = "every dumped table", .make = &TestStartUp::sampleRows, .said = {"were saved with values left out", "cannot be shown in the tree", "keep no scale record"}},
            {.name = "every level with its records", .make = &TestStartUp::levelsAndPlus, .tables = levels, .rebuilt = rebuilt},
            {.name = "a main group deleted", .make = &TestStartUp::levelsAndPlus, .tables = levels, .rebuilt = rebuilt, .deletedGroup = 12},
            {.name = "what the editors saved", .make = &TestStartUp::editorsSaved, .tables = {"KVB_14", "KVB_41"}, .check = &TestStartUp::flexiBarcodeShowsEan},
            {.name = "imported PLUs", .make = &TestStartUp::importedPlus, .tables = {"KVB_25"}, .rebuilt = rebuilt},
            {.name = "a name from the text editor", .make = &TestStartUp::editedName},
            {.name = "other files, two records swapped", .make = &TestStartUp::otherFiles, .swapped = "tempclerkkvb.txt", .said = {"\ntempclerkkvb.txt: its bytes are not those it was saved with"}},
            {.name = "a key of a layout the preset-key file lacks", .make = &TestStartUp::keyOfMissingLayout, .said = {keyLost}},
        });
        // clang-format on
    }

    void restart()
    {
        QFETCH(RestartRow, row);
        startRunning();
        TableRows want;
        (this->*row.make)(want);
        gDBConnection.exec(QStringLiteral("DELETE FROM KVB_23 WHERE MG_No=?"), {row.deletedGroup});
        for (const QString& table : row.tables)
            want.insert(table, rowsNow(table));
        closeOrderly();
        if (row.swapped) {
            const QString path = dumpFolder() + QLatin1Char('/') + QLatin1String(row.swapped);
            const QByteArray bytes = test::readFile(path);
            const int size = records::KvbRecordHeader::read(bytes)->length;
            QVERIFY(writeFile(path, bytes.mid(size, size) + bytes.left(size) + bytes.mid(2 * size)));
        }
        startRunning();
        QCOMPARE(m_messages->messages.size(), row.said.size());
        for (qsizetype i = 0; i < row.said.size(); ++i)
            QVERIFY2(m_messages->messages[i].text.contains(row.said[i]), qPrintable(m_messages->messages[i].text));
        for (auto [table, rows] : want.asKeyValueRange()) {
            const QList<QVariantMap> got = rowsNow(table);
            QCOMPARE(got.size(), rows.size());
            for (qsizetype i = 0; i < got.size(); ++i)
                for (auto [field, value] : rows[i].asKeyValueRange()) {
                    // An item code is derived again for the format a missing main group gives.
                    if ((!row.rebuilt.isEmpty() && field.contains(QRegularExpression(row.rebuilt)))
                        || (field == QLatin1String("PLU_EANItemCode") && row.deletedGroup
                            && rows[i].value("PLU_MG") == row.deletedGroup && rows[i].value("PLU_BarFormat") == 255))
                        continue;
                    if (field == QLatin1String("Is_Selected"))
                        value = 0;
                    else if (table == QLatin1String("KVB_14") && field == QLatin1String("FBar_CD"))
                        value = value.toInt() % 128; // after a start it holds the check-digit mode alone
                    QVERIFY2(got[i].value(field) == value,
                             qPrintable(QStringLiteral("%1 row %2, %3: %4 became %5")
                                            .arg(table)
                                            .arg(i)
                                            .arg(field, value.toString(), got[i].value(field).toString())));
                }
        }
        if (row.check)
            (this->*row.check)();
        closeOrderly();
        auto dumps = [] { // but the files a start found wanting, which the exit keeps aside
            auto files = test::snapshot(dumpFolder());
            files.removeIf([](const auto& file) { return file.key().contains(QLatin1String(".bak")); });
            return files;
        };
        const auto once = dumps();
        startRunning();
        closeOrderly();
        QCOMPARE(dumps(), once);
    }

    // A logout closes every window in one turn of the event loop: the PLU import window just after an import, then
    // the main window. The exit runs once and ends with 0; from its start no window but the closing one shows and no
    // PLU list is read, also when QApplication::exec() deletes the closed windows on its way out.
    void closingEveryWindowAtOnceEndsOrderly()
    {
        startRunning();
        test::addRow(QStringLiteral("STORE"), {{"ST_No", 1}});
        test::addRow(QStringLiteral("KVB_23"), {{"ST_No", 1}, {"MG_No", 997}});
        QByteArray lines = "title\r\n"; // Yes to the title question skips it
        for (int n = 1; n <= 5000; ++n)
            lines += QByteArray::number(n) + "\t1.25\r\n";
        QVERIFY(writeFile(file("temp/plus.txt"), lines));
        reports::setFileDialogHandler([this](auto, auto&, auto&) { return file("temp/plus.txt"); });
        frmMain::form()->menuImportOrExport_Click();
        auto* tool = ui::windows().tool<frmImportOrExport>();
        auto* items = tool->findChild<QListWidget*>(QStringLiteral("listItem"));
        for (const char* column : {"PLU_No", "PLU_UPrice"}) {
            items->setCurrentItem(items->findItems(QLatin1String(column), Qt::MatchExactly).value(0));
            tool->cmdAdd_Click();
        }
        tool->cmdImport_Click();
        QCOMPARE(m_messages->messages.last().key, QStringLiteral("importOK"));
        m_messages->messages.clear();

        struct AfterExitBegan : QObject {
            QStringList seen;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow()
                    && ui::windows().exiting())
                    seen << o->objectName();
                return false;
            }
        } after;
        qApp->installEventFilter(&after);
        plu::observePLUListLoads([&](auto...) { after.seen << QStringLiteral("PLU list"); });
        QEventLoop programLoop; // QApplication::exec() of main()
        QList<int> exits;
        setExitHandler([&](int code) {
            exits << code;
            programLoop.quit();
        });
        QTimer::singleShot(0, [&] {
            tool->close();
            frmMain::form()->close();
        });
        QTimer::singleShot(8000, &programLoop, &QEventLoop::quit); // a hang guard only
        programLoop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // as exec() does when it returns
        QCOMPARE(exits, QList<int>{0});
        QCOMPARE(after.seen.join(u','), QStringLiteral("frmEnd"));
        QCOMPARE(m_messages->messages.size(), 0);
        QVERIFY(!frmMain::isLoaded());
        startRunning();
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25")).toInt(), 5000);
    }

    void workingDatabaseLeftBehindIsMovedAside()
    {
        startRunning();
        test::insertRow(test::dumpOf(QStringLiteral("STORE")), {1, QStringLiteral("Saved"), 0, 0, 255});
        closeOrderly();
        startRunning();
        test::insertRow(test::dumpOf(QStringLiteral("STORE")), {2, QStringLiteral("Unsaved"), 0, 0, 255});
        crash();
        QVERIFY(QFile::exists(file(WorkingDb)));
        const QByteArray leftBehind = test::snapshot(m_folder->path()).value(QLatin1String(WorkingDb));

        QString progressAtMessage;
        m_messages->onMessage = [&](const ui::MsgRequest&) {
            if (QWidget* w = test::findWindow(QStringLiteral("frmLoading")))
                progressAtMessage = w->findChild<QLabel*>(QStringLiteral("lblLoading"))->text();
        };
        startRunning();
        QCOMPARE(m_messages->messages.size(), 1);
        QCOMPARE(m_messages->messages[0].icon, ui::MsgIcon::Information);
        QCOMPARE(progressAtMessage, gLangOther.text(QStringLiteral("loadSHOW3")));
        QCOMPARE(storeNames(), QStringList{QStringLiteral("Saved")});
        const QStringList aside = QDir(file("Database")).entryList({QStringLiteral("Orvo2005_New.mdb.*")});
        QCOMPARE(aside.size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^Orvo2005_New\\.mdb\\.\\d{4}-\\d\\d-\\d\\d_\\d{6}$"))
                    .match(aside[0])
                    .hasMatch());
        QVERIFY2(m_messages->messages[0].text.contains(aside[0]), qPrintable(m_messages->messages[0].text));
        QCOMPARE(test::snapshot(m_folder->path()).value(QStringLiteral("Database/") + aside[0]), leftBehind);
        closeOrderly();
    }

    // Every file the program writes fails whole when the disk refuses bytes, in a child process under a
    // file-size limit, and the previous file stays; so does a dump with a text the code page cannot hold.
    void failedWriteKeepsThePreviousFiles_data()
    {
        // clang-format off
        test::addDataRows<WriteFailRow>({
            {.name = "a small dump on a full disk", .saved = "Saved", .added = "Unsaved", .limit = 40, .failingFile = "tempstore.txt"},
            {.name = "a small dump on a full disk, its work taken back", .saved = "Saved", .added = "Unsaved", .limit = 40, .failingFile = "tempstore.txt", .resume = true},
            {.name = "the lock file on a full disk", .limit = 1, .failingFile = "quorvane.lock"},
            {.name = "the completion marker on a full disk", .limit = 4, .failingFile = ".complete"},
            {.name = "the settings file on a full disk", .limit = 16, .failingFile = "setting.cfg"},
            {.name = "a text the code page cannot hold", .saved = "Saved", .unencodable = true, .failingFile = "temppaymentkeyfile.txt"},
        });
        // clang-format on
    }

    void failedWriteKeepsThePreviousFiles()
    {
        QFETCH(WriteFailRow, row);
        const auto& [rowName, saved, added, unencodable, limit, failingFile, resume] = row;
        if (failingFile == QLatin1String(InstanceLockFile)) {
            const auto said = test::runUnderFileSizeLimit(
                limit, [&] { return Main() == StartOutcome::Failed ? m_messages->messages.value(0).text : QString(); });
            QVERIFY(said);
            for (const QString& s : {failingFile, QStringLiteral("no space left")})
                QVERIFY2(said->contains(s), qPrintable(*said));
            return;
        }
        if (failingFile == QLatin1String("setting.cfg")) {
            const QByteArray before = test::readFile(file("ini/setting.cfg"));
            SettingsRecord settings;
            settings.gSysStore = 1;
            settings.gTreeRootName = QStringLiteral("All stores");
            const auto said = test::runUnderFileSizeLimit(limit, [&] {
                try {
                    writeSettingsFile(file("ini/setting.cfg"), settings);
                } catch (const text::FileError& e) {
                    return e.message();
                }
                return QString();
            });
            QVERIFY(said);
            QVERIFY2(said->contains(failingFile), qPrintable(*said));
            QCOMPARE(test::readFile(file("ini/setting.cfg")), before);
            return;
        }
        startRunning();
        if (!saved.isEmpty())
            test::insertRow(test::dumpOf(QStringLiteral("STORE")), {1, saved, 0, 0, 255});
        closeOrderly();
        const auto savedDumps = test::snapshot(dumpFolder());

        startRunning();
        if (!added.isEmpty())
            test::insertRow(test::dumpOf(QStringLiteral("STORE")), {2, added, 0, 0, 255});
        if (unencodable)
            test::insertRow(test::dumpOf(QStringLiteral("KVB_AD")), {1, 0, QStringLiteral("\u73b0\u91d1"), 0});
        int code = -1;
        QStringList messages;
        if (limit > 0) {
            const auto said = test::runUnderFileSizeLimit(limit, [&] {
                test::closeMainWindow();
                QStringList out{QString::number(exitCode().value_or(-1))};
                for (const ui::MsgRequest& m : std::as_const(m_messages->messages))
                    out << m.text;
                return out.join(QChar(0x1f));
            });
            QVERIFY(said);
            messages = said->split(QChar(0x1f));
            code = messages.takeFirst().toInt();
            crash(); // what the child's exit left of this process
        } else {
            // As after the data-format dialog: a close of the main window while the closing window is at
            // work starts no second shutdown.
            bool refused = false;
            m_messages->onMessage = [&](const ui::MsgRequest&) {
                if (QWidget* w = test::findWindow(QStringLiteral("frmMain")))
                    refused = !w->close();
            };
            frmEnd::Show();
            QVERIFY(refused);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            m_messages->onMessage = nullptr;
            code = exitCode().value_or(-1);
            for (const ui::MsgRequest& m : std::as_const(m_messages->messages))
                messages << m.text;
            QCOMPARE(m_messages->messages.value(0).icon, ui::MsgIcon::Critical);
        }
        QCOMPARE(code, 1);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(failingFile), qPrintable(messages[0]));
        QCOMPARE(test::snapshot(dumpFolder()), savedDumps);
        QVERIFY(!QFileInfo::exists(newDumpFolder()));
        QVERIFY(!QFile::exists(file(InstanceLockFile)));
        const QStringList marks = QDir(file("Database")).entryList({QStringLiteral("Orvo2005_New.mdb.*.kept")});
        QCOMPARE(marks.size(), 1);
        const QString kept = file("Database/") + marks[0].chopped(5);
        QVERIFY2(messages[0].contains(kept), qPrintable(messages[0]));

        // The next start offers the work of the run back, once: Yes makes it the working database, No loads the
        // old set and leaves it where it is, both named in the question.
        m_messages->messages.clear();
        m_messages->yesNo = resume ? ui::MsgYes : ui::MsgNo;
        startRunning();
        QStringList stores = saved.isEmpty() ? QStringList() : QStringList{saved};
        if (resume && !added.isEmpty())
            stores << added;
        QCOMPARE(storeNames(), stores);
        QCOMPARE(m_messages->messages.size(), 1);
        QCOMPARE(m_messages->messages[0].key, QStringLiteral("keptDbOffer"));
        QVERIFY2(m_messages->messages[0].text.contains(kept), qPrintable(m_messages->messages[0].text));
        QCOMPARE(QFile::exists(kept), !resume);
        closeOrderly();
        startRunning();
        QCOMPARE(storeNames(), stores);
        QCOMPARE(m_messages->messages.size(), 1);
        closeOrderly();
    }

    // Dumps that do not fit together or changed since they were sealed: a cut text dump stops the start; a file
    // that is not as it was sealed, a set without a marker, damaged or misplaced records and doubled rows are
    // named at the end of start-up, each costing no PLU but its own, and the next exit keeps the files of their
    // table beside the new set.
    void damagedDumps_data()
    {
        const QByteArray store = storeDump("Main");
        QByteArray plus, manyPlus, manyRecords, records, twelve;
        QList<QByteArray> rows;
        for (int n = 1; n <= 12; ++n) {
            plus += n <= 5 ? pluRecord(n) : QByteArray();
            rows << " " + QByteArray::number(n) + " \r\n 1 \r\n 0 \r\n";
            manyPlus += rows.last();
            manyRecords += pluRecord(n).replace(4, 2, QByteArray::fromHex(n == 3 ? "00FF" : "0020"));
            records += pluRecord(n).replace(26, 4, QByteArray::fromHex("00023534")); // 235.34
        }
        auto changed = [](QByteArray bytes, qsizetype at, const char* by) { return bytes.replace(at, 1, by); };
        auto rowsOf = [&](std::initializer_list<int> order) {
            QByteArray out;
            for (int n : order)
                out += rows[n - 1];
            return out;
        };
        const QByteArray swapped = records.left(64) + records.mid(96, 32) + records.mid(64, 32) + records.mid(128);
        const DumpFiles pluDumps{{"tempplu.txt", manyPlus}, {"tempplukvb.txt", records}};
        const QStringList pluFiles{"tempplu.txt", "tempplukvb.txt"};
        // clang-format off
        test::addDataRows<DumpRow>({
            {.name = "text dump cut at its end", .files = {{"tempstore.txt", store.left(store.size() - 4)}}, .starts = false, .said = {"tempstore.txt, line 1:", "ends inside the row"}},
            {.name = "empty text dump beside its records", .files = {{"tempplu.txt", ""}, {"tempplukvb.txt", plus}}, .said = {"5 records (160 bytes) of KVB_25, which has no rows", "tempplu.txt is empty", "keeps tempplu.txt and tempplukvb.txt"}, .kept = pluFiles},
            {.name = "missing text dump beside its records", .files = {{"tempdeptkvb.txt", department(4) + department(5)}}, .said = {"2 records (44 bytes) of KVB_20", "tempdept.txt is missing", "keeps tempdeptkvb.txt as"}, .kept = {"tempdeptkvb.txt"}},
            {.name = "records after the last PLU", .files = {{"tempplu.txt", manyPlus.left(2 * 15)}, {"tempplukvb.txt", plus}}, .said = {"3 records of KVB_25 that go to no row and were not applied: record 3 is of PLU 3, record 4 is of PLU 4, record 5 is of PLU 5."}, .kept = pluFiles},
            {.name = "a record whose length is wrong", .files = {{"tempplu.txt", manyPlus}, {"tempplukvb.txt", manyRecords}}, .said = {"not restored from their scale records: PLU 3 (record 3 (at byte 64) says it is 255 bytes long)."}, .kept = pluFiles, .plus = 11},
            {.name = "a store number changed", .files = pluDumps, .after = {{"tempplu.txt", changed(manyPlus, 2 * 15 + 6, "7")}}, .said = {"tempplu.txt: its bytes are not those it was saved with", "PLU 3 (store 7)"}, .kept = pluFiles, .stays = "PLU 3 (store 7)"},
            {.name = "a section number changed", .files = pluDumps, .after = {{"tempplu.txt", changed(manyPlus, 2 * 15 + 11, "4")}}, .said = {"tempplu.txt: its bytes", "PLU 3 (store 1, section 4)"}, .kept = pluFiles, .stays = "PLU 3 (store 1, section 4)"},
            {.name = "a price digit changed", .files = pluDumps, .after = {{"tempplukvb.txt", changed(records, 2 * 32 + 27, "\x83")}}, .said = {"\ntempplukvb.txt: its bytes are not those it was saved with"}, .kept = pluFiles, .unsaid = {"not restored"}},
            {.name = "a store name changed", .files = pluDumps, .after = {{"tempstore.txt", changed(store, 7, "a")}}, .said = {"\ntempstore.txt: its bytes"}, .kept = {"tempstore.txt"}},
            {.name = "a record dump cut short", .files = pluDumps, .after = {{"tempplukvb.txt", records.left(11 * 32)}}, .said = {"tempplukvb.txt: it holds 352 bytes, not the 384 it was saved with", "not restored from their scale records: PLU 12."}, .kept = pluFiles},
            {.name = "both PLU dumps cut short, no marker", .files = {{"tempplu.txt", rowsOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10})}, {"tempplukvb.txt", records.left(10 * 32)}}, .sealed = false, .said = {"carry no mark", "tempstore.txt, tempplu.txt, tempplukvb.txt"}, .kept = {"tempstore.txt", "tempplu.txt", "tempplukvb.txt"}, .plus = 10},
            {.name = "a bad nibble in a PLU number", .files = {{"tempplu.txt", manyPlus}, {"tempplukvb.txt", changed(records, 3 * 32 + 3, "\x0B")}}, .said = {"not restored from their scale records: PLU 4 (record 4 has no number)."}, .kept = pluFiles, .unsaid = {"PLU 5"}, .plus = 11},
            {.name = "two neighbouring records swapped", .files = {{"tempplu.txt", manyPlus}, {"tempplukvb.txt", swapped}}, .kept = {}, .unsaid = {"not restored", "no row"}, .plus = 12},
            {.name = "a doubled text row", .files = {{"tempplu.txt", rowsOf({1, 2, 3, 4, 5, 5, 6, 7, 8, 9, 10, 11, 12})}, {"tempplukvb.txt", records}}, .said = {"they were left out: PLU 5 of store 1."}, .kept = pluFiles, .unsaid = {"not restored"}, .plus = 12},
            {.name = "a renumbered text row", .files = {{"tempplu.txt", rowsOf({1, 2, 3, 4, 5, 5, 7, 8, 9, 10, 11, 12})}, {"tempplukvb.txt", records}}, .said = {"they were left out: PLU 5 of store 1 (record 6 is of PLU 6)."}, .kept = pluFiles, .unsaid = {"not restored", "no row"}, .plus = 11},
        });
        // clang-format on
    }

    void damagedDumps()
    {
        QFETCH(DumpRow, row);
        const auto& [rowName, files, sealed, after, starts, said, kept, unsaid, plus, stays] = row;
        auto write = [](const DumpFiles& dumps) {
            for (auto it = dumps.constBegin(); it != dumps.constEnd(); ++it)
                if (!writeFile(dumpFolder() + QLatin1Char('/') + it.key(), it.value()))
                    return false;
            return true;
        };
        QVERIFY(write(files));
        if (!files.contains(QStringLiteral("tempstore.txt")))
            QVERIFY(writeFile(dumpFolder() + QStringLiteral("/tempstore.txt"), storeDump("Main")));
        QVERIFY(!sealed || seal(dumpFolder()));
        QVERIFY(write(after));
        if (!starts)
            return checkFailedStart(ui::MsgIcon::Critical, said);
        startRunning();
        QCOMPARE(m_messages->messages.size(), kept.isEmpty() ? 0 : 1);
        const QString text = m_messages->messages.value(0).text;
        for (const QString& s : said)
            QVERIFY2(text.contains(s), qPrintable(text));
        for (const QString& s : unsaid)
            QVERIFY2(!text.contains(s), qPrintable(text));
        if (plus >= 0)
            QCOMPARE(
                gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25 WHERE KVBBinData NOT NULL")).toInt(),
                plus);
        // Each PLU keeps its number, the rows in the order saved (ascending in every row here).
        QCOMPARE(gDBConnection
                     .scalar(QStringLiteral("SELECT count(*) FROM (SELECT PLU_No - lag(PLU_No) OVER (ORDER BY rowid) "
                                            "AS step FROM KVB_25) WHERE step <= 0"))
                     .toInt(),
                 0);
        closeOrderly();
        const auto afterExit = test::snapshot(dumpFolder());
        for (const QString& f : kept)
            QCOMPARE(afterExit.value(f + QStringLiteral(".bak")), after.value(f, files.value(f, storeDump("Main"))));
        QCOMPARE(afterExit.size(), tableDumps().size() + 15 + 1 + kept.size());

        // The set the exit wrote fits together, and what it kept is carried along.
        m_messages->messages.clear();
        startRunning();
        QCOMPARE(m_messages->messages.size(), stays.isEmpty() ? 0 : 1);
        QVERIFY(m_messages->messages.value(0).text.endsWith(stays));
        closeOrderly();
        QCOMPARE(test::snapshot(dumpFolder()), afterExit);
    }

    // A store dump that lost rows after the exit that wrote it: its whole rows are loaded and it is named, no first
    // store replaces the stores in one-store mode, and the next exit keeps it beside the new set as it was.
    void storeDumpNotApplied_data()
    {
        const int one = int(storeDump("A").size());
        // clang-format off
        test::addDataRows<StoreDumpRow>({
            {.name = "emptied", .left = 0, .said = "tempstore.txt holds 0 rows, not the 3 it was saved with"},
            {.name = "cut in row 2", .left = one + 7, .stores = {"A"}, .said = "tempstore.txt ends inside a row: 1 whole rows of 3"},
            {.name = "cut in a line", .left = 2 * one - 3, .stores = {"A"}, .said = "tempstore.txt ends inside a row: 1 whole rows of 3"},
            {.name = "row lost", .left = 2 * one, .stores = {"A", "B"}, .said = "tempstore.txt holds 2 rows, not the 3"},
            {.name = "marker no counts", .left = one + 7, .marker = "complete\r\n", .said = "tempstore.txt, line 6: the file ends inside"},
        });
        // clang-format on
    }

    void storeDumpNotApplied()
    {
        QFETCH(StoreDumpRow, row);
        const auto& [rowName, left, marker, stores, said] = row;
        startRunning();
        for (const char* name : {"A", "B", "C"})
            test::insertRow(test::dumpOf(QStringLiteral("STORE")), {int(name[0] - 'A' + 1), name, 0, 0, 255});
        test::insertRow(test::dumpOf(QStringLiteral("KVB_20")), {97, QStringLiteral("Dept97"), 0, 0, 255, 2, 0});
        test::insertRow(test::dumpOf(QStringLiteral("KVB_23")),
                        {997, QStringLiteral("Group997"), 0, 0, 255, 0, 2, 0, 97});
        closeOrderly();
        const auto saved = test::snapshot(dumpFolder());
        const QByteArray damaged = saved.value(QStringLiteral("tempstore.txt")).left(left);
        QVERIFY(writeFile(dumpFolder() + QStringLiteral("/tempstore.txt"), damaged));
        if (!marker.isEmpty())
            QVERIFY(writeFile(dumpFolder() + QLatin1Char('/') + QLatin1String(DumpSetCompleteMarker), marker));
        // One-store mode: an empty tree would ask for a first store.
        QVERIFY(writeFile(file("ini/setting.cfg"), " 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n\r\n"));
        if (!marker.isEmpty())
            return checkFailedStart(ui::MsgIcon::Critical, {said});
        test::WindowAnswer firstStore(QStringLiteral("frmProperties"), [](QWidget*) {});
        startRunning();
        QCOMPARE(firstStore.count(), 0);
        QCOMPARE(storeNames(), stores);
        QCOMPARE(m_messages->messages.size(), 1);
        for (const QString& s : {said, QStringLiteral("The next exit keeps tempstore.txt as it is now")})
            QVERIFY2(m_messages->messages[0].text.contains(s), qPrintable(m_messages->messages[0].text));
        closeOrderly();
        const auto afterExit = test::snapshot(dumpFolder());
        QCOMPARE(afterExit.value(QStringLiteral("tempstore.txt.bak")), damaged);
        for (const char* kept : {"tempdept.txt", "tempmg.txt", "tempdeptkvb.txt", "tempmgkvb.txt"})
            QCOMPARE(afterExit.value(QLatin1String(kept)), saved.value(QLatin1String(kept)));
    }

    // The swap of the dump sets when the file system refuses a rename or a delete: the operator is never
    // locked out, and what the program does not write in AccessData is carried into every new set.
    void refusedFolderOperations_data()
    {
        // clang-format off
        test::addDataRows<FolderRow>({
            {.name = "nothing refused"},
            {.name = "old set cannot be deleted", .refused = {"Delete AccessData.old"}, .exitSays = "it has been kept as", .movedAside = 1},
            {.name = "old set can neither be deleted nor moved", .refused = {"Delete AccessData.old", "Rename AccessData.old"}, .refusedAtStart = true, .code = 1, .exitSays = "have been saved in", .startMessages = 2, .startSays = "AccessData.old can neither be deleted nor moved aside"},
            {.name = "a note cannot be copied", .refused = {"Copy note.txt"}, .exitSays = "note.txt could not be copied"},
            {.name = "AccessData cannot be renamed", .refused = {"Rename AccessData"}, .code = 1, .exitSays = "The data saved at the last exit are unchanged", .startMessages = 1, .loaded = "Old"},
        });
        // clang-format on
    }

    void refusedFolderOperations()
    {
        QFETCH(FolderRow, row);
        const auto& [rowName, refused, refusedAtStart, code, exitSays, startMessages, startSays, loaded,
                     movedAside] = row;
        startRunning();
        test::insertRow(test::dumpOf(QStringLiteral("STORE")), {1, QStringLiteral("Old"), 0, 0, 255});
        closeOrderly();
        const QMap<QString, QByteArray> operatorFiles{
            {"note.txt", "Price list of May\r\n"}, {"copy/tempstore.txt", storeDump("Copy")}, {".kept", ""}};
        for (auto it = operatorFiles.constBegin(); it != operatorFiles.constEnd(); ++it)
            QVERIFY(writeFile(dumpFolder() + QLatin1Char('/') + it.key(), it.value()));
        auto checkOperatorFiles = [&] {
            const auto now = test::snapshot(dumpFolder());
            for (auto it = operatorFiles.constBegin(); it != operatorFiles.constEnd(); ++it)
                QVERIFY2(now.contains(it.key()) && now.value(it.key()) == it.value(), qPrintable(it.key()));
        };

        startRunning();
        gDBConnection.exec(QStringLiteral("UPDATE STORE SET ST_Name='New'"));
        setFolderOperationCheck([&](FolderOperation operation, const QString& folder) {
            const QString name = QFileInfo(folder).fileName();
            const char* verb = operation == FolderOperation::Delete ? "Delete "
                : operation == FolderOperation::Rename              ? "Rename "
                                                                    : "Copy ";
            return !refused.contains(verb + name);
        });
        clearExitCode();
        test::closeMainWindow();
        QCOMPARE(exitCode(), std::optional<int>(code));
        QCOMPARE(m_messages->messages.size(), exitSays.isEmpty() ? 0 : 1);
        QVERIFY2(m_messages->messages.value(0).text.contains(exitSays), qPrintable(m_messages->messages.value(0).text));
        // Kept where the exit left it, or under a dated name to be offered back (No, here).
        QCOMPARE(QFile::exists(file(WorkingDb))
                     || !QDir(file("Database")).entryList({QStringLiteral("*.kept")}).isEmpty(),
                 code != 0);
        m_messages->yesNo = ui::MsgNo;
        checkOperatorFiles();

        if (!refusedAtStart)
            setFolderOperationCheck(nullptr);
        m_messages->messages.clear();
        startRunning();
        QCOMPARE(m_messages->messages.size(), startMessages);
        QVERIFY2(m_messages->messages.value(startMessages - 1).text.contains(startSays),
                 qPrintable(m_messages->messages.value(startMessages - 1).text));
        QCOMPARE(storeNames(), QStringList{loaded});
        setFolderOperationCheck(nullptr);
        closeOrderly();
        checkOperatorFiles();
        QVERIFY(!QFileInfo::exists(oldDumpFolder()));
        QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("AccessData.old.*")}).size(), movedAside);
    }

    void interruptedSwap_data()
    {
        // clang-format off
        test::addDataRows<SwapRow>({
            {.name = "while the new set was written", .current = "OLD", .fresh = "NEW", .loaded = "OLD"},
            {.name = "after the new set was complete", .current = "OLD", .fresh = "NEW", .freshComplete = true, .loaded = "NEW"},
            {.name = "after the old set was moved", .fresh = "NEW", .freshComplete = true, .old = "OLD", .loaded = "NEW"},
            {.name = "after the new set took its place", .current = "NEW", .old = "OLD", .loaded = "NEW"},
            {.name = "first exit, new set complete", .fresh = "NEW", .freshComplete = true, .loaded = "NEW"},
            {.name = "first exit, new set incomplete", .fresh = "NEW"},
            {.name = "only the old set", .old = "OLD", .loaded = "OLD"},
            {.name = "old set and incomplete new set", .fresh = "NEW", .old = "OLD", .loaded = "OLD"},
            {.name = "after the new set was complete, its run's database left", .current = "OLD", .fresh = "NEW", .freshComplete = true, .loaded = "NEW", .leftBehind = true, .said = "but it had saved the data: those data have been loaded"},
            {.name = "while the new set was written, its run's database left", .current = "OLD", .fresh = "NEW", .loaded = "OLD", .leftBehind = true, .said = "the data saved at the last orderly exit have been loaded"},
        });
        // clang-format on
    }

    void interruptedSwap()
    {
        QFETCH(SwapRow, row);
        const auto& [rowName, current, fresh, freshComplete, old, loaded, leftBehind, said] = row;
        QVERIFY(QDir(dumpFolder()).removeRecursively());
        QVERIFY(!leftBehind || writeFile(file(WorkingDb), "the database of the run"));
        auto makeSet = [](const QString& folder, const QString& name, bool complete) {
            if (name.isEmpty())
                return true;
            QString error;
            return writeFile(folder + QStringLiteral("/tempstore.txt"), storeDump(qPrintable(name)))
                && (!complete || markDumpSetComplete(folder, {}, {}, &error));
        };
        QVERIFY(makeSet(dumpFolder(), current, true));
        QVERIFY(makeSet(newDumpFolder(), fresh, freshComplete));
        QVERIFY(makeSet(oldDumpFolder(), old, true));

        startRunning();
        QCOMPARE(storeNames(), loaded.isEmpty() ? QStringList() : QStringList{loaded});
        QVERIFY(!QFileInfo::exists(newDumpFolder()));
        QVERIFY(!QFileInfo::exists(oldDumpFolder()));
        closeOrderly();
        QVERIFY(QFileInfo(dumpFolder()).isDir());
        QVERIFY(!QFileInfo::exists(newDumpFolder()));
        QVERIFY(!QFileInfo::exists(oldDumpFolder()));
        QCOMPARE(m_messages->messages.size(), said.isEmpty() ? 0 : 1);
        QVERIFY2(m_messages->messages.value(0).text.contains(said), qPrintable(m_messages->messages.value(0).text));
    }

    void languageGroupFromSettings_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("loadText");
        QTest::newRow("Standard") << 0 << "Loading language texts ...";
        QTest::newRow("Chinese") << 1 << QString::fromUtf8("正在加载语言文字……");
        QTest::newRow("Other") << 2 << "Translated loading text";
        QTest::newRow("outside the groups") << 3 << "loadSHOW2";
    }

    void languageGroupFromSettings()
    {
        QFETCH(int, index);
        QFETCH(QString, loadText);
        // Tell the Other block from the Standard block.
        QStringList lines;
        QVERIFY(text::readLines(file("ini/language.ini"), text::Encoding::Gb18030, &lines));
        const qsizetype other = lines.indexOf(QStringLiteral("<Other>"));
        QVERIFY(other > 0);
        for (qsizetype i = other; i < lines.size(); ++i)
            if (lines[i].startsWith(QLatin1String("loadSHOW2=")))
                lines[i] = QStringLiteral("loadSHOW2=Translated loading text");
        QVERIFY(text::writeLines(file("ini/language.ini"), lines, text::Encoding::Gb18030));
        QVERIFY(writeFile(file("ini/setting.cfg"),
                          " " + QByteArray::number(index)
                              + " \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nRoot\r\n"));
        startRunning();
        QCOMPARE(gLangOther.text(QStringLiteral("loadSHOW2")), loadText);
        closeOrderly();
    }
};

QTEST_MAIN(TestStartUp)
#include "tst_StartUp.moc"
