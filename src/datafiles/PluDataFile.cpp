#include "datafiles/PluDataFile.h"

#include "datafiles/DataFileWriters.h"
#include "records/BarFormat.h"
#include "records/EanData.h"
#include "records/PackedBcd.h"
#include "records/PluLayout.h"
#include "records/PluRecord.h"

namespace quorvane::datafiles {

using namespace records::plu;

namespace {

// The first column after the head of the line (its columns 0 to 8).
constexpr int kFirstPartColumn = 9;

// Font code and quoted first line of a text block; "0" and an empty column when the text is absent.
void appendText(QByteArray& line, const records::PluRow& row, Field block, Field flag)
{
    if (row.number(flag) == 0) {
        line += "0,";
        return;
    }
    const QByteArray bytes = row.bytes(block);
    appendNumber(line, bytes.isEmpty() ? 0 : quint8(bytes[0]));
    line += ",\"";
    // A first line running past the block's end gives the bytes that are there.
    if (bytes.size() >= 4)
        appendTextField(line, QByteArrayView(bytes).sliced(2, qMin<qsizetype>(quint8(bytes[1]), bytes.size() - 2)));
    line += '"';
}

// The columns of one row of the layout table, each followed by ','; how many there are.
int appendPart(QByteArray& line, const records::PluRow& row, const records::PluPart& part)
{
    const bool present = row.number(part.flag) != 0;
    const auto value = [&] { return present ? row.number(part.field) : 0; };
    switch (part.form) {
    case records::PluColumn::Date:
        appendSixDigitDate(line, value());
        break;
    case records::PluColumn::Time:
        if (present)
            appendNumber(line, row.number(part.field));
        else
            line += "0000";
        break;
    case records::PluColumn::Days: {
        const qint64 days = value();
        for (int bit = 6; bit >= 0; --bit)
            line += (days >> bit & 1) ? "1," : "0,";
        return 7;
    }
    case records::PluColumn::Text:
        appendText(line, row, part.field, part.flag);
        line += ',';
        return 2;
    default:
        appendNumber(line, value());
        break;
    }
    line += ',';
    return 1;
}

// The line's own columns between those of the layout table.
void appendOwnColumn(QByteArray& line, const records::PluRow& row, int column)
{
    switch (column) {
    case 30: // empty
        break;
    case 39:
        appendNumber(line, row.number(Stat1_MemPriceType));
        break;
    case 45:
    case 46:
        line += '0';
        break;
    case 47:
        appendNumber(line, row.number(Stat1_NegativePLU));
        break;
    default:
        qFatal("The PLU data file has no column %d of its own", column);
    }
    line += ',';
}

} // namespace

QByteArray PluDataLine(const records::PluRow& row, const InheritedBarFormat& inherited)
{
    QByteArray line;
    line.reserve(160);
    const auto plain = [&](Field f) {
        appendNumber(line, row.number(f));
        line += ',';
    };

    plain(PLU_No);
    line += ',';
    for (Field f : {Stat1_Unit, Stat1_PBPreUnit, Stat1_UPriceOV, Stat1_PricePriority, PLU_UPrice})
        plain(f);

    const bool inherits = row.number(PLU_BarFormat) == 255;
    const QByteArray flags = QByteArray::number(inherits ? inherited.flags : row.number(PLU_EANFlags));
    line += flags.size() == 2 ? flags : flags.size() == 1 ? '0' + flags : QByteArray("00");
    if (row.number(Stat2_ItemCode) == 0)
        line += "00000000000";
    else
        line += row.text(PLU_EANData).left(11).toLatin1();
    line += ',';
    appendNumber(line, inherits ? inherited.barFormat : row.number(PLU_BarFormat));
    line += ',';

    int next = kFirstPartColumn;
    for (const records::PluPart& part : records::kPluParts) {
        if (part.column < next) // in the head, or not in the file
            continue;
        for (; next < part.column; ++next)
            appendOwnColumn(line, row, next);
        next += appendPart(line, row, part);
    }
    line.chop(1); // the last column ends the line
    return line;
}

namespace {

// The fields a line is built from, and those the item-code composer reads and writes: every field of a
// PLU row but the section, the member price and its flag, the name's first line, the packed flag bytes,
// the record and the send mark.
const QList<Field>& lineFields()
{
    static const QList<Field> fields = [] {
        const auto unused = [](Field f) {
            return f == SECT_No || f == PLU_MemPrice || f == Stat2_MemPrice || f == PLU_CommodityFirst
                || (f >= Stat1_Byte1 && f <= Stat1_Byte4) || (f >= Stat2_Byte1 && f <= Stat2_Byte16) || f == KVBBinData
                || f == Is_Selected;
        };
        QList<Field> used;
        for (int f = 0; f < Count; ++f)
            if (!unused(Field(f)))
                used << Field(f);
        return used;
    }();
    return fields;
}

} // namespace

void TransPLUFTPfile()
{
    // Every pass ends with empty memories, also when it fails, as every pass over PLU rows does.
    struct ClearMemories {
        ~ClearMemories() { records::ClearBarFormatMemories(); }
    } clearMemories;
    records::BarFormatMemory memory; // this pass's resolutions, by store and main group

    const QList<Field>& fields = lineFields();
    QStringList names;
    for (Field f : fields)
        names << QLatin1String(name(f));
    writeTableFile("KVB_25", names, [&](MarkedRow& marked, QByteArray& line) {
        records::PluRow row;
        for (int i = 0; i < fields.size(); ++i)
            row.load(fields[i], marked.value(i));
        InheritedBarFormat inherited; // a missing level gives format 0 and flags 00
        if (row.number(PLU_BarFormat) == 255) {
            const records::BarFormatLevel& level = memory.resolve(row.number(ST_No), row.number(PLU_MG));
            inherited = {level.barFormat % 100, level.flags()};
        }
        if (row.number(Stat2_ItemCode) != 0) {
            records::composeEanData(row);
            // Saved only where the composer changed what the row holds.
            for (int i = 0; i < fields.size(); ++i)
                if (row.changed(fields[i]) && row.value(fields[i]) != marked.value(i))
                    marked.setValue(i, row.value(fields[i]));
        }
        line += PluDataLine(row, inherited);
    });
}

} // namespace quorvane::datafiles
