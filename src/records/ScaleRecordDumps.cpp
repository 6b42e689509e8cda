#include "records/ScaleRecordDumps.h"

#include "platform/events/EventPump.h"
#include "platform/text/TextFile.h"
#include "records/KvbRecords.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "state/SharedData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

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

const QString kPluFile = QStringLiteral("tempplukvb.txt");
const QString kPluBackup = QStringLiteral("tempplukvb.txt.bak");
constexpr int kListedAtMost = 20;
constexpr int kChunkRows = 1000;

bool isPluTable(const DumpFile& d) { return qstrcmp(d.table, "KVB_25") == 0; }
bool isTextTable(const DumpFile& d) { return qstrncmp(d.table, "KVB_3", 5) == 0; }
bool hasEncoder(const DumpFile& d) { return kvbRecordSize(QLatin1String(d.table)) > 0; }
int smallestRecord(const DumpFile& d) { return isTextTable(d) ? 10 : KvbRecordHeader::Size; }

// Set when a PLU record was not restored at start-up, so that the next exit keeps the file it came from.
bool& pluRecordsMissing()
{
    static bool missing = false;
    return missing;
}

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

// Departments, main groups and flexible barcodes: a row whose record is missing or does not fit it gets
// one from the table's encoder, so every later record stays at the position of its row.
QByteArray dumpEncodedTable(const DumpFile& d, QStringList* warnings, EventPump& pump)
{
    const QString table = QLatin1String(d.table);
    QByteArray out;
    QStringList problems;
    gRsWork.openTable(table);
    for (; !gRsWork.eof(); gRsWork.moveNext()) {
        QByteArray rec = binData(gRsWork.value(QStringLiteral("KVBBinData")));
        if (!kvbRecordFitsRow(table, rec, gRsWork)) {
            QStringList rowProblems;
            rec = buildKvbRecord(table, gRsWork, &rowProblems, true);
            if (!rowProblems.isEmpty())
                problems << QStringLiteral("%1 %2: %3")
                                .arg(kvbRecordKeyField(table), gRsWork.textValue(kvbRecordKeyField(table)),
                                     rowProblems.join(QStringLiteral("; ")));
            gRsWork.setValue(QStringLiteral("KVBBinData"), rec);
            gRsWork.update();
        }
        out += rec;
        pump();
    }
    gRsWork.close();
    if (warnings && !problems.isEmpty())
        warnings->append(
            QStringLiteral("Some records of %1 were saved with values left out: %2").arg(table, listed(problems)));
    return out;
}

// Tables whose records their own editors build: written as they are. A row without a whole record ends
// the file, since every record after it would be read back into the wrong row.
QByteArray dumpRawTable(const DumpFile& d, QStringList* warnings, EventPump& pump)
{
    const QString table = QLatin1String(d.table);
    QByteArray out;
    int gapRow = -1;
    int dropped = 0;
    gRsWork.openTable(table);
    for (int n = 1; !gRsWork.eof(); gRsWork.moveNext(), ++n) {
        const QByteArray rec = binData(gRsWork.value(QStringLiteral("KVBBinData")));
        if (gapRow >= 0) {
            dropped += rec.isEmpty() ? 0 : 1;
            continue;
        }
        const auto header = KvbRecordHeader::read(rec);
        const bool whole = d.recordSize ? rec.size() == d.recordSize
                                        : header && header->length == rec.size() && rec.size() >= smallestRecord(d);
        if (!whole)
            gapRow = n;
        else
            out += rec;
        pump();
    }
    gRsWork.close();
    if (warnings && dropped > 0)
        warnings->append(QStringLiteral("%1 scale records of %2 could not be kept: row %3 has no whole record.")
                             .arg(dropped)
                             .arg(table)
                             .arg(gapRow));
    return out;
}

