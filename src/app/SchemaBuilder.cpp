#include "app/SchemaBuilder.h"

#include "platform/db/Connection.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace quorvane::app {

namespace {

struct FieldDef {
    QString name;
    int code = 0;
    int size = 0;
};

struct TableDef {
    QString name;
    QList<FieldDef> fields;
};

bool isIdentifier(const QString& s)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(s).hasMatch();
}

unsigned char fail(SchemaBuildError* error, unsigned char result, int line, const QString& message)
{
    if (error) {
        error->line = line;
        error->message = message;
    }
    return result;
}

// Reads the whole schema before anything is touched, so a malformed file changes nothing.
bool parseSchema(const QStringList& lines, QList<TableDef>* tables, SchemaBuildError* error)
{
    bool haveTable = false;
    bool ended = false;
    TableDef current;
    for (int i = 0; i < lines.size() && !ended; ++i) {
        const int lineNo = i + 1;
        const QString line = text::trimBlanks(lines[i]).toString();
        auto bad = [&](const QString& why) {
            fail(error, SchemaMalformed, lineNo, why);
            return false;
        };
        if (line.isEmpty()) {
            if (!haveTable)
                return bad(QStringLiteral("an empty line where a table line belongs"));
            tables->append(current);
            haveTable = false;
        } else if (line == QLatin1String("[END]")) {
            ended = true; // a table still open here is not created
        } else if (line.startsWith(QLatin1Char('['))) {
            if (haveTable)
                return bad(QStringLiteral("table %1 is not closed by an empty line").arg(current.name));
            current = TableDef{line.mid(1, line.size() - 2), {}};
            if (!line.endsWith(QLatin1Char(']')) || !isIdentifier(current.name))
                return bad(QStringLiteral("\"%1\" is not a table line").arg(line));
            haveTable = true;
        } else {
            if (!haveTable)
                return bad(QStringLiteral("a field line outside a table"));
            const qsizetype c1 = line.indexOf(QLatin1Char(','));
            const qsizetype c2 = c1 < 0 ? -1 : line.indexOf(QLatin1Char(','), c1 + 1);
            if (c2 < 0)
                return bad(QStringLiteral("a field line needs a name, a type code and a size"));
            FieldDef f;
            f.name = text::trimBlanks(line.left(c1)).toString();
            bool okCode = false, okSize = false;
            f.code = text::trimBlanks(QStringView(line).mid(c1 + 1, c2 - c1 - 1)).toInt(&okCode);
            f.size = text::trimBlanks(QStringView(line).mid(c2 + 1)).toInt(&okSize);
            if (!isIdentifier(f.name))
                return bad(QStringLiteral("\"%1\" is not a field name").arg(f.name));
            if (!okCode || !okSize || f.size < 0)
                return bad(QStringLiteral("the type code and the size must be whole numbers"));
            for (const FieldDef& other : std::as_const(current.fields))
                if (other.name.compare(f.name, Qt::CaseInsensitive) == 0)
                    return bad(QStringLiteral("field %1 is defined twice").arg(f.name));
            current.fields << f;
        }
    }
    if (!ended)
        return fail(error, SchemaMalformed, int(lines.size()), QStringLiteral("the schema has no [END] line")), false;
    return true;
}

QString createStatement(const TableDef& t)
{
    QStringList cols;
    for (const FieldDef& f : t.fields) {
        QString col = QStringLiteral("\"%1\" %2").arg(f.name, db::declaredTypeFor(f.code, f.size));
        if (f.code == 4)
            col += QStringLiteral(" DEFAULT 0");
        else if (f.code == 10)
            col += QStringLiteral(" DEFAULT ''");
        cols << col;
    }
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t.name, cols.join(QStringLiteral(", ")));
}

} // namespace

QString temporaryDatabasePath(const QString& databasePath)
{
    return databasePath.left(databasePath.size() - 4) + QStringLiteral("_.mdb");
}

unsigned char buildTemporaryDatabase(const QString& schemaPath, const QString& databasePath, SchemaBuildError* error)
{
    const QString tempPath = temporaryDatabasePath(databasePath);
    QStringList lines;
    QString readError;
    if (!text::readLines(schemaPath, text::Encoding::Ansi, &lines, &readError))
        return fail(error, SchemaDatabaseFailed, 0, readError);
    QList<TableDef> tables;
    if (!parseSchema(lines, &tables, error))
        return SchemaMalformed;

    if (QFileInfo::exists(tempPath) && !QFile::remove(tempPath))
        return fail(error, SchemaDatabaseFailed, 0,
                    QStringLiteral("Cannot delete %1.").arg(text::nativePath(tempPath)));

    QString dbError;
    db::Connection temp;
    if (!temp.create(tempPath, &dbError))
        return fail(error, SchemaDatabaseFailed, 0, dbError);
    try {
        db::Transaction tx(temp);
        for (const TableDef& t : std::as_const(tables))
            temp.exec(createStatement(t));
        tx.commit();
    } catch (const db::DbError& e) {
        temp.close();
        QFile::remove(tempPath);
        return fail(error, SchemaDatabaseFailed, 0, e.message());
    }
    return SchemaBuilt;
}

unsigned char BuildDatabaseFromSchema(const QString& schemaPath, const QString& databasePath, int mode,
                                      SchemaBuildError* error)
{
    if (!QFileInfo(schemaPath).isFile())
        return fail(error, SchemaFileMissing, 0,
                    QStringLiteral("The schema file %1 does not exist.").arg(text::nativePath(schemaPath)));
    if (mode == 3 && QFileInfo::exists(databasePath))
        return SchemaDatabaseExists;
    if (const unsigned char built = buildTemporaryDatabase(schemaPath, databasePath, error); built != SchemaBuilt)
        return built;
    // rename() replaces an existing working database in one step.
    const QString tempPath = temporaryDatabasePath(databasePath);
    if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(databasePath).constData()) != 0) {
        QFile::remove(tempPath);
        return fail(error, SchemaDatabaseFailed, 0,
                    QStringLiteral("Cannot replace %1.").arg(text::nativePath(databasePath)));
    }
    return SchemaBuilt;
}

} // namespace quorvane::app
