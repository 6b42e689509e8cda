#include "platform/text/LinesLeftOut.h"

namespace quorvane::text {

void LinesLeftOut::add(LineLeftOut line)
{
    ++count;
    if (named.size() < NamedLinesMax)
        named << std::move(line);
}

void LinesLeftOut::addLast(LineLeftOut line)
{
    if (named.size() >= NamedLinesMax)
        named.removeLast();
    add(std::move(line));
}

void LinesLeftOut::add(const LinesLeftOut& more)
{
    count += more.count;
    for (const LineLeftOut& line : more.named) {
        if (named.size() >= NamedLinesMax)
            break;
        named << line;
    }
}

QString LinesLeftOut::namedText() const { return namedLinesText(named, count).join(QLatin1Char('\n')); }

QString morePiecesThanFields(qsizetype pieces, qsizetype fields)
{
    return QStringLiteral("%1 pieces, more than the %2 fields").arg(pieces).arg(fields);
}

QStringList namedLinesText(const QList<LineLeftOut>& named, qint64 total)
{
    QStringList lines;
    for (const LineLeftOut& l : named)
        lines << (l.field.isEmpty() ? QStringLiteral("%1: %2").arg(l.line).arg(l.reason)
                                    : QStringLiteral("%1: %2 \"%3\" %4").arg(l.line).arg(l.field, l.value, l.reason));
    if (total > named.size())
        lines << QStringLiteral("(+%1)").arg(total - named.size());
    return lines;
}

} // namespace quorvane::text
