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

#include <algorithm>
#include <optional>
#include <vector>

namespace quorvane::records {

namespace {

struct DumpFile {
    const char* table;
    const char* file;
    int recordSize = 0; // 0: variable, the length in bytes 4-5
};

// The size of the table's records, as its layout or builder gives it; 0 for records of variable length.
int recordSizeOf(const QString& table)
{
    if (const int size = kvbRecordSize(table))
        return size;
    if (const int size = otherRecordSize(table))
        return size;
    return table == QLatin1String("KVB_41") ? kPresetKeyRecordSize : 0;
}

// In this order at shutdown and at start-up.
const std::vector<DumpFile>& dumpFiles()
{
    static const std::vector<DumpFile> files = [] {
        std::vector<DumpFile> list{
            {"KVB_20", "tempdeptkvb.txt"},           {"KVB_23", "tempmgkvb.txt"},
            {"KVB_14", "tempflexibarcodekvb.txt"},   {"KVB_25", "tempplukvb.txt"},
            {"KVB_41", "temppesetkeykvb.txt"},       {"KVB_44", "tempclerkkvb.txt"},
            {"KVB_3A", "tempingfilekvb.txt"},        {"KVB_3B", "tempsmsgfilekvb.txt"},
            {"KVB_3C", "tempadvfilekvb.txt"},        {"KVB_3D", "tempsnamefilekvb.txt"},
            {"KVB_A8", "temptaxratefilekvb.txt"},    {"KVB_AA", "tempdiscschefilekvb.txt"},
            {"KVB_AB", "temppriceschefilekvb.txt"},  {"KVB_AC", "tempstockfnkeyfilekvb.txt"},
            {"KVB_AD", "temppaymentkeyfilekvb.txt"},
        };
        for (DumpFile& d : list)
            d.recordSize = recordSizeOf(QLatin1String(d.table));
        return list;
    }();
    return files;
}

constexpr int kListedAtMost = 20;
constexpr int kChunkRows = 1000;

bool isPluTable(const DumpFile& d) { return qstrcmp(d.table, "KVB_25") == 0; }
bool isTextTable(const DumpFile& d) { return qstrncmp(d.table, "KVB_3", 5) == 0; }
int smallestRecord(const DumpFile& d) { return isTextTable(d) ? TextRecordHeadSize : KvbRecordHeader::Size; }

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

QString pluRowsSql(const FieldList& fields, const QString& rest)
{
    return QStringLiteral("SELECT rowid,%1 FROM KVB_25 %2").arg(names(fields, QStringLiteral("%1")), rest);
}

// The statement's current row: its rowid, then the fields.
PluChunkRow readPluRow(const db::Statement& st, const FieldList& fields)
{
    PluChunkRow r;
    r.rowid = st.columnInt(0);
    for (int i = 0; i < fields.size(); ++i)
        r.row.load(fields[i], st, i + 1);
    return r;
}

// The given fields of the PLU rows the condition chooses; every value read costs, so only those.
std::vector<PluChunkRow> readPluRows(const FieldList& fields, const QString& condition, qint64 rowid)
{
    std::vector<PluChunkRow> rows;
    rows.reserve(kChunkRows);
    db::Statement st = gDBConnection.prepare(pluRowsSql(fields, QStringLiteral("WHERE ") + condition));
    st.bindInt64(0, rowid);
    while (st.step())
        rows.push_back(readPluRow(st, fields));
    return rows;
}

// Every PLU row in stored order, a chunk at a time: the rows of a chunk are read before any is visited, so
// a visit may write the rows it has been given.
template<typename Visit> void forEachPluRow(const FieldList& fields, Visit visit)
{
    const QString condition = QStringLiteral("rowid>? ORDER BY rowid LIMIT %1").arg(kChunkRows);
    qint64 last = 0;
    for (;;) {
        std::vector<PluChunkRow> chunk = readPluRows(fields, condition, last);
        if (chunk.empty())
            return;
        for (PluChunkRow& r : chunk) {
            last = r.rowid;
            visit(r);
        }
    }
}

// Every PLU row in stored order, each visited as it is read: a visit writes no PLU row.
template<typename Visit> void readEachPluRow(const FieldList& fields, Visit visit)
{
    db::Statement st = gDBConnection.prepare(pluRowsSql(fields, QStringLiteral("ORDER BY rowid")));
    while (st.step()) {
        PluChunkRow r = readPluRow(st, fields);
        visit(r);
    }
}

PluRow readWholePluRow(qint64 rowid)
{
    std::vector<PluChunkRow> rows = readPluRows(allFieldsBut({}), QStringLiteral("rowid=?"), rowid);
    if (rows.empty())
        throw db::DbError(QStringLiteral("PLU row %1 has gone.").arg(rowid));
    return std::move(rows.front().row);
}

// Writes back the changed ones of the given fields through one statement held for the pass; a field left
// unbound keeps its value. The codecs never write a field empty, so an empty value can stand for "unchanged".
class PluWriter {
public:
    explicit PluWriter(FieldList fields)
        : m_fields(std::move(fields))
        , m_statement(gDBConnection.prepare(QStringLiteral("UPDATE KVB_25 SET %1 WHERE rowid=?")
                                                .arg(names(m_fields, QStringLiteral("%1=coalesce(?,%1)")))))
    {
    }
    void write(qint64 rowid, const PluRow& row)
    {
        for (int i = 0; i < m_fields.size(); ++i)
            if (row.changed(m_fields[i]))
                row.bind(m_fields[i], m_statement, i);
        m_statement.bindInt64(int(m_fields.size()), rowid);
        m_statement.step();
        m_statement.reset();
    }

private:
    FieldList m_fields;
    db::Statement m_statement;
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

// Takes the records of a dump file one after another, never reading past the file. A record is whole by the
// size of its table or by the length it carries, so one that goes to no row can be stepped over; one that
// cannot be read whole ends what can be read of the file.
class DumpCursor {
public:
    // `keys`: those of the table's rows in stored order; empty for a table whose records are matched by
    // position alone.
    DumpCursor(const DumpFile& d, const QByteArray& data, const QList<qint64>& keys)
        : m_d(d)
        , m_data(data)
        , m_keys(keys)
    {
    }

