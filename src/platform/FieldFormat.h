#pragma once

#include <QString>

namespace quorvane::fields {

// The decimals of an amount: a fixed count, or one the settings give.
enum Decimals : int {
    PriceDecimals = -1,  // the settings' price decimals
    WeightDecimals = -2, // the settings' weight decimals
};

// What a shown value depends on beyond its row: the decimal sign, the decimals of prices and weights and the date
// order's display format.
// settings/FieldKinds.h's currentFormat() reads them from the settings; tests give their own. The widget copies
// (platform/ui/FieldCopy.h) take it too.
struct Format {
    QString decimalSign = QStringLiteral(".");
    int priceDecimals = 2;
    int weightDecimals = 3;
    QString dateFormat = QStringLiteral("dd/MM/yy"); // of the date pickers; empty keeps theirs
    QString timeFormat = QStringLiteral("HH:mm");    // of the time pickers; empty keeps theirs

    int decimalsOf(int decimals) const
    {
        return decimals == PriceDecimals ? priceDecimals : decimals == WeightDecimals ? weightDecimals : decimals;
    }
};

} // namespace quorvane::fields
