#pragma once

#include <QString>
#include <QVector>

#include <optional>

namespace quorvane {

// The marks of a listed table: its mark column (Is_Selected) on the rows of a list, by their rowids in the list's
// order, so grid row r is list position r - 1. The PLU list marks KVB_25 over gRsPLU's rowids; the received-PLU
// review marks RC_25 over the rowids it listed once when it opened. The table and column are names of the schema,
// never text from the operator; every write is one transaction.
//
//   MarkList marks(QStringLiteral("RC_25"), MarkList::rowidsOf(QStringLiteral("RC_25"), QStringLiteral("ORDER BY
//   PLU_No, rowid"))); marks.set(3, 4, 1);          // grid rows 3 to 6 marked marks.set(2, 1, 0, true);    // row 2
//   toggled: it was marked marks.setAll(true);          // mark all; setAll(false) clears all marks.clearMarked(); //
//   at close: the marked rows of the list unmarked, no other row written
class MarkList {
public:
    MarkList(QString table, QVector<qint64> rowids, QString column = QStringLiteral("Is_Selected"));

    // The rowids of the table's rows, ordered by `orderBy` ("ORDER BY PLU_No, rowid"); what a list's query lists.
    static QVector<qint64> rowidsOf(const QString& table, const QString& orderBy);

    const QVector<qint64>& rowids() const { return m_rowids; }

    // Marks or unmarks `count` rows from grid row `startRow` and returns the value written, for the grid's mark
    // column: mode 1 marks, a mode other than 0 and 1 unmarks, mode 0 marks a range of two or more rows and
    // toggles a single row (`currentMarked`: its mark cell holds "*"). Nothing on an empty list.
    std::optional<int> set(int startRow, int count, int mode, bool currentMarked = false);
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