    bool atEnd() const { return m_pos >= m_data.size(); }
    // The number of the record at the cursor, counted from 1.
    int number() const { return m_number + 1; }

    // The record at the cursor (`ahead` 0) or the one after it (1, once the one at the cursor is whole), looked
    // at for the row of index `row`, and left in the file; an empty one with `problem` set where no whole
    // record stands.
    QByteArray peek(int ahead, int row, QString* problem)
    {
        const qint64 at = ahead == 0 ? m_pos : m_pos + *m_length[0];
        std::optional<int>& length = m_length[ahead];
        if (!length)
            length = wholeLength(at, number() + ahead, row, problem);
        return length ? m_data.mid(at, *length) : QByteArray();
    }

    // Steps over the record at the cursor, which peek() has found whole.
    void skip()
    {
        m_pos += *m_length[0];
        ++m_number;
        m_length[0] = m_length[1];
        m_length[1].reset();
    }

    // The records left after those taken, for a message: "3 records (96 bytes)".
    QString rest() const
    {
        DumpCursor c = *this;
        int records = 0;
        QString problem;
        while (!c.atEnd() && !c.peek(0, int(m_keys.size()), &problem).isEmpty()) {
            c.skip();
            ++records;
        }
        const qint64 bytes = m_data.size() - m_pos;
        if (!c.atEnd())
            return QStringLiteral("%1 bytes").arg(bytes);
        return records == 1 ? QStringLiteral("1 record (%1 bytes)").arg(bytes)
                            : QStringLiteral("%1 records (%2 bytes)").arg(records).arg(bytes);
    }

private:
    // A record of variable length must be followed by the end of the file or by a record; otherwise its own
    // length is wrong, and the record says so by its own position.
    std::optional<int> wholeLength(qint64 at, int number, int row, QString* problem) const
    {
        const auto where = [&] { return QStringLiteral("record %1 (at byte %2)").arg(number).arg(at); };
        int length = m_d.recordSize;
        if (!length) {
            const auto header = KvbRecordHeader::read(m_data, int(at));
            if (!header) {
                *problem = QStringLiteral("the file ends inside the header of %1").arg(where());
                return std::nullopt;
            }
            length = header->length;
            if (length < smallestRecord(m_d)) {
                *problem = QStringLiteral("%1 says it is %2 bytes long").arg(where()).arg(length);
                return std::nullopt;
            }
        }
        if (at + length > m_data.size()) {
            *problem = QStringLiteral("the file ends inside %1 of %2 bytes").arg(where()).arg(length);
            return std::nullopt;
        }
        if (!m_d.recordSize && !canStartRecord(at + length, row)) {
            *problem =
                QStringLiteral("%1 says it is %2 bytes long, but no record begins after it").arg(where()).arg(length);
            return std::nullopt;
        }
        return length;
    }

