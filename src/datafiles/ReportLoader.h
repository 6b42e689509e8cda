#pragma once

#include "datafiles/DataFileWriters.h"
#include "platform/text/LinesLeftOut.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane::datafiles {

// The report codes a scale sends, each also the name of the table its file is loaded into.
const QStringList& reportTables();

// Appends one row for each line of temp/<code>UALL.csv to the report table `code`, up to the first empty line
// (readLoaderLines): piece i of a line goes to field i; a missing or empty piece stores 0, a text piece longer than its
// field keeps its rightmost characters, a number piece must fit its field whole. A line of more pieces than the table
// has fields is left out. Returns the lines left out, and last, always named, the empty line that ended the load
// before lines with data. Only the report tables are accepted. Any failure throws; the rows of the lines before it stay
// in the table. A stop that `stopRequested` tells of (asked while the load turns the event loop), or a request to end
// the program, ends it the same way, after the line loaded. Uses gRsWork, which must be closed when the load starts,
// and closes it again.
text::LinesLeftOut ImportUploadCSV(const QString& code, const std::function<bool()>& stopRequested = {});

} // namespace quorvane::datafiles
