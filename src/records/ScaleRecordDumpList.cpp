#include "records/ScaleRecordDumpList.h"

#include "records/KvbRecords.h"
#include "records/PluRecord.h"
#include "state/SharedData.h"

#include <QDir>

namespace quorvane::records {

namespace dumps {

namespace {

// The size of the table's records, as its layout or builder gives it; 0 for records of variable length.
int recordSizeOf(const QString& table)
{
    if (const int size = kvbRecordSize(table))
        return size;
    if (const int size = otherRecordSize(table))
        return size;
    return table == QLatin1String("KVB_41") ? kPresetKeyRecordSize : 0;
}

constexpr int kListedAtMost = 20;

} // namespace

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

QString listed(const QStringList& items)
{
    QString s = items.mid(0, kListedAtMost).join(QStringLiteral(", "));
    if (items.size() > kListedAtMost)
        s += QStringLiteral(" and %1 more").arg(items.size() - kListedAtMost);
    return s;
}

QString filePath(const QString& folder, const QString& name) { return QDir(folder).filePath(name); }

bool failedPass(const QString& what, const Error& e, QString* error)
{
    gRsWork.close();
    ClearBarFormatMemories();
    return failWith(error, what.arg(QString::fromStdString(e.what())));
}

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

} // namespace dumps

QString recordDumpFile(const QString& table)
{
    for (const dumps::DumpFile& d : dumps::dumpFiles())
        if (table.compare(QLatin1String(d.table), Qt::CaseInsensitive) == 0)
            return QLatin1String(d.file);
    return QString();
}

} // namespace quorvane::records
