#pragma once

#include <QString>

namespace quorvane {

// A tree node key is the kind word and the node's numbers joined by single blanks: "STORE 1", "SECT 1 2",
// "MACHINE 1 2 192.168.  1. 20" (the scale address as stored, inner blanks included), "DEPT 1 10",
// "MG 1 10 40", "SEARCH 1 3". The root node of store mode 1 has a key of its own that no other node can have.

// Node kind codes as the property dialogs know them; Root and None have no dialog.
enum class NodeKind : qint16 {
    None = 0,
    Store = 1,
    Section = 2,
    Scale = 3,
    Department = 4,
    MainGroup = 5,
    Search = 6,
    Root = 7,
};

// The scale address of no scale: the current selection's address when nothing is selected.
inline const QString kNoScaleIP = QStringLiteral("  0.  0.  0.  0");
// The root node's key: no kind word starts with "*", so no store, section or other node can take it,
// whatever the root's text is.
inline const QString kRootNodeKey = QStringLiteral("*ROOT");

// Store mode 1 shows every store under the root node; every other mode shows one store without a root.
bool isSeveralStoreMode();

// A node's numbers, as the node operations take them: the meaning of deptOrSearchNo follows the table
// (the department of a department or main group, the search number of a search).
struct NodeNumbers {
    qint16 storeNo = 0;
    qint16 sectNo = 0;
    QString scaleIP = kNoScaleIP;
    qint16 deptOrSearchNo = 0;
    qint16 mgNo = 0;
};

struct NodeKey {
    NodeKind kind = NodeKind::None;
    NodeNumbers numbers; // those the kind has; the others stay as NodeNumbers starts them
};

// Reads the number that starts at the 1-based position `start`: each digit up to the next blank or the end
// turns the value v into v x 10 + d (anything else ends the number there). `next` receives the position
// after that blank. A start beyond the key gives 0.
qint16 keyNumber(const QString& key, int start, int* next = nullptr);

// The kind and the numbers of a key; the root key gives Root, a key of no kind None.
NodeKey parseNodeKey(const QString& key);
// The key of a node of that kind; empty for None. The root key for Root.
QString nodeKey(NodeKind kind, const NodeNumbers& numbers);
QString nodeKey(const NodeKey& key);

// The current selection of the store tree (gCurStoreNo ... gCurMGNo) as node numbers, and back.
NodeNumbers currentSelection();
void setCurrentSelection(const NodeNumbers& numbers);
// Store 0, section 0, "  0.  0.  0.  0", department 0, main group 0.
void clearCurrentSelection();

} // namespace quorvane
