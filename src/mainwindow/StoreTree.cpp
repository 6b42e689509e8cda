#include "mainwindow/StoreTree.h"

#include "mainwindow/NodeKeys.h"
#include "settings/Settings.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QSet>

namespace quorvane {

namespace {

// One level of the tree: its query reads the key's numbers, then the node's text.
struct Level {
    const char* table;
    NodeKind kind;
    NodeKind parentKind;
    const char* columns;
    int image;
};

constexpr Level kLevels[] = {
    {"STORE", NodeKind::Store, NodeKind::Root, "ST_No, ST_Name", 2},
    {"SECT", NodeKind::Section, NodeKind::Store, "ST_No, SECT_No, SECT_Name", 3},
    {"SCALE", NodeKind::Scale, NodeKind::Section, "ST_No, SECT_No, SC_IP, SC_No", 4},
    {"KVB_20", NodeKind::Department, NodeKind::Store, "ST_No, DP_No, DP_Name", 2},
    {"KVB_23", NodeKind::MainGroup, NodeKind::Department, "ST_No, DP_No, MG_No, MG_Name", 3},
    {"SEARCH", NodeKind::Search, NodeKind::Store, "ST_No, SH_No, SH_Name", 2},
};

const Level* levelOf(const QString& table)
{
    for (const Level& l : kLevels)
        if (table.compare(QLatin1String(l.table), Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

NodeNumbers rowNumbers(NodeKind kind, const db::Statement& st)
{
    NodeNumbers n;
    n.storeNo = qint16(st.columnInt(0));
    switch (kind) {
    case NodeKind::Scale:
        n.scaleIP = st.column(2).toString();
        [[fallthrough]];
    case NodeKind::Section:
        n.sectNo = qint16(st.columnInt(1));
        break;
    case NodeKind::MainGroup:
        n.mgNo = qint16(st.columnInt(2));
        [[fallthrough]];
    case NodeKind::Department:
    case NodeKind::Search:
        n.deptOrSearchNo = qint16(st.columnInt(1));
        break;
    default:
        break;
    }
    return n;
}

// Adds the node unless its parent is missing or its key is taken; those are named instead.
void addChecked(TreeViewNodes& view, QSet<QString>& keys, const TreeNode& node)
{
    if (!node.parentKey.isEmpty() && !keys.contains(node.parentKey)) {
        view.skipped.append({node, SkippedNode::MissingParent});
    } else if (keys.contains(node.key)) {
        view.skipped.append({node, SkippedNode::DuplicateKey});
    } else {
        keys.insert(node.key);
        view.nodes.append(node);
    }
}

TreeViewNodes loadView(const QList<TreeNode>& top, std::initializer_list<const char*> tables)
{
    TreeViewNodes view;
    QSet<QString> keys;
    for (const TreeNode& node : top)
        addChecked(view, keys, node);
    for (const char* table : tables)
        for (const TreeNode& node : LoadTreeLevel(QLatin1String(table)))
            addChecked(view, keys, node);
    return view;
}

} // namespace

QList<TreeNode> LoadTreeLevel(const QString& table)
{
    const Level* level = levelOf(table);
    if (!level)
        return {};
    StoreTreeState& tree = gStoreTree();
    const bool several = isSeveralStoreMode();
    QList<TreeNode> nodes;
    QString where, limit;
    QVariantList params;
    switch (level->kind) {
    case NodeKind::Store:
        if (several)
            nodes.append({QString(), kRootNodeKey, gSettings().gTreeRootName, 1});
        else
            limit = QStringLiteral(" LIMIT 1"); // one-store mode: the first store only
        break;
    case NodeKind::Section:
    case NodeKind::Scale:
        if (!several) {
            where = QStringLiteral(" WHERE ST_No=?");
            params << tree.gTreeStoreNo;
        }
        break;
    default:
        where = QStringLiteral(" WHERE ST_No=?");
        params << tree.gCurStoreNo;
        break;
    }
    db::Statement st = gDBConnection.prepare(
        QStringLiteral("SELECT %1 FROM %2%3 ORDER BY rowid%4")
            .arg(QLatin1String(level->columns), QLatin1String(level->table), where, limit));
    st.bind(params);
    const int textColumn = st.columnCount() - 1;
    while (st.step()) {
        const NodeNumbers n = rowNumbers(level->kind, st);
        TreeNode node;
        if (level->kind != NodeKind::Store || several)
            node.parentKey = nodeKey(level->parentKind, n);
        node.key = nodeKey(level->kind, n);
        node.text = st.column(textColumn).toString();
        node.image = level->image;
        nodes.append(node);
        if (level->kind == NodeKind::Store && !several)
            tree.gTreeStoreNo = n.storeNo;
    }
    return nodes;
}

TreeViewNodes LoadStoreView() { return loadView({}, {"STORE", "SECT", "SCALE"}); }

TreeViewNodes LoadDataView(const QString& storeKey, const QString& storeText)
{
    gStoreTree().gCurStoreNo = parseNodeKey(storeKey).numbers.storeNo;
    return loadView({{QString(), storeKey, storeText, 1}}, {"KVB_20", "KVB_23", "SEARCH"});
}

} // namespace quorvane
