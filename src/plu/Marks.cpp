#include "plu/Marks.h"

#include "platform/events/EventPump.h"
#include "state/SharedData.h"

#include <QHash>
#include <QSet>

namespace quorvane {

MarkList::MarkList(QString table, QVector<qint64> rowids, QString column)
    : m_table(std::move(table))
    , m_column(std::move(column))
    , m_rowids(std::move(rowids))
{
}

QVector<qint64> MarkList::rowidsOf(const QString& table, const QString& orderBy)
{
    QVector<qint64> rows;
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT rowid FROM %1 %2").arg(table, orderBy));
    while (st.step())
        rows << st.columnInt(0);
    return rows;
}

// column := value on the rows, in one transaction, a chunk of rows per statement.
void MarkList::write(const QVector<qint64>& rows, int value)
{
    constexpr int Chunk = 128;
    db::Transaction tx(gDBConnection);
    EventPump pump;
    for (qsizetype i = 0; i < rows.size(); i += Chunk) {
        const qsizetype n = qMin<qsizetype>(Chunk, rows.size() - i);
        QVariantList params{value};
        for (qsizetype k = 0; k < n; ++k)
            params << rows[i + k];
        const QString marks = QStringLiteral("?") + QStringLiteral(",?").repeated(n - 1);
        gDBConnection.exec(QStringLiteral("UPDATE %1 SET %2=? WHERE rowid IN (%3)").arg(m_table, m_column, marks),
                           params);
        pump();
    }
    tx.commit();
}

std::optional<int> MarkList::set(int startRow, int count, MarkMode mode, bool currentMarked)
{
    if (m_rowids.isEmpty())
        return std::nullopt;
    const bool toggledOff = mode == MarkMode::Click && count < 2 && currentMarked;
    const int value = mode == MarkMode::Unmark || toggledOff ? 0 : 1;
    const qsizetype first = qMax(startRow, 1) - 1;
    const qsizetype end = qMin<qsizetype>(qsizetype(startRow) - 1 + count, m_rowids.size());
    if (end > first)
        write(m_rowids.mid(first, end - first), value);
    return value;
}

void MarkList::setAll(bool marked)
{
    if (!m_rowids.isEmpty())
        write(m_rowids, marked ? 1 : 0);
}

void MarkList::clearMarked()
{
    if (m_rowids.isEmpty())
        return;
    QSet<qint64> marked;
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2<>0").arg(m_table, m_column));
    while (st.step())
        marked.insert(st.columnInt(0));
    QVector<qint64> rows;
    for (const qint64 rowid : std::as_const(m_rowids))
        if (marked.contains(rowid))
            rows << rowid;
    write(rows, 0);
}

QList<int> MarkList::markedRows() const
{
    QSet<qint64> marked;
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2<>0").arg(m_table, m_column));
    while (st.step())
        marked.insert(st.columnInt(0));
    QList<int> rows;
    for (qsizetype i = 0; i < m_rowids.size(); ++i)
        if (marked.contains(m_rowids[i]))
            rows << int(i + 1);
    return rows;
}

} // namespace quorvane
