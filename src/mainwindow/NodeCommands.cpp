#include "mainwindow/NodeCommands.h"

#include "mainwindow/NodeRecords.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

namespace quorvane {

namespace {

struct NewKind {
    NodeKind kind;
    const char* word; // of PrepareNewNode
    NodeKind parent;  // the node it hangs under
    int image;        // in its view's image list
    int fixed;        // the fixed node every store has: a proposal of it or above starts again at 1; 0: none
    bool storeView;   // its view, and so its remembered key
};

constexpr NewKind kNewKinds[] = {
    {NodeKind::Store, "STORE", NodeKind::Root, 2, 0, true},
    {NodeKind::Section, "SECT", NodeKind::Store, 3, 0, true},
    {NodeKind::Scale, "MACHINE", NodeKind::Section, 4, 0, true},
    {NodeKind::Department, "KVB_20", NodeKind::Store, 2, 97, false},
    {NodeKind::MainGroup, "KVB_23", NodeKind::Department, 3, 997, false},
    {NodeKind::Search, "SEARCH", NodeKind::Store, 2, 0, false},
};

const NewKind* newKindOf(NodeKind kind)
{
    for (const NewKind& k : kNewKinds)
        if (k.kind == kind)
            return &k;
    return nullptr;
}

} // namespace

QString newNodeWord(NodeKind kind)
{
    const NewKind* k = newKindOf(kind);
    return k ? QLatin1String(k->word) : QString();
}

bool isParentOf(NodeKind kind, const QString& parentKey)
{
    const NewKind* k = newKindOf(kind);
    return k && parseNodeKey(parentKey).kind == k->parent;
}

NewNode newNodeUnder(NodeKind kind, const QString& parentKey, int proposed, const QString& caption)
{
    NewNode node;
    const NewKind* k = newKindOf(kind);
    if (!k)
        return node;
    const NodeNumbers parent = parseNodeKey(parentKey).numbers;
    const qint16 n = qint16(k->fixed > 0 && proposed >= k->fixed ? 1 : proposed);
    NodeNumbers& numbers = node.numbers;
    numbers.storeNo = kind == NodeKind::Store ? n : parent.storeNo;
    switch (kind) {
    case NodeKind::Section:
        numbers.sectNo = n;
        break;
    case NodeKind::Scale:
        numbers.sectNo = parent.sectNo;
        break;
    case NodeKind::Department:
    case NodeKind::Search:
        numbers.deptOrSearchNo = n;
        break;
    case NodeKind::MainGroup:
        numbers.deptOrSearchNo = parent.deptOrSearchNo;
        numbers.mgNo = n;
        break;
    default:
        break;
    }
    node.parentKey = parentKey;
    node.key = nodeKey(kind, numbers);
    node.text = kind == NodeKind::Scale ? caption : caption + QString::number(n);
    node.image = k->image;
    return node;
}

void setNewNodeRecords(NodeKind kind, const NodeNumbers& n, const QString& caption)
{
    StoreTreeState& t = gStoreTree();
    const auto named = [&caption](qint16 number) { return caption + QString::number(number); };
    switch (kind) {
    case NodeKind::Store:
        t.gStoreRec = {.ST_No = n.storeNo, .ST_Name = named(n.storeNo), .Flag1 = 16, .Flag2 = 16, .barformat = 0};
        t.gDeptRec = {.DP_No = 97, .DP_Name = QStringLiteral("DEPT"), .barformat = 255, .ST_No = n.storeNo};
        t.gMGRec = {.MG_No = 997, .MG_Name = QStringLiteral("MG"), .barformat = 255, .ST_No = n.storeNo, .DP_No = 97};
        break;
    case NodeKind::Section:
        t.gSectRec = {.SECT_No = n.sectNo, .ST_No = n.storeNo, .SECT_Name = named(n.sectNo), .barformat = 255};
        break;
    case NodeKind::Scale:
        t.gScaleRec = {.SC_IP = kNoScaleIP,
                       .SC_No = caption,
                       .SC_Used = 1,
                       .SC_FTPName = QStringLiteral("pelno"),
                       .SC_FTPPW = QStringLiteral("pelno"),
                       .ST_No = n.storeNo,
                       .SECT_No = n.sectNo};
        break;
    case NodeKind::Department:
        t.gDeptRec = {
            .DP_No = n.deptOrSearchNo, .DP_Name = named(n.deptOrSearchNo), .barformat = 255, .ST_No = n.storeNo};
        break;
    case NodeKind::MainGroup:
        t.gMGRec = {
            .MG_No = n.mgNo, .MG_Name = named(n.mgNo), .barformat = 255, .ST_No = n.storeNo, .DP_No = n.deptOrSearchNo};
        break;
    case NodeKind::Search:
        t.gSearchRec = {.SH_No = n.deptOrSearchNo,
                        .SH_Name = named(n.deptOrSearchNo),
                        .DP_No1 = 1,
                        .DP_No2 = 97,
                        .MG_No1 = 1,
                        .MG_No2 = 997,
                        .PLU_No1 = 1,
                        .PLU_No2 = 999997,
                        .PLU_UPrice1 = 0,
                        .PLU_UPrice2 = 999999,
                        .ST_No = n.storeNo};
        break;
    default:
        break;
    }
}

QString& rememberedKeyOf(NodeKind kind)
{
    StoreTreeState& t = gStoreTree();
    const NewKind* k = newKindOf(kind);
    return k && k->storeView ? t.gStoreViewKey : t.gDataViewKey;
}

QString nodeTitle(NodeKind kind)
{
    switch (kind) {
    case NodeKind::Store:
        return gLangProperties.text(QStringLiteral("labtitleStore"));
    case NodeKind::Section:
        return gLangProperties.text(QStringLiteral("labtitleSect"));
    case NodeKind::Scale:
        return gLangScProperties.text(QStringLiteral("labtitleMachine"));
    case NodeKind::Department:
        return gLangProperties.text(QStringLiteral("labtitleDept"));
    case NodeKind::MainGroup:
        return gLangProperties.text(QStringLiteral("labtitleMg"));
    case NodeKind::Search:
        return gLangSearch.text(QStringLiteral("labtitleSearch"));
    default:
        return QString();
    }
}

QString propertiesCaption(NodeKind kind)
{
    return nodeTitle(kind) + QLatin1Char(' ') + gLangProperties.text(QStringLiteral("properties"));
}

QList<DeleteStep> deleteStepsOf(const QString& key, bool storeView)
{
    const NodeKind kind = parseNodeKey(key).kind;
    const QString table = nodeTableName(kind);
    if (table.isEmpty())
        return {};
    QList<DeleteStep> steps{{table, false}};
    // The data view's store node always has department 97 below it, so only the store view deletes a store.
    if (kind == NodeKind::Store && storeView)
        steps << DeleteStep{QStringLiteral("KVB_20"), true} << DeleteStep{QStringLiteral("KVB_23"), true};
    return steps;
}

void DeleteNode(const QString& key, bool storeView)
{
    const NodeKey node = parseNodeKey(key);
    setCurrentSelection(node.numbers);
    db::Transaction tx(gDBConnection);
    for (const DeleteStep& step : deleteStepsOf(key, storeView))
        DeleteNodeRecords(step.table, node.numbers, step.wholeStore);
    tx.commit();
}

std::optional<FlagCodes> LoadBarFormatFlags(NodeKind kind, qint16 storeNo, qint16 deptNo)
{
    std::optional<FlagCodes> flags;
    // The last matching row gives them, as a walk over the rows does.
    const auto read = [&](const QString& sql, const QVariantList& params, bool departments) {
        db::Statement st = gDBConnection.prepare(sql);
        st.bind(params);
        while (st.step()) {
            if (departments && st.columnInt(2) == 255)
                return false; // the department inherits: the store's then
            flags = FlagCodes{qint16(st.columnInt(0)), qint16(st.columnInt(1))};
        }
        return true;
    };
    const auto storeFlags = [&] {
        read(QStringLiteral("SELECT Flag1, Flag2 FROM STORE WHERE ST_No=? ORDER BY rowid"), {storeNo}, false);
    };
    if (kind == NodeKind::Department) {
        storeFlags();
    } else if (kind == NodeKind::MainGroup) {
        if (!read(QStringLiteral("SELECT Flag1, Flag2, barformat FROM KVB_20 WHERE ST_No=? AND DP_No=? ORDER BY rowid"),
                  {storeNo, deptNo}, true))
            storeFlags();
    }
    return flags;
}

} // namespace quorvane
