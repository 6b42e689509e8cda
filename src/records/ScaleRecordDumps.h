#pragma once

#include "platform/db/Recordset.h"
#include "records/PluRow.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace quorvane::records {

// Builds at exit the record of a row whose record is not whole (missing, or not of the table's size and
// length), from the fields of the row, which is the current one of the work recordset: it names in `problems`
// the values it wrote as 0, or throws CodecError to decline the row, which ends the table's dump there with a
// warning.
using RecordEncoder = std::function<QByteArray(const db::Recordset& row, QStringList* problems)>;
// Encoders of tables whose records this folder cannot build itself (KVB_41, whose keys per page come from
// the preset-key file), by table name. They serve one exit, so what they read once holds for that exit.
using RecordEncoders = QHash<QString, RecordEncoder>;
// Told of each dump file an exit has written, with the bytes it holds, so that what it wrote can be checked at
// the next start without reading it back.
using DumpWritten = std::function<void(const QString& file, QByteArrayView bytes)>;
// The size of a preset key's record, which the preset keys build.
inline constexpr int kPresetKeyRecordSize = 11;

// The scale-record dumps of the tables sent to the scales, beside the text dumps: one file per table, the
// records of its rows back to back in stored order.
// At shutdown: writes every record dump into `targetFolder`; `currentFolder` holds the dumps being replaced.
// Every PLU record is rebuilt (a PLU that cannot be encoded keeps its previous record, or is written without
// what cannot be encoded) and only written into the file: the PLU rows are left as they are, since the working
// database is removed once the new dumps are in place and the next start-up restores the rows from these
// records. A row of another table without a fitting record gets one from its table's
// encoder (its own, or one of `encoders`), saved in the row. A table without an encoder, or whose encoder
// declines a row, ends its file at that row. Warnings name what was not saved whole. Each file written is told to
// `written`. False with an error when the database is not open (nothing is written) or a file cannot be written.
bool SaveBinDataToFiles(const QString& targetFolder, const QString& currentFolder, QStringList* warnings,
                        QString* error, const RecordEncoders& encoders = {}, const DumpWritten& written = {});

// The rows of the PLU table's text dump, which the text reload can hold back so that the record reload writes
// each PLU row once, whole, with what its record holds: the dumped fields, then each row's values in their order.
struct HeldPluRows {
    QList<plu::Field> fields;
    QList<QVariant> values;

    qsizetype rowCount() const { return fields.isEmpty() ? 0 : values.size() / fields.size(); }
};

// At start-up, after the text reload: gives each row its record and decodes the PLU records into their rows. With
// `heldPlus`, the PLU rows are those rows, each added to the table with the values the schema gives a new row, those
// of the text dump and those of its record; the rows the table holds are not touched. In a table whose records carry
// their rows' keys (all but the preset keys, which go by position), a record goes to a row of its key, near its
// place: records swapped, missing, doubled, renumbered or damaged cost no row but their own. A record whose length
// is wrong is stepped over up to the next place at which a record of a row begins. A held PLU row that repeats the
// store and number of another and has no record of its own is left out. Records that go to no row, rows left
// without their record and PLUs not restored or left out are said, each kind in one message. The tables of which
// some record was not applied are added to `tablesNotApplied`. False with an error on a database failure (nothing
// loaded).
bool LoadBinDataFromFiles(const QString& folder, QStringList* messages, QString* error,
                          QStringList* tablesNotApplied = nullptr, const HeldPluRows* heldPlus = nullptr);

// The name of the table's record dump ("tempplukvb.txt" for KVB_25); empty for a table without one.
QString recordDumpFile(const QString& table);

// Sets the fields of every row of KVB_20, KVB_23 or KVB_14 from its record; a row without a whole record of
// its table is left as it is. Other tables: nothing. False with an error on a database failure.
bool DecodeKVBRecords(const QString& table, QString* error);

} // namespace quorvane::records
