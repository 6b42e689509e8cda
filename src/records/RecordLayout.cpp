#include "records/RecordLayout.h"

#include "records/KvbRecords.h"

namespace quorvane::records {

namespace {

void putSlot(QByteArray& rec, const FieldSlot& slot, const QVariant& v)
{
    switch (slot.kind) {
    case SlotKind::Bcd:
        PackedBcd(rec, slot.first, v.toLongLong(), slot.width);
        break;
    case SlotKind::Byte: {
        const qint64 n = v.toLongLong();
        if (n < 0 || n > 255)
            throw CodecError(QStringLiteral("%1 does not fit in one byte.").arg(n));
        rec[slot.first] = char(n);
        break;
    }
    case SlotKind::Text:
        PutTextBytes(rec, v.toString(), slot.first, slot.first + slot.width - 1);
        break;
    case SlotKind::Block: {
        const QByteArray block = v.toByteArray();
        // The length in bytes 4-5 holds at most 65,535, the head included.
        const int most = 0xFFFF - slot.first;
        if (block.size() > most)
            throw CodecError(QStringLiteral("The text of %1 bytes is longer than the %2 bytes a record holds.")
                                 .arg(block.size())
                                 .arg(most));
        rec += block;
        break;
    }
    }
}

} // namespace

const RecordLayout* findLayout(const QList<RecordLayout>& layouts, const QString& table)
{
    for (const RecordLayout& l : layouts)
        if (table.compare(QLatin1String(l.table), Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

QByteArray buildRecord(const RecordLayout& layout, const SlotValue& value, const SlotFailure& failed)
{
    QByteArray rec(layout.headSize(), '\0');
    for (const FieldSlot& slot : layout.fields) {
        try {
            putSlot(rec, slot, value(slot));
        } catch (const CodecError& e) {
            failed(rec, slot, e);
        }
    }
    ReverseCopy(rec, 4, quint32(rec.size()), 2);
    return rec;
}

bool recordFitsRow(const RecordLayout& layout, const QByteArray& record, const db::Recordset& row)
{
    const auto header = KvbRecordHeader::read(record);
    if (!header || header->length != record.size()
        || (layout.size ? record.size() != layout.size : record.size() < layout.headSize()))
        return false;
    // A one-byte key stands after three zero bytes, so bytes 0-3 read as the same number.
    return header->key && qint64(*header->key) == row.intValue(layout.keyField());
}

} // namespace quorvane::records
