#pragma once

#include "platform/db/Recordset.h"

#include <QHash>
#include <QString>

#include <optional>
#include <utility>

namespace quorvane::records {

// Where the inheritance of a bar format stopped: the first of main group, department and store whose
// bar format is not 255 (the store whatever it holds). A missing main group, department or store ends the
// chain with format 0 and flags 0, as after a main group is deleted: that is no failure.
struct BarFormatLevel {
    int barFormat = 0;
    int flag1 = 0;
    int flag2 = 0;

    int flags() const { return flag1 * 10 + flag2; } // "F" counts as 16
};

// Walks main group, department and store on the shared connection. Database errors throw DbError; a
// level whose bar format or flags are not numbers throws CodecError. Neither is ever taken as format 0.
BarFormatLevel resolveBarFormatLevel(qint64 storeNo, qint64 mainGroupNo);

// A memory of the resolutions, by store and main group, so that the PLUs of a main group are resolved once.
// It forgets by itself when a STORE, KVB_20, KVB_23 or KVB_14 row changes on the shared connection, so a bar
// format changed in an editor is seen by the next record built.
class BarFormatMemory {
public:
    // The level for the store and main group, resolved again only when the rows above changed. Failures
    // throw as resolveBarFormatLevel does and are not remembered.
    BarFormatLevel resolve(qint64 storeNo, qint64 mainGroupNo);
    void clear() { m_levels.clear(); }

private:
    quint64 m_changes = 0; // of the tables above, when remembered
    QHash<std::pair<qint64, qint64>, BarFormatLevel> m_levels;
};

// The KVB_14 row of a flexible barcode (FBar_No 1 to 9).
struct FlexibleBarcode {
    int type = 0; // 0 only flag digit 2, 1 both flag digits, 2 none
    int itemDigits = 0;
};

// The flexible barcodes of KVB_14, read at once and again only when a row of it changed on the shared
// connection: an item code needs its format's digit count for every record.
class FlexibleBarcodeMemory {
public:
    // The first row of the number in stored order; nothing when there is none. Database errors throw DbError.
    std::optional<FlexibleBarcode> find(qint64 fbarNo);
    void clear() { m_valid = false; }

private:
    bool m_valid = false;
    quint64 m_changes = 0;
    QHash<qint64, FlexibleBarcode> m_rows;
};

// The inherited bar format (kind 1) or flag pair (kind 2 and above) for the row's ST_No and PLU_MG;
// kind 0, or a missing main group, department or store, gives 0. A database error throws DbError and a
// level that holds no number CodecError, never 0.
qint16 ResolveBarFormat(const db::Recordset& pluRow, quint8 kind);

} // namespace quorvane::records
