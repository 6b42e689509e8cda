#include "otherfiles/OtherFileRecords.h"

#include "records/OtherRecords.h"
#include "records/WorkRecordsetClaim.h"
#include "state/SharedData.h"

#include <QList>
#include <QPair>

namespace quorvane::otherfiles {

namespace {

using Values = QList<QPair<QString, QVariant>>;

const QString kBlank = QStringLiteral(" ");

// Writes `values` and the record built from the row so written into the row of `key`, added when the
// table has none. Nothing of it stays when any step fails.
void saveRow(const QString& table, qint64 key, const Values& values)
{
    const records::WorkRecordsetClaim work(
        [] { return db::DbError(QStringLiteral("The work recordset is already in use.")); });
    db::Transaction transaction(gDBConnection);
    const QString keyField = records::otherRecordKeyField(table);
    gRsWork.open(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table, keyField), {key});
    if (gRsWork.eof()) {
        gRsWork.addNew();
        gRsWork.setValue(keyField, key);
    }
    for (const auto& [field, value] : values)
        gRsWork.setValue(field, value);
    gRsWork.setValue(QStringLiteral("KVBBinData"), records::KvbOtherRecord(table, gRsWork));
    gRsWork.update();
    transaction.commit();
}

// True when no row of the table has a `field` other than `empty`: nothing of it is left to send.
bool nothingToSend(const QString& table, const QString& field, const QVariant& empty)
{
    return !gDBConnection
                .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE %2 <> ?)").arg(table, field), {empty})
                .toBool();
}

// The dates, times and day mask of a schedule. A day text the mask cannot come from throws.
Values spanValues(const ScheduleSpan& s, const QString& prefix, const QString& daysField)
{
    const int days = records::dayMaskFromText(s.days);
    return {{prefix + QStringLiteral("SDate"), s.startDate},
            {prefix + QStringLiteral("EDate"), s.endDate},
            {prefix + QStringLiteral("STime"), s.startTime},
            {prefix + QStringLiteral("ETime"), s.endTime},
            {daysField, days}};
}

} // namespace

bool SaveTextRecordNextNo(const QString& table, qint64 No, qint64 NextNo, const QByteArray& text,
                          const QString& firstLine, bool sendBoxTicked)
{
    if (!records::isOtherRecordTable(table) || records::otherRecordSize(table) != 0)
        throw Error(QStringLiteral("%1 is not a table of texts.").arg(table));
    Values values{{QStringLiteral("NextNo"), NextNo}};
    if (text.isEmpty()) {
        values += Values{{QStringLiteral("Name"), QVariant()},
                         {QStringLiteral("NameFirstLine"), kBlank},
                         {QStringLiteral("Is_Selected"), 0}};
    } else {
        values += Values{{QStringLiteral("Name"), text}, {QStringLiteral("NameFirstLine"), firstLine}};
        if (sendBoxTicked)
            values += Values{{QStringLiteral("Is_Selected"), 1}};
    }
    saveRow(table, No, values);
    return nothingToSend(table, QStringLiteral("NameFirstLine"), kBlank);
}

bool SaveClerkRecord(qint64 Clerk_No, const QString& Name)
{
    const QString table = QStringLiteral("KVB_44");
    saveRow(table, Clerk_No, {{QStringLiteral("Name"), Name}, {QStringLiteral("Status"), 0}});
    return nothingToSend(table, QStringLiteral("Name"), kBlank);
}

bool SaveTaxRecord(qint64 Code, const QString& Name, qint64 Rate, qint64 Status)
{
    const QString table = QStringLiteral("KVB_A8");
    saveRow(table, Code,
            {{QStringLiteral("Name"), Name}, {QStringLiteral("Rate"), Rate}, {QStringLiteral("Status"), Status}});
    return nothingToSend(table, QStringLiteral("Rate"), 0);
}

bool SaveStockKeyRecord(qint64 Number, qint64 Status, qint64 Type, const QString& Name)
{
    const QString table = QStringLiteral("KVB_AC");
    saveRow(table, Number,
            {{QStringLiteral("Status"), Status}, {QStringLiteral("Name"), Name}, {QStringLiteral("Type"), Type}});
    return nothingToSend(table, QStringLiteral("Name"), kBlank);
}

bool SavePaymentKeyRecord(qint64 Number, qint64 Status, const QString& Name, qint64 Reserved)
{
    const QString table = QStringLiteral("KVB_AD");
    saveRow(
        table, Number,
        {{QStringLiteral("Status"), Status}, {QStringLiteral("Name"), Name}, {QStringLiteral("Reserved"), Reserved}});
    return nothingToSend(table, QStringLiteral("Name"), kBlank);
}

void SaveDiscountSchedule(qint64 number, qint64 nextNumber, const DiscountSchedule& s)
{
    saveRow(QStringLiteral("KVB_AA"), number,
            spanValues(s, QStringLiteral("Disc_"), QStringLiteral("DisDayOfWeek"))
                + Values{{QStringLiteral("Disc_LimitType"), s.limitType},
                         {QStringLiteral("Disc_1stLim"), s.firstLimit},
                         {QStringLiteral("Disc_Within1stL"), s.withinFirst},
                         {QStringLiteral("Disc_2ndLim"), s.secondLimit},
                         {QStringLiteral("Disc_Within2ndL"), s.withinSecond},
                         {QStringLiteral("Disc_Type"), s.type},
                         {QStringLiteral("NextNumber"), nextNumber}});
}

void SavePriceSchedule(qint64 number, qint64 nextNumber, const PriceSchedule& s)
{
    saveRow(QStringLiteral("KVB_AB"), number,
            spanValues(s, QStringLiteral("Price_"), QStringLiteral("PriceDayOfWeek"))
                + Values{{QStringLiteral("NewUnitPrice"), s.newUnitPrice}, {QStringLiteral("NextNumber"), nextNumber}});
}

void SaveDateTimeRecord(const QDateTime& now)
{
    const QByteArray record = records::KvbDateTimeRecord(now);
    db::Transaction transaction(gDBConnection);
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_4E"));
    gDBConnection.exec(QStringLiteral("INSERT INTO KVB_4E (SF_No, KVBBinData, Is_Selected) VALUES (?, ?, ?)"),
                       {1, record, 1});
    transaction.commit();
}

} // namespace quorvane::otherfiles
