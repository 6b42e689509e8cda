#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quorvane::records {

// A text block: per line a font-code byte, a length byte n, n ANSI bytes and a separator, 0x0D after every
// line but the last. Selectors of the PLU text fields:
enum TextSelector : int { SelectDescription = 1, SelectCommodity = 3 };

// One line of a text block: its font code and its text in the ANSI code page.
struct TextLine {
    quint8 font = 1;
    QByteArray bytes;
    bool operator==(const TextLine&) const = default;
};

// The block of these lines; no bytes for no lines. A line of more than 255 bytes throws CodecError.
QByteArray BuildTextBytes(const QList<TextLine>& lines);

// The lines of a block, at most `maxLines` of them. A text whose first line is empty, or a block under two
// bytes, has no lines. Reading stops at the end of the data: a line running past it keeps the bytes present,
// a block without its closing 0x0C ends there. An empty line after the first is dropped, so a text read here
// and written back never holds one.
QList<TextLine> ParseTextBytes(const QByteArray& block, int maxLines);

// The bytes of a block's first line, unconverted; empty for a block under 4 bytes or a first line of
// length 0. A first line running past the block's end throws CodecError.
QByteArray LenBytesToText(const QByteArray& block);

// The length of the block starting at data[start], found as the scale does: line by line up to the
// first separator that is not 0x0D. A length or separator byte outside the data throws CodecError.
int textBlockLength(QByteArrayView data, int start);

// The first line as text; with `limitTo100` a line of more than 101 bytes gives its first 100.
QString textBlockFirstLine(const QByteArray& block, bool limitTo100);
// The same as UTF-8, as the database holds it.
QByteArray textBlockFirstLineUtf8(QByteArrayView block, bool limitTo100);

// The first line of PLU_Commodity (selector 3) or PLU_Description (selector 1) of the recordset's
// current row, at most 100 bytes of it when it is longer than 101; empty for another selector or a Null
// field. A block whose first line runs past its end throws CodecError.
QString PLUTextFirstLine(int selector, const db::Recordset& rs);
// The same on the current row of the PLU list, with the whole first line.
QString PLUListTextFirstLine(int selector);

} // namespace quorvane::records
