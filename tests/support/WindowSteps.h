#pragma once

#include <QList>
#include <QString>

class QTableWidget;
class QWidget;

namespace quorvane::test {

// A control of the window by objectName; a name the window lacks stops the test run.
QWidget* control(const QWidget* window, const QString& name);

// Drives a window as the operator does, by objectName. Steps, "|"-separated:
//   set:name=value   through the control's setter: a list's position, a box's text
//   focus:name       the focus moves to the control; leave: it moves on to cmdClose; close: the window closes
//   type:keys        typed into the box with the focus; paste:text pasted there; clear: that box emptied
//   click:name       a mouse click on the control; click:grid(r,c) on the cell of grid row r, column c
//   choose:name=p    a mouse click on the list, then on its popup's entry at position p
//   cell:grid(r)=text  the text cell of grid row r opened by a click, its text replaced, then Enter; esc:... Esc
//   sql:statement    run on the working database
//   fail:clause      the writes of the trigger clause fail (FailingWrites) until endSteps()
// The sql and fail steps need no window.
void runSteps(QWidget* window, const QString& steps);
// Writes fail no more where fail: steps made them fail; resetProgramState() does it too, so a test that keeps the
// connection and resets no state calls it in cleanup().
void endSteps();

// The operator makes another row of the grid current, by steps " "-separated: "click:R" on row R's cell in column 2,
// "drag:R-S" pressed on row R, moved to and released on row S, "slip:R-S" the same with no move between, "right:R"
// the right button, "key:K" a key (QKeySequence's text: "PgDown", "Ctrl+End"), "type:C" a typed character.
void moveInGrid(QTableWidget* grid, const QString& steps);

// What the controls of `expected` ("name=value;...") show, written the same way: a box's, button's, label's or
// picker's text, a list's position, a check box 1 or 0, "grid(r)" the text cell of the grid's row r; "off" where
// `expected` says off and the control is disabled or hidden.
QString shownAs(const QWidget* window, const QString& expected);

// The text cells `columns` of every row of the window's grid `grid`, a row's cells joined by `cellSep`, the rows by
// `rowSep`.
QString gridCells(const QWidget* window, const QString& grid, const QList<int>& columns, QChar cellSep = u'|',
                  QChar rowSep = u'/');

// Adds the rows "TABLE:field=value;...|..." (a text table's Name as bytes; "<null>" a Null).
void addTableRows(const QString& rows);
// "TABLE:field,field": those fields of every row in stored order, "value,value value,value".
QString storedRows(const QString& tableAndFields);

} // namespace quorvane::test
