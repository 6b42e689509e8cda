#include "records/PluRecord.h"

#include "records/BarFormat.h"
#include "records/CodecState.h"
#include "records/EanData.h"
#include "records/PackedBcd.h"
#include "records/PluFlags.h"
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

// The optional fields in record order (not the order of their bits).
constexpr Field kOptionalOrder[] = {
    Stat2_ItemCode,  Stat2_MGCode,      Stat2_PLUTare,     Stat2_CoupledPLU,   Stat2_TaxNo,      Stat2_Tax2No,
    Stat2_Discount,  Stat2_MemPrice,    Stat2_SPMessageNo, Stat2_IngredientNo, Stat2_DiscScheNo, Stat2_PriScheNo,
    Stat2_Commodity, Stat2_Description, Stat2_MemDisc,     Stat2_PLUCost,      Stat2_RSData,
};
constexpr int kOptionalCount = int(std::size(kOptionalOrder));

void appendOptional(RecordBuffer& out, PluRow& row, Field flag)
{
    switch (flag) {
    case Stat2_ItemCode:
        return appendItemCodeData(out, row);
    case Stat2_MGCode:
        return appendBcd(out, row, PLU_MG, 2);
    case Stat2_PLUTare:
        return appendBcd(out, row, PLU_Tare, 2);
    case Stat2_CoupledPLU:
        return appendBcd(out, row, PLU_CoupledPLUNo, 4);
    case Stat2_TaxNo:
        return appendBcd(out, row, PLU_TaxNo, 1);
    case Stat2_Tax2No:
        return appendBcd(out, row, PLU_Tax2No, 1);
    case Stat2_Discount: {
        appendBcd(out, row, PLU_Disc_SDate, 4);
        appendBcd(out, row, PLU_Disc_STime, 2);
        appendBcd(out, row, PLU_Disc_EDate, 4);
        appendBcd(out, row, PLU_Disc_ETime, 2);
        appendBcd(out, row, PLU_Disc_1stLim, 4);
        appendBcd(out, row, PLU_Disc_Within1stL, 4);
        appendBcd(out, row, PLU_Disc_2ndLim, 4);
        appendBcd(out, row, PLU_Disc_Within2ndL, 4);
        const char type = plainByte(row, PLU_Disc_Type), days = plainByte(row, PLU_DisDayOfWeek);
        char* p = out.add(2);
        p[0] = type;
        p[1] = days;
        return;
    }
    case Stat2_MemPrice:
        return appendBcd(out, row, PLU_MemPrice, 4);
    case Stat2_SPMessageNo:
        return appendBcd(out, row, PLU_SPMessageNo, 4);
    case Stat2_IngredientNo:
        return appendBcd(out, row, PLU_IngredientNo, 4);
    case Stat2_DiscScheNo:
        return appendBcd(out, row, PLU_DiscScheNo, 4);
    case Stat2_PriScheNo:
        return appendBcd(out, row, PLU_PriScheNo, 4);
    case Stat2_Commodity:
        return appendTextBlock(out, row, PLU_Commodity);
    case Stat2_Description:
        return appendTextBlock(out, row, PLU_Description);
    case Stat2_MemDisc:
        for (const Field f : {PLU_MemDisc1, PLU_MemDisc2, PLU_MemDisc3, PLU_MemDisc4})
            appendBcd(out, row, f, 4);
        return;
    case Stat2_PLUCost:
        return appendBcd(out, row, PLU_Cost, 4);
    case Stat2_RSData: {
        const char b = plainByte(row, PLU_RSData);
        *out.add(1) = b;
        return;
    }
    default:
        break;
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
    auto refuse = [&](const QString& why) {
        return CodecError(QStringLiteral("PLU %1: %2").arg(row.text(PLU_No), why));
    };

    RecordBuffer out(buffer);
    const qsizetype base = out.size();
    std::fill_n(out.add(kPluFixedSize), kPluFixedSize, '\0'); // written once the parts are known
    qsizetype partAt[kOptionalCount] = {}, partSize[kOptionalCount] = {};
    for (int k = 0; k < kOptionalCount; ++k) {
        const Field flag = kOptionalOrder[k];
        if (row.number(flag) == 0)
            continue;
        const qsizetype at = out.size();
        try {
            appendOptional(out, row, flag);
            partAt[k] = at;
            partSize[k] = out.size() - at;
        } catch (const CodecError& e) {
            out.cut(at);
            if (!leftOut)
                throw refuse(e.message());
            leftOut->append(fieldName(flag) + QStringLiteral(" left out (") + e.message() + QLatin1Char(')'));
            row.setNumber(flag, 0);
        }
    }
    // Too long for the scale: without a list of what to leave out, no record; otherwise the texts go first.
    for (const Field flag : {Stat2_Description, Stat2_Commodity}) {
        const qsizetype total = out.size() - base;
        if (total <= kPluMaxSize)
            break;
        if (!leftOut)
            throw refuse(
                QStringLiteral("the record would be %1 bytes long; at most %2 fit.").arg(total).arg(kPluMaxSize));
        const int k = int(std::find(std::begin(kOptionalOrder), std::end(kOptionalOrder), flag)
                          - std::begin(kOptionalOrder));
        if (partSize[k] == 0)
            continue;
        out.remove(partAt[k], partSize[k]);
        for (int later = k + 1; later < kOptionalCount; ++later)
            partAt[later] -= partSize[k];
        partSize[k] = 0;
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
                throw refuse(e.message());
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
            throw refuse(e.message());
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
            throw refuse(QStringLiteral("PLU_EANFlags: %1 is negative.").arg(flags));
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

        if (present(Stat2_ItemCode)) { // each byte as two uppercase hexadecimal digits, A to F included
            const QByteArrayView bytes = r.view(6);
            char data[12];
            for (int i = 0; i < 6; ++i) {
                data[2 * i] = "0123456789ABCDEF"[quint8(bytes[i]) >> 4];
                data[2 * i + 1] = "0123456789ABCDEF"[quint8(bytes[i]) & 0x0F];
            }
            row.setText(PLU_EANData, QByteArray(data, 12));
        }
        row.setNumber(PLU_MG, present(Stat2_MGCode) ? r.bcd(2) : 997);
        if (present(Stat2_ItemCode))
            deriveEanItemCode(row);
        auto number = [&](Field flag, Field f, int width) {
            if (present(flag))
                row.setNumber(f, r.bcd(width));
        };
        number(Stat2_PLUTare, PLU_Tare, 2);
        number(Stat2_CoupledPLU, PLU_CoupledPLUNo, 4);
        number(Stat2_TaxNo, PLU_TaxNo, 1);
        number(Stat2_Tax2No, PLU_Tax2No, 1);
        if (present(Stat2_Discount)) {
            row.setNumber(PLU_Disc_SDate, r.bcd(4));
            row.setNumber(PLU_Disc_STime, r.bcd(2));
            row.setNumber(PLU_Disc_EDate, r.bcd(4));
            row.setNumber(PLU_Disc_ETime, r.bcd(2));
            row.setNumber(PLU_Disc_1stLim, r.bcd(4));
            row.setNumber(PLU_Disc_Within1stL, r.bcd(4));
            row.setNumber(PLU_Disc_2ndLim, r.bcd(4));
            row.setNumber(PLU_Disc_Within2ndL, r.bcd(4));
            row.setNumber(PLU_Disc_Type, qMin<int>(r.byte(), 6));
            row.setNumber(PLU_DisDayOfWeek, r.byte());
        }
        number(Stat2_MemPrice, PLU_MemPrice, 4);
        number(Stat2_SPMessageNo, PLU_SPMessageNo, 4);
        number(Stat2_IngredientNo, PLU_IngredientNo, 4);
        number(Stat2_DiscScheNo, PLU_DiscScheNo, 4);
        number(Stat2_PriScheNo, PLU_PriScheNo, 4);
        auto block = [&](Field flag, Field f) {
            if (present(flag))
                row.setBytes(f, r.bytes(textBlockLength(rec, r.pos())));
        };
        block(Stat2_Commodity, PLU_Commodity);
        row.setText(PLU_CommodityFirst, QByteArrayLiteral(" "));
        block(Stat2_Description, PLU_Description);
        number(Stat2_MemDisc, PLU_MemDisc1, 4);
        number(Stat2_MemDisc, PLU_MemDisc2, 4);
        number(Stat2_MemDisc, PLU_MemDisc3, 4);
        number(Stat2_MemDisc, PLU_MemDisc4, 4);
        number(Stat2_PLUCost, PLU_Cost, 4);
        if (present(Stat2_RSData))
            row.setNumber(PLU_RSData, qMin<int>(r.byte(), 3));

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
