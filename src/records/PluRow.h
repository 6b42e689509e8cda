#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <bitset>
#include <optional>

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
// The field of that name, whatever its letter case.
std::optional<Field> fieldNamed(QStringView name);
} // namespace plu

// The values of one PLU row, worked on by the codecs away from any recordset; `changed` marks what to write back.
// Each value is held by the type SQLite gives it, so the codecs read and write numbers without a QVariant and
// a row is copied at the cost of its numbers: texts (as UTF-8) and byte arrays are shared, not copied.
class PluRow {
public:
    enum class Type : quint8 { Null, Integer, Real, Text, Bytes };

    Type type(plu::Field f) const { return m_types[f]; }
    bool isNull(plu::Field f) const { return m_types[f] == Type::Null; }
    // The value as a recordset gives it: a number as qlonglong, a text as QString, bytes as QByteArray.
    QVariant value(plu::Field f) const;
    // A Null number reads as 0; a value that is no whole number throws CodecError.
    qint64 number(plu::Field f) const
    {
        return m_types[f] == Type::Integer ? m_numbers[f] : m_types[f] == Type::Null ? 0 : otherNumber(f);
    }
    QString text(plu::Field f) const;
    // Bytes held as they are; Null gives none, another value throws CodecError.
    QByteArray bytes(plu::Field f) const;
    // The UTF-8 of a text or the bytes held, valid while the field keeps its value; empty for other values.
    QByteArrayView view(plu::Field f) const
    {
        return m_types[f] == Type::Text || m_types[f] == Type::Bytes ? QByteArrayView(m_bytes[m_numbers[f]])
                                                                     : QByteArrayView();
    }

    void set(plu::Field f, const QVariant& v)
    {
        load(f, v);
        m_changed.set(f);
    }
    void setNumber(plu::Field f, qint64 n)
    {
        m_types[f] = Type::Integer;
        m_numbers[f] = n;
        m_changed.set(f);
    }
    void setText(plu::Field f, const QByteArray& utf8)
    {
        hold(f, Type::Text, utf8);
        m_changed.set(f);
    }
    void setBytes(plu::Field f, const QByteArray& bytes)
    {
        hold(f, Type::Bytes, bytes);
        m_changed.set(f);
    }
    void load(plu::Field f, const QVariant& v); // as read, not changed
    // The column of the statement's current row, as read.
    void load(plu::Field f, const db::Statement& st, int column);
    bool changed(plu::Field f) const { return m_changed.test(f); }
    // Binds the value to the statement's parameter (0-based).
    void bind(plu::Field f, db::Statement& st, int index0) const;

private:
    qint64 otherNumber(plu::Field f) const;
    void hold(plu::Field f, Type type, const QByteArray& bytes);

    std::array<qint64, plu::Count> m_numbers{}; // a whole number, a real's bits, or the place in m_bytes
    std::array<Type, plu::Count> m_types{};
    std::bitset<plu::Count> m_changed;
    QList<QByteArray> m_bytes; // of the texts and byte arrays
};

// Every field of the recordset's current row; a field the table lacks throws DbError.
PluRow readPluRow(const db::Recordset& rs);
// Sets the changed fields on the current row; saving it is the caller's.
void writePluRow(db::Recordset& rs, const PluRow& row);

} // namespace quorvane::records
