#pragma once

#include "platform/Error.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvane::records {

// A record that cannot be built or read: the caller keeps what it had.
class CodecError : public Error {
public:
    using Error::Error;
};

// Greatest value a packed-decimal field of `width` bytes holds (two digits a byte).
qint64 packedBcdMax(int width);

// Writes `value` as packed decimal, most significant byte first, into buffer[pos .. pos + width - 1].
// A negative value, more digits than the field holds or a field outside the buffer throws CodecError;
// a record never carries a cut or signed number.
void PackedBcd(QByteArray& buffer, int pos, qint64 value, int width);
QByteArray PackedBcd(qint64 value, int width);

// The value of a packed-decimal field; nothing when it lies outside `data` or a nibble is above 9.
std::optional<quint32> ReadPackedBcd(const QByteArray& data, int pos, int width);

// Puts the n low-order bytes of `src` (n 1 to 4) at dst[pos..], most significant first. Throws outside dst.
void ReverseCopy(QByteArray& dst, int pos, quint32 src, int n);
// The n bytes at src[pos..] (n 1 to 4) as an unsigned big-endian number; nothing outside src.
std::optional<quint32> ReverseRead(const QByteArray& src, int pos, int n);

// Bytes 0-3 the key as packed decimal, bytes 4-5 the total length as plain big-endian binary.
struct KvbRecordHeader {
    static constexpr int Size = 6;
    std::optional<quint32> key; // nothing when bytes 0-3 are not packed decimal
    quint16 length = 0;

    // Nothing when the data holds fewer than six bytes from pos.
    static std::optional<KvbRecordHeader> read(const QByteArray& data, int pos = 0);
};

// Reads a record front to back and never past its end: every read outside the data throws CodecError.
class RecordReader {
public:
    explicit RecordReader(const QByteArray& data, int pos = 0) : m_data(data), m_pos(pos) { }
    int pos() const { return m_pos; }

    quint8 byte();
    quint32 bcd(int width); // also throws for a nibble above 9
    QByteArray bytes(int n);
    QByteArrayView view(int n); // valid while the data is
    void skip(int n);

private:
    void need(int n) const;

    const QByteArray& m_data;
    int m_pos;
};

} // namespace quorvane::records