bool copyFile(const QString& from, const QString& to, QString* error)
{
    QByteArray bytes;
    return text::readFile(from, &bytes, error) && text::writeFileAtomically(to, bytes, error);
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

// The next record of a file of records of variable length; an empty reason with no record at the end.
struct NextRecord {
    QByteArray record;
    QString problem;
};

NextRecord takeRecord(const DumpFile& d, const QByteArray& data, qint64 pos)
{
    NextRecord next;
    int length = d.recordSize;
    if (!length) {
        const auto header = KvbRecordHeader::read(data, int(pos));
        if (!header) {
            next.problem = QStringLiteral("the file ends inside a record header");
            return next;
        }
        length = header->length;
        if (length < smallestRecord(d)) {
            next.problem = QStringLiteral("a record says it is %1 bytes long").arg(length);
            return next;
        }
    }
    if (pos + length > data.size()) {
        next.problem = QStringLiteral("the file ends inside a record of %1 bytes").arg(length);
        return next;
    }
    next.record = data.mid(pos, length);
    return next;
}

QString keyMismatch(const QString& keyField, const QByteArray& rec, qint64 rowKey)
{
    const auto key = KvbRecordHeader::read(rec);
    const QString recordKey = key && key->key ? QString::number(*key->key) : QStringLiteral("no number");
    return QStringLiteral("the record of %1 %2 stands where the row of %1 %3 is").arg(keyField, recordKey).arg(rowKey);
}

void loadTable(const DumpFile& d, const QByteArray& data, QStringList* messages)
{
    const QString table = QLatin1String(d.table);
    const QString keyField = kvbRecordKeyField(table);
    qint64 pos = 0;
    gRsWork.openTable(table);
    for (int n = 1; !gRsWork.eof() && pos < data.size(); gRsWork.moveNext(), ++n) {
        const NextRecord next = takeRecord(d, data, pos);
        QString problem = next.problem;
        if (problem.isEmpty() && hasEncoder(d) && !kvbRecordFitsRow(table, next.record, gRsWork))
            problem = keyMismatch(keyField, next.record, gRsWork.intValue(keyField));
        if (!problem.isEmpty()) {
            if (messages)
                messages->append(stopMessage(d, n, problem));
            break;
        }
        gRsWork.setValue(QStringLiteral("KVBBinData"), next.record);
        if (isTextTable(d))
            gRsWork.setValue(QStringLiteral("Name"),
                             next.record.size() == 10 ? QVariant() : QVariant(next.record.mid(10)));
        gRsWork.update();
        pos += next.record.size();
    }
    gRsWork.close();
}

// Every PLU whose record is not applied is named; a missing or empty file restores none of them.
void loadPlus(const DumpFile& d, const QByteArray& data, bool fileExists, QStringList* messages, EventPump& pump)
{
    // What the decoder reads of a row besides the record; it writes every other field but store and section.
    static const FieldList read{plu::PLU_No, plu::ST_No, plu::PLU_Commodity};
    PluWriter writer(allFieldsBut({plu::ST_No, plu::SECT_No}));
    QStringList notRestored;
    QString stop;
    qint64 pos = 0;
    int n = 0;
    forEachPluRow(read, [&](PluChunkRow& r) {
        ++n;
        const QString who = r.row.text(plu::PLU_No);
        if (!stop.isEmpty() || pos >= data.size()) {
            notRestored << who;
            return;
        }
        const NextRecord next = takeRecord(d, data, pos);
        QString problem = next.problem;
        if (problem.isEmpty()) {
            const auto header = KvbRecordHeader::read(next.record);
            if (!header->key || qint64(*header->key) != r.row.number(plu::PLU_No))
                problem = keyMismatch(QStringLiteral("PLU"), next.record, r.row.number(plu::PLU_No));
        }
        if (!problem.isEmpty()) {
            stop = stopMessage(d, n, problem);
            notRestored << who;
            return;
        }
        pos += next.record.size();
        r.row.set(plu::KVBBinData, next.record);
        const PluDecodeResult result = decodePluRecord(r.row);
        writer.write(r.rowid, r.row);
        if (result.outcome != PluDecodeResult::Decoded)
            notRestored << QStringLiteral("%1 (%2)").arg(who, result.reason);
        pump();
    });
    if (!notRestored.isEmpty())
        pluRecordsMissing() = true;
    if (!messages)
        return;
    if (!stop.isEmpty())
        messages->append(stop);
    if (!notRestored.isEmpty()) {
        QString text = QStringLiteral("The values of %1 PLUs were not restored from their scale records: PLU %2.")
                           .arg(notRestored.size())
                           .arg(listed(notRestored));
        text += fileExists ? QStringLiteral(" The file they came from is kept as %1 at the next exit.").arg(kPluBackup)
                           : QStringLiteral(" %1 is missing.").arg(kPluFile);
        messages->append(text);
    }
}

} // namespace

bool SaveBinDataToFiles(const QString& targetFolder, const QString& currentFolder, QStringList* warnings,
                        QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // The file whose records were not all restored at start-up stays beside the new one; an earlier copy
    // is carried along, so no complete record is lost unseen.
    const QString backupTarget = filePath(targetFolder, kPluBackup);
    if (!currentFolder.isEmpty()) {
        QString source = filePath(currentFolder, kPluFile);
        if (!pluRecordsMissing() || !QFileInfo(source).isFile())
            source = QDir(currentFolder) == QDir(targetFolder) ? QString() : filePath(currentFolder, kPluBackup);
        QString copyError;
        if (!source.isEmpty() && QFileInfo(source).isFile() && !copyFile(source, backupTarget, &copyError))
            return fail(copyError);
    }
    // Without the database every file would come out empty and replace the records of the last exit.
    if (!gDBConnection.isOpen())
        return fail(QStringLiteral("The scale records cannot be saved: the database is not open."));
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
                if (keep ? !copyFile(current, target, &writeError)
                         : !text::writeFileAtomically(target, QByteArray(), &writeError))
                    return fail(writeError);
                continue;
            }
            const QByteArray out = isPluTable(d) ? dumpPlus(warnings, pump)
                : hasEncoder(d)                  ? dumpEncodedTable(d, warnings, pump)
                                                 : dumpRawTable(d, warnings, pump);
            if (!text::writeFileAtomically(target, out, &writeError))
                return fail(writeError);
        }
        tx.commit();
    } catch (const Error& e) { // DbError, and a CodecError nothing above expects
        gRsWork.close();
        ClearBarFormatMemories();
        return fail(QStringLiteral("The scale records cannot be saved: %1").arg(QString::fromStdString(e.what())));
    }
    return true;
}

bool LoadBinDataFromFiles(const QString& folder, QStringList* messages, QString* error)
{
    pluRecordsMissing() = false;
    if (!gDBConnection.isOpen()) {
        if (error)
            *error = QStringLiteral("The scale records cannot be loaded: the database is not open.");
        return false;
    }
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
            if (exists && !text::readFile(path, &data, &readError)) {
                if (messages)
                    messages->append(readError);
                data.clear();
            }
            if (isPluTable(d))
                loadPlus(d, data, exists, messages, pump);
            else if (!data.isEmpty())
                loadTable(d, data, messages);
        }
        tx.commit();
    } catch (const Error& e) { // DbError, and a CodecError nothing above expects
        gRsWork.close();
        ClearBarFormatMemories();
        if (error)
            *error = QStringLiteral("The scale records cannot be loaded: %1").arg(QString::fromStdString(e.what()));
        return false;
    }
    ClearBarFormatMemories();
    return true;
}

} // namespace quorvane::records
