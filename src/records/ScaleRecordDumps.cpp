#include "records/ScaleRecordDumps.h"

#include "platform/events/EventPump.h"
#include "platform/text/TextFile.h"
#include "records/KvbRecords.h"
#include "records/OtherRecords.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

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

// "PLU 3", or "PLU 3 (why)" when there is a why.
QString named(const QString& what, const QString& why)
{
    return why.isEmpty() ? what : QStringLiteral("%1 (%2)").arg(what, why);
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

// A record of a dump file as the reload finds it. One that is not whole (its length is not its table's, or the
// file does not hold all of it) says why in `damage`; bytes that cannot be read as records count as one.
struct FoundRecord {
    qint64 at = 0;
    int length = 0;
    int number = 0; // counted from 1
    std::optional<qint64> key;
    QString damage;

    bool whole() const { return damage.isEmpty(); }
};

// The keys of a table's rows in stored order. Looked up by key only once the records leave the rows' order,
// so a file that follows them costs no index.
class RowKeys {
public:
    using Entry = std::pair<qint64, int>; // a key and its row

    explicit RowKeys(QList<qint64> keys) : m_keys(std::move(keys)) { }

    qsizetype size() const { return m_keys.size(); }
    qint64 at(qsizetype row) const { return m_keys[row]; }

    // Whether a row holds the key; `near` is where the rows' order puts it.
    bool contains(qint64 key, qsizetype near) const
    {
        if (near >= 0 && near < m_keys.size() && m_keys[near] == key)
            return true;
        const auto [first, last] = rowsOf(key);
        return first != last;
    }

    // The rows holding the key, in stored order.
    std::pair<const Entry*, const Entry*> rowsOf(qint64 key) const
    {
        if (m_sorted.empty() && !m_keys.isEmpty()) {
            m_sorted.reserve(size_t(m_keys.size()));
            for (qsizetype i = 0; i < m_keys.size(); ++i)
                m_sorted.push_back({m_keys[i], int(i)});
            std::sort(m_sorted.begin(), m_sorted.end());
        }
        const auto range = std::equal_range(m_sorted.begin(), m_sorted.end(), Entry{key, 0},
                                            [](const Entry& a, const Entry& b) { return a.first < b.first; });
        return {std::to_address(range.first), std::to_address(range.second)};
    }

private:
    QList<qint64> m_keys;
    mutable std::vector<Entry> m_sorted; // by key, made when first looked up
};

int largestRecord(const DumpFile& d) { return isPluTable(d) ? kPluMaxSize : 0xFFFF; }

// Splits a dump file into its records, never reading past the file. A record of fixed size is taken by its size.
// One of variable length is taken by the length it carries, where a record can begin after it: one whose key is
// a row's and that is followed by the end or a header that fits, or from which the file reads on as whole
// records. Where none can, its length is wrong: the file is read on from the next place at which a record of a
// row begins, and of the bytes before it, the records that end where a record of a row begins are whole. A
// record whose key is not packed decimal is stepped over by its length. So one damaged record costs its own
// row alone.
class RecordSplitter {
public:
    RecordSplitter(const DumpFile& d, const QByteArray& data, const RowKeys* keys)
        : m_d(d)
        , m_data(data)
        , m_keys(keys)
        , m_smallest(isPluTable(d) ? kPluFixedSize : smallestRecord(d))
    {
    }

    std::vector<FoundRecord> split()
    {
        const qint64 end = m_data.size();
        for (qint64 pos = 0; pos < end;) {
            if (m_d.recordSize) {
                pos = takeFixed(pos);
                continue;
            }
            if (const std::optional<int> length = fits(pos); length && canBegin(pos + *length)) {
                take(pos, *length);
                pos += *length;
                continue;
            }
            const qint64 next = readsOnFrom(pos);
            // What ends where a record of a row begins is whole; the rest up to `next` is one damaged record.
            for (std::optional<int> length = fits(pos);
                 pos < next && length && pos + *length <= next && (pos + *length == next || ofRow(pos + *length));
                 length = fits(pos)) {
                take(pos, *length);
                pos += *length;
            }
            if (pos < next) {
                take(pos, int(next - pos), damageAt(pos, next));
                pos = next;
            }
        }
        return std::move(m_found);
    }

private:
    qint64 takeFixed(qint64 pos)
    {
        const int size = m_d.recordSize;
        if (pos + size > m_data.size()) {
            take(pos, int(m_data.size() - pos),
                 QStringLiteral("the file ends inside %1 of %2 bytes").arg(where(pos)).arg(size));
            return m_data.size();
        }
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        take(pos, size,
             header->length == size
                 ? QString()
                 : QStringLiteral("%1 says it is %2 bytes long").arg(where(pos)).arg(header->length));
        return pos + size;
    }

    void take(qint64 pos, int length, const QString& damage = QString())
    {
        FoundRecord r{pos, length, int(m_found.size()) + 1, std::nullopt, damage};
        if (pos + 4 <= m_data.size())
            if (const auto key = ReadPackedBcd(m_data, int(pos), 4))
                r.key = qint64(*key);
        m_found.push_back(std::move(r));
    }

    QString where(qint64 pos) const
    {
        return QStringLiteral("record %1 (at byte %2)").arg(m_found.size() + 1).arg(pos);
    }

    // The length of a record that can stand at `pos`: a header whose length is one of the table's and fits the file.
    std::optional<int> fits(qint64 pos) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header || header->length < m_smallest || header->length > largestRecord(m_d)
            || pos + header->length > m_data.size())
            return std::nullopt;
        return header->length;
    }

    // A header whose key is a row's; the record after the one taken so far is looked for at the same row first.
    bool ofRow(qint64 pos) const
    {
        if (!m_keys || pos + KvbRecordHeader::Size > m_data.size())
            return false;
        const auto key = ReadPackedBcd(m_data, int(pos), 4);
        return key && m_keys->contains(qint64(*key), qsizetype(m_found.size()) + 1);
    }

    // Whether the file reads on as whole records from `pos`: to its end, or for three records.
    bool readsOn(qint64 pos) const
    {
        for (int n = 0; n < 3; ++n) {
            if (pos == m_data.size())
                return true;
            const std::optional<int> length = fits(pos);
            if (!length)
                return false;
            pos += *length;
        }
        return true;
    }

    // A header cut by the end of the file is left to the record there to report.
    bool canBegin(qint64 pos) const
    {
        if (pos + KvbRecordHeader::Size > m_data.size())
            return true;
        const std::optional<int> length = fits(pos);
        if (!length)
            return false;
        const qint64 after = pos + *length;
        return (ofRow(pos) && (after == m_data.size() || fits(after))) || readsOn(pos);
    }

    // The next place after the record at `pos` at which a record of a row begins; the end of the file when none.
    qint64 readsOnFrom(qint64 pos) const
    {
        for (qint64 at = pos + m_smallest; at < m_data.size(); ++at)
            if (const std::optional<int> length = fits(at);
                length && (m_keys ? ofRow(at) && (at + *length == m_data.size() || fits(at + *length)) : readsOn(at)))
                return at;
        return m_data.size();
    }

    QString damageAt(qint64 pos, qint64 next) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header)
            return QStringLiteral("the file ends inside the header of %1").arg(where(pos));
        if (pos + header->length > m_data.size() && next == m_data.size())
            return QStringLiteral("the file ends inside %1 of %2 bytes").arg(where(pos)).arg(header->length);
        if (header->length < m_smallest || pos + header->length > next)
            return QStringLiteral("%1 says it is %2 bytes long").arg(where(pos)).arg(header->length);
        return QStringLiteral("%1 says it is %2 bytes long, but no record begins after it")
            .arg(where(pos))
            .arg(header->length);
    }

    const DumpFile& m_d;
    const QByteArray& m_data;
    const RowKeys* m_keys;
    const int m_smallest;
    std::vector<FoundRecord> m_found;
};

