#pragma once

#include <QString>
#include <QVector>

#include <optional>

namespace quorvane {

// How a list's rows are marked.
enum class MarkMode {
    Click = 0, // a range of two or more rows marked, a single row toggled
    Mark = 1,
    Unmark = 2,
};

// The marks of a listed table: its mark column (Is_Selected) on the rows of a list, by their rowids in the list's
// order, so grid row r is list position r - 1. The PLU list marks KVB_25 over gRsPLU's rowids; the received-PLU
// review marks RC_25 over the rowids it listed once when it opened. The table and column are names of the schema,
// never text from the operator; every write is one transaction.
//
//   MarkList marks(table, MarkList::rowidsOf(table, QStringLiteral("ORDER BY PLU_No, rowid")));
//   marks.set(3, 4, MarkMode::Mark);         // grid rows 3 to 6 marked
//   marks.set(2, 1, MarkMode::Click, true);  // row 2 toggled: it was marked
//   marks.setAll(true);                      // mark all; setAll(false) clears all
//   marks.clearMarked();                     // at close: the marked rows of the list unmarked, no other row written
class MarkList {
public:
    MarkList(QString table, QVector<qint64> rowids, QString column = QStringLiteral("Is_Selected"));

    // The rowids of the table's rows, ordered by `orderBy` ("ORDER BY PLU_No, rowid"); what a list's query lists.
    static QVector<qint64> rowidsOf(const QString& table, const QString& orderBy);

    const QVector<qint64>& rowids() const { return m_rowids; }

    // Marks or unmarks `count` rows from grid row `startRow` by `mode` and returns the value written, for the grid's
    // mark column; a single row clicked is toggled by `currentMarked` (its mark cell holds "*"). Nothing on an empty
    // list.
    std::optional<int> set(int startRow, int count, MarkMode mode, bool currentMarked = false);
    // Marks or unmarks every row of the list.
    void setAll(bool marked);
    // Unmarks the rows of the list that are marked, by rowid, also a row an edit has changed since it was listed.
    void clearMarked();
    // The list's marked rows, as grid rows (1 for the first).
    QList<int> markedRows() const;

private:
    void write(const QVector<qint64>& rows, int value);

    QString m_table;
    QString m_column;
    QVector<qint64> m_rowids;
};

} // namespace quorvane
