#pragma once

#include "platform/db/Recordset.h"
#include "records/PluRow.h"

namespace quorvane::records {

// The PLU's yes/no fields and the flag bytes the scale record carries. Each works on the current row
// of an open KVB_25 recordset and leaves saving it to the caller. A Null flag packs as 0.
void PackStat1(db::Recordset& row);   // Stat1_ flags into Stat1_Byte1 .. Stat1_Byte4
void PackStat2(db::Recordset& row);   // Stat2_ presence flags into Stat2_Byte1 .. Stat2_Byte16
void UnpackStat1(db::Recordset& row); // Stat1_Byte1 into the Stat1_ flags
void UnpackStat2(db::Recordset& row); // Stat2_Byte1 .. Stat2_Byte3 into the Stat2_ presence flags

// The same on a row's values.
void packStat1(PluRow& row);
void packStat2(PluRow& row);
void unpackStat1(PluRow& row);
void unpackStat2(PluRow& row);

} // namespace quorvane::records
