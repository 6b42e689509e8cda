#include "records/KvbRecords.h"

#include "platform/events/EventPump.h"
#include "platform/text/Ansi.h"
#include "records/PackedBcd.h"
#include "records/RecordLayout.h"
#include "records/ScaleRecordDumps.h"
#include "state/SharedData.h"

namespace quorvane::records {

namespace {

// Bytes 4-5 hold the size; the one plain byte, FBar_CD, is the flags byte of a flexible barcode.
const QList<RecordLayout>& layouts()
{
    static const QList<RecordLayout> all{
        {"KVB_20", 22, {{"DP_No", 0, 4, SlotKind::Bcd}, {"DP_Name", 6, 16, SlotKind::Text}}},
        {"KVB_23",
         30,
         {{"MG_No", 0, 4, SlotKind::Bcd},
          {"DP_No", 6, 4, SlotKind::Bcd},
          {"MG_Name", 10, 16, SlotKind::Text},
          {"Tax_No", 26, 4, SlotKind::Bcd}}},
        {"KVB_14",
         16,
         {{"FBar_No", 0, 4, SlotKind::Bcd},
          {"FBar_Type", 6, 1, SlotKind::Bcd},
          {"FBar_ItemDigitNo", 7, 1, SlotKind::Bcd},
          {"FBar_Data1", 8, 1, SlotKind::Bcd},
          {"FBar_Data2", 9, 1, SlotKind::Bcd},
          {"FBar_FBarDigitNo", 10, 1, SlotKind::Bcd},
          {"FBar_CD", 11, 1, SlotKind::Byte},
          {"FBar_Data1Type", 12, 1, SlotKind::Bcd},
          {"FBar_Data2Type", 13, 1, SlotKind::Bcd},
          {"FBar_Data1SH", 14, 1, SlotKind::Bcd},
          {"FBar_Data2SH", 15, 1, SlotKind::Bcd}}},
    };
    return all;
}

const RecordLayout* layoutOf(const QString& table) { return findLayout(layouts(), table); }

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The number a field puts into the record: 0 to its greatest value (a plain byte for the flags).
qint64 fieldNumber(const db::Recordset& row, const FieldSlot& p, bool composeFlags)
{
    const QString name = QLatin1String(p.field);
    qint64 v = row.intValue(name);
    qint64 max = packedBcdMax(p.width);
    if (p.kind == SlotKind::Byte) {
        if (composeFlags)
            v = row.intValue(QStringLiteral("FBar_EANorITF")) * 128 + v % 128;
        max = 255;
    }
    if (v < 0 || v > max)
        throw CodecError(QStringLiteral("%1 %2 does not fit in its %3-byte field.").arg(name).arg(v).arg(p.width));
    return v;
}

QByteArray fitText(const QString& text, int width, bool* ok)
{
    QByteArray bytes = text::toAnsi(text, ok);
    if (bytes.size() <= width)
        return bytes;
    // Character by character, so a double-byte character is never cut in half.
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray one = text::toAnsi(text.mid(i, n));
        if (out.size() + one.size() > width)
            break;
        out += one;
        i += n;
    }
    return out;
}

} // namespace

int kvbRecordSize(const QString& table)
{
    const RecordLayout* l = layoutOf(table);
    return l ? l->size : 0;
}

QString kvbRecordKeyField(const QString& table)
{
    const RecordLayout* l = layoutOf(table);
    return l ? l->keyField() : QString();
}

void PutHexPairs(QByteArray& buffer, const QString& digits, int first, int last)
{
    const int w = last - first + 1;
    if (first < 0 || w < 1 || last >= buffer.size())
        throw CodecError(QStringLiteral("Bytes %1 to %2 lie outside the record.").arg(first).arg(last));
    const QString d = digits.size() < 2 * w ? QString(2 * w - digits.size(), QLatin1Char('0')) + digits : digits;
    for (int j = 0; j < w; ++j) {
        const int hi = hexValue(d[2 * j]), lo = hexValue(d[2 * j + 1]);
        if (hi < 0 || lo < 0)
            throw CodecError(QStringLiteral("\"%1\" is not hexadecimal digits.").arg(digits));
        buffer[first + j] = char(hi << 4 | lo);
    }
}

