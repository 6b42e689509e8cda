#pragma once

#include "records/TextBlock.h"
#include "state/TextBuffer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane {

// The texts the multi-line text editor edits, by gStringEditMode.
enum StringEditMode : int {
    EditDescription = 1, // PLU_Description in gTextBuf1
    EditName = 3,        // PLU_Commodity in gTextBuf3
    EditIngredient = 13, // gIngredientText
    EditSpecialMsg = 14, // gSpecialMsgText
    EditAdvert = 15,     // gAdvertText
    EditShopName = 16,   // gShopNameText
};

// The most lines of the mode's text: 1 for the PLU texts, 15, 8, 4 and 4 for the four texts. An unknown mode
// throws Error.
int stringEditMaxLines(int mode);
// The buffer holding the mode's text. An unknown mode throws Error.
TextBuffer& stringEditBuffer(int mode);

// The fonts offered in the country: "G1" to "G6" in countries 0, 3, 4, 5 and 7, "T1" to "T4" in country 37,
// "S1" to "S5", "M1" to "M5" and "L1" to "L5" in every other. A font's code is its position plus 1.
QStringList stringEditFonts(qint16 country);
// The most text bytes a line holds in the font at that position of the country's list.
int fontCapacity(qint16 country, int position);
// The first position of the country's list whose code is `code`; 1, the second entry, when none is.
int FindFontIndex(qint16 country, int code);
// Whether the font at that position refuses a line of `length` bytes: a line longer than a font of less than
// 48 bytes holds. The T fonts refuse nothing.
bool fontRefused(qint16 country, int position, int length);
// The byte limit of a line in the font of that code: 22 in mode 3, else the capacity of the font that
// FindFontIndex gives for the code.
int lineLimit(int mode, qint16 country, int code);

// Called at OK in modes 13 to 16 with the new block (none for an empty text) and its first line, before the
// buffer is written; what it throws leaves buffer and flags as they were.
using TextSaveStep = std::function<void(const QByteArray& bytes, const QString& firstLine)>;

// The text editor without its window: the lines of the text, numbered from 1, each with its font code and
// ANSI bytes, and the state of the Append, Insert and Delete buttons. Opened on the mode's buffer; nothing
// is written back but by ok().
class StringEditor {
public:
    StringEditor(int mode, qint16 country);

    int mode() const { return m_mode; }
    int maxLines() const { return m_maxLines; }
    const QStringList& fonts() const { return m_fonts; }
    int lineCount() const { return int(m_lines.size()); }
    const records::TextLine& line(int i) const { return m_lines[i - 1]; }
    // The line's text converted from ANSI.
    QString lineText(int i) const;
    // The list position its font cell shows, and that font's name.
    int fontPosition(int i) const;
    QString fontName(int i) const;
    // The most bytes the line takes while it is typed, by its own font.
    int limit(int i) const;

    bool appendEnabled() const { return m_appendEnabled; }
    bool insertEnabled() const { return m_insertEnabled; }
    bool deleteEnabled() const { return m_deleteEnabled; }

    // A cell was opened, or the edit box's text changed, with the edit box holding `boxText`.
    void boxHolds(const QString& boxText);

    // The edit box left on line i: its text as ANSI bytes, every byte below 0x20 made 0x00, becomes the line's
    // (unless `cancelled`, Esc); an emptied line is removed while there are others. Returns the box's text
    // after it (the bytes converted back) and whether the line was removed.
    struct Leave {
        QString boxText;
        bool removed = false;
    };
    Leave leaveText(int i, const QString& boxText, bool cancelled);

    // Whether the font at that list position takes line i; a refused choice leaves the list where it was.
    bool fontFits(int i, int position) const;
    // The font list left on line i at that position (not after Esc): the line takes its code.
    void setFont(int i, int position);

    // Append, with the grid's current line: a new empty line in the first font when the last line holds text
    // and there is room. Returns the line whose text cell opens.
    int append(int currentLine);
    // Insert, with the grid's current line and the line last opened: an empty line in the first font above the
    // current line when line 1 holds text and there is room. Returns the line whose text cell opens.
    int insert(int currentLine, int lastOpened);
    // Delete, with the grid's current line and the edit box's text. With one line its text is emptied and so
    // must the edit box be (emptyBox); with more the line is removed. Returns the line whose text cell opens,
    // 0 for none.
    struct DeleteStep {
        int openLine = 0;
        bool emptyBox = false;
    };
    DeleteStep deleteLine(int currentLine, const QString& boxText);

    // The text as a block: none when line 1 is empty, else line 1 and every later line holding text.
    QByteArray block() const;
    // OK: in modes 13 to 16 `save` runs first with the block and its first line; then the buffer takes the
    // block and its changed byte (1 for a text, 0 for none) and, in modes 1 and 3, gPLUChanged := 1 when the
    // bytes differ from those at opening. Returns the first line for the caller's display box.
    QString ok(const TextSaveStep& save);

private:
    void lineAdded();
    void lineRemoved(int i);

    int m_mode;
    qint16 m_country;
    int m_maxLines;
    QStringList m_fonts;
    QList<records::TextLine> m_lines;
    QByteArray m_atOpening;
    bool m_appendEnabled = true;
    bool m_insertEnabled = true;
    bool m_deleteEnabled = true;
};

} // namespace quorvane
