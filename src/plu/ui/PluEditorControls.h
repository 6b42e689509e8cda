#pragma once

#include "plu/PluEditorSetUp.h"
#include "plu/PluEditorValues.h"
#include "plu/PluFieldRules.h"

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

// The editor's labels and lists in the current language; its inputs back to an empty weighed PLU.
void ApplyPLUEditorCaptions(QWidget* window);

} // namespace quorvane::plu
