#include "reports/ReportColumns.h"

#include "datafiles/ReportLoader.h"
#include "platform/text/TextFile.h"
#include "reports/ReportExport.h"
#include "state/SharedData.h"

#include <algorithm>

namespace quorvane::reports {

namespace {

// Only a report code names a table here: the name goes into the SQL text.
void requireReport(const QString& code)
{
    if (!datafiles::reportTables().contains(code))
        throw ReportError(QStringLiteral("\"%1\" is not a report.").arg(code));
}

} // namespace

QStringList reportFieldNames(const QString& code)
{
    requireReport(code);
    QStringList names;
    for (const db::FieldInfo& field : gDBConnection.fields(code))
        names << field.name;
    return names;
}

void emptyReportTable(const QString& code)
{
    requireReport(code);
    gDBConnection.exec(QStringLiteral("DELETE FROM \"%1\"").arg(code));
}

QList<int> fieldPositions(const QStringList& chosen, const QStringList& available)
{
    QList<int> positions;
    positions.reserve(chosen.size());
    for (const QString& name : chosen)
        positions << int(available.indexOf(name));
    return positions;
}

QByteArray columnChoiceText(const QList<int>& positions)
{
    QByteArray text;
    for (const int p : positions)
        text += ' ' + QByteArray::number(p) + " \r\n";
    return text;
}

void writeColumnChoice(const QString& path, const QList<int>& positions)
{
    QString error;
    if (!text::writeFileAtomically(path, columnChoiceText(positions), &error))
        throw ReportError(error);
}

QList<int> parseColumnChoice(const QByteArray& bytes, int available)
{
    QList<int> positions;
    // Latin-1 keeps each byte one character: only ASCII digits and blanks count.
    for (const QString& raw : text::splitLines(QString::fromLatin1(bytes))) {
        const QStringView line = text::trimBlanks(raw);
        // Nine digits at most: no longer number can be a position.
        if (line.isEmpty() || line.size() > 9
            || !std::all_of(line.begin(), line.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        const int p = line.toInt();
        if (p < available)
            positions << p;
    }
    return positions;
}

QList<int> readColumnChoice(const QString& path, int available)
{
    QByteArray bytes;
    QString error;
    if (!text::readFile(path, &bytes, &error))
        throw ReportError(error);
    return parseColumnChoice(bytes, available);
}

} // namespace quorvane::reports
