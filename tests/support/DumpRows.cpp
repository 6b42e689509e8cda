#include "DumpRows.h"

#include "platform/Quoted.h"
#include "state/SharedData.h"

#include <QStringList>

namespace quorvane::test {

namespace {
QString columns(const app::TableDump& d)
{
    QStringList cols;
    for (const app::DumpField& f : d.fields)
        cols << quoted(f.name);
    return cols.join(QLatin1Char(','));
}

} // namespace

QList<QVariantList> rowsOf(const app::TableDump& d)
{
    db::Statement st = gDBConnection.prepare(
        QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(columns(d), d.table));
    QList<QVariantList> rows;
    while (st.step()) {
        QVariantList row;
        for (int i = 0; i < d.fields.size(); ++i)
            row << st.column(i);
        rows << row;
    }
    return rows;
}

void insertRow(const app::TableDump& d, const QVariantList& values)
{
    QStringList marks;
    for (qsizetype i = 0; i < d.fields.size(); ++i)
        marks << QStringLiteral("?");
    gDBConnection.exec(
        QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)").arg(d.table, columns(d), marks.join(QLatin1Char(','))),
        values);
}

const app::TableDump& dumpOf(const QString& table)
{
    for (const app::TableDump& d : app::tableDumps())
        if (d.table == table)
            return d;
    qFatal("no dump for %s", qPrintable(table));
}

qint64 totalDumpedRows()
{
    qint64 n = 0;
    for (const app::TableDump& d : app::tableDumps())
        n += rowsOf(d).size();
    return n;
}

QList<QVariantList> insertSampleRows(const app::TableDump& d, int count)
{
    static const QList<qint64> numbers{0, -1, 2147483647, -2147483648LL, 16, 111, 255, 97, 997};
    static const QStringList oneLine{QStringLiteral("  0.  0.  0.  1"), QString(), QStringLiteral("ftp\r\nuser"),
                                     QStringLiteral("12")};
    static const QStringList gathered{QStringLiteral("17"),
                                      QString(),
                                      QStringLiteral("Line one\r\nLine two"),
                                      QStringLiteral("Name\r\n123"),
                                      QStringLiteral("x\n-\n5"),
                                      QStringLiteral("1.5\r\n.5\r\n-\r\n7"),
                                      QStringLiteral("Trailing\r\n"),
                                      QStringLiteral("\u00c4\u00d6\u00dc \u20ac 111")};
    QList<QVariantList> expected;
    for (int r = 0; r < count; ++r) {
        QVariantList row, back;
        for (int i = 0; i < d.fields.size(); ++i) {
            const int k = r * 3 + i;
            switch (d.fields[i].kind) {
            case app::DumpLine::Number:
                row << numbers[k % numbers.size()];
                back << QVariant(qlonglong(numbers[k % numbers.size()]));
                break;
            case app::DumpLine::Text:
                row << oneLine[k % oneLine.size()];
                back << app::dumpLineText(oneLine[k % oneLine.size()]);
                break;
            case app::DumpLine::Gathered:
                row << gathered[k % gathered.size()];
                back << app::dumpLineText(gathered[k % gathered.size()]);
                break;
            }
        }
        insertRow(d, row);
        expected << back;
    }
    return expected;
}

} // namespace quorvane::test
