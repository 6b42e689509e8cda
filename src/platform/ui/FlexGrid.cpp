#include "platform/ui/FlexGrid.h"

#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QTableWidget>

namespace quorvane::ui {

void setupFlexGrid(QTableWidget* grid, const QList<FlexColumn>& columns, int rows)
{
    grid->clear();
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

} // namespace quorvane::ui
