#include "reports/PluChoice.h"

#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"
#include "plu/StringEditRules.h"

#include <cmath>

namespace quorvane::reports {

namespace {

// A decimal number with "." and blanks around: an optional sign, digits, and a decimal part.
bool readDecimal(QStringView line, double* value)
{
    const QStringView t = text::trimBlanks(line);
    qsizetype i = (!t.isEmpty() && (t[0] == u'-' || t[0] == u'+')) ? 1 : 0;
    int digits = 0;
    int points = 0;
    for (qsizetype k = i; k < t.size(); ++k) {
        if (t[k] == u'.')
            ++points;
        else if (t[k] >= u'0' && t[k] <= u'9')
            ++digits;
        else
            return false;
    }
    // Twelve digits are more than any line can use: the value then names nothing either way.
    if (digits == 0 || points > 1 || digits > 12)
        return false;
    *value = t.toString().toDouble();
    return true;
}

} // namespace

QStringList fontSizeEntries(qint16 country)
{
    QStringList entries = stringEditFonts(country);
    for (QString& entry : entries)
        entry = entry.mid(1) + entry.at(0);
    return entries;
}

QByteArray pluChoiceText(const PluChoice& choice)
{
    if (choice.positions.isEmpty())
        return QByteArray();
    QList<qint64> numbers{choice.separator, choice.override ? 1 : 0, choice.commodityFontSize,
                          choice.descriptionFontSize};
    for (const int p : choice.positions)
        numbers << p;
    QByteArray bytes;
    for (const qint64 n : std::as_const(numbers))
        bytes += text::numberLine(n).toLatin1() + "\r\n";
    return bytes;
}

void writePluChoice(const QString& path, const PluChoice& choice)
{
    QString error;
    if (!text::writeFileAtomically(path, pluChoiceText(choice), &error))
        throw ReportError(QStringLiteral("%1 cannot be written.").arg(text::nativePath(path)), error);
}

PluChoice parsePluChoice(const QByteArray& bytes, const PluChoice& current, int catalogueCount, int fontSizes)
{
    PluChoice choice = current;
    choice.positions.clear();
    // Latin-1 keeps each byte one character: only ASCII digits, signs, points and blanks count.
    const QStringList lines = text::splitLines(QString::fromLatin1(bytes));
    for (int i = 0; i < lines.size(); ++i) {
        double v = 0;
        const bool numeric = readDecimal(lines[i], &v);
        const double n = numeric ? std::nearbyint(v) : 0; // the default rounding: halves to even
        if (i == 1) {
            choice.override = !(numeric && v == 0);
            continue;
        }
        if (!numeric)
            continue;
        if (i == 0) {
            if (n == 0 || n == 1)
                choice.separator = int(n);
        } else if (i == 2 || i == 3) {
            if (n >= 1 && n <= fontSizes)
                (i == 2 ? choice.commodityFontSize : choice.descriptionFontSize) = int(n);
        } else if (n >= 0 && n < catalogueCount) {
            choice.positions << int(n);
        }
    }
    return choice;
}

PluChoice readPluChoice(const QString& path, const PluChoice& current, int catalogueCount, int fontSizes)
{
    QByteArray bytes;
    QString error;
    if (!text::readFile(path, &bytes, &error))
        throw ImportReadError(QStringLiteral("%1 cannot be read.").arg(text::nativePath(path)), error);
    return parsePluChoice(bytes, current, catalogueCount, fontSizes);
}

} // namespace quorvane::reports
