#pragma once

// TEMPORARY stand-in for the scale record codecs until they are merged: the same names and signatures
// as records/PackedBcd.h, PluRow.h, BarFormat.h, EanData.h and PluRecord.h, just enough to build and
// test against. Deleted when the codecs arrive.

#include "app/SharedData.h"
#include "platform/db/Recordset.h"
#include "settings/TextCollections.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <array>
#include <bitset>
#include <optional>
#include <stdexcept>

namespace quorvane::records {

class CodecError : public std::runtime_error {
public:
    explicit CodecError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

namespace plu {
enum Field : int {
    PLU_No, ST_No, SECT_No, PLU_MG,
    PLU_UPrice, PLU_Tare, PLU_Cost, PLU_MemPrice,
    PLU_CoupledPLUNo, PLU_TaxNo, PLU_Tax2No, PLU_SPMessageNo, PLU_IngredientNo, PLU_DiscScheNo, PLU_PriScheNo,
    PLU_RSData,
    PLU_Disc_SDate, PLU_Disc_STime, PLU_Disc_EDate, PLU_Disc_ETime, PLU_Disc_1stLim, PLU_Disc_Within1stL,
    PLU_Disc_2ndLim, PLU_Disc_Within2ndL, PLU_Disc_Type, PLU_DisDayOfWeek,
    PLU_MemDisc1, PLU_MemDisc2, PLU_MemDisc3, PLU_MemDisc4,
    PLU_BarFormat, PLU_EANFlags, PLU_EANLastByte,
    PLU_EANItemCode, PLU_EANData,
    PLU_Commodity, PLU_Description, PLU_CommodityFirst,
    Stat1_Unit, Stat1_PBPreUnit, Stat1_UPriceOV, Stat1_PricePriority, Stat1_MemPriceType, Stat1_NegativePLU,
    Stat1_Byte1, Stat1_Byte2, Stat1_Byte3, Stat1_Byte4,
    Stat2_MGCode, Stat2_PLUTare, Stat2_ItemCode, Stat2_TaxNo, Stat2_Tax2No, Stat2_Discount, Stat2_SPMessageNo,
    Stat2_IngredientNo, Stat2_DiscScheNo, Stat2_PriScheNo, Stat2_CoupledPLU, Stat2_Commodity, Stat2_Description,
    Stat2_MemPrice, Stat2_MemDisc, Stat2_PLUCost, Stat2_RSData,
    Stat2_Byte1, Stat2_Byte2, Stat2_Byte3, Stat2_Byte4, Stat2_Byte5, Stat2_Byte6, Stat2_Byte7, Stat2_Byte8,
    Stat2_Byte9, Stat2_Byte10, Stat2_Byte11, Stat2_Byte12, Stat2_Byte13, Stat2_Byte14, Stat2_Byte15, Stat2_Byte16,
    KVBBinData, Is_Selected,
    Count
};
inline const char* name(Field f)
{
    static const char* const names[Count] = {
        "PLU_No", "ST_No", "SECT_No", "PLU_MG", "PLU_UPrice", "PLU_Tare", "PLU_Cost", "PLU_MemPrice",
        "PLU_CoupledPLUNo", "PLU_TaxNo", "PLU_Tax2No", "PLU_SPMessageNo", "PLU_IngredientNo", "PLU_DiscScheNo",
        "PLU_PriScheNo", "PLU_RSData", "PLU_Disc_SDate", "PLU_Disc_STime", "PLU_Disc_EDate", "PLU_Disc_ETime",
        "PLU_Disc_1stLim", "PLU_Disc_Within1stL", "PLU_Disc_2ndLim", "PLU_Disc_Within2ndL", "PLU_Disc_Type",
        "PLU_DisDayOfWeek", "PLU_MemDisc1", "PLU_MemDisc2", "PLU_MemDisc3", "PLU_MemDisc4", "PLU_BarFormat",
        "PLU_EANFlags", "PLU_EANLastByte", "PLU_EANItemCode", "PLU_EANData", "PLU_Commodity", "PLU_Description",
        "PLU_CommodityFirst", "Stat1_Unit", "Stat1_PBPreUnit", "Stat1_UPriceOV", "Stat1_PricePriority",
        "Stat1_MemPriceType", "Stat1_NegativePLU", "Stat1_Byte1", "Stat1_Byte2", "Stat1_Byte3", "Stat1_Byte4",
        "Stat2_MGCode", "Stat2_PLUTare", "Stat2_ItemCode", "Stat2_TaxNo", "Stat2_Tax2No", "Stat2_Discount",
        "Stat2_SPMessageNo", "Stat2_IngredientNo", "Stat2_DiscScheNo", "Stat2_PriScheNo", "Stat2_CoupledPLU",
        "Stat2_Commodity", "Stat2_Description", "Stat2_MemPrice", "Stat2_MemDisc", "Stat2_PLUCost", "Stat2_RSData",
        "Stat2_Byte1", "Stat2_Byte2", "Stat2_Byte3", "Stat2_Byte4", "Stat2_Byte5", "Stat2_Byte6", "Stat2_Byte7",
        "Stat2_Byte8", "Stat2_Byte9", "Stat2_Byte10", "Stat2_Byte11", "Stat2_Byte12", "Stat2_Byte13",
        "Stat2_Byte14", "Stat2_Byte15", "Stat2_Byte16", "KVBBinData", "Is_Selected",
    };
    return names[f];
}
} // namespace plu

class PluRow {
public:
    const QVariant& value(plu::Field f) const { return m_values[f]; }
    bool isNull(plu::Field f) const { return m_values[f].isNull(); }
    qint64 number(plu::Field f) const
    {
        const QVariant& v = m_values[f];
        if (v.isNull())
            return 0;
        bool ok = false;
        const qint64 n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok) : v.toLongLong(&ok);
        if (!ok || v.typeId() == QMetaType::QByteArray)
            throw CodecError(QStringLiteral("%1 does not hold a whole number.").arg(QLatin1String(plu::name(f))));
        return n;
    }
    QString text(plu::Field f) const { return m_values[f].isNull() ? QString() : m_values[f].toString(); }
    QByteArray bytes(plu::Field f) const
    {
        if (m_values[f].isNull())
            return QByteArray();
        if (m_values[f].typeId() != QMetaType::QByteArray)
            throw CodecError(QStringLiteral("%1 does not hold bytes.").arg(QLatin1String(plu::name(f))));
        return m_values[f].toByteArray();
    }
    void set(plu::Field f, const QVariant& v)
    {
        m_values[f] = v;
        m_changed.set(f);
    }
    void load(plu::Field f, const QVariant& v) { m_values[f] = v; }
    bool changed(plu::Field f) const { return m_changed.test(f); }
    bool anyChanged() const { return m_changed.any(); }
    void clearChanged() { m_changed.reset(); }

private:
    std::array<QVariant, plu::Count> m_values;
    std::bitset<plu::Count> m_changed;
};

inline PluRow readPluRow(const db::Recordset& rs)
{
    PluRow row;
    for (int f = 0; f < plu::Count; ++f)
        row.load(plu::Field(f), rs.value(QLatin1String(plu::name(plu::Field(f)))));
    return row;
}

inline void writePluRow(db::Recordset& rs, const PluRow& row)
{
    for (int f = 0; f < plu::Count; ++f)
        if (row.changed(plu::Field(f)))
            rs.setValue(QLatin1String(plu::name(plu::Field(f))), row.value(plu::Field(f)));
}

struct BarFormatLevel {
    enum Status { Found, NoMainGroup, NoDepartment, NoStore };
    Status status = NoMainGroup;
    int barFormat = 0;
    int flag1 = 0;
    int flag2 = 0;
    bool found() const { return status == Found; }
    int flags() const { return flag1 * 10 + flag2; }
};

inline BarFormatLevel resolveBarFormatLevel(qint64 store, qint64 mg)
{
    auto read = [](const QString& sql, const QVariantList& p, QVariantList* out) {
        db::Statement st = gDBConnection.prepare(sql);
        st.bind(p);
        if (!st.step())
            return false;
        for (int i = 0; i < st.columnCount(); ++i)
            out->append(st.column(i));
        return true;
    };
    QVariantList r;
    BarFormatLevel none;
    if (!read(QStringLiteral("SELECT barformat, Flag1, Flag2, DP_No FROM KVB_23 WHERE ST_No=? AND MG_No=?"), {store, mg}, &r))
        return none;
    if (r[0].toInt() == 255) {
        const QVariant dp = r[3];
        r.clear();
        none.status = BarFormatLevel::NoDepartment;
        if (!read(QStringLiteral("SELECT barformat, Flag1, Flag2 FROM KVB_20 WHERE ST_No=? AND DP_No=?"), {store, dp}, &r))
            return none;
        if (r[0].toInt() == 255) {
            r.clear();
            none.status = BarFormatLevel::NoStore;
            if (!read(QStringLiteral("SELECT barformat, Flag1, Flag2 FROM STORE WHERE ST_No=?"), {store}, &r))
                return none;
        }
    }
    return {BarFormatLevel::Found, r[0].toInt(), r[1].toInt(), r[2].toInt()};
}

class BarFormatMemory {
public:
    const BarFormatLevel& resolve(qint64 storeNo, qint64 mainGroupNo)
    {
        if (m_valid && m_store == storeNo && m_mainGroup == mainGroupNo)
            return m_level;
        const BarFormatLevel level = resolveBarFormatLevel(storeNo, mainGroupNo);
        if (!level.found())
            throw CodecError(QStringLiteral("The bar format cannot be resolved."));
        m_level = level;
        m_valid = true;
        m_store = storeNo;
        m_mainGroup = mainGroupNo;
        return m_level;
    }
    void clear() { m_valid = false; }

private:
    bool m_valid = false;
    qint64 m_store = 0;
    qint64 m_mainGroup = 0;
    BarFormatLevel m_level;
};

namespace shim {
inline int itemDigits(int f)
{
    if (f >= 20) {
        db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT FBar_ItemDigitNo FROM KVB_14 WHERE FBar_No=?"));
        st.bind({f - 19});
        return st.step() ? int(st.columnInt(0)) : 10;
    }
    const QString t = gParEANEdit.at(f + 1);
    if (t.size() < 5)
        throw CodecError(QStringLiteral("Bar format %1 has no definition.").arg(f));
    return t.size() > 5 && t[5] != QLatin1Char(',') ? t.mid(4, 2).toInt() : t.mid(4, 1).toInt();
}
inline BarFormatLevel level(qint64 store, qint64 mg)
{
    BarFormatMemory memory;
    return memory.resolve(store, mg);
}
} // namespace shim

inline void composeEanData(PluRow& row)
{
    using namespace plu;
    int f = int(row.number(PLU_BarFormat));
    int b = int(row.number(PLU_EANLastByte));
    if (f == 255) {
        const BarFormatLevel l = shim::level(row.number(ST_No), row.number(PLU_MG));
        f = l.barFormat % 100;
        b = l.barFormat / 100;
    }
    const int d = shim::itemDigits(f);
    QString c = row.text(PLU_EANItemCode);
    if (c.size() > d) {
        c = d == 0 ? QString() : QString::number(c.left(d).toLongLong());
        row.set(PLU_EANItemCode, c);
    }
    const QString last = QStringLiteral("%1").arg(b, 2, 10, QLatin1Char('0'));
    row.set(PLU_EANData, f != 0 && d < 7 ? c.rightJustified(6, QLatin1Char('0')) + QLatin1String("0000") + last
                                         : c.rightJustified(10, QLatin1Char('0')) + last);
}

inline void deriveEanItemCode(PluRow& row)
{
    using namespace plu;
    const QString data = row.text(PLU_EANData);
    if (data.isEmpty())
        return;
    bool digits = data.size() == 12;
    for (QChar ch : data)
        digits = digits && ch.isDigit();
    if (!digits)
        throw CodecError(QStringLiteral("The item-code data \"%1\" is not 12 digits.").arg(data));
    int b = data.mid(10, 2).toInt();
    int f = int(row.number(PLU_BarFormat));
    if (f == 255) {
        const BarFormatLevel l = shim::level(row.number(ST_No), row.number(PLU_MG));
        f = l.barFormat % 100;
        b = l.barFormat / 100;
    }
    const int d = shim::itemDigits(f);
    row.set(PLU_EANItemCode, f != 0 && d < 7 ? data.mid(6 - d, d) : data.mid(10 - d, d));
    row.set(PLU_EANLastByte, qlonglong(b));
}

inline void DeriveEANItemCode(db::Recordset& pluRow)
{
    PluRow row = readPluRow(pluRow);
    deriveEanItemCode(row);
    writePluRow(pluRow, row);
}

inline void ClearBarFormatMemories() {}

} // namespace quorvane::records
