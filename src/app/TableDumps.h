#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quorvane::app {

// How one field of a row is written as lines of a text dump.
enum class DumpLine {
    Number,   // " 16 ": one blank, the digits, one blank (a minus sign in place of the first blank)
    Text,     // one line; line breaks of the value are dropped
    Gathered, // one or more lines; the reload joins them until the first numeric line
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

// The lines a gathered text is written as. The reload joins them with nothing between, so a line break
// that would put a numeric line inside the text is dropped: the reload then gives the same text.
QStringList gatheredTextLines(const QString& text);

// A one-line text field without its line breaks.
QString oneLineText(const QString& text);

// Writes the 21 text dumps of the tables of the shared connection into `folder` (created when missing).
// False, with the file named, when a file cannot be written or a value cannot be written in the code page.
bool SaveTablesToText(const QString& folder, QString* error = nullptr);

// Adds the rows of the 21 text dumps in `folder` to the tables of the shared connection, all or nothing.
// A missing file leaves its table as it is. False, with file and line named, when a file does not match
// its format or a database error occurs; the tables are then as they were.
bool LoadTablesFromText(const QString& folder, QString* error = nullptr);

} // namespace quorvane::app
