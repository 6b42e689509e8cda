#pragma once

#include "platform/Error.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace quorvane::db {

// Raised for every database failure: a failed statement, an unknown field, a value the field cannot hold.
class DbError : public Error {
public:
    using Error::Error;
};

enum class FieldKind { Number, Real, Text, Binary };

// What the schema declared for one field: SQLite keeps neither sizes nor strict types, so we do.
struct FieldInfo {
    QString name;
    FieldKind kind = FieldKind::Text;
    int typeCode = 10; // the schema file's type code
    int size = 0;      // declared size (text: greatest number of characters; 0 = unlimited)
    QVariant defaultValue;
};

// The declared column type written by the schema builder for a schema type code, and its reading back.
QString declaredTypeFor(int typeCode, int size);
FieldInfo fieldInfoFromDeclared(const QString& name, const QString& declaredType);

// Whether the database a statement was prepared on is still open: shared by the connection and its statements.
using OpenFlag = std::shared_ptr<const bool>;

// A prepared statement, reset and cleared when it goes out of scope so the cached handle can serve again. Once its
// database is closed it fails every step instead of touching the finalized handle, and its end leaves it alone: a
// loop may still hold one when the program's end closes the database.
class Statement {
public:
    Statement(sqlite3* db, sqlite3_stmt* stmt, OpenFlag open);
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    void bind(const QVariantList& params);
    void bindValue(int index0, const QVariant& value);
    // Typed binds for bulk work, without a QVariant per value; an empty text stays an empty text, never NULL.
    void bindInt64(int index0, qint64 value);
    void bindText(int index0, QByteArrayView utf8);
    void bindBlob(int index0, QByteArrayView bytes); // an empty array stays an empty value, never NULL
    void bindDouble(int index0, double value);
    void bindNull(int index0);
    // Makes the statement ready to run again with new values, so a bulk loop prepares it once.
    void reset();
    // The same, the values bound kept: for a loop that binds every value again.
    void resetKeepingValues();
    bool step(); // true while a row is available; throws on error
    int columnCount() const;
    QString columnName(int i) const;
    QVariant column(int i) const;
    qint64 columnInt(int i) const;
    // For bulk readers, without a QVariant per value: what the column holds in the current row, and a text's
    // UTF-8 bytes, valid until the next step or reset.
    enum class ColumnType { Integer = 1, Real, Text, Blob, Null }; // SQLite's own codes
    ColumnType columnType(int i) const;
    QByteArrayView columnUtf8(int i) const;
    // The column's type and value in one call, as a bulk reader of many columns wants it: the number of an
    // Integer, the number of a Real, the UTF-8 of a Text or the bytes of a Blob (valid until the next step).
    struct Column {
        ColumnType type = ColumnType::Null;
        qint64 integer = 0;
        double real = 0;
        QByteArrayView bytes;
    };
    Column columnValue(int i) const;

private:
    bool live() const { return m_stmt && *m_open; }
    sqlite3_stmt* checked() const;

    sqlite3* m_db;
    sqlite3_stmt* m_stmt;
    OpenFlag m_open;
};

// What the database holds of a value bound to a statement: Null, a whole number, a real, bytes or, for any other
// value, its text.
Statement::ColumnType boundType(const QVariant& v);

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file; a missing file is an error, never a new empty database.
    bool open(const QString& path, QString* error = nullptr);
    // Creates a new database file (the schema builder only).
    bool create(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    int state() const { return isOpen() ? 1 : 0; }
    QString path() const { return m_path; }

    Statement prepare(const QString& sql);
    void exec(const QString& sql, const QVariantList& params = {});
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    qint64 lastInsertRowId() const;

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    bool hasTable(const QString& table) const;
    QStringList tables() const; // in creation order
    // The table's fields in their order; throws for an unknown table. The name's spelling is the schema's.
    // Returned by value: a cache insert may move the cached lists, so a reference would not stay valid.
    QList<FieldInfo> fields(const QString& table) const;
    QString tableName(const QString& anyCase) const;

    // A count that grows whenever a row of the table may have changed through this connection (insert,
    // update, delete, a rollback, a schema change, a database opened); it never goes back, so a cache that
    // remembers the count it was filled at knows when to forget. Changes by other connections are not seen.
    quint64 changeCount(QLatin1StringView table) const;

private:
    void checkOpen() const;
    bool openFile(const QString& path, int flags, QString* error);
    void watchChanges();
    static void rowChanged(void* self, int operation, const char* database, const char* table, qint64 rowid);
    static int statementStarts(unsigned event, void* self, void* statement, void* sql);

    sqlite3* m_db = nullptr;
    std::shared_ptr<bool> m_open = std::make_shared<bool>(false); // this open's flag, given to its statements
    QString m_path;
    QHash<QString, sqlite3_stmt*> m_cache;
    mutable QHash<QString, QList<FieldInfo>> m_fields;     // keyed by lower-case table name
    std::unordered_map<std::string, quint64> m_rowChanges; // by lower-case table name
    // The entry of the table changed last: bulk work changes one table row after row.
    std::pair<const std::string, quint64>* m_lastChanged = nullptr;
    quint64 m_anyChange = 0; // what may have changed every table
};

// Keeps a transaction open until commit(); rolls back if left without committing.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    void commit();

private:
    Connection& m_c;
    bool m_done = false;
};

} // namespace quorvane::db
