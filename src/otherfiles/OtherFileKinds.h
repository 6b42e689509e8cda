#pragma once

#include "plu/PluFieldRules.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

namespace quorvane::otherfiles {

// The ten kinds of record the other-files window edits, in the order the send command queues their files.
struct OtherFileKind {
    const char* table;         // "KVB_3A"
    const char* keyField;      // "No"
    const char* numberControl; // a number box ("txtIngNo") or a list of numbers ("combClerkNo", position + 1)
    const char* nextNumberBox; // nullptr: the kind has no link to a next record
    const char* sendBox;       // "chkIng"
    const char* sendField;     // a row is sent when this field differs from sendEmpty
    const char* sendEmpty;     // " " for texts; "0" for numbers (compared as a number)
    bool numericSendTest;
    int textMode;           // the text editor's mode (13 to 16); 0 for a kind without text
    const char* textButton; // "cmdIng"; nullptr without text
    const char* textBox;    // the first-line box ("txtIngredient"); nullptr without text
    const char* frame;      // the frame holding a schedule's fields; nullptr for the others
    int listNumbers = 0;    // a list of numbers offers 1 to this

    bool numberIsList() const { return QByteArrayView(numberControl).startsWith("comb"); }
    bool isText() const { return textMode != 0; }
};

const QList<OtherFileKind>& otherFileKinds();
// The kind of a table, a number control or a send box; nullptr for none.
const OtherFileKind* kindOf(const QString& tableOrControl);

// How a control shows its stored field.
enum class Form {
    Text,         // as stored (names; the first line of a text)
    Whole,        // a whole number, its digits
    FixedTwo,     // a whole number of hundredths shown with 2 decimals (tax rate)
    Price,        // a whole number shown with the price decimals (new unit price)
    Limit,        // a discount limit: stored integer; the limit type gives its decimals (discLimitText)
    Amount,       // a discount amount: stored integer; the discount type gives its decimals (discAmountText)
    Date,         // day x 10000 + month x 100 + year mod 100, shown as a date of 2000 to 2099
    Time,         // hour x 100 + minute
    DayText,      // a seven-bit day mask, shown as seven "0" and "1", Sunday (64) first
    ListPosition, // a position in a list of listSize entries
    StatusBit,    // a check box for one bit of Status
    PluType,      // the PLU type list: bits 8 and 16 of Status
};

// What a box admits while the operator types (the window's limited edit), and its typing rule.
enum class Typing {
    None,   // not a box
    Number, // digits; a leading 0 before another digit is dropped (a lone 0 stays)
    Amount, // digits; a leading 0 before anything but the decimal sign is dropped
    Days,   // "0" and "1"
    Name,   // any character the code page holds, within maxBytes
};

// One field control of the window.
struct FieldBinding {
    const char* objectName;
    const char* table;
    const char* field; // the stored field
    Form form;
    int listSizeOrBit = 0;   // list entries for a list position; the bit for a status bit
    const char* absent = ""; // shown for a number without a row; "%1" stands for the number, nullptr keeps
    bool whileTyped = false; // shown only while the schedule's type field (Disc_Type, NewUnitPrice) is not 0
    Typing typing = Typing::None;
    int maxChars = 0; // the box's greatest length as it opens
    int maxBytes = 0; // names: their slot in the record
};

const QList<FieldBinding>& fieldBindings();
const FieldBinding* bindingOf(const QString& objectName);
// The bindings of one kind, in table order.
QList<const FieldBinding*> bindingsOf(const OtherFileKind& kind);

// What the window shows of one record: values by objectName (text as QString, a list position as int, a
// check box as bool, a picker as QDate or QTime); a control not named keeps what it shows. For a text kind
// `text` is the stored text block, empty for an absent row or an empty text.
struct ShownRecord {
    bool found = false;
    QVariantMap values;
    QByteArray text;
};

// The record of `number` (the first row of that number in stored order; for a text the first with a
// text), or the shown defaults of a number without a row. The next-number box shows "0" without a row.
// A database failure throws.
ShownRecord showRecord(const OtherFileKind& kind, qint64 number);

// Saves the shown values (and, for a text, the block and the send box in `shown`) through the kind's
// builder. An empty name is saved as the kind's default name first (emptyNameDefault). True when the send
// box must be cleared: no row of the table is left to send. A failure throws and the row stays as it was.
bool saveShown(const OtherFileKind& kind, qint64 number, qint64 next, const ShownRecord& shown);

// The name an empty name box takes on leaving and on every save of its kind: " " for clerks, stock and
// payment keys; "ATX" and the number for a tax of status 0 (included), "VAT" and the number otherwise.
// Empty for a kind without a name, or a name that is not empty.
QString emptyNameDefault(const OtherFileKind& kind, qint64 number, const QVariantMap& values);

// Ticks or clears a send box: marks exactly the rows that pass the kind's test when ticked, unmarks every
// row when cleared, in one statement and one transaction. False when the box must be cleared again: it was
// ticked and no row passes.
bool markForSending(const OtherFileKind& kind, bool ticked);

// The data files of the ticked send boxes, in the kinds' order.
QStringList filesToSend(const QStringList& tickedSendBoxes);

// Typing rules of the boxes, the PLU editor's (plu/PluFieldRules.h): after each change the number rule drops a
// leading "0" of two or more characters, the amount rule one not followed by the decimal sign.
ChangedBox numberTyped(const QString& text);
ChangedBox typedText(const FieldBinding& binding, const QString& text);
// The leading zeros a bound box drops while it is typed: a whole number's or an amount's, none for the others.
ChangeForm typedForm(const FieldBinding& binding);

// Entering an amount box (limits, amounts, new unit price, tax rate), as the PLU editor's boxes are entered: the
// decimal signs are removed and, for a discount amount of D3 or D5, the text is cut to its last four characters;
// the box then takes the length it gives.
FocusedBox enteredAmount(const FieldBinding& binding, const QString& text, int discType);

// Leaving a box: what it shows after the leave rule, before its kind is saved. `values` holds what the
// window shows, by objectName; the box left and the boxes its rule changes are rewritten in it.
// An empty number, next-number, day or amount box becomes "0"; the two limits and the two amounts are kept
// in order; amounts, the tax rate and the new unit price are shown again in their decimals; a name box
// takes its kind's default when empty. `number` is the record's number (the tax default names it).
void leaveField(const FieldBinding& binding, qint64 number, QVariantMap& values);

// The discount types' rule, which fields are open and whether the amounts are percentages, is the PLU editor's
// (discountTypeControls, plu/PluFieldRules.h): one table serves both windows.
// A discount amount as the type shows it: D3 and D5 in hundredths of its last four digits, the others in
// the price decimals.
QString discAmountText(const QString& shown, int type);
// A limit as the limit type shows it: weights in the weight decimals, pieces as a plain number.
QString discLimitText(const QString& shown, int limitType);
// Whether the limits are weights (limit type 0, unit key "Wg" of section SSTab_Symbol), else pieces ("Wpcs").
inline bool limitsAreWeights(int limitType) { return limitType == 0; }

// The integer of a box's digits, its decimal signs removed; an empty box is 0. Text that is not a number
// throws.
qint64 digitsValue(const QString& text);

// The clock of the date-and-time send and of the pickers' "today"; a test sets another.
QDateTime otherFilesNow();
void setOtherFilesClock(std::function<QDateTime()> clock);

// The scale's date and time to send: KVB_4E holds the one record of the clock's present minute.
void saveDateTimeToSend();

} // namespace quorvane::otherfiles
