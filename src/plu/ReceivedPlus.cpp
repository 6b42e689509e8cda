#include "plu/ReceivedPlus.h"

#include "platform/Error.h"
#include "platform/events/EventPump.h"
#include "plu/PluFieldRanges.h"
#include "records/PluRow.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace quorvane {

namespace {

namespace f = records::plu;

// The ranges a received PLU is held to, resolved once: every whole-number field with one but the store and the
// main group, which the copy sets from its target.
class RangeCheck {
public:
    RangeCheck()
    {
        for (int i = 0; i < f::Count; ++i) {
            const auto field = f::Field(i);
            const PluFieldRange* range = pluFieldRange(QString::fromLatin1(f::name(field)));
            if (range && field != f::ST_No && field != f::PLU_MG && range->kind != fields::Kind::Text
                && range->kind != fields::Kind::ItemCode)
                m_ranges << range;
        }
    }

    const QList<const PluFieldRange*>& ranges() const { return m_ranges; }

    // The first field outside its range, with its value and why; an empty reason when there is none.
    template<class ValueOf> text::LineLeftOut refusal(const ValueOf& valueOf) const
    {
        for (const PluFieldRange* range : m_ranges) {
            const qint64 v = valueOf(range->field);
            QString why = pluRangeRefusal(*range, v);
            if (!why.isEmpty())
                return {.field = QLatin1String(f::name(range->field)), .value = QString::number(v), .reason = why};
        }
        return {};
    }

private:
    QList<const PluFieldRange*> m_ranges;
};

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

datafiles::ReceivedLineCheck receivedLineCheck()
{
    return [check = RangeCheck()](const db::Recordset& rs) {
        const records::PluRow row = records::readPluRow(rs);
        return check.refusal([&](f::Field field) { return row.number(field); });
    };
}

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

ReceivedCopyResult CopyReceivedPLUs(const QVector<qint64>& listed, const ReceivedCopyTarget& target,
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

    // A last guard: the loader keeps such rows out of RC_25, but a row the scale record cannot hold never reaches
    // a store, whoever put it there.
    const RangeCheck check;
    std::array<int, f::Count> position{};
    for (const PluFieldRange* range : check.ranges())
        position[range->field] = fieldPosition(fields, QLatin1StringView(f::name(range->field)));

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
    ReceivedCopyResult result;
    for (int k = 0; k < listed.size(); ++k) {
        const auto it = received.constFind(listed[k]);
        text::LineLeftOut refused;
        if (it != received.constEnd())
            refused = check.refusal([&](f::Field field) { return it->value(position[field]).toLongLong(); });
        if (!refused.reason.isEmpty()) {
            refused.line = it->value(plu).toLongLong();
            result.refused.add(std::move(refused));
        } else if (it != received.constEnd()) {
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
                ++result.written;
            } else if (target.overwrite) {
                db::Statement write = gDBConnection.prepare(update);
                values << *found;
                write.bind(values);
                write.step();
                ++result.written;
            }
        }
        if (progress)
            progress(k + 1);
        pump();
    }
    tx.commit();
    return result;
}

} // namespace quorvane
