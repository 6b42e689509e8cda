#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <array>
#include <bitset>

namespace quorvane::records {

namespace plu {
// The fields of a PLU row (KVB_25, and RC_25 in the same order).
enum Field : int {
    PLU_No,
    ST_No,
    SECT_No,
    PLU_MG,
    PLU_UPrice,
    PLU_Tare,
    PLU_Cost,
    PLU_MemPrice,
    PLU_CoupledPLUNo,
    PLU_TaxNo,
    PLU_Tax2No,
    PLU_SPMessageNo,
    PLU_IngredientNo,
    PLU_DiscScheNo,
    PLU_PriScheNo,
    PLU_RSData,
    PLU_Disc_SDate,
    PLU_Disc_STime,
    PLU_Disc_EDate,
    PLU_Disc_ETime,
    PLU_Disc_1stLim,
    PLU_Disc_Within1stL,
    PLU_Disc_2ndLim,
    PLU_Disc_Within2ndL,
    PLU_Disc_Type,
    PLU_DisDayOfWeek,
    PLU_MemDisc1,
    PLU_MemDisc2,
    PLU_MemDisc3,
    PLU_MemDisc4,
    PLU_BarFormat,
    PLU_EANFlags,
    PLU_EANLastByte,
    PLU_EANItemCode,
    PLU_EANData,
    PLU_Commodity,
    PLU_Description,
    PLU_CommodityFirst,
    Stat1_Unit,
    Stat1_PBPreUnit,
    Stat1_UPriceOV,
    Stat1_PricePriority,
    Stat1_MemPriceType,
    Stat1_NegativePLU,
    Stat1_Byte1,
    Stat1_Byte2,
    Stat1_Byte3,
    Stat1_Byte4,
    Stat2_MGCode,
    Stat2_PLUTare,
    Stat2_ItemCode,
    Stat2_TaxNo,
    Stat2_Tax2No,
    Stat2_Discount,
    Stat2_SPMessageNo,
    Stat2_IngredientNo,
    Stat2_DiscScheNo,
    Stat2_PriScheNo,
    Stat2_CoupledPLU,
    Stat2_Commodity,
    Stat2_Description,
    Stat2_MemPrice,
    Stat2_MemDisc,
    Stat2_PLUCost,
    Stat2_RSData,
    Stat2_Byte1,
    Stat2_Byte2,
    Stat2_Byte3,
    Stat2_Byte4,
    Stat2_Byte5,
    Stat2_Byte6,
    Stat2_Byte7,
    Stat2_Byte8,
    Stat2_Byte9,
    Stat2_Byte10,
    Stat2_Byte11,
    Stat2_Byte12,
    Stat2_Byte13,
    Stat2_Byte14,
    Stat2_Byte15,
    Stat2_Byte16,
    KVBBinData,
    Is_Selected,
    Count
};
const char* name(Field f);
} // namespace plu

// The values of one PLU row, worked on by the codecs away from any recordset; `changed` marks what to write back.
class PluRow {
public:
    const QVariant& value(plu::Field f) const { return m_values[f]; }
    bool isNull(plu::Field f) const { return m_values[f].isNull(); }
    // A Null number reads as 0; a value that is no whole number throws CodecError.
    qint64 number(plu::Field f) const;
    QString text(plu::Field f) const;
    QByteArray bytes(plu::Field f) const;

    void set(plu::Field f, const QVariant& v);
    void load(plu::Field f, QVariant v) { m_values[f] = std::move(v); } // as read, not changed
    bool changed(plu::Field f) const { return m_changed.test(f); }

private:
    std::array<QVariant, plu::Count> m_values;
    std::bitset<plu::Count> m_changed;
};

// Every field of the recordset's current row; a field the table lacks throws DbError.
PluRow readPluRow(const db::Recordset& rs);
// Sets the changed fields on the current row; saving it is the caller's.
void writePluRow(db::Recordset& rs, const PluRow& row);

} // namespace quorvane::records
