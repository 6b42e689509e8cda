#include "reports/PluExchange.h"

#include "platform/events/EventPump.h"
#include "platform/text/Ansi.h"
#include "platform/text/FileWriter.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"
#include "plu/PluFieldRanges.h"
#include "records/PackedBcd.h"
#include "records/PluRow.h"
#include "records/TextBlock.h"
#include "reports/DelimitedText.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <cmath>

namespace quorvane::reports {

namespace {

namespace f = records::plu;

const QString PluTable = QStringLiteral("KVB_25");

// --- Choice file

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

// --- Export

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
    if (const PluFieldRange* range = pluFieldRange(field.name)) {
        if (range->kind == PluValueKind::Price)
            return ColumnKind::Money;
        if (range->kind == PluValueKind::Weight)
            return ColumnKind::Weight;
    }
    return field.kind == db::FieldKind::Text ? ColumnKind::Text : ColumnKind::Number;
}

int writePluExport(const QString& path, const PluExportRequest& request)
{
    const QList<db::FieldInfo> fields = gDBConnection.fields(PluTable);
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

// --- Import

// The import file, line by line: a line ends at CR LF, CR or LF, and a final line end adds no line. The
// file is read in blocks, so a line of any length costs no more memory than the longest line kept.
class LineReader {
public:
    static constexpr qsizetype LongestLine = 64 * 1024;

    explicit LineReader(const QString& path) : m_file(path), m_name(text::nativePath(path))
    {
        if (!m_file.open(QIODevice::ReadOnly))
            throw ImportReadError(QStringLiteral("%1 cannot be read.").arg(m_name), m_file.errorString());
    }

    // False at the end of the file. A line longer than LongestLine comes back empty, with `tooLong` set.
    bool next(QByteArray* line, bool* tooLong)
    {
        line->resize(0);
        *tooLong = false;
        bool any = false;
        for (;;) {
            if (m_pos >= m_block.size() && !fill())
                return any;
            if (m_skipLf) {
                m_skipLf = false;
                if (m_block[m_pos] == '\n') {
                    ++m_pos;
                    continue;
                }
            }
            any = true;
            const char* d = m_block.constData() + m_pos;
            const qsizetype n = m_block.size() - m_pos;
            qsizetype i = 0;
            while (i < n && d[i] != '\r' && d[i] != '\n')
                ++i;
            if (!*tooLong) {
                if (line->size() + i > LongestLine) {
                    *tooLong = true;
                    line->clear();
                } else {
                    line->append(d, i);
                }
            }
            m_pos += i;
            if (m_pos < m_block.size()) {
                m_skipLf = m_block[m_pos] == '\r';
                ++m_pos;
                return true;
            }
        }
    }

private:
    bool fill()
    {
        m_block = m_file.read(LongestLine);
        m_pos = 0;
        if (m_file.error() != QFileDevice::NoError)
            throw ImportReadError(QStringLiteral("%1 cannot be read.").arg(m_name), m_file.errorString());
        return !m_block.isEmpty();
    }

    QFile m_file;
    QString m_name;
    QByteArray m_block;
    qsizetype m_pos = 0;
    bool m_skipLf = false;
};

} // namespace

QString normaliseDecimal(QStringView s, int d, QStringView sign)
{
    QString out;
    qsizetype p = -1; // position of the last sign
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (!sign.isEmpty() && s.sliced(i).startsWith(sign)) {
            p = i;
            continue;
        }
        if (p < 0 || i - p <= d)
            out += s[i];
    }
    const qsizetype after = p < 0 ? 0 : s.size() - p - 1;
    for (qsizetype k = p < 0 ? 0 : after; k < d; ++k)
        out += u'0';
    return out;
}

