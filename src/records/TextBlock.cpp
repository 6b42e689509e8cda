#include "records/TextBlock.h"

#include "platform/text/Ansi.h"
#include "records/CodecState.h"
#include "records/PackedBcd.h"
#include "state/SharedData.h"

namespace quorvane::records {

namespace {

// The bytes of a block's first line, as LenBytesToText gives them.
QByteArrayView firstLineBytes(QByteArrayView block)
{
    if (block.size() < 4)
        return {};
    const int n = quint8(block[1]);
    if (n == 0)
        return {};
    if (2 + n > block.size())
        throw CodecError(QStringLiteral("The first line of the text (%1 bytes) runs past the end of its %2 bytes.")
                             .arg(n)
                             .arg(block.size()));
    return block.sliced(2, n);
}

} // namespace

QByteArray LenBytesToText(const QByteArray& block) { return firstLineBytes(block).toByteArray(); }

QByteArray BuildTextBytes(const QList<TextLine>& lines)
{
    qsizetype size = 0;
    for (const TextLine& line : lines) {
        if (line.bytes.size() > 255)
            throw CodecError(QStringLiteral("A line of %1 bytes does not fit a text block.").arg(line.bytes.size()));
        size += line.bytes.size() + 3;
    }
    QByteArray block;
    block.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        block.append(char(lines[i].font));
        block.append(char(lines[i].bytes.size()));
        block.append(lines[i].bytes);
        block.append(char(i + 1 < lines.size() ? 0x0D : 0x0C));
    }
    return block;
}

QList<TextLine> ParseTextBytes(const QByteArray& block, int maxLines)
{
    QList<TextLine> lines;
    if (block.size() < 2 || block[1] == 0)
        return lines;
    qsizetype pos = 0;
    while (pos + 1 < block.size() && lines.size() < maxLines) {
        const qsizetype n = qMin<qsizetype>(quint8(block[pos + 1]), block.size() - pos - 2);
        TextLine line{quint8(block[pos]), block.mid(pos + 2, n)};
        if (lines.isEmpty() || !line.bytes.isEmpty())
            lines.append(line);
        const qsizetype separator = pos + 2 + n;
        if (separator >= block.size() || block[separator] == 0x0C)
            break;
        pos = separator + 1;
    }
    return lines;
}

int textBlockLength(QByteArrayView data, int start)
{
    auto at = [&](qint64 i) -> quint8 {
        if (i < 0 || i >= data.size())
            throw CodecError(
                QStringLiteral("A text block starting at byte %1 runs past the end of the record.").arg(start));
        return quint8(data[i]);
    };
    qint64 k = -1;
    for (;;) {
        const qint64 j = k + 2;
        k = j + at(start + j) + 1;
        if (at(start + k) != 0x0D)
            break;
    }
    return int(k + 1);
}

namespace {

// The first line, at most 100 bytes of it when asked and it is longer than 101.
QByteArrayView firstLineOf(QByteArrayView block, bool limitTo100)
{
    const QByteArrayView line = firstLineBytes(block);
    return limitTo100 && line.size() > 101 ? line.first(100) : line;
}

} // namespace

// The conversion of a first line, once per PLU of a reload: ASCII as it is, the rest through the codecs' kept
// converter.
QString textBlockFirstLine(const QByteArray& block, bool limitTo100)
{
    const QByteArrayView line = firstLineOf(block, limitTo100);
    return text::isAscii(line) ? QString::fromLatin1(line) : codecState().firstLines.decode(line.toByteArray());
}

QByteArray textBlockFirstLineUtf8(QByteArrayView block, bool limitTo100)
{
    const QByteArrayView line = firstLineOf(block, limitTo100);
    return text::isAscii(line) ? line.toByteArray() : codecState().firstLines.decode(line.toByteArray()).toUtf8();
}

namespace {

QString firstLine(int selector, const db::Recordset& rs, bool limitTo100)
{
    const char* field = selector == SelectCommodity ? "PLU_Commodity"
        : selector == SelectDescription             ? "PLU_Description"
                                                    : nullptr;
    if (!field)
        return QString();
    return textBlockFirstLine(rs.bytesValue(QLatin1String(field)), limitTo100);
}

} // namespace

QString PLUTextFirstLine(int selector, const db::Recordset& rs) { return firstLine(selector, rs, true); }

QString PLUListTextFirstLine(int selector) { return firstLine(selector, gRsPLU, false); }

} // namespace quorvane::records
