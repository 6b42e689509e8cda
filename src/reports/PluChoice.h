#pragma once

#include "reports/ReportExport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quorvane::reports {

// The field choice of the PLU import and export window.

// The font-size entries of comboFontSize for a country setting: the text editor's fonts of the country with the
// size first ("1G" for "G1"). An entry's font size is its position counted from 1.
QStringList fontSizeEntries(qint16 country);

// What a choice file holds: the separator entry, chkPLU, the two font sizes and the chosen catalogue positions.
struct PluChoice {
    int separator = 0;
    bool override = false;
    int commodityFontSize = 0;
    int descriptionFontSize = 0;
    QList<int> positions{};
};

// The file: one number line per value (" 3 ", "-1 "), in the order of PluChoice; an empty file for a choice
// without positions.
QByteArray pluChoiceText(const PluChoice& choice);
// Writes it through the file writer; a failure throws ReportError and leaves the old file whole.
void writePluChoice(const QString& path, const PluChoice& choice);
// The choice a file gives over `current`: its positions replace the current ones; a line is a decimal number
// with "." and blanks around, n the nearest whole number, halves to even. A value naming nothing keeps the
// current one: a separator other than 0 or 1, a font size outside 1 to fontSizes, a position outside the
// catalogue. Line 2 clears chkPLU when it reads 0 and sets it otherwise.
PluChoice parsePluChoice(const QByteArray& bytes, const PluChoice& current, int catalogueCount, int fontSizes);
// Reads the file; a failure throws ImportReadError.
PluChoice readPluChoice(const QString& path, const PluChoice& current, int catalogueCount, int fontSizes);

} // namespace quorvane::reports
