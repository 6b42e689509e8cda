#include "LanguageFileLayout.h"

#include "platform/text/Ansi.h"
#include "settings/TextCollections.h"

#include <QList>
#include <QSet>

namespace quorvane::test {

namespace {

bool hasCjk(const QString& s)
{
    for (const QChar c : s)
        if ((c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) || (c.unicode() >= 0x3000 && c.unicode() <= 0x303F)
            || (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    return false;
}

} // namespace

QString languageFileLayoutFault(const QByteArray& bytes, const QStringList& expectedSections, bool otherCopiesStandard)
{
    if (bytes.isEmpty())
        return QStringLiteral("empty file");
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return QStringLiteral("LF without CR at byte %1").arg(i);
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return QStringLiteral("CR at byte %1").arg(i);
    }
    if (!bytes.endsWith("\r\n") || bytes.endsWith("\r\n\r\n"))
        return QStringLiteral("the file does not end with its last line's CR LF");
    const QString text = text::decode(bytes, text::Encoding::Gb18030);
    bool ok = false;
    if (text::encode(text, text::Encoding::Gb18030, &ok) != bytes || !ok)
        return QStringLiteral("not GB18030");

    const QStringList groups{QStringLiteral("Standard"), QStringLiteral("Chinese"), QStringLiteral("Other")};
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    const qsizetype chinese = lines.indexOf(QStringLiteral("<Chinese>"));
    const qsizetype other = lines.indexOf(QStringLiteral("<Other>"));
    if (lines.first() != QLatin1String("<Standard>") || chinese <= 0 || other <= chinese)
        return QStringLiteral("the group lines are missing or out of order");
    const QList<QStringList> blocks{lines.mid(0, chinese), lines.mid(chinese, other - chinese), lines.mid(other)};
    const qsizetype n = blocks[0].size();
    if (blocks[1].size() != n || blocks[2].size() != n - 1 || n > 1001 || (lines.size() + 1) % 3 != 0)
        return QStringLiteral("blocks of %1, %2 and %3 lines").arg(n).arg(blocks[1].size()).arg(blocks[2].size());

    for (int b = 0; b < 3; ++b) {
        const QStringList& block = blocks[b];
        QStringList sections;
        QSet<QString> keys;
        for (qsizetype i = 1; i < block.size(); ++i) {
            const QString& line = block[i];
            const QString where = QStringLiteral("%1 line %2: %3").arg(groups[b]).arg(i + 1).arg(line);
            if (line.startsWith(QLatin1Char('['))) {
                // One empty line before every section but the first.
                if (!line.endsWith(QLatin1Char(']')) || (i > 1 && !block[i - 1].isEmpty()))
                    return where;
                sections << line.mid(1, line.size() - 2);
                keys.clear();
            } else if (line.isEmpty()) {
                if (i + 1 < block.size() && !block[i + 1].startsWith(QLatin1Char('[')))
                    return where;
            } else {
                const qsizetype eq = line.indexOf(QLatin1Char('='));
                if (eq <= 0)
                    return where;
                const QString key = line.left(eq);
                if (key != key.trimmed() || keys.contains(key.toLower()))
                    return where;
                keys.insert(key.toLower());
                const QString value = line.mid(eq + 1);
                // The blocks run in parallel: the same key on the same line.
                if (!blocks[0][i].startsWith(key + QLatin1Char('=')))
                    return where;
                if ((b == 0 && hasCjk(value)) || (b == 1 && !hasCjk(value) && blocks[0][i] != line))
                    return where;
            }
            if ((b == 2 && otherCopiesStandard) || line.startsWith(QLatin1Char('[')) || line.isEmpty())
                if (line != blocks[0][i])
                    return where;
        }
        if (sections != expectedSections)
            return QStringLiteral("%1: sections %2").arg(groups[b], sections.join(QLatin1Char(' ')));
        // Every section but the last of the file is closed by one empty line.
        if (block.last().isEmpty() != (b < 2))
            return QStringLiteral("%1: the block's last line").arg(groups[b]);
    }
    return QString();
}

QStringList textSectionsOf(const QString& file)
{
    QStringList names;
    for (const TextCollectionSource& s : textCollectionSources())
        if (QLatin1String(s.file) == file)
            names << QLatin1String(s.section);
    return names;
}

} // namespace quorvane::test
