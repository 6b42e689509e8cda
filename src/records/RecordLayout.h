#pragma once

#include "platform/db/Recordset.h"
#include "records/PackedBcd.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

namespace quorvane::records {

// The records built from a table's fields, each field in its slot after the head: the key as packed
// decimal in bytes 0-3, the record's length in bytes 4-5.

enum class SlotKind {
    Bcd,   // packed decimal in the slot's width
    Byte,  // one plain byte, 0 to 255
    Text,  // ANSI bytes, zero-filled to the slot's width
    Block, // the bytes as they are, to the end of a record of variable length
};

struct FieldSlot {
    const char* field;
    int first;
    int width;
    SlotKind kind;
};

struct RecordLayout {
    const char* table;
    int size;                // 0: a record of variable length, the head and then the block
    QList<FieldSlot> fields; // the key first; a block last

    QString keyField() const { return QLatin1String(fields.first().field); }
    // The size of a record of fixed size, or what stands before the block of one of variable length.
    int headSize() const { return size ? size : fields.last().first; }
};

// The layout of the table among `layouts`, whatever the letter case of its name; nullptr for none.
const RecordLayout* findLayout(const QList<RecordLayout>& layouts, const QString& table);

// The value of a slot, read from the row.
using SlotValue = std::function<QVariant(const FieldSlot& slot)>;
// Told of a slot whose value the record cannot carry, from inside the handler of that CodecError (so a
// bare `throw;` passes it on); the slot stands as it was, all zeros, and may be filled in.
using SlotFailure = std::function<void(QByteArray& record, const FieldSlot& slot, const CodecError& error)>;

// The record of the layout, each slot filled with its value. A value the slot cannot carry (a negative
// number, more digits than the slot holds, a plain byte above 255, a block longer than the length in bytes
// 4-5 can count, a text with a character the code page cannot hold) goes to `failed`.
QByteArray buildRecord(const RecordLayout& layout, const SlotValue& value, const SlotFailure& failed);

// Whether `record` is a whole record of the layout for `row`: its size (one of variable length: at least its
// head), the length it carries and its key.
bool recordFitsRow(const RecordLayout& layout, const QByteArray& record, const db::Recordset& row);

} // namespace quorvane::records
