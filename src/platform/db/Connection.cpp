#include "platform/db/Connection.h"

#include "platform/db/ValueRange.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>

namespace quorvane::db {

namespace {

QString errorText(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("database not open");
}

// The schema's type codes and the column types the schema builder declares for them; a text (10) is
// declared with its size, VARCHAR(n).
struct DeclaredType {
    int typeCode;
    const char* name;
    FieldKind kind;
};
constexpr DeclaredType DeclaredTypes[] = {
    {TypeBoolean, "BOOLEAN", FieldKind::Number},
    {TypeByte, "TINYINT", FieldKind::Number},
    {TypeInteger, "SMALLINT", FieldKind::Number},
    {TypeLong, "INTEGER", FieldKind::Number},
    {5, "CURRENCY", FieldKind::Real},
    {6, "REAL", FieldKind::Real},
    {7, "DOUBLE", FieldKind::Real},
    {8, "DATETIME", FieldKind::Real},
    {11, "BLOB", FieldKind::Binary},
    {12, "MEMO", FieldKind::Text},
};

} // namespace

QString declaredTypeFor(int typeCode, int size)
{
    if (typeCode == 10)
        return QStringLiteral("VARCHAR(%1)").arg(size);
    for (const DeclaredType& t : DeclaredTypes)
        if (t.typeCode == typeCode)
            return QLatin1String(t.name);
    return QStringLiteral("TYPE%1(%2)").arg(typeCode).arg(size);
}

FieldInfo fieldInfoFromDeclared(const QString& name, const QString& declaredType)
{
    static const QRegularExpression sized(QStringLiteral("^([A-Z]+?)(\\d*)\\((\\d+)\\)$"));
    FieldInfo f;
    f.name = name;
    const QString t = declaredType.trimmed().toUpper();
    const auto known = std::find_if(std::begin(DeclaredTypes), std::end(DeclaredTypes),
                                    [&](const DeclaredType& d) { return t == QLatin1String(d.name); });
    if (known != std::end(DeclaredTypes)) {
        f.typeCode = known->typeCode;
        f.kind = known->kind;
    } else if (const auto m = sized.match(t); m.hasMatch()) {
        f.size = m.captured(3).toInt();
        f.typeCode = m.captured(1) == QLatin1String("VARCHAR") ? 10 : m.captured(2).toInt();
        f.kind = FieldKind::Text;
    }
    if (f.typeCode == TypeLong)
        f.defaultValue = 0;
    else if (f.typeCode == 10)
        f.defaultValue = QString();
    return f;
}

// ---- Statement ----

Statement::Statement(sqlite3* db, sqlite3_stmt* stmt, OpenFlag open) : m_db(db), m_stmt(stmt), m_open(std::move(open))
{
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db)
    , m_stmt(other.m_stmt)
    , m_open(std::move(other.m_open))
{
    other.m_stmt = nullptr;
}

Statement::~Statement()
{
    if (live()) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

sqlite3_stmt* Statement::checked() const
{
    if (!live())
        throw DbError(QStringLiteral("The database was closed while a statement still ran."));
    return m_stmt;
}

Statement::ColumnType boundType(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return Statement::ColumnType::Null;
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        return Statement::ColumnType::Blob;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::ULong:
        return Statement::ColumnType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return Statement::ColumnType::Real;
    default:
        return Statement::ColumnType::Text;
    }
}

void Statement::bindValue(int index0, const QVariant& v)
{
    switch (boundType(v)) {
    case ColumnType::Null:
        return bindNull(index0);
    case ColumnType::Blob:
        return bindBlob(index0, v.toByteArray());
    case ColumnType::Integer:
        return bindInt64(index0, v.toLongLong());
    case ColumnType::Real:
        return bindDouble(index0, v.toDouble());
    case ColumnType::Text:
        return bindText(index0, v.toString().toUtf8());
    }
}

void Statement::bindInt64(int index0, qint64 value)
{
    if (sqlite3_bind_int64(checked(), index0 + 1, value) != SQLITE_OK)
        throw DbError(QStringLiteral("Cannot bind a value: %1").arg(errorText(m_db)));
}

void Statement::bindText(int index0, QByteArrayView utf8)
{
    if (sqlite3_bind_text(checked(), index0 + 1, utf8.isEmpty() ? "" : utf8.data(), int(utf8.size()), SQLITE_TRANSIENT)
        != SQLITE_OK)
        throw DbError(QStringLiteral("Cannot bind a value: %1").arg(errorText(m_db)));
}

void Statement::bindBlob(int index0, QByteArrayView bytes)
{
    const int rc = bytes.isEmpty()
        ? sqlite3_bind_zeroblob(checked(), index0 + 1, 0)
        : sqlite3_bind_blob(checked(), index0 + 1, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        throw DbError(QStringLiteral("Cannot bind a value: %1").arg(errorText(m_db)));
}

void Statement::bindDouble(int index0, double value)
{
    if (sqlite3_bind_double(checked(), index0 + 1, value) != SQLITE_OK)
        throw DbError(QStringLiteral("Cannot bind a value: %1").arg(errorText(m_db)));
}

void Statement::bindNull(int index0)
{
    if (sqlite3_bind_null(checked(), index0 + 1) != SQLITE_OK)
        throw DbError(QStringLiteral("Cannot bind a value: %1").arg(errorText(m_db)));
}

void Statement::reset()
{
    if (!live())
        return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Statement::resetKeepingValues()
{
    if (live())
        sqlite3_reset(m_stmt);
}

void Statement::bind(const QVariantList& params)
{
    const int expected = sqlite3_bind_parameter_count(checked());
    if (expected != params.size())
        throw DbError(QStringLiteral("The statement takes %1 values, %2 given").arg(expected).arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        bindValue(i, params[i]);
}

bool Statement::step()
{
    const int rc = sqlite3_step(checked());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString err = errorText(m_db);
    sqlite3_reset(checked());
    throw DbError(err);
}

int Statement::columnCount() const { return sqlite3_column_count(checked()); }

QString Statement::columnName(int i) const { return QString::fromUtf8(sqlite3_column_name(checked(), i)); }

QVariant Statement::column(int i) const
{
    sqlite3_stmt* const stmt = checked();
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                          sqlite3_column_bytes(stmt, i)));
    case SQLITE_BLOB: {
        const int n = sqlite3_column_bytes(stmt, i);
        const char* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        return QVariant(n > 0 ? QByteArray(p, n) : QByteArray(""));
    }
    default:
        return QVariant();
    }
}

qint64 Statement::columnInt(int i) const { return sqlite3_column_int64(checked(), i); }

static_assert(int(Statement::ColumnType::Integer) == SQLITE_INTEGER && int(Statement::ColumnType::Real) == SQLITE_FLOAT
              && int(Statement::ColumnType::Text) == SQLITE_TEXT && int(Statement::ColumnType::Blob) == SQLITE_BLOB
              && int(Statement::ColumnType::Null) == SQLITE_NULL);

Statement::ColumnType Statement::columnType(int i) const { return ColumnType(sqlite3_column_type(checked(), i)); }

QByteArrayView Statement::columnUtf8(int i) const
{
    sqlite3_stmt* const stmt = checked();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return QByteArrayView(text, text ? sqlite3_column_bytes(stmt, i) : 0);
}

// One call into the statement for the column; what follows reads the value the program's one thread was given.
Statement::Column Statement::columnValue(int i) const
{
    sqlite3_value* v = sqlite3_column_value(checked(), i);
    Column c;
    c.type = ColumnType(sqlite3_value_type(v));
    switch (c.type) {
    case ColumnType::Integer:
        c.integer = sqlite3_value_int64(v);
        break;
    case ColumnType::Real:
        c.real = sqlite3_value_double(v);
        break;
    case ColumnType::Text:
        c.bytes = QByteArrayView(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
        break;
    case ColumnType::Blob:
        c.bytes = QByteArrayView(static_cast<const char*>(sqlite3_value_blob(v)), sqlite3_value_bytes(v));
        break;
    case ColumnType::Null:
        break;
    }
    return c;
}

// ---- Connection ----

Connection::~Connection() { close(); }

bool Connection::open(const QString& path, QString* error)
{
    close();
    if (!QFileInfo(path).isFile())
        return failWith(error, QStringLiteral("The database file %1 does not exist.").arg(path));
    if (!openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, error))
        return false;
    try {
        // Reading the catalogue proves the file is a database at all.
        exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
        scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DbError& e) {
        close();
        return failWith(error, e.message());
    }
    return true;
}

bool Connection::create(const QString& path, QString* error)
{
    close();
    return openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, error);
}

