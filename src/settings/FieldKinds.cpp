#include "settings/FieldKinds.h"

#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/SettingsState.h"

#include <limits>

namespace quorvane::fields {

namespace {

FieldError notANumber(const QString& text)
{
    return FieldError(gLangMsg.text(QStringLiteral("inputErr")),
                      QStringLiteral("\"%1\" is not a whole number its field can hold.").arg(text));
}

qint64 maskValue(const QString& text)
{
    qint64 v = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || v > std::numeric_limits<qint32>::max() / 2)
            throw notANumber(text);
        v = v * 2 + c.digitValue();
    }
    if (v > std::numeric_limits<qint32>::max())
        throw notANumber(text);
    return v;
}

} // namespace

Format currentFormat()
{
    const SettingsRecord& s = gSettings();
    Format f;
    f.decimalSign = decimalSign();
    f.priceDecimals = s.gPricePoint;
    f.weightDecimals = s.gWeightPoint;
    if (s.gDateType >= 0 && s.gDateType <= 5)
        f.dateFormat = dateFormatFor(s.gDateType);
    return f;
}

QDate dateOf(qint64 ddmmyy)
{
    if (ddmmyy <= 0)
        return QDate();
    return QDate(2000 + int(ddmmyy % 100), int(ddmmyy % 10000 / 100), int(ddmmyy / 10000));
}

QTime timeOf(qint64 hhmm, ZeroShown zero)
{
    if (hhmm < 0 || (hhmm == 0 && zero == ZeroShown::Short))
        return QTime();
    return QTime(int(hhmm / 100), int(hhmm % 100));
}

qint64 ddmmyyOf(const QDate& d) { return d.isValid() ? d.day() * 10000 + d.month() * 100 + d.year() % 100 : 0; }

qint64 hhmmOf(const QTime& t) { return t.isValid() ? t.hour() * 100 + t.minute() : 0; }

QString dayMaskText(qint64 mask, ZeroShown zero)
{
    if (mask == 0 && zero == ZeroShown::Short)
        return QStringLiteral("0");
    QString s;
    for (int k = 1; k <= 7; ++k)
        s += (mask >> (7 - k)) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

Shown shownValue(Kind kind, int decimals, const QVariant& stored, const Format& format, ZeroShown zero)
{
    const qint64 n = stored.isNull() ? 0 : stored.toLongLong();
    switch (kind) {
    case Kind::Text:
    case Kind::ItemCode:
        return stored.toString();
    case Kind::Whole:
        return QString::number(n);
    case Kind::Amount:
        return FormatFixedDecimal(qint32(n), qint16(format.decimalsOf(decimals)), format.decimalSign);
    case Kind::Date:
        return dateOf(n);
    case Kind::Time:
        return timeOf(n, zero);
    case Kind::DayMask:
        return dayMaskText(n, zero);
    case Kind::ListPosition:
        return int(n);
    case Kind::StatusBit:
        return n == 1;
    case Kind::CheckBox:
        return n == 0;
    }
    return QVariant();
}

std::optional<qint64> storedValue(Kind kind, int /*decimals*/, const Shown& shown, Write write, const Format& format)
{
    switch (kind) {
    case Kind::Text:
    case Kind::ItemCode:
        return std::nullopt; // a text field is no number: its table's caller writes it
    case Kind::Whole:
    case Kind::Amount: {
        const QString text = shown.toString();
        if (text.isEmpty() && write == Write::NotEmpty)
            return std::nullopt;
        qint32 v = 0;
        if (!ReadFixedDecimal(text, kind == Kind::Amount ? format.decimalSign : QString(), &v))
            throw notANumber(text);
        return v;
    }
    case Kind::Date:
        return ddmmyyOf(shown.toDate());
    case Kind::Time:
        return hhmmOf(shown.toTime());
    case Kind::DayMask:
        return maskValue(shown.toString());
    case Kind::ListPosition: {
        const int index = shown.toInt();
        return index >= 0 ? std::optional<qint64>(index) : std::nullopt; // no entry chosen leaves the field
    }
    case Kind::StatusBit:
        return shown.toBool() ? 1 : 0;
    case Kind::CheckBox:
        return shown.toBool() ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace quorvane::fields
