#pragma once

namespace quorvane::datafiles {

// The department and main-group files, from their tables' marked rows (writeMarkedRows), whatever the rows' store:
// the senders mark one store's rows. Names go in unquoted, so a comma in a name adds a field; a name the code page
// cannot hold fails the file.

// "DEP0UALL.csv" from KVB_20: DP_No, an empty field, DP_Name.
void TransDEPTFTPfile();
// "MGP0UALL.csv" from KVB_23: MG_No, an empty field, DP_No, Tax_No, MG_Name.
void TransMGFTPfile();
// "FLB0UALL.csv" from KVB_14, in stored order: FBar_No, an empty field, FBar_Type, FBar_ItemDigitNo, FBar_Data1,
// FBar_Data2, "0", the middle and the last check-digit flag of FBar_CD, FBar_EANorITF, FBar_Data1Type,
// FBar_Data2Type, FBar_Data1SH, FBar_Data2SH.
void TransFBFTPfile();

} // namespace quorvane::datafiles
