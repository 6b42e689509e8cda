#pragma once

#include "mainwindow/NodeKeys.h"

#include <QString>
#include <QStringList>

namespace quorvane {

// The record operations on single tree nodes. The table names the node kind: "STORE", "SECT", "SCALE",
// "KVB_20" (departments), "KVB_23" (main groups), "SEARCH"; any other name does nothing. The numbers are
// the node's (for a save, its numbers before the save; the menus pass currentSelection()). Database failures,
// and scale records that cannot be built, throw quorvane::Error.
//
// Rows match by: STORE ST_No; SECT ST_No, SECT_No; SCALE ST_No, SECT_No, SC_IP (as text, blanks included);
// KVB_20 ST_No, DP_No; KVB_23 ST_No, DP_No, MG_No; SEARCH ST_No, SH_No. A node is the first matching row in
// stored order, the one the tree shows: a later row with the same numbers (from an older dump) is left out of
// the tree, and loading, saving and deleting the node leave it as it is.

// The table of a node kind, and back; empty or None when there is none.
QString nodeTableName(NodeKind kind);
NodeKind nodeKindOfTable(const QString& table);

// Fills the node property record of the table's kind (gStoreRec ... gSearchRec) from the node's row.
// False when no row matches: the record then keeps what it held.
bool LoadNodeProperties(const QString& table, const NodeNumbers& numbers);

// Deletes the node's row; wholeStore widens KVB_20 and KVB_23 to every row of the store. Callers that
// delete from several tables wrap the calls in one db::Transaction.
void DeleteNodeRecords(const QString& table, const NodeNumbers& numbers, bool wholeStore = false);

// Whether the node's number is taken: as the match above, but SCALE compares SC_IP alone across all
// stores, and KVB_23 ST_No and MG_No (a main-group number is unique within its store).
bool NodeNumberExists(const QString& table, const NodeNumbers& numbers);

// With deptNo 0 ("SECT"): the entries of the section list, "Not Used" then the store's section numbers.
// With a department ("KVB_20"): sets gCurSectNo to that department's section (kept when there is none)
// and returns nothing.
QStringList FillSectionCombo(const QString& table, qint16 storeNo, qint16 deptNo);

// Writes the record of the table's kind. Mode 0 adds a row. Mode 1 writes over the node's row (none
// matching: nothing) and carries the numbers into the children: a store's number into its sections,
// scales, departments and main groups; a section's into its scales; a department's store and number into
// its main groups; a main group's number into PLU_MG of its store's PLUs; a scale's address into Scale_IP
// of its preset keys (copied instead while another scale keeps the old address). Department and main-group
// rows written get their scale record rebuilt. Any other mode writes nothing. All of it is one transaction: a
// failure writes nothing and throws.
void SaveNodeProperties(const QString& table, const NodeNumbers& oldNumbers, int mode);

// Prepares a new node of the kind "STORE", "SECT", "MACHINE", "KVB_20", "KVB_23" or "SEARCH" under the
// selected node: clears the current selection (the address to ""), takes the parent's numbers from the
// selected key when it is a node of the parent kind (store for SECT, KVB_20, SEARCH; section for MACHINE;
// department for KVB_23) and returns the proposed number: one more than the number of the last row in
// stored order (of the store for all but STORE; of every department for KVB_23), 1 with no row. MACHINE
// sets the address "  0.  0.  0.  0", proposes 1 and reads no table.
int PrepareNewNode(const QString& kind, const QString& selectedKey);

} // namespace quorvane
