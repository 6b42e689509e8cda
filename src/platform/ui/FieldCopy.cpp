#include "platform/ui/FieldCopy.h"

#include "platform/ui/ValueSetters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>

namespace quorvane::ui {

namespace {

// What a picker showed when it was given no date or time; gone once it is given a valid one.
constexpr const char* kKeptAt = "quorvaneKeptAt";

bool isTimePicker(const QDateTimeEdit* picker)
{
    return !(picker->displayedSections() & QDateTimeEdit::DateSections_Mask);
}

} // namespace

void showField(QWidget* widget, const QVariant& shown, const fields::Format& format)
{
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        setText(box, shown.toString());
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        setListIndex(list, shown.toInt());
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        setChecked(check, shown.toBool());
    } else if (auto* picker = qobject_cast<QDateTimeEdit*>(widget)) {
        const bool time = shown.metaType().id() == QMetaType::QTime || isTimePicker(picker);
        const QString& display = time ? format.timeFormat : format.dateFormat;
        if (!display.isEmpty())
            picker->setDisplayFormat(display);
        const bool valid = time ? shown.toTime().isValid() : shown.toDate().isValid();
        if (!valid) {
            picker->setProperty(kKeptAt, picker->dateTime());
        } else {
            picker->setProperty(kKeptAt, QVariant());
            if (time)
                setTime(picker, shown.toTime());
            else
                setDate(picker, shown.toDate());
        }
    }
}

QVariant fieldShown(const QWidget* widget)
{
    if (const auto* box = qobject_cast<const QLineEdit*>(widget))
        return box->text();
    if (const auto* list = qobject_cast<const QComboBox*>(widget))
        return list->currentIndex();
    if (const auto* check = qobject_cast<const QCheckBox*>(widget))
        return check->isChecked();
    if (const auto* picker = qobject_cast<const QDateTimeEdit*>(widget)) {
        const bool time = isTimePicker(picker);
        const QVariant kept = picker->property(kKeptAt);
        if (kept.isValid() && kept.toDateTime() == picker->dateTime())
            return time ? QVariant(QTime()) : QVariant(QDate());
        return time ? QVariant(picker->time()) : QVariant(picker->date());
    }
    return QVariant();
}

} // namespace quorvane::ui
