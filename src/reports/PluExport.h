#pragma once

#include "reports/ReportExport.h"

#include <QString>
#include <QStringList>

namespace quorvane::reports {

struct PluExportRequest {
    QStringList columns{}; // field names of KVB_25 in column order (SelectItem); a name that is no field gives "0"
    char separator = '\t';
    bool titleLine = false;
    ValueFormat format{};
};

// Writes every PLU of every store in stored order, one line each: names as the first line of their text
// block, money and weights as fixed-decimal texts, other values as they stand. No chosen column: nothing is
// written, the result is -1; otherwise the number of data lines. The file replaces the old one only when it
// is complete; a failure throws ReportError (ReportReadError when the table cannot be read).
int exportPlus(const QString& path, const PluExportRequest& request);

} // namespace quorvane::reports
