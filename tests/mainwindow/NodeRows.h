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

} // namespace quorvane::test
