#pragma once

#include "state/FBarState.h"

#include <QString>
#include <QStringList>

#include <array>

namespace quorvane {
struct FBarRec;
}

namespace quorvane::presetkeys {

// The flexible-barcode editor (frmFlexiBarcode) chooses every value of a format from a drop-down list whose
// entry index is the value: these are the eleven lists' indexes.
struct FBarChoices {
    int No = 0; // FBar_No - 1
    int Type = 0;
    int ItemDigitNo = 0;
    int Data1Type = 0;
    int Data2Type = 0;
    int Data1 = 0;
    int Data2 = 0;
    int Data1SH = 0;
    int Data2SH = 0;
    int CD = 0; // the check-digit mode, FBar_CD And 3
    int EANorITF = 0;
};

// One list of the editor: the control, the choice it holds, and its entries (fixed, or from gLangFlexiBarcode).
struct FBarList {
    const char* objectName;
    int FBarChoices::*field;
    QStringList (*entries)();
};
// The eleven lists, in the order the editor fills them.
extern const std::array<FBarList, 11> kFBarLists;

// The buffer as the lists show it, and the lists written into the buffer (FBar_CD = EAN x 128 + mode;
// FBar_FBarDigitNo stays as loaded).
FBarChoices choicesOfRecord(const FBarRec& rec);
void storeChoices(const FBarChoices& choices, FBarRec& rec);
// The reset state before a load: every number 0, FBar_Data1 "0", FBar_No the number.
void resetFBarRec(int number);

// The pattern of the barcode the choices give: "F2" or "F1F2", a "C" per item digit, a "P" per digit of data 1,
// an "X" per digit of data 2, "CD" between item code and data and/or at the end.
QString barcodePattern(const FBarChoices& choices);
// 1 when the choices give a length the symbology allows (EAN 8 or 13, ITF even from 4 to 22), else 0.
int CheckBarcodeLength(const FBarChoices& choices);

// The one access to KVB_14 of the editor, through gFBarRec. `table` is "KVB_14" (another name does nothing and
// gives 0); `action` 1 loads format `number` into gFBarRec, 2 saves gFBarRec into every row of that number (or
// appends one) with its record, in one transaction, 3 deletes every row of that number. Result: 1 when a load or
// a delete found a row, else 0. Throws db::DbError or records::CodecError; a failed save or delete changes
// nothing.
int FlexiBarcodeRecords(const QString& table, int action, int number);

} // namespace quorvane::presetkeys