// The program reaches its database from the UI thread alone, so SQLite need not lock each call.
bool Connection::openFile(const QString& path, int flags, QString* error)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        const QString reason = errorText(db);
        sqlite3_close(db);
        return failWith(error, reason);
    }
    m_db = db;
    *m_open = true;
    m_path = path;
    watchChanges();
    return true;
}

void Connection::close()
{
    for (sqlite3_stmt* s : std::as_const(m_cache))
        sqlite3_finalize(s);
    m_cache.clear();
    m_fields.clear();
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    // Statements still held fail from now on; those of the next open get a flag of their own.
    *m_open = false;
    m_open = std::make_shared<bool>(false);
    m_path.clear();
}

void Connection::checkOpen() const
{
    if (!m_db)
        throw DbError(QStringLiteral("The database connection is not open."));
}

Statement Connection::prepare(const QString& sql)
{
    checkOpen();
    auto it = m_cache.find(sql);
    if (it == m_cache.end()) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v3(m_db, u.constData(), int(u.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr)
            != SQLITE_OK)
            throw DbError(QStringLiteral("%1 (in: %2)").arg(errorText(m_db), sql));
        it = m_cache.insert(sql, stmt);
    }
    return Statement(m_db, it.value(), m_open);
}

void Connection::exec(const QString& sql, const QVariantList& params)
{
    checkOpen();
    const QString head = sql.trimmed().left(6).toUpper();
    if (head.startsWith(QLatin1String("CREATE")) || head.startsWith(QLatin1String("DROP"))
        || head.startsWith(QLatin1String("ALTER")) || head.startsWith(QLatin1String("PRAGMA"))
        || head.startsWith(QLatin1String("SAVEPO")) || head.startsWith(QLatin1String("RELEAS"))
        || head.startsWith(QLatin1String("ROLLBA"))) {
        if (!params.isEmpty())
            throw DbError(QStringLiteral("Statement takes no values: %1").arg(sql));
        char* msg = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
            const QString err = QString::fromUtf8(msg ? msg : "");
            sqlite3_free(msg);
            throw DbError(QStringLiteral("%1 (in: %2)").arg(err, sql));
        }
        if (!head.startsWith(QLatin1String("PRAGMA")) && !head.startsWith(QLatin1String("SAVEPO"))
            && !head.startsWith(QLatin1String("RELEAS")) && !head.startsWith(QLatin1String("ROLLBA")))
            m_fields.clear();
        return;
    }
    Statement st = prepare(sql);
    st.bind(params);
    while (st.step()) {
    }
}