// Gives each row of a table, known by its place in stored order, its own record of the table's dump. A record
// goes to a row of its key: the one at the place where the records before it put it, else the nearest one, so
// records out of order, missing, doubled or damaged cost no row but their own. The preset keys, whose numbers
// repeat across scales and layouts and name no row, go by position.
class RecordMatch {
public:
    // `keys`: of the rows in stored order; `byKey` false for a table matched by position; `keyName` names a key.
    RecordMatch(const DumpFile& d, const QByteArray& data, QList<qint64> keys, bool byKey, QString keyName)
        : m_d(d)
        , m_data(data)
        , m_keys(std::move(keys))
        , m_keyName(std::move(keyName))
        , m_records(RecordSplitter(d, data, byKey ? &m_keys : nullptr).split())
        , m_recordOf(size_t(m_keys.size()), -1)
        , m_rowOf(m_records.size(), -1)
    {
        if (byKey)
            matchByKey();
        else
            for (size_t j = 0; j < m_records.size() && qsizetype(j) < m_keys.size(); ++j)
                if (m_records[j].whole())
                    link(int(j), int(j));
        explain();
    }

    qsizetype rows() const { return m_keys.size(); }
    const RowKeys& keys() const { return m_keys; }

    bool hasRecord(qsizetype row) const { return m_recordOf[size_t(row)] >= 0; }

