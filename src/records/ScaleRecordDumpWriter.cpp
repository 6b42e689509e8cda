#include "records/ScaleRecordDumps.h"

#include "platform/events/EventPump.h"
#include "platform/text/TextFile.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "records/PluTableRows.h"
#include "records/ScaleRecordDumpList.h"
#include "state/SharedData.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

// The exit's half of the record dumps: every table's records written to its file, built where a row has none.
namespace quorvane::records {

using namespace dumps;

namespace {

QByteArray binData(const QVariant& v) { return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : QByteArray(); }

QByteArray barePluRecord(const PluRow& row)
{
    QByteArray rec(kPluFixedSize, '\0');
    try {
        PackedBcd(rec, 0, row.number(plu::PLU_No), 4);
    } catch (const CodecError&) {
    }
    ReverseCopy(rec, 4, kPluFixedSize, 2);
    rec[31] = char(0xFF);
    return rec;
}

QByteArray storedPluRecord(qint64 rowid)
{
    return binData(gDBConnection.scalar(QStringLiteral("SELECT KVBBinData FROM KVB_25 WHERE rowid=?"), {rowid}));
}

// Every PLU's record is built again from its row. The rows are not written: the working database is removed
// once the new dumps are in place, and the next start-up restores the rows from these records.
QByteArray dumpPlus(QStringList* warnings, EventPump& pump)
{
    // What the encoder reads: it packs the flag bytes itself and reads neither them nor the fields below.
    const FieldList read = allFieldsBut(
        fieldsBetween(plu::Stat1_Byte1, plu::Stat1_Byte4) + fieldsBetween(plu::Stat2_Byte1, plu::Stat2_Byte16)
        + FieldList{plu::SECT_No, plu::PLU_EANData, plu::PLU_CommodityFirst, plu::KVBBinData, plu::Is_Selected});
    QByteArray out;
    QStringList kept, shortened;
    readEachPluRow(read, [&](PluChunkRow& r) {
        pump();
        try {
            appendPluRecordTo(out, r.row, false);
            return;
        } catch (const CodecError& e) {
            // A complete record is worth more than one rebuilt without what cannot be encoded.
            if (const QByteArray previous = storedPluRecord(r.rowid); !previous.isEmpty()) {
                kept << e.message();
                out += previous;
                return;
            }
        }
        // Again from the row as it stands, since the failed attempt changed some of its values.
        PluRow row = readWholePluRow(r.rowid);
        QStringList leftOut;
        try {
            appendPluRecordTo(out, row, false, &leftOut);
        } catch (const CodecError& bare) {
            // Not even the fixed part: the record holds the number alone and keeps the position.
            leftOut = QStringList{bare.message()};
            row = readWholePluRow(r.rowid);
            out += barePluRecord(row);
        }
        shortened << QStringLiteral("PLU %1 (%2)").arg(row.text(plu::PLU_No), leftOut.join(QStringLiteral("; ")));
    });
    ClearBarFormatMemories();
    if (warnings && !kept.isEmpty())
        warnings->append(QStringLiteral("%1 PLUs could not be encoded and keep their previous scale records: %2")
                             .arg(kept.size())
                             .arg(listed(kept)));
    if (warnings && !shortened.isEmpty())
        warnings->append(QStringLiteral("%1 PLUs were saved without the values that could not be encoded: %2")
                             .arg(shortened.size())
                             .arg(listed(shortened)));
    return out;
}

// A record of the table's size that says so; whose it is, the table's own check tells.
bool isWholeRecord(const DumpFile& d, const QByteArray& rec)
{
    const auto header = KvbRecordHeader::read(rec);
    return header && header->length == rec.size()
        && (d.recordSize ? rec.size() == d.recordSize : rec.size() >= smallestRecord(d));
}

// A row whose record is not whole and its own gets one from the table's encoder, saved in the row, so every
// later record stays at the position of its row. A row that gets none (no encoder, or one that declines it)
// ends the file, since every record after it would be read back into the wrong row.
QByteArray dumpTable(const DumpFile& d, const TableCodec& codec, QStringList* warnings, EventPump& pump)
{
    const QString table = gDBConnection.tableName(QLatin1String(d.table));
    // Only the record and the key are read of each row, a chunk of rows at a time; the whole row only when
    // its record is built.
    const QString chunkSql = QStringLiteral(
                                 "SELECT rowid, KVBBinData%1 FROM %2 WHERE rowid > ? ORDER BY rowid LIMIT %3")
                                 .arg(codec.keyField.isEmpty() ? QString() : QLatin1Char(',') + codec.keyField, table)
                                 .arg(kChunkRows);
    QByteArray out;
    QStringList problems;
    int gapRow = -1;
    QString declined;
    int dropped = 0;
    int n = 0;
    gRsWork.openTable(table); // positioned on a row only to build its record
    db::Recordset chunk(&gDBConnection);
    for (qint64 last = 0;; chunk.close()) {
        chunk.open(chunkSql, {last});
        if (chunk.eof())
            break;
        for (; !chunk.eof(); chunk.moveNext()) {
            ++n;
            last = chunk.value(0).toLongLong();
            QByteArray rec = binData(chunk.value(1));
            if (gapRow >= 0) {
                dropped += rec.isEmpty() ? 0 : 1;
                continue;
            }
            if (!isWholeRecord(d, rec) || (codec.fits && !codec.fits(rec, chunk))) {
                QStringList rowProblems;
                std::optional<QByteArray> built;
                gRsWork.move(n - 1);
                try {
                    if (codec.build)
                        built = codec.build(gRsWork, &rowProblems);
                } catch (const CodecError& e) {
                    declined = e.fullText();
                }
                if (!built) {
                    gapRow = n;
                    continue;
                }
                rec = *built;
                if (!rowProblems.isEmpty())
                    problems << QStringLiteral("%1 %2: %3")
                                    .arg(codec.keyField.isEmpty() ? QStringLiteral("row") : codec.keyField,
                                         codec.keyField.isEmpty() ? QString::number(n)
                                                                  : gRsWork.textValue(codec.keyField),
                                         rowProblems.join(QStringLiteral("; ")));
                gRsWork.setValue(QStringLiteral("KVBBinData"), rec);
                gRsWork.update();
            }
            out += rec;
            pump();
        }
    }
    gRsWork.close();
    if (!warnings)
        return out;
    if (!problems.isEmpty())
        warnings->append(QStringLiteral("Some records of %1 were saved with values left out: %2")
                             .arg(QLatin1String(d.table), listed(problems)));
    if (dropped > 0)
        warnings->append(QStringLiteral("%1 scale records of %2 could not be kept: row %3 has no whole record%4")
                             .arg(dropped)
                             .arg(QLatin1String(d.table))
                             .arg(gapRow)
                             .arg(declined.isEmpty() ? QStringLiteral(".")
                                                     : QStringLiteral(", and none can be built: %1").arg(declined)));
    return out;
}

} // namespace

bool SaveBinDataToFiles(const QString& targetFolder, const QString& currentFolder, QStringList* warnings,
                        QString* error, const RecordEncoders& encoders, const DumpWritten& written)
{
    // Without the database every file would come out empty and replace the records of the last exit.
    if (!gDBConnection.isOpen())
        return failWith(error, QStringLiteral("The scale records cannot be saved: the database is not open."));
    EventPump pump;
    try {
        db::Transaction tx(gDBConnection);
        for (const DumpFile& d : dumpFiles()) {
            const QString table = QLatin1String(d.table);
            const QString target = filePath(targetFolder, QLatin1String(d.file));
            QString writeError;
            QByteArray out;
            if (!gDBConnection.hasTable(table)) {
                // A table the database lacks had no rows this run; its records of the last exit are kept.
                const QString current = currentFolder.isEmpty() ? QString()
                                                                : filePath(currentFolder, QLatin1String(d.file));
                if (!current.isEmpty() && QFileInfo(current).isFile() && QDir(currentFolder) != QDir(targetFolder)
                    && !text::readFile(current, &out, &writeError))
                    return failWith(error, writeError);
            } else {
                out = isPluTable(d) ? dumpPlus(warnings, pump) : dumpTable(d, codecOf(table, encoders), warnings, pump);
            }
            if (!text::writeFileAtomically(target, out, &writeError))
                return failWith(error, writeError);
            if (written)
                written(QLatin1String(d.file), out);
        }
        tx.commit();
    } catch (const Error& e) {
        return failedPass(QStringLiteral("The scale records cannot be saved: %1"), e, error);
    }
    return true;
}

} // namespace quorvane::records
