#pragma once

#include <QList>
#include <QString>

namespace quorvane {

// One node of the store tree as the window adds it. Images are 1-based in the view's image list:
// store view (ImageListStore) root 1, store 2, section 3, scale 4; data view (ImageListData) store 1,
// department 2, main group 3, search 2.
struct TreeNode {
    QString parentKey; // empty: a top-level node
    QString key;
    QString text;
    int image = 0;
};

// A row the tree could not take: its parent is not in the tree, or its key is in it already.
struct SkippedNode {
    enum Reason { MissingParent, DuplicateKey };
    TreeNode node;
    Reason reason = MissingParent;
};

// The nodes of one view, in adding order (every parent before its children), and the rows left out.
struct TreeViewNodes {
    QList<TreeNode> nodes;
    QList<SkippedNode> skipped;
};

// The nodes of one table, one query in stored order, as the current view shows them: "STORE", "SECT",
// "SCALE" (store view, by gSysStore and gTreeStoreNo; the STORE pass sets gTreeStoreNo in one-store mode
// and, in store mode 1, begins with the root node), "KVB_20", "KVB_23", "SEARCH" (data view of gCurStoreNo).
// Any other table gives nothing. Database failures throw db::DbError.
QList<TreeNode> LoadTreeLevel(const QString& table);

// The whole store view: the root node (store mode 1), the stores, their sections and their scales.
TreeViewNodes LoadStoreView();
// The whole data view of the store node given: that node at the top (image 1), then its departments,
// main groups and searches. gCurStoreNo := the store number of the key.
TreeViewNodes LoadDataView(const QString& storeKey, const QString& storeText);

} // namespace quorvane
