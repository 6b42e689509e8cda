#pragma once

namespace quorvane::datafiles {

// Appends one RC_25 row for each line of the fetched "PLU0UALL.csv" in the temp folder, up to the first
// empty line. The name and description come back as one-line text blocks; the item code is derived
// from the received item-code data. All lines land or none: a missing file, a truncated line or a piece
// that is not what its column needs throws (DataFileError naming the line) and leaves RC_25 as it was.
void ImportUploadPLU();

} // namespace quorvane::datafiles
