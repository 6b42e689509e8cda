#include "support/CodecTestDb.h"
#include "support/FtpServer.h"
#include "support/PresetKeyFiles.h"
#include "support/TransferFixture.h"
#include "support/WindowAnswer.h"

#include "platform/ui/Twips.h"
#include "platform/ui/WindowOpener.h"
#include "presetkeys/PresetKeyTable.h"
#include "presetkeys/ui/frmPresetKey.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"
#include "transfer/TransferRequest.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::presetkeys;

namespace {

const QString kScale = QStringLiteral("127.  0.  0.  1");
const QString kOtherScale = QStringLiteral(" 10.  0.  0.  5");
const QString kKas = QStringLiteral("KAS0UALL.csv");

QString presetKeyFile() { return programPath(QLatin1String(paths::PresetKeyFile)); }

// A layout file whose layout `index` has these values and whose earlier layouts are 1 x 1 sheets.
QByteArray layoutFile(int index, const QStringList& values)
{
    const QStringList sections{"keyType", "keyNum", "rows", "cols", "RowSpacing", "CharNum", "Order"};
    const QStringList filler{"Small", "1", "1", "1", "1", "0", "0"};
    QByteArray file = "<PresetKey>\r\n";
    for (int s = 0; s < sections.size(); ++s) {
        file += "[" + sections[s].toLatin1() + "]\r\n";
        for (int l = 0; l <= index; ++l)
            file += "L" + QByteArray::number(l) + "=" + (l == index ? values[s] : filler[s]).toLatin1() + "\r\n";
        file += "\r\n";
    }
    return file;
}

QPushButton* button(QWidget* form, const char* name) { return form->findChild<QPushButton*>(name); }

int marked() { return gDBConnection.scalar(QStringLiteral("SELECT total(Is_Selected) FROM KVB_41")).toInt(); }

// "scale|layout|Number" of every key row in stored order.
QString keyRows()
{
    return gDBConnection
        .scalar(QStringLiteral("SELECT group_concat(Scale_IP || '|' || PSK_Layout || '|' || Number, ';') FROM "
                               "(SELECT * FROM KVB_41 ORDER BY rowid)"))
        .toString();
}

// The texts of the recorded sheet, the key numbers left out.
QStringList sheetNames(frmPresetKey& form)
{
    QStringList names;
    for (const SheetItem& i : form.canvas().items())
        if (i.kind == SheetItem::Text && i.fontSize == 8 && !i.bold)
            names << i.text;
    return names;
}

void expectTwips(const char* what, int pixels, int twips)
{
    QVERIFY2(qAbs(pixels - twips / double(ui::kTwipsPerPixel)) <= 1,
             qPrintable(QStringLiteral("%1: %2 pixels for %3 twips").arg(QLatin1String(what)).arg(pixels).arg(twips)));
}

} // namespace

class TestFrmPresetKey : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void sheetGeometry_data();
    void sheetGeometry();
    void missingCaptionShowsItsKey();
    void openedAsToolWindow_data();
    void openedAsToolWindow();
    void doubleClick_data();
    void doubleClick();
    void clearAll_data();
    void clearAll();
    void print_data();
    void print();
    void send_data();
    void send();
    void unmarkableRowsAreNotSent();

private:
    std::unique_ptr<frmPresetKey> open();
    void writeKeys();

    std::unique_ptr<test::TransferFolder> m_folder;
    std::unique_ptr<test::MessageRecorder> m_recorder;
    test::FtpServer m_server;
    QByteArray m_shippedLayouts;
};

void TestFrmPresetKey::initTestCase()
{
    m_folder = std::make_unique<test::TransferFolder>();
    QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
    test::loadTexts();
    m_shippedLayouts = test::readFile(presetKeyFile());
    QVERIFY(!m_shippedLayouts.isEmpty());
    QVERIFY(test::startScale(m_server));
}

void TestFrmPresetKey::cleanupTestCase()
{
    resetProgramState();
    m_folder.reset();
}

void TestFrmPresetKey::init()
{
    gPresetKeys() = PresetKeyState();
    gStoreTree() = StoreTreeState();
    gStoreTree().gCurScaleIP = kScale;
    test::emptyTables({"KVB_41", "SCALE"});
    test::addSheetScale(kScale);
    QVERIFY(m_server.clear());
    m_recorder = std::make_unique<test::MessageRecorder>();
}

