#include "mainwindow/NodeRecords.h"

#include "records/KvbRecords.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <functional>
#include <type_traits>

namespace quorvane {

namespace {

struct NodeTable {
    NodeKind kind;
    const char* table;
    const char* newNodeWord; // PrepareNewNode's kind word
    NodeKind parentKind;     // the node a new one hangs under
    const char* numberField; // what PrepareNewNode proposes
};

constexpr NodeTable kNodeTables[] = {
    {NodeKind::Store, "STORE", "STORE", NodeKind::Root, "ST_No"},
    {NodeKind::Section, "SECT", "SECT", NodeKind::Store, "SECT_No"},
    {NodeKind::Scale, "SCALE", "MACHINE", NodeKind::Section, nullptr},
    {NodeKind::Department, "KVB_20", "KVB_20", NodeKind::Store, "DP_No"},
    {NodeKind::MainGroup, "KVB_23", "KVB_23", NodeKind::Department, "MG_No"},
    {NodeKind::Search, "SEARCH", "SEARCH", NodeKind::Store, "SH_No"},
};

const NodeTable* tableOf(NodeKind kind)
{
    for (const NodeTable& t : kNodeTables)
        if (t.kind == kind)
            return &t;
    return nullptr;
}

const NodeTable* tableNamed(const QString& table)
{
    for (const NodeTable& t : kNodeTables)
        if (table.compare(QLatin1String(t.table), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

// Calls f(name, member) for each field of a record, in its table's order.
template<class F> void visitFields(F&) { }
template<class F, class T, class... Rest> void visitFields(F& f, const char* name, T& member, Rest&... rest)
{
    f(name, member);
    visitFields(f, rest...);
}

template<class F> void forFields(StoreRec& r, F&& f)
{
    visitFields(f, "ST_No", r.ST_No, "ST_Name", r.ST_Name, "Flag1", r.Flag1, "Flag2", r.Flag2, "barformat",
                r.barformat);
}
template<class F> void forFields(SectRec& r, F&& f)
{
    visitFields(f, "SECT_No", r.SECT_No, "ST_No", r.ST_No, "SECT_Name", r.SECT_Name, "Flag1", r.Flag1, "Flag2", r.Flag2,
                "barformat", r.barformat);
}
template<class F> void forFields(ScaleRec& r, F&& f)
{
    visitFields(f, "SC_IP", r.SC_IP, "SC_No", r.SC_No, "SC_Used", r.SC_Used, "SC_FTPName", r.SC_FTPName, "SC_FTPPW",
                r.SC_FTPPW, "SC_MODEL_ID", r.SC_MODEL_ID, "SC_PSK_Layout", r.SC_PSK_Layout, "ST_No", r.ST_No, "SECT_No",
                r.SECT_No);
}
template<class F> void forFields(DeptRec& r, F&& f)
{
    visitFields(f, "DP_No", r.DP_No, "DP_Name", r.DP_Name, "Flag1", r.Flag1, "Flag2", r.Flag2, "barformat", r.barformat,
                "ST_No", r.ST_No, "SECT_No", r.SECT_No);
}
template<class F> void forFields(MGRec& r, F&& f)
{
    visitFields(f, "MG_No", r.MG_No, "MG_Name", r.MG_Name, "Flag1", r.Flag1, "Flag2", r.Flag2, "barformat", r.barformat,
                "Tax_No", r.Tax_No, "ST_No", r.ST_No, "SECT_No", r.SECT_No, "DP_No", r.DP_No);
}
template<class F> void forFields(SearchRec& r, F&& f)
{
    visitFields(f, "SH_No", r.SH_No, "SH_Name", r.SH_Name, "DP_No1", r.DP_No1, "DP_No2", r.DP_No2, "MG_No1", r.MG_No1,
                "MG_No2", r.MG_No2, "PLU_No1", r.PLU_No1, "PLU_No2", r.PLU_No2, "PLU_UPrice1", r.PLU_UPrice1,
                "PLU_UPrice2", r.PLU_UPrice2, "ST_No", r.ST_No);
}

// Runs f with the node property record of the kind.
template<class F> void withRecord(NodeKind kind, F&& f)
{
    StoreTreeState& t = gStoreTree();
    switch (kind) {
    case NodeKind::Store:
        return f(t.gStoreRec);
    case NodeKind::Section:
        return f(t.gSectRec);
    case NodeKind::Scale:
        return f(t.gScaleRec);
    case NodeKind::Department:
        return f(t.gDeptRec);
    case NodeKind::MainGroup:
        return f(t.gMGRec);
    case NodeKind::Search:
        return f(t.gSearchRec);
    default:
        return;
    }
}

template<class T> void assign(T& member, const QVariant& v)
{
    if constexpr (std::is_same_v<T, QString>)
        member = v.toString();
    else
        member = T(v.toLongLong());
}

template<class T> QVariant variantOf(const T& member)
{
    if constexpr (std::is_same_v<T, QString>)
        return member;
    else
        return qlonglong(member);
}

// A WHERE clause of field=? terms with its values.
struct Where {
    QStringList terms;
    QVariantList params;

    Where& operator()(const char* field, const QVariant& value)
    {
        terms << QLatin1String(field) + QStringLiteral("=?");
        params << value;
        return *this;
    }
    QString sql() const
    {
        return terms.isEmpty() ? QString() : QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
    }
};

enum class Match { Node, WholeStore, Number };

Where whereOf(NodeKind kind, const NodeNumbers& n, Match how)
{
    Where w;
    if (kind == NodeKind::Scale && how == Match::Number)
        return w("SC_IP", n.scaleIP); // addresses are unique across all stores
    w("ST_No", n.storeNo);
    if (how == Match::WholeStore && (kind == NodeKind::Department || kind == NodeKind::MainGroup))
        return w;
    switch (kind) {
    case NodeKind::Section:
        return w("SECT_No", n.sectNo);
    case NodeKind::Scale:
        return w("SECT_No", n.sectNo)("SC_IP", n.scaleIP);
    case NodeKind::Department:
        return w("DP_No", n.deptOrSearchNo);
    case NodeKind::MainGroup:
        return how == Match::Number ? w("MG_No", n.mgNo) : w("DP_No", n.deptOrSearchNo)("MG_No", n.mgNo);
    case NodeKind::Search:
        return w("SH_No", n.deptOrSearchNo);
    default:
        return w;
    }
}

// The node's own row: the first of its key in stored order, the one the tree shows (it leaves a later row of the
// same key out), so the node's dialog and delete never reach another row.
Where nodeRow(const NodeTable& t, const NodeNumbers& n)
{
    const Where key = whereOf(t.kind, n, Match::Node);
    Where w;
    w.terms << QStringLiteral("rowid=(SELECT rowid FROM %1%2 ORDER BY rowid LIMIT 1)")
                   .arg(QLatin1String(t.table), key.sql());
    w.params = key.params;
    return w;
}

using RowChange = std::function<void(db::Recordset&)>;

void saveRow(const QString& table, db::Recordset& rs, const RowChange& change)
{
    change(rs);
    if (records::kvbRecordSize(table) > 0)
        rs.setValue(QStringLiteral("KVBBinData"), records::buildKvbRecord(table, rs));
    rs.update();
}

// Changes every matching row, rebuilding the scale record of a department or main group; returns how many.
int changeRows(const QString& table, const Where& where, const RowChange& change)
{
    db::Recordset rs(&gDBConnection);
    rs.open(QStringLiteral("SELECT * FROM ") + table + where.sql(), where.params);
    int changed = 0;
    for (; !rs.eof(); rs.moveNext(), ++changed)
        saveRow(table, rs, change);
    return changed;
}

void addRow(const QString& table, const RowChange& change)
{
    db::Recordset rs(&gDBConnection);
    rs.open(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 0"));
    rs.addNew();
    saveRow(table, rs, change);
}

RowChange setField(const char* field, qint16 value)
{
    return [=](db::Recordset& rs) { rs.setValue(QLatin1String(field), value); };
}

void carryIntoChildren(NodeKind kind, const NodeNumbers& old)
{
    const StoreTreeState& t = gStoreTree();
    switch (kind) {
    case NodeKind::Store:
        for (const char* child : {"SECT", "SCALE", "KVB_20", "KVB_23"})
            changeRows(QLatin1String(child), Where()("ST_No", old.storeNo), setField("ST_No", t.gStoreRec.ST_No));
        break;
    case NodeKind::Section:
        changeRows(QStringLiteral("SCALE"), Where()("ST_No", old.storeNo)("SECT_No", old.sectNo),
                   setField("SECT_No", t.gSectRec.SECT_No));
        break;
    case NodeKind::Department: {
        const DeptRec d = t.gDeptRec;
        changeRows(QStringLiteral("KVB_23"), Where()("ST_No", old.storeNo)("DP_No", old.deptOrSearchNo),
                   [&](db::Recordset& rs) {
                       rs.setValue(QStringLiteral("ST_No"), d.ST_No);
                       rs.setValue(QStringLiteral("DP_No"), d.DP_No);
                   });
        break;
    }
    case NodeKind::MainGroup:
        // The PLUs name their main group by number; their records are built afresh before each send.
        if (t.gMGRec.MG_No != old.mgNo)
            gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET PLU_MG=? WHERE ST_No=? AND PLU_MG=?"),
                               {t.gMGRec.MG_No, old.storeNo, old.mgNo});
        break;
    case NodeKind::Scale:
        if (t.gScaleRec.SC_IP != old.scaleIP) {
            // Keys left at the new address by a deleted scale give way where they would double a key.
            gDBConnection.exec(QStringLiteral("DELETE FROM KVB_41 WHERE Scale_IP=? AND EXISTS (SELECT 1 FROM KVB_41 "
                                              "AS k WHERE k.Scale_IP=? AND k.PSK_Layout=KVB_41.PSK_Layout AND "
                                              "k.Number=KVB_41.Number)"),
                               {t.gScaleRec.SC_IP, old.scaleIP});
            if (gDBConnection.scalar(QStringLiteral("SELECT 1 FROM SCALE WHERE SC_IP=?"), {old.scaleIP}).isNull()) {
                gDBConnection.exec(QStringLiteral("UPDATE KVB_41 SET Scale_IP=? WHERE Scale_IP=?"),
                                   {t.gScaleRec.SC_IP, old.scaleIP});
            } else {
                // Another scale still has the old address (an older dump): its keys stay, the moved scale takes
                // a copy of them.
                QStringList others;
                for (const db::FieldInfo& f : gDBConnection.fields(QStringLiteral("KVB_41")))
                    if (f.name.compare(QLatin1String("Scale_IP"), Qt::CaseInsensitive) != 0)
                        others << f.name;
                const QString columns = others.join(QLatin1Char(','));
                gDBConnection.exec(QStringLiteral("INSERT INTO KVB_41 (Scale_IP,%1) SELECT ?,%1 FROM KVB_41 WHERE "
                                                  "Scale_IP=? ORDER BY rowid")
                                       .arg(columns),
                                   {t.gScaleRec.SC_IP, old.scaleIP});
            }
        }
        break;
    default:
        break;
    }
}

} // namespace

QString nodeTableName(NodeKind kind)
{
    const NodeTable* t = tableOf(kind);
    return t ? QLatin1String(t->table) : QString();
}

NodeKind nodeKindOfTable(const QString& table)
{
    const NodeTable* t = tableNamed(table);
    return t ? t->kind : NodeKind::None;
}

bool LoadNodeProperties(const QString& table, const NodeNumbers& numbers)
{
    const NodeTable* t = tableNamed(table);
    if (!t)
        return false;
    bool found = false;
    withRecord(t->kind, [&](auto& rec) {
        QStringList names;
        forFields(rec, [&](const char* name, auto&) { names << QLatin1String(name); });
        const Where where = nodeRow(*t, numbers);
        db::Statement st = gDBConnection.prepare(
            QStringLiteral("SELECT %1 FROM %2%3")
                .arg(names.join(QLatin1Char(',')), QLatin1String(t->table), where.sql()));
        st.bind(where.params);
        if (st.step()) {
            int column = 0;
            forFields(rec, [&](const char*, auto& member) { assign(member, st.column(column++)); });
            found = true;
        }
    });
    return found;
}

void DeleteNodeRecords(const QString& table, const NodeNumbers& numbers, bool wholeStore)
{
    const NodeTable* t = tableNamed(table);
    if (!t)
        return;
    const Where where = wholeStore ? whereOf(t->kind, numbers, Match::WholeStore) : nodeRow(*t, numbers);
    gDBConnection.exec(QStringLiteral("DELETE FROM ") + QLatin1String(t->table) + where.sql(), where.params);
}

bool NodeNumberExists(const QString& table, const NodeNumbers& numbers)
{
    const NodeTable* t = tableNamed(table);
    if (!t)
        return false;
    const Where where = whereOf(t->kind, numbers, Match::Number);
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT 1 FROM ") + QLatin1String(t->table) + where.sql());
    st.bind(where.params);
    return st.step();
}

QStringList FillSectionCombo(const QString& table, qint16 storeNo, qint16 deptNo)
{
    const NodeKind kind = nodeKindOfTable(table);
    if (kind != (deptNo == 0 ? NodeKind::Section : NodeKind::Department))
        return {};
    Where where;
    where("ST_No", storeNo);
    if (deptNo != 0)
        where("DP_No", deptNo);
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT SECT_No FROM ") + nodeTableName(kind) + where.sql()
                                             + QStringLiteral(" ORDER BY rowid"));
    st.bind(where.params);
    QStringList entries;
    if (deptNo == 0)
        entries << QStringLiteral("Not Used");
    while (st.step()) {
        if (deptNo == 0)
            entries << QString::number(st.columnInt(0));
        else
            gStoreTree().gCurSectNo = qint16(st.columnInt(0));
    }
    return entries;
}

void SaveNodeProperties(const QString& table, const NodeNumbers& oldNumbers, int mode)
{
    const NodeTable* t = tableNamed(table);
    if (!t || (mode != 0 && mode != 1))
        return;
    const QString name = QLatin1String(t->table);
    db::Transaction tx(gDBConnection);
    int changed = 0;
    withRecord(t->kind, [&](auto& record) {
        auto rec = record; // the record is written, never changed
        const RowChange write = [&](db::Recordset& rs) {
            forFields(rec,
                      [&](const char* field, auto& member) { rs.setValue(QLatin1String(field), variantOf(member)); });
        };
        if (mode == 1)
            changed = changeRows(name, nodeRow(*t, oldNumbers), write);
        else
            addRow(name, write);
    });
    // With no node row written under the old numbers, its children would move under numbers no node has.
    if (changed > 0)
        carryIntoChildren(t->kind, oldNumbers);
    tx.commit();
}

int PrepareNewNode(const QString& kind, const QString& selectedKey)
{
    StoreTreeState& tree = gStoreTree();
    tree.gCurStoreNo = tree.gCurSectNo = tree.gCurDeptNo = tree.gCurMGNo = 0;
    tree.gCurScaleIP.clear();
    const NodeTable* t = nullptr;
    for (const NodeTable& candidate : kNodeTables)
        if (kind == QLatin1String(candidate.newNodeWord))
            t = &candidate;
    if (!t)
        return 1;
    // Numbers only from a node of the parent kind: any other key's digits would be another node's.
    const NodeKey parent = parseNodeKey(selectedKey);
    if (t->kind != NodeKind::Store && parent.kind == t->parentKind) {
        tree.gCurStoreNo = parent.numbers.storeNo;
        tree.gCurSectNo = parent.numbers.sectNo;
        tree.gCurDeptNo = parent.numbers.deptOrSearchNo;
    }
    if (!t->numberField) {
        tree.gCurScaleIP = kNoScaleIP;
        return 1;
    }
    Where where;
    if (t->kind != NodeKind::Store)
        where("ST_No", tree.gCurStoreNo);
    db::Statement st = gDBConnection.prepare(
        QStringLiteral("SELECT %1 FROM %2%3 ORDER BY rowid DESC LIMIT 1")
            .arg(QLatin1String(t->numberField), QLatin1String(t->table), where.sql()));
    st.bind(where.params);
    return st.step() ? int(st.columnInt(0)) + 1 : 1;
}

} // namespace quorvane
