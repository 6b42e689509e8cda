#pragma once

class QWidget;

namespace quorvane::plu {

// The handlers of the editor's controls on the window hosting the PLU list and editor (their rows in PluPanel.cpp):
// each reads the editor's values, runs its rule (PluFieldRules.h) and sets again only the controls whose values
// the rule changed. A database failure is shown through ui::tryStep.

void chkWeighed_Click(QWidget* window);
void combMemDiscType_Click(QWidget* window);
void combDiscType_Click(QWidget* window);
void combBarcodeFormat_Click(QWidget* window);
// The bar-format boxes for the chosen bar format.
void SetBarcodeFlagControls(QWidget* window);

// The editor boxes' input rules (PluFieldRules.h), for every box with a rule: the limit on getting the focus, the
// leading zeros dropped while it is typed, the checks and the changed flag on leaving; and the other controls'
// comparisons on leaving (pluControlLostFocus).
void editorBox_GotFocus(QWidget* window, QWidget* control);
void editorBox_Change(QWidget* window, QWidget* control);
void editorBox_LostFocus(QWidget* window, QWidget* control);
void editorControl_LostFocus(QWidget* window, QWidget* control);

} // namespace quorvane::plu