namespace {

using Converted = ImportValue;

Converted refuse(const QString& reason) { return {Converted::Refuse, QVariant(), reason}; }

Converted convert(const PluFieldRange& range, QStringView column, const ValueFormat& format)
{
    switch (range.kind) {
    case PluValueKind::Text: {
        if (column.isEmpty())
            return {};
        const QString t = column.first(qMin(column.size(), qsizetype(range.textLength))).toString();
        bool ok = true;
        text::toAnsi(t, &ok);
        if (!ok)
            return refuse(QStringLiteral("a character the code page %1 cannot hold").arg(text::ansiCodePage()));
        return {Converted::Write, t, QString()}; // the block is built with its font code by the caller
    }
    case PluValueKind::ItemCode: {
        const QStringView t = text::trimBlanks(column);
        if (t.isEmpty())
            return {};
        for (const QChar c : t)
            if (c < u'0' || c > u'9')
                return refuse(QStringLiteral("not digits only"));
        return {Converted::Write, t.first(qMin(t.size(), qsizetype(range.textLength))).toString(), QString()};
    }
    default:
        break;
    }
    QString digits = text::trimBlanks(column).toString();
    if (range.kind == PluValueKind::Price || range.kind == PluValueKind::Weight)
        digits = normaliseDecimal(digits, range.kind == PluValueKind::Price ? format.pricePoint : format.weightPoint,
                                  format.decimalSign);
    else if (digits.isEmpty())
        return {};
    qint64 v = 0;
    if (!text::readNumberLine(digits, &v))
        return refuse(QStringLiteral("not a whole number"));
    if (range.kind == PluValueKind::Flags) {
        if (v < 0)
            return refuse(pluRangeRefusal(range, v));
        v %= 256;
    }
    const QString why = pluRangeRefusal(range, v);
    if (!why.isEmpty())
        return refuse(why);
    return {Converted::Write, v, QString()};
}

QByteArray oneLineBlock(const QString& text, int fontSize)
{
    const QByteArray bytes = text::toAnsi(text);
    return QByteArray(1, char(fontSize == 0 ? 1 : fontSize)) + char(bytes.size()) + bytes + char(0x0C);
}

qint64 keyOf(qint64 store, qint64 plu) { return (store << 32) ^ qint64(quint32(plu)); }

// One imported column: its place in the line and in the INSERT.
struct ImportColumn {
    int line = 0;
    const PluFieldRange* range = nullptr;
    int slot = 0;
    int flagSlot = -1;
};

class Importer {
public:
    explicit Importer(const PluImportRequest& request) : m_request(request), m_decoder(decoderName()) { }

    PluImportResult run();

private:
    static QByteArray decoderName() { return text::ansiCodePage().toLatin1(); }
    int slotOf(f::Field field);
    void leaveOut(bool kept, qint64 line, const QString& field, const QString& value, const QString& reason);
    void importLine(qint64 number, const QByteArray& bytes);

