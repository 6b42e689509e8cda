#pragma once

#include "platform/Error.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace quorvane::reports {

// A report table or export file that cannot be read or written; the message names it and the reason.
class ReportError : public Error {
public:
    using Error::Error;
};
// The report table could not be read: a database failure, where the other report errors are the file's.
class ReportReadError : public ReportError {
public:
    using ReportError::ReportError;
};
// A file the PLU import window reads (the import file, a choice file) cannot be read; database failures come as
// db::DbError.
class ImportReadError : public ReportError {
public:
    using ReportError::ReportError;
};

// The report types are datafiles::reportTables(), in the order of every list. A code names the report
// table and, followed by "UALL.csv", the report file on the scale.
QString reportFileName(const QString& code);

// The format string of a report type: one code per field of its table, in field order: '0' the value
// text as it stands, '1' a price or money amount (price decimals), '2' a weight (weight decimals).
// Empty for a code that names no report.
QByteArrayView reportFormat(const QString& code);

struct ValueFormat {
    int pricePoint = 0;
    int weightPoint = 0;
    QString decimalSign = QStringLiteral(".");
};
// The decimals and the decimal sign of the settings.
ValueFormat settingsValueFormat();

// Separator bytes of comboSeperator's entries: 0 Tab, 1 comma.
char separatorFor(int entry);

struct ExportRequest {
    QString code;        // the report table
    QStringList columns; // the chosen field names in output order (SelectItem); a name may come twice
    bool titleLine = false;
    char separator = '\t';
    ValueFormat format;
};

// Writes the export file: the optional title line of the chosen names, then one line per row of the
// table in stored order, up to the first row whose first output column is Null; values separated by the
// separator, each line ended by CR LF, texts in the ANSI code page, no quoting. A Null value in another
// column is written as an empty text. One forward pass over the rows, pumping events; the file replaces
// the old one only when it is complete. No chosen column: nothing is written, the result is -1.
// Otherwise returns the number of data lines. A failure throws ReportError (ReportReadError when the table
// cannot be read) and leaves an existing file as it was.
int exportReport(const QString& path, const ExportRequest& request);

} // namespace quorvane::reports
