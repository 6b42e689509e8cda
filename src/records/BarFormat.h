#pragma once

#include "platform/db/Recordset.h"

#include <QString>

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

// A one-entry memory of the last resolution, by store and main group, so that a run of PLUs of one main
// group is resolved once. It forgets by itself when a STORE, KVB_20, KVB_23 or KVB_14 row changes on the
// shared connection, so a bar format changed in an editor is seen by the next record built.
class BarFormatMemory {
public:
    // The level for the store and main group, resolved again only when they or the rows above changed.
    // Failures throw as resolveBarFormatLevel does and are not remembered.
    const BarFormatLevel& resolve(qint64 storeNo, qint64 mainGroupNo);
    void clear() { m_valid = false; }

private:
    bool m_valid = false;
    qint64 m_store = 0;
    qint64 m_mainGroup = 0;
    quint64 m_changes = 0; // of the tables above, when remembered
    BarFormatLevel m_level;
};

// The inherited bar format (kind 1) or flag pair (kind 2 and above) for the row's ST_No and PLU_MG;
// kind 0, or a missing main group, department or store, gives 0. A database error throws DbError and a
// level that holds no number CodecError, never 0.
qint16 ResolveBarFormat(const db::Recordset& pluRow, quint8 kind);

} // namespace quorvane::records
