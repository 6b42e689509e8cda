#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::records {

// The scale-record dumps of the tables sent to the scales, beside the text dumps.
// At shutdown: writes every record dump into `targetFolder`; `currentFolder` holds the dumps being
// replaced. Warnings (records that could not be rebuilt) are collected; false with an error when a
// file cannot be written.
bool SaveBinDataToFiles(const QString& targetFolder, const QString& currentFolder, QStringList* warnings,
                        QString* error);

// At start-up, after the text reload: gives each row its record back. Messages to show at the end of
// start-up are collected; false with an error on a database failure.
bool LoadBinDataFromFiles(const QString& folder, QStringList* messages, QString* error);

// Sets the fields of every row of KVB_20, KVB_23 or KVB_14 from its record; other tables: nothing.
bool DecodeKVBRecords(const QString& table, QString* error);

} // namespace quorvane::records
