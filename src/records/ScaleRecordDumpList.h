#pragma once

#include "platform/Error.h"
#include "records/OtherRecords.h"
#include "records/PackedBcd.h"
#include "records/ScaleRecordDumps.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// What the record dumps' writer (ScaleRecordDumpWriter.cpp) and reader (ScaleRecordDumpReader.cpp) share: the
// tables whose records are dumped, their files and record sizes, and how each table's records are checked and built.
namespace quorvane::records::dumps {

// A table whose records are dumped, and its file in the dump folder.
struct DumpFile {
    const char* table;
    const char* file;
    int recordSize = 0; // 0: variable, the length in bytes 4-5
};

// The dumped tables, in this order at shutdown and at start-up.
const std::vector<DumpFile>& dumpFiles();

constexpr int kChunkRows = 1000; // rows read at a time

inline bool isPluTable(const DumpFile& d) { return qstrcmp(d.table, "KVB_25") == 0; }
inline bool isTextTable(const DumpFile& d) { return qstrncmp(d.table, "KVB_3", 5) == 0; }
inline int smallestRecord(const DumpFile& d) { return isTextTable(d) ? TextRecordHeadSize : KvbRecordHeader::Size; }

// The items, at most twenty of them named, the rest counted.
QString listed(const QStringList& items);
QString filePath(const QString& folder, const QString& name);

// Ends a pass over the dumps that failed (a DbError, or a CodecError nothing expects): the work recordset closed,
// the codecs' memories emptied, `what` given the reason as its %1. False.
bool failedPass(const QString& what, const Error& e, QString* error);

// How a table's records are checked and built at exit.
struct TableCodec {
    RecordEncoder build; // none: a row without a whole record ends the table's file
    // Whether a whole record is its row's own; none: every whole record is.
    std::function<bool(const QByteArray& record, const db::Recordset& row)> fits;
    QString keyField; // read with each record for `fits`, and names a row
};

// Departments, main groups and flexible barcodes, and the other files' tables are built here, and their
// records' keys compared with their rows'; another table's records are built by the encoder it is given.
TableCodec codecOf(const QString& table, const RecordEncoders& encoders);

} // namespace quorvane::records::dumps
