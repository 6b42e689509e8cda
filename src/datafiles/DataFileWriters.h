#pragma once

#include "platform/Error.h"

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane::datafiles {

// A data file that cannot be written or read as it should; the message names the file and the reason.
class DataFileError : public Error {
public:
    using Error::Error;
};

// The data files live in the temp folder of the program folder, under their bare names.
QString dataFilePath(const QString& fileName);
// Creates the temp folder when it is missing; throws DataFileError when it cannot.
void makeTempFolder();
// Deletes the file of each name from the temp folder where it exists; returns the names that stay.
QStringList removeDataFiles(const QStringList& fileNames);

// The lines of a data file of the temp folder as bytes, as text::LineReader reads them (CR LF, LF or a lone CR ends
// a line; a leading byte-order mark is dropped). A missing or unreadable file throws DataFileError.
QList<QByteArray> readDataFileLines(const QString& fileName);

// The lines of a data file with data after the empty line that ended its load: a scale may write something there,
// so the load keeps that end, but the operator is told.
struct UnreadLines {
    qint64 emptyLine = 0; // its number, from 1; 0: nothing with data followed it
    qint64 count = 0;     // the lines with data after it

    explicit operator bool() const { return count > 0; }
    // "an empty line; the 10 lines after it were not read"
    QString text() const;
};

// What a loader of a fetched file reads: its lines up to the first empty line, and what follows that line unread.
// Empty lines at the end of the file end it without a word.
struct LoaderLines {
    QList<QByteArray> lines;
    UnreadLines unread;
};
LoaderLines readLoaderLines(const QString& fileName);

// Runs a loader that saves its rows one after another, in one transaction (one sync of the disk, not one a
// row). The rows saved before a failure stay, as they would have row by row; the failure is passed on.
// The loader may pump events: the windows that start a load keep the operator from other database work.
void appendRows(const std::function<void()>& load);

// Field helpers of every line. A text field goes in as it stands, without quotes or escaping, except
// that CR and LF become blanks: a line break inside a field would split the record in two.
void appendTextField(QByteArray& line, QByteArrayView ansiBytes);
// The text in the ANSI code page; a character the code page cannot hold throws DataFileError.
void appendTextField(QByteArray& line, const QString& text);
void appendNumber(QByteArray& line, qint64 value);
// A date held as day x 10000 + month x 100 + year mod 100, written YYMMDD, each part of one digit with a
// "0" in front.
void appendSixDigitDate(QByteArray& line, qint64 date);

// A change a writer makes to one of its rows: saved with the others once the file is complete.
struct RowChange {
    int position; // of the row in the pass
    QString field;
    QVariant value;
};

// One marked row of a writer's pass, made by writeMarkedRows. Fields are reached by their position in
// the list the writer gave and read from the database only when asked for.
class MarkedRow {
public:
    MarkedRow(const db::Statement& statement, const QStringList& fields, int position, QList<RowChange>& changes)
        : m_statement(statement)
        , m_fields(fields)
        , m_position(position)
        , m_changes(changes)
    {
    }
    QVariant value(int field) const { return m_statement.column(field + 1); }
    // Saved, checked against the schema, when the whole file has been written; a failing pass saves nothing.
    void setValue(int field, const QVariant& value) { m_changes.append({m_position, m_fields.at(field), value}); }

private:
    const db::Statement& m_statement;
    const QStringList& m_fields;
    int m_position;
    QList<RowChange>& m_changes;
};

// Builds the line of a marked row, without its line end.
using LineBuilder = std::function<void(MarkedRow& row, QByteArray& line)>;

// What every writer shares: the rows of `table` whose Is_Selected is 1, in stored order, one line each
// ending in CR LF, in temp/<fileName> created anew; `fields` are the fields the lines are built from.
// No marked row: no file is written and none is deleted, and the result is false. On any failure the
// file is deleted, the changes to the rows are dropped and the error is thrown.
bool writeMarkedRows(const QString& fileName, const QString& table, const QStringList& fields,
                     const LineBuilder& buildLine);
// writeMarkedRows of the table's file in the catalogue.
bool writeTableFile(const char* table, const QStringList& fields, const LineBuilder& buildLine);

// One row of the catalogue of data files: the one place that names each file and the table it is written from.
struct DataFileKind {
    const char* fileName;
    const char* table;
    void (*writer)(); // nullptr while the kind has no writer: its file is then never written
};
const QList<DataFileKind>& dataFileCatalogue();
// The catalogue's file of a table ("PCS0UALL.csv" for "KVB_AB", exact comparison). A table the catalogue lacks is a
// fault of the program's own tables: the program stops, naming it.
QString dataFileOf(const char* table);

struct WriterFailure {
    QString fileName;
    QString message;
};

// Runs the writer of each listed name, in list order and once per listing; a name the catalogue does
// not know (exact comparison) is passed over. A failing writer does not stop the ones after it.
QList<WriterFailure> writeListedDataFiles(const QStringList& fileNames);

} // namespace quorvane::datafiles
