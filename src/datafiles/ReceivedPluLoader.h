#pragma once

namespace quorvane::datafiles {

// Appends one RC_25 row for each line of the fetched "PLU0UALL.csv" in the temp folder, up to the first
// empty line. The name and description come back as one-line text blocks; the item code is derived
// from the received item-code data. A missing file, a truncated line or a piece that is not what its
// column needs throws (DataFileError naming the line); the rows of the lines before it stay in RC_25.
void ImportUploadPLU();

} // namespace quorvane::datafiles
