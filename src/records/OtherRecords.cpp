#include "records/OtherRecords.h"

#include "records/KvbRecords.h"
#include "records/PackedBcd.h"

#include <functional>

namespace quorvane::records {

namespace {

enum class Kind {
    Bcd,   // packed decimal in the slot's width
    Byte,  // one plain byte, 0 to 255
    Text,  // ANSI bytes, zero-filled to the slot's width
    Block, // the bytes as they are, to the end of a record of variable length
};

struct FieldPlace {
    const char* field;
    int first;
    int width;
    Kind kind;
};

struct Layout {
    const char* table;
    int size;                 // 0: the head and the text block
    QList<FieldPlace> fields; // the key first; bytes 4-5 always hold the length
};

QList<FieldPlace> textFields()
{
    return {{"No", 0, 4, Kind::Bcd}, {"NextNo", 6, 4, Kind::Bcd}, {"Name", TextRecordHeadSize, 0, Kind::Block}};
}

QList<FieldPlace> scheduleFields(const char* start, const char* startTime, const char* end, const char* endTime)
{
    return {{"Number", 0, 4, Kind::Bcd},
            {start, 6, 4, Kind::Bcd},
            {startTime, 10, 2, Kind::Bcd},
            {end, 12, 4, Kind::Bcd},
            {endTime, 16, 2, Kind::Bcd}};
}

const QList<Layout>& layouts()
{
    static const QList<Layout> all{
        {"KVB_44", 27, {{"Clerk_No", 3, 1, Kind::Bcd}, {"Name", 6, 20, Kind::Text}, {"Status", 26, 1, Kind::Byte}}},
        {"KVB_A8",
         14,
         {{"Code", 3, 1, Kind::Bcd},
          {"Name", 6, 4, Kind::Text},
          {"Rate", 10, 2, Kind::Bcd},
          {"Status", 12, 1, Kind::Byte}}},
        {"KVB_AC",
         32,
         {{"Number", 3, 1, Kind::Bcd},
          {"Status", 6, 1, Kind::Byte},
          {"Type", 7, 1, Kind::Byte},
          {"Name", 8, 24, Kind::Text}}},
        {"KVB_AD",
         16,
         {{"Number", 3, 1, Kind::Bcd},
          {"Status", 6, 1, Kind::Byte},
          {"Name", 7, 8, Kind::Text},
          {"Reserved", 15, 1, Kind::Byte}}},
        {"KVB_AA", 44,
         scheduleFields("Disc_SDate", "Disc_STime", "Disc_EDate", "Disc_ETime")
             + QList<FieldPlace>{{"Disc_LimitType", 18, 1, Kind::Byte},
                                 {"Disc_1stLim", 22, 4, Kind::Bcd},
                                 {"Disc_Within1stL", 26, 4, Kind::Bcd},
                                 {"Disc_2ndLim", 30, 4, Kind::Bcd},
                                 {"Disc_Within2ndL", 34, 4, Kind::Bcd},
                                 {"Disc_Type", 38, 1, Kind::Byte},
                                 {"DisDayOfWeek", 39, 1, Kind::Byte},
                                 {"NextNumber", 40, 4, Kind::Bcd}}},
        {"KVB_AB", 28,
         scheduleFields("Price_SDate", "Price_STime", "Price_EDate", "Price_ETime")
             + QList<FieldPlace>{{"PriceDayOfWeek", 18, 1, Kind::Byte},
                                 {"NewUnitPrice", 20, 4, Kind::Bcd},
                                 {"NextNumber", 24, 4, Kind::Bcd}}},
        {"KVB_3A", 0, textFields()},
        {"KVB_3B", 0, textFields()},
        {"KVB_3C", 0, textFields()},
        {"KVB_3D", 0, textFields()},
    };
    return all;
}

const Layout* layoutOf(const QString& table)
{
    for (const Layout& l : layouts())
        if (table.compare(QLatin1String(l.table), Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

using FieldValue = std::function<QVariant(const QString& field)>;

void putField(QByteArray& rec, const FieldPlace& p, const QVariant& v)
{
    switch (p.kind) {
    case Kind::Bcd:
        PackedBcd(rec, p.first, v.toLongLong(), p.width);
        break;
    case Kind::Byte: {
        const qint64 n = v.toLongLong();
        if (n < 0 || n > 255)
            throw CodecError(QStringLiteral("%1 does not fit in one byte.").arg(n));
        rec[p.first] = char(n);
        break;
    }
    case Kind::Text:
        PutTextBytes(rec, v.toString(), p.first, p.first + p.width - 1);
        break;
    case Kind::Block: {
        const QByteArray block = v.toByteArray();
        if (block.size() > MaxTextBlockSize)
            throw CodecError(QStringLiteral("The text of %1 bytes is longer than the %2 bytes a record holds.")
                                 .arg(block.size())
                                 .arg(MaxTextBlockSize));
        rec += block;
        break;
    }
    }
}

QByteArray build(const QString& table, const FieldValue& value, QStringList* problems)
{
    const Layout* l = layoutOf(table);
    if (!l)
        return QByteArray();
    QByteArray rec(l->size ? l->size : TextRecordHeadSize, '\0');
    for (const FieldPlace& p : l->fields) {
        const QString name = QLatin1String(p.field);
        try {
            putField(rec, p, value(name));
        } catch (const CodecError& e) {
            // The slot was left as it was, all zeros: what a value that cannot be carried becomes.
            const QString why = name + QStringLiteral(": ") + e.message();
            if (!problems)
                throw CodecError(why);
            problems->append(why);
        }
    }
    ReverseCopy(rec, 4, quint32(rec.size()), 2);
    return rec;
}

} // namespace

bool isOtherRecordTable(const QString& table) { return layoutOf(table) != nullptr; }

int otherRecordSize(const QString& table)
{
    const Layout* l = layoutOf(table);
    return l ? l->size : 0;
}

QString otherRecordKeyField(const QString& table)
{
    const Layout* l = layoutOf(table);
    return l ? QLatin1String(l->fields.first().field) : QString();
}

QByteArray KvbOtherRecord(const QString& table, const db::Recordset& row, QStringList* problems)
{
    return build(
        table, [&row](const QString& field) { return row.value(field); }, problems);
}

QByteArray KvbOtherRecord(const QString& table, const QVariantMap& values, QStringList* problems)
{
    return build(
        table, [&values](const QString& field) { return values.value(field); }, problems);
}

bool otherRecordFitsRow(const QString& table, const QByteArray& record, const db::Recordset& row)
{
    const Layout* l = layoutOf(table);
    if (!l)
        return false;
    const auto header = KvbRecordHeader::read(record);
    if (!header || header->length != record.size()
        || (l->size ? record.size() != l->size : record.size() < TextRecordHeadSize))
        return false;
    // A one-byte key stands after three zero bytes, so bytes 0-3 read as the same number.
    return header->key && qint64(*header->key) == row.intValue(QLatin1String(l->fields.first().field));
}

int dayMaskFromText(const QString& days)
{
    if (days.isEmpty() || days.size() > 7)
        throw CodecError(QStringLiteral("The days of the week \"%1\" are not 1 to 7 places.").arg(days));
    int mask = 0;
    for (const QChar c : days) {
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            throw CodecError(QStringLiteral("The days of the week \"%1\" hold more than 0 and 1.").arg(days));
        mask = mask * 2 + (c == QLatin1Char('1'));
    }
    return mask;
}

QByteArray KvbDateTimeRecord(const QDateTime& when)
{
    QByteArray rec(14, '\0');
    rec[3] = char(0xFF);
    ReverseCopy(rec, 4, quint32(rec.size()), 2);
    const QDate d = when.date();
    const QTime t = when.time();
    PackedBcd(rec, 7, d.day(), 1);
    PackedBcd(rec, 8, d.month(), 1);
    PackedBcd(rec, 9, d.year() % 100, 1);
    PackedBcd(rec, 12, t.hour(), 1);
    PackedBcd(rec, 13, t.minute(), 1);
    return rec;
}

} // namespace quorvane::records
