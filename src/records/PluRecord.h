#pragma once

#include "platform/db/Recordset.h"
#include "records/PluRow.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorvane::records {

// The PLU scale record: 32 fixed bytes, then the optional fields whose Stat2_ flags are set.
inline constexpr int kPluFixedSize = 32;
inline constexpr int kPluMaxSize = 20481;

// Builds the row's record: packs its flag bytes and, with the item code present, refreshes its item-code
// data in `row`. With `resolve`, an inherited bar format takes the format and flags of the level it
// inherits from (remembered by store and main group); a missing main group, department or store
// gives format 0 and flags 00, a store that holds 255 itself names no format and throws CodecError.
// A value the record cannot carry throws CodecError and yields no record. With `leftOut`, optional fields
// that cannot be encoded are left out (their Stat2_ flags cleared) and a fixed number that cannot be is
// written as 0, each named in `leftOut`; only the store's 255 still throws. Database errors throw DbError.
QByteArray encodePluRecord(PluRow& row, bool resolve, QStringList* leftOut = nullptr);
// The same, appended to `records` (the record dump of a pass); a throw leaves `records` as it was.
void appendPluRecordTo(QByteArray& records, PluRow& row, bool resolve, QStringList* leftOut = nullptr);

// Builds the record of the recordset's current KVB_25 row into KVBBinData, with the packed flags and the
// refreshed item-code data, and saves the row. On failure (CodecError, DbError) the row is left as it was.
void EncodePLURecord(db::Recordset& pluRow, bool resolve);

// Empties the encoder's memory of the inherited bar formats it resolved.
void ClearPLURecordResolutionMemory();
// Empties both memories of inherited bar formats (the encoder's and the item-code composer's), as the
// passes over PLU records end. Fresh values need no call: the memories forget by themselves when a STORE,
// KVB_20, KVB_23 or KVB_14 row changes, and resetProgramState() empties them too.
void ClearBarFormatMemories();

struct PluDecodeResult {
    enum Outcome {
        Decoded,
        NotDecoded, // no record, or its length disagrees or is below 32: the row is not touched
        Failed,     // the row keeps the fields read so far and is marked Is_Selected = 1
    };
    Outcome outcome = NotDecoded;
    QString reason;
};

// Sets the row's fields from the record in its KVBBinData. Every read stays inside the record.
PluDecodeResult decodePluRecord(PluRow& row);

// The same on the recordset's current row, which is saved unless the record was not decoded at all. The
// loop that decodes row after row pumps events through its EventPump.
PluDecodeResult DecodePLURecord(db::Recordset& rs);

} // namespace quorvane::records
