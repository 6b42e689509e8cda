#include "records/ScaleRecordDumps.h"

#include "platform/events/EventPump.h"
#include "platform/text/TextFile.h"
#include "records/PluRecord.h"
#include "records/PluTableRows.h"
#include "records/ScaleRecordDumpList.h"
#include "records/ScaleRecordMatch.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QFileInfo>

// The start's half of the record dumps: each record back to its row, the PLUs decoded from theirs.
namespace quorvane::records {

using namespace dumps;

namespace {

// "PLU 3", or "PLU 3 (why)" when there is a why.
QString named(const QString& what, const QString& why)
{
    return why.isEmpty() ? what : QStringLiteral("%1 (%2)").arg(what, why);
}

// The keys of the table's rows in stored order; without a key field, a 0 for each row.
QList<qint64> rowKeys(const QString& table, const QString& keyField)
{
    QList<qint64> keys;
    for (db::Statement st = gDBConnection.prepare(
             QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                 .arg(keyField.isEmpty() ? QStringLiteral("0") : keyField, gDBConnection.tableName(table)));
         st.step();)
        keys << st.columnInt(0);
    return keys;
}

// True when every record of the file went to its row. A row without its own record is named, but for one after
// the last row that got one, as the exit leaves the rows from one it could build no record for.
bool loadTable(const DumpFile& d, const QByteArray& data, QStringList* messages)
{
    const QString table = QLatin1String(d.table);
    const QString keyField = codecOf(table, {}).keyField; // none: records go by position alone
    const RecordMatch records(d, data, rowKeys(table, keyField), !keyField.isEmpty(), keyField);
    QStringList without;
    gRsWork.openTable(table);
    for (qsizetype row = 0; !gRsWork.eof(); gRsWork.moveNext(), ++row) {
        const QByteArray record = records.recordOf(row);
        if (record.isEmpty()) {
            if (!records.beyondTheRecords(row))
                without << named(QStringLiteral("%1 %2").arg(keyField, gRsWork.textValue(keyField)), records.why(row));
            continue;
        }
        gRsWork.setValue(QStringLiteral("KVBBinData"), record);
        if (isTextTable(d))
            gRsWork.setValue(QStringLiteral("Name"), record.size() == 10 ? QVariant() : QVariant(record.mid(10)));
        gRsWork.update();
    }
    gRsWork.close();
    records.report(messages);
    if (!without.isEmpty())
        messages->append(QStringLiteral("%1 rows of %2 keep no scale record, since %3 holds none of theirs: %4.")
                             .arg(without.size())
                             .arg(QLatin1String(d.table), QLatin1String(d.file), listed(without)));
    return records.allApplied() && without.isEmpty();
}

// Every PLU whose record is not applied is named; a missing or empty file restores none of them. A held row that
// repeats the store and number of another row and has no record of its own is left out and named.
// True when every record of the file went to its row and was decoded.
bool loadPlus(const DumpFile& d, const QByteArray& data, bool fileExists, const HeldPluRows* held,
              QStringList* messages, EventPump& pump)
{
    const qsizetype width = held ? held->fields.size() : 0;
    QList<qint64> keys, stores;
    if (held) {
        const qsizetype key = held->fields.indexOf(plu::PLU_No), store = held->fields.indexOf(plu::ST_No);
        for (qsizetype i = 0; i < held->rowCount(); ++i) {
            keys << (key < 0 ? 0 : held->values[i * width + key].toLongLong());
            stores << (store < 0 ? 0 : held->values[i * width + store].toLongLong());
        }
    } else {
        keys = rowKeys(QLatin1String(d.table), QLatin1String(plu::name(plu::PLU_No)));
    }
    const RecordMatch records(d, data, std::move(keys), true, QStringLiteral("PLU"));
    // The rows of the same number as the row, but for itself.
    auto twins = [&](qsizetype row) {
        QList<qsizetype> others;
        const auto [first, last] = records.keys().rowsOf(records.keys().at(row));
        for (auto e = first; e != last; ++e)
            if (e->second != row)
                others << e->second;
        return others;
    };
    // "5", or "5 of store 2" where another row has the number.
    auto who = [&](qsizetype row) {
        const QString number = QString::number(records.keys().at(row));
        return stores.isEmpty() || twins(row).isEmpty() ? number
                                                        : QStringLiteral("%1 of store %2").arg(number).arg(stores[row]);
    };
    // A row without a record whose store and number another row has that got one, or comes first.
    auto doubled = [&](qsizetype row) {
        if (stores.isEmpty() || records.hasRecord(row))
            return false;
        for (const qsizetype other : twins(row))
            if (stores[other] == stores[row] && (other < row || records.hasRecord(other)))
                return true;
        return false;
    };
    QStringList notRestored, leftOut;
    // Gives the row its record, decoded; false when it has none.
    auto restore = [&](PluRow& row, qsizetype i) {
        const QByteArray record = records.recordOf(i);
        if (record.isEmpty()) {
            notRestored << named(who(i), records.why(i));
            return false;
        }
        row.setBytes(plu::KVBBinData, record);
        const PluDecodeResult result = decodePluRecord(row);
        if (result.outcome != PluDecodeResult::Decoded)
            notRestored << named(who(i), result.reason);
        pump();
        return true;
    };
    if (held) {
        PluInserter inserter;
        const PluRow fresh = newPluRow();
        for (qsizetype i = 0; i < held->rowCount(); ++i) {
            if (doubled(i)) {
                leftOut << named(who(i), records.why(i));
                continue;
            }
            PluRow row = fresh;
            for (qsizetype k = 0; k < width; ++k)
                row.load(held->fields[k], held->values[i * width + k]);
            restore(row, i);
            inserter.insert(row);
        }
    } else {
        // What the decoder reads of a row besides the record; it writes every other field but store and section.
        const FieldList read{plu::PLU_No, plu::ST_No, plu::PLU_Commodity};
        PluWriter writer(allFieldsBut({plu::ST_No, plu::SECT_No}));
        qsizetype i = 0;
        forEachPluRow(read, [&](PluChunkRow& r) {
            if (restore(r.row, i++))
                writer.write(r.rowid, r.row);
        });
    }
    records.report(messages);
    if (!leftOut.isEmpty())
        messages->append(
            QStringLiteral("%1 PLU %2.").arg(gLangMsg.text(QStringLiteral("pluRowsDoubled")), listed(leftOut)));
    if (!notRestored.isEmpty())
        messages->append(
            QStringLiteral("The values of %1 PLUs were not restored from their scale records: PLU %2.%3")
                .arg(notRestored.size())
                .arg(listed(notRestored),
                     fileExists ? QString() : QStringLiteral(" %1 is missing.").arg(QLatin1String(d.file))));
    return records.allApplied() && notRestored.isEmpty() && leftOut.isEmpty();
}

} // namespace

bool LoadBinDataFromFiles(const QString& folder, QStringList* messages, QString* error, QStringList* tablesNotApplied,
                          const HeldPluRows* heldPlus)
{
    if (!gDBConnection.isOpen())
        return failWith(error, QStringLiteral("The scale records cannot be loaded: the database is not open."));
    QStringList ignored;
    QStringList& said = messages ? *messages : ignored;
    EventPump pump;
    try {
        db::Transaction tx(gDBConnection);
        for (const DumpFile& d : dumpFiles()) {
            const QString path = filePath(folder, QLatin1String(d.file));
            if (!gDBConnection.hasTable(QLatin1String(d.table)))
                continue;
            const bool exists = QFileInfo(path).isFile();
            QByteArray data;
            QString readError;
            bool whole = true;
            if (exists && !text::readFile(path, &data, &readError)) {
                said.append(readError);
                data.clear();
                whole = false;
            }
            if (isPluTable(d))
                whole = loadPlus(d, data, exists, heldPlus, &said, pump) && whole;
            else if (!data.isEmpty())
                whole = loadTable(d, data, &said) && whole;
            if (!whole && tablesNotApplied)
                tablesNotApplied->append(QLatin1String(d.table));
        }
        tx.commit();
    } catch (const Error& e) {
        return failedPass(QStringLiteral("The scale records cannot be loaded: %1"), e, error);
    }
    ClearBarFormatMemories();
    return true;
}

} // namespace quorvane::records
