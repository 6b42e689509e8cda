#include "records/ScaleRecordDumps.h"

#include "platform/events/EventPump.h"
#include "platform/text/TextFile.h"
#include "records/KvbRecords.h"
#include "records/OtherRecords.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "state/SharedData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <optional>
#include <vector>

namespace quorvane::records {

namespace {

struct DumpFile {
    const char* table;
    const char* file;
    int recordSize; // 0: variable, the length in bytes 4-5
};

// In this order at shutdown and at start-up.
constexpr DumpFile kDumpFiles[] = {
    {"KVB_20", "tempdeptkvb.txt", 22},           {"KVB_23", "tempmgkvb.txt", 30},
    {"KVB_14", "tempflexibarcodekvb.txt", 16},   {"KVB_25", "tempplukvb.txt", 0},
    {"KVB_41", "temppesetkeykvb.txt", 11},       {"KVB_44", "tempclerkkvb.txt", 27},
    {"KVB_3A", "tempingfilekvb.txt", 0},         {"KVB_3B", "tempsmsgfilekvb.txt", 0},
    {"KVB_3C", "tempadvfilekvb.txt", 0},         {"KVB_3D", "tempsnamefilekvb.txt", 0},
    {"KVB_A8", "temptaxratefilekvb.txt", 14},    {"KVB_AA", "tempdiscschefilekvb.txt", 44},
    {"KVB_AB", "temppriceschefilekvb.txt", 28},  {"KVB_AC", "tempstockfnkeyfilekvb.txt", 32},
    {"KVB_AD", "temppaymentkeyfilekvb.txt", 16},
};

constexpr int kListedAtMost = 20;
constexpr int kChunkRows = 1000;

bool isPluTable(const DumpFile& d) { return qstrcmp(d.table, "KVB_25") == 0; }
bool isTextTable(const DumpFile& d) { return qstrncmp(d.table, "KVB_3", 5) == 0; }
int smallestRecord(const DumpFile& d) { return isTextTable(d) ? 10 : KvbRecordHeader::Size; }

QString listed(const QStringList& items)
{
    QString s = items.mid(0, kListedAtMost).join(QStringLiteral(", "));
    if (items.size() > kListedAtMost)
        s += QStringLiteral(" and %1 more").arg(items.size() - kListedAtMost);
    return s;
}

QString filePath(const QString& folder, const QString& name) { return QDir(folder).filePath(name); }

QByteArray binData(const QVariant& v) { return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : QByteArray(); }

// ---- the PLU table, read and written in chunks of rows through prepared statements ----

using FieldList = QList<plu::Field>;

FieldList allFieldsBut(const FieldList& skipped)
{
    FieldList out;
    for (int f = 0; f < plu::Count; ++f)
        if (!skipped.contains(plu::Field(f)))
            out << plu::Field(f);
    return out;
}

FieldList fieldsBetween(plu::Field first, plu::Field last)
{
    FieldList out;
    for (int f = first; f <= last; ++f)
        out << plu::Field(f);
    return out;
}

QString names(const FieldList& fields, const QString& pattern)
{
    QStringList out;
    for (plu::Field f : fields)
        out << pattern.arg(QLatin1String(plu::name(f)));
    return out.join(QLatin1Char(','));
}

struct PluChunkRow {
    qint64 rowid = 0;
    PluRow row;
};

// The given fields of the PLU rows the condition chooses; every value read costs, so only those.
std::vector<PluChunkRow> readPluRows(const FieldList& fields, const QString& condition, qint64 rowid)
{
    const QString sql =
        QStringLiteral("SELECT rowid,%1 FROM KVB_25 WHERE %2").arg(names(fields, QStringLiteral("%1")), condition);
    std::vector<PluChunkRow> rows;
    rows.reserve(kChunkRows);
    db::Statement st = gDBConnection.prepare(sql);
    st.bind({rowid});
    while (st.step()) {
        rows.emplace_back();
        PluChunkRow& r = rows.back();
        r.rowid = st.columnInt(0);
        for (int i = 0; i < fields.size(); ++i)
            r.row.load(fields[i], st.column(i + 1));
    }
    return rows;
}

// The next rows in stored order, after the given rowid.
std::vector<PluChunkRow> readPluChunk(const FieldList& fields, qint64 afterRowid)
{
    static const QString condition = QStringLiteral("rowid>? ORDER BY rowid LIMIT %1").arg(kChunkRows);
    return readPluRows(fields, condition, afterRowid);
}

// Every PLU row in stored order, a chunk at a time.
template<typename Visit> void forEachPluRow(const FieldList& fields, Visit visit)
{
    qint64 last = 0;
    for (;;) {
        std::vector<PluChunkRow> chunk = readPluChunk(fields, last);
        if (chunk.empty())
            return;
        for (PluChunkRow& r : chunk) {
            last = r.rowid;
            visit(r);
        }
    }
}

PluRow readWholePluRow(qint64 rowid)
{
    std::vector<PluChunkRow> rows = readPluRows(allFieldsBut({}), QStringLiteral("rowid=?"), rowid);
    if (rows.empty())
        throw db::DbError(QStringLiteral("PLU row %1 has gone.").arg(rowid));
    return std::move(rows.front().row);
}

// Writes back the changed ones of the given fields; a field left unbound keeps its value. The codecs
// never write a field empty, so an empty value can stand for "unchanged".
class PluWriter {
public:
    explicit PluWriter(FieldList fields)
        : m_fields(std::move(fields))
        , m_sql(QStringLiteral("UPDATE KVB_25 SET %1 WHERE rowid=?")
                    .arg(names(m_fields, QStringLiteral("%1=coalesce(?,%1)"))))
    {
    }
    void write(qint64 rowid, const PluRow& row)
    {
        db::Statement st = gDBConnection.prepare(m_sql);
        for (int i = 0; i < m_fields.size(); ++i)
            if (row.changed(m_fields[i]))
                st.bindValue(i, row.value(m_fields[i]));
        st.bindValue(int(m_fields.size()), rowid);
        st.step();
    }

private:
    FieldList m_fields;
    QString m_sql;
};

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

QByteArray dumpPlus(QStringList* warnings, EventPump& pump)
{
    // What the encoder may change: flags and flag bytes, the item code and its data, the record.
    // The encoder packs the flag bytes itself and reads neither them nor the fields below.
    static const FieldList read = allFieldsBut(fieldsBetween(plu::Stat1_Byte1, plu::Stat1_Byte4)
                                               + fieldsBetween(plu::Stat2_Byte1, plu::Stat2_Byte16)
                                               + FieldList{plu::SECT_No, plu::PLU_CommodityFirst, plu::Is_Selected});
    PluWriter writer(fieldsBetween(plu::Stat1_Unit, plu::Stat2_Byte16)
                     + FieldList{plu::PLU_EANItemCode, plu::PLU_EANData, plu::KVBBinData});
    QByteArray out;
    QStringList kept, shortened;
    forEachPluRow(read, [&](PluChunkRow& r) {
        pump();
        const QByteArray previous = binData(r.row.value(plu::KVBBinData));
        PluRow& row = r.row;
        QByteArray rec;
        try {
            rec = encodePluRecord(row, false);
        } catch (const CodecError& e) {
            if (!previous.isEmpty()) {
                // A complete record is worth more than one rebuilt without what cannot be encoded.
                kept << e.message();
                out += previous;
                return;
            }
            // Again from the row as it stands, since the failed attempt changed some of its values.
            row = readWholePluRow(r.rowid);
            QStringList leftOut;
            try {
                rec = encodePluRecord(row, false, &leftOut);
            } catch (const CodecError& bare) {
                // Not even the fixed part: the record holds the number alone and keeps the position.
                leftOut = QStringList{bare.message()};
                row = readWholePluRow(r.rowid);
                rec = barePluRecord(row);
            }
            shortened << QStringLiteral("PLU %1 (%2)").arg(row.text(plu::PLU_No), leftOut.join(QStringLiteral("; ")));
        }
        if (rec != previous) {
            row.set(plu::KVBBinData, rec);
            writer.write(r.rowid, row);
        }
        out += rec;
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

// ---- the other tables ----

// How a table's records are checked and built at exit.
struct TableCodec {
    RecordEncoder build; // none: a row without a whole record ends the table's file
    // Whether a whole record is its row's own; none: every whole record is.
    std::function<bool(const QByteArray& record, const db::Recordset& row)> fits;
    QString keyField; // read with each record for `fits`, and names a row
};

// Departments, main groups and flexible barcodes, and the other files' tables are built here, and their
// records' keys compared with their rows'; another table's records are built by the encoder it is given.
TableCodec codecOf(const QString& table, const RecordEncoders& encoders)
{
    if (kvbRecordSize(table) > 0)
        return {[table](const db::Recordset& row, QStringList* problems) {
                    return buildKvbRecord(table, row, problems, true);
                },
                [table](const QByteArray& record, const db::Recordset& row) {
                    return kvbRecordFitsRow(table, record, row);
                },
                kvbRecordKeyField(table)};
    if (isOtherRecordTable(table))
        return {
            [table](const db::Recordset& row, QStringList* problems) { return KvbOtherRecord(table, row, problems); },
            [table](const QByteArray& record, const db::Recordset& row) {
                return otherRecordFitsRow(table, record, row);
            },
            otherRecordKeyField(table)};
    return {encoders.value(table), {}, {}};
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

// ---- reload ----

QString stopMessage(const DumpFile& d, int rowNumber, const QString& why)
{
    return QStringLiteral("The scale records of %1 in %2 were read back only up to row %3: %4. The rows from there on "
                          "keep no record.")
        .arg(QLatin1String(d.table), QLatin1String(d.file))
        .arg(rowNumber - 1)
        .arg(why);
}

// Takes the records of a dump file one after another, never reading past the file, and says why it stops.
class DumpCursor {
public:
    DumpCursor(const DumpFile& d, const QByteArray& data) : m_d(d), m_data(data) { }

    bool atEnd() const { return m_pos >= m_data.size(); }

    // The next record, or an empty one with `problem` set. A record of variable length must be followed by
    // the end of the file or by a record (that of `nextKey`, the next row's key where it is known); otherwise
    // its own length is wrong, and the record says so by its own position.
    QByteArray next(QString* problem, std::optional<qint64> nextKey = {})
    {
        ++m_number;
        const qint64 at = m_pos;
        const QString where = QStringLiteral("record %1 (at byte %2)").arg(m_number).arg(at);
        int length = m_d.recordSize;
        if (!length) {
            const auto header = KvbRecordHeader::read(m_data, int(at));
            if (!header) {
                *problem = QStringLiteral("the file ends inside the header of %1").arg(where);
                return {};
            }
            length = header->length;
            if (length < smallestRecord(m_d)) {
                *problem = QStringLiteral("%1 says it is %2 bytes long").arg(where).arg(length);
                return {};
            }
        }
        if (at + length > m_data.size()) {
            *problem = QStringLiteral("the file ends inside %1 of %2 bytes").arg(where).arg(length);
            return {};
        }
        if (!m_d.recordSize && !canStartRecord(at + length, nextKey)) {
            *problem =
                QStringLiteral("%1 says it is %2 bytes long, but no record begins after it").arg(where).arg(length);
            return {};
        }
        m_pos += length;
        return m_data.mid(at, length);
    }

    // The records left after those taken, for a message: "3 records (96 bytes)".
    QString rest() const
    {
        DumpCursor c = *this;
        int records = 0;
        QString problem;
        while (!c.atEnd() && !c.next(&problem).isEmpty())
            ++records;
        const qint64 bytes = m_data.size() - m_pos;
        if (!c.atEnd())
            return QStringLiteral("%1 bytes").arg(bytes);
        return records == 1 ? QStringLiteral("1 record (%1 bytes)").arg(bytes)
                            : QStringLiteral("%1 records (%2 bytes)").arg(records).arg(bytes);
    }

private:
    // A header cut by the end of the file is left to the next record to report. Bytes inside a record can look
    // like a header, so where the next row's key is known, what follows must be that row's record, or a record
    // of another key that the file reads on from as whole records to its end (a row missing from the text
    // dump): that one is then named by the key check of the next row.
    bool canStartRecord(qint64 pos, std::optional<qint64> key) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header)
            return true;
        if (!key)
            return recordEnd(pos).has_value();
        if (header->key && qint64(*header->key) == *key)
            return true;
        std::optional<qint64> at = pos;
        while (at && *at < m_data.size())
            at = recordEnd(*at);
        return at.has_value();
    }

    // Where a record that can begin at `pos` ends: a header with a key and a length that fits the file.
    std::optional<qint64> recordEnd(qint64 pos) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header || !header->key || header->length < smallestRecord(m_d) || pos + header->length > m_data.size())
            return std::nullopt;
        return pos + header->length;
    }

    const DumpFile& m_d;
    const QByteArray& m_data;
    qint64 m_pos = 0;
    int m_number = 0;
};

QString keyMismatch(const QString& keyField, const QByteArray& rec, qint64 rowKey)
{
    const auto key = KvbRecordHeader::read(rec);
    const QString recordKey = key && key->key ? QString::number(*key->key) : QStringLiteral("no number");
    return QStringLiteral("the record of %1 %2 stands where the row of %1 %3 is").arg(keyField, recordKey).arg(rowKey);
}

// Records after the last row have no row to go to; neither has any record of a table without rows.
QString leftOverMessage(const DumpFile& d, int rows, const DumpCursor& records)
{
    if (rows == 0)
        return QStringLiteral("%1 holds %2 of %3, which has no rows: none of them was applied.")
            .arg(QLatin1String(d.file), records.rest(), QLatin1String(d.table));
    return QStringLiteral("%1 holds %2 of %3 after the record of its last row (row %4): they were not applied.")
        .arg(QLatin1String(d.file), records.rest(), QLatin1String(d.table))
        .arg(rows);
}

// The keys of the table's rows in stored order: each record of variable length is checked against the key of
// the row after its own, so a wrong length is named where it is.
QList<qint64> rowKeys(const QString& table, const QString& keyField)
{
    QList<qint64> keys;
    for (db::Statement st = gDBConnection.prepare(
             QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(keyField, gDBConnection.tableName(table)));
         st.step();)
        keys << st.columnInt(0);
    return keys;
}

// The key of the row after the n-th (counted from 1), where there is one.
std::optional<qint64> keyAfter(const QList<qint64>& keys, int n)
{
    return n < keys.size() ? std::optional(keys[n]) : std::nullopt;
}

// True when every record of the file went to a row.
bool loadTable(const DumpFile& d, const QByteArray& data, QStringList* messages)
{
    const QString table = QLatin1String(d.table);
    const TableCodec codec = codecOf(table, {});
    const QList<qint64> keys = d.recordSize || codec.keyField.isEmpty() ? QList<qint64>()
                                                                        : rowKeys(table, codec.keyField);
    DumpCursor records(d, data);
    QString problem;
    int n = 0;
    gRsWork.openTable(table);
    for (; !gRsWork.eof() && !records.atEnd() && problem.isEmpty(); gRsWork.moveNext()) {
        ++n;
        const QByteArray record = records.next(&problem, keyAfter(keys, n));
        if (problem.isEmpty() && codec.fits && !codec.fits(record, gRsWork))
            problem = keyMismatch(codec.keyField, record, gRsWork.intValue(codec.keyField));
        if (!problem.isEmpty())
            break;
        gRsWork.setValue(QStringLiteral("KVBBinData"), record);
        if (isTextTable(d))
            gRsWork.setValue(QStringLiteral("Name"), record.size() == 10 ? QVariant() : QVariant(record.mid(10)));
        gRsWork.update();
    }
    const int rows = gRsWork.recordCount();
    gRsWork.close();
    if (!problem.isEmpty())
        messages->append(stopMessage(d, n, problem));
    else if (!records.atEnd())
        messages->append(leftOverMessage(d, rows, records));
    return problem.isEmpty() && records.atEnd();
}

// Every PLU whose record is not applied is named; a missing or empty file restores none of them.
// True when every record of the file went to a row and was decoded.
bool loadPlus(const DumpFile& d, const QByteArray& data, bool fileExists, QStringList* messages, EventPump& pump)
{
    // What the decoder reads of a row besides the record; it writes every other field but store and section.
    static const FieldList read{plu::PLU_No, plu::ST_No, plu::PLU_Commodity};
    PluWriter writer(allFieldsBut({plu::ST_No, plu::SECT_No}));
    const QList<qint64> keys = rowKeys(QLatin1String(d.table), QLatin1String(plu::name(plu::PLU_No)));
    DumpCursor records(d, data);
    QStringList notRestored;
    QString stop;
    int n = 0;
    forEachPluRow(read, [&](PluChunkRow& r) {
        ++n;
        const QString who = r.row.text(plu::PLU_No);
        if (!stop.isEmpty() || records.atEnd()) {
            notRestored << who;
            return;
        }
        QString problem;
        const QByteArray record = records.next(&problem, keyAfter(keys, n));
        if (problem.isEmpty()) {
            const auto header = KvbRecordHeader::read(record);
            if (!header->key || qint64(*header->key) != r.row.number(plu::PLU_No))
                problem = keyMismatch(QStringLiteral("PLU"), record, r.row.number(plu::PLU_No));
        }
        if (!problem.isEmpty()) {
            stop = stopMessage(d, n, problem);
            notRestored << who;
            return;
        }
        r.row.set(plu::KVBBinData, record);
        const PluDecodeResult result = decodePluRecord(r.row);
        writer.write(r.rowid, r.row);
        if (result.outcome != PluDecodeResult::Decoded)
            notRestored << QStringLiteral("%1 (%2)").arg(who, result.reason);
        pump();
    });
    if (!stop.isEmpty())
        messages->append(stop);
    else if (!records.atEnd())
        messages->append(leftOverMessage(d, n, records));
    if (!notRestored.isEmpty())
        messages->append(
            QStringLiteral("The values of %1 PLUs were not restored from their scale records: PLU %2.%3")
                .arg(notRestored.size())
                .arg(listed(notRestored),
                     fileExists ? QString() : QStringLiteral(" %1 is missing.").arg(QLatin1String(d.file))));
    return stop.isEmpty() && records.atEnd() && notRestored.isEmpty();
}

} // namespace

QString recordDumpFile(const QString& table)
{
    for (const DumpFile& d : kDumpFiles)
        if (table.compare(QLatin1String(d.table), Qt::CaseInsensitive) == 0)
            return QLatin1String(d.file);
    return QString();
}

bool SaveBinDataToFiles(const QString& targetFolder, const QString& currentFolder, QStringList* warnings,
                        QString* error, const RecordEncoders& encoders)
{
    // Without the database every file would come out empty and replace the records of the last exit.
    if (!gDBConnection.isOpen())
        return failWith(error, QStringLiteral("The scale records cannot be saved: the database is not open."));
    EventPump pump;
    try {
        db::Transaction tx(gDBConnection);
        for (const DumpFile& d : kDumpFiles) {
            const QString table = QLatin1String(d.table);
            const QString target = filePath(targetFolder, QLatin1String(d.file));
            QString writeError;
            if (!gDBConnection.hasTable(table)) {
                // A table the database lacks had no rows this run; its records of the last exit are kept.
                const QString current = currentFolder.isEmpty() ? QString()
                                                                : filePath(currentFolder, QLatin1String(d.file));
                const bool keep = !current.isEmpty() && QFileInfo(current).isFile()
                    && QDir(currentFolder) != QDir(targetFolder);
                if (keep ? !text::copyFile(current, target, &writeError)
                         : !text::writeFileAtomically(target, QByteArray(), &writeError))
                    return failWith(error, writeError);
                continue;
            }
            const QByteArray out = isPluTable(d) ? dumpPlus(warnings, pump)
                                                 : dumpTable(d, codecOf(table, encoders), warnings, pump);
            if (!text::writeFileAtomically(target, out, &writeError))
                return failWith(error, writeError);
        }
        tx.commit();
    } catch (const Error& e) { // DbError, and a CodecError nothing above expects
        gRsWork.close();
        ClearBarFormatMemories();
        return failWith(error,
                        QStringLiteral("The scale records cannot be saved: %1").arg(QString::fromStdString(e.what())));
    }
    return true;
}

bool LoadBinDataFromFiles(const QString& folder, QStringList* messages, QString* error, QStringList* tablesNotApplied)
{
    if (!gDBConnection.isOpen())
        return failWith(error, QStringLiteral("The scale records cannot be loaded: the database is not open."));
    QStringList ignored;
    QStringList& said = messages ? *messages : ignored;
    EventPump pump;
    try {
        db::Transaction tx(gDBConnection);
        for (const DumpFile& d : kDumpFiles) {
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
                whole = loadPlus(d, data, exists, &said, pump) && whole;
            else if (!data.isEmpty())
                whole = loadTable(d, data, &said) && whole;
            if (!whole && tablesNotApplied)
                tablesNotApplied->append(QLatin1String(d.table));
        }
        tx.commit();
    } catch (const Error& e) { // DbError, and a CodecError nothing above expects
        gRsWork.close();
        ClearBarFormatMemories();
        return failWith(error,
                        QStringLiteral("The scale records cannot be loaded: %1").arg(QString::fromStdString(e.what())));
    }
    ClearBarFormatMemories();
    return true;
}

} // namespace quorvane::records
