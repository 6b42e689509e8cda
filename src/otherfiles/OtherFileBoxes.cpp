#include "otherfiles/OtherFileBoxes.h"

#include "settings/FixedDecimal.h"

namespace quorvane::otherfiles {

namespace {

// A whole number of smallest units as an amount box shows it.
QString amountText(qint64 value, int decimals)
{
    return fields::shownValue(fields::Kind::Amount, decimals, value, fields::currentFormat()).toString();
}

} // namespace

ChangedBox numberTyped(const QString& text) { return pluFieldChanged({.change = ChangeForm::WholeNumber}, text); }

ChangedBox typedText(const FieldBinding& b, const QString& text)
{
    return pluFieldChanged({.change = b.extra.change}, text);
}

FocusedBox enteredAmount(const FieldBinding& b, const QString& text, int discType)
{
    return pluFieldGotFocus({.focusLimit = b.focusLimit,
                             .percentByDiscType = b.extra.decimalsBy == DecimalsBy::DiscountType,
                             .decimal = true},
                            text, discType);
}

void leaveField(const FieldBinding& b, qint64 number, QVariantMap& values)
{
    if (!isTyped(b))
        return;
    // A box left saves its kind, which is never saved without its name (the tax rate's): an empty one takes its
    // default.
    const OtherFileKind& kind = *kindOf(QLatin1String(b.extra.table));
    for (const FieldBinding* name : bindingsOf(kind))
        if (isName(*name) && values.value(QLatin1String(name->control)).toString().isEmpty())
            values.insert(QLatin1String(name->control), emptyNameDefault(kind, number, values));
    if (isName(b))
        return;
    const QString name = QLatin1String(b.control);
    QString text = values.value(name).toString();
    if (text.isEmpty())
        text = QStringLiteral("0");
    if (b.extra.decimalsBy != DecimalsBy::Row) {
        const bool limits = b.extra.decimalsBy == DecimalsBy::LimitType;
        const QString first = limits ? QStringLiteral("meditDiscLimit1") : QStringLiteral("meditDiscLmtPer1");
        const QString second = limits ? QStringLiteral("meditDiscLimit2") : QStringLiteral("meditDiscLmtPer2");
        values.insert(name, text);
        if (digitsValue(values.value(first).toString()) > digitsValue(values.value(second).toString()))
            values.insert(name == first ? second : first, text);
        const int discType = values.value(QStringLiteral("combDiscType")).toInt();
        for (const QString& box : {first, second})
            values.insert(box,
                          limits ? discLimitText(values.value(box).toString(),
                                                 values.value(QStringLiteral("combDiscLimitType")).toInt())
                                 : discAmountText(values.value(box).toString(), discType));
        return;
    }
    if (b.kind == fields::Kind::Amount)
        text = amountText(digitsValue(text), b.decimals);
    values.insert(name, text);
}

QString discAmountText(const QString& shown, int type)
{
    QString digits = shown;
    digits.remove(decimalSign());
    if (discountTypeControls(type).percent)
        return amountText(digitsValue(digits.right(4)), 2);
    return amountText(digitsValue(digits), fields::PriceDecimals);
}

QString discLimitText(const QString& shown, int limitType)
{
    const qint64 value = digitsValue(shown);
    return limitsAreWeights(limitType) ? amountText(value, fields::WeightDecimals) : QString::number(value);
}

qint64 digitsValue(const QString& text)
{
    return *fields::storedValue(fields::Kind::Amount, 0, text, fields::Write::Always, fields::currentFormat());
}

} // namespace quorvane::otherfiles
