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
    return {{prefix + "SDate", s.startDate},
            {prefix + "EDate", s.endDate},
            {prefix + "STime", s.startTime},
            {prefix + "ETime", s.endTime},
            {daysField, days}};
}

} // namespace

bool SaveTextRecordNextNo(const QString& table, qint64 No, qint64 NextNo, const QByteArray& text,
                          const QString& firstLine, bool sendBoxTicked)
{
    if (!records::isOtherRecordTable(table) || records::otherRecordSize(table) != 0)
        throw Error(QStringLiteral("%1 is not a table of texts.").arg(table));
    Values values{{"NextNo", NextNo}};
    if (text.isEmpty()) {
        values += Values{{"Name", QVariant()}, {"NameFirstLine", kBlank}, {"Is_Selected", 0}};
    } else {
        values += Values{{"Name", text}, {"NameFirstLine", firstLine}};
        if (sendBoxTicked)
            values += Values{{"Is_Selected", 1}};
    }
    saveRow(table, No, values);
    return nothingToSend(table, "NameFirstLine", kBlank);
}

bool SaveClerkRecord(qint64 Clerk_No, const QString& Name)
{
    const QString table = QStringLiteral("KVB_44");
    saveRow(table, Clerk_No, {{"Name", Name}, {"Status", 0}});
    return nothingToSend(table, "Name", kBlank);
}

bool SaveTaxRecord(qint64 Code, const QString& Name, qint64 Rate, qint64 Status)
{
    const QString table = QStringLiteral("KVB_A8");
    saveRow(table, Code, {{"Name", Name}, {"Rate", Rate}, {"Status", Status}});
    return nothingToSend(table, "Rate", 0);
}

bool SaveStockKeyRecord(qint64 Number, qint64 Status, qint64 Type, const QString& Name)
{
    const QString table = QStringLiteral("KVB_AC");
    saveRow(table, Number, {{"Status", Status}, {"Name", Name}, {"Type", Type}});
    return nothingToSend(table, "Name", kBlank);
}

bool SavePaymentKeyRecord(qint64 Number, qint64 Status, const QString& Name, qint64 Reserved)
{
    const QString table = QStringLiteral("KVB_AD");
    saveRow(table, Number, {{"Status", Status}, {"Name", Name}, {"Reserved", Reserved}});
    return nothingToSend(table, "Name", kBlank);
}

void SaveDiscountSchedule(qint64 number, qint64 nextNumber, const DiscountSchedule& s)
{
    saveRow(QStringLiteral("KVB_AA"), number,
            spanValues(s, "Disc_", "DisDayOfWeek")
                + Values{{"Disc_LimitType", s.limitType},
                         {"Disc_1stLim", s.firstLimit},
                         {"Disc_Within1stL", s.withinFirst},
                         {"Disc_2ndLim", s.secondLimit},
                         {"Disc_Within2ndL", s.withinSecond},
                         {"Disc_Type", s.type},
                         {"NextNumber", nextNumber}});
}

void SavePriceSchedule(qint64 number, qint64 nextNumber, const PriceSchedule& s)
{
    saveRow(QStringLiteral("KVB_AB"), number,
            spanValues(s, "Price_", "PriceDayOfWeek")
                + Values{{"NewUnitPrice", s.newUnitPrice}, {"NextNumber", nextNumber}});
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
