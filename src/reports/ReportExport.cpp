#include "reports/ReportExport.h"

#include "datafiles/ReportLoader.h"
#include "platform/events/EventPump.h"
#include "reports/DelimitedText.h"
#include "reports/ReportColumns.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"

#include <QDir>

namespace quorvane::reports {

namespace {

// One code per field of each report table, as the scale lays out the columns of its report file.
struct ReportFormat {
    const char* code;
    const char* format;
};
constexpr ReportFormat Formats[] = {
    {"DPT0", "0000000021002100"},
    {"MGT0", "00000000021002100"},
    {"PLT0", "00000000021002100"},
    {"CLT0", "0000000021002100"},
    {"SAT0",
     "00000100021010101010"
     "10101021111111001010"
     "10101010101010101011"
     "01111002101010101010"
     "10102111111100101010"
     "10101010101010101101"
     "111"},
    {"TAT0", "0000000011111100"},
    {"RTB0",
     "00000000010021110000"
     "00000000"},
    {"RTT0",
     "00000000001102011111"
     "1111111111110"},
    {"INV0", "000000101100"},
};

} // namespace

QString reportFileName(const QString& code) { return code + QStringLiteral("UALL.csv"); }

QByteArrayView reportFormat(const QString& code)
{
    for (const ReportFormat& f : Formats)
        if (code == QLatin1String(f.code))
            return QByteArrayView(f.format);
    return QByteArrayView();
}

ValueFormat settingsValueFormat()
{
    const SettingsRecord& s = gSettings();
    return ValueFormat{s.gPricePoint, s.gWeightPoint, decimalSign()};
}

char separatorFor(int entry) { return entry == 1 ? ',' : '\t'; }

namespace {

// exportReport() less the naming of database failures.
int writeExport(const QString& path, const ExportRequest& request, QByteArrayView format)
{
    const QStringList fields = reportFieldNames(request.code);
    if (fields.size() != format.size())
        throw ReportReadError(QStringLiteral("The report table %1 has %2 fields; its report has %3.")
                                  .arg(request.code)
                                  .arg(fields.size())
                                  .arg(format.size()));

    // Each field is read once however often it is chosen; `from` gives the output column's place in the query.
    QStringList selected;
    QList<int> from;
    QByteArray codes;
    const QList<int> positions = fieldPositions(request.columns, fields);
    for (int i = 0; i < positions.size(); ++i) {
        if (positions[i] < 0)
            throw ReportReadError(QStringLiteral("There is no field %1 in %2.").arg(request.columns[i], request.code));
        const QString column = QLatin1Char('"') + fields[positions[i]] + QLatin1Char('"');
        qsizetype k = selected.indexOf(column);
        if (k < 0) {
            k = selected.size();
            selected << column;
        }
        from << int(k);
        codes += format[positions[i]];
    }

    DelimitedFile file(path, request.separator);
    if (request.titleLine) {
        for (const QString& column : request.columns) {
            file.column();
            file.append(column);
        }
        file.endLine();
    }

    int count = 0;
    {
        db::Statement rows = gDBConnection.prepare(
            QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(selected.join(QLatin1Char(',')), request.code));
        const auto put = [&file](QStringView piece) { file.append(piece); };
        EventPump pump;
        while (rows.step()) {
            // A row without a first value ends the report.
            if (!rows.column(from[0]).isValid())
                break;
            for (int j = 0; j < from.size(); ++j) {
                file.column();
                const QVariant value = rows.column(from[j]);
                if (value.isValid())
                    formatValuePieces(value.toString(), codes[j], request.format, put);
            }
            file.endLine();
            ++count;
            pump();
        }
    }
    file.commit();
    return count;
}

} // namespace

int exportReport(const QString& path, const ExportRequest& request)
{
    const QByteArrayView format = reportFormat(request.code);
    if (format.isEmpty())
        throw ReportError(QStringLiteral("\"%1\" is not a report.").arg(request.code));
    if (request.columns.isEmpty())
        return -1;
    try {
        return writeExport(path, request, format);
    } catch (const db::DbError& e) {
        throw ReportReadError(QStringLiteral("The report %1 cannot be read.").arg(request.code), e.message());
    }
}

} // namespace quorvane::reports
