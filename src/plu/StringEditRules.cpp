#include "plu/StringEditRules.h"

#include "platform/Error.h"
#include "platform/text/Ansi.h"
#include "state/PluEditorState.h"
#include "state/StringEditState.h"

#include <array>

namespace quorvane {

namespace {

enum class FontList { G, T, SML };

FontList fontListOf(qint16 country)
{
    switch (country) {
    case 0:
    case 3:
    case 4:
    case 5:
    case 7:
        return FontList::G;
    case 37:
        return FontList::T;
    default:
        return FontList::SML;
    }
}

constexpr std::array<int, 6> GCapacity{32, 16, 48, 24, 48, 32};
// The T list takes the first four of these.
constexpr std::array<int, 15> SMLCapacity{48, 48, 48, 48, 24, 48, 48, 48, 48, 24, 24, 24, 24, 24, 16};

Error unknownMode(int mode) { return Error(QStringLiteral("The text editor has no mode %1.").arg(mode)); }

} // namespace

int stringEditMaxLines(int mode)
{
    switch (mode) {
    case EditDescription:
    case EditName:
        return 1;
    case EditIngredient:
        return 15;
    case EditSpecialMsg:
        return 8;
    case EditAdvert:
    case EditShopName:
        return 4;
    default:
        throw unknownMode(mode);
    }
}

TextBuffer& stringEditBuffer(int mode)
{
    switch (mode) {
    case EditDescription:
        return gPluEditor().gTextBuf1;
    case EditName:
        return gPluEditor().gTextBuf3;
    case EditIngredient:
        return gStringEdit().gIngredientText;
    case EditSpecialMsg:
        return gStringEdit().gSpecialMsgText;
    case EditAdvert:
        return gStringEdit().gAdvertText;
    case EditShopName:
        return gStringEdit().gShopNameText;
    default:
        throw unknownMode(mode);
    }
}

QStringList stringEditFonts(qint16 country)
{
    QStringList names;
    const auto group = [&](QChar letter, int count) {
        for (int i = 1; i <= count; ++i)
            names << letter + QString::number(i);
    };
    switch (fontListOf(country)) {
    case FontList::G:
        group(QLatin1Char('G'), 6);
        break;
    case FontList::T:
        group(QLatin1Char('T'), 4);
        break;
    case FontList::SML:
        group(QLatin1Char('S'), 5);
        group(QLatin1Char('M'), 5);
        group(QLatin1Char('L'), 5);
        break;
    }
    return names;
}

int fontCapacity(qint16 country, int position)
{
    const bool g = fontListOf(country) == FontList::G;
    const int count = g ? int(GCapacity.size()) : fontListOf(country) == FontList::T ? 4 : int(SMLCapacity.size());
    if (position < 0 || position >= count)
        return 0;
    return g ? GCapacity[position] : SMLCapacity[position];
}

int FindFontIndex(qint16 country, int code)
{
    const int count = int(stringEditFonts(country).size());
    return code >= 1 && code <= count ? code - 1 : 1;
}

bool fontRefused(qint16 country, int position, int length)
{
    const int capacity = fontCapacity(country, position);
    return capacity < 48 && length > capacity;
}

int lineLimit(int mode, qint16 country, int code)
{
    return mode == EditName ? 22 : fontCapacity(country, FindFontIndex(country, code));
}

StringEditor::StringEditor(int mode, qint16 country)
    : m_mode(mode)
    , m_country(country)
    , m_maxLines(stringEditMaxLines(mode))
    , m_fonts(stringEditFonts(country))
    , m_atOpening(stringEditBuffer(mode).bytes)
{
    m_lines = records::ParseTextBytes(m_atOpening, m_maxLines);
    if (m_lines.isEmpty()) {
        m_lines.append(records::TextLine{1, {}});
        m_deleteEnabled = false;
    }
    lineAdded();
}

QString StringEditor::lineText(int i) const { return text::fromAnsi(line(i).bytes); }

int StringEditor::fontPosition(int i) const { return FindFontIndex(m_country, line(i).font); }

QString StringEditor::fontName(int i) const { return m_fonts.value(fontPosition(i)); }

int StringEditor::limit(int i) const { return lineLimit(m_mode, m_country, line(i).font); }

void StringEditor::boxHolds(const QString& boxText)
{
    if (!boxText.isEmpty())
        m_deleteEnabled = true;
}

StringEditor::Leave StringEditor::leaveText(int i, const QString& boxText, bool cancelled)
{
    QByteArray bytes = text::toAnsi(boxText);
    for (char& c : bytes)
        if (quint8(c) < 0x20)
            c = 0;
    Leave out{text::fromAnsi(bytes), false};
    if (i < 1 || i > lineCount())
        return out;
    if (!cancelled)
        m_lines[i - 1].bytes = bytes;
    if (m_lines[i - 1].bytes.isEmpty() && lineCount() > 1) {
        lineRemoved(i);
        out.removed = true;
    }
    return out;
}

bool StringEditor::fontFits(int i, int position) const
{
    return !fontRefused(m_country, position, int(line(i).bytes.size()));
}

void StringEditor::setFont(int i, int position) { m_lines[i - 1].font = quint8(position + 1); }

int StringEditor::append(int currentLine)
{
    if (m_lines.last().bytes.isEmpty() || lineCount() >= m_maxLines)
        return currentLine;
    m_lines.append(records::TextLine{1, {}});
    m_deleteEnabled = true;
    lineAdded();
    return lineCount();
}

int StringEditor::insert(int currentLine, int lastOpened)
{
    if (!m_lines.first().bytes.isEmpty() && lineCount() < m_maxLines) {
        m_lines.insert(qBound(0, currentLine - 1, lineCount()), records::TextLine{1, {}});
        lineAdded();
        m_deleteEnabled = true;
    }
    return lastOpened;
}

StringEditor::DeleteStep StringEditor::deleteLine(int currentLine, const QString& boxText)
{
    if (boxText.isEmpty())
        return {currentLine, false};
    if (lineCount() == 1) {
        m_lines.first().bytes.clear();
        m_deleteEnabled = false;
        return {0, true};
    }
    lineRemoved(currentLine);
    return {qMin(currentLine, lineCount()), false};
}

QByteArray StringEditor::block() const
{
    if (m_lines.first().bytes.isEmpty())
        return QByteArray();
    QList<records::TextLine> lines;
    for (const records::TextLine& l : m_lines)
        if (lines.isEmpty() || !l.bytes.isEmpty())
            lines.append(l);
    return records::BuildTextBytes(lines);
}

QString StringEditor::ok(const TextSaveStep& save)
{
    const QByteArray bytes = block();
    const QString firstLine = bytes.isEmpty() ? QString() : lineText(1);
    if (m_mode >= EditIngredient && save)
        save(bytes, firstLine);
    TextBuffer& buffer = stringEditBuffer(m_mode);
    buffer.bytes = bytes;
    buffer.changed = bytes.isEmpty() ? 0 : 1;
    if (m_mode < 10 && bytes != m_atOpening)
        gPluEditor().gPLUChanged = 1;
    return firstLine;
}

void StringEditor::lineAdded()
{
    if (lineCount() >= m_maxLines)
        m_appendEnabled = m_insertEnabled = false;
}

void StringEditor::lineRemoved(int i)
{
    if (i >= 1 && i <= lineCount())
        m_lines.remove(i - 1);
    m_appendEnabled = m_insertEnabled = true;
}

} // namespace quorvane
