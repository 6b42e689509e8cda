#include "datafiles/ReportLoader.h"

#include "datafiles/DataFileWriters.h"
#include "platform/events/EventPump.h"
#include "platform/events/StopRequest.h"
#include "platform/text/Ansi.h"
#include "records/WorkRecordsetClaim.h"
#include "state/SharedData.h"

#include <algorithm>

namespace quorvane::datafiles {

const QStringList& reportTables()
{
    static const QStringList tables{
        QStringLiteral("DPT0"), QStringLiteral("MGT0"), QStringLiteral("PLT0"),
        QStringLiteral("CLT0"), QStringLiteral("SAT0"), QStringLiteral("TAT0"),
        QStringLiteral("RTB0"), QStringLiteral("RTT0"), QStringLiteral("INV0"),
    };
    return tables;
}

namespace {

// A new row of the report open in gRsWork from the pieces of line `line`.
void addRow(const QString& fileName, int line, const QStringList& pieces, int fieldCount)
{
    gRsWork.addNew();
    try {
        for (int i = 0; i < fieldCount; ++i) {
            const db::FieldInfo& field = gRsWork.fieldInfo(i);
            const QString piece = i < pieces.size() ? pieces[i] : QString();
            // Only a text is cut to its rightmost characters; a number must fit whole or fail.
            if (field.kind == db::FieldKind::Text && field.size > 0 && piece.size() > field.size)
                gRsWork.setValue(i, piece.right(field.size));
            else if (piece.isEmpty())
                gRsWork.setValue(i, qlonglong(0));
            else
                gRsWork.setValue(i, piece);
        }
        gRsWork.update();
    } catch (const db::DbError& e) {
        throw DataFileError(QStringLiteral("%1, line %2: %3").arg(fileName).arg(line).arg(e.message()));
    }
}

} // namespace

text::LinesLeftOut ImportUploadCSV(const QString& code, const std::function<bool()>& stopRequested)
{
    // The code comes from a file name; only a known report names a table.
    if (!reportTables().contains(code))
        throw DataFileError(QStringLiteral("\"%1\" is not a report the program loads.").arg(code));
    const records::WorkRecordsetClaim work([&code] {
        return DataFileError(
            QStringLiteral("The report %1 cannot be loaded while the work recordset is in use.").arg(code));
    });
    const QString fileName = code + QStringLiteral("UALL.csv");
    const LoaderLines file = readLoaderLines(fileName);
    const QList<QByteArray>& lines = file.lines;
    text::LinesLeftOut leftOut;

    appendRows([&] {
        gRsWork.openTable(code);
        const int fieldCount = gRsWork.fieldCount();
        EventPump pump;
        for (int n = 0; n < lines.size(); ++n) {
            const QStringList pieces = text::fromAnsi(lines[n]).split(QLatin1Char(','));
            // Pieces no field would take are not this report's row: most likely lines that ran together. Empty ones,
            // as a comma at the end leaves, lose nothing.
            if (std::any_of(pieces.cbegin() + std::min(fieldCount, int(pieces.size())), pieces.cend(),
                            [](const QString& p) { return !p.isEmpty(); }))
                leftOut.add({.line = n + 1, .reason = text::morePiecesThanFields(pieces.size(), fieldCount)});
            else
                addRow(fileName, n + 1, pieces, fieldCount);
            pump();
            if (quorvane::stopRequested() || (stopRequested && stopRequested()))
                throw DataFileError(QStringLiteral("%1: the load was stopped after line %2.").arg(fileName).arg(n + 1));
        }
    });
    if (file.unread)
        leftOut.addLast({.line = file.unread.emptyLine, .reason = file.unread.text()});
    return leftOut;
}

} // namespace quorvane::datafiles
