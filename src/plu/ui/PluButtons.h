#pragma once

class QWidget;

namespace quorvane::plu {

// The PLU list's and editor's command buttons on the window hosting them (see PluHost.h), each running its
// command and showing what it gives. A database failure is shown through ui::tryStep.
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
