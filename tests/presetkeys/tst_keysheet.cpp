#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"

#include "presetkeys/PresetKeyTable.h"
#include "presetkeys/ui/KeySheet.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/ProgramFolder.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"
#include "state/TwoLevelReader.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::presetkeys;

namespace {

const QString kScale = QStringLiteral("192.168.  1. 20");

QColor shadow() { return QGuiApplication::palette().color(QPalette::Active, QPalette::Dark); }

QString cm(double v) { return QString::number(v, 'f', 3); }

// An item as one line; the measured width is left out, since it depends on the fonts installed.
QString described(const SheetItem& i)
{
    const QString colour = i.colour == shadow() ? QStringLiteral("shadow") : i.colour.name();
    const QString corners =
        QStringLiteral("%1 %2 %3 %4").arg(cm(i.from.x()), cm(i.from.y()), cm(i.to.x()), cm(i.to.y()));
    switch (i.kind) {
    case SheetItem::Line:
        return QStringLiteral("line %1 pen %2 %3").arg(corners).arg(i.penWidth).arg(colour);
    case SheetItem::Box:
        return QStringLiteral("box %1 pen %2 %3").arg(corners).arg(i.penWidth).arg(colour);
    case SheetItem::Text:
        break;
    }
    return QStringLiteral("text \"%1\" at %2 %3 %4 %5%6 %7")
        .arg(i.text, cm(i.from.x()), cm(i.from.y()), i.fontName)
        .arg(i.fontSize)
        .arg(i.bold ? QStringLiteral(" bold") : QString(), colour);
}

QStringList described(const QList<SheetItem>& items)
{
    QStringList out;
    for (const SheetItem& i : items)
        out << described(i);
    return out;
}

void useLayout(int rows, int cols, float cellSize, int keyNum = 24)
{
    PresetKeyState& s = gPresetKeys();
    s.gKeyRows = qint16(rows);
    s.gKeyCols = qint16(cols);
    s.gKeyCellSize = cellSize;
    s.gKeyNum = qint16(keyNum);
}

// Width in centimetres of a text in the names' font, measured as the sheet measures: at 96 dpi.
double nameWidth(const QString& text)
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(96 / 0.0254));
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    return QFontMetricsF(SheetCanvas::fontOf(QStringLiteral("Times New Roman"), 8, false), &device)
               .horizontalAdvance(text)
        / 96 * 2.54;
}

// How many "W" fit on one line of a cell of the given size.
int wsPerLine(float cellSize)
{
    int n = 0;
    while (nameWidth(QString(n + 1, QLatin1Char('W'))) < cellSize - 0.1)
        ++n;
    return n;
}

} // namespace

class TestKeySheet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void sheet_data();
    void sheet();
    void names_data();
    void names();
    void clearLayout();

private:
    std::unique_ptr<test::TransferFolder> m_folder;
};

void TestKeySheet::initTestCase()
{
    m_folder = std::make_unique<test::TransferFolder>();
    QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
}

void TestKeySheet::cleanupTestCase() { m_folder.reset(); }

void TestKeySheet::init()
{
    gPresetKeys() = PresetKeyState();
    gStoreTree() = StoreTreeState();
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_41"));
    LoadSectionToCollection(programPath(QLatin1String(paths::ParameterFile)), QStringLiteral("Standard"),
                            QStringLiteral("PresetKey"), gParPresetKey);
    gStoreTree().gCurScaleIP = kScale;
}

void TestKeySheet::sheet_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QString>("golden"); // the whole drawing
    QTest::newRow("standard 4 x 6") << 0 << 4 << 6 << "sheet_standard.txt";
    QTest::newRow("Chinese 4 x 6") << 1 << 4 << 6 << "sheet_chinese.txt";
    QTest::newRow("other language 4 x 6") << 2 << 4 << 6 << "sheet_standard.txt";
    QTest::newRow("no rows") << 0 << 0 << 6 << "sheet_no_rows.txt";
    QTest::newRow("8 columns") << 0 << 4 << 8 << "sheet_8_columns.txt";
}

void TestKeySheet::sheet()
{
    QFETCH(int, language);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QString, golden);
    gSettings().gLanguageIndex = qint16(language);
    const float S = 2;
    useLayout(rows, cols, S);
    SheetCanvas canvas;
    DrawKeySheet(canvas);
    const QList<SheetItem> items = canvas.items();

    const QByteArray expected = test::readFile(QStringLiteral(QUORVANE_TEST_DATA_DIR "/presetkeys/") + golden);
    QCOMPARE(described(items), QString::fromUtf8(expected).split(QLatin1Char('\n'), Qt::SkipEmptyParts));

    // What it leaves for the names, and a second drawing on the cleared picture is the first one again.
    QCOMPARE(canvas.penWidth(), 1);
    QCOMPARE(canvas.font().pointSizeF(), 10.0);
    QCOMPARE(canvas.font().bold(), false);
    QCOMPARE(canvas.foreColor(), QColor(Qt::black));
    canvas.clear();
    QVERIFY(canvas.items().isEmpty());
    DrawKeySheet(canvas);
    QCOMPARE(described(canvas.items()), described(items));
}

