#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <functional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace quorvane::ui {

// One rule for every control: its handler runs once for each change the operator makes, and once for each
// value code sets through a setter below, also when the value stays the same (a classic list runs its Click
// handler when code sets its index, even to the current one). Handlers listen to the operator's signals only
// (a button's or check box's clicked, a combo box's activated, a text box's textEdited, the row the operator
// chose in a list box made by a table (ui::ListBox), a grid's cell click, a tree's item click), so setting a
// value with Qt's own setters, clear() included, runs nothing.
// Multi-line texts, date/time pickers and tab strips have no signal of the operator's own: there every change
// not made through a setter counts as the operator's.
//
// Control tables connect their rows' handlers (Control::on, Control::onLeave); these are for widgets made
// otherwise. A second call replaces the handler.
void onChange(QWidget* control, std::function<void()> handler);
// Runs when the control loses the focus to another control of its window (not to a menu, a pop-up or another
// window), and from commitFocusedField().
void onLeave(QWidget* control, std::function<void()> handler);
// Runs when the control gets the focus from another control of its window (not back from a menu, a pop-up or
// another window).
void onEnter(QWidget* control, std::function<void()> handler);

// The setters: each sets the value, then runs the control's handler once.
void setListIndex(QComboBox* list, int index); // -1: no entry
void setListIndex(QListWidget* list, int index);
void setChecked(QCheckBox* box, bool checked);
void setOption(QRadioButton* option); // selects it; the other options on its parent clear
void setText(QLineEdit* box, const QString& text);
void setText(QPlainTextEdit* box, const QString& text);
void setDate(QDateTimeEdit* picker, const QDate& date);
void setTime(QDateTimeEdit* picker, const QTime& time);
void setTab(QTabWidget* tabs, int index);

// Runs the leave handler of the control of `window` that has the focus (or had it last), so an edit that saves
// when its field is left is not lost: windows call it before a save question and before they close.
void commitFocusedField(QWidget* window);

} // namespace quorvane::ui
