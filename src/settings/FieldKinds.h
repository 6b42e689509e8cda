#pragma once

#include "platform/Error.h"
#include "platform/FieldFormat.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

#include <optional>

namespace quorvane::fields {

// The field tables: one table per record shown in a window, a row per control, saying how the record's field is
// shown in the control and taken back from it. The rules copy through the table in a loop, so a window's controls
// and its record's fields are listed once. A table is declared as data beside its editor's rules:
//
//   // plu/PluFields.h: a row of the common form with the PLU's own column, its accepted range.
//   struct PluColumns { qint64 min = 0, max = 0; };
//   using PluField = fields::FieldRow<records::plu::Field, PluColumns, EditorPlace>;
//   // plu/PluFields.cpp
//   using enum fields::Kind;
//   const QList<PluField> kPluFields{
//       {.control = "meditPLU", .field = f::PLU_No, .kind = Whole, .write = Always, .maxChars = 6, .focusLimit = 6,
//        .extra = {1, 999999}, .value = at<&E::meditPLU>},
//       {.control = "meditUPrice", .field = f::PLU_UPrice, .kind = Amount, .decimals = PriceDecimals,
//        .flag = f::Stat2_... , .extra = {0, 999999}, .value = at<&E::meditUPrice>},
//   };
//
// Another table takes another Field type and its own columns (the other-files window its fields by name, their
// tables and parts of Status: otherfiles/OtherFileFields.h), never a second list of its boxes.

// A text that is no whole number its field can hold; its message is gLangMsg's inputErr.
class FieldError : public Error {
public:
    using Error::Error;
};

// How a field is shown: the one vocabulary of the field tables, the other-files window's bindings and the PLU
// import and export. Where boxes of one kind type differently, their row says how (its ChangeForm,
// platform/LeadingZero.h); where windows show one stored value differently, the window's ZeroShown below.
enum class Kind {
    Text,         // the text as it stands
    ItemCode,     // digits kept as text, leading zeros included; shown as Text
    Whole,        // a whole number
    Amount,       // a whole number of smallest units, shown with `decimals` decimals and the decimal sign
    Date,         // DDMMYY (day x 10000 + month x 100 + year mod 100) in a date picker; 0 is no date
    Time,         // HHMM in a time picker; 0 is no time (see ZeroShown)
    DayMask,      // seven places of 0 and 1, bit 6 first; a mask of 0 shows "0" (see ZeroShown)
    ListPosition, // the position in a list
    StatusBit,    // 1 or 0 in a check box
    CheckBox,     // a check box whose checked state is the field being 0 (the negated status bit)
};

// A window's display rule for a stored 0 of a time or a day mask, the values windows show differently. The PLU
// editor and the received PLU's view show no time (the picker keeps what it shows) and "0"; the other-files window
// shows 00:00 and "0000000". The one reader of each kind applies it; a window names its rule once.
enum class ZeroShown {
    Short, // no time, "0"
    Full,  // 00:00, "0000000"
};

// When a number box's text is written back: always (an empty box writes 0) or only when it is not empty.
enum class Write { Always, NotEmpty };

// What a shown value depends on beyond its row (platform/FieldFormat.h); currentFormat() reads it from the
// settings, tests give their own.
Format currentFormat();

// A row of a field table: the common columns, then the table's own (`extra`, a struct of its own), then where its
// editor's values hold the control's value (`value`; a table whose editor needs none leaves it NoColumns). A place
// type without a default makes `value` a column every row must fill.
struct NoColumns { };
template<class Field, class Columns = NoColumns, class Place = NoColumns> struct FieldRow {
    const char* control = nullptr; // objectName, "meditMemDisc(1)" for an array element
    Field field{};
    Kind kind = Kind::Text;
    int decimals = 0; // Amount: a count, PriceDecimals or WeightDecimals
    Write write = Write::NotEmpty;
    int maxChars = 0;            // characters the box takes as its editor opens and while it is not focused; 0 none
    int focusLimit = 0;          // characters the box takes while it has the focus; 0 none
    std::optional<Field> flag{}; // the status bit set when the field is greater than 0
    Columns extra{};
    Place value{};
};

// What a control shows: text for boxes, a position for lists, a check state, a date or a time. A Date or Time that
// is no date or time is an invalid QDate or QTime: the control keeps what it shows.
using Shown = QVariant;

// Stored value to shown value, by kind, a 0 by the window's rule.
Shown shownValue(Kind kind, int decimals, const QVariant& stored, const Format& format,
                 ZeroShown zero = ZeroShown::Short);
// Shown value back to the stored value; nothing for an empty text with Write::NotEmpty. Throws FieldError for a
// text that is no whole number the field can hold.
std::optional<qint64> storedValue(Kind kind, int decimals, const Shown& shown, Write write, const Format& format);

// DDMMYY and HHMM, both ways; 0 (a time of 0 by the rule) and any value that is no date or time give an invalid
// QDate or QTime, which writes back as 0.
QDate dateOf(qint64 ddmmyy);
QTime timeOf(qint64 hhmm, ZeroShown zero = ZeroShown::Short);
qint64 ddmmyyOf(const QDate& date);
qint64 hhmmOf(const QTime& time);
QString dayMaskText(qint64 mask, ZeroShown zero = ZeroShown::Short);

} // namespace quorvane::fields
