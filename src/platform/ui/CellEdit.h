#pragma once

#include "platform/ui/LimitedEdit.h"

#include <QStringList>

#include <functional>

class QTableWidget;
class QWidget;

namespace quorvane::ui {

// Editing in a flex grid's cell: the kit lays an edit box, or a list, over the grid's current cell, and the
// grid's rows stay read-only otherwise. Enter and leaving the box put its text into the cell; Esc leaves the cell
// as it was. Enter and Esc give the focus to the grid; so does a scroll of the grid, and the editor leaves. Then the
// window's next step runs: `entered` after Enter, `left` after leaving (by the mouse, Tab or a scroll), `cancelled`
// after Esc, each with the classic row (1 for the first data row) and the column.
//
//   ui::CellEdit edit{.name = "txtGrid", .limit = ui::EditLimit().bytes(32)};
//   edit.entered = [grid](int row, int column) { ui::editCell(grid, nextCell(row, column), edit); };
//   ui::editCell(gridString, {row, 1}, edit);                                            // 32 ANSI bytes
//   ui::editCell(gridString, {row, 2}, {.name = "CobFont", .list = fontNames, .left = save}); // a font list
struct CellEdit {
    QString name{};     // the editor's objectName, as the window names that control
    EditLimit limit{};  // of the box: characters or ANSI bytes, as a limited edit's
    QStringList list{}; // not empty: a list of these entries instead of a box, its current entry the cell's text
    std::function<void(int row, int column)> entered{};
    std::function<void(int row, int column)> left{};
    std::function<void(int row, int column)> cancelled{};
};

struct Cell {
    int row = 1; // classic: 1 for the first data row
    int column = 0;
};

// Lays the editor over the cell, with the cell's text, all of it selected, and the focus. A second editor on the
// same grid first commits the one open. Returns the editor (a QLineEdit or QComboBox of the edit's name).
QWidget* editCell(QTableWidget* grid, Cell cell, const CellEdit& edit);
// The open editor of the grid; nullptr when none is open.
QWidget* cellEditor(const QTableWidget* grid);

} // namespace quorvane::ui