void PutTextBytes(QByteArray& buffer, const QString& text, int first, int last)
{
    const int w = last - first + 1;
    if (first < 0 || w < 1 || last >= buffer.size())
        throw CodecError(QStringLiteral("Bytes %1 to %2 lie outside the record.").arg(first).arg(last));
    bool ok = true;
    const QByteArray bytes = fitText(text, w, &ok);
    if (!ok)
        throw CodecError(
            QStringLiteral("\"%1\" holds a character that code page %2 cannot store.").arg(text, text::ansiCodePage()));
    for (int i = 0; i < w; ++i)
        buffer[first + i] = i < bytes.size() ? bytes[i] : '\0';
}

QByteArray buildKvbRecord(const QString& table, const db::Recordset& row, QStringList* problems, bool composeFlags)
{
    const RecordLayout* l = layoutOf(table);
    if (!l)
        return QByteArray();
    return buildRecord(
        *l,
        [&](const FieldSlot& p) {
            return p.kind == SlotKind::Text ? QVariant(row.textValue(QLatin1String(p.field)))
                                            : QVariant(fieldNumber(row, p, composeFlags));
        },
        [&](QByteArray& rec, const FieldSlot& p, const CodecError& e) {
            if (!problems)
                throw; // the CodecError as it came
            problems->append(e.message());
            // A name goes in as the code page gives it.
            if (p.kind == SlotKind::Text) {
                const QByteArray bytes = fitText(row.textValue(QLatin1String(p.field)), p.width, nullptr);
                rec.replace(p.first, int(bytes.size()), bytes);
            }
        });
}

void EncodeKVBRecord(const QString& table)
{
    const QByteArray rec = buildKvbRecord(table, gRsWork);
    if (!rec.isEmpty())
        gRsWork.setValue(QStringLiteral("KVBBinData"), rec);
}

bool kvbRecordFitsRow(const QString& table, const QByteArray& record, const db::Recordset& row)
{
    const RecordLayout* l = layoutOf(table);
    return l && recordFitsRow(*l, record, row);
}

bool DecodeKVBRecords(const QString& table, QString* error)
{
    const RecordLayout* l = layoutOf(table);
    if (!l)
        return true;
    try {
        db::Transaction tx(gDBConnection);
        gRsWork.openTable(QLatin1String(l->table));
        EventPump pump;
        for (; !gRsWork.eof(); gRsWork.moveNext()) {
            pump();
            const QVariant v = gRsWork.value(QStringLiteral("KVBBinData"));
            if (v.typeId() != QMetaType::QByteArray)
                continue;
            const QByteArray rec = v.toByteArray();
            if (rec.size() != l->size)
                continue;
            // All fields or none: a record that is not packed decimal leaves the row as the text reload made it.
            QList<QPair<QString, QVariant>> values;
            bool whole = true;
            for (const FieldSlot& p : l->fields) {
                if (p.kind == SlotKind::Text) {
                    QByteArray bytes = rec.mid(p.first, p.width);
                    const qsizetype nul = bytes.indexOf('\0');
                    if (nul >= 0)
                        bytes.truncate(nul);
                    values.append({QLatin1String(p.field), text::fromAnsi(bytes)});
                } else if (p.kind == SlotKind::Byte) {
                    const int b = quint8(rec[p.first]);
                    values.append({QLatin1String(p.field), b % 128});
                    values.append({QStringLiteral("FBar_EANorITF"), b / 128});
                } else {
                    const auto n = ReadPackedBcd(rec, p.first, p.width);
                    if (!n) {
                        whole = false;
                        break;
                    }
                    values.append({QLatin1String(p.field), qlonglong(*n)});
                }
            }
            if (!whole)
                continue;
            for (const auto& [name, value] : std::as_const(values))
                gRsWork.setValue(name, value);
            gRsWork.update();
        }
        gRsWork.close();
        tx.commit();
    } catch (const db::DbError& e) {
        gRsWork.close();
        if (error)
            *error = QStringLiteral("The records of %1 cannot be read back: %2").arg(table, e.message());
        return false;
    }
    return true;
}

} // namespace quorvane::records
