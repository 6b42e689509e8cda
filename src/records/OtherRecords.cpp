#include "records/OtherRecords.h"

#include "records/PackedBcd.h"
#include "records/RecordLayout.h"

namespace quorvane::records {

namespace {

QList<FieldSlot> textFields()
{
    return {
        {"No", 0, 4, SlotKind::Bcd}, {"NextNo", 6, 4, SlotKind::Bcd}, {"Name", TextRecordHeadSize, 0, SlotKind::Block}};
}

QList<FieldSlot> scheduleFields(const char* start, const char* startTime, const char* end, const char* endTime)
{
    return {{"Number", 0, 4, SlotKind::Bcd},
            {start, 6, 4, SlotKind::Bcd},
            {startTime, 10, 2, SlotKind::Bcd},
            {end, 12, 4, SlotKind::Bcd},
            {endTime, 16, 2, SlotKind::Bcd}};
}

const QList<RecordLayout>& layouts()
{
    static const QList<RecordLayout> all{
        {"KVB_44",
         27,
         {{"Clerk_No", 3, 1, SlotKind::Bcd}, {"Name", 6, 20, SlotKind::Text}, {"Status", 26, 1, SlotKind::Byte}}},
        {"KVB_A8",
         14,
         {{"Code", 3, 1, SlotKind::Bcd},
          {"Name", 6, 4, SlotKind::Text},
          {"Rate", 10, 2, SlotKind::Bcd},
          {"Status", 12, 1, SlotKind::Byte}}},
        {"KVB_AC",
         32,
         {{"Number", 3, 1, SlotKind::Bcd},
          {"Status", 6, 1, SlotKind::Byte},
          {"Type", 7, 1, SlotKind::Byte},
          {"Name", 8, 24, SlotKind::Text}}},
        {"KVB_AD",
         16,
         {{"Number", 3, 1, SlotKind::Bcd},
          {"Status", 6, 1, SlotKind::Byte},
          {"Name", 7, 8, SlotKind::Text},
          {"Reserved", 15, 1, SlotKind::Byte}}},
        {"KVB_AA", 44,
         scheduleFields("Disc_SDate", "Disc_STime", "Disc_EDate", "Disc_ETime")
             + QList<FieldSlot>{{"Disc_LimitType", 18, 1, SlotKind::Byte},
                                {"Disc_1stLim", 22, 4, SlotKind::Bcd},
                                {"Disc_Within1stL", 26, 4, SlotKind::Bcd},
                                {"Disc_2ndLim", 30, 4, SlotKind::Bcd},
                                {"Disc_Within2ndL", 34, 4, SlotKind::Bcd},
                                {"Disc_Type", 38, 1, SlotKind::Byte},
                                {"DisDayOfWeek", 39, 1, SlotKind::Byte},
                                {"NextNumber", 40, 4, SlotKind::Bcd}}},
        {"KVB_AB", 28,
         scheduleFields("Price_SDate", "Price_STime", "Price_EDate", "Price_ETime")
             + QList<FieldSlot>{{"PriceDayOfWeek", 18, 1, SlotKind::Byte},
                                {"NewUnitPrice", 20, 4, SlotKind::Bcd},
                                {"NextNumber", 24, 4, SlotKind::Bcd}}},
        {"KVB_3A", 0, textFields()},
        {"KVB_3B", 0, textFields()},
        {"KVB_3C", 0, textFields()},
        {"KVB_3D", 0, textFields()},
    };
    return all;
}

const RecordLayout* layoutOf(const QString& table) { return findLayout(layouts(), table); }

QByteArray build(const QString& table, const SlotValue& value, QStringList* problems)
{
    const RecordLayout* l = layoutOf(table);
    if (!l)
        throw CodecError(QStringLiteral("%1 is no table of the other files' records.").arg(table));
    return buildRecord(*l, value, [problems](QByteArray&, const FieldSlot& p, const CodecError& e) {
        // The slot is left all zeros: what a value that cannot be carried becomes.
        const QString why = QLatin1String(p.field) + QStringLiteral(": ") + e.message();
        if (!problems)
            throw CodecError(why);
        problems->append(why);
    });
}

} // namespace

bool isOtherRecordTable(const QString& table) { return layoutOf(table) != nullptr; }

int otherRecordSize(const QString& table)
{
    const RecordLayout* l = layoutOf(table);
    return l ? l->size : 0;
}

QString otherRecordKeyField(const QString& table)
{
    const RecordLayout* l = layoutOf(table);
    return l ? l->keyField() : QString();
}

QByteArray KvbOtherRecord(const QString& table, const db::Recordset& row, QStringList* problems)
{
    return build(
        table, [&row](const FieldSlot& p) { return row.value(QLatin1String(p.field)); }, problems);
}

QByteArray KvbOtherRecord(const QString& table, const QVariantMap& values, QStringList* problems)
{
    return build(
        table, [&values](const FieldSlot& p) { return values.value(QLatin1String(p.field)); }, problems);
}

QByteArray KvbTextRecord(qint64 No, qint64 NextNo, const QByteArray& text)
{
    return KvbOtherRecord(
        QStringLiteral("KVB_3A"),
        {{QStringLiteral("No"), No}, {QStringLiteral("NextNo"), NextNo}, {QStringLiteral("Name"), text}});
}

QByteArray KvbClerkRecord(qint64 Clerk_No, const QString& Name, qint64 Status)
{
    return KvbOtherRecord(
        QStringLiteral("KVB_44"),
        {{QStringLiteral("Clerk_No"), Clerk_No}, {QStringLiteral("Name"), Name}, {QStringLiteral("Status"), Status}});
}

QByteArray KvbTaxRecord(qint64 Code, const QString& Name, qint64 Rate, qint64 Status)
{
    return KvbOtherRecord(QStringLiteral("KVB_A8"),
                          {{QStringLiteral("Code"), Code},
                           {QStringLiteral("Name"), Name},
                           {QStringLiteral("Rate"), Rate},
                           {QStringLiteral("Status"), Status}});
}

QByteArray KvbStockKeyRecord(qint64 Number, qint64 Status, qint64 Type, const QString& Name)
{
    return KvbOtherRecord(QStringLiteral("KVB_AC"),
                          {{QStringLiteral("Number"), Number},
                           {QStringLiteral("Status"), Status},
                           {QStringLiteral("Type"), Type},
                           {QStringLiteral("Name"), Name}});
}

QByteArray KvbPaymentKeyRecord(qint64 Number, qint64 Status, const QString& Name, qint64 Reserved)
{
    return KvbOtherRecord(QStringLiteral("KVB_AD"),
                          {{QStringLiteral("Number"), Number},
                           {QStringLiteral("Status"), Status},
                           {QStringLiteral("Name"), Name},
                           {QStringLiteral("Reserved"), Reserved}});
}

QByteArray KvbDiscScheduleRecord(const QVariantMap& values) { return KvbOtherRecord(QStringLiteral("KVB_AA"), values); }

QByteArray KvbPriceScheduleRecord(const QVariantMap& values)
{
    return KvbOtherRecord(QStringLiteral("KVB_AB"), values);
}

bool otherRecordFitsRow(const QString& table, const QByteArray& record, const db::Recordset& row)
{
    const RecordLayout* l = layoutOf(table);
    return l && recordFitsRow(*l, record, row);
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
