#include "reports/ReportColumns.h"

#include "datafiles/ReportLoader.h"
#include "platform/text/TextFile.h"
#include "reports/ReportExport.h"
#include "state/SharedData.h"

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

bool writeColumnChoice(const QString& path, const QList<int>& positions, QString* error)
{
    return text::writeFileAtomically(path, columnChoiceText(positions), error);
}

QList<int> parseColumnChoice(const QByteArray& bytes, int available)
{
    QList<int> positions;
    for (const QByteArray& raw : bytes.split('\n')) {
        QByteArrayView line(raw);
        if (line.endsWith('\r'))
            line.chop(1);
        while (line.startsWith(' '))
            line = line.sliced(1);
        while (line.endsWith(' '))
            line.chop(1);
        // Nine digits at most: no longer number can be a position.
        if (line.isEmpty() || line.size() > 9)
            continue;
        bool digits = true;
        for (const char c : line)
            digits = digits && c >= '0' && c <= '9';
        if (!digits)
            continue;
        const int p = line.toInt();
        if (p < available)
            positions << p;
    }
    return positions;
}

bool readColumnChoice(const QString& path, int available, QList<int>* positions, QString* error)
{
    QByteArray bytes;
    if (!text::readFile(path, &bytes, error))
        return false;
    *positions = parseColumnChoice(bytes, available);
    return true;
}

} // namespace quorvane::reports