void TestFrmPresetKey::cleanup()
{
    m_recorder.reset();
    frmPresetKey::printerDialog = nullptr;
    frmPresetKey::keyEditor = nullptr;
    QVERIFY(test::writeFile(presetKeyFile(), m_shippedLayouts));
}

std::unique_ptr<frmPresetKey> TestFrmPresetKey::open()
{
    auto form = std::make_unique<frmPresetKey>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    return form;
}

// Pages of three keys of the sheet shown, and rows of another layout and another scale.
void TestFrmPresetKey::writeKeys()
{
    gPresetKeys().gKeyNum = 24;
    WritePresetKeyPage(pageNumber(1, 1, 24), 1234, QStringLiteral("Apples"));
    WritePresetKeyPage(pageNumber(7, 2, 24), 2000005, QStringLiteral("Anna"));
    WritePresetKeyPage(pageNumber(24, 3, 24), 5000250, QStringLiteral("Tare"));
    gPresetKeys().gPSKLayout = 1;
    WritePresetKeyPage(1, 99, QStringLiteral("Other layout"));
    gPresetKeys().gPSKLayout = 0;
    gStoreTree().gCurScaleIP = kOtherScale;
    WritePresetKeyPage(1, 98, QStringLiteral("Other scale"));
    gStoreTree().gCurScaleIP = kScale;
}

void TestFrmPresetKey::sheetGeometry_data()
{
    QTest::addColumn<QByteArray>("layouts"); // empty: the shipped file
    QTest::addColumn<int>("layout");
    QTest::addColumn<QSize>("picture"); // twips
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("printable");
    QTest::newRow("shipped 4 x 6 at 2 cm")
        << QByteArray() << 0 << QSize(10206, 6237) << "Standard:  127.  0.  0.  1" << true;
    // 10 columns of 1.5 cm and 2 cm of margin: 17 cm; 3 rows, the strip and the margin: 7.25 cm.
    QTest::newRow("layout 7 cannot print") << layoutFile(7, {"Wide", "24", "3", "8", "1.5", "0", "0"}) << 7
                                           << QSize(9639, 4111) << "Wide:  127.  0.  0.  1" << false;
}

void TestFrmPresetKey::sheetGeometry()
{
    QFETCH(QByteArray, layouts);
    QFETCH(int, layout);
    QFETCH(QSize, picture);
    QFETCH(QString, label);
    QFETCH(bool, printable);
    if (!layouts.isEmpty())
        QVERIFY(test::writeFile(presetKeyFile(), layouts));
    gDBConnection.exec(QStringLiteral("UPDATE SCALE SET SC_PSK_Layout = ?"), {layout});
    auto form = open();
    QVERIFY(m_recorder->messages.isEmpty());
    QCOMPARE(gPresetKeys().gPSKLayout, layout);

    auto* pic = form->findChild<QWidget*>("picPresetKey");
    auto* lbl = form->findChild<QLabel*>("lblScale");
    QCOMPARE(lbl->text(), label);
    QCOMPARE(lbl->font().pointSizeF(), 14.25);
    expectTwips("picture left", pic->x(), 120);
    expectTwips("picture top", pic->y(), 840);
    expectTwips("picture width", pic->width(), picture.width());
    expectTwips("picture height", pic->height(), picture.height());
    expectTwips("label width", lbl->width(), picture.width());
    const int top = 840 + picture.height() + 495; // 7572 for the shipped layout
    int left = 240;
    for (const char* name : {"cmdClearAll", "cmdUpload", "cmdPrint", "cmdAuto", "cmdClose"}) {
        QPushButton* b = button(form.get(), name);
        expectTwips(name, b->x(), left);
        expectTwips(name, b->y(), top);
        QCOMPARE(b->font().pointSizeF(), 9.0);
        left += 1200;
    }
    expectTwips("window width", form->width(), picture.width() + 360);
    expectTwips("window height", form->height(), top + 1485);
    QCOMPARE(button(form.get(), "cmdClearAll")->text(), QStringLiteral("Clear All"));
    QCOMPARE(button(form.get(), "cmdPrint")->isEnabled(), printable);

    // The picture shows the recorded sheet: black grid lines from (1, 1) cm on white.
    const QImage shot = pic->grab().toImage();
    QCOMPARE(shot.size(), pic->size());
    // The first grid lines lie at 1 cm, on one of the two pixels around it.
    const int grid = int(pic->logicalDpiX() / 2.54);
    const auto black = [&shot](int x, int y) { return shot.pixelColor(x, y) == QColor(Qt::black); };
    QVERIFY(black(grid, grid + 20) || black(grid + 1, grid + 20));
    QVERIFY(black(grid + 20, grid) || black(grid + 20, grid + 1));
    QCOMPARE(shot.pixelColor(grid / 2, grid / 2), QColor(Qt::white));
}

