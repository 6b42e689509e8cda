#include "app/TableDumps.h"

#include "platform/Error.h"
#include "platform/Quoted.h"
#include "platform/db/ValueRange.h"
#include "platform/events/EventPump.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"
#include "records/ScaleRecordDumps.h"
#include "state/SharedData.h"

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace quorvane::app {

namespace {

// Field lists as the dump files hold them: "Name*" is a gathered text, "Name!" a one-line text.
TableDump dump(const char* file, const char* table, const char* fields, bool marker = false)
{
    TableDump d{QString::fromLatin1(file), QString::fromLatin1(table), {}, marker};
    const QStringList names = QString::fromLatin1(fields).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString name : names) {
        DumpLine kind = DumpLine::Number;
        if (name.endsWith(QLatin1Char('*')))
            kind = DumpLine::Gathered;
        else if (name.endsWith(QLatin1Char('!')))
            kind = DumpLine::Text;
        if (kind != DumpLine::Number)
            name.chop(1);
        d.fields.append(DumpField{name, kind});
    }
    return d;
}

// C0 and DEL. A C1 character is no line break: it is written as the code page holds it (windows-1252 holds
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D as U+0081 … U+009D), or the dump fails as for any character it cannot hold.
bool isBlankedControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }

bool fitsField(const db::FieldInfo& f, qint64 n)
{
    const auto range = db::wholeNumberRange(f.typeCode);
    return range ? range->contains(n) : f.kind == db::FieldKind::Real;
}

// A dumped table as the schema holds it: names in the schema's spelling, with their declared kinds.
struct ResolvedTable {
    QString table;
    QList<db::FieldInfo> fields; // in dump order
    QString columns;             // quoted and comma-separated, in dump order
};

bool resolve(const TableDump& d, ResolvedTable* r, QString* error)
{
    r->table = gDBConnection.tableName(d.table);
    if (r->table.isEmpty()) {
        *error = QStringLiteral("The working database has no table %1.").arg(d.table);
        return false;
    }
    const QList<db::FieldInfo>& all = gDBConnection.fields(r->table);
    QStringList cols;
    for (const DumpField& df : d.fields) {
        const db::FieldInfo* found = nullptr;
        for (const db::FieldInfo& f : all)
            if (f.name.compare(df.name, Qt::CaseInsensitive) == 0)
                found = &f;
        const bool number = found && (found->kind == db::FieldKind::Number || found->kind == db::FieldKind::Real);
        if (!found || number != (df.kind == DumpLine::Number)) {
            *error = found ? QStringLiteral("Field %1 of table %2 is not a %3 field in the schema.")
                                 .arg(df.name, d.table,
                                      df.kind == DumpLine::Number ? QStringLiteral("number") : QStringLiteral("text"))
                           : QStringLiteral("Table %1 has no field %2.").arg(d.table, df.name);
            return false;
        }
        r->fields << *found;
        cols << quoted(found->name);
    }
    r->columns = cols.join(QLatin1Char(','));
    return true;
}

QString dumpPath(const QString& folder, const TableDump& d) { return folder + QLatin1Char('/') + d.file; }

// ---- writing ----

bool wholeNumberOf(const QVariant& v, qint64* n)
{
    if (v.isNull()) { // a number that holds no value is written as the value a new row gets
        *n = 0;
        return true;
    }
    switch (v.typeId()) {
    case QMetaType::LongLong:
        *n = v.toLongLong();
        return true;
    case QMetaType::Double: {
        const double d = v.toDouble();
        const bool ok = std::trunc(d) == d && std::fabs(d) < 9.0e18;
        *n = ok ? qint64(d) : 0;
        return ok;
    }
    case QMetaType::QString:
        return text::readNumberLine(v.toString(), n);
    default:
        return false;
    }
}

