#include "settings/FixedDecimal.h"

#include "platform/db/ValueRange.h"
#include "platform/text/TextFile.h"
#include "settings/Settings.h"
#include "state/SettingsState.h"

namespace quorvane {

QString decimalSign()
{
    const QString& sign = gSettings().gDecimalSign;
    return sign.isEmpty() ? QStringLiteral(".") : sign;
}

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

QString FormatFixedDecimal(qint32 value, qint16 decimals) { return FormatFixedDecimal(value, decimals, decimalSign()); }

bool ReadFixedDecimal(const QString& text, const QString& decimalSign, qint32* value)
{
    QString s = text.isEmpty() ? QStringLiteral("0") : text;
    if (!decimalSign.isEmpty())
        s.remove(decimalSign);
    qint64 v = 0;
    if (!text::readNumberLine(s, &v) || !db::wholeNumberRange(db::TypeLong)->contains(v))
        return false;
    *value = qint32(v);
    return true;
}

QString normaliseDecimal(QStringView text, int d, QStringView decimalSign)
{
    QString out;
    qsizetype p = -1; // position of the last sign
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!decimalSign.isEmpty() && text.sliced(i).startsWith(decimalSign)) {
            p = i;
            continue;
        }
        if (p < 0 || i - p <= d)
            out += text[i];
    }
    const qsizetype after = p < 0 ? 0 : text.size() - p - 1;
    for (qsizetype k = p < 0 ? 0 : after; k < d; ++k)
        out += u'0';
    return out;
}

bool ReadDecimalAtPlaces(QStringView text, int d, const QString& decimalSign, qint32* value)
{
    return ReadFixedDecimal(normaliseDecimal(text, d, decimalSign), QString(), value);
}

bool ReadFixedDecimal(const QString& text, qint32* value) { return ReadFixedDecimal(text, decimalSign(), value); }

} // namespace quorvane
