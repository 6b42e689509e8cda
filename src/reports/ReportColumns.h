#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quorvane::reports {

// The field names of a report table, in field order (listItem).
QStringList reportFieldNames(const QString& code);
// Deletes every row of a report table: a fetch starts from an empty table, since the loader appends.
void emptyReportTable(const QString& code);

// For each chosen name, the position of the first available entry with exactly that text; -1 for none.
QList<int> fieldPositions(const QStringList& chosen, const QStringList& available);

// The column-choice file: one line per chosen column, its position in listItem between one blank before
// and one after, ended by CR LF.
QByteArray columnChoiceText(const QList<int>& positions);
// Writes it through the file writer; a failure throws ReportError and leaves the old file whole.
void writeColumnChoice(const QString& path, const QList<int>& positions);
// The positions of the lines that count: a whole number from 0 to available - 1, blanks around allowed.
// Every other line is skipped.
QList<int> parseColumnChoice(const QByteArray& bytes, int available);
// The positions a file gives; a file that cannot be read throws ReportError.
QList<int> readColumnChoice(const QString& path, int available);

} // namespace quorvane::reports
