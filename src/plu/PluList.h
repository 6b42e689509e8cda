#pragma once

#include "plu/Marks.h"
#include "state/StoreTreeState.h"

#include <QString>
#include <QVariantList>

#include <optional>

namespace quorvane {

class PluEditorHost;

// The PLU list of a tree node. gRsPLU and the grid fill run the same text in the same order, so grid row r
// shows the row at position r - 1 of gRsPLU.
struct PluListQuery {
    QString where; // "WHERE ST_No=? ...", every value bound
    QVariantList params;
    QString sql() const; // "SELECT * FROM KVB_25 " + where + " ORDER BY PLU_No, rowid"
};

// A store: all its PLUs. A department: the PLUs of its main groups in the store, or of main group 0 when it has
// none. A main group. A saved search: main group, PLU number and unit price within the search's inclusive ranges
// (its department range takes no part); a search without a row lists nothing.
PluListQuery BuildPLUListQuery(PluListKind kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo);

// LoadPLUList's steps before the grid fill: the marks of the list shown so far dropped (ClearPLUSelection),
// gRsPLU opened on the node's list. Returns the query for the grid fill.
PluListQuery OpenPLUList(PluListKind kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo);

// The grid row to show once the list is loaded: gCurPLURow, 1 when it was 0, the last row when the list
// became shorter (a save moved the shown PLU out of it, a delete); kept in gCurPLURow. 0 for an empty list,
// which leaves gCurPLURow as it is.
int ChoosePLUListRow();

// Unmarks every marked row the list shown was loaded with, also one that an edit has moved out of its node
// since, and closes gRsPLU; a closed list is not touched.
void ClearPLUSelection();

// Marks or unmarks `count` rows of the list from grid row `startRow` by `mode` in one transaction and returns the
// value written to Is_Selected, for the grid's mark column; a single row clicked is toggled by `currentMarked` (its
// mark cell holds "*"). Then gRsPLU stands on grid row `gridRow`. Nothing on a closed or empty list.
std::optional<int> SetPLUSelection(int startRow, int count, MarkMode mode, bool currentMarked, int gridRow);

// Whether any PLU of any store is marked: cmdSendAll and menuDownload are enabled by it.
bool CountSelectedPLU();

// Asks delPLU; on Yes deletes the current row of gRsPLU, moves gCurPLURow up when it was the last row and
// loads the list again. False when nothing was deleted.
bool DeletePLU(PluEditorHost& host);

} // namespace quorvane
