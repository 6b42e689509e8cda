#include "presetkeys/PresetKeyLayout.h"

#include "platform/db/Connection.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"
#include "state/TwoLevelReader.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace quorvane::presetkeys {

namespace {

constexpr double TwipsPerCm = 567;
constexpr double LargestSheetCm = 100;
constexpr int MostCells = 32767;

const QString kGroup = QStringLiteral("PresetKey");
// A section text always ends in CR LF or is empty, so this default tells a missing section apart.
const QString kMissing = QStringLiteral("\n");

// Reads one section itself rather than through a collection, which would drop a repeated key silently
// and so shift every later layout by one line.
class LayoutFile {
public:
    LayoutFile(const QString& file, int index) : m_file(file), m_index(index) { }

    QString value(const QString& section) const
    {
        const QString text = ReadGroupSection(m_file, kGroup, section, kMissing);
        if (text == kMissing)
            fail(HasGroup(m_file, kGroup)
                     ? QStringLiteral("It has no section [%1] in the group <%2>.").arg(section, kGroup)
                     : QStringLiteral("It has no group <%1>.").arg(kGroup));
        QSet<QString> keys;
        QStringList values;
        for (const QString& line : text::splitLines(text)) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq < 0)
                continue;
            const QString key = text::trimBlanks(QStringView(line).left(eq)).toString();
            if (key.isEmpty())
                fail(QStringLiteral("Section [%1] has a line without a key: \"%2\".").arg(section, line));
            if (keys.contains(key.toLower()))
                fail(QStringLiteral("Section [%1] has the key \"%2\" twice.").arg(section, key));
            keys.insert(key.toLower());
            values << text::trimBlanks(QStringView(line).mid(eq + 1)).toString();
        }
        if (m_index < 0 || m_index >= values.size())
            fail(QStringLiteral("Section [%1] has no line for layout %2.").arg(section).arg(m_index));
        return values.at(m_index);
    }

    qint16 whole(const QString& section, int least) const
    {
        static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
        const QString text = value(section);
        bool ok = false;
        const qint16 n = text.contains(digits) ? text.toShort(&ok) : 0;
        if (!ok)
            fail(QStringLiteral("Layout %1 of section [%2]: \"%3\" is no whole number from -32768 to 32767.")
                     .arg(m_index)
                     .arg(section, text));
        if (n < least)
            fail(
                QStringLiteral("Layout %1 of section [%2]: %3 is below %4.").arg(m_index).arg(section).arg(n).arg(least));
        return n;
    }

    [[noreturn]] void fail(const QString& reason) const
    {
        throw PresetKeyFileError(
            gLangMsg.text(QStringLiteral("presetKeyFileErr")) + QLatin1Char('\n') + text::nativePath(m_file), reason);
    }

private:
    QString m_file;
    int m_index;
};

} // namespace

double leadingNumber(QStringView text)
{
    static const QRegularExpression number(
        QStringLiteral("^[ \\t]*([+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)?)"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return 0;
    QString digits = m.captured(1);
    digits.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    return digits.toDouble();
}

PresetKeyLayout readPresetKeyLayout(const QString& file, int index)
{
    const LayoutFile ini(file, index);
    if (!QFileInfo(file).isFile())
        ini.fail(QStringLiteral("The file is missing."));
    PresetKeyLayout layout;
    layout.keyType = ini.value(QStringLiteral("keyType"));
    layout.keyNum = ini.whole(QStringLiteral("keyNum"), 1);
    layout.rows = ini.whole(QStringLiteral("rows"), 0);
    layout.cols = ini.whole(QStringLiteral("cols"), 1);
    const QString spacing = ini.value(QStringLiteral("RowSpacing"));
    layout.cellSize = float(leadingNumber(spacing));
    layout.charNum = ini.whole(QStringLiteral("CharNum"), -32768);
    layout.order = ini.whole(QStringLiteral("Order"), -32768);

    if (int(layout.rows) * layout.cols > MostCells)
        ini.fail(QStringLiteral("Layout %1 has %2 x %3 keys; a sheet holds at most %4.")
                     .arg(index)
                     .arg(layout.rows)
                     .arg(layout.cols)
                     .arg(MostCells));
    if (!(layout.cellSize > 0))
        ini.fail(QStringLiteral("Layout %1 of section [RowSpacing]: \"%2\" is no cell size above 0 cm.")
                     .arg(index)
                     .arg(spacing));
    const double width = sheetWidthCm(layout.cols, layout.cellSize);
    const double height = sheetHeightCm(layout.rows, layout.cellSize);
    if (!(width <= LargestSheetCm && height <= LargestSheetCm))
        ini.fail(QStringLiteral("Layout %1 gives a sheet of %2 x %3 cm; it may be at most %4 cm either way.")
                     .arg(index)
                     .arg(width, 0, 'g', 4)
                     .arg(height, 0, 'g', 4)
                     .arg(LargestSheetCm));
    return layout;
}

QString LoadPresetKeyLayout()
{
    PresetKeyState& s = gPresetKeys();
    const QString address = gStoreTree().gCurScaleIP;
    db::Statement scale = gDBConnection.prepare(
        QStringLiteral("SELECT SC_PSK_Layout, ST_No, SECT_No FROM SCALE WHERE SC_IP = ? ORDER BY rowid LIMIT 1"));
    scale.bind({address});
    if (scale.step()) {
        s.gPSKLayout = qint16(scale.columnInt(0));
        s.gPSKStoreNo = qint32(scale.columnInt(1));
        s.gPSKSectNo = qint32(scale.columnInt(2));
    } else {
        s.gPSKLayout = 0;
    }
    const PresetKeyLayout layout = readPresetKeyLayout(programPath(QLatin1String(paths::PresetKeyFile)), s.gPSKLayout);
    s.gKeyNum = layout.keyNum;
    s.gKeyRows = layout.rows;
    s.gKeyCols = layout.cols;
    s.gKeyCellSize = layout.cellSize;
    s.gKeyCharNum = layout.charNum;
    s.gKeyOrder = layout.order;
    return layout.keyType + QStringLiteral(":  ") + address;
}

double sheetWidthCm(int cols, float cellSize) { return (cols + 2) * double(cellSize) + 2; }

double sheetHeightCm(int rows, float cellSize) { return rows * double(cellSize) + double(cellSize) / 2 + 2; }

QSize sheetSizeTwips(int rows, int cols, float cellSize)
{
    return QSize(int(std::lround(sheetWidthCm(cols, cellSize) * TwipsPerCm)),
                 int(std::lround(sheetHeightCm(rows, cellSize) * TwipsPerCm)));
}

int KeyAtPoint(float x, float y)
{
    const PresetKeyState& s = gPresetKeys();
    const float cell = s.gKeyCellSize;
    // Both limits in single precision, as the sheet's own coordinates are.
    const float right = float(s.gKeyCols) * cell + 1.0f;
    const float bottom = float(s.gKeyRows) * cell + 1.0f;
    if (x <= 1.0f || x >= right || y <= 1.0f || y >= bottom)
        return -1;
    // A point a rounding step inside the far edge must not fall into a row or column beyond the grid.
    const int rowFromTop = std::min(int(std::floor((y - 1.0f) / cell)), s.gKeyRows - 1);
    const int column = std::min(int(std::floor((x - 1.0f) / cell)), s.gKeyCols - 1);
    return (s.gKeyRows - 1 - rowFromTop) * s.gKeyCols + column + 1;
}

bool isLayoutKey(int key) { return key >= 1 && key <= gPresetKeys().gKeyNum; }

} // namespace quorvane::presetkeys