    const PluImportRequest& m_request;
    QStringDecoder m_decoder;
    QList<f::Field> m_fields; // the INSERT's fields
    QVariantList m_defaults;
    QList<ImportColumn> m_columns;
    int m_storeSlot = 0, m_groupSlot = 0, m_groupFlagSlot = 0, m_firstSlot = -1, m_lastByteSlot = -1;
    qint64 m_store = 0, m_group = 0;
    QSet<qint64> m_stores;
    // By keyOf(store, PLU): the rows that stood before the import, and the row this import wrote last.
    QHash<qint64, QList<qint64>> m_older;
    QHash<qint64, qint64> m_imported;
    QString m_insert; // prepared afresh for each row: the connection keeps the handle, reset after each use
    PluImportResult m_result;
};

int Importer::slotOf(f::Field field)
{
    const qsizetype k = m_fields.indexOf(field);
    if (k >= 0)
        return int(k);
    m_fields << field;
    m_defaults << (field == f::PLU_Commodity || field == f::PLU_Description
                       ? QVariant()
                       : (field == f::PLU_EANItemCode || field == f::PLU_CommodityFirst ? QVariant(QString())
                                                                                        : QVariant(0)));
    return int(m_fields.size() - 1);
}

void Importer::leaveOut(bool kept, qint64 line, const QString& field, const QString& value, const QString& reason)
{
    ++(kept ? m_result.kept : m_result.refused);
    if (m_result.named.size() < NamedLinesMax)
        m_result.named << LineLeftOut{line, field, value, reason};
}

PluImportResult Importer::run()
{
    const QList<db::FieldInfo> tableFields = gDBConnection.fields(PluTable);
    m_storeSlot = slotOf(f::ST_No);
    m_groupSlot = slotOf(f::PLU_MG);
    m_groupFlagSlot = slotOf(f::Stat2_MGCode);
    for (int i = 0; i < m_request.columns.size(); ++i) {
        const QString& name = m_request.columns[i];
        // A name reaches the SQL text only as the schema spells one of its fields.
        const bool isField = std::any_of(tableFields.begin(), tableFields.end(),
                                         [&](const db::FieldInfo& fi) { return fi.name == name; });
        const PluFieldRange* range = isField ? pluFieldRange(name) : nullptr;
        if (!range)
            continue;
        ImportColumn column{i, range, slotOf(range->field)};
        if (range->flag)
            column.flagSlot = slotOf(*range->flag);
        if (range->field == f::PLU_Commodity)
            m_firstSlot = slotOf(f::PLU_CommodityFirst);
        if (range->field == f::PLU_EANItemCode || range->field == f::PLU_EANFlags)
            m_lastByteSlot = slotOf(f::PLU_EANLastByte);
        m_columns << column;
    }
    m_store = m_request.storeText.trimmed().toLongLong();
    m_group = m_request.mainGroupText.trimmed().toLongLong();
    m_defaults[m_storeSlot] = m_store;
    m_defaults[m_groupSlot] = m_group;
    m_defaults[m_groupFlagSlot] = m_group != 997 ? 1 : 0; // as the editor saves it

    LineReader reader(m_request.path);
    {
        db::Statement stores = gDBConnection.prepare(QStringLiteral("SELECT ST_No FROM STORE"));
        while (stores.step())
            m_stores.insert(stores.columnInt(0));
        db::Statement keys = gDBConnection.prepare(QStringLiteral("SELECT ST_No, PLU_No, rowid FROM KVB_25"));
        while (keys.step())
            m_older[keyOf(keys.columnInt(0), keys.columnInt(1))] << keys.columnInt(2);
    }
    QStringList names;
    QStringList marks;
    for (const f::Field field : std::as_const(m_fields)) {
        names << QString::fromLatin1(f::name(field));
        marks << QStringLiteral("?");
    }

    db::Transaction tx(gDBConnection);
    m_insert = QStringLiteral("INSERT INTO KVB_25 (%1) VALUES (%2)")
                   .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    QByteArray line;
    bool tooLong = false;
    qint64 number = 0;
    EventPump pump;
    while (reader.next(&line, &tooLong)) {
        ++number;
        if (number == 1 && m_request.titleLine)
            continue;
        if (tooLong)
            leaveOut(false, number, QString(), QString(), QStringLiteral("longer than 64 KiB"));
        else if (line.isEmpty())
            leaveOut(false, number, QString(), QString(), QStringLiteral("blank line"));
        else
            importLine(number, line);
        pump();
    }
    gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=0 WHERE Is_Selected<>0"));
    tx.commit();
    return m_result;
}

void Importer::importLine(qint64 number, const QByteArray& bytes)
{
    const QString text = m_decoder.decode(bytes);
    if (m_decoder.hasError()) {
        m_decoder = QStringDecoder(decoderName());
        leaveOut(false, number, QString(), QString(),
                 QStringLiteral("bytes the code page %1 cannot read").arg(text::ansiCodePage()));
        return;
    }
    QVarLengthArray<QStringView, 64> pieces;
    const QChar separator = QLatin1Char(m_request.separator);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == separator) {
            pieces.append(QStringView(text).sliced(start, i - start));
            start = i + 1;
        }
    if (pieces.size() < m_request.columns.size()) {
        leaveOut(false, number, QString(), QString(),
                 QStringLiteral("%1 of %2 columns").arg(pieces.size()).arg(m_request.columns.size()));
        return;
    }

