#include "records/PluRecord.h"

#include "records/BarFormat.h"
#include "records/CodecState.h"
#include "records/EanData.h"
#include "records/PackedBcd.h"
#include "records/PluFlags.h"
#include "records/TextBlock.h"

#include <algorithm>

namespace quorvane::records {

using namespace plu;

namespace {

QString fieldName(Field f) { return QLatin1String(plu::name(f)); }

QByteArray bcd(const PluRow& row, Field f, int width)
{
    try {
        return PackedBcd(row.number(f), width);
    } catch (const CodecError& e) {
        throw CodecError(fieldName(f) + QStringLiteral(": ") + e.message());
    }
}

char plainByte(const PluRow& row, Field f)
{
    const qint64 v = row.number(f);
    if (v < 0 || v > 255)
        throw CodecError(QStringLiteral("%1: %2 does not fit in one byte.").arg(fieldName(f)).arg(v));
    return char(v);
}

QByteArray textBlock(const PluRow& row, Field f)
{
    const QByteArray block = row.bytes(f);
    if (block.isEmpty())
        throw CodecError(fieldName(f) + QStringLiteral(" is empty."));
    // The scale finds the block's end line by line; a block it would read differently is refused.
    if (textBlockLength(block, 0) != block.size())
        throw CodecError(fieldName(f) + QStringLiteral(" is not a well-formed text block."));
    return block;
}

QByteArray itemCodeData(PluRow& row)
{
    composeEanData(row);
    const QString data = row.text(PLU_EANData);
    QByteArray out(6, '\0');
    for (int i = 0; i < 6; ++i)
        out[i] = char((data[2 * i].unicode() - '0') << 4 | (data[2 * i + 1].unicode() - '0'));
    return out;
}

// The optional fields in record order (not the order of their bits).
constexpr Field kOptionalOrder[] = {
    Stat2_ItemCode,  Stat2_MGCode,      Stat2_PLUTare,     Stat2_CoupledPLU,   Stat2_TaxNo,      Stat2_Tax2No,
    Stat2_Discount,  Stat2_MemPrice,    Stat2_SPMessageNo, Stat2_IngredientNo, Stat2_DiscScheNo, Stat2_PriScheNo,
    Stat2_Commodity, Stat2_Description, Stat2_MemDisc,     Stat2_PLUCost,      Stat2_RSData,
};
constexpr int kOptionalCount = int(std::size(kOptionalOrder));

QByteArray encodeOptional(PluRow& row, Field flag)
{
    switch (flag) {
    case Stat2_ItemCode:
        return itemCodeData(row);
    case Stat2_MGCode:
        return bcd(row, PLU_MG, 2);
    case Stat2_PLUTare:
        return bcd(row, PLU_Tare, 2);
    case Stat2_CoupledPLU:
        return bcd(row, PLU_CoupledPLUNo, 4);
    case Stat2_TaxNo:
        return bcd(row, PLU_TaxNo, 1);
    case Stat2_Tax2No:
        return bcd(row, PLU_Tax2No, 1);
    case Stat2_Discount:
        return bcd(row, PLU_Disc_SDate, 4) + bcd(row, PLU_Disc_STime, 2) + bcd(row, PLU_Disc_EDate, 4)
            + bcd(row, PLU_Disc_ETime, 2) + bcd(row, PLU_Disc_1stLim, 4) + bcd(row, PLU_Disc_Within1stL, 4)
            + bcd(row, PLU_Disc_2ndLim, 4) + bcd(row, PLU_Disc_Within2ndL, 4) + plainByte(row, PLU_Disc_Type)
            + plainByte(row, PLU_DisDayOfWeek);
    case Stat2_MemPrice:
        return bcd(row, PLU_MemPrice, 4);
    case Stat2_SPMessageNo:
        return bcd(row, PLU_SPMessageNo, 4);
    case Stat2_IngredientNo:
        return bcd(row, PLU_IngredientNo, 4);
    case Stat2_DiscScheNo:
        return bcd(row, PLU_DiscScheNo, 4);
    case Stat2_PriScheNo:
        return bcd(row, PLU_PriScheNo, 4);
    case Stat2_Commodity:
        return textBlock(row, PLU_Commodity);
    case Stat2_Description:
        return textBlock(row, PLU_Description);
    case Stat2_MemDisc:
        return bcd(row, PLU_MemDisc1, 4) + bcd(row, PLU_MemDisc2, 4) + bcd(row, PLU_MemDisc3, 4)
            + bcd(row, PLU_MemDisc4, 4);
    case Stat2_PLUCost:
        return bcd(row, PLU_Cost, 4);
    case Stat2_RSData:
        return QByteArray(1, plainByte(row, PLU_RSData));
    default:
        break;
    }
    return QByteArray();
}

struct Resolved {
    int barFormat;
    int flags;
};

// A missing level gives format 0 and flags 00.
Resolved resolveForRecord(const PluRow& row)
{
    const BarFormatLevel& level = codecState().encoderMemory.resolve(row.number(ST_No), row.number(PLU_MG));
    // 255 held by the store itself names no format.
    if (level.barFormat % 100 > 28)
        throw CodecError(QStringLiteral("its bar format cannot be resolved: store %1 gives bar format %2.")
                             .arg(row.number(ST_No))
                             .arg(level.barFormat));
    return {level.barFormat % 100, level.flags()};
}

} // namespace

QByteArray encodePluRecord(PluRow& row, bool resolve, QStringList* leftOut)
{
    auto refuse = [&](const QString& why) {
        return CodecError(QStringLiteral("PLU %1: %2").arg(row.text(PLU_No), why));
    };

    QByteArray parts[kOptionalCount];
    int total = kPluFixedSize;
    for (int k = 0; k < kOptionalCount; ++k) {
        const Field flag = kOptionalOrder[k];
        if (row.number(flag) == 0)
            continue;
        try {
            parts[k] = encodeOptional(row, flag);
            total += int(parts[k].size());
        } catch (const CodecError& e) {
            if (!leftOut)
                throw refuse(e.message());
            leftOut->append(fieldName(flag) + QStringLiteral(" left out (") + e.message() + QLatin1Char(')'));
            row.set(flag, qlonglong(0));
        }
    }
    // Too long for the scale: without a list of what to leave out, no record; otherwise the texts go first.
    for (const Field flag : {Stat2_Description, Stat2_Commodity}) {
        if (total <= kPluMaxSize)
            break;
        if (!leftOut)
            throw refuse(
                QStringLiteral("the record would be %1 bytes long; at most %2 fit.").arg(total).arg(kPluMaxSize));
        const int k = int(std::find(std::begin(kOptionalOrder), std::end(kOptionalOrder), flag)
                          - std::begin(kOptionalOrder));
        if (parts[k].isEmpty())
            continue;
        total -= int(parts[k].size());
        parts[k].clear();
        row.set(flag, qlonglong(0));
        leftOut->append(fieldName(flag) + QStringLiteral(" left out (the record would be too long)"));
    }

    packStat1(row);
    packStat2(row);

    QByteArray rec(kPluFixedSize, '\0');
    auto fixed = [&](auto write, Field f) {
        try {
            write();
        } catch (const CodecError& e) {
            if (!leftOut)
                throw refuse(e.message());
            leftOut->append(fieldName(f) + QStringLiteral(" written as 0 (") + e.message() + QLatin1Char(')'));
        }
    };
    fixed([&] { rec.replace(0, 4, bcd(row, PLU_No, 4)); }, PLU_No);
    for (int i = 0; i < 4; ++i)
        rec[6 + i] = plainByte(row, Field(Stat1_Byte1 + i));
    for (int i = 0; i < 16; ++i)
        rec[10 + i] = plainByte(row, Field(Stat2_Byte1 + i));
    fixed([&] { rec.replace(26, 4, bcd(row, PLU_UPrice, 4)); }, PLU_UPrice);

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
            rec[30] = char(barFormat);
        },
        PLU_BarFormat);
    if (flags < 0) {
        if (!leftOut)
            throw refuse(QStringLiteral("PLU_EANFlags: %1 is negative.").arg(flags));
        leftOut->append(QStringLiteral("PLU_EANFlags written as FF (%1 is negative)").arg(flags));
        rec[31] = char(0xFF);
    } else {
        rec[31] = flags >= 100 ? char(0xFF) : PackedBcd(flags, 1)[0];
    }

    rec.reserve(total);
    for (const QByteArray& part : parts)
        rec += part;
    ReverseCopy(rec, 4, quint32(rec.size()), 2);
    return rec;
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
    if (row.isNull(KVBBinData) || row.value(KVBBinData).typeId() != QMetaType::QByteArray) {
        result.reason = QStringLiteral("no record");
        return result;
    }
    const QByteArray rec = row.bytes(KVBBinData);
    const auto header = KvbRecordHeader::read(rec);
    if (!header || header->length != rec.size() || header->length < kPluFixedSize) {
        result.reason = !header
            ? QStringLiteral("the record has %1 bytes").arg(rec.size())
            : QStringLiteral("the record has %1 bytes and says %2").arg(rec.size()).arg(header->length);
        return result;
    }
    try {
        RecordReader r(rec);
        row.set(PLU_No, qlonglong(r.bcd(4)));
        r.bytes(2);
        for (int i = 0; i < 4; ++i)
            row.set(Field(Stat1_Byte1 + i), qlonglong(r.byte()));
        unpackStat1(row);
        for (int i = 0; i < 16; ++i)
            row.set(Field(Stat2_Byte1 + i), qlonglong(r.byte()));
        unpackStat2(row);
        auto present = [&](Field f) { return row.number(f) != 0; };
        row.set(PLU_UPrice, qlonglong(r.bcd(4)));
        const int barFormat = r.byte();
        row.set(PLU_BarFormat, qlonglong(barFormat > 28 && barFormat != 255 ? 0 : barFormat));
        if (quint8(rec[31]) == 0xFF) {
            r.byte();
            row.set(PLU_EANFlags, qlonglong(255));
        } else {
            row.set(PLU_EANFlags, qlonglong(r.bcd(1)));
        }

        if (present(Stat2_ItemCode)) // each byte as two uppercase hexadecimal digits, A to F included
            row.set(PLU_EANData, QString::fromLatin1(r.bytes(6).toHex().toUpper()));
        row.set(PLU_MG, qlonglong(present(Stat2_MGCode) ? r.bcd(2) : 997));
        if (present(Stat2_ItemCode))
            deriveEanItemCode(row);
        auto number = [&](Field flag, Field f, int width) {
            if (present(flag))
                row.set(f, qlonglong(r.bcd(width)));
        };
        number(Stat2_PLUTare, PLU_Tare, 2);
        number(Stat2_CoupledPLU, PLU_CoupledPLUNo, 4);
        number(Stat2_TaxNo, PLU_TaxNo, 1);
        number(Stat2_Tax2No, PLU_Tax2No, 1);
        if (present(Stat2_Discount)) {
            row.set(PLU_Disc_SDate, qlonglong(r.bcd(4)));
            row.set(PLU_Disc_STime, qlonglong(r.bcd(2)));
            row.set(PLU_Disc_EDate, qlonglong(r.bcd(4)));
            row.set(PLU_Disc_ETime, qlonglong(r.bcd(2)));
            row.set(PLU_Disc_1stLim, qlonglong(r.bcd(4)));
            row.set(PLU_Disc_Within1stL, qlonglong(r.bcd(4)));
            row.set(PLU_Disc_2ndLim, qlonglong(r.bcd(4)));
            row.set(PLU_Disc_Within2ndL, qlonglong(r.bcd(4)));
            row.set(PLU_Disc_Type, qlonglong(qMin<int>(r.byte(), 6)));
            row.set(PLU_DisDayOfWeek, qlonglong(r.byte()));
        }
        number(Stat2_MemPrice, PLU_MemPrice, 4);
        number(Stat2_SPMessageNo, PLU_SPMessageNo, 4);
        number(Stat2_IngredientNo, PLU_IngredientNo, 4);
        number(Stat2_DiscScheNo, PLU_DiscScheNo, 4);
        number(Stat2_PriScheNo, PLU_PriScheNo, 4);
        auto block = [&](Field flag, Field f) {
            if (present(flag))
                row.set(f, r.bytes(textBlockLength(rec, r.pos())));
        };
        block(Stat2_Commodity, PLU_Commodity);
        row.set(PLU_CommodityFirst, QStringLiteral(" "));
        block(Stat2_Description, PLU_Description);
        number(Stat2_MemDisc, PLU_MemDisc1, 4);
        number(Stat2_MemDisc, PLU_MemDisc2, 4);
        number(Stat2_MemDisc, PLU_MemDisc3, 4);
        number(Stat2_MemDisc, PLU_MemDisc4, 4);
        number(Stat2_PLUCost, PLU_Cost, 4);
        if (present(Stat2_RSData))
            row.set(PLU_RSData, qlonglong(qMin<int>(r.byte(), 3)));

        const QString first = textBlockFirstLine(row.bytes(PLU_Commodity), true);
        row.set(PLU_CommodityFirst, first.isEmpty() ? QStringLiteral(" ") : first);
        result.outcome = PluDecodeResult::Decoded;
    } catch (const CodecError& e) {
        result.outcome = PluDecodeResult::Failed;
        result.reason = e.message();
    } catch (const db::DbError& e) {
        result.outcome = PluDecodeResult::Failed;
        result.reason = e.message();
    }
    if (result.outcome == PluDecodeResult::Failed)
        row.set(Is_Selected, qlonglong(1));
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
