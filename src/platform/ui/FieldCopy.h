#pragma once

#include "platform/FieldFormat.h"

#include <QVariant>

class QWidget;

namespace quorvane::ui {

// The copies between a field row's shown value (settings/FieldKinds.h: text, list position, check state, date,
// time) and its widget: a line edit's text, a combo box's position, a check box's state, a date or time picker.
// Values go in through the value setters, so the control's handler runs once per copy.
//
//   const fields::Format format = fields::currentFormat();
//   ui::showField(box, fields::shownValue(row.kind, row.decimals, stored, format), format);
//   const auto value = fields::storedValue(row.kind, row.decimals, ui::fieldShown(box), row.write, format);
//
// A date or time that is no date or time (an invalid QDate or QTime) leaves the picker showing what it shows, and
// until the operator changes it, fieldShown() answers no date (or time) for it: a field the operator did not touch
// is written back as stored. The pickers take the format's display format; an empty one keeps theirs.
void showField(QWidget* widget, const QVariant& shown, const fields::Format& format);
QVariant fieldShown(const QWidget* widget);

} // namespace quorvane::ui
