#pragma once

namespace quorvane::datafiles {

// The department and main-group files, from their tables' marked rows (writeMarkedRows), whatever the rows' store:
// the senders mark one store's rows. Names go in unquoted, so a comma in a name adds a field; a name the code page
// cannot hold fails the file.

// "DEP0UALL.csv" from KVB_20: DP_No, an empty field, DP_Name.
void TransDEPTFTPfile();
// "MGP0UALL.csv" from KVB_23: MG_No, an empty field, DP_No, Tax_No, MG_Name.
void TransMGFTPfile();

} // namespace quorvane::datafiles