void TestFrmPresetKey::missingCaptionShowsItsKey()
{
    const LangCollection shipped = gParPresetKey;
    gParPresetKey.clear();
    for (const QString& key : shipped.keys())
        if (key != QLatin1String("picCRT"))
            gParPresetKey.add(key, shipped.text(key));
    auto form = open();
    const QList<SheetItem> items = form->canvas().items();
    gParPresetKey = shipped;
    SheetCanvas whole;
    DrawKeySheet(whole);
    QCOMPARE(items.size(), whole.items().size());
    QVERIFY(std::any_of(items.begin(), items.end(), [](const SheetItem& i) { return i.text == "picCRT"; }));
    QVERIFY(m_recorder->messages.isEmpty());
}

void TestFrmPresetKey::openedAsToolWindow_data()
{
    QTest::addColumn<QByteArray>("layouts"); // empty: the shipped file; "-": no file at all
    QTest::addColumn<int>("layout");         // the scale's
    QTest::addColumn<QString>("reason");     // of the file's refusal: one message, nothing opens
    const auto with = [](const char* section, const QByteArray& body) {
        return test::presetKeyLayoutFile({{section, body}});
    };
    QTest::newRow("shipped layout") << QByteArray() << 0 << "";
    QTest::newRow("missing file") << QByteArray("-") << 0 << "The file is missing.";
    QTest::newRow("missing group") << test::presetKeyLayoutFile({}, "<Presets>") << 0 << "It has no group <PresetKey>.";
    QTest::newRow("missing section") << with("cols", "-") << 0 << "no section [cols]";
    QTest::newRow("missing layout") << test::presetKeyLayoutFile() << 1 << "no line for layout 1";
    QTest::newRow("empty key") << with("rows", "=4") << 0 << "without a key";
    QTest::newRow("repeated key") << with("keyType", "L0=A\r\nl0=B\r\nL1=C") << 1 << "twice";
    QTest::newRow("no number") << with("keyNum", "L0=twelve") << 0 << "no whole number";
    QTest::newRow("over 16 bits") << with("CharNum", "L0=40000") << 0 << "no whole number";
    QTest::newRow("empty value") << with("Order", "L0=") << 0 << "no whole number";
    QTest::newRow("no keys") << with("keyNum", "L0=0") << 0 << "[keyNum]: 0 is below 1";
    QTest::newRow("negative rows") << with("rows", "L0=-1") << 0 << "[rows]: -1 is below 0";
    QTest::newRow("no columns") << with("cols", "L0=0") << 0 << "Layout 0 of section [cols]: 0 is below 1.";
    QTest::newRow("too many cells") << test::presetKeyLayoutFile(
        {{"rows", "L0=200"}, {"cols", "L0=200"}, {"RowSpacing", "L0=0.01"}})
                                    << 0 << "at most 32767";
    QTest::newRow("no cell size") << with("RowSpacing", "L0=cm") << 0 << "no cell size";
    QTest::newRow("cell size below 0") << with("RowSpacing", "L0=-2") << 0 << "\"-2\" is no cell size above 0 cm";
    QTest::newRow("too wide") << with("cols", "L0=48") << 0 << "102 x 11 cm";
    QTest::newRow("truncated") << test::presetKeyLayoutFile().left(90) << 0 << "no section [RowSpacing]";
}

