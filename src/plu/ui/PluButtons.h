#pragma once

class QPushButton;
class QString;
class QWidget;

namespace quorvane::plu {

// The PLU list's and editor's command buttons on the window hosting them (PluListView.h), each running its
// command and showing what it gives, and the buttons' and menu entries' enabled states. A database failure is shown
// through ui::tryStep.

// Enables the PLU buttons and menu entries by the edit state, the listed PLUs and the grid's row.
void SetEditModeButtons(QWidget* window);
// Enables or disables a PLU button or menu entry of the window hosting the editor, by objectName; a name of which the
// window has neither stops.
void enableCommand(QWidget* window, const QString& objectName, bool enabled);
// A PLU button of that window, by objectName; a name it lacks stops.
QPushButton* pluButton(QWidget* window, const QString& objectName);

void cmdEdit_Click(QWidget* window);
void cmdDisplay_Click(QWidget* window);
void cmdNew_Click(QWidget* window);
void cmdCopy_Click(QWidget* window);
void cmdCancel_Click(QWidget* window);
void cmdUpdate_Click(QWidget* window);
void cmdDlelte_Click(QWidget* window);
void cmdDelAll_Click(QWidget* window);
void cmdUp_Click(QWidget* window);
void cmdDown_Click(QWidget* window);
void cmdReflesh_Click(QWidget* window);
void cmdSelectAll_Click(QWidget* window);
void cmdClearAll_Click(QWidget* window);
// The name (mode 3, txtName) and the description (mode 1, meditDescription) in the text editor.
void cmdFont_Click(QWidget* window);
void cmdDescFont_Click(QWidget* window);

} // namespace quorvane::plu
