#include "records/PluRow.h"

#include "records/PackedBcd.h"

namespace quorvane::records {

namespace plu {

const char* name(Field f)
{
    static const char* const names[Count] = {
        "PLU_No",
        "ST_No",
        "SECT_No",
        "PLU_MG",
        "PLU_UPrice",
        "PLU_Tare",
        "PLU_Cost",
        "PLU_MemPrice",
        "PLU_CoupledPLUNo",
        "PLU_TaxNo",
        "PLU_Tax2No",
        "PLU_SPMessageNo",
        "PLU_IngredientNo",
        "PLU_DiscScheNo",
        "PLU_PriScheNo",
        "PLU_RSData",
        "PLU_Disc_SDate",
        "PLU_Disc_STime",
        "PLU_Disc_EDate",
        "PLU_Disc_ETime",
        "PLU_Disc_1stLim",
        "PLU_Disc_Within1stL",
        "PLU_Disc_2ndLim",
        "PLU_Disc_Within2ndL",
        "PLU_Disc_Type",
        "PLU_DisDayOfWeek",
        "PLU_MemDisc1",
        "PLU_MemDisc2",
        "PLU_MemDisc3",
        "PLU_MemDisc4",
        "PLU_BarFormat",
        "PLU_EANFlags",
        "PLU_EANLastByte",
        "PLU_EANItemCode",
        "PLU_EANData",
        "PLU_Commodity",
        "PLU_Description",
        "PLU_CommodityFirst",
        "Stat1_Unit",
        "Stat1_PBPreUnit",
        "Stat1_UPriceOV",
        "Stat1_PricePriority",
        "Stat1_MemPriceType",
        "Stat1_NegativePLU",
        "Stat1_Byte1",
        "Stat1_Byte2",
        "Stat1_Byte3",
        "Stat1_Byte4",
        "Stat2_MGCode",
        "Stat2_PLUTare",
        "Stat2_ItemCode",
        "Stat2_TaxNo",
        "Stat2_Tax2No",
        "Stat2_Discount",
        "Stat2_SPMessageNo",
        "Stat2_IngredientNo",
        "Stat2_DiscScheNo",
        "Stat2_PriScheNo",
        "Stat2_CoupledPLU",
        "Stat2_Commodity",
        "Stat2_Description",
        "Stat2_MemPrice",
        "Stat2_MemDisc",
        "Stat2_PLUCost",
        "Stat2_RSData",
        "Stat2_Byte1",
        "Stat2_Byte2",
        "Stat2_Byte3",
        "Stat2_Byte4",
        "Stat2_Byte5",
        "Stat2_Byte6",
        "Stat2_Byte7",
        "Stat2_Byte8",
        "Stat2_Byte9",
        "Stat2_Byte10",
        "Stat2_Byte11",
        "Stat2_Byte12",
        "Stat2_Byte13",
        "Stat2_Byte14",
        "Stat2_Byte15",
        "Stat2_Byte16",
        "KVBBinData",
        "Is_Selected",
    };
    return names[f];
}

} // namespace plu

qint64 PluRow::number(plu::Field f) const
{
    const QVariant& v = m_values[f];
    if (v.typeId() == QMetaType::LongLong) // as the database gives numbers
        return *static_cast<const qlonglong*>(v.constData());
    if (v.isNull())
        return 0;
    bool ok = false;
    const qint64 n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok) : v.toLongLong(&ok);
    if (!ok || v.typeId() == QMetaType::QByteArray)
        throw CodecError(QStringLiteral("%1 does not hold a whole number.").arg(QLatin1String(plu::name(f))));
    return n;
}

QString PluRow::text(plu::Field f) const
{
    const QVariant& v = m_values[f];
    return v.isNull() ? QString() : v.toString();
}

QByteArray PluRow::bytes(plu::Field f) const
{
    const QVariant& v = m_values[f];
    if (v.isNull())
        return QByteArray();
    if (v.typeId() != QMetaType::QByteArray)
        throw CodecError(QStringLiteral("%1 does not hold bytes.").arg(QLatin1String(plu::name(f))));
    return v.toByteArray();
}

void PluRow::set(plu::Field f, const QVariant& v)
{
    m_values[f] = v;
    m_changed.set(f);
}

namespace {

// Field positions of a recordset, looked up once per field list rather than by name for every value.
struct FieldMap {
    const db::FieldInfo* key = nullptr;
    int count = -1;
    std::array<int, plu::Count> index{};
};

const FieldMap& fieldMap(const db::Recordset& rs)
{
    static FieldMap map;
    const int n = rs.fieldCount();
    const db::FieldInfo* key = n > 0 ? &rs.fieldInfo(0) : nullptr;
    if (map.key == key && map.count == n && n > 0
        && rs.fieldName(map.index[0]).compare(QLatin1String(plu::name(plu::Field(0))), Qt::CaseInsensitive) == 0
        && rs.fieldName(map.index[plu::Count - 1])
                .compare(QLatin1String(plu::name(plu::Field(plu::Count - 1))), Qt::CaseInsensitive)
            == 0)
        return map;
    FieldMap fresh;
    for (int f = 0; f < plu::Count; ++f) {
        fresh.index[f] = rs.fieldIndex(QLatin1String(plu::name(plu::Field(f))));
        if (fresh.index[f] < 0)
            throw db::DbError(
                QStringLiteral("There is no field %1 in %2.").arg(QLatin1String(plu::name(plu::Field(f))), rs.table()));
    }
    fresh.key = key;
    fresh.count = n;
    map = fresh;
    return map;
}

} // namespace

PluRow readPluRow(const db::Recordset& rs)
{
    const FieldMap& map = fieldMap(rs);
    PluRow row;
    for (int f = 0; f < plu::Count; ++f)
        row.load(plu::Field(f), rs.value(map.index[f]));
    return row;
}

void writePluRow(db::Recordset& rs, const PluRow& row)
{
    const FieldMap& map = fieldMap(rs);
    for (int f = 0; f < plu::Count; ++f)
        if (row.changed(plu::Field(f)))
            rs.setValue(map.index[f], row.value(plu::Field(f)));
}

} // namespace quorvane::records
