#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace quorvane::datafiles {

// A data file that cannot be written or read as it should; the message names the file and the reason.
class DataFileError : public std::runtime_error {
public:
    explicit DataFileError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The data files live in the temp folder of the program folder, under their bare names.
QString dataFilePath(const QString& fileName);
// Creates the temp folder when it is missing; throws DataFileError when it cannot.
void makeTempFolder();
// Deletes the file of each name from the temp folder where it exists; returns the names that stay.
QStringList removeDataFiles(const QStringList& fileNames);

// The lines of a data file of the temp folder as bytes, split at CR LF (or a lone LF); a final line end
// adds no empty line. A missing or unreadable file throws DataFileError.
QList<QByteArray> readDataFileLines(const QString& fileName);

// Field helpers of every line. A text field goes in as it stands, without quotes or escaping, except
// that CR and LF become blanks: a line break inside a field would split the record in two.
void appendTextField(QByteArray& line, QByteArrayView ansiBytes);
// The text in the ANSI code page; a character the code page cannot hold throws DataFileError.
void appendTextField(QByteArray& line, const QString& text);
inline void appendNumber(QByteArray& line, qint64 value) { line += QByteArray::number(value); }

// Builds the line of the recordset's current row, without its line end.
using LineBuilder = std::function<void(db::Recordset& row, QByteArray& line)>;

// What every writer shares: the rows of `table` whose Is_Selected is 1, in the order the database gives
// them, one line each ending in CR LF, in temp/<fileName> created anew. No marked row: no file is
// written and none is deleted, and the result is false. Changes the builder makes to a row are saved
// with it. On any failure the file is deleted, the row changes are dropped and the error is thrown.
bool writeMarkedRows(const QString& fileName, const QString& table, const LineBuilder& buildLine);

// One row of the catalogue of data files.
struct DataFileKind {
    const char* fileName;
    const char* table;
    void (*writer)(); // nullptr while the kind has no writer: its file is then never written
};
const QList<DataFileKind>& dataFileCatalogue();

struct WriterFailure {
    QString fileName;
    QString message;
};

// Runs the writer of each listed name, in list order and once per listing; a name the catalogue does
// not know (exact comparison) is passed over. A failing writer does not stop the ones after it.
QList<WriterFailure> writeListedDataFiles(const QStringList& fileNames);

} // namespace quorvane::datafiles
