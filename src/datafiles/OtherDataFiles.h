#pragma once

#include <QtGlobal>

namespace quorvane::datafiles {

// The data files of the other-files tables, the scroll messages and sequences, the date and time and the
// barcode ranges, each written in the temp folder from its table's marked rows (writeMarkedRows). A field
// is written as the table holds it, a Null one as an empty field; a name the code page cannot hold, like
// any other failure, throws after the file is deleted.

// "ING0UALL.csv", "SPM0UALL.csv", "ADV0UALL.csv", "SHP0UALL.csv" for kinds 1 to 4 (KVB_3A to KVB_3D):
// No, an empty field, NextNo, then per slot the font code and the quoted bytes of one line of the text
// block of the record, an empty slot "0" and an empty field. A line that lies partly beyond the record
// ends the text: it and every slot after it are empty. Another kind: nothing at all.
void TransStrFTPfile(qint16 kind, qint16 lineCount);
// The catalogue's entries of the four kinds.
template<qint16 Kind, qint16 LineCount> void TransStrFTPfileOf() { TransStrFTPfile(Kind, LineCount); }

void TransSMFTPfile();    // "SCM0UALL.csv" from KVB_3F
void TransSSFTPfile();    // "SCS0UALL.csv" from KVB_40
void TransDTFTPfile();    // "DAT0UALL.csv" from KVB_4E; a record under 14 bytes fails the file
void TransCLERKFTPfile(); // "OPE0UALL.csv" from KVB_44
void TransTAXFTPfile();   // "TAX0UALL.csv" from KVB_A8
void TransDSFTPfile();    // "SCH0UALL.csv" from KVB_AA
void TransPSFTPfile();    // "PCS0UALL.csv" from KVB_AB
void TransSTOCKFTPfile(); // "SFK0UALL.csv" from KVB_AC
void TransPAYFTPfile();   // "PAK0UALL.csv" from KVB_AD
void TransBRFTPfile();    // "BAR0UALL.csv" from KVB_B5

} // namespace quorvane::datafiles
