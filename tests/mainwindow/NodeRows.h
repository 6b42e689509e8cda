#pragma once

#include "support/CodecTestDb.h"

#include "state/SharedData.h"

#include <QStringList>
#include <QVariantMap>

namespace quorvane::test {

// Rows as "TABLE|field=value|field=value", values as typed (blanks kept), added in one commit: the disk is slow.
inline void addRows(const QStringList& rows)
{
    db::Transaction tx(gDBConnection);
    for (const QString& row : rows) {
        const QStringList parts = row.split(QLatin1Char('|'));
        QVariantMap values;
        for (const QString& p : parts.mid(1))
            values.insert(p.section(QLatin1Char('='), 0, 0), p.section(QLatin1Char('='), 1));
        addRow(parts.first(), values);
    }
    tx.commit();
}

// The fields of every row in stored order: "a:b c:d".
inline QString dump(const QString& table, const QString& fields)
{
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(fields, table));
    QStringList rows;
    while (st.step()) {
        QStringList row;
        for (int i = 0; i < st.columnCount(); ++i)
            row << st.column(i).toString();
        rows << row.join(QLatin1Char(':'));
    }
    return rows.join(QLatin1Char(' '));
}

} // namespace quorvane::test
