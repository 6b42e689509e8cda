#pragma once

#include "otherfiles/OtherFileKinds.h"
#include "platform/LeadingZero.h"
#include "settings/FieldKinds.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

namespace quorvane::otherfiles {

// The other-files window's display rule, where it shows a stored value otherwise than the PLU editor: a time of 0
// shows as 00:00 and a day mask of 0 as "0000000" (fields::ZeroShown).
constexpr fields::ZeroShown kOtherFilesZero = fields::ZeroShown::Full;

// Where an amount box takes its decimals: its row's `decimals`, or the schedule's limit type or discount type
// (discLimitText, discAmountText), which also keep it in order with its pair.
enum class DecimalsBy { Row, LimitType, DiscountType };

// The window's own columns of its field table.
struct BindingColumns {
    const char* table = nullptr; // the kind whose record the control shows
    int bits = 0;                // a part of the field: these bits of it, shifted down (Status's check boxes and lists)
    int listSize = 0;            // a list's entries: a stored position outside them shows the first
    const char* absent = "";     // a name shown for a number without a row; "%1" stands for the number
    bool whileTyped = false;     // shown only while the schedule's type field (Disc_Type, NewUnitPrice) is not 0
    int maxBytes = 0;            // names: their slot in the record
    DecimalsBy decimalsBy = DecimalsBy::Row;
    ChangeForm change = ChangeForm::None; // the box's typing rule: the leading zeros it drops while typed
};

// The other-files window's field table (settings/FieldKinds.h): a row per field control, its field named as the
// table spells it. A box takes what its kind admits (digits for Whole and Amount, 0 and 1 for a DayMask, the
// record's bytes for a name) and `maxChars` characters; a box without maxChars only shows (a text's first line).
using FieldBinding = fields::FieldRow<const char*, BindingColumns>;

const FieldBinding* bindingOf(const QString& objectName);
// The bindings of one kind, in table order.
QList<const FieldBinding*> bindingsOf(const OtherFileKind& kind);

inline bool isTyped(const FieldBinding& b) { return b.maxChars > 0; }
inline bool isName(const FieldBinding& b) { return b.kind == fields::Kind::Text && b.extra.maxBytes > 0; }

// What the window shows of one record: values by objectName (text as QString, a list position as int, a
// check box as bool, a picker as QDate or QTime); a control not named keeps what it shows. For a text kind
// `text` is the stored text block, empty for an absent row or an empty text.
struct ShownRecord {
    bool found = false;
    QVariantMap values;
    QByteArray text;
};

// The record of `number` (the first row of that number in stored order; for a text the first with a text), by the
// window's display rule. A number without a row shows its names' defaults (`absent`), today's date and 0 for the
// rest (times none, day masks "0"). A database failure throws.
ShownRecord showRecord(const OtherFileKind& kind, qint64 number);

// Saves the shown values (and, for a text, the block and the send box in `shown`) through the kind's
// builder. An empty name is saved as the kind's default name first (emptyNameDefault). True when the send
// box must be cleared: no row of the table is left to send. A failure throws and the row stays as it was.
bool saveShown(const OtherFileKind& kind, qint64 number, qint64 next, const ShownRecord& shown);

// The name an empty name box takes on leaving and on every save of its kind: " " for clerks, stock and
// payment keys; "ATX" and the number for a tax of status 0 (included), "VAT" and the number otherwise.
// Empty for a kind without a name, or a name that is not empty.
QString emptyNameDefault(const OtherFileKind& kind, qint64 number, const QVariantMap& values);

} // namespace quorvane::otherfiles
