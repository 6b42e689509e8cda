#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane::otherfiles {

// The ten kinds of record the other-files window edits, in the order the send command queues their files. Their
// fields are bound in OtherFileFields.h, their boxes typed and left by OtherFileBoxes.h.
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

// Ticks or clears a send box: marks exactly the rows that pass the kind's test when ticked, unmarks every
// row when cleared, in one statement and one transaction. False when the box must be cleared again: it was
// ticked and no row passes.
bool markForSending(const OtherFileKind& kind, bool ticked);

// The data files of the ticked send boxes, in the kinds' order.
QStringList filesToSend(const QStringList& tickedSendBoxes);

// The clock of the date-and-time send and of the pickers' "today"; a test sets another.
QDateTime otherFilesNow();
void setOtherFilesClock(std::function<QDateTime()> clock);

// The scale's date and time to send: KVB_4E holds the one record of the clock's present minute.
void saveDateTimeToSend();

} // namespace quorvane::otherfiles
