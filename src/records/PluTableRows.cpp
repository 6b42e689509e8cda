#include "records/PluTableRows.h"

#include <optional>

namespace quorvane::records::dumps {

FieldList allFieldsBut(const FieldList& skipped)
{
    FieldList out;
    for (int f = 0; f < plu::Count; ++f)
        if (!skipped.contains(plu::Field(f)))
            out << plu::Field(f);
    return out;
}

FieldList fieldsBetween(plu::Field first, plu::Field last)
{
    FieldList out;
    for (int f = first; f <= last; ++f)
        out << plu::Field(f);
    return out;
}

QString names(const FieldList& fields, const QString& pattern)
{
    QStringList out;
    for (plu::Field f : fields)
        out << pattern.arg(QLatin1String(plu::name(f)));
    return out.join(QLatin1Char(','));
}

QString pluRowsSql(const FieldList& fields, const QString& rest)
{
    return QStringLiteral("SELECT rowid,%1 FROM KVB_25 %2").arg(names(fields, QStringLiteral("%1")), rest);
}

std::vector<PluChunkRow> readPluRows(const FieldList& fields, const QString& condition, qint64 rowid)
{
    std::vector<PluChunkRow> rows;
    rows.reserve(kChunkRows);
    db::Statement st = gDBConnection.prepare(pluRowsSql(fields, QStringLiteral("WHERE ") + condition));
    st.bindInt64(0, rowid);
    while (st.step())
        rows.push_back(readPluRow(st, fields));
    return rows;
}

PluRow readWholePluRow(qint64 rowid)
{
    std::vector<PluChunkRow> rows = readPluRows(allFieldsBut({}), QStringLiteral("rowid=?"), rowid);
    if (rows.empty())
        throw db::DbError(QStringLiteral("PLU row %1 has gone.").arg(rowid));
    return std::move(rows.front().row);
}

PluRow newPluRow()
{
    PluRow row;
    for (const db::FieldInfo& info : gDBConnection.fields(QStringLiteral("KVB_25")))
        if (const std::optional<plu::Field> f = plu::fieldNamed(info.name))
            row.load(*f, info.defaultValue);
    return row;
}

} // namespace quorvane::records::dumps
