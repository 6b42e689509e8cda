#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantMap>

#include "support/PluGenerator.h"

#include <memory>

namespace quorvane::test {

// A working database built from tests/data/codecs_schema.txt in a temporary folder and opened as the
// program's shared connection; closed and removed again at the end.
class CodecDb {
public:
    CodecDb();
    ~CodecDb();
    CodecDb(const CodecDb&) = delete;
    CodecDb& operator=(const CodecDb&) = delete;

    bool isOpen() const;
    QString error() const { return m_error; }
    QString path(const QString& relative) const; // inside the temporary folder
    // Builds the database empty again and reopens the connection, as a start-up does.
    bool rebuild();

private:
    QTemporaryDir m_dir;
    QString m_error;
};

// The base of a test whose every function runs on a fresh CodecDb, m_db, with the bar-format collections
// filled (fillEanCollections).
class CodecDbTest : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<CodecDb> m_db;

private slots:
    void init();
    void cleanup();
};

// The bar-format names (EAN_DISP: formats 0 to 19, flexible barcodes 1 to 9, REF), as the parameter file
// gives them in English; the definitions are eanEditEntries() of PluGenerator.h.
QStringList eanDispEntries();
// Fills gParEANEdit and gParEANDisp with them.
void fillEanCollections();

// Adds a row to the table and returns its rowid.
qint64 addRow(const QString& table, const QVariantMap& values);
// All fields of a row, by field name as the schema spells it.
QVariantMap rowValues(const QString& table, qint64 rowid);
// The rowids of a table in stored order.
QList<qint64> rowIds(const QString& table);
// Sets fields of a row.
void updateRow(const QString& table, qint64 rowid, const QVariantMap& values);

// Makes the writes a trigger clause names fail ("BEFORE INSERT ON KVB_41 WHEN NEW.Number = 59"), as a refusing
// database fails them, while the object lives: a temporary trigger on the shared connection aborts them, and goes
// again with the object. A check that fails returns from the test function early, and the trigger goes then too: no
// later test function finds its writes failing. An empty clause fails nothing.
class FailingWrites {
public:
    explicit FailingWrites(const QString& clause);
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    // The writes succeed again from here on.
    void drop();

private:
    QString m_name;
};

inline QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

} // namespace quorvane::test
