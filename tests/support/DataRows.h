#pragma once

#include <QString>
#include <QTest>

#include <initializer_list>

namespace quorvane::test {

// A data table of one column, "row", whose type is the test's own row struct: each row names only the fields
// that differ from the struct's defaults. A row is named by its `name` member, or by `nameOf(row)`.
// QFETCH(Row, row) takes it back.
template<class Row> void addDataRows(std::initializer_list<Row> rows)
{
    QTest::addColumn<Row>("row");
    for (const Row& r : rows)
        QTest::newRow(r.name) << r;
}

template<class Row, class NameOf> void addDataRows(std::initializer_list<Row> rows, NameOf nameOf)
{
    QTest::addColumn<Row>("row");
    for (const Row& r : rows)
        QTest::newRow(qPrintable(QString(nameOf(r)))) << r;
}

} // namespace quorvane::test
