#include "datafiles/PluDataFile.h"

#include "datafiles/DataFileWriters.h"
#include "records/BarFormat.h"
#include "records/EanData.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"

namespace quorvane::datafiles {

using namespace records::plu;

namespace {

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

} // namespace

QByteArray PluDataLine(const records::PluRow& row, const InheritedBarFormat& inherited)
{
    QByteArray line;
    line.reserve(160);
    const auto plain = [&](Field f) {
        appendNumber(line, row.number(f));
        line += ',';
    };
    const auto optional = [&](Field f, Field flag) {
        appendNumber(line, row.number(flag) != 0 ? row.number(f) : 0);
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

    optional(PLU_MG, Stat2_MGCode);
    optional(PLU_Tare, Stat2_PLUTare);
    optional(PLU_CoupledPLUNo, Stat2_CoupledPLU);
    optional(PLU_TaxNo, Stat2_TaxNo);
    optional(PLU_Tax2No, Stat2_Tax2No);

    const bool discount = row.number(Stat2_Discount) != 0;
    if (discount) {
        appendSixDigitDate(line, row.number(PLU_Disc_SDate));
        line += ',';
        plain(PLU_Disc_STime);
        appendSixDigitDate(line, row.number(PLU_Disc_EDate));
        line += ',';
        plain(PLU_Disc_ETime);
    } else {
        line += "000000,0000,000000,0000,";
    }
    for (Field f : {PLU_Disc_1stLim, PLU_Disc_Within1stL, PLU_Disc_2ndLim, PLU_Disc_Within2ndL, PLU_Disc_Type})
        optional(f, Stat2_Discount);
    const qint64 days = discount ? row.number(PLU_DisDayOfWeek) : 0;
    for (int bit = 6; bit >= 0; --bit)
        line += (days >> bit & 1) ? "1," : "0,";
    line += ',';

    optional(PLU_SPMessageNo, Stat2_SPMessageNo);
    optional(PLU_IngredientNo, Stat2_IngredientNo);
    optional(PLU_DiscScheNo, Stat2_DiscScheNo);
    optional(PLU_PriScheNo, Stat2_PriScheNo);

    appendText(line, row, PLU_Commodity, Stat2_Commodity);
    line += ',';
    appendText(line, row, PLU_Description, Stat2_Description);
    line += ',';

    plain(Stat1_MemPriceType);
    for (Field f : {PLU_MemDisc1, PLU_MemDisc2, PLU_MemDisc3, PLU_MemDisc4})
        optional(f, Stat2_MemDisc);
    optional(PLU_Cost, Stat2_PLUCost);
    line += "0,0,";
    plain(Stat1_NegativePLU);
    appendNumber(line, row.number(Stat2_RSData) != 0 ? row.number(PLU_RSData) : 0);
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