    // A header cut by the end of the file is left to the next record to report. Bytes inside a record can look
    // like a header, so where the rows after are known, what follows must be the record of a row it can go to
    // (this one's, after a record that goes to none, or one of the next two, after a row that has none), or a
    // record from which the file reads on as whole records to its end.
    bool canStartRecord(qint64 pos, int row) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header)
            return true;
        if (row + 1 >= m_keys.size())
            return recordEnd(pos).has_value();
        for (qsizetype k = row; header->key && k < std::min(m_keys.size(), qsizetype(row) + 3); ++k)
            if (qint64(*header->key) == m_keys[k])
                return true;
        return readsToEnd(pos);
    }

    // Where a record that can begin at `pos` ends: a header with a key and a length that fits the file.
    std::optional<qint64> recordEnd(qint64 pos) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header || !header->key || header->length < smallestRecord(m_d) || pos + header->length > m_data.size())
            return std::nullopt;
        return pos + header->length;
    }

    // Each position is walked from once: what a walk finds holds for every record it passed, so the file is
    // read through at most once however many rows go without their records.
    bool readsToEnd(qint64 pos) const
    {
        std::vector<qint64> passed;
        bool found = false;
        for (std::optional<qint64> at = pos; at; at = recordEnd(*at)) {
            if (*at == m_data.size()) {
                found = true;
                break;
            }
            if (const auto known = m_readsToEnd.constFind(*at); known != m_readsToEnd.cend()) {
                found = *known;
                break;
            }
            passed.push_back(*at);
        }
        for (qint64 at : passed)
            m_readsToEnd.insert(at, found);
        return found;
    }

    const DumpFile& m_d;
    const QByteArray& m_data;
    const QList<qint64>& m_keys;
    qint64 m_pos = 0;
    int m_number = 0;               // records stepped over
    std::optional<int> m_length[2]; // of the records peek() found whole
    mutable QHash<qint64, bool> m_readsToEnd;
};

// Gives the rows of a table, asked for in stored order, their own records of its dump, so that a record that
// is not its row's costs that row alone. Where the record at a row's place is not the row's own, the record
// after it tells what it is: one too many, where the one after is this row's (and not the next row's); the
// next row's own, where it is that and the one after is not, so this row has none in the file; otherwise it
// stands in place of this row's, and is stepped over with it.
class RecordMatcher {
public:
    // `keys`: as for the cursor; `keyName` names a key in the messages.
    RecordMatcher(const DumpFile& d, const QByteArray& data, QList<qint64> keys, QString keyName)
        : m_d(d)
        , m_keys(std::move(keys))
        , m_keyName(std::move(keyName))
        , m_records(d, data, m_keys)
    {
    }

    // Whether a later row can get a record.
    bool done() const { return !m_stop.isEmpty() || m_records.atEnd(); }

    // The record of the next row, or an empty one: `why` then says why the row has none, or stays empty when
    // the file has ended or can be read no further.
    QByteArray next(QString* why)
    {
        const int row = m_row++;
        if (done())
            return {};
        QString problem;
        const QByteArray record = m_records.peek(0, row, &problem);
        if (!problem.isEmpty()) {
            m_stop = stopMessage(m_d, row + 1, problem);
            return {};
        }
        const std::optional<qint64> key = keyAt(row), nextKey = keyAt(row + 1);
        if (m_keys.isEmpty() || isOf(record, key)) {
            m_records.skip();
            return record;
        }
        const QByteArray after = m_records.peek(1, row, &problem); // none at the end or where it is not whole
        const QString found = described(record, m_records.number());
        if (!after.isEmpty() && !isOf(after, nextKey) && isOf(after, key)) {
            m_strays << found;
            m_records.skip();
            m_records.skip();
            return after;
        }
        ++m_rowsWithout;
        if ((!after.isEmpty() && isOf(after, nextKey)) || !isOf(record, nextKey)) {
            m_records.skip();
            *why = found;
        } else {
            *why = QStringLiteral("record %1 is the next row's").arg(m_records.number());
        }
        return {};
    }

