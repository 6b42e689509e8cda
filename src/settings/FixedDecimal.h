#pragma once

#include <QString>

namespace quorvane {

// A whole number of smallest units shown with the given decimals and the settings' decimal sign
// (12345 with 2 decimals is "123.45"); a negative value gets a leading "-".
QString FormatFixedDecimal(qint32 value, qint16 decimals);
QString FormatFixedDecimal(qint32 value, qint16 decimals, const QString& decimalSign);

// The editors' reading back: an empty text counts as "0", every decimal sign is removed and the rest
// read as a whole number. False when that is not a 32-bit whole number.
bool ReadFixedDecimal(const QString& text, qint32* value);
bool ReadFixedDecimal(const QString& text, const QString& decimalSign, qint32* value);

} // namespace quorvane
