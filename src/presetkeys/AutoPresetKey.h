#pragma once

#include <QList>

namespace quorvane::presetkeys {

// The automatic assignment (frmAutoPresetKey): the PLUs of a store, of one main group or of a department's
// main groups go to keys 1, 2, 3 ... of page 1 of the sheet shown, in ascending PLU number.

// The department numbers of every store, ascending: what combDept lists.
QList<qint32> departmentNumbers();
// The main groups of a department in a store, ascending: what combMG lists.
QList<qint32> mainGroupNumbers(qint32 storeNo, qint32 deptNo);

enum class AutoOption { Store, Department, MainGroup };
struct AutoChoice {
    AutoOption option = AutoOption::Store;
    qint32 storeNo = 0;
    qint32 mgNo = 0;                // the main group option's
    QList<qint32> departmentGroups; // the department option's: the main groups combMG lists
};

// Reads the chosen PLUs (1 to 999999, at most gKeyNum of them), then empties the layout and gives key k the
// k-th of them, in one transaction: on a failure the keys stay as they were. A key's name is the first line of
// the PLU's name, Null when there is none. The department option with no main group assigns nothing and leaves
// the layout; then the result is false. Sets gCurKeyNo after the last key filled when there were PLUs. Throws
// db::DbError or records::CodecError.
bool AutoAssignKeys(const AutoChoice& choice);

} // namespace quorvane::presetkeys
