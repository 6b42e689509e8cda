#pragma once

#include "records/PluRow.h"

#include <QByteArray>

namespace quorvane::datafiles {

// What a PLU whose bar format is 255 inherits from its main group, department or store.
struct InheritedBarFormat {
    qint64 barFormat = 0; // the inherited bar format, modulo 100
    qint64 flags = 0;     // Flag1 x 10 + Flag2 of the same level
};

// The line of one PLU in "PLU0UALL.csv", without its line end: 49 comma-separated columns, the name and
// description as the ANSI bytes of their first lines between double quotes. `inherited` is used only
// when the row's bar format is 255. PLU_EANData must be composed already when Stat2_ItemCode is set.
QByteArray PluDataLine(const records::PluRow& row, const InheritedBarFormat& inherited);

// Writes "PLU0UALL.csv" in the temp folder from the KVB_25 rows marked for sending. Inherited bar
// formats are resolved row by row; the item-code data of rows with an item code is composed and saved.
// The codecs' memories of inherited bar formats are emptied at the end of every pass. Throws on failure,
// after deleting the file.
void TransPLUFTPfile();

} // namespace quorvane::datafiles
