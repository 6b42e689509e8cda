#pragma once

#include <QString>

namespace quorvane {

// The settings' decimal sign, "." when the settings name none: every reading of the sign goes through it.
QString decimalSign();

// A whole number of smallest units shown with the given decimals and the settings' decimal sign
// (12345 with 2 decimals is "123.45"); a negative value gets a leading "-".
QString FormatFixedDecimal(qint32 value, qint16 decimals);
QString FormatFixedDecimal(qint32 value, qint16 decimals, const QString& decimalSign);

// The editors' reading back: an empty text counts as "0", every decimal sign is removed and the rest
// read as a whole number (blanks around it and a sign allowed). False when that is not a 32-bit whole number.
bool ReadFixedDecimal(const QString& text, qint32* value);
bool ReadFixedDecimal(const QString& text, const QString& decimalSign, qint32* value);

// A decimal text written at any number of places, made a whole number in units of the d-th place: every decimal
// sign dropped, digits past the d-th place behind the last one dropped too, missing places filled with zeros
// ("12.5" at 2 places "1250", "" "00"). Other characters stay for the reading to judge.
QString normaliseDecimal(QStringView text, int d, QStringView decimalSign);
// Such a text read as the editors read theirs: "12.5" at 2 places is 1250.
bool ReadDecimalAtPlaces(QStringView text, int d, const QString& decimalSign, qint32* value);

} // namespace quorvane
