#include "reports/PluExport.h"

#include "platform/events/EventPump.h"
#include "plu/PluFieldRanges.h"
#include "records/PackedBcd.h"
#include "records/TextBlock.h"
#include "reports/DelimitedText.h"
#include "state/SharedData.h"

namespace quorvane::reports {

namespace {

enum class ColumnKind { None, FirstLine, Money, Weight, Number, Text };

struct ExportColumn {
    ColumnKind kind = ColumnKind::None;
    int from = 0; // the value's place in the query
};

// Money fields carry price decimals, weights weight decimals.
ColumnKind exportKind(const db::FieldInfo& field)
{
    if (field.kind == db::FieldKind::Binary)
        return ColumnKind::FirstLine;
    if (const PluFieldRange* range = pluFieldRange(field.name); range && range->kind == fields::Kind::Amount)
        return range->decimals == fields::PriceDecimals ? ColumnKind::Money : ColumnKind::Weight;
    return field.kind == db::FieldKind::Text ? ColumnKind::Text : ColumnKind::Number;
}

int writePluExport(const QString& path, const PluExportRequest& request)
{
    const QList<db::FieldInfo> fields = gDBConnection.fields(QStringLiteral("KVB_25"));
    QStringList selected;
    QList<ExportColumn> columns;
    for (const QString& name : request.columns) {
        ExportColumn column;
        for (const db::FieldInfo& field : fields) {
            if (field.name != name)
                continue;
            const QString quoted = QLatin1Char('"') + field.name + QLatin1Char('"');
            qsizetype k = selected.indexOf(quoted);
            if (k < 0) {
                k = selected.size();
                selected << quoted;
            }
            column = ExportColumn{exportKind(field), int(k)};
            break;
        }
        columns << column;
    }
    if (selected.isEmpty())
        selected << QStringLiteral("rowid");

    DelimitedFile file(path, request.separator);
    if (request.titleLine) {
        for (const QString& name : request.columns) {
            file.column();
            file.append(name);
        }
        file.endLine();
    }
    int count = 0;
    db::Statement rows = gDBConnection.prepare(
        QStringLiteral("SELECT %1 FROM KVB_25 ORDER BY rowid").arg(selected.join(QLatin1Char(','))));
    const auto put = [&file](QStringView piece) { file.append(piece); };
    EventPump pump;
    while (rows.step()) {
        for (const ExportColumn& column : std::as_const(columns)) {
            file.column();
            if (column.kind == ColumnKind::None) {
                file.appendBytes("0");
                continue;
            }
            const QVariant value = rows.column(column.from);
            switch (column.kind) {
            case ColumnKind::FirstLine:
                if (!value.isNull()) {
                    try {
                        file.appendBytes(records::LenBytesToText(value.toByteArray()));
                    } catch (const records::CodecError&) {
                        // A first line running past its block: an empty column, as the editor shows it.
                    }
                }
                break;
            case ColumnKind::Money:
            case ColumnKind::Weight:
                // A Null amount is the empty digit text: "0", the sign and the decimals' zeros.
                formatValuePieces(value.isNull() ? QString() : value.toString(),
                                  column.kind == ColumnKind::Money ? '1' : '2', request.format, put);
                break;
            default:
                if (!value.isNull())
                    file.append(value.toString());
            }
        }
        file.endLine();
        ++count;
        pump();
    }
    file.commit();
    return count;
}

} // namespace

int exportPlus(const QString& path, const PluExportRequest& request)
{
    if (request.columns.isEmpty())
        return -1;
    try {
        return writePluExport(path, request);
    } catch (const db::DbError& e) {
        throw ReportReadError(QStringLiteral("The PLUs cannot be read."), e.message());
    }
}

} // namespace quorvane::reports
