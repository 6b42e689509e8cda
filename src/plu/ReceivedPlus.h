#pragma once

#include "datafiles/ReceivedPluLoader.h"
#include "platform/text/LinesLeftOut.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace quorvane {

// The PLUs fetched from a scale (RC_25, fields as KVB_25 in the same order), reviewed and copied into a store.

// The review list: the received rows not carrying a mark when the list is loaded, by number, then as received.
// gRsReceived and the grid fill run this text, so grid row k shows position k - 1 of gRsReceived.
QString receivedListSql();

// The check of every received line: each whole-number field with a range (pluFieldRange) but the store and the
// main group, which a copy takes from its target, holds a value within it; else the first field outside names the
// line. The ranges are resolved once, when the check is made.
datafiles::ReceivedLineCheck receivedLineCheck();

// Opens gRsReceived on the review list.
void OpenReceivedList();

// Deletes every received row, in one statement.
void EmptyReceivedPLUs();

// Whether RC_25 holds any row.
bool HasReceivedPLUs();

// The target lists of the review window, as combST, combDP and combMG show them (each at entry 0).
// The store numbers in order, "99" when there is no store.
QStringList receivedStoreList();
// Whether STORE holds a row: without one nothing may be copied (upNoStore).
bool anyStoreExists();
struct ReceivedDeptMG {
    QStringList combDP; // empty when the department list stays as it is
    QStringList combMG;
};
// The departments of the store ("97" with none) and the main groups of the first of them.
ReceivedDeptMG receivedDeptMGLists(const QString& store);
// The main groups of the store's department. A department without any gives the department list "97" alone and
// the main groups of department 97, "997" when it has none either; the list is reset at most once.
ReceivedDeptMG receivedMGList(const QString& store, const QString& department);

// Where the copy writes, as the lists show it.
struct ReceivedCopyTarget {
    QString store;         // combST
    QString mainGroup;     // combMG
    bool overwrite = true; // chkSamePLU: a PLU of the same number is overwritten, else left alone
};

struct ReceivedCopyResult {
    int written = 0;
    // Marked rows not copied, as a value lies outside its field's range (receivedLineCheck): `line` is the PLU
    // number, in list order.
    text::LinesLeftOut refused{};
};

// Copies the marked rows of the review list into KVB_25, in one transaction. `listed` holds the RC_25 rowids of
// the list in its order (gRsReceived.rowids()); a row is marked when its Is_Selected is not 0. Each row is copied
// field by field by position (its scale record as it came), then takes the store, the main group and
// Stat2_MGCode 1 (unless the main group is 997) and Is_Selected 0. A PLU the store has, or that this copy
// wrote, is found by (ST_No, PLU_No) as the first in PLU_No, rowid order, and is overwritten in place or left
// alone. A row with a value outside its field's range is not copied but named. `progress` hears the count of rows
// dealt with after each listed row, marked or not. No store in STORE: throws Error (upNoStore) with nothing
// written. A database failure throws db::DbError with nothing written.
ReceivedCopyResult CopyReceivedPLUs(const QVector<qint64>& listed, const ReceivedCopyTarget& target,
                                    const std::function<void(int)>& progress = {});

} // namespace quorvane
