#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include "records/ScaleRecordDumps.h"

namespace quorvane::app {

// How one field of a row is written as lines of a text dump.
enum class DumpLine {
    Number,   // " 16 ": one blank, the digits, one blank (a minus sign in place of the first blank)
    Text,     // one line
    Gathered, // written as one line; the reload joins a text's lines until the first numeric line
};

struct DumpField {
    QString name;
    DumpLine kind = DumpLine::Number;
};

struct TableDump {
    QString file; // in the dump folder
    QString table;
    QList<DumpField> fields;
    bool marker = false; // a " 111 " line closes every row
};

// The 21 dumped tables in the order in which both the dump and the reload visit them.
const QList<TableDump>& tableDumps();

// A line the reload reads as a number: blanks at both ends ignored, an optional sign, digits with at most
// one decimal point, at least one digit. An empty line is not numeric.
bool isNumericLine(QStringView line);

// A text field's line as a dump writes it: each C0 control character (line breaks, tab, NUL, ESC) and DEL is
// written as a blank, since the reload could not read it back. C1 characters are kept: in windows-1252 five of them
// are bytes of a stored text.
QString dumpLineText(const QString& text);

// The rows of each text dump of a set, by file name.
using DumpRowCounts = QMap<QString, qint64>;

// Writes the 21 text dumps of the tables of the shared connection into `folder` (created when missing), and
// the rows of each into `rows`. False, with the file named, when a file cannot be written, or with the file, the
// table, the field and the row named, when a value cannot be written in the code page; that table's file in
// `folder` then stays as it was.
bool SaveTablesToText(const QString& folder, QString* error = nullptr, DumpRowCounts* rows = nullptr);

// The same, telling `written` each file it has written, with its bytes.
bool SaveTablesToText(const QString& folder, QString* error, DumpRowCounts* rows, const records::DumpWritten& written);

// A text dump whose rows differ from the count its set was saved with: its whole rows were loaded.
struct TextDumpShortfall {
    QString file, table;
    qint64 rows = 0;     // whole rows the file holds
    qint64 expected = 0; // as saved
    bool cut = false;    // the file ends inside a row
};

// Adds the rows of the 21 text dumps in `folder` to the tables of the shared connection, all or nothing.
// A missing file leaves its table as it is. A dump `counts` names loads its rows as far as they are whole;
// when they are not its count, it is added to `shortfalls`. False, with file and line named, when a file
// does not match its format (one without a count: also when it ends inside a row) or a database error
// occurs; the tables are then as they were.
// With `heldPlus`, the rows of the PLU table are not added but held there, for the record reload to add each
// whole (records::LoadBinDataFromFiles), which the caller must then do in the same transaction.
bool LoadTablesFromText(const QString& folder, QString* error = nullptr, const DumpRowCounts& counts = {},
                        QList<TextDumpShortfall>* shortfalls = nullptr, records::HeldPluRows* heldPlus = nullptr);

} // namespace quorvane::app
