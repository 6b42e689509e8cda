#include "plu/PluList.h"

#include "platform/events/EventPump.h"
#include "plu/PluBinding.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QSet>
#include <QVector>

namespace quorvane {

namespace {

// Is_Selected := value on the rows, in one transaction, a chunk of rows per statement.
void writeMarks(const QVector<qint64>& rows, int value)
{
    constexpr int Chunk = 128;
    db::Transaction tx(gDBConnection);
    EventPump pump;
    for (qsizetype i = 0; i < rows.size(); i += Chunk) {
        const qsizetype n = qMin<qsizetype>(Chunk, rows.size() - i);
        QVariantList params{value};
        for (qsizetype k = 0; k < n; ++k)
            params << rows[i + k];
        QString marks = QStringLiteral("?");
        marks += QStringLiteral(",?").repeated(n - 1);
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=? WHERE rowid IN (%1)").arg(marks), params);
        pump();
    }
    tx.commit();
}

} // namespace

QString PluListQuery::sql() const
{
    return QStringLiteral("SELECT * FROM KVB_25 ") + where + QStringLiteral(" ORDER BY PLU_No, rowid");
}

PluListQuery BuildPLUListQuery(quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)
{
    PluListQuery q;
    q.where = QStringLiteral("WHERE ST_No=?");
    q.params << storeNo;
    if (kind == 1) {
        db::Statement st = gDBConnection.prepare(
            QStringLiteral("SELECT MG_No FROM KVB_23 WHERE DP_No=? AND ST_No=? ORDER BY rowid"));
        st.bind({deptOrSearchNo, storeNo});
        QStringList marks;
        while (st.step()) {
            marks << QStringLiteral("?");
            q.params << st.columnInt(0);
        }
        if (marks.isEmpty()) {
            q.where += QStringLiteral(" AND PLU_MG=?");
            q.params << 0;
        } else {
            q.where += QStringLiteral(" AND PLU_MG IN (") + marks.join(QLatin1Char(',')) + QLatin1Char(')');
        }
    } else if (kind == 2) {
        q.where += QStringLiteral(" AND PLU_MG=?");
        q.params << mgNo;
    } else if (kind == 3) {
        db::Statement st = gDBConnection.prepare(
            QStringLiteral("SELECT MG_No1, MG_No2, PLU_No1, PLU_No2, PLU_UPrice1, PLU_UPrice2 FROM SEARCH "
                           "WHERE ST_No=? AND SH_No=? ORDER BY rowid LIMIT 1"));
        st.bind({storeNo, deptOrSearchNo});
        if (st.step()) {
            q.where += QStringLiteral(" AND (PLU_MG>=? AND PLU_MG<=?) AND (PLU_No>=? AND PLU_No<=?)"
                                      " AND (PLU_UPrice>=? AND PLU_UPrice<=?)");
            for (int i = 0; i < 6; ++i)
                q.params << st.columnInt(i);
        } else {
            q.where += QStringLiteral(" AND 0");
        }
    }
    return q;
}

PluListQuery OpenPLUList(quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)
{
    ClearPLUSelection();
    const PluListQuery q = BuildPLUListQuery(kind, storeNo, deptOrSearchNo, mgNo);
    gRsPLU.open(q.sql(), q.params);
    return q;
}

int ChoosePLUListRow()
{
    const int rows = gRsPLU.isOpen() ? gRsPLU.recordCount() : 0;
    if (rows == 0)
        return 0;
    qint32& row = gPluEditor().gCurPLURow;
    row = qBound(1, row, rows);
    return row;
}

void ClearPLUSelection()
{
    if (!gRsPLU.isOpen())
        return;
    if (gRsPLU.recordCount() > 0) {
        // The rows the list was loaded with, whatever an edit made of them since; only the marked ones need
        // writing.
        QSet<qint64> marked;
        db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT rowid FROM KVB_25 WHERE Is_Selected<>0"));
        while (st.step())
            marked.insert(st.columnInt(0));
        QVector<qint64> rows;
        for (const qint64 rowid : gRsPLU.rowids())
            if (marked.contains(rowid))
                rows << rowid;
        writeMarks(rows, 0);
    }
    gRsPLU.close();
}

std::optional<int> SetPLUSelection(int startRow, int count, int mode, bool currentMarked, int gridRow)
{
    if (!gRsPLU.isOpen() || gRsPLU.recordCount() == 0)
        return std::nullopt;
    const int value = mode == 1 ? 1 : mode != 0 ? 0 : count >= 2 ? 1 : currentMarked ? 0 : 1;
    const QVector<qint64>& rows = gRsPLU.rowids(); // grid row r is position r - 1
    const qsizetype first = qMax(startRow, 1) - 1;
    const qsizetype end = qMin<qsizetype>(qsizetype(startRow) - 1 + count, rows.size());
    if (end > first)
        writeMarks(rows.mid(first, end - first), value);
    if (gridRow >= 1 && gridRow <= gRsPLU.recordCount())
        gRsPLU.move(gridRow - 1); // also reads the row again, with its new mark
    return value;
}

bool CountSelectedPLU()
{
    return gDBConnection.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM KVB_25 WHERE Is_Selected=1)")).toBool();
}

bool DeletePLU(PluEditorHost& host)
{
    if (!gRsPLU.isOpen() || gRsPLU.absolutePosition() < 0)
        return false;
    if (host.ask(gLangMsg.text(QStringLiteral("delPLU"))) != PluAnswer::Yes)
        return false;
    gRsPLU.deleteCurrent();
    qint32& row = gPluEditor().gCurPLURow;
    if (row > gRsPLU.recordCount())
        --row;
    host.refreshPLUList();
    return true;
}

} // namespace quorvane
