#pragma once

#include "app/TableDumps.h"

#include <QList>
#include <QVariant>

namespace quorvane::test {

// The dumped fields of every row of a table of the shared connection, in stored order.
QList<QVariantList> rowsOf(const app::TableDump& d);
void insertRow(const app::TableDump& d, const QVariantList& values);
const app::TableDump& dumpOf(const QString& table);
qint64 totalDumpedRows();

// Adds `count` rows of awkward values to the table (extreme numbers, empty texts, digit-only names,
// texts with line breaks and numeric lines) and returns the rows a reload is to give back.
QList<QVariantList> insertSampleRows(const app::TableDump& d, int count);

} // namespace quorvane::test
