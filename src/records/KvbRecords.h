#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorvane::records {

// Size of the record of KVB_20 (22), KVB_23 (30) or KVB_14 (16); 0 for any other table.
int kvbRecordSize(const QString& table);
// The field that the record carries as its key in bytes 0-3 (DP_No, MG_No, FBar_No); empty for others.
QString kvbRecordKeyField(const QString& table);

// Writes buffer[first .. last] from hexadecimal digits, two a byte, after putting "0"s in front of a text
// that is too short; a longer text gives its first digits. Throws CodecError for positions outside the
// buffer or a character that is no hexadecimal digit.
void PutHexPairs(QByteArray& buffer, const QString& digits, int first, int last);
// Writes the text as ANSI bytes into buffer[first .. last], filled up with 0x00 and cut after the field's
// width; a double-byte character that does not fit whole is left out. A character the code page cannot
// hold throws CodecError.
void PutTextBytes(QByteArray& buffer, const QString& text, int first, int last);

// The record of `row`, a row of KVB_20, KVB_23 or KVB_14; empty for another table. A number the record
// cannot carry throws CodecError. With `problems`, nothing throws: such a number is written as 0 and a
// name with characters outside the code page is written as the code page gives it, each named in
// `problems`. With `composeFlags`, byte 11 of a flexible barcode is FBar_EANorITF x 128 + (FBar_CD mod
// 128), as after a start-up FBar_CD holds only the check-digit mode; otherwise FBar_CD as it stands.
QByteArray buildKvbRecord(const QString& table, const db::Recordset& row, QStringList* problems = nullptr,
                          bool composeFlags = false);

// Builds the record of the current row of the shared work recordset for "KVB_20", "KVB_23" or "KVB_14"
// and puts it into the row's KVBBinData without saving the row; any other table: nothing. Throws
// CodecError (the row is then left as it was).
void EncodeKVBRecord(const QString& table);

// Whether `record` is a whole record of the table for `row`: its size, the length it carries and its key.
bool kvbRecordFitsRow(const QString& table, const QByteArray& record, const db::Recordset& row);

} // namespace quorvane::records
