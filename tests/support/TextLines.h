#pragma once

#include "records/TextBlock.h"

#include <QStringList>

namespace quorvane::test {

// The lines of a text as "code:text|code:text", Latin-1 text.
inline QList<records::TextLine> textLinesOf(const QString& text)
{
    QList<records::TextLine> out;
    for (const QString& l : text.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        out << records::TextLine{quint8(l.section(QLatin1Char(':'), 0, 0).toInt()),
                                 l.section(QLatin1Char(':'), 1).toLatin1()};
    return out;
}

inline QString textLinesText(const QList<records::TextLine>& lines)
{
    QStringList out;
    for (const records::TextLine& l : lines)
        out << QString::number(l.font) + QLatin1Char(':') + QString::fromLatin1(l.bytes);
    return out.join(QLatin1Char('|'));
}

} // namespace quorvane::test
