#pragma once

#include "platform/text/LinesLeftOut.h"

#include <functional>

namespace quorvane::db {
class Recordset;
}

namespace quorvane::datafiles {

// Judges a received line once it has been read into its row (the RC_25 recordset on the row being added): an empty
// reason lets the row be saved; otherwise the field, the value and why the line is left out (its number is filled
// in by the loader).
using ReceivedLineCheck = std::function<text::LineLeftOut(const db::Recordset& row)>;

// Appends one RC_25 row for each line of the fetched "PLU0UALL.csv" in the temp folder, up to the first
// empty line (readLoaderLines). The name and description come back as one-line text blocks; the item code is derived
// from the received item-code data. A line that does not read (too few pieces or more than its fields take, a piece
// that is not what its column needs, a text that does not close, is too long or holds a control character) or that
// `check` refuses is left out and the reading goes on with the next line; the lines left out are returned, and last,
// always named, the empty line that ended the load before lines with data. A missing file throws DataFileError, a
// failing database db::DbError; the rows of the lines before it stay in RC_25.
text::LinesLeftOut ImportUploadPLU(const ReceivedLineCheck& check = {});

} // namespace quorvane::datafiles
