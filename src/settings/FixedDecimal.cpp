#include "settings/FixedDecimal.h"

#include "platform/db/ValueRange.h"
#include "settings/Settings.h"
#include "state/SettingsState.h"

namespace quorvane {

namespace {
QString currentSign()
{
    const QString& sign = gSettings().gDecimalSign;
    return sign.isEmpty() ? QStringLiteral(".") : sign;
}
} // namespace

QString FormatFixedDecimal(qint32 value, qint16 decimals, const QString& decimalSign)
{
    const qint64 magnitude = value < 0 ? -qint64(value) : qint64(value);
    QString digits = QString::number(magnitude);
    QString result;
    if (decimals <= 0) {
        result = digits;
    } else {
        if (digits.size() <= decimals)
            digits = QString(decimals + 1 - digits.size(), QLatin1Char('0')) + digits;
        result = digits.left(digits.size() - decimals) + decimalSign + digits.right(decimals);
    }
    return value < 0 ? QLatin1Char('-') + result : result;
}

QString FormatFixedDecimal(qint32 value, qint16 decimals) { return FormatFixedDecimal(value, decimals, currentSign()); }

bool ReadFixedDecimal(const QString& text, const QString& decimalSign, qint32* value)
{
    QString s = text.isEmpty() ? QStringLiteral("0") : text;
    if (!decimalSign.isEmpty())
        s.remove(decimalSign);
    bool ok = false;
    const qint64 v = s.toLongLong(&ok);
    if (!ok || s.isEmpty() || !db::wholeNumberRange(db::TypeLong)->contains(v))
        return false;
    *value = qint32(v);
    return true;
}

bool ReadFixedDecimal(const QString& text, qint32* value) { return ReadFixedDecimal(text, currentSign(), value); }

} // namespace quorvane
