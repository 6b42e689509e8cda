#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace quorvane::records {

// The scale records of the other-files tables, each built from the values of its row's fields:
//   KVB_44 clerk (27 bytes), KVB_A8 tax (14), KVB_AC stock function key (32), KVB_AD payment key (16),
//   KVB_AA discount schedule (44), KVB_AB price schedule (28),
//   KVB_3A to KVB_3D text (No, length, NextNo, then the text block held in Name).
// Numbers are packed decimal, except the plain bytes (statuses, types, the day mask); a one-byte key
// stands in byte 3. Names go in as ANSI bytes, cut at their slot without splitting a character.

constexpr int TextRecordHeadSize = 10;
// The length in bytes 4-5 holds at most 65,535, the head included.
constexpr int MaxTextBlockSize = 0xFFFF - TextRecordHeadSize;

// Whether the table is one of the ten above.
bool isOtherRecordTable(const QString& table);
// Size of the table's record; 0 for the text tables, whose records are 10 bytes and the text.
int otherRecordSize(const QString& table);
// The field the record carries as its key (Clerk_No, Code, Number or No); empty for another table.
QString otherRecordKeyField(const QString& table);

// The record of a row of one of the ten tables from its field values; a Null or missing value reads as
// 0, an empty name or no text. A value the record cannot carry (a negative number, more digits than its
// field holds, a plain byte above 255, a text block over 65,525 bytes, a name with a character the code
// page cannot hold) throws CodecError naming the field. With `problems` nothing throws: such a value is
// written as 0 (a name or a text block as nothing) and named in `problems`. Another table throws
// CodecError, `problems` or not.
QByteArray KvbOtherRecord(const QString& table, const db::Recordset& row, QStringList* problems = nullptr);
QByteArray KvbOtherRecord(const QString& table, const QVariantMap& values, QStringList* problems = nullptr);

// Each record from the values of its fields, refused as KvbOtherRecord refuses them. An empty text is the
// 10-byte head alone; the schedules take their rows' fields by name, a missing one as 0.
QByteArray KvbTextRecord(qint64 No, qint64 NextNo, const QByteArray& text);
QByteArray KvbClerkRecord(qint64 Clerk_No, const QString& Name, qint64 Status);
QByteArray KvbTaxRecord(qint64 Code, const QString& Name, qint64 Rate, qint64 Status);
QByteArray KvbStockKeyRecord(qint64 Number, qint64 Status, qint64 Type, const QString& Name);
QByteArray KvbPaymentKeyRecord(qint64 Number, qint64 Status, const QString& Name, qint64 Reserved);
QByteArray KvbDiscScheduleRecord(const QVariantMap& values);
QByteArray KvbPriceScheduleRecord(const QVariantMap& values);

// Whether `record` is a whole record of the table for `row`: its size (a text record: at least its
// head), the length it carries and its key.
bool otherRecordFitsRow(const QString& table, const QByteArray& record, const db::Recordset& row);

// The day mask of a day-of-week text of "0" and "1", Sunday first, read from the left as a binary
// number: seven places give Sunday 64 to Saturday 1, a shorter text counts from the right. Anything but
// 1 to 7 such characters throws CodecError.
int dayMaskFromText(const QString& days);

// KvbDateTimeRecord, 14 bytes: key 255 in byte 3, the length, then day, month and year mod 100 in bytes
// 7 to 9 and hour and minute in bytes 12 and 13, each one byte of packed decimal; seconds are dropped.
QByteArray KvbDateTimeRecord(const QDateTime& when);

} // namespace quorvane::records
