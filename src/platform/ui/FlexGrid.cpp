#include "platform/ui/FlexGrid.h"

#include "platform/db/Connection.h"
#include "platform/events/EventPump.h"
#include "platform/ui/Twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyleOptionViewItem>
#include <QTableWidget>

#include <cmath>
#include <vector>

namespace quorvane::ui {

namespace {

// Keeps a grid's row and header heights in proportion to its font: a window drawn larger (its fonts scaled with
// it) shows whole rows, none cut or overlapping.
class RowHeightsFollowFont : public QObject {
public:
    explicit RowHeightsFollowFont(QTableWidget* grid)
        : QObject(grid)
        , m_grid(grid)
        , m_line(grid->fontMetrics().height())
    {
        grid->setProperty(kFollows, true);
        grid->installEventFilter(this);
    }

    static constexpr const char* kFollows = "quorvaneRowsFollowFont";

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_grid && event->type() == QEvent::FontChange) {
            const int line = m_grid->fontMetrics().height();
            QHeaderView* rows = m_grid->verticalHeader();
            if (m_line > 0 && line != m_line)
                rows->setDefaultSectionSize(int(std::lround(double(rows->defaultSectionSize()) * line / m_line)));
            m_line = line;
            // The header row takes the grid's font, so its height follows from its own size hint.
            m_grid->horizontalHeader()->setFont(m_grid->font());
        }
        return false;
    }

private:
    QTableWidget* m_grid;
    int m_line; // the height of a line of the font the rows were last sized for
};

} // namespace

void rowHeightsFollowFont(QTableWidget* grid)
{
    if (!grid->property(RowHeightsFollowFont::kFollows).toBool())
        new RowHeightsFollowFont(grid);
}

void setupFlexGrid(QTableWidget* grid, const QList<FlexColumn>& columns, int rows)
{
    grid->clear();
    rowHeightsFollowFont(grid);
    grid->setColumnCount(int(columns.size()));
    grid->setRowCount(qMax(0, rows - 1));
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(1); // narrow columns keep their given width
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    for (int c = 0; c < columns.size(); ++c) {
        auto* header = new QTableWidgetItem(columns[c].header);
        header->setTextAlignment(columns[c].alignment);
        grid->setHorizontalHeaderItem(c, header);
        grid->setColumnWidth(c, twipsToPixels(columns[c].widthTwips));
    }
}

void fitColumnToText(QTableWidget* grid, int column, const QString& text, int giver)
{
    // What the grid's delegate asks for such a cell, and the grid line drawn in the column's last pixel.
    QStyleOptionViewItem option;
    option.initFrom(grid);
    option.font = grid->font();
    option.fontMetrics = grid->fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = text;
    const int needed = grid->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), grid).width()
        + (grid->showGrid() ? 1 : 0);
    const int lacking = needed - grid->columnWidth(column);
    if (lacking <= 0)
        return;
    grid->setColumnWidth(column, needed);
    grid->setColumnWidth(giver, qMax(0, grid->columnWidth(giver) - lacking));
}

int flexRows(const QTableWidget* grid) { return grid->rowCount() + 1; }

QString flexText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = row == 0 ? grid->horizontalHeaderItem(column) : grid->item(row - 1, column);
    return item ? item->text() : QString();
}

void setFlexText(QTableWidget* grid, int row, int column, const QString& text)
{
    if (row == 0) {
        if (QTableWidgetItem* header = grid->horizontalHeaderItem(column))
            header->setText(text);
        else
            grid->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem* item = grid->item(row - 1, column)) {
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    if (const QTableWidgetItem* header = grid->horizontalHeaderItem(column))
        item->setTextAlignment(Qt::Alignment(header->textAlignment()));
    grid->setItem(row - 1, column, item);
}

FlexRowFill columnsInOrder(int firstColumn)
{
    return [firstColumn](const db::Statement& query, int, std::span<QTableWidgetItem* const> cells) {
        const int n = qMin(query.columnCount(), int(cells.size()) - firstColumn);
        for (int c = 0; c < n; ++c)
            if (const QVariant value = query.column(c); !value.isNull())
                cells[firstColumn + c]->setText(value.toString());
    };
}

int fillFlexGrid(QTableWidget* grid, db::Statement& query, const FlexRowFill& fill)
{
    // Rows are announced to the view a chunk at a time and their cells at the chunk's end: a view told of every
    // cell on its own takes five times as long as the rows' query.
    constexpr int Chunk = 1024;
    QAbstractItemModel* model = grid->model();
    const int columns = grid->columnCount();
    std::vector<Qt::Alignment> alignment(columns, Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < columns; ++c)
        if (const QTableWidgetItem* header = grid->horizontalHeaderItem(c))
            alignment[c] = Qt::Alignment(header->textAlignment());
    const bool sorting = grid->isSortingEnabled();
    grid->setSortingEnabled(false);

    std::vector<QTableWidgetItem*> cells(columns);
    EventPump pump;
    const int start = grid->rowCount();
    int rows = start;     // rows holding their cells
    int announced = rows; // rows the view has been told of, cells included
    const auto announce = [&] {
        grid->setRowCount(rows);
        if (rows > announced && columns > 0)
            emit model->dataChanged(model->index(announced, 0), model->index(rows - 1, columns - 1));
        announced = rows;
    };
    try {
        while (query.step()) {
            if (rows == grid->rowCount()) {
                announce();
                grid->setRowCount(rows + Chunk);
            }
            {
                const QSignalBlocker quiet(model);
                for (int c = 0; c < columns; ++c) {
                    cells[c] = new QTableWidgetItem;
                    cells[c]->setTextAlignment(alignment[c]);
                }
                try {
                    fill(query, rows + 1, cells);
                } catch (...) {
                    for (QTableWidgetItem* cell : cells)
                        delete cell;
                    throw;
                }
                for (int c = 0; c < columns; ++c)
                    grid->setItem(rows, c, cells[c]);
            }
            ++rows;
            pump();
        }
    } catch (...) {
        announce();
        grid->setSortingEnabled(sorting);
        throw;
    }
    announce();
    grid->setSortingEnabled(sorting);
    return rows - start;
}

} // namespace quorvane::ui
