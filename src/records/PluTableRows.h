#pragma once

#include "platform/db/Connection.h"
#include "records/PluRow.h"
#include "records/ScaleRecordDumpList.h"
#include "state/SharedData.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The PLU table as the record dumps read and write it: in chunks of rows, through prepared statements, reading only
// the fields a pass needs and writing each row in one step.
namespace quorvane::records::dumps {

using FieldList = QList<plu::Field>;

// Every field but the skipped ones, in their order.
FieldList allFieldsBut(const FieldList& skipped);
// The fields from `first` to `last`, in their order.
FieldList fieldsBetween(plu::Field first, plu::Field last);
// The fields' names, each put into `pattern` as its %1, joined by commas.
QString names(const FieldList& fields, const QString& pattern);

struct PluChunkRow {
    qint64 rowid = 0;
    PluRow row;
};

// "SELECT rowid, <the fields> FROM KVB_25 <rest>".
QString pluRowsSql(const FieldList& fields, const QString& rest);

// The statement's current row: its rowid, then the fields.
inline PluChunkRow readPluRow(const db::Statement& st, const FieldList& fields)
{
    PluChunkRow r;
    r.rowid = st.columnInt(0);
    for (int i = 0; i < fields.size(); ++i)
        r.row.load(fields[i], st, i + 1);
    return r;
}

// The given fields of the PLU rows the condition chooses; every value read costs, so only those.
std::vector<PluChunkRow> readPluRows(const FieldList& fields, const QString& condition, qint64 rowid);

// Every PLU row in stored order, a chunk at a time: the rows of a chunk are read before any is visited, so
// a visit may write the rows it has been given.
template<typename Visit> void forEachPluRow(const FieldList& fields, Visit visit)
{
    const QString condition = QStringLiteral("rowid>? ORDER BY rowid LIMIT %1").arg(kChunkRows);
    qint64 last = 0;
    for (;;) {
        std::vector<PluChunkRow> chunk = readPluRows(fields, condition, last);
        if (chunk.empty())
            return;
        for (PluChunkRow& r : chunk) {
            last = r.rowid;
            visit(r);
        }
    }
}

// Every PLU row in stored order, each visited as it is read: a visit writes no PLU row.
template<typename Visit> void readEachPluRow(const FieldList& fields, Visit visit)
{
    db::Statement st = gDBConnection.prepare(pluRowsSql(fields, QStringLiteral("ORDER BY rowid")));
    while (st.step()) {
        PluChunkRow r = readPluRow(st, fields);
        visit(r);
    }
}

// The whole row; throws DbError when it has gone.
PluRow readWholePluRow(qint64 rowid);

// Writes back the changed ones of the given fields through one statement held for the pass; a field left
// unbound keeps its value. The codecs never write a field empty, so an empty value can stand for "unchanged".
class PluWriter {
public:
    explicit PluWriter(FieldList fields)
        : m_fields(std::move(fields))
        , m_statement(gDBConnection.prepare(QStringLiteral("UPDATE KVB_25 SET %1 WHERE rowid=?")
                                                .arg(names(m_fields, QStringLiteral("%1=coalesce(?,%1)")))))
    {
    }
    void write(qint64 rowid, const PluRow& row)
    {
        for (int i = 0; i < m_fields.size(); ++i)
            if (row.changed(m_fields[i]))
                row.bind(m_fields[i], m_statement, i);
        m_statement.bindInt64(int(m_fields.size()), rowid);
        m_statement.step();
        m_statement.reset();
    }

private:
    FieldList m_fields;
    db::Statement m_statement;
};

// Adds PLU rows whole, each in one step, through one statement held for the pass.
class PluInserter {
public:
    PluInserter()
        : m_statement(gDBConnection.prepare(QStringLiteral("INSERT INTO KVB_25 (%1) VALUES (%2)")
                                                .arg(names(allFieldsBut({}), QStringLiteral("%1")),
                                                     QStringList(plu::Count, QStringLiteral("?")).join(u','))))
    {
    }
    void insert(const PluRow& row)
    {
        for (int f = 0; f < plu::Count; ++f)
            row.bind(plu::Field(f), m_statement, f);
        m_statement.step();
        m_statement.resetKeepingValues(); // every value is bound again
    }

private:
    db::Statement m_statement;
};

// A PLU row as the schema makes a new one.
PluRow newPluRow();

} // namespace quorvane::records::dumps
