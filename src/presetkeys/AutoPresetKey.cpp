#include "presetkeys/AutoPresetKey.h"

#include "presetkeys/KeyEditor.h"
#include "presetkeys/PresetKeyTable.h"
#include "state/PresetKeyState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QByteArray>
#include <QStringList>

namespace quorvane::presetkeys {

namespace {

constexpr qint32 LastPlu = 999999;

QList<qint32> numbers(const QString& sql, const QVariantList& params)
{
    db::Statement query = gDBConnection.prepare(sql);
    query.bind(params);
    QList<qint32> found;
    while (query.step())
        found << qint32(query.columnInt(0));
    return found;
}

struct KeyPlu {
    qint32 pluNo;
    QString name;
};

QList<KeyPlu> chosenPlus(const AutoChoice& c, int keyNum)
{
    QString sql = QStringLiteral("SELECT PLU_No, PLU_Commodity FROM KVB_25 WHERE ST_No = ? AND PLU_No BETWEEN 1 AND ?");
    QVariantList params{c.storeNo, LastPlu};
    if (c.option == AutoOption::MainGroup) {
        sql += QStringLiteral(" AND PLU_MG = ?");
        params << c.mgNo;
    } else if (c.option == AutoOption::Department) {
        QStringList marks;
        for (qint32 mg : c.departmentGroups) {
            marks << QStringLiteral("?");
            params << mg;
        }
        sql += QStringLiteral(" AND PLU_MG IN (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    sql += QStringLiteral(" ORDER BY PLU_No, rowid LIMIT ?");
    params << qMax(keyNum, 0);
    db::Statement query = gDBConnection.prepare(sql);
    query.bind(params);
    QList<KeyPlu> plus;
    while (query.step())
        plus << KeyPlu{qint32(query.columnInt(0)), keyNameOfBlock(query.column(1).toByteArray())};
    return plus;
}

} // namespace

QList<qint32> departmentNumbers()
{
    return numbers(QStringLiteral("SELECT DP_No FROM KVB_20 ORDER BY DP_No, rowid"), {});
}

QList<qint32> mainGroupNumbers(qint32 storeNo, qint32 deptNo)
{
    return numbers(QStringLiteral("SELECT MG_No FROM KVB_23 WHERE ST_No = ? AND DP_No = ? ORDER BY MG_No, rowid"),
                   {storeNo, deptNo});
}

bool AutoAssignKeys(const AutoChoice& choice)
{
    // A department without main groups names no PLU: the layout stays as it is.
    if (choice.option == AutoOption::Department && choice.departmentGroups.isEmpty())
        return false;
    PresetKeyState& s = gPresetKeys();
    const QList<KeyPlu> plus = chosenPlus(choice, s.gKeyNum);
    // The records first: one that cannot be built leaves the layout whole.
    QList<QByteArray> records;
    for (int k = 1; k <= plus.size(); ++k)
        records << KvbPresetKeyRecord(k, plus[k - 1].pluNo, 0, s.gKeyNum);

    db::Transaction transaction(gDBConnection);
    DeletePresetKeyLayout();
    const QString insert = QStringLiteral("INSERT INTO KVB_41 (Scale_IP, PSK_Layout, Number, Key_Switch, Status, Name, "
                                          "KVBBinData) VALUES (?, ?, ?, ?, 0, ?, ?)");
    for (int k = 1; k <= plus.size(); ++k) {
        const KeyPlu& plu = plus[k - 1];
        gDBConnection.exec(insert,
                           {gStoreTree().gCurScaleIP, s.gPSKLayout, k, plu.pluNo,
                            plu.name.isEmpty() ? QVariant() : QVariant(plu.name), records[k - 1]});
    }
    transaction.commit();
    if (!plus.isEmpty())
        s.gCurKeyNo = qint32(plus.size()) + 1;
    return true;
}

} // namespace quorvane::presetkeys
