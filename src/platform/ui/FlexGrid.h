#pragma once

#include <QList>
#include <QString>
#include <Qt>

#include <functional>
#include <span>

class QTableWidget;
class QTableWidgetItem;

namespace quorvane::db {
class Statement;
} // namespace quorvane::db

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
// Keeps the grid's row and header heights in proportion to its font from now on (a second call does nothing).
// Every grid a control table makes and every grid set up above does so.
void rowHeightsFollowFont(QTableWidget* grid);
// Widens the column as far as `text` needs to show whole in its cells, margins included, taking the pixels from the
// column `giver`, so the grid's width stays; a column wide enough stays as it is.
void fitColumnToText(QTableWidget* grid, int column, const QString& text, int giver);
// The number of rows, header row included.
int flexRows(const QTableWidget* grid);
QString flexText(const QTableWidget* grid, int row, int column);
// A new cell takes its column's alignment.
void setFlexText(QTableWidget* grid, int row, int column, const QString& text);

// Writes one grid row from the current result row of a query: `cells` holds the row's items, one per grid
// column, each aligned as its column; `row` is the classic row number (1 for the first data row).
using FlexRowFill = std::function<void(const db::Statement& query, int row, std::span<QTableWidgetItem* const> cells)>;
// The query's columns in their order into grid columns firstColumn.., each value as text, Null empty.
FlexRowFill columnsInOrder(int firstColumn = 0);

// Appends one data row to the grid for every result row of the query (its values bound), a chunk of rows at a
// time, with the event pump running between chunks so that the window keeps painting through a long list.
// Returns the number of rows appended. A database error (db::DbError) leaves the rows read before it.
int fillFlexGrid(QTableWidget* grid, db::Statement& query, const FlexRowFill& fill = columnsInOrder());

} // namespace quorvane::ui
