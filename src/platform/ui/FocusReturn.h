#pragma once

#include <QList>

class QWidget;

namespace quorvane::ui {

// A window that a command disabled (setEnabled(false) while it works) has lost its focus: Qt takes it from a
// disabled widget and gives it to nobody. When the window is enabled again, once the command is through, the
// control that had the focus gets it back; when that control is hidden or disabled by then, the first control of
// `tabOrder` that can take it, else the first of the window's focus chain. A command that gives the focus somewhere
// itself keeps it there. Every window a control table makes has it.
void returnFocusWhenEnabled(QWidget* window, const QList<QWidget*>& tabOrder);

} // namespace quorvane::ui
