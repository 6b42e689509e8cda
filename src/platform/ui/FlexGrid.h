#pragma once

#include <QList>
#include <QString>
#include <Qt>

class QTableWidget;

namespace quorvane::ui {

// A classic flex grid on a QTableWidget. Rows are numbered as the classic grid numbers them: row 0 is
// the header row (the table's horizontal header), row r the table's row r - 1.
struct FlexColumn {
    QString header;
    int widthTwips = 0;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// Sets the columns (headers, widths, alignment) and the number of rows, header row included; cells
// are read-only and one cell is current at a time.
void setupFlexGrid(QTableWidget* grid, const QList<FlexColumn>& columns, int rows);
// The number of rows, header row included.
int flexRows(const QTableWidget* grid);
QString flexText(const QTableWidget* grid, int row, int column);
// A new cell takes its column's alignment.
void setFlexText(QTableWidget* grid, int row, int column, const QString& text);

} // namespace quorvane::ui
