#include "records/PluFlags.h"

namespace quorvane::records {

namespace {

using namespace plu;

struct FlagBit {
    Field flag;
    Field byte;
    int bit;
};

constexpr FlagBit kStat1[] = {
    {Stat1_Unit, Stat1_Byte1, 0},          {Stat1_PBPreUnit, Stat1_Byte1, 1},    {Stat1_UPriceOV, Stat1_Byte1, 2},
    {Stat1_PricePriority, Stat1_Byte1, 3}, {Stat1_MemPriceType, Stat1_Byte1, 4}, {Stat1_NegativePLU, Stat1_Byte1, 7},
};

constexpr FlagBit kStat2[] = {
    {Stat2_MGCode, Stat2_Byte1, 0},       {Stat2_PLUTare, Stat2_Byte1, 1},     {Stat2_ItemCode, Stat2_Byte1, 2},
    {Stat2_TaxNo, Stat2_Byte1, 3},        {Stat2_Discount, Stat2_Byte1, 4},    {Stat2_SPMessageNo, Stat2_Byte1, 5},
    {Stat2_IngredientNo, Stat2_Byte1, 6}, {Stat2_Commodity, Stat2_Byte1, 7},   {Stat2_MemPrice, Stat2_Byte2, 0},
    {Stat2_DiscScheNo, Stat2_Byte2, 1},   {Stat2_PriScheNo, Stat2_Byte2, 2},   {Stat2_CoupledPLU, Stat2_Byte2, 3},
    {Stat2_Tax2No, Stat2_Byte2, 4},       {Stat2_Description, Stat2_Byte2, 5}, {Stat2_MemDisc, Stat2_Byte2, 6},
    {Stat2_PLUCost, Stat2_Byte2, 7},      {Stat2_RSData, Stat2_Byte3, 0},
};

template<size_t N> void pack(PluRow& row, const FlagBit (&bits)[N], Field firstByte, int byteCount)
{
    int acc[16] = {};
    for (const FlagBit& b : bits)
        if (row.number(b.flag) != 0)
            acc[b.byte - firstByte] |= 1 << b.bit;
    for (int i = 0; i < byteCount; ++i)
        row.setNumber(Field(firstByte + i), acc[i]);
}

template<size_t N> void unpack(PluRow& row, const FlagBit (&bits)[N])
{
    for (const FlagBit& b : bits)
        row.setNumber(b.flag, (row.number(b.byte) >> b.bit) & 1);
}

// The recordset forms read and write only the fields they name.
template<typename Op> void onRecordset(db::Recordset& rs, Op op)
{
    PluRow row = readPluRow(rs);
    op(row);
    writePluRow(rs, row);
}

} // namespace

void packStat1(PluRow& row) { pack(row, kStat1, Stat1_Byte1, 4); }
void packStat2(PluRow& row) { pack(row, kStat2, Stat2_Byte1, 16); }
void unpackStat1(PluRow& row) { unpack(row, kStat1); }
void unpackStat2(PluRow& row) { unpack(row, kStat2); }

void PackStat1(db::Recordset& rs) { onRecordset(rs, packStat1); }
void PackStat2(db::Recordset& rs) { onRecordset(rs, packStat2); }
void UnpackStat1(db::Recordset& rs) { onRecordset(rs, unpackStat1); }
void UnpackStat2(db::Recordset& rs) { onRecordset(rs, unpackStat2); }

} // namespace quorvane::records
