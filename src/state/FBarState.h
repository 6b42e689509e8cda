#pragma once

#include <QString>

namespace quorvane {

// The flexible-barcode editor's buffer: the twelve FBar_ fields of one KVB_14 row, FBar_Data1 as its digits.
struct FBarRec {
    qint16 FBar_No = 0;
    qint16 FBar_Type = 0;
    qint16 FBar_ItemDigitNo = 0;
    qint16 FBar_Data1Type = 0;
    qint16 FBar_Data2Type = 0;
    qint16 FBar_FBarDigitNo = 0;
    qint16 FBar_CD = 0;
    QString FBar_Data1 = QStringLiteral("0");
    qint16 FBar_Data2 = 0;
    qint16 FBar_Data1SH = 0;
    qint16 FBar_Data2SH = 0;
    qint16 FBar_EANorITF = 0;
};

FBarRec& gFBarRec();

} // namespace quorvane
