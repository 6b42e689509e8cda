#include "app/TableDumps.h"

#include "app/EventPump.h"
#include "app/SharedData.h"
#include "platform/text/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

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

const QString Marker = QStringLiteral(" 111 ");

QString trimBlanks(QStringView s)
{
    qsizetype a = 0, b = s.size();
    while (a < b && s[a] == QLatin1Char(' '))
        ++a;
    while (b > a && s[b - 1] == QLatin1Char(' '))
        --b;
    return s.mid(a, b - a).toString();
}

// The parts of a text between its line breaks (CR LF, CR or LF), empty parts included.
QStringList textParts(const QString& text)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        parts << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    parts << text.mid(start);
    return parts;
}

bool parseWholeNumber(const QString& line, qint64* value)
{
    const QString t = trimBlanks(line);
    if (t.isEmpty())
        return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        const bool sign = i == 0 && (c == QLatin1Char('+') || c == QLatin1Char('-')) && t.size() > 1;
        if (!sign && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return false;
    }
    bool ok = false;
    *value = t.toLongLong(&ok);
    return ok;
}

bool fitsField(const db::FieldInfo& f, qint64 n)
{
    switch (f.typeCode) {
    case 1: return true;
    case 2: return n >= 0 && n <= 255;
    case 3: return n >= -32768 && n <= 32767;
    case 4: return n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max();
    default: return f.kind == db::FieldKind::Real;
    }
}

QString quoted(const QString& identifier) { return QLatin1Char('"') + identifier + QLatin1Char('"'); }

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
    bool ok = false;
    switch (v.typeId()) {
    case QMetaType::LongLong:
        *n = v.toLongLong();
        return true;
    case QMetaType::Double: {
        const double d = v.toDouble();
        ok = std::trunc(d) == d && std::fabs(d) < 9.0e18;
        *n = ok ? qint64(d) : 0;
        return ok;
    }
    case QMetaType::QString:
        return parseWholeNumber(v.toString(), n);
    default:
        return false;
    }
}

QString textOf(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

// Names the first line the code page cannot hold.
QString unencodableLine(const QString& content)
{
    const QStringList lines = text::splitLines(content);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        bool ok = true;
        text::toAnsi(lines[i], &ok);
        if (!ok)
            return QStringLiteral("line %1 (\"%2\") holds a character that code page %3 cannot hold")
                .arg(i + 1)
                .arg(lines[i].left(40), text::ansiCodePage());
    }
    return QStringLiteral("a character cannot be held in code page %1").arg(text::ansiCodePage());
}

bool saveTable(const QString& folder, const TableDump& d, EventPump& pump, QString* error)
{
    ResolvedTable r;
    if (!resolve(d, &r, error))
        return false;
    const QString path = dumpPath(folder, d);
    QString content;
    qint64 row = 0;
    {
        db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                                     .arg(r.columns, quoted(r.table)));
        while (st.step()) {
            ++row;
            for (int i = 0; i < d.fields.size(); ++i) {
                const QVariant v = st.column(i);
                switch (d.fields[i].kind) {
                case DumpLine::Number: {
                    qint64 n = 0;
                    if (!wholeNumberOf(v, &n)) {
                        *error = QStringLiteral("Cannot write %1: field %2 of row %3 holds no whole number.")
                                     .arg(QDir::toNativeSeparators(path), d.fields[i].name)
                                     .arg(row);
                        return false;
                    }
                    content += numberLine(n);
                    content += QLatin1String("\r\n");
                    break;
                }
                case DumpLine::Text:
                    content += oneLineText(textOf(v));
                    content += QLatin1String("\r\n");
                    break;
                case DumpLine::Gathered:
                    for (const QString& line : gatheredTextLines(textOf(v))) {
                        content += line;
                        content += QLatin1String("\r\n");
                    }
                    break;
                }
            }
            if (d.marker) {
                content += Marker;
                content += QLatin1String("\r\n");
            }
            pump();
        }
    }
    bool ok = true;
    const QByteArray bytes = text::toAnsi(content, &ok);
    if (!ok) {
        *error = QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), unencodableLine(content));
        return false;
    }
    return text::writeFileAtomically(path, bytes, error);
}

// ---- reading ----

class DumpReader {
public:
    DumpReader(const QString& path, const QStringList& lines) : m_path(path), m_lines(lines) {}

    bool atEnd() const { return m_next >= m_lines.size(); }

