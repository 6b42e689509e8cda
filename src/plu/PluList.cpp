#include "plu/PluList.h"

#include "platform/events/EventPump.h"
#include "plu/Marks.h"
#include "plu/PluEditorHost.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"

#include <QSet>
#include <QVector>

namespace quorvane {

namespace {

MarkList listMarks() { return MarkList(QStringLiteral("KVB_25"), gRsPLU.rowids()); }

} // namespace

QString PluListQuery::sql() const
{
    return QStringLiteral("SELECT * FROM KVB_25 ") + where + QStringLiteral(" ORDER BY PLU_No, rowid");
}

PluListQuery BuildPLUListQuery(PluListKind kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)
{
    PluListQuery q;
    q.where = QStringLiteral("WHERE ST_No=?");
    q.params << storeNo;
    if (kind == PluListKind::Department) {
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
    } else if (kind == PluListKind::MainGroup) {
        q.where += QStringLiteral(" AND PLU_MG=?");
        q.params << mgNo;
    } else if (kind == PluListKind::Search) {
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

PluListQuery OpenPLUList(PluListKind kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)
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
    // The rows the list was loaded with, whatever an edit made of them since.
    if (gRsPLU.recordCount() > 0)
        listMarks().clearMarked();
    gRsPLU.close();
}

std::optional<int> SetPLUSelection(int startRow, int count, MarkMode mode, bool currentMarked, int gridRow)
{
    if (!gRsPLU.isOpen() || gRsPLU.recordCount() == 0)
        return std::nullopt;
    const std::optional<int> value = listMarks().set(startRow, count, mode, currentMarked);
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
    if (host.ask(QStringLiteral("delPLU"), gLangMsg.text(QStringLiteral("delPLU"))) != PluAnswer::Yes)
        return false;
    gRsPLU.deleteCurrent();
    qint32& row = gPluEditor().gCurPLURow;
    if (row > gRsPLU.recordCount())
        --row;
    host.refreshPLUList();
    return true;
}

} // namespace quorvane
