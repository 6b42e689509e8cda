#include "records/PackedBcd.h"

namespace quorvane::records {

qint64 packedBcdMax(int width)
{
    qint64 m = 1;
    for (int i = 0; i < 2 * width; ++i)
        m *= 10;
    return m - 1;
}

void PackedBcd(QByteArray& buffer, int pos, qint64 value, int width)
{
    if (width < 1 || width > 4 || pos < 0 || pos + width > buffer.size())
        throw CodecError(QStringLiteral("A %1-byte field at %2 lies outside the record.").arg(width).arg(pos));
    if (value < 0)
        throw CodecError(QStringLiteral("%1 is negative.").arg(value));
    if (value > packedBcdMax(width))
        throw CodecError(QStringLiteral("%1 has more than %2 digits.").arg(value).arg(2 * width));
    for (int i = width - 1; i >= 0; --i) {
        const int lo = int(value % 10);
        value /= 10;
        const int hi = int(value % 10);
        value /= 10;
        buffer[pos + i] = char((hi << 4) | lo);
    }
}

QByteArray PackedBcd(qint64 value, int width)
{
    QByteArray out(width > 0 ? width : 0, '\0');
    PackedBcd(out, 0, value, width);
    return out;
}

namespace {

// The packed decimal of `width` bytes at p; false for a nibble above 9.
bool packedValue(const char* p, int width, quint32* value)
{
    quint32 v = 0;
    for (int i = 0; i < width; ++i) {
        const auto b = quint8(p[i]);
        const int hi = b >> 4, lo = b & 0x0F;
        if (hi > 9 || lo > 9)
            return false;
        v = v * 100 + quint32(hi * 10 + lo);
    }
    *value = v;
    return true;
}

} // namespace

std::optional<quint32> ReadPackedBcd(const QByteArray& data, int pos, int width)
{
    quint32 v = 0;
    if (width < 1 || width > 4 || pos < 0 || pos + width > data.size()
        || !packedValue(data.constData() + pos, width, &v))
        return std::nullopt;
    return v;
}

void ReverseCopy(QByteArray& dst, int pos, quint32 src, int n)
{
    if (n < 1 || n > 4 || pos < 0 || pos + n > dst.size())
        throw CodecError(QStringLiteral("%1 bytes at %2 lie outside the record.").arg(n).arg(pos));
    for (int i = 0; i < n; ++i)
        dst[pos + i] = char((src >> (8 * (n - 1 - i))) & 0xFF);
}

std::optional<quint32> ReverseRead(const QByteArray& src, int pos, int n)
{
    if (n < 1 || n > 4 || pos < 0 || pos + n > src.size())
        return std::nullopt;
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | quint8(src[pos + i]);
    return v;
}

std::optional<KvbRecordHeader> KvbRecordHeader::read(const QByteArray& data, int pos)
{
    if (pos < 0 || pos + Size > data.size())
        return std::nullopt;
    KvbRecordHeader h;
    h.key = ReadPackedBcd(data, pos, 4);
    h.length = quint16(*ReverseRead(data, pos + 4, 2));
    return h;
}

void RecordReader::need(int n) const
{
    if (n < 0 || m_pos + n > m_data.size())
        throw CodecError(QStringLiteral("The record ends at byte %1; %2 more bytes were expected at byte %3.")
                             .arg(m_data.size())
                             .arg(n)
                             .arg(m_pos));
}

quint8 RecordReader::byte()
{
    need(1);
    return quint8(m_data[m_pos++]);
}

quint32 RecordReader::bcd(int width)
{
    need(width);
    quint32 v = 0;
    if (width < 1 || width > 4 || !packedValue(m_data.constData() + m_pos, width, &v))
        throw CodecError(QStringLiteral("The %1 bytes at byte %2 are not packed decimal.").arg(width).arg(m_pos));
    m_pos += width;
    return v;
}

QByteArray RecordReader::bytes(int n) { return view(n).toByteArray(); }

QByteArrayView RecordReader::view(int n)
{
    need(n);
    const QByteArrayView out = QByteArrayView(m_data).sliced(m_pos, n);
    m_pos += n;
    return out;
}

void RecordReader::skip(int n) { view(n); }

} // namespace quorvane::records
