#include "presetkeys/PresetKeyTable.h"

#include "presetkeys/PresetKeyLayout.h"
#include "records/PackedBcd.h"
#include "records/ScaleRecordDumps.h"
#include "state/PresetKeyState.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

namespace quorvane::presetkeys {

namespace {

constexpr qint32 Million = 1000000;
constexpr int RecordSize = records::kPresetKeyRecordSize;

const QString kPageQuery = QStringLiteral("SELECT * FROM KVB_41 WHERE Scale_IP = ? AND PSK_Layout = ? AND Number = ?");
const QString kSheetCondition = QStringLiteral(" WHERE Scale_IP = ? AND PSK_Layout = ?");

QVariantList sheetOf() { return {gStoreTree().gCurScaleIP, gPresetKeys().gPSKLayout}; }

} // namespace

KeyFields keyFieldsOfCode(qint32 keyCode)
{
    KeyFields f;
    f.keySwitch = keyCode % Million;
    if (keyCode < 3 * Million)
        f.status = keyCode / Million;
    else if (keyCode < 4 * Million)
        f.status = 129;
    else if (keyCode < 5 * Million)
        f.status = 130;
    else
        f.status = 6;
    return f;
}

qint32 keyCodeOfFields(qint32 keySwitch, qint32 status)
{
    qint64 kind = 5;
    if (status <= 2)
        kind = status;
    else if (status == 129)
        kind = 3;
    else if (status == 130)
        kind = 4;
    return qint32(keySwitch + kind * Million);
}

qint32 pageNumber(int key, int page, int keyNum) { return (page - 1) * keyNum + key; }

QByteArray KvbPresetKeyRecord(qint32 number, qint32 keySwitch, qint32 status, int keyNum)
{
    if (keyNum < 1)
        throw records::CodecError(QStringLiteral("A layout of %1 keys per page has no key records.").arg(keyNum));
    if (status < 0 || status > 255)
        throw records::CodecError(QStringLiteral("Status %1 does not fit the key record.").arg(status));
    const qint64 pageIndex = (qint64(number) - 1) / keyNum;
    const qint64 recordNumber = pageIndex * 256 + (number - pageIndex * keyNum);
    QByteArray record(RecordSize, '\0');
    records::PackedBcd(record, 0, recordNumber, 4);
    records::ReverseCopy(record, 4, RecordSize, 2);
    records::PackedBcd(record, 6, keySwitch, 4);
    record[10] = char(status);
    return record;
}

PresetKeyPage ReadPresetKeyPage(qint32 number)
{
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT Key_Switch, Status, Name FROM KVB_41")
                                             + kSheetCondition
                                             + QStringLiteral(" AND Number = ? ORDER BY rowid LIMIT 1"));
    st.bind(sheetOf() << number);
    PresetKeyPage page;
    if (st.step()) {
        page.keyCode = keyCodeOfFields(qint32(st.columnInt(0)), qint32(st.columnInt(1)));
        page.name = st.column(2).toString();
    }
    return page;
}

void WritePresetKeyPage(qint32 number, qint32 keyCode, const QString& name)
{
    db::Recordset row(&gDBConnection);
    row.open(kPageQuery, sheetOf() << number);
    if (keyCode > 0) {
        const KeyFields fields = keyFieldsOfCode(keyCode);
        // Built first, so a record that cannot be built leaves the row as it was.
        const QByteArray record = KvbPresetKeyRecord(number, fields.keySwitch, fields.status, gPresetKeys().gKeyNum);
        if (row.eof())
            row.addNew();
        row.setValue(QStringLiteral("PSK_Layout"), gPresetKeys().gPSKLayout);
        row.setValue(QStringLiteral("Scale_IP"), gStoreTree().gCurScaleIP);
        row.setValue(QStringLiteral("Number"), number);
        row.setValue(QStringLiteral("Key_Switch"), fields.keySwitch);
        row.setValue(QStringLiteral("Status"), fields.status);
        row.setValue(QStringLiteral("Name"), name.isEmpty() ? QStringLiteral(" ") : name);
        row.setValue(QStringLiteral("KVBBinData"), record);
        row.update();
    } else if (!row.eof()) {
        row.deleteCurrent();
    }
    row.close();
}

QHash<qint32, QString> presetKeyNames()
{
    db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT Number, Name FROM KVB_41") + kSheetCondition
                                             + QStringLiteral(" AND Number BETWEEN 1 AND ? ORDER BY rowid"));
    st.bind(sheetOf() << 3 * qint64(gPresetKeys().gKeyNum));
    QHash<qint32, QString> names;
    while (st.step()) {
        // A page has one row; should there be more, the first one counts, as for every other lookup.
        const qint32 number = qint32(st.columnInt(0));
        if (!names.contains(number))
            names.insert(number, st.column(1).toString());
    }
    return names;
}

void DeletePresetKeyLayout()
{
    db::Transaction transaction(gDBConnection);
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_41") + kSheetCondition, sheetOf());
    transaction.commit();
}

void MarkPresetKeyLayout(bool marked)
{
    gDBConnection.exec(QStringLiteral("UPDATE KVB_41 SET Is_Selected = ?") + kSheetCondition,
                       QVariantList{marked ? 1 : 0} + sheetOf());
}

int LayoutKeyCounts::keyNum(int layout)
{
    auto known = m_known.find(layout);
    if (known == m_known.end()) {
        Known k;
        try {
            k.keyNum = readPresetKeyLayout(programPath(QLatin1String(paths::PresetKeyFile)), layout).keyNum;
        } catch (const PresetKeyFileError& e) {
            k.refusal = e.fullText();
        }
        known = m_known.insert(layout, k);
    }
    if (!known->refusal.isEmpty())
        throw records::CodecError(QStringLiteral("Layout %1 has no keys per page.").arg(layout), known->refusal);
    return known->keyNum;
}

QByteArray presetKeyRecordOfRow(const db::Recordset& row, LayoutKeyCounts& layouts)
{
    const int keyNum = layouts.keyNum(int(row.intValue(QStringLiteral("PSK_Layout"))));
    return KvbPresetKeyRecord(qint32(row.intValue(QStringLiteral("Number"))),
                              qint32(row.intValue(QStringLiteral("Key_Switch"))),
                              qint32(row.intValue(QStringLiteral("Status"))), keyNum);
}

} // namespace quorvane::presetkeys
