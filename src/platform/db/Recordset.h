#pragma once

#include "platform/db/Connection.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

namespace quorvane::db {

// A cursor over the rows of a query, with the navigation and editing the windows expect.
// "SELECT * FROM <table> ..." queries are updatable: the recordset keeps the rows' rowids and reads a
// row when it becomes current, so it always shows what the one connection holds. Other queries are
// read once into memory and are read-only.
// Rows without ORDER BY come in stored order (rowid). Fields are reached case-insensitively by name,
// or by 0-based position in the table's field order. Edits of the current row are written by update(),
// or when the cursor moves on; close() drops edits that were never written.
class Recordset {
public:
    explicit Recordset(Connection* connection = nullptr) : m_conn(connection) { }
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    Connection* connection() const { return m_conn; }

    void open(const QString& sql, const QVariantList& params = {});
    void openTable(const QString& table);
    void close();
    bool isOpen() const { return m_open; }
    int state() const { return m_open ? 1 : 0; }

    bool bof() const;
    bool eof() const;
    int recordCount() const;
    int absolutePosition() const; // 0-based; -1 at BOF or EOF

    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    void move(int position); // to the 0-based position

    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int index) const;
    int fieldIndex(const QString& name) const; // -1 when there is no such field
    const FieldInfo& fieldInfo(int index) const;

    QVariant value(const QString& name) const;
    QVariant value(int index) const;
    bool isNull(const QString& name) const;
    // Convenience readers: a Null reads as 0, "" or an empty array.
    qint64 intValue(const QString& name) const;
    QString textValue(const QString& name) const;
    QByteArray bytesValue(const QString& name) const;

    // Values are converted to the field's kind and checked against its declared range and size.
    void setValue(const QString& name, const QVariant& value);
    void setValue(int index, const QVariant& value);
    void setNull(const QString& name) { setValue(name, QVariant()); }

    void addNew();
    void update();
    void cancelUpdate();
    void deleteCurrent();
    bool isEditing() const { return m_adding || !m_dirty.isEmpty(); }

    QString table() const { return m_table; }
    bool updatable() const { return !m_table.isEmpty(); }
    // Updatable: its rows' rowids in cursor order: the rows it opened on, with those added and less those
    // deleted through it.
    const QVector<qint64>& rowids() const { return m_rowids; }

private:
    void reset();
    void loadCurrent() const;
    void requireRow() const;
    void requireUpdatable() const;
    void commitPending();
    QVariant convert(int index, const QVariant& value) const;
    int checkedIndex(const QString& name) const;

    Connection* m_conn = nullptr;
    bool m_open = false;
    QString m_table; // set for updatable recordsets
    QList<FieldInfo> m_fields;
    QHash<QString, int> m_index;       // lower-case name to position
    QVector<qint64> m_rowids;          // updatable: rows in cursor order
    QVector<QVector<QVariant>> m_rows; // read-only: the rows themselves
    int m_pos = -1;
    bool m_afterDelete = false;

    mutable QVector<QVariant> m_current;
    mutable bool m_loaded = false;
    QList<int> m_dirty;
    bool m_adding = false;
};

} // namespace quorvane::db
