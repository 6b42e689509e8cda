#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace quorvane::otherfiles {

// The record builders of the other-files tables. Each finds the row of its number (the first in stored
// order) or adds it, writes the fields and the rebuilt scale record, all in one transaction on the shared
// work recordset, which must be closed on entry and is closed on return. A value the record cannot carry
// (records::KvbOtherRecord) or the table cannot hold throws, and the row stays as it was.
// The builders of texts, clerks, taxes and keys return true when no row of their table is left to send,
// so the window unticks the table's send box.

// `text` is the text block (none for an empty text) and `firstLine` its first line as the first-line box
// shows it; an empty text saves Name Null, NameFirstLine " " and the mark 0, a text saved while the send
// box is ticked is marked 1, one saved while it is not keeps its mark. `table` is KVB_3A to KVB_3D.
bool SaveTextRecordNextNo(const QString& table, qint64 No, qint64 NextNo, const QByteArray& text,
                          const QString& firstLine, bool sendBoxTicked);

// These four never touch the send mark.
bool SaveClerkRecord(qint64 Clerk_No, const QString& Name);
bool SaveTaxRecord(qint64 Code, const QString& Name, qint64 Rate, qint64 Status);
bool SaveStockKeyRecord(qint64 Number, qint64 Status, qint64 Type, const QString& Name);
bool SavePaymentKeyRecord(qint64 Number, qint64 Status, const QString& Name, qint64 Reserved);

// What a schedule holds as the window shows it, in the stored forms: dates day x 10000 + month x 100 +
// year mod 100, times hour x 100 + minute; the days of the week as their text of "0" and "1", Sunday first.
struct ScheduleSpan {
    qint64 startDate = 0;
    qint64 startTime = 0;
    qint64 endDate = 0;
    qint64 endTime = 0;
    QString days = QStringLiteral("0");
};
// Limits and amounts in minor units.
struct DiscountSchedule : ScheduleSpan {
    qint64 limitType = 0; // 0 weights, 1 counts
    qint64 firstLimit = 0;
    qint64 withinFirst = 0;
    qint64 secondLimit = 0;
    qint64 withinSecond = 0;
    qint64 type = 0; // D0 to D6
};
struct PriceSchedule : ScheduleSpan {
    qint64 newUnitPrice = 0;
};
// These two never touch the send mark.
void SaveDiscountSchedule(qint64 number, qint64 nextNumber, const DiscountSchedule& schedule);
void SavePriceSchedule(qint64 number, qint64 nextNumber, const PriceSchedule& schedule);

// The date and time to send: KVB_4E emptied and given its one row (SF_No 1, the KvbDateTimeRecord of
// `now`, marked), in one transaction.
void SaveDateTimeRecord(const QDateTime& now = QDateTime::currentDateTime());

} // namespace quorvane::otherfiles