    // Says what was not applied: where the file could be read no further, the records that went to no row
    // and those after the last of the `rows`.
    void report(int rows, QStringList* messages) const
    {
        if (!m_stop.isEmpty())
            messages->append(m_stop);
        else if (!m_records.atEnd())
            messages->append(leftOverMessage(rows));
        if (!m_strays.isEmpty())
            messages->append(QStringLiteral("%1 holds %2 records of %3 that go to no row and were not applied: %4.")
                                 .arg(QLatin1String(m_d.file))
                                 .arg(m_strays.size())
                                 .arg(QLatin1String(m_d.table), listed(m_strays)));
    }

    // True when every record of the file went to a row, and every row that could have one got its own.
    bool whole() const { return m_stop.isEmpty() && m_records.atEnd() && m_strays.isEmpty() && m_rowsWithout == 0; }

private:
    std::optional<qint64> keyAt(int row) const
    {
        return row < m_keys.size() ? std::optional(m_keys[row]) : std::nullopt;
    }

    bool isOf(const QByteArray& record, std::optional<qint64> key) const
    {
        const auto header = KvbRecordHeader::read(record);
        return key && isWholeRecord(m_d, record) && header->key && qint64(*header->key) == *key;
    }

    // "record 3 is of PLU 99", of a record peek() found whole.
    QString described(const QByteArray& record, int number) const
    {
        const auto header = KvbRecordHeader::read(record);
        const QString what = !header || !header->key ? QStringLiteral("has no number")
            : header->length != record.size()        ? QStringLiteral("says it is %1 bytes long").arg(header->length)
                                                     : QStringLiteral("is of %1 %2").arg(m_keyName).arg(*header->key);
        return QStringLiteral("record %1 %2").arg(number).arg(what);
    }

    // Records after the last row have no row to go to; neither has any record of a table without rows.
    QString leftOverMessage(int rows) const
    {
        if (rows == 0)
            return QStringLiteral("%1 holds %2 of %3, which has no rows: none of them was applied.")
                .arg(QLatin1String(m_d.file), m_records.rest(), QLatin1String(m_d.table));
        return QStringLiteral("%1 holds %2 of %3 after the record of its last row (row %4): they were not applied.")
            .arg(QLatin1String(m_d.file), m_records.rest(), QLatin1String(m_d.table))
            .arg(rows);
    }

    const DumpFile& m_d;
    QList<qint64> m_keys;
    QString m_keyName;
    DumpCursor m_records;
    int m_row = 0; // of the next row asked for, from 0
    QString m_stop;
    QStringList m_strays;
    int m_rowsWithout = 0;
};

// The keys of the table's rows in stored order.
QList<qint64> rowKeys(const QString& table, const QString& keyField)
{
    QList<qint64> keys;
    for (db::Statement st = gDBConnection.prepare(
             QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(keyField, gDBConnection.tableName(table)));
         st.step();)
        keys << st.columnInt(0);
    return keys;
}

// True when every record of the file went to its row. A row without its own record is named.
bool loadTable(const DumpFile& d, const QByteArray& data, QStringList* messages)
{
    const QString table = QLatin1String(d.table);
    const QString keyField = codecOf(table, {}).keyField; // none: records go by position alone
    RecordMatcher records(d, data, keyField.isEmpty() ? QList<qint64>() : rowKeys(table, keyField), keyField);
    QStringList without;
    gRsWork.openTable(table);
    for (; !gRsWork.eof() && !records.done(); gRsWork.moveNext()) {
        QString why;
        const QByteArray record = records.next(&why);
        if (record.isEmpty()) {
            if (!why.isEmpty())
                without << QStringLiteral("%1 %2 (%3)").arg(keyField, gRsWork.textValue(keyField), why);
            continue;
        }
        gRsWork.setValue(QStringLiteral("KVBBinData"), record);
        if (isTextTable(d))
            gRsWork.setValue(QStringLiteral("Name"), record.size() == 10 ? QVariant() : QVariant(record.mid(10)));
        gRsWork.update();
    }
    const int rows = gRsWork.recordCount();
    gRsWork.close();
    records.report(rows, messages);
    if (!without.isEmpty())
        messages->append(QStringLiteral("%1 rows of %2 keep no scale record, since %3 holds none of theirs in their "
                                        "place: %4.")
                             .arg(without.size())
                             .arg(QLatin1String(d.table), QLatin1String(d.file), listed(without)));
    return records.whole();
}