QVariant Connection::scalar(const QString& sql, const QVariantList& params)
{
    Statement st = prepare(sql);
    st.bind(params);
    return st.step() ? st.column(0) : QVariant();
}

qint64 Connection::lastInsertRowId() const
{
    checkOpen();
    return sqlite3_last_insert_rowid(m_db);
}

void Connection::beginTransaction() { exec(QStringLiteral("SAVEPOINT quorvane_tx")); }
void Connection::commit() { exec(QStringLiteral("RELEASE SAVEPOINT quorvane_tx")); }
void Connection::rollback()
{
    exec(QStringLiteral("ROLLBACK TO SAVEPOINT quorvane_tx"));
    exec(QStringLiteral("RELEASE SAVEPOINT quorvane_tx"));
}
bool Connection::inTransaction() const { return m_db && !sqlite3_get_autocommit(m_db); }

bool Connection::hasTable(const QString& table) const
{
    if (!m_db)
        return false;
    return !tableName(table).isEmpty();
}

QStringList Connection::tables() const
{
    checkOpen();
    QStringList out;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid", -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
}

QString Connection::tableName(const QString& anyCase) const
{
    checkOpen();
    QString found;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT name FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE", -1, &st,
                       nullptr);
    const QByteArray u = anyCase.toUtf8();
    sqlite3_bind_text(st, 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    if (st && sqlite3_step(st) == SQLITE_ROW)
        found = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return found;
}

