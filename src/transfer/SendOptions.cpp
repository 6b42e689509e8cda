#include "transfer/SendOptions.h"

#include "platform/events/EventPump.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <vector>

namespace quorvane {

using namespace records::plu;

namespace {

constexpr int kChunkRows = 500;

// What the encoder may change in a row: its flag bytes, the item code and its data, and the record.
QList<Field> writtenFields()
{
    QList<Field> fields;
    for (int f = Stat1_Byte1; f <= Stat1_Byte4; ++f)
        fields << Field(f);
    for (int f = Stat2_Byte1; f <= Stat2_Byte16; ++f)
        fields << Field(f);
    return fields << PLU_EANItemCode << PLU_EANData << KVBBinData;
}

struct MarkedPlu {
    qint64 rowid = 0;
    records::PluRow row;
};

// The next marked rows in stored order after the rowid, every field.
std::vector<MarkedPlu> nextMarkedPlus(qint64 afterRowid)
{
    static const QString sql = [] {
        QStringList names;
        for (int f = 0; f < Count; ++f)
            names << QLatin1String(name(Field(f)));
        return QStringLiteral("SELECT rowid,%1 FROM KVB_25 WHERE Is_Selected=1 AND rowid>? ORDER BY rowid LIMIT %2")
            .arg(names.join(QLatin1Char(',')))
            .arg(kChunkRows);
    }();
    std::vector<MarkedPlu> rows;
    rows.reserve(kChunkRows);
    db::Statement st = gDBConnection.prepare(sql);
    st.bind({afterRowid});
    while (st.step()) {
        MarkedPlu& plu = rows.emplace_back();
        plu.rowid = st.columnInt(0);
        for (int f = 0; f < Count; ++f)
            plu.row.load(Field(f), st.column(f + 1));
    }
    return rows;
}

} // namespace

void MarkStoreForDownload(const QString& table)
{
    if (table == QLatin1String("KVB_14"))
        gDBConnection.exec(QStringLiteral("UPDATE KVB_14 SET Is_Selected=1"));
    else if (table == QLatin1String("KVB_20") || table == QLatin1String("KVB_23"))
        gDBConnection.exec(QStringLiteral("UPDATE %1 SET Is_Selected=CASE WHEN ST_No=? THEN 1 ELSE 0 END").arg(table),
                           {gStoreTree().gCurStoreNo});
}

PluRecordPass EncodeMarkedPluRecords()
{
    static const QList<Field> written = writtenFields();
    static const QString update = [] {
        QStringList sets;
        for (Field f : written)
            sets << QStringLiteral("%1=coalesce(?,%1)").arg(QLatin1String(name(f)));
        return QStringLiteral("UPDATE KVB_25 SET %1 WHERE rowid=?").arg(sets.join(QLatin1Char(',')));
    }();

    PluRecordPass pass;
    EventPump pump;
    db::Transaction transaction(gDBConnection);
    for (qint64 last = 0;;) {
        std::vector<MarkedPlu> chunk = nextMarkedPlus(last);
        if (chunk.empty())
            break;
        for (MarkedPlu& plu : chunk) {
            last = plu.rowid;
            const records::PluRow before = plu.row;
            try {
                plu.row.set(KVBBinData, records::encodePluRecord(plu.row, true));
            } catch (const records::CodecError& e) {
                pass.kept << e.message();
                pump();
                continue;
            }
            ++pass.built;
            // Only what the encoder changed is written; a field left unbound keeps its value.
            bool changed = false;
            db::Statement st = gDBConnection.prepare(update);
            for (int i = 0; i < written.size(); ++i)
                if (plu.row.changed(written[i]) && plu.row.value(written[i]) != before.value(written[i])) {
                    st.bindValue(i, plu.row.value(written[i]));
                    changed = true;
                }
            if (changed) {
                st.bindValue(int(written.size()), plu.rowid);
                st.step();
            }
            pump();
        }
    }
    transaction.commit();
    if (pass.built > 0)
        records::ClearBarFormatMemories();
    return pass;
}

} // namespace quorvane
