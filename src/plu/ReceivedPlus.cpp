#include "plu/ReceivedPlus.h"

#include "platform/Error.h"
#include "platform/events/EventPump.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QHash>

#include <algorithm>

namespace quorvane {

namespace {

// The texts of one number column, in the query's order.
QStringList numbers(const QString& sql, const QVariantList& params)
{
    db::Statement st = gDBConnection.prepare(sql);
    st.bind(params);
    QStringList out;
    while (st.step())
        out << st.column(0).toString();
    return out;
}

// A list text as the number it stands for; the lists hold nothing else.
qint64 listNumber(const QString& text) { return text.trimmed().toLongLong(); }

QStringList mainGroupsOf(const QString& store, const QString& department)
{
    return numbers(QStringLiteral("SELECT MG_No FROM KVB_23 WHERE ST_No=? AND DP_No=? ORDER BY MG_No, rowid"),
                   {listNumber(store), listNumber(department)});
}

int fieldPosition(const QList<db::FieldInfo>& fields, QLatin1StringView name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw db::DbError(QStringLiteral("KVB_25 has no field %1.").arg(name));
}

} // namespace

QString receivedListSql() { return QStringLiteral("SELECT * FROM RC_25 WHERE Is_Selected=0 ORDER BY PLU_No, rowid"); }

void OpenReceivedList() { gRsReceived.open(receivedListSql()); }

void EmptyReceivedPLUs() { gDBConnection.exec(QStringLiteral("DELETE FROM RC_25")); }

bool HasReceivedPLUs() { return gDBConnection.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM RC_25)")).toBool(); }

QStringList receivedStoreList()
{
    const QStringList stores = numbers(QStringLiteral("SELECT ST_No FROM STORE ORDER BY ST_No, rowid"), {});
    return stores.isEmpty() ? QStringList{QStringLiteral("99")} : stores;
}

bool anyStoreExists() { return gDBConnection.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM STORE)")).toBool(); }

ReceivedDeptMG receivedDeptMGLists(const QString& store)
{
    QStringList departments = numbers(QStringLiteral("SELECT DP_No FROM KVB_20 WHERE ST_No=? ORDER BY DP_No, rowid"),
                                      {listNumber(store)});
    if (departments.isEmpty())
        departments = {QStringLiteral("97")};
    ReceivedDeptMG lists = receivedMGList(store, departments.first());
    if (lists.combDP.isEmpty())
        lists.combDP = departments;
    return lists;
}

ReceivedDeptMG receivedMGList(const QString& store, const QString& department)
{
    ReceivedDeptMG lists;
    lists.combMG = mainGroupsOf(store, department);
    if (!lists.combMG.isEmpty())
        return lists;
    // The department list falls back to 97 once; choosing it there shows its main groups, or 997.
    lists.combDP = {QStringLiteral("97")};
    lists.combMG = mainGroupsOf(store, lists.combDP.first());
    if (lists.combMG.isEmpty())
        lists.combMG = {QStringLiteral("997")};
    return lists;
}

int CopyReceivedPLUs(const QVector<qint64>& listed, const ReceivedCopyTarget& target,
                     const std::function<void(int)>& progress)
{
    if (!anyStoreExists())
        throw Error(gLangMsg.text(QStringLiteral("upNoStore")));
    const qint64 store = listNumber(target.store);
    const qint64 mainGroup = listNumber(target.mainGroup);

    const QList<db::FieldInfo> fields = gDBConnection.fields(QStringLiteral("KVB_25"));
    const int count = int(std::min(fields.size(), gDBConnection.fields(QStringLiteral("RC_25")).size()));
    const int plu = fieldPosition(fields, QLatin1StringView("PLU_No"));
    const int st = fieldPosition(fields, QLatin1StringView("ST_No"));
    const int mg = fieldPosition(fields, QLatin1StringView("PLU_MG"));
    const int mgCode = fieldPosition(fields, QLatin1StringView("Stat2_MGCode"));
    const int selected = fieldPosition(fields, QLatin1StringView("Is_Selected"));

    QStringList names, marks, sets;
    for (int i = 0; i < count; ++i) {
        names << fields[i].name;
        marks << QStringLiteral("?");
        sets << fields[i].name + QStringLiteral("=?");
    }
    const QString insert = QStringLiteral("INSERT INTO KVB_25 (%1) VALUES (%2)")
                               .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    const QString update = QStringLiteral("UPDATE KVB_25 SET %1 WHERE rowid=?").arg(sets.join(QLatin1Char(',')));

    // The marked rows by rowid, read once: the list decides the order and which of them count.
    QHash<qint64, QVariantList> received;
    {
        db::Statement rows = gDBConnection.prepare(
            QStringLiteral("SELECT rowid,%1 FROM RC_25 WHERE Is_Selected<>0").arg(names.join(QLatin1Char(','))));
        while (rows.step()) {
            QVariantList values;
            values.reserve(count);
            for (int i = 0; i < count; ++i)
                values << rows.column(i + 1);
            received.insert(rows.columnInt(0), values);
        }
    }

    db::Transaction tx(gDBConnection);
    // The row each number of the store stands for: the first in number, stored order. Rows this copy appends
    // join it, so a number received twice is written once and then overwritten or left alone.
    QHash<qint64, qint64> existing;
    {
        db::Statement rows = gDBConnection.prepare(
            QStringLiteral("SELECT PLU_No, rowid FROM KVB_25 WHERE ST_No=? ORDER BY PLU_No, rowid"));
        rows.bind({store});
        while (rows.step())
            if (!existing.contains(rows.columnInt(0)))
                existing.insert(rows.columnInt(0), rows.columnInt(1));
    }

    EventPump pump;
    int written = 0;
    for (int k = 0; k < listed.size(); ++k) {
        const auto it = received.constFind(listed[k]);
        if (it != received.constEnd()) {
            QVariantList values = *it;
            values[st] = store;
            values[mg] = mainGroup;
            if (mainGroup != 997)
                values[mgCode] = 1;
            values[selected] = 0;
            const qint64 number = values[plu].toLongLong();
            const auto found = existing.constFind(number);
            if (found == existing.constEnd()) {
                db::Statement write = gDBConnection.prepare(insert);
                write.bind(values);
                write.step();
                existing.insert(number, gDBConnection.lastInsertRowId());
                ++written;
            } else if (target.overwrite) {
                db::Statement write = gDBConnection.prepare(update);
                values << *found;
                write.bind(values);
                write.step();
                ++written;
            }
        }
        if (progress)
            progress(k + 1);
        pump();
    }
    tx.commit();
    return written;
}

} // namespace quorvane