    // The record of the row, or an empty one.
    QByteArray recordOf(qsizetype row) const
    {
        const int j = m_recordOf[size_t(row)];
        return j < 0 ? QByteArray() : m_data.mid(m_records[size_t(j)].at, m_records[size_t(j)].length);
    }

    // Why the row has no record: the record at its place, or a damaged one of its key. Empty when the file holds
    // nothing for it.
    QString why(qsizetype row) const { return m_why.value(row); }

    // A row without a record of its own after the last row that got one: the file ended before it.
    bool beyondTheRecords(qsizetype row) const { return m_why.value(row).isEmpty() && row > m_lastRow; }

    // Says what was not applied: records that go to no row, and every record of a table without rows.
    void report(QStringList* messages) const
    {
        if (m_keys.size() == 0 && !m_records.empty()) {
            messages->append(
                QStringLiteral("%1 holds %2 of %3, which has no rows: none of them was applied.")
                    .arg(QLatin1String(m_d.file), counted(m_records.size(), m_data.size()), QLatin1String(m_d.table)));
            return;
        }
        if (!m_strays.isEmpty())
            messages->append(QStringLiteral("%1 holds %2 records of %3 that go to no row and were not applied: %4.")
                                 .arg(QLatin1String(m_d.file))
                                 .arg(m_strays.size())
                                 .arg(QLatin1String(m_d.table), listed(m_strays)));
    }

    // True when every record of the file went to a row.
    bool allApplied() const { return m_strays.isEmpty() && (m_keys.size() > 0 || m_records.empty()); }

private:
    static QString counted(size_t records, qint64 bytes)
    {
        return records == 1 ? QStringLiteral("1 record (%1 bytes)").arg(bytes)
                            : QStringLiteral("%1 records (%2 bytes)").arg(records).arg(bytes);
    }

    void link(int j, int row)
    {
        m_rowOf[size_t(j)] = row;
        m_recordOf[size_t(row)] = j;
    }

    bool free(qsizetype row) const { return row >= 0 && row < m_keys.size() && m_recordOf[size_t(row)] < 0; }

    // Whether the record of its table's size or length carries the key.
    bool carries(size_t j, qint64 key) const
    {
        return j < m_records.size() && m_records[j].whole() && m_records[j].key == key;
    }

    // The free row of the key nearest `expected`; within `reach` of it when given, and then not one that the
    // record at its place on the way the records run (`drift`) carries the key of.
    int nearestRow(qint64 key, qsizetype expected, qsizetype drift, std::optional<qsizetype> reach) const
    {
        const auto [first, last] = m_keys.rowsOf(key);
        int best = -1;
        for (auto e = first; e != last; ++e) {
            const qsizetype row = e->second, distance = std::abs(row - expected);
            if (!free(row) || (reach && (distance > *reach || carries(size_t(row - drift), key))))
                continue;
            if (best < 0 || distance < std::abs(best - expected))
                best = int(row);
        }
        return best;
    }

