#pragma once

#include "plu/PluBinding.h"
#include "plu/PluEditorValues.h"
#include "plu/PluFieldRules.h"
#include "plu/PluTabs.h"

class QPushButton;
class QWidget;

namespace quorvane::plu {

// The PLU editor's controls on the window, copied to and from the rules' plain values. Every value is set through
// the value setters, so each control's handler runs once per copy; chkWeighed before the unit list, the lists
// before the boxes, the bar-format boxes' limits before their texts.
PluEditorValues editorValues(QWidget* window);
void showEditorValues(QWidget* window, const PluEditorValues& tab);
void showUnitLabels(QWidget* window, const UnitLabels& units);
void showBarcodeControls(QWidget* window, const records::BarcodeControls& barcode);
// What ApplyPLUEditorCaptions gives besides the values: captions, list entries, limits, disabled controls. The
// bar-format boxes' limits are the editor's too, so `tab` keeps them.
void showEditorCaptions(QWidget* window, const PluEditorCaptions& captions, PluEditorValues& tab);
// The same without the captions of the window's editor table: for a window that took the panel's rows in part.
void showEditorSetUp(QWidget* window, const PluEditorCaptions& captions, PluEditorValues& tab);
// After a rule changed `after` from `before`: only the controls whose values differ are set (so only their
// handlers run).
void showChangedValues(QWidget* window, PluEditorValues& before, PluEditorValues& after);
// What the discount type enables and shows on page 3.
void showDiscountControls(QWidget* window, const DiscountTypeControls& controls);
// The four member-discount percent labels shown or hidden.
void showMemberPercent(QWidget* window, bool percent);

// Makes the grid's row (1 for the first PLU) current, selected across; a row the grid lacks changes nothing.
void selectGridRow(QWidget* window, int row);

// Enables or disables a PLU button or menu entry of the window hosting the editor, by objectName; a name of which the
// window has neither stops.
void enableCommand(QWidget* window, const QString& objectName, bool enabled);
// A PLU button of that window, by objectName; a name it lacks stops.
QPushButton* pluButton(QWidget* window, const QString& objectName);

// The rules' questions answered by the window: message boxes, the grid's row, the number box.
class WindowHost : public PluEditorHost {
public:
    explicit WindowHost(QWidget* window) : m_window(window) { }

    void commitFocusedField() override;
    PluEditorValues editorValues() override;
    PluAnswer ask(const QString& text) override;
    PluAnswer askSaveChanges() override;
    void showError(const QString& text) override;
    int gridCurrentRow() override;
    void refusePLUNumber(qint32 number, bool gridBack) override;
    void setEditModeButtons() override;
    void refreshPLUList() override;

private:
    QWidget* m_window;
};

} // namespace quorvane::plu