void TestFrmPresetKey::openedAsToolWindow()
{
    QFETCH(QByteArray, layouts);
    QFETCH(int, layout);
    QFETCH(QString, reason);
    if (layouts == "-")
        QVERIFY(QFile::remove(presetKeyFile()));
    else if (!layouts.isEmpty())
        QVERIFY(test::writeFile(presetKeyFile(), layouts));
    gDBConnection.exec(QStringLiteral("UPDATE SCALE SET SC_PSK_Layout = ?"), {layout});
    // As the main window's menu entry opens it.
    QWidget main;
    ui::windows().setMainWindow(&main);
    main.show();
    auto* form = ui::windows().openTool<frmPresetKey>(QStringLiteral("Edit Preset Keys"));
    if (reason.isEmpty()) {
        QVERIFY(m_recorder->messages.isEmpty());
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Edit Preset Keys"));
        QVERIFY(!main.isVisible());
        button(form, "cmdClose")->click();
    } else {
        QCOMPARE(m_recorder->messages.size(), 1);
        const QString text = m_recorder->messages[0].text;
        QVERIFY2(text.startsWith(QStringLiteral("The preset-key file cannot be used:\n")
                                 + QDir::toNativeSeparators(presetKeyFile()) + '\n'),
                 qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY(!test::findWindow(QStringLiteral("frmPresetKey")));
    }
    QTRY_VERIFY(!ui::windows().tool<frmPresetKey>());
    QVERIFY(main.isVisible());
}

void TestFrmPresetKey::doubleClick_data()
{
    QTest::addColumn<QPointF>("point"); // centimetres on the sheet
    QTest::addColumn<int>("keyNum");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("edited");
    QTest::newRow("top-left key") << QPointF(2, 2) << 24 << 19 << true;
    QTest::newRow("bottom-right key") << QPointF(12.5, 8.5) << 24 << 6 << true;
    QTest::newRow("function-key column") << QPointF(13.5, 2) << 24 << -1 << false;
    QTest::newRow("strip below the grid") << QPointF(5, 9.5) << 24 << -1 << false;
    // A sheet with more cells than keys a page: the cells above keyNum are no keys of the layout.
    QTest::newRow("cell above the keys") << QPointF(10.5, 2) << 20 << 23 << false;
    QTest::newRow("last key of 20") << QPointF(4, 2) << 20 << 20 << true;
}

void TestFrmPresetKey::doubleClick()
{
    QFETCH(QPointF, point);
    QFETCH(int, keyNum);
    QFETCH(int, key);
    QFETCH(bool, edited);
    auto form = open();
    gPresetKeys().gKeyNum = qint16(keyNum);
    QList<int> editorKeys;
    frmPresetKey::keyEditor = [&](frmPresetKey& sheet) {
        QCOMPARE(&sheet, form.get());
        editorKeys << gPresetKeys().gCurKeyNo;
    };
    auto* pic = form->findChild<QWidget*>("picPresetKey");
    const double perCm = pic->logicalDpiX() / 2.54;
    QTest::mouseDClick(pic, Qt::LeftButton, {}, QPoint(qRound(point.x() * perCm), qRound(point.y() * perCm)));
    QCOMPARE(gPresetKeys().gCurKeyNo, key);
    QCOMPARE(editorKeys, edited ? QList<int>{key} : QList<int>{});
}

void TestFrmPresetKey::clearAll_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("cleared") << false;
    QTest::newRow("delete refused") << true;
}

void TestFrmPresetKey::clearAll()
{
    QFETCH(bool, refused);
    writeKeys();
    auto form = open();
    const QStringList names{"Apples", "Anna", "Tare"};
    QCOMPARE(sheetNames(*form), names);
    const QString rows = keyRows();
    const test::FailingWrites refuse(refused ? QStringLiteral("BEFORE DELETE ON KVB_41") : QString());
    button(form.get(), "cmdClearAll")->click();
    if (refused) {
        // Nothing deleted, the sheet shows the names again, and the operator is told.
        QCOMPARE(keyRows(), rows);
        QCOMPARE(sheetNames(*form), names);
        QCOMPARE(m_recorder->messages.size(), 1);
        QVERIFY(m_recorder->messages[0].text.startsWith("The data could not be saved in the database:\n"));
        return;
    }
    QVERIFY(m_recorder->messages.isEmpty());
    QCOMPARE(keyRows(), kScale + "|1|1;" + kOtherScale + "|0|1");
    SheetCanvas empty;
    DrawKeySheet(empty);
    QCOMPARE(form->canvas().items().size(), empty.items().size());
}

void TestFrmPresetKey::print_data()
{
    QTest::addColumn<QString>("answer"); // of the printer dialog
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("message");
    QTest::newRow("printed") << "print" << true << "";
    QTest::newRow("cancelled") << "cancel" << false << "";
    QTest::newRow("printer dialog cancelled") << "dialog" << false << "";
    QTest::newRow("failing printer") << "fail" << false << "The key sheet could not be printed.";
}

