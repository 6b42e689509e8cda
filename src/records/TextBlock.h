#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QString>

namespace quorvane::records {

// A text block: per line a font-code byte, a length byte n, n ANSI bytes and a separator, 0x0D after every
// line but the last. Selectors of the PLU text fields:
enum TextSelector : int { SelectDescription = 1, SelectCommodity = 3 };

// The bytes of a block's first line, unconverted; empty for a block under 4 bytes or a first line of
// length 0. A first line running past the block's end throws CodecError.
QByteArray LenBytesToText(const QByteArray& block);

// The length of the block starting at data[start], found as the scale does: line by line up to the
// first separator that is not 0x0D. A length or separator byte outside the data throws CodecError.
int textBlockLength(const QByteArray& data, int start);

// The first line as text; with `limitTo100` a line of more than 101 bytes gives its first 100.
QString textBlockFirstLine(const QByteArray& block, bool limitTo100);

// The first line of PLU_Commodity (selector 3) or PLU_Description (selector 1) of the recordset's
// current row, at most 100 bytes of it when it is longer than 101; empty for another selector or a Null
// field. A block whose first line runs past its end throws CodecError.
QString PLUTextFirstLine(int selector, const db::Recordset& rs);
// The same on the current row of the PLU list, with the whole first line.
QString PLUListTextFirstLine(int selector);

} // namespace quorvane::records
