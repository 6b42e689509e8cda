#pragma once

#include "state/SettingsState.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace quorvane {

// The positions chosen in the lists of frmScale, counted from 0; -1 where a list has no selection.
struct DataFormatChoices {
    int pricePoint = -1;   // combPPoint
    int pointType = -1;    // combPPointType
    int weightPoint = -1;  // combWPoint
    int dateType = -1;     // combDateType
    int priceUnit = -1;    // combPriceUnit's selected item: shown at load only, OK goes by the text
    QString priceUnitText; // the text combPriceUnit shows
    int country = -1;      // combSYS_Country
    int store = -1;        // combSYS_Store
};

// What frmScale lists, and what it selects of the held record: a held value outside its list selects
// nothing, and the price-unit box then shows no text.
struct DataFormatForm {
    QStringList pricePoints;  // combPPoint and combWPoint: "0" to "3"
    QStringList pointTypes;   // ".", ","
    QStringList dateTypes;    // the six date orders built from setMM, setDD and setYY
    QStringList priceUnits;   // setRMB, setDolar, and the held own currency text
    QStringList countries;    // SYS_C0, SYS_C1, ... as many as the section holds
    QStringList stores;       // setSingleStore
    DataFormatChoices chosen; // the held values as positions
};

// Lists and selections from the held record, gLangOther and gParCountry.
DataFormatForm dataFormatForm(const SettingsRecord& held);

// The record OK writes, from the held one and the choices; the program holds it from then on. A list
// without a selection keeps its held value (the store mode with its held root text); the price-unit code
// follows the text: "RMB" 0, "$" 1, any other text 2 with the text as own currency, an empty text the held
// code and text. The currency text in use changes only to an own text, and the decimal sign and the
// language wait for the next start; the price-unit code is the one written, since only this dialog and the
// writers of the file read it, and a later write (a language switch, OK again) must not bring back the old one.
SettingsRecord applyDataFormat(const SettingsRecord& held, const DataFormatChoices& choices);

// OK of frmScale: writes the settings file from gSettings() and the choices, then updates gSettings().
// A failed write throws text::FileError and changes neither the file nor the record.
void saveDataFormat(const DataFormatChoices& choices);

// Whether combPriceUnit takes a typed or pasted character, given as its bytes in the ANSI code page:
// exactly one byte from 32 to 255. Backspace, Enter and double-byte characters are dropped.
bool priceUnitAccepts(QByteArrayView ansiBytes);
// The same for one character (one or two UTF-16 units); one the code page cannot hold is dropped too.
bool priceUnitAccepts(const QString& character);

} // namespace quorvane
