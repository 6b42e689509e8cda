#pragma once

#include <QString>

namespace quorvane {

// How a number box drops a leading zero while it is typed.
enum class ChangeForm {
    None,
    WholeNumber,    // a "0" before another character
    Decimal,        // the same, unless the decimal sign follows it ("0.50" stays)
    AnyLeadingZero, // every leading "0", a lone one too
};

// The text as the box leaves it once its form has dropped every zero it drops: "007" is "7" as a whole number,
// "0.5" stays as a decimal.
inline QString withoutLeadingZeros(QString text, ChangeForm form, const QString& decimalSign)
{
    const auto drops = [&] {
        if (!text.startsWith(QLatin1Char('0')))
            return false;
        switch (form) {
        case ChangeForm::None:
            return false;
        case ChangeForm::WholeNumber:
            return text.size() >= 2;
        case ChangeForm::Decimal:
            return text.size() >= 2 && (decimalSign.isEmpty() || !QStringView(text).sliced(1).startsWith(decimalSign));
        case ChangeForm::AnyLeadingZero:
            return true;
        }
        return false;
    };
    while (drops())
        text.remove(0, 1);
    return text;
}

} // namespace quorvane