void TestKeySheet::names_data()
{
    QTest::addColumn<float>("cellSize");
    QTest::addColumn<QStringList>("pages"); // of key 7: page 1, 2, 3 ("" no row)
    QTest::addColumn<QStringList>("lines"); // "line:text" printed in its cell
    const int m = wsPerLine(2);
    QVERIFY2(m >= 2, "a cell of 2 cm holds at least two letters");
    const QString w(m, QLatin1Char('W'));
    QTest::newRow("one name a page") << 2.0f << QStringList{"Apple", "Pear", "Plum"}
                                     << QStringList{"1:Apple", "2:Pear", "3:Plum"};
    QTest::newRow("page 3 on line 2") << 2.0f << QStringList{"Apple", "", "Pear"} << QStringList{"1:Apple", "2:Pear"};
    QTest::newRow("wrapped at the cell's width")
        << 2.0f << QStringList{w + "W", "Pear", ""} << QStringList{"1:" + w, "2:W", "3:Pear"};
    QTest::newRow("cut after three lines")
        << 2.0f << QStringList{w + w + w + "WW", "Pear", "Plum"} << QStringList{"1:" + w, "2:" + w, "3:" + w};
    // A first character wider than the line leaves the line before it empty.
    const float narrow = float(0.1 + nameWidth(QStringLiteral("W")) / 2);
    QTest::newRow("wide first character") << narrow << QStringList{"W", "", ""} << QStringList{"2:W"};
}

void TestKeySheet::names()
{
    QFETCH(float, cellSize);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, lines);
    useLayout(4, 6, cellSize);
    for (int page = 1; page <= 3; ++page)
        if (!pages[page - 1].isEmpty())
            WritePresetKeyPage(pageNumber(7, page, 24), page, pages[page - 1]);
    // Neither another scale's keys nor another layout's are shown.
    gStoreTree().gCurScaleIP = QStringLiteral(" 10.  0.  0.  5");
    WritePresetKeyPage(2, 1, QStringLiteral("Other"));
    gStoreTree().gCurScaleIP = kScale;
    gPresetKeys().gPSKLayout = 1;
    WritePresetKeyPage(3, 1, QStringLiteral("Other"));
    gPresetKeys().gPSKLayout = 0;

    SheetCanvas canvas;
    canvas.print(QStringLiteral("left over"));
    DrawPresetKeyNames(canvas);
    SheetCanvas empty;
    DrawKeySheet(empty);
    QCOMPARE(described(canvas.items().mid(0, empty.items().size())), described(empty.items()));

    // Key 7 is the left cell of the second row from the bottom: row 2 from the top.
    QStringList expected;
    for (const QString& line : lines) {
        const int k = line.section(QLatin1Char(':'), 0, 0).toInt();
        expected << QStringLiteral("text \"%1\" at 1.100 %2 Times New Roman 8 #000000")
                        .arg(line.section(QLatin1Char(':'), 1), cm(1 + 2 * cellSize + 0.4 * k));
    }
    QCOMPARE(described(canvas.items().mid(empty.items().size())), expected);
}

void TestKeySheet::clearLayout()
{
    useLayout(4, 6, 2);
    WritePresetKeyPage(1, 1, QStringLiteral("One"));
    gPresetKeys().gPSKLayout = 1;
    WritePresetKeyPage(1, 1, QStringLiteral("Kept"));
    SheetCanvas empty;
    DrawKeySheet(empty);

    // A failing delete deletes nothing, shows the sheet with its names again and says so.
    test::FailingWrites refuse(QStringLiteral("BEFORE DELETE ON KVB_41"));
    SheetCanvas canvas;
    QVERIFY_THROWS_EXCEPTION(db::DbError, ClearPresetKeyLayout(canvas));
    QCOMPARE(test::rowCount(QStringLiteral("KVB_41")), 2);
    QCOMPARE(canvas.items().size(), empty.items().size() + 1);
    QCOMPARE(canvas.items().last().text, QStringLiteral("Kept"));

    refuse.drop();
    ClearPresetKeyLayout(canvas);
    QCOMPARE(described(canvas.items()), described(empty.items()));
    QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT group_concat(Name) FROM KVB_41")).toString(),
             QStringLiteral("One"));
}

QTEST_MAIN(TestKeySheet)
#include "tst_keysheet.moc"