void TestFrmPresetKey::print()
{
    QFETCH(QString, answer);
    QFETCH(bool, written);
    QFETCH(QString, message);
    writeKeys();
    auto form = open();
    QPushButton* cmdPrint = button(form.get(), "cmdPrint");
    const QString pdf = m_folder->tempFile(QStringLiteral("sheet.pdf"));
    QFile::remove(pdf);
    bool enabledWhilePrinting = true;
    frmPresetKey::printerDialog = [&](QPrinter& printer, QWidget*) {
        enabledWhilePrinting = cmdPrint->isEnabled();
        // The operator picks A4 on a printer that writes a PDF, or one that cannot write its file.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setOutputFileName(answer == "fail" ? m_folder->tempFile(QStringLiteral("missing/sheet.pdf")) : pdf);
        return answer != "cancel";
    };
    // The printer dialog itself, answered with Cancel.
    int dialogs = 0;
    test::WindowAnswer cancel("CommonDialog1", [&](QWidget* dialog) {
        ++dialogs;
        enabledWhilePrinting = cmdPrint->isEnabled();
        static_cast<QDialog*>(dialog)->reject();
    });
    if (answer == "dialog")
        frmPresetKey::printerDialog = nullptr;
    cmdPrint->click();
    QCOMPARE(dialogs, answer == "dialog" ? 1 : 0);
    QVERIFY(!enabledWhilePrinting);
    QVERIFY(cmdPrint->isEnabled());
    QCOMPARE(m_recorder->messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(m_recorder->messages[0].text, message);
    QCOMPARE(QFile::exists(pdf), written);
    if (!written)
        return;

    // One landscape A4 page (842 x 595 points).
    const QByteArray bytes = test::readFile(pdf);
    QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
    QVERIFY(bytes.contains("/MediaBox [0 0 842.000000 595.000000]"));
}

void TestFrmPresetKey::send_data()
{
    QTest::addColumn<bool>("keys");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QByteArray>("file"); // on the scale; empty: none
    QTest::newRow("sent") << true << true << "Finished" << QByteArray("0,1,,1234,0\r\n1,7,,5,2\r\n2,24,,250,6\r\n");
    QTest::newRow("closed unsent") << true << false << "" << QByteArray();
    QTest::newRow("layout without rows") << false << true << "Sending Error" << QByteArray();
}

void TestFrmPresetKey::send()
{
    QFETCH(bool, keys);
    QFETCH(bool, sent);
    QFETCH(QString, status);
    QFETCH(QByteArray, file);
    if (keys)
        writeKeys();
    auto form = open();
    int markedWhileOpen = -1;
    QStringList request;
    QString shownStatus;
    bool sheetEnabled = true;
    test::WindowAnswer answer("frmFTPDataTrans", [&](QWidget* transfer) {
        sheetEnabled = form->isEnabled(); // no input while the transfer runs
        markedWhileOpen = marked();
        request = test::requestOf(transfer).files;
        request << QString::number(test::requestOf(transfer).mode);
        auto* grid = transfer->findChild<QTableWidget*>("MSFGFTP");
        if (sent) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, 4)).center());
            button(transfer, "cmdCommand")->click();
        }
        shownStatus = grid->item(0, 3) ? grid->item(0, 3)->text() : QString();
        button(transfer, "cmdClose")->click();
    });
    button(form.get(), "cmdUpload")->click();
    QCOMPARE(answer.count(), 1);
    QVERIFY(!sheetEnabled);
    QVERIFY(form->isEnabled());
    QCOMPARE(request, (QStringList{kKas, "0"}));
    QCOMPARE(markedWhileOpen, keys ? 3 : 0);
    QCOMPARE(shownStatus, status);
    QCOMPARE(test::readFile(m_server.filePath(kKas)), file);
    QCOMPARE(QFile::exists(m_server.filePath(kKas)), !file.isEmpty());
    QCOMPARE(marked(), 0);
    QVERIFY(m_recorder->messages.isEmpty());
}

void TestFrmPresetKey::unmarkableRowsAreNotSent()
{
    writeKeys();
    auto form = open();
    const test::FailingWrites refuse(QStringLiteral("BEFORE UPDATE OF Is_Selected ON KVB_41 WHEN NEW.Is_Selected = 1"));
    test::WindowAnswer answer("frmFTPDataTrans", [](QWidget*) {});
    button(form.get(), "cmdUpload")->click();
    QCOMPARE(answer.count(), 0);
    QCOMPARE(marked(), 0);
    QCOMPARE(m_recorder->messages.size(), 1);
    QVERIFY(m_recorder->messages[0].text.startsWith("The data could not be saved in the database:\n"));
    QCOMPARE(sheetNames(*form), (QStringList{"Apples", "Anna", "Tare"}));
}

QTEST_MAIN(TestFrmPresetKey)
#include "tst_frmpresetkey.moc"