QList<FieldInfo> Connection::fields(const QString& table) const
{
    checkOpen();
    const QString key = table.toLower();
    auto it = m_fields.constFind(key);
    if (it != m_fields.constEnd())
        return it.value();
    const QString name = tableName(table);
    if (name.isEmpty())
        throw DbError(QStringLiteral("There is no table %1.").arg(table));
    QList<FieldInfo> list;
    sqlite3_stmt* st = nullptr;
    // The name comes from the catalogue itself, so it can stand in the statement.
    const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")").arg(name).toUtf8();
    sqlite3_prepare_v2(m_db, sql.constData(), -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        const QString col = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
        list << fieldInfoFromDeclared(col, type);
    }
    sqlite3_finalize(st);
    return m_fields.insert(key, list).value();
}

// ---- Change counts ----

namespace {

std::string lowerName(QLatin1StringView name)
{
    std::string out(name.data(), size_t(name.size()));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

} // namespace

void Connection::watchChanges()
{
    ++m_anyChange;
    sqlite3_update_hook(m_db, &Connection::rowChanged, this);
    sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &Connection::statementStarts, this);
}

void Connection::rowChanged(void* self, int, const char*, const char* table, qint64)
{
    auto* c = static_cast<Connection*>(self);
    // Entries stay where they are while others are added, so the last one is kept.
    if (!c->m_lastChanged || qstricmp(table, c->m_lastChanged->first.c_str()) != 0)
        c->m_lastChanged = &*c->m_rowChanges.try_emplace(lowerName(QLatin1StringView(table))).first;
    ++c->m_lastChanged->second;
}

// What the update hook does not see may have changed any table: a DELETE without WHERE empties a table in
// one step, a rollback puts rows back as they were, a table created, dropped or altered holds other rows.
int Connection::statementStarts(unsigned, void* self, void*, void* sql)
{
    const char* s = static_cast<const char*>(sql);
    while (*s == ' ' || *s == '\t' || *s == '\r' || *s == '\n')
        ++s;
    for (const char* word : {"DELETE", "ROLLBACK", "DROP", "CREATE", "ALTER"}) {
        if (qstrnicmp(s, word, qstrlen(word)) == 0) {
            ++static_cast<Connection*>(self)->m_anyChange;
            break;
        }
    }
    return 0;
}

quint64 Connection::changeCount(QLatin1StringView table) const
{
    const auto it = m_rowChanges.find(lowerName(table));
    return m_anyChange + (it == m_rowChanges.end() ? 0 : it->second);
}

// ---- Transaction ----

Transaction::Transaction(Connection& c) : m_c(c) { m_c.beginTransaction(); }

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_c.rollback();
        } catch (const DbError&) {
        }
    }
}

void Transaction::commit()
{
    m_c.commit();
    m_done = true;
}

} // namespace quorvane::db