// Adds PLU rows whole, each in one step, through one statement held for the pass.
class PluInserter {
public:
    PluInserter()
        : m_statement(gDBConnection.prepare(QStringLiteral("INSERT INTO KVB_25 (%1) VALUES (%2)")
                                                .arg(names(allFieldsBut({}), QStringLiteral("%1")),
                                                     QStringList(plu::Count, QStringLiteral("?")).join(','))))
    {
    }
    void insert(const PluRow& row)
    {
        for (int f = 0; f < plu::Count; ++f)
            row.bind(plu::Field(f), m_statement, f);
        m_statement.step();
        m_statement.resetKeepingValues(); // every value is bound again
    }

private:
    db::Statement m_statement;
};

// A PLU row as the schema makes a new one.
PluRow newPluRow()
{
    PluRow row;
    for (const db::FieldInfo& info : gDBConnection.fields(QStringLiteral("KVB_25")))
        if (const std::optional<plu::Field> f = plu::fieldNamed(info.name))
            row.load(*f, info.defaultValue);
    return row;
}

// Every PLU whose record is not applied is named; a missing or empty file restores none of them.
// True when every record of the file went to its row and was decoded.
bool loadPlus(const DumpFile& d, const QByteArray& data, bool fileExists, const HeldPluRows* held,
              QStringList* messages, EventPump& pump)
{
    const qsizetype width = held ? held->fields.size() : 0;
    QList<qint64> keys;
    if (held) {
        const qsizetype key = held->fields.indexOf(plu::PLU_No);
        for (qsizetype i = 0; i < held->rowCount(); ++i)
            keys << (key < 0 ? 0 : held->values[i * width + key].toLongLong());
    } else {
        keys = rowKeys(QLatin1String(d.table), QLatin1String(plu::name(plu::PLU_No)));
    }
    RecordMatcher records(d, data, std::move(keys), QStringLiteral("PLU"));
    QStringList notRestored;
    int n = 0;
    // Gives the row its record, decoded; false when it has none.
    auto restore = [&](PluRow& row) {
        ++n;
        const QString who = row.text(plu::PLU_No);
        QString why;
        const QByteArray record = records.next(&why);
        if (record.isEmpty()) {
            notRestored << (why.isEmpty() ? who : QStringLiteral("%1 (%2)").arg(who, why));
            return false;
        }
        row.setBytes(plu::KVBBinData, record);
        const PluDecodeResult result = decodePluRecord(row);
        if (result.outcome != PluDecodeResult::Decoded)
            notRestored << QStringLiteral("%1 (%2)").arg(who, result.reason);
        pump();
        return true;
    };
    if (held) {
        PluInserter inserter;
        const PluRow fresh = newPluRow();
        for (qsizetype i = 0; i < held->rowCount(); ++i) {
            PluRow row = fresh;
            for (qsizetype k = 0; k < width; ++k)
                row.load(held->fields[k], held->values[i * width + k]);
            restore(row);
            inserter.insert(row);
        }
    } else {
        // What the decoder reads of a row besides the record; it writes every other field but store and section.
        const FieldList read{plu::PLU_No, plu::ST_No, plu::PLU_Commodity};
        PluWriter writer(allFieldsBut({plu::ST_No, plu::SECT_No}));
        forEachPluRow(read, [&](PluChunkRow& r) {
            if (restore(r.row))
                writer.write(r.rowid, r.row);
        });
    }
    records.report(n, messages);
    if (!notRestored.isEmpty())
        messages->append(
            QStringLiteral("The values of %1 PLUs were not restored from their scale records: PLU %2.%3")
                .arg(notRestored.size())
                .arg(listed(notRestored),
                     fileExists ? QString() : QStringLiteral(" %1 is missing.").arg(QLatin1String(d.file))));
    return records.whole() && notRestored.isEmpty();
}

} // namespace

QString recordDumpFile(const QString& table)
{
    for (const DumpFile& d : dumpFiles())
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
        for (const DumpFile& d : dumpFiles()) {
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
