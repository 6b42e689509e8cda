#include "state/TwoLevelReader.h"

#include "platform/events/EventPump.h"
#include "platform/text/TextFile.h"

#include <QFileInfo>

namespace quorvane {

namespace {

// Finds the first line at or after `from` that reads `wanted` (blanks and case ignored); -1 when none.
qsizetype findLine(const QStringList& lines, qsizetype from, const QString& wanted)
{
    for (qsizetype i = from; i < lines.size(); ++i)
        if (text::trimBlanks(lines[i]).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// The file's lines and the index of the group's line; -1 when the file or the group is missing.
qsizetype readGroup(const QString& file, const QString& group, QStringList* lines)
{
    if (!QFileInfo(file).isFile())
        return -1;
    // These files hold several languages at once, so they are GB18030 whatever the system's code page.
    if (!text::readLines(file, text::Encoding::Gb18030, lines))
        return -1;
    return findLine(*lines, 0, QLatin1Char('<') + group + QLatin1Char('>'));
}

} // namespace

bool HasGroup(const QString& file, const QString& group)
{
    QStringList lines;
    return readGroup(file, group, &lines) >= 0;
}

QString ReadGroupSection(const QString& file, const QString& group, const QString& section, const QString& defaultText)
{
    QStringList lines;
    const qsizetype groupLine = readGroup(file, group, &lines);
    if (groupLine < 0)
        return defaultText;
    // The section search runs on past later groups, as the files have always been read.
    const qsizetype sectionLine = findLine(lines, groupLine + 1, QLatin1Char('[') + section + QLatin1Char(']'));
    if (sectionLine < 0)
        return defaultText;
    QString result;
    for (qsizetype i = sectionLine + 1; i < lines.size() && !lines[i].isEmpty(); ++i) {
        result += text::trimBlanks(lines[i]);
        result += QLatin1String("\r\n");
    }
    return result;
}

bool ReadTwoLevelFile(const QString& file, QStringList* lines)
{
    QByteArray bytes;
    if (!text::readFile(file, &bytes) || bytes.isEmpty() || bytes.contains('\0'))
        return false;
    QString content;
    if (!text::decodeExactly(bytes, text::Encoding::Gb18030, &content))
        return false;
    *lines = text::splitLines(content);
    return true;
}

bool HasGroupSections(const QStringList& lines, const QString& group, const QStringList& sections)
{
    const qsizetype groupLine = findLine(lines, 0, QLatin1Char('<') + group + QLatin1Char('>'));
    if (groupLine < 0)
        return false;
    for (const QString& section : sections)
        if (findLine(lines, groupLine + 1, QLatin1Char('[') + section + QLatin1Char(']')) < 0)
            return false;
    return true;
}

void LoadSectionToCollection(const QString& file, const QString& group, const QString& section,
                             LangCollection& collection)
{
    const QString sectionText = ReadGroupSection(file, group, section, QString());
    collection.clear();
    const QStringList lines = text::splitLines(sectionText);
    EventPump pump;
    for (const QString& raw : lines) {
        const QStringView line = text::trimBlanks(raw);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0)
            collection.add(text::trimBlanks(line.left(eq)).toString(), text::trimBlanks(line.mid(eq + 1)).toString());
        pump();
    }
}

} // namespace quorvane
