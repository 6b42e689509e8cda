#include "plu/PluFreeNumbers.h"

#include "state/PluEditorState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

namespace quorvane {

QString lowestFreePLUNumberQuery()
{
    // 1 when it is free, else the first used number whose successor is free, walking the store's numbers
    // in order along the (ST_No, PLU_No) index.
    return QStringLiteral("SELECT CASE WHEN NOT EXISTS (SELECT 1 FROM KVB_25 WHERE ST_No=?1 AND PLU_No=1) THEN 1 "
                          "ELSE (SELECT a.PLU_No+1 FROM KVB_25 a WHERE a.ST_No=?1 AND a.PLU_No>=1 AND "
                          "a.PLU_No<=999995 AND NOT EXISTS (SELECT 1 FROM KVB_25 b WHERE b.ST_No=?1 AND "
                          "b.PLU_No=a.PLU_No+1) ORDER BY a.PLU_No LIMIT 1) END");
}

std::optional<qint32> lowestFreePLUNumber(qint16 storeNo)
{
    const QVariant n = gDBConnection.scalar(lowestFreePLUNumberQuery(), {storeNo});
    if (n.isNull())
        return std::nullopt;
    return qint32(n.toLongLong());
}

FreeNumberProposal ProposeFreePLUNumber()
{
    FreeNumberProposal p;
    PluEditorState& s = gPluEditor();
    if (s.gHideSelectedCol != 1)
        return p;
    p.editMode = true;
    p.number = lowestFreePLUNumber(gStoreTree().gCurStoreNo);
    if (p.number)
        s.gNewPLUNo = *p.number;
    return p;
}

} // namespace quorvane
