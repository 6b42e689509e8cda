#pragma once

#include "platform/LeadingZero.h"
#include "platform/db/Connection.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace quorvane::presetkeys {

// The key editor (frmPutPreKey) on one key of the sheet shown: its three pages as they will be saved, and what
// the dialog shows of the current page. The dialog copies this to its controls; the rules below change it.
struct KeyEditor {
    int key = 0;  // gCurKeyNo when the editor opened
    int page = 0; // 0 while the dialog loads (list selections then change nothing), then 1 to 3
    std::array<qint32, 3> keyCodes{};
    std::array<QString, 3> names;
    QString txtPluNo;     // the number box: empty for an empty page
    QString txtCommodity; // the name box
    int captionKind = 0;  // the kind whose captions lblPluNo and lblCommodity show: key code / 1000000, 0 to 5
};

// Reads the three pages of `key` (page 1 to 3 of the sheet shown) and shows page 1. Throws db::DbError.
KeyEditor LoadKeyEditor(int key);

// The text of lblPresetKey for a key and page: "Key 7,  Page 1".
QString presetKeyCaption(int key, int page);
// The captions of lblPluNo and lblCommodity for a kind of key code (0 PLU or empty page ... 5 preset tare).
struct KindCaptions {
    QString number;
    QString name;
};
KindCaptions kindCaptions(int kind);

// Shows the current page: its number (PLU, function, clerk, payment or report number, or the formatted tare),
// its name and the captions of its kind.
void ShowKeyPage(KeyEditor& e);
// The next or previous page, shown.
void NextKeyPage(KeyEditor& e);
void PrevKeyPage(KeyEditor& e);

// A PLU taken from the browse: its number and first name line as the grid shows them.
void PickBrowsedPLU(KeyEditor& e, const QString& pluNo, const QString& name);

// The four lists; `position` counts from 0 in the list, `text` is the entry's. Nothing while the page is 0.
enum class KeyList { Function, Clerk, Payment, BatchReport };
void PickListEntry(KeyEditor& e, KeyList list, int position, const QString& text);

// The tare box: its text while focused has no decimal sign; its leading zeros go as an amount's.
constexpr ChangeForm TareForm = ChangeForm::Decimal;
QString presetTareEntered(const QString& shown);
QString withoutLeadingZero(const QString& typed);
// Leaving the tare box: returns its formatted text; a tare above 0 becomes the page's key code with the name
// of lblPresetTareKey. A text that is no number counts as 0 and changes nothing.
QString LeavePresetTare(KeyEditor& e, const QString& text);

// A name typed into the name box counts for a page with a number only.
void LeaveKeyName(KeyEditor& e, const QString& text);
// Empties the current page.
void DeleteKeyPage(KeyEditor& e);

// Writes the three pages (WritePresetKeyPage) in one transaction: all of them or, on a failure, none. Throws
// db::DbError or records::CodecError.
void SavePresetKey(const KeyEditor& e);

// The name a key shows for a PLU: the first line of its PLU_Commodity block, at most 100 bytes of a longer
// one; empty for no text, and for a block whose first line runs past its end.
QString keyNameOfBlock(const QByteArray& block);

// The PLUs a key can hold (1 to 999999) of a store, by number: PLU_No and PLU_Commodity.
db::Statement browsePLUs(qint32 storeNo);

} // namespace quorvane::presetkeys
