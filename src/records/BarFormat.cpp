#include "records/BarFormat.h"

#include "records/PackedBcd.h"
#include "state/SharedData.h"

namespace quorvane::records {

namespace {

struct LevelRow {
    bool exists = false;
    QVariant barFormat, flag1, flag2, dept;
};

LevelRow readLevel(const QString& sql, const QVariantList& params)
{
    db::Statement st = gDBConnection.prepare(sql);
    st.bind(params);
    LevelRow r;
    if (st.step()) {
        r.exists = true;
        r.barFormat = st.column(0);
        r.flag1 = st.column(1);
        r.flag2 = st.column(2);
        if (st.columnCount() > 3)
            r.dept = st.column(3);
    }
    return r;
}

int fieldNumber(const QVariant& v, const char* table, const char* field)
{
    bool ok = false;
    const int n = v.isNull() ? 0 : v.toInt(&ok);
    if (!ok || v.typeId() == QMetaType::QByteArray)
        throw CodecError(QStringLiteral("%1 of %2 holds no number.").arg(QLatin1String(field), QLatin1String(table)));
    return n;
}

BarFormatLevel stopAt(const LevelRow& r, const char* table)
{
    BarFormatLevel level;
    level.barFormat = fieldNumber(r.barFormat, table, "barformat");
    level.flag1 = fieldNumber(r.flag1, table, "Flag1");
    level.flag2 = fieldNumber(r.flag2, table, "Flag2");
    return level;
}

} // namespace

BarFormatLevel resolveBarFormatLevel(qint64 storeNo, qint64 mainGroupNo)
{
    const BarFormatLevel none; // a missing level: format 0, flags 0
    const LevelRow mg = readLevel(
        QStringLiteral(
            "SELECT barformat, Flag1, Flag2, DP_No FROM KVB_23 WHERE ST_No=? AND MG_No=? ORDER BY rowid LIMIT 1"),
        {qlonglong(storeNo), qlonglong(mainGroupNo)});
    if (!mg.exists)
        return none;
    if (fieldNumber(mg.barFormat, "KVB_23", "barformat") != 255)
        return stopAt(mg, "KVB_23");
    const LevelRow dp = readLevel(
        QStringLiteral("SELECT barformat, Flag1, Flag2 FROM KVB_20 WHERE ST_No=? AND DP_No=? ORDER BY rowid LIMIT 1"),
        {qlonglong(storeNo), qlonglong(fieldNumber(mg.dept, "KVB_23", "DP_No"))});
    if (!dp.exists)
        return none;
    if (fieldNumber(dp.barFormat, "KVB_20", "barformat") != 255)
        return stopAt(dp, "KVB_20");
    const LevelRow st = readLevel(
        QStringLiteral("SELECT barformat, Flag1, Flag2 FROM STORE WHERE ST_No=? ORDER BY rowid LIMIT 1"),
        {qlonglong(storeNo)});
    if (!st.exists)
        return none;
    return stopAt(st, "STORE");
}

namespace {

// What the memories depend on: the levels of the chain, and the flexible barcodes an inherited format names.
quint64 levelChanges()
{
    return gDBConnection.changeCount(QLatin1StringView("STORE"))
        + gDBConnection.changeCount(QLatin1StringView("KVB_20"))
        + gDBConnection.changeCount(QLatin1StringView("KVB_23"))
        + gDBConnection.changeCount(QLatin1StringView("KVB_14"));
}

} // namespace

BarFormatLevel BarFormatMemory::resolve(qint64 storeNo, qint64 mainGroupNo)
{
    const quint64 changes = levelChanges();
    if (changes != m_changes) {
        m_levels.clear();
        m_changes = changes;
    }
    const std::pair key{storeNo, mainGroupNo};
    if (const auto known = m_levels.constFind(key); known != m_levels.cend())
        return *known;
    const BarFormatLevel level = resolveBarFormatLevel(storeNo, mainGroupNo);
    m_levels.insert(key, level);
    return level;
}

std::optional<FlexibleBarcode> FlexibleBarcodeMemory::find(qint64 fbarNo)
{
    const quint64 changes = gDBConnection.changeCount(QLatin1StringView("KVB_14"));
    if (!m_valid || changes != m_changes) {
        m_valid = false;
        m_rows.clear();
        db::Statement st = gDBConnection.prepare(
            QStringLiteral("SELECT FBar_No, FBar_Type, FBar_ItemDigitNo FROM KVB_14 ORDER BY rowid"));
        while (st.step())
            if (st.columnType(0) == db::Statement::ColumnType::Integer && !m_rows.contains(st.columnInt(0)))
                m_rows.insert(st.columnInt(0), FlexibleBarcode{int(st.columnInt(1)), int(st.columnInt(2))});
        m_changes = changes;
        m_valid = true;
    }
    const auto row = m_rows.constFind(fbarNo);
    return row == m_rows.cend() ? std::nullopt : std::optional(*row);
}

qint16 ResolveBarFormat(const db::Recordset& pluRow, quint8 kind)
{
    if (kind == 0)
        return 0;
    const BarFormatLevel level = resolveBarFormatLevel(pluRow.intValue(QStringLiteral("ST_No")),
                                                       pluRow.intValue(QStringLiteral("PLU_MG")));
    return qint16(kind == 1 ? level.barFormat : level.flags());
}

} // namespace quorvane::records
