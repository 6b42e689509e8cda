#include "records/PluRow.h"

#include "records/PackedBcd.h"

#include <bit>

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

std::optional<Field> fieldNamed(QStringView name)
{
    for (int f = 0; f < Count; ++f)
        if (name.compare(QLatin1StringView(plu::name(Field(f))), Qt::CaseInsensitive) == 0)
            return Field(f);
    return std::nullopt;
}

} // namespace plu

namespace {

// A real's bits are held where a whole number would be.
qint64 realBits(double d) { return std::bit_cast<qint64>(d); }
double realOf(qint64 bits) { return std::bit_cast<double>(bits); }

} // namespace

QVariant PluRow::value(plu::Field f) const
{
    switch (m_types[f]) {
    case Type::Null:
        break;
    case Type::Integer:
        return QVariant(qlonglong(m_numbers[f]));
    case Type::Real:
        return QVariant(realOf(m_numbers[f]));
    case Type::Text:
        return QVariant(QString::fromUtf8(m_bytes[m_numbers[f]]));
    case Type::Bytes:
        return QVariant(m_bytes[m_numbers[f]]);
    }
    return QVariant();
}

qint64 PluRow::otherNumber(plu::Field f) const
{
    const QVariant v = value(f);
    bool ok = false;
    const qint64 n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok) : v.toLongLong(&ok);
    if (!ok || v.typeId() == QMetaType::QByteArray)
        throw CodecError(QStringLiteral("%1 does not hold a whole number.").arg(QLatin1String(plu::name(f))));
    return n;
}

QString PluRow::text(plu::Field f) const
{
    switch (m_types[f]) {
    case Type::Null:
        return QString();
    case Type::Text:
        return QString::fromUtf8(m_bytes[m_numbers[f]]);
    default:
        return value(f).toString();
    }
}

QByteArray PluRow::bytes(plu::Field f) const
{
    if (m_types[f] == Type::Null)
        return QByteArray();
    if (m_types[f] != Type::Bytes)
        throw CodecError(QStringLiteral("%1 does not hold bytes.").arg(QLatin1String(plu::name(f))));
    return m_bytes[m_numbers[f]];
}

void PluRow::hold(plu::Field f, Type type, const QByteArray& bytes)
{
    if (m_types[f] == Type::Text || m_types[f] == Type::Bytes) {
        m_bytes[m_numbers[f]] = bytes;
    } else {
        m_numbers[f] = m_bytes.size();
        m_bytes.append(bytes);
    }
    m_types[f] = type;
}

void PluRow::load(plu::Field f, const QVariant& v)
{
    using Column = db::Statement::ColumnType;
    switch (db::boundType(v)) {
    case Column::Null:
        m_types[f] = Type::Null;
        break;
    case Column::Integer:
        m_types[f] = Type::Integer;
        m_numbers[f] = v.toLongLong();
        break;
    case Column::Real:
        m_types[f] = Type::Real;
        m_numbers[f] = realBits(v.toDouble());
        break;
    case Column::Text:
        hold(f, Type::Text, v.toString().toUtf8());
        break;
    case Column::Blob:
        hold(f, Type::Bytes, v.toByteArray());
        break;
    }
}

void PluRow::load(plu::Field f, const db::Statement& st, int column)
{
    using Column = db::Statement::ColumnType;
    const db::Statement::Column c = st.columnValue(column);
    switch (c.type) {
    case Column::Integer:
        m_types[f] = Type::Integer;
        m_numbers[f] = c.integer;
        break;
    case Column::Real:
        m_types[f] = Type::Real;
        m_numbers[f] = realBits(c.real);
        break;
    case Column::Text:
        hold(f, Type::Text, c.bytes.toByteArray());
        break;
    case Column::Blob:
        // A byte array of no bytes is still one, as the database layer reads it.
        hold(f, Type::Bytes, c.bytes.isEmpty() ? QByteArray("") : c.bytes.toByteArray());
        break;
    case Column::Null:
        m_types[f] = Type::Null;
        break;
    }
}

void PluRow::bind(plu::Field f, db::Statement& st, int index0) const
{
    switch (m_types[f]) {
    case Type::Null:
        st.bindNull(index0);
        break;
    case Type::Integer:
        st.bindInt64(index0, m_numbers[f]);
        break;
    case Type::Real:
        st.bindDouble(index0, realOf(m_numbers[f]));
        break;
    case Type::Text:
        st.bindText(index0, m_bytes[m_numbers[f]]);
        break;
    case Type::Bytes:
        st.bindBlob(index0, m_bytes[m_numbers[f]]);
        break;
    }
}

namespace {

// The position of each PLU field in the recordset's fields: a recordset of a whole PLU table holds them in
// this order, which is checked by name; any other is looked up field by field.
std::array<int, plu::Count> fieldPositions(const db::Recordset& rs)
{
    std::array<int, plu::Count> index{};
    bool inOrder = rs.fieldCount() >= plu::Count;
    for (int f = 0; inOrder && f < plu::Count; ++f)
        inOrder = rs.fieldInfo(f).name.compare(QLatin1String(plu::name(plu::Field(f))), Qt::CaseInsensitive) == 0;
    for (int f = 0; f < plu::Count; ++f) {
        index[f] = inOrder ? f : rs.fieldIndex(QLatin1String(plu::name(plu::Field(f))));
        if (index[f] < 0)
            throw db::DbError(
                QStringLiteral("There is no field %1 in %2.").arg(QLatin1String(plu::name(plu::Field(f))), rs.table()));
    }
    return index;
}

} // namespace

PluRow readPluRow(const db::Recordset& rs)
{
    const std::array<int, plu::Count> index = fieldPositions(rs);
    PluRow row;
    for (int f = 0; f < plu::Count; ++f)
        row.load(plu::Field(f), rs.value(index[f]));
    return row;
}

void writePluRow(db::Recordset& rs, const PluRow& row)
{
    const std::array<int, plu::Count> index = fieldPositions(rs);
    for (int f = 0; f < plu::Count; ++f)
        if (row.changed(plu::Field(f)))
            rs.setValue(index[f], row.value(plu::Field(f)));
}

} // namespace quorvane::records