QString textOf(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

// Printable ASCII only: the line is written as it is.
bool isPlainAsciiLine(QByteArrayView utf8)
{
    for (char c : utf8)
        if (quint8(c) < 0x20 || quint8(c) >= 0x7f)
            return false;
    return true;
}

// A dump file's bytes, built line by line in the code page. ASCII is the same in the code pages the program
// writes, so numbers and plain texts go in as they are; a text with other characters goes through one encoder
// kept for the whole file, since one made for each line would cost more than the line. Lines are written at
// a position of our own: QByteArray's append cost more per line than the line itself.
class DumpWriter {
public:
    // Builds into `bytes`; its room is kept, so one array serves every file of a dump.
    explicit DumpWriter(QByteArray* bytes)
        : m_bytes(*bytes)
        , m_encoder(text::Encoding::Ansi)
        , m_keepsAscii(text::ansiKeepsAscii())
    {
        m_bytes.resize(m_bytes.capacity());
        m_at = m_bytes.data();
    }

    void number(qint64 value)
    {
        if (!m_keepsAscii) {
            encodeLine(text::numberLine(value));
            return;
        }
        char* p = room(text::NumberLineMaxSize + 2);
        p += text::formatNumberLine(value, p);
        endLine(p);
    }

    // A text from the database as UTF-8. False when the code page cannot hold it.
    bool text(QByteArrayView utf8)
    {
        if (!m_keepsAscii || !isPlainAsciiLine(utf8))
            return encodeLine(dumpLineText(QString::fromUtf8(utf8)));
        char* p = room(utf8.size() + 2);
        std::memcpy(p, utf8.data(), size_t(utf8.size()));
        endLine(p + utf8.size());
        return true;
    }

    bool line(const QString& text) { return encodeLine(dumpLineText(text)); }

    // The file's bytes, valid until the next writer.
    const QByteArray& bytes()
    {
        m_bytes.truncate(m_at - m_bytes.constData());
        return m_bytes;
    }

private:
    char* room(qsizetype n)
    {
        const qsizetype used = m_at - m_bytes.constData();
        if (m_bytes.size() - used < n) {
            m_bytes.resize(std::max(2 * m_bytes.size(), used + n + 64 * 1024));
            m_at = m_bytes.data() + used;
        }
        return m_at;
    }

    void endLine(char* end)
    {
        end[0] = '\r';
        end[1] = '\n';
        m_at = end + 2;
    }

    bool encodeLine(QStringView text)
    {
        char* p = room(m_encoder.requiredSpace(text.size()) + 2);
        endLine(m_encoder.appendToBuffer(p, text));
        return !m_encoder.hasError();
    }

    QByteArray& m_bytes;
    text::Encoder m_encoder;
    bool m_keepsAscii;
    char* m_at = nullptr; // where the next line goes
};

bool saveTable(const QString& folder, const TableDump& d, QByteArray* bytes, EventPump& pump, QString* error,
               qint64* rows, const records::DumpWritten& written)
{
    ResolvedTable r;
    if (!resolve(d, &r, error))
        return false;
    const QString path = dumpPath(folder, d);
    auto fail = [&](const QString& why) {
        *error = QStringLiteral("Cannot write %1: %2.").arg(text::nativePath(path), why);
        return false;
    };
    DumpWriter out(bytes);
    qint64 row = 0;
    db::Statement st = gDBConnection.prepare(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(r.columns, quoted(r.table)));
    using Column = db::Statement::ColumnType;
    while (st.step()) {
        ++row;
        for (int i = 0; i < d.fields.size(); ++i) {
            const Column type = st.columnType(i);
            switch (d.fields[i].kind) {
            case DumpLine::Number: {
                qint64 n = 0;
                if (type == Column::Integer)
                    n = st.columnInt(i);
                else if (!wholeNumberOf(st.column(i), &n))
                    return fail(
                        QStringLiteral("field %1 of row %2 holds no whole number").arg(d.fields[i].name).arg(row));
                out.number(n);
                break;
            }
            case DumpLine::Text:
            case DumpLine::Gathered: {
                const bool held = type == Column::Text ? out.text(st.columnUtf8(i)) : out.line(textOf(st.column(i)));
                if (!held) {
                    const qsizetype line = (row - 1) * (d.fields.size() + (d.marker ? 1 : 0)) + i + 1;
                    return fail(QStringLiteral("field %1 of table %2 in row %3 (line %4) holds a character that code "
                                               "page %5 cannot hold")
                                    .arg(d.fields[i].name, d.table)
                                    .arg(row)
                                    .arg(line)
                                    .arg(text::ansiCodePage()));
                }
                break;
            }
            }
        }
        if (d.marker)
            out.number(111);
        pump();
    }
    *rows = row;
    if (!text::writeFileAtomically(path, out.bytes(), error))
        return false;
    if (written)
        written(d.file, out.bytes());
    return true;
}

// ---- reading ----

// The values of a batch of rows, typed and already in UTF-8, so binding them needs no QVariant.
class RowValues {
public:
    void number(qint64 n) { m_values.append(Value{n, 0, 0, false}); }
    void text(QStringView t)
    {
        const qsizetype at = m_utf8.size();
        m_utf8.resize(at + m_encoder.requiredSpace(t.size()));
        char* end = m_encoder.appendToBuffer(m_utf8.data() + at, t);
        m_utf8.truncate(end - m_utf8.constData());
        m_values.append(Value{0, at, m_utf8.size() - at, true});
    }
    qsizetype size() const { return m_values.size(); }
    void resize(qsizetype n) { m_values.resize(n); }
    void clear()
    {
        m_values.clear();
        m_utf8.truncate(0); // keeps its room for the next batch
    }
    void appendTo(QList<QVariant>* out) const
    {
        for (const Value& v : m_values)
            out->append(v.text ? QVariant(QString::fromUtf8(m_utf8.constData() + v.at, v.size))
                               : QVariant(qlonglong(v.number)));
    }
    void bindTo(db::Statement& st) const
    {
        for (int i = 0; i < m_values.size(); ++i) {
            const Value& v = m_values[i];
            if (v.text)
                st.bindText(i, QByteArrayView(m_utf8.constData() + v.at, v.size));
            else
                st.bindInt64(i, v.number);
        }
    }

private:
    struct Value {
        qint64 number;
        qsizetype at, size; // of a text, in m_utf8
        bool text;
    };
    QList<Value> m_values;
    QByteArray m_utf8;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};

// Reads a dump's lines as they come: a list of them all would cost more than reading them, since a dump of
// 100,000 rows has a few hundred thousand lines. Lines end as text::splitLineViews ends them.
class DumpReader {
public:
    // `cutShort`: the last line has no line end, as when the end of the file was lost.
    DumpReader(const QString& path, QStringView content, bool cutShort)
        : m_path(path)
        , m_text(content)
        , m_cutShort(cutShort)
    {
        findLine();
    }

    bool atEnd() const { return m_at >= m_text.size(); }

    // Appends the row's values in field order.
    bool readRow(const TableDump& d, const ResolvedTable& r, RowValues* values, QString* error)
    {
        const qsizetype rowStart = m_next;
        auto endsInside = [&] {
            m_rowCut = true;
            return fail(error, rowStart, QStringLiteral("the file ends inside the row that begins here"));
        };
        for (int i = 0; i < d.fields.size(); ++i) {
            const db::FieldInfo& f = r.fields[i];
            if (atEnd())
                return endsInside();
            switch (d.fields[i].kind) {
            case DumpLine::Number: {
                qint64 n = 0;
                if (!text::readNumberLine(m_line, &n) || !fitsField(f, n))
                    return fail(error, m_next,
                                QStringLiteral("\"%1\" is not a value of the number field %2")
                                    .arg(m_line.left(40).toString(), f.name));
                values->number(n);
                nextLine();
                break;
            }
            case DumpLine::Text:
            case DumpLine::Gathered: {
                const qsizetype first = m_next;
                QStringView t = m_line;
                nextLine();
                QString gathered; // only a text of several lines is copied
                if (d.fields[i].kind == DumpLine::Gathered && !atEnd() && !isNumericLine(m_line)) {
                    gathered = t.toString();
                    while (!atEnd() && !isNumericLine(m_line)) {
                        gathered += m_line;
                        nextLine();
                    }
                    t = gathered;
                }
                if (f.size > 0 && t.size() > f.size)
                    return fail(
                        error, first,
                        QStringLiteral("the text of field %1 is longer than %2 characters").arg(f.name).arg(f.size));
                values->text(t);
                break;
            }
            }
        }
        if (d.marker) { // the gathered text before it has stopped at a number line or at the end
            if (atEnd()) {
                m_rowCut = true;
                return fail(error, rowStart, QStringLiteral("the row that begins here has no closing line"));
            }
            nextLine();
        }
        // Every line the dump writes ends with CR LF: a last line without it may have lost its end.
        if (atEnd() && m_cutShort)
            return endsInside();
        return true;
    }

    bool fail(QString* error, qsizetype lineIndex, const QString& why) const
    {
        *error = QStringLiteral("%1, line %2: %3.").arg(text::nativePath(m_path)).arg(lineIndex + 1).arg(why);
        return false;
    }

    qsizetype line() const { return m_next; }
    // The last row read failed only because the file ended inside it.
    bool rowCut() const { return m_rowCut; }

private:
    // The line at m_at into m_line, and where the one after it begins into m_after.
    void findLine()
    {
        const char16_t* begin = m_text.utf16() + m_at;
        const char16_t* end = m_text.utf16() + m_text.size();
        const char16_t* lf = std::find(begin, end, u'\n');
        qsizetype length = lf - begin;
        if (lf != end && length > 0 && lf[-1] == u'\r')
            --length;
        m_line = QStringView(begin, length);
        m_after = lf == end ? m_text.size() : lf + 1 - m_text.utf16();
    }

    void nextLine()
    {
        ++m_next;
        m_at = m_after;
        findLine();
    }

    QString m_path;
    QStringView m_text;
    bool m_cutShort = false;
    bool m_rowCut = false;
    qsizetype m_next = 0;  // the index of the line in m_line
    qsizetype m_at = 0;    // where it begins in m_text
    qsizetype m_after = 0; // where the line after it begins
    QStringView m_line;
};

// `count`: the rows the set was saved with, or -1 when it does not say. With `held`, the rows are held there
// instead of added.
bool loadTable(const QString& folder, const TableDump& d, qint64 count, EventPump& pump, QString* error,
               QList<TextDumpShortfall>* shortfalls, records::HeldPluRows* held)
{
    const bool counted = count >= 0;
    auto tell = [&](qint64 rows, bool cut) {
        if (counted && (cut || rows != count) && shortfalls)
            shortfalls->append(TextDumpShortfall{d.file, d.table, rows, count, cut});
    };
    const QString path = dumpPath(folder, d);
    if (!QFileInfo(path).isFile()) {
        tell(0, false);
        return true;
    }
    ResolvedTable r;
    if (!resolve(d, &r, error))
        return false;
    if (held) {
        held->fields.clear();
        held->values.clear();
        for (const db::FieldInfo& f : std::as_const(r.fields)) {
            const auto field = records::plu::fieldNamed(f.name);
            if (!field)
                return failWith(error, QStringLiteral("Field %1 of %2 is no PLU field.").arg(f.name, d.table));
            held->fields << *field;
        }
    }
    QByteArray bytes;
    if (!text::readFile(path, &bytes, error))
        return false;
    // A counted dump whose end was lost is read up to its last whole line: the row that line began is not whole.
    bool cut = false;
    if (counted && !bytes.isEmpty() && !bytes.endsWith('\n')) {
        bytes.truncate(bytes.lastIndexOf('\n') + 1);
        cut = true;
    }
    // ASCII, all most dumps hold, needs no decoder where the code page keeps it as it is.
    text::Decoder decoder(text::Encoding::Ansi);
    const bool plain = text::isAscii(bytes) && text::ansiKeepsAscii();
    const QString content = plain ? QString::fromLatin1(bytes) : decoder.decode(bytes);
    DumpReader in(path, content, !content.isEmpty() && !content.endsWith(QLatin1Char('\n')));
    if (!plain && decoder.hasError()) { // what could not be read could not be written back either
        const qsizetype bad = content.indexOf(QChar::ReplacementCharacter);
        return in.fail(
            error, bad < 0 ? 0 : QStringView(content).left(bad).count(QLatin1Char('\n')),
            QStringLiteral("the line holds bytes that are no text in code page %1").arg(text::ansiCodePage()));
    }
    // Rows go in by batches: one statement per batch costs far less than one per row.
    const int perBatch = 64;
    const QString oneRow = QLatin1Char('(') + QStringList(d.fields.size(), QStringLiteral("?")).join(QLatin1Char(','))
        + QLatin1Char(')');
    auto insert = [&](int rows) {
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(quoted(r.table), r.columns, QStringList(rows, oneRow).join(QLatin1Char(',')));
    };
    std::optional<db::Statement> fullBatch; // prepared once, run again for every full batch
    RowValues values;
    int rows = 0;
    qsizetype batchStart = 0;
    auto flush = [&] {
        if (rows == 0)
            return true;
        if (held) {
            values.appendTo(&held->values);
            values.clear();
            rows = 0;
            return true;
        }
        try {
            if (rows == perBatch) {
                if (!fullBatch)
                    fullBatch.emplace(gDBConnection.prepare(insert(perBatch)));
                values.bindTo(*fullBatch);
                fullBatch->step();
                fullBatch->reset();
            } else {
                db::Statement st = gDBConnection.prepare(insert(rows));
                values.bindTo(st);
                st.step();
            }
        } catch (const db::DbError& e) {
            return in.fail(error, batchStart, e.message());
        }
        values.clear();
        rows = 0;
        return true;
    };
    qint64 whole = 0;
    while (!in.atEnd()) {
        if (rows == 0)
            batchStart = in.line();
        QString rowError;
        if (!in.readRow(d, r, &values, &rowError)) {
            if (!counted || !in.rowCut())
                return failWith(error, rowError);
            values.resize(rows * d.fields.size()); // the rows before it go in
            cut = true;
            break;
        }
        ++whole;
        if (++rows == perBatch && !flush())
            return false;
        pump();
    }
    if (!flush())
        return false;
    tell(whole, cut);
    return true;
}

} // namespace