    bool readRow(const TableDump& d, const ResolvedTable& r, db::Statement& st, QString* error)
    {
        const qsizetype rowStart = m_next;
        for (int i = 0; i < d.fields.size(); ++i) {
            const db::FieldInfo& f = r.fields[i];
            if (atEnd())
                return fail(error, rowStart, QStringLiteral("the file ends inside the row that begins here"));
            switch (d.fields[i].kind) {
            case DumpLine::Number: {
                qint64 n = 0;
                if (!parseWholeNumber(m_lines[m_next], &n) || !fitsField(f, n))
                    return fail(error, m_next, QStringLiteral("\"%1\" is not a value of the number field %2")
                                                   .arg(m_lines[m_next].left(40), f.name));
                st.bindValue(i, qlonglong(n));
                ++m_next;
                break;
            }
            case DumpLine::Text:
            case DumpLine::Gathered: {
                const qsizetype first = m_next;
                QString t = m_lines[m_next++];
                if (d.fields[i].kind == DumpLine::Gathered)
                    while (!atEnd() && !isNumericLine(m_lines[m_next]))
                        t += m_lines[m_next++];
                if (f.size > 0 && t.size() > f.size)
                    return fail(error, first, QStringLiteral("the text of field %1 is longer than %2 characters")
                                                  .arg(f.name)
                                                  .arg(f.size));
                st.bindValue(i, t);
                break;
            }
            }
        }
        if (d.marker) { // the gathered text before it has stopped at a number line or at the end
            if (atEnd())
                return fail(error, rowStart, QStringLiteral("the row that begins here has no closing line"));
            ++m_next;
        }
        return true;
    }

    bool fail(QString* error, qsizetype lineIndex, const QString& why) const
    {
        *error = QStringLiteral("%1, line %2: %3.").arg(QDir::toNativeSeparators(m_path)).arg(lineIndex + 1).arg(why);
        return false;
    }

    qsizetype line() const { return m_next; }

private:
    QString m_path;
    const QStringList& m_lines;
    qsizetype m_next = 0;
};

bool loadTable(const QString& folder, const TableDump& d, QString* error)
{
    const QString path = dumpPath(folder, d);
    if (!QFileInfo(path).isFile())
        return true;
    ResolvedTable r;
    if (!resolve(d, &r, error))
        return false;
    QByteArray bytes;
    if (!text::readFile(path, &bytes, error))
        return false;
    const QStringList lines = text::splitLines(text::fromAnsi(bytes));
    DumpReader in(path, lines);
    QStringList marks;
    for (int i = 0; i < d.fields.size(); ++i)
        marks << QStringLiteral("?");
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoted(r.table), r.columns, marks.join(QLatin1Char(',')));
    while (!in.atEnd()) {
        const qsizetype rowStart = in.line();
        try {
            db::Statement st = gDBConnection.prepare(insert);
            if (!in.readRow(d, r, st, error))
                return false;
            st.step();
        } catch (const db::DbError& e) {
            return in.fail(error, rowStart, e.message());
        }
    }
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

QString numberLine(qint64 value)
{
    return value < 0 ? QString::number(value) + QLatin1Char(' ')
                     : QLatin1Char(' ') + QString::number(value) + QLatin1Char(' ');
}

bool isNumericLine(const QString& line)
{
    const QString t = trimBlanks(line);
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

QStringList gatheredTextLines(const QString& text)
{
    const QStringList parts = textParts(text);
    QStringList lines{parts.first()};
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!isNumericLine(parts[i])) {
            lines << parts[i];
            continue;
        }
        lines.last() += parts[i];
        // The first line is always taken whole; a later one that now reads as a number joins the one before.
        while (lines.size() > 1 && isNumericLine(lines.last())) {
            const QString joined = lines.takeLast();
            lines.last() += joined;
        }
    }
    return lines;
}

QString oneLineText(const QString& text) { return textParts(text).join(QString()); }

bool SaveTablesToText(const QString& folder, QString* error)
{
    QString ignored;
    QString& err = error ? *error : ignored;
    gRsWork.close();
    if (!QDir().mkpath(folder)) {
        err = QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    EventPump pump;
    bool ok = true;
    try {
        for (const TableDump& d : tableDumps())
            if (!(ok = saveTable(folder, d, pump, &err)))
                break;
    } catch (const db::DbError& e) {
        err = e.message();
        ok = false;
    }
    gRsWork.close();
    return ok;
}

bool LoadTablesFromText(const QString& folder, QString* error)
{
    QString ignored;
    QString& err = error ? *error : ignored;
    gRsWork.close();
    bool ok = true;
    try {
        db::Transaction tx(gDBConnection);
        for (const TableDump& d : tableDumps())
            if (!(ok = loadTable(folder, d, &err)))
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
