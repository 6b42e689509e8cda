#pragma once

#include "mainwindow/NodeKeys.h"

#include <QList>
#include <QString>

#include <optional>

namespace quorvane {

// What the node commands of the main window (new, properties, delete) do with the selected key, apart from the
// tree and the dialogs.

// The word PrepareNewNode takes for a new node of the kind: "STORE", "SECT", "MACHINE", "KVB_20", "KVB_23",
// "SEARCH"; empty for the other kinds.
QString newNodeWord(NodeKind kind);

// Whether a new node of the kind hangs under the node of the key: a store under the root, a section, department
// or search under a store, a scale under a section, a main group under a department.
bool isParentOf(NodeKind kind, const QString& parentKey);

// The provisional node a new-node command puts into the tree, and the numbers its dialog starts from.
struct NewNode {
    QString parentKey;
    QString key;
    QString text;
    int image = 0;       // in the view's image list
    NodeNumbers numbers; // the current selection while the dialog is open
};

// The new node of the kind under the parent's key: the parent's numbers, and the proposed number for the new
// node's own level (a department of 97 or above and a main group of 997 or above start again at 1, as 97 and 997
// are the store's own: the dialog tests the number); a scale takes the address "  0.  0.  0.  0". Its text is the
// command's caption followed by the number, a scale's the caption alone.
NewNode newNodeUnder(NodeKind kind, const QString& parentKey, int proposed, const QString& caption);

// Fills the node property record of the kind with the defaults of a new node of those numbers; a new store also
// gets its department 97 ("DEPT") and main group 997 ("MG") into gDeptRec and gMGRec, saved with it.
void setNewNodeRecords(NodeKind kind, const NodeNumbers& numbers, const QString& caption);

// The remembered key of the view that shows nodes of the kind: gStoreViewKey for stores, sections and scales,
// gDataViewKey for departments, main groups and searches.
QString& rememberedKeyOf(NodeKind kind);

// The title of a node kind's dialog ("Store"), and its caption: the title, a blank and "Properties".
QString nodeTitle(NodeKind kind);
QString propertiesCaption(NodeKind kind);

// The rows a delete of the node removes, in this order: a store's row and, in the store view, every department and
// main group of the store; another node its own row. The root and a key of no kind remove nothing.
struct DeleteStep {
    QString table;
    bool wholeStore = false;
};
QList<DeleteStep> deleteStepsOf(const QString& key, bool storeView);
// Deletes them in one transaction; a failure deletes nothing and throws. The current selection holds the node's
// numbers afterwards.
void DeleteNode(const QString& key, bool storeView);

// The two flag codes a department or main group inherits, when its bar format is the inherited one: a
// department's are its store's; a main group's are its department's unless that inherits too, then the store's.
// Nothing when no row gives them (another kind, or the rows are missing). Database failures throw.
struct FlagCodes {
    qint16 flag1 = 0;
    qint16 flag2 = 0;
};
std::optional<FlagCodes> LoadBarFormatFlags(NodeKind kind, qint16 storeNo, qint16 deptNo);

} // namespace quorvane