    void matchByKey()
    {
        constexpr qsizetype kReach = 8; // records a swap or a gap moves from their place
        qsizetype drift = 0;            // row less record of the last match
        // First the records at their place, or near it and not taken by the record whose place it is.
        for (size_t j = 0; j < m_records.size(); ++j) {
            const FoundRecord& r = m_records[j];
            if (!r.whole() || !r.key)
                continue;
            const qsizetype expected = qsizetype(j) + drift;
            int row = free(expected) && m_keys.at(expected) == *r.key ? int(expected) : -1;
            if (row < 0)
                row = nearestRow(*r.key, expected, drift, kReach);
            if (row >= 0) {
                link(int(j), row);
                drift = row - qsizetype(j);
            }
        }
        // Then the others, to the nearest row of their key left.
        drift = 0;
        for (size_t j = 0; j < m_records.size(); ++j) {
            const FoundRecord& r = m_records[j];
            if (m_rowOf[j] < 0 && r.whole() && r.key)
                if (const int row = nearestRow(*r.key, qsizetype(j) + drift, 0, std::nullopt); row >= 0)
                    link(int(j), row);
            if (m_rowOf[j] >= 0)
                drift = m_rowOf[j] - qsizetype(j);
        }
    }

    QString described(const FoundRecord& r) const
    {
        if (!r.whole())
            return r.damage;
        if (!r.key)
            return QStringLiteral("record %1 has no number").arg(r.number);
        return QStringLiteral("record %1 is of %2 %3").arg(r.number).arg(m_keyName).arg(*r.key);
    }

    // Pairs each row left without a record with a record that went to none: a damaged one of its key, else the
    // one at its place. The records left are said to go to no row.
    void explain()
    {
        QMultiHash<qint64, size_t> unusedOfKey;
        QSet<size_t> unused;
        for (size_t j = 0; j < m_records.size(); ++j)
            if (m_rowOf[j] < 0) {
                unused.insert(j);
                if (m_records[j].key && !m_records[j].whole())
                    unusedOfKey.insert(*m_records[j].key, j);
            }
        qsizetype drift = 0;
        for (qsizetype row = 0; row < m_keys.size(); ++row) {
            if (const int j = m_recordOf[size_t(row)]; j >= 0) {
                drift = row - j;
                m_lastRow = row;
                continue;
            }
            if (unused.isEmpty())
                continue;
            const qsizetype at = row - drift;
            std::optional<size_t> found;
            for (const size_t j : unusedOfKey.values(m_keys.at(row)))
                if (unused.contains(j) && (!found || std::abs(qsizetype(j) - at) < std::abs(qsizetype(*found) - at)))
                    found = j;
            if (!found && at >= 0 && unused.contains(size_t(at)))
                found = size_t(at);
            if (found) {
                unused.remove(*found);
                m_why.insert(row, described(m_records[*found]));
            }
        }
        QList<size_t> left(unused.cbegin(), unused.cend());
        std::sort(left.begin(), left.end());
        for (const size_t j : std::as_const(left))
            m_strays << described(m_records[j]);
    }

    const DumpFile& m_d;
    const QByteArray& m_data;
    RowKeys m_keys;
    QString m_keyName;
    std::vector<FoundRecord> m_records;
    std::vector<int> m_recordOf; // by row, into m_records; -1: none
    std::vector<int> m_rowOf;    // by record; -1: none
    QHash<qsizetype, QString> m_why;
    QStringList m_strays;
    qsizetype m_lastRow = -1; // the last row that got a record
};

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

QString recordDumpFile(const QString& table)
{
    for (const DumpFile& d : dumpFiles())
        if (table.compare(QLatin1String(d.table), Qt::CaseInsensitive) == 0)
            return QLatin1String(d.file);
    return QString();
}

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