const QList<TableDump>& tableDumps()
{
    static const QList<TableDump> dumps{
        dump("tempstore.txt", "STORE", "ST_No ST_Name* Flag1 Flag2 barformat"),
        dump("tempsect.txt", "SECT", "SECT_No ST_No SECT_Name* Flag1 Flag2 barformat"),
        dump("tempscale.txt", "SCALE",
             "SC_IP! SC_No* SC_Used SC_FTPName! SC_FTPPW* SC_MODEL_ID SC_PSK_Layout ST_No SECT_No"),
        dump("tempdept.txt", "KVB_20", "DP_No DP_Name* Flag1 Flag2 barformat ST_No SECT_No"),
        dump("tempmg.txt", "KVB_23", "MG_No MG_Name* Flag1 Flag2 barformat Tax_No ST_No SECT_No DP_No"),
        dump("tempflexibarcode.txt", "KVB_14",
             "FBar_No FBar_Type FBar_ItemDigitNo FBar_Data1Type FBar_Data2Type FBar_FBarDigitNo FBar_CD FBar_Data1 "
             "FBar_Data2 FBar_Data1SH FBar_Data2SH FBar_EANorITF"),
        dump("tempplu.txt", "KVB_25", "PLU_No ST_No SECT_No"),
        dump("tempsearch.txt", "SEARCH",
             "SH_No SH_Name* DP_No1 DP_No2 MG_No1 MG_No2 PLU_No1 PLU_No2 PLU_UPrice1 PLU_UPrice2 ST_No"),
        dump("temppresetkey.txt", "KVB_41", "Scale_IP! PSK_Layout Number Key_Switch Status Name*", true),
        dump("tempclerk.txt", "KVB_44", "Clerk_No Name* Status"),
        dump("tempscrollmsg.txt", "KVB_3F", "Number Data*", true),
        dump("tempscrollseq.txt", "KVB_40",
             "Number Group1 File1 Scroll1 Display1 Speed1 Group2 File2 Scroll2 Display2 Speed2 Group3 File3 Scroll3 "
             "Display3 Speed3"),
        dump("tempingfile.txt", "KVB_3A", "No NextNo NameFirstLine*", true),
        dump("tempsmsgfile.txt", "KVB_3B", "No NextNo NameFirstLine*", true),
        dump("tempadvfile.txt", "KVB_3C", "No NextNo NameFirstLine*", true),
        dump("tempsnamefile.txt", "KVB_3D", "No NextNo NameFirstLine*", true),
        dump("temptaxratefile.txt", "KVB_A8", "Code Name* Rate Status"),
        dump("tempdiscschefile.txt", "KVB_AA",
             "Number Disc_SDate Disc_STime Disc_EDate Disc_ETime Disc_LimitType Disc_1stLim Disc_Within1stL "
             "Disc_2ndLim Disc_Within2ndL Disc_Type DisDayOfWeek NextNumber"),
        dump("temppriceschefile.txt", "KVB_AB",
             "Number Price_SDate Price_STime Price_EDate Price_ETime PriceDayOfWeek NewUnitPrice NextNumber"),
        dump("tempstockfnkeyfile.txt", "KVB_AC", "Number Status Name* Type"),
        dump("temppaymentkeyfile.txt", "KVB_AD", "Number Status Name* Reserved"),
    };
    return dumps;
}