    QVariantList values = m_defaults;
    bool hasPlu = false;
    for (const ImportColumn& column : std::as_const(m_columns)) {
        const QStringView piece = pieces[column.line];
        const Converted c = convert(*column.range, piece, m_request.format);
        if (c.outcome == Converted::Refuse) {
            leaveOut(false, number, QString::fromLatin1(f::name(column.range->field)), piece.toString(), c.reason);
            return;
        }
        if (c.outcome == Converted::Skip)
            continue;
        const f::Field field = column.range->field;
        if (field == f::PLU_Commodity || field == f::PLU_Description) {
            const QString t = c.value.toString();
            values[column.slot] = oneLineBlock(
                t, field == f::PLU_Commodity ? m_request.commodityFontSize : m_request.descriptionFontSize);
            if (field == f::PLU_Commodity)
                values[m_firstSlot] = t;
        } else {
            values[column.slot] = c.value;
        }
        if (column.flagSlot >= 0)
            values[column.flagSlot] = 1;
        if (field == f::PLU_EANItemCode || field == f::PLU_EANFlags)
            values[m_lastByteSlot] = 0;
        hasPlu = hasPlu || field == f::PLU_No;
    }
    if (!hasPlu) {
        leaveOut(false, number, QStringLiteral("PLU_No"), QString(), QStringLiteral("no PLU number"));
        return;
    }
    const qint64 store = values[m_storeSlot].toLongLong();
    if (!m_stores.contains(store)) {
        leaveOut(false, number, QStringLiteral("ST_No"), QString::number(store), QStringLiteral("no such store"));
        return;
    }
    const qint64 plu = values[m_fields.indexOf(f::PLU_No)].toLongLong();
    const qint64 key = keyOf(store, plu);
    const auto earlier = m_imported.constFind(key);
    const auto older = m_older.find(key);
    if (earlier != m_imported.cend() || older != m_older.end()) {
        if (!m_request.override) {
            leaveOut(true, number, QStringLiteral("PLU_No"), QString::number(plu),
                     earlier != m_imported.cend() ? QStringLiteral("on an earlier line for store %1").arg(store)
                                                  : QStringLiteral("stored in store %1 already").arg(store));
            return;
        }
        const QList<qint64> replaced = earlier != m_imported.cend() ? QList<qint64>{*earlier} : *older;
        for (const qint64 rowid : replaced)
            gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE rowid=?"), {rowid});
        if (older != m_older.end())
            m_older.erase(older);
    }
    db::Statement insert = gDBConnection.prepare(m_insert);
    insert.bind(values);
    insert.step();
    m_imported.insert(key, gDBConnection.lastInsertRowId());
    ++m_result.imported;
}

} // namespace

ImportValue importValue(QStringView fieldName, QStringView column, const ValueFormat& format)
{
    const PluFieldRange* range = pluFieldRange(fieldName);
    return range ? convert(*range, column, format) : ImportValue();
}

QStringList fontSizeEntries(int country)
{
    const auto group = [](QChar letter, int count) {
        QStringList entries;
        for (int k = 1; k <= count; ++k)
            entries << QString::number(k) + letter;
        return entries;
    };
    switch (country) {
    case 0:
    case 3:
    case 4:
    case 5:
    case 7:
        return group(u'G', 6);
    case 37:
        return group(u'T', 4);
    default:
        return group(u'S', 5) + group(u'M', 5) + group(u'L', 5);
    }
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

int pluNoColumns(const QStringList& columns) { return int(columns.count(QStringLiteral("PLU_No"))); }

PluImportResult importPlus(const PluImportRequest& request)
{
    if (pluNoColumns(request.columns) != 1)
        throw ReportError(QStringLiteral("The chosen fields must hold PLU_No once."));
    Importer importer(request);
    return importer.run();
}

QString importMessage(const PluImportResult& result)
{
    const int leftOut = result.kept + result.refused;
    QStringList lines{
        leftOut > 0 ? gLangMsg.text(QStringLiteral("importseperator")) : gLangMsg.text(QStringLiteral("importOK")),
        gLangMsg.text(QStringLiteral("importCount")) + QLatin1Char(' ') + QString::number(result.imported),
        gLangMsg.text(QStringLiteral("importKept")) + QLatin1Char(' ') + QString::number(result.kept),
        gLangMsg.text(QStringLiteral("importRefused")) + QLatin1Char(' ') + QString::number(result.refused)};
    for (const LineLeftOut& l : result.named)
        lines << (l.field.isEmpty() ? QStringLiteral("%1: %2").arg(l.line).arg(l.reason)
                                    : QStringLiteral("%1: %2 \"%3\" %4").arg(l.line).arg(l.field, l.value, l.reason));
    if (leftOut > result.named.size())
        lines << QStringLiteral("(+%1)").arg(leftOut - result.named.size());
    return lines.join(QLatin1Char('\n'));
}

} // namespace quorvane::reports
