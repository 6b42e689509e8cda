#pragma once

#include "platform/db/Recordset.h"
#include "records/BarFormat.h"
#include "records/PluRow.h"

#include <QString>

#include <optional>

namespace quorvane::records {

// What a fixed bar format's definition text (EAN_EDIT entry f + 1) says: character 1 flag digit 1 used,
// character 3 flag digit 2 used, characters 5-6 the item digit count ("5," or "10").
struct BarFormatDefinition {
    bool flag1Used = false;
    bool flag2Used = false;
    int itemDigits = 0;
};
// Nothing for a text that does not say all three with digits, or a count above 10.
std::optional<BarFormatDefinition> parseBarFormatDefinition(const QString& text);
// The definition of fixed bar format 0 to 19 from gParEANEdit; nothing when missing or malformed.
std::optional<BarFormatDefinition> fixedBarFormatDefinition(int barFormat);

// The KVB_14 row of a flexible barcode (FBar_No 1 to 9); nothing when there is none. Taken from the codecs'
// memory of KVB_14.
std::optional<FlexibleBarcode> flexibleBarcode(qint64 fbarNo);

// Item digit count of bar format f: from 20 on the flexible barcode f - 19 (10 when it has no row),
// below 20 the definition text. A missing or malformed definition, or a count above 10, throws CodecError.
// The count depends on the bar format alone, whatever the last byte is.
int itemDigitCount(int barFormat);

// Refreshes PLU_EANData (and cuts a too long PLU_EANItemCode) of the row: the item code right-aligned in
// 6 digits, "0000" and the last byte when the bar format is not 0 and has fewer than 7 item digits,
// otherwise in 10 digits and the last byte. An inherited bar format (255) is always resolved (a missing
// main group, department or store gives format 0 and last byte 0).
// Throws CodecError when it cannot compose (no definition, item code not digits, last byte outside 0 to
// 99) and DbError when the database fails; the caller saves the row.
void ComposeEANData(db::Recordset& pluRow);

// Sets PLU_EANItemCode and PLU_EANLastByte from PLU_EANData, taking the item code's characters as they
// stand (a decoded record may carry the hexadecimal digits A to F); a row without item-code data is left
// as it is. An inherited bar format is resolved as the composer does. Throws CodecError for data that is
// not 12 hexadecimal digits, DbError when the database fails.
void DeriveEANItemCode(db::Recordset& pluRow);

void composeEanData(PluRow& row);
void deriveEanItemCode(PluRow& row);

// Empties the composer's memory of the inherited bar formats it resolved. Not needed for fresh values: the
// memory forgets by itself when a level row changes.
void ClearEANDataCache();

// The bar-format boxes of the PLU editor: meditFlagCode1, meditFlagCode2, meditItemCode (enabled, text,
// greatest length), combBarcodeFormat and combRSData (enabled).
struct BarcodeBox {
    bool enabled = false;
    QString text;
    int maxLength = 0;
};
struct BarcodeControls {
    bool barcodeFormatEnabled = false;
    bool rsDataEnabled = false;
    BarcodeBox flagCode1;
    BarcodeBox flagCode2;
    BarcodeBox itemCode;
};

// The state of the boxes for list position `listPosition` of combBarcodeFormat (0 inherit, 1 to 20 fixed
// formats 0 to 19, from 21 flexible barcode position - 20), the editor's edit mode (1 editing) and its
// current PLU row (read only for the inherit entry). `current` is what the boxes hold now.
// Inherit: the flag boxes show the inherited flags, disabled; the item box keeps its state and text and
// takes the inherited format's item digits as greatest length (a missing level means format 0).
// A fixed format: flag boxes by its definition, the item box enabled only with item digits. A flexible
// barcode: flag boxes by its type, the item box as it is; without a KVB_14 row all three are disabled.
// Apart from the inherit entry, the item text is cut to the item digits. Database errors throw DbError.
BarcodeControls SetBarcodeFlagControls(int listPosition, int editMode, const db::Recordset& pluRow,
                                       const BarcodeControls& current);

} // namespace quorvane::records