bool isNumericLine(QStringView line)
{
    const QStringView t = text::trimBlanks(line);
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    int digits = 0, points = 0;
    for (; i < t.size(); ++i) {
        if (t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'))
            ++digits;
        else if (t[i] == QLatin1Char('.') && ++points <= 1)
            continue;
        else
            return false;
    }
    return digits > 0;
}

QString dumpLineText(const QString& text)
{
    const auto first = std::find_if(text.cbegin(), text.cend(), isBlankedControl);
    if (first == text.cend())
        return text;
    QString line = text;
    std::replace_if(line.begin() + (first - text.cbegin()), line.end(), isBlankedControl, QLatin1Char(' '));
    return line;
}

bool SaveTablesToText(const QString& folder, QString* error, DumpRowCounts* rows)
{
    return SaveTablesToText(folder, error, rows, {});
}

bool SaveTablesToText(const QString& folder, QString* error, DumpRowCounts* rows, const records::DumpWritten& written)
{
    QString ignored;
    QString& err = error ? *error : ignored;
    gRsWork.close();
    if (!QDir().mkpath(folder)) {
        err = QStringLiteral("Cannot create the folder %1.").arg(text::nativePath(folder));
        return false;
    }
    EventPump pump;
    QByteArray bytes; // one file's, kept for the next
    bool ok = true;
    try {
        for (const TableDump& d : tableDumps()) {
            qint64 count = 0;
            if (!(ok = saveTable(folder, d, &bytes, pump, &err, &count, written)))
                break;
            if (rows)
                rows->insert(d.file, count);
        }
    } catch (const db::DbError& e) {
        err = e.message();
        ok = false;
    }
    gRsWork.close();
    return ok;
}

bool LoadTablesFromText(const QString& folder, QString* error, const DumpRowCounts& counts,
                        QList<TextDumpShortfall>* shortfalls, records::HeldPluRows* heldPlus)
{
    QString ignored;
    QString& err = error ? *error : ignored;
    gRsWork.close();
    EventPump pump;
    bool ok = true;
    try {
        db::Transaction tx(gDBConnection);
        for (const TableDump& d : tableDumps())
            if (!(ok = loadTable(folder, d, counts.value(d.file, -1), pump, &err, shortfalls,
                                 d.table == QLatin1String("KVB_25") ? heldPlus : nullptr)))
                break;
        if (ok)
            tx.commit();
    } catch (const db::DbError& e) {
        err = e.message();
        ok = false;
    }
    gRsWork.close();
    return ok;
}

} // namespace quorvane::app
