#include "records/PluRecord.h"

#include "records/BarFormat.h"
#include "records/CodecState.h"
#include "records/EanData.h"
#include "records/PackedBcd.h"
#include "records/PluFlags.h"
#include "records/PluLayout.h"
#include "records/TextBlock.h"

#include <algorithm>
#include <array>

namespace quorvane::records {

using namespace plu;

namespace {

QString fieldName(Field f) { return QLatin1String(plu::name(f)); }

// The packed-decimal bytes of 0 to 99.
constexpr std::array<char, 100> kBcdPairs = [] {
    std::array<char, 100> pairs{};
    for (int n = 0; n < 100; ++n)
        pairs[n] = char((n / 10) << 4 | n % 10);
    return pairs;
}();
constexpr qint64 kBcdMax[] = {0, 99, 9999, 999999, 99999999};

// Writes the field at p as `width` bytes (1 to 4) of packed decimal; a value that does not fit throws, named.
void putBcd(char* p, const PluRow& row, Field f, int width)
{
    try {
        qint64 value = row.number(f);
        if (value < 0 || value > kBcdMax[width])
            PackedBcd(value, width); // throws, with its reason
        for (int i = width - 1; i >= 0; --i) {
            p[i] = kBcdPairs[value % 100];
            value /= 100;
        }
    } catch (const CodecError& e) {
        throw CodecError(fieldName(f) + QStringLiteral(": ") + e.message());
    }
}

// Builds a record at the end of a buffer: parts are appended, or written at a place already added.
class RecordBuffer {
public:
    explicit RecordBuffer(QByteArray& out) : m_out(out) { }
    qsizetype size() const { return m_out.size(); }
    char* add(qsizetype n)
    {
        const qsizetype at = m_out.size();
        m_out.resize(at + n);
        return m_out.data() + at;
    }
    char* at(qsizetype pos) { return m_out.data() + pos; }
    void cut(qsizetype size) { m_out.truncate(size); }
    void remove(qsizetype pos, qsizetype n) { m_out.remove(pos, n); }
    void append(QByteArrayView bytes) { m_out.append(bytes); }

private:
    QByteArray& m_out;
};

void appendBcd(RecordBuffer& out, const PluRow& row, Field f, int width) { putBcd(out.add(width), row, f, width); }

char plainByte(const PluRow& row, Field f)
{
    const qint64 v = row.number(f);
    if (v < 0 || v > 255)
        throw CodecError(QStringLiteral("%1: %2 does not fit in one byte.").arg(fieldName(f)).arg(v));
    return char(v);
}

void appendTextBlock(RecordBuffer& out, const PluRow& row, Field f)
{
    if (!row.isNull(f) && row.type(f) != PluRow::Type::Bytes)
        row.bytes(f); // throws, with its reason
    const QByteArrayView block = row.view(f);
    if (block.isEmpty())
        throw CodecError(fieldName(f) + QStringLiteral(" is empty."));
    // The scale finds the block's end line by line; a block it would read differently is refused.
    if (textBlockLength(block, 0) != block.size())
        throw CodecError(fieldName(f) + QStringLiteral(" is not a well-formed text block."));
    out.append(block);
}

void appendItemCodeData(RecordBuffer& out, PluRow& row)
{
    composeEanData(row);
    const QByteArrayView data = row.view(PLU_EANData);
    char* p = out.add(6);
    for (int i = 0; i < 6; ++i)
        p[i] = char((data[2 * i] - '0') << 4 | (data[2 * i + 1] - '0'));
}

// One row of the layout table into the record.
template<PluPart P> void appendPart(RecordBuffer& out, PluRow& row)
{
    if constexpr (P.wire == PluWire::Bcd) {
        appendBcd(out, row, P.field, P.width);
    } else if constexpr (P.wire == PluWire::Byte) {
        const char b = plainByte(row, P.field);
        *out.add(1) = b;
    } else if constexpr (P.wire == PluWire::ItemCode) {
        appendItemCodeData(out, row);
    } else {
        appendTextBlock(out, row, P.field);
    }
}

constexpr int kStat2Count = Stat2_RSData - Stat2_MGCode + 1;
constexpr int flagIndex(Field flag) { return flag - Stat2_MGCode; }

CodecError refusal(const PluRow& row, const QString& why)
{
    return CodecError(QStringLiteral("PLU %1: %2").arg(row.text(PLU_No), why));
}

// The optional parts of a record while they are appended: where each flag's part stands, so a text can be taken out
// again.
struct OptionalParts {
    RecordBuffer& out;
    PluRow& row;
    QStringList* leftOut;
    qsizetype at[kStat2Count] = {};
    qsizetype size[kStat2Count] = {};
};

// A row whose flag is set. A part that cannot be encoded throws, or, with a list of what to leave out, goes whole,
// its flag cleared, so that its later rows are not written.
template<int K> void appendFlagged(OptionalParts& parts)
{
    constexpr PluPart part = kPluParts[K];
    constexpr int f = flagIndex(part.flag);
    if constexpr (K == 0 || kPluParts[K - 1].flag != part.flag)
        parts.at[f] = parts.out.size();
    try {
        appendPart<part>(parts.out, parts.row);
        parts.size[f] = parts.out.size() - parts.at[f];
    } catch (const CodecError& e) {
        parts.out.cut(parts.at[f]);
        parts.size[f] = 0;
        if (!parts.leftOut)
            throw refusal(parts.row, e.message());
        parts.leftOut->append(fieldName(part.flag) + QStringLiteral(" left out (") + e.message() + QLatin1Char(')'));
        parts.row.setNumber(part.flag, 0);
    }
}

struct Resolved {
    int barFormat;
    int flags;
};

// A missing level gives format 0 and flags 00.
Resolved resolveForRecord(const PluRow& row)
{
    const BarFormatLevel level = codecState().encoderMemory.resolve(row.number(ST_No), row.number(PLU_MG));
    // 255 held by the store itself names no format.
    if (level.barFormat % 100 > 28)
        throw CodecError(QStringLiteral("its bar format cannot be resolved: store %1 gives bar format %2.")
                             .arg(row.number(ST_No))
                             .arg(level.barFormat));
    return {level.barFormat % 100, level.flags()};
}

// The record of the row, appended to `rec`; see encodePluRecord. A part that cannot be encoded is taken out
// of the buffer again, and a throw leaves it as it was.
void appendPluRecord(QByteArray& buffer, PluRow& row, bool resolve, QStringList* leftOut)
{
    RecordBuffer out(buffer);
    const qsizetype base = out.size();
    std::fill_n(out.add(kPluFixedSize), kPluFixedSize, '\0'); // written once the parts are known
    OptionalParts parts{out, row, leftOut};
    forEachPluPart([&](auto k) {
        if (row.number(kPluParts[k].flag) != 0)
            appendFlagged<k>(parts);
    });
    // Too long for the scale: without a list of what to leave out, no record; otherwise the texts go first.
    for (const Field flag : {Stat2_Description, Stat2_Commodity}) {
        const qsizetype total = out.size() - base;
        if (total <= kPluMaxSize)
            break;
        if (!leftOut)
            throw refusal(
                row, QStringLiteral("the record would be %1 bytes long; at most %2 fit.").arg(total).arg(kPluMaxSize));
        const qsizetype at = parts.at[flagIndex(flag)], size = parts.size[flagIndex(flag)];
        if (size == 0)
            continue;
        out.remove(at, size);
        for (qsizetype& later : parts.at)
            if (later > at)
                later -= size;
        parts.size[flagIndex(flag)] = 0;
        row.setNumber(flag, 0);
        leftOut->append(fieldName(flag) + QStringLiteral(" left out (the record would be too long)"));
    }

    packStat1(row);
    packStat2(row);

    auto fixed = [&](auto write, Field f) {
        try {
            write();
        } catch (const CodecError& e) {
            if (!leftOut)
                throw refusal(row, e.message());
            leftOut->append(fieldName(f) + QStringLiteral(" written as 0 (") + e.message() + QLatin1Char(')'));
        }
    };
    fixed([&] { putBcd(out.at(base), row, PLU_No, 4); }, PLU_No);
    for (int i = 0; i < 4; ++i)
        *out.at(base + 6 + i) = plainByte(row, Field(Stat1_Byte1 + i));
    for (int i = 0; i < 16; ++i)
        *out.at(base + 10 + i) = plainByte(row, Field(Stat2_Byte1 + i));
    fixed([&] { putBcd(out.at(base + 26), row, PLU_UPrice, 4); }, PLU_UPrice);

    qint64 barFormat = row.number(PLU_BarFormat);
    qint64 flags = row.number(PLU_EANFlags);
    if (resolve && barFormat == 255) {
        Resolved r;
        try {
            r = resolveForRecord(row);
        } catch (const CodecError& e) {
            throw refusal(row, e.message());
        }
        barFormat = r.barFormat;
        flags = r.flags;
    }
    fixed(
        [&] {
            if (barFormat < 0 || barFormat > 255)
                throw CodecError(QStringLiteral("PLU_BarFormat: %1 does not fit in one byte.").arg(barFormat));
            *out.at(base + 30) = char(barFormat);
        },
        PLU_BarFormat);
    if (flags < 0) {
        if (!leftOut)
            throw refusal(row, QStringLiteral("PLU_EANFlags: %1 is negative.").arg(flags));
        leftOut->append(QStringLiteral("PLU_EANFlags written as FF (%1 is negative)").arg(flags));
        *out.at(base + 31) = char(0xFF);
    } else {
        *out.at(base + 31) = flags >= 100 ? char(0xFF) : kBcdPairs[flags];
    }
    const qsizetype size = out.size() - base;
    *out.at(base + 4) = char(size >> 8 & 0xFF);
    *out.at(base + 5) = char(size & 0xFF);
}

} // namespace

QByteArray encodePluRecord(PluRow& row, bool resolve, QStringList* leftOut)
{
    QByteArray rec;
    rec.reserve(256);
    appendPluRecord(rec, row, resolve, leftOut);
    return rec;
}

void appendPluRecordTo(QByteArray& records, PluRow& row, bool resolve, QStringList* leftOut)
{
    const qsizetype base = records.size();
    try {
        appendPluRecord(records, row, resolve, leftOut);
    } catch (...) {
        records.truncate(base);
        throw;
    }
}

void EncodePLURecord(db::Recordset& pluRow, bool resolve)
{
    PluRow row = readPluRow(pluRow);
    row.set(KVBBinData, encodePluRecord(row, resolve));
    writePluRow(pluRow, row);
    pluRow.update();
}

void ClearPLURecordResolutionMemory() { codecState().encoderMemory.clear(); }

void ClearBarFormatMemories()
{
    ClearPLURecordResolutionMemory();
    ClearEANDataCache();
}

namespace {

// One row of the layout table from the record.
template<PluPart P> void readPart(RecordReader& r, const QByteArray& rec, PluRow& row)
{
    if constexpr (P.wire == PluWire::Bcd) {
        row.setNumber(P.field, r.bcd(P.width));
    } else if constexpr (P.wire == PluWire::Byte) {
        row.setNumber(P.field, qMin<int>(r.byte(), P.most));
    } else if constexpr (P.wire == PluWire::ItemCode) { // each byte as two uppercase hexadecimal digits, A to F too
        const QByteArrayView bytes = r.view(P.width);
        char data[2 * P.width];
        for (int i = 0; i < P.width; ++i) {
            data[2 * i] = "0123456789ABCDEF"[quint8(bytes[i]) >> 4];
            data[2 * i + 1] = "0123456789ABCDEF"[quint8(bytes[i]) & 0x0F];
        }
        row.setText(P.field, QByteArray(data, sizeof data));
    } else {
        row.setBytes(P.field, r.bytes(textBlockLength(rec, r.pos())));
    }
}

} // namespace

PluDecodeResult decodePluRecord(PluRow& row)
{
    PluDecodeResult result;
    if (row.type(KVBBinData) != PluRow::Type::Bytes) {
        result.reason = QStringLiteral("no record");
        return result;
    }
    const QByteArray rec = row.bytes(KVBBinData); // shared, so it stays while the row's fields are set
    const auto header = KvbRecordHeader::read(rec);
    if (!header || header->length != rec.size() || header->length < kPluFixedSize) {
        result.reason = !header
            ? QStringLiteral("the record has %1 bytes").arg(rec.size())
            : QStringLiteral("the record has %1 bytes and says %2").arg(rec.size()).arg(header->length);
        return result;
    }
    try {
        RecordReader r(rec);
        row.setNumber(PLU_No, r.bcd(4));
        r.skip(2);
        for (int i = 0; i < 4; ++i)
            row.setNumber(Field(Stat1_Byte1 + i), r.byte());
        unpackStat1(row);
        for (int i = 0; i < 16; ++i)
            row.setNumber(Field(Stat2_Byte1 + i), r.byte());
        unpackStat2(row);
        auto present = [&](Field f) { return row.number(f) != 0; };
        row.setNumber(PLU_UPrice, r.bcd(4));
        const int barFormat = r.byte();
        row.setNumber(PLU_BarFormat, barFormat > 28 && barFormat != 255 ? 0 : barFormat);
        if (quint8(rec[31]) == 0xFF) {
            r.byte();
            row.setNumber(PLU_EANFlags, 255);
        } else {
            row.setNumber(PLU_EANFlags, r.bcd(1));
        }

        forEachPluPart([&](auto k) {
            constexpr PluPart part = kPluParts[k];
            if (present(part.flag))
                readPart<part>(r, rec, row);
            // The decoder's own steps, between the parts.
            if constexpr (part.field == PLU_MG) {
                if (!present(Stat2_MGCode))
                    row.setNumber(PLU_MG, 997);
                // Derived once the bar format and, for an inherited one, the main group are known.
                if (present(Stat2_ItemCode))
                    deriveEanItemCode(row);
            } else if constexpr (part.field == PLU_Commodity) {
                row.setText(PLU_CommodityFirst, QByteArrayLiteral(" "));
            }
        });

        if (!row.isNull(PLU_Commodity) && row.type(PLU_Commodity) != PluRow::Type::Bytes)
            row.bytes(PLU_Commodity); // throws, with its reason
        const QByteArray first = textBlockFirstLineUtf8(row.view(PLU_Commodity), true);
        row.setText(PLU_CommodityFirst, first.isEmpty() ? QByteArrayLiteral(" ") : first);
        result.outcome = PluDecodeResult::Decoded;
    } catch (const CodecError& e) {
        result.outcome = PluDecodeResult::Failed;
        result.reason = e.message();
    } catch (const db::DbError& e) {
        result.outcome = PluDecodeResult::Failed;
        result.reason = e.message();
    }
    if (result.outcome == PluDecodeResult::Failed)
        row.setNumber(Is_Selected, 1);
    return result;
}

PluDecodeResult DecodePLURecord(db::Recordset& rs)
{
    PluRow row = readPluRow(rs);
    const PluDecodeResult result = decodePluRecord(row);
    if (result.outcome != PluDecodeResult::NotDecoded) {
        writePluRow(rs, row);
        rs.update();
    }
    return result;
}

} // namespace quorvane::records
