#include "reports/PluImport.h"

#include "platform/events/EventPump.h"
#include "platform/events/StopRequest.h"
#include "platform/text/Ansi.h"
#include "platform/text/LineReader.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"
#include "plu/PluFieldRanges.h"
#include "records/PluRow.h"
#include "settings/FixedDecimal.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

namespace quorvane::reports {

namespace {

namespace f = records::plu;

constexpr const char* ImportWork = "The PLU import";

// The longest line the import reads; a longer one is left out without being kept in memory.
constexpr qsizetype LongestLine = 64 * 1024;

using Converted = ImportValue;

Converted refuse(const QString& reason) { return {Converted::Refuse, QVariant(), reason}; }

Converted convert(const PluFieldRange& range, QStringView column, const ValueFormat& format)
{
    switch (range.kind) {
    case fields::Kind::Text: {
        if (column.isEmpty())
            return {};
        const QString t = column.first(qMin(column.size(), qsizetype(range.textLength))).toString();
        if (const QString why = text::controlCharacterRefusal(t); !why.isEmpty())
            return refuse(why);
        bool ok = true;
        text::toAnsi(t, &ok);
        if (!ok)
            return refuse(QStringLiteral("a character the code page %1 cannot hold").arg(text::ansiCodePage()));
        return {Converted::Write, t, QString()}; // the block is built with its font code by the caller
    }
    case fields::Kind::ItemCode: {
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
    const QStringView trimmed = text::trimBlanks(column);
    qint64 v = 0;
    if (range.kind == fields::Kind::Amount) {
        qint32 units = 0;
        if (!ReadDecimalAtPlaces(trimmed,
                                 range.decimals == fields::PriceDecimals ? format.pricePoint : format.weightPoint,
                                 format.decimalSign, &units))
            return refuse(QStringLiteral("not a whole number"));
        v = units;
    } else if (trimmed.isEmpty()) {
        return {};
    } else if (!text::readNumberLine(trimmed, &v)) {
        return refuse(QStringLiteral("not a whole number"));
    }
    if (range.byte) {
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
    explicit Importer(const PluImportRequest& request) : m_request(request) { }

    PluImportResult run();

private:
    int slotOf(f::Field field);
    void leaveOut(bool kept, qint64 line, const QString& field, const QString& value, const QString& reason);
    void importLine(qint64 number, const QByteArray& bytes);

    const PluImportRequest& m_request;
    text::Decoder m_decoder;
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
    const QList<db::FieldInfo> tableFields = gDBConnection.fields(QStringLiteral("KVB_25"));
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

    text::LineReader reader(m_request.path, LongestLine);
    const QString fileName = text::nativePath(m_request.path);
    if (QString reason; !reader.open(&reason))
        throw ImportReadError(QStringLiteral("%1 cannot be read.").arg(fileName), reason);
    // A line of gigabytes is read block by block: a stop need not wait for its end.
    reader.beforeEachBlock([] { throwIfStopRequested(ImportWork); });
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
        throwIfStopRequested(ImportWork);
    }
    if (!reader.failure().isEmpty())
        throw ImportReadError(QStringLiteral("%1 cannot be read.").arg(fileName), reader.failure());
    gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=0 WHERE Is_Selected<>0"));
    // The last moment a stop undoes the whole file; once committed, what it wrote is kept.
    throwIfStopRequested(ImportWork);
    tx.commit();
    return m_result;
}

void Importer::importLine(qint64 number, const QByteArray& bytes)
{
    const QString text = m_decoder.decode(bytes);
    if (m_decoder.hasError()) {
        m_decoder.resetState();
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
    const bool again = earlier != m_imported.cend();
    const auto older = m_older.find(key);
    if (again || older != m_older.end()) {
        if (!m_request.override) {
            leaveOut(true, number, QStringLiteral("PLU_No"), QString::number(plu),
                     again ? QStringLiteral("on an earlier line for store %1").arg(store)
                           : QStringLiteral("stored in store %1 already").arg(store));
            return;
        }
        const QList<qint64> replaced = again ? QList<qint64>{*earlier} : *older;
        for (const qint64 rowid : replaced)
            gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE rowid=?"), {rowid});
        if (older != m_older.end())
            m_older.erase(older);
    }
    db::Statement insert = gDBConnection.prepare(m_insert);
    insert.bind(values);
    insert.step();
    m_imported.insert(key, gDBConnection.lastInsertRowId());
    // A line that replaces one of this import's own PLUs adds no PLU.
    if (!again)
        ++m_result.imported;
}

} // namespace

ImportValue importValue(QStringView fieldName, QStringView column, const ValueFormat& format)
{
    const PluFieldRange* range = pluFieldRange(fieldName);
    return range ? convert(*range, column, format) : ImportValue();
}

int pluNoColumns(const QStringList& columns) { return int(columns.count(QStringLiteral("PLU_No"))); }

PluImportResult importPlus(const PluImportRequest& request)
{
    if (pluNoColumns(request.columns) != 1)
        throw ReportError(QStringLiteral("The chosen fields must hold PLU_No once."));
    Importer importer(request);
    return importer.run();
}

QString importMessageKey(const PluImportResult& result)
{
    return result.kept + result.refused > 0 ? QStringLiteral("importseperator") : QStringLiteral("importOK");
}

QString importMessage(const PluImportResult& result)
{
    const int leftOut = result.kept + result.refused;
    QStringList lines{
        leftOut > 0 ? gLangMsg.text(QStringLiteral("importseperator")) : gLangMsg.text(QStringLiteral("importOK")),
        gLangMsg.text(QStringLiteral("importCount")) + QLatin1Char(' ') + QString::number(result.imported),
        gLangMsg.text(QStringLiteral("importKept")) + QLatin1Char(' ') + QString::number(result.kept),
        gLangMsg.text(QStringLiteral("importRefused")) + QLatin1Char(' ') + QString::number(result.refused)};
    lines << text::namedLinesText(result.named, leftOut);
    return lines.join(QLatin1Char('\n'));
}

} // namespace quorvane::reports
