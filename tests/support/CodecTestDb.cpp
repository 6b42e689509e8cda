#include "CodecTestDb.h"

#include "app/SchemaBuilder.h"
#include "records/PluRecord.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QFile>
#include <QtTest>

namespace quorvane::test {

namespace {

QString schemaFile() { return QStringLiteral(QUORVANE_TEST_DATA_DIR "/codecs_schema.txt"); }

void closeShared()
{
    gRsWork.close();
    gRsPLU.close();
    gDBConnection.close();
}

} // namespace

CodecDb::CodecDb() { rebuild(); }

CodecDb::~CodecDb()
{
    closeShared();
    records::ClearBarFormatMemories();
}

bool CodecDb::isOpen() const { return gDBConnection.isOpen(); }

QString CodecDb::path(const QString& relative) const { return m_dir.filePath(relative); }

bool CodecDb::rebuild()
{
    closeShared();
    records::ClearBarFormatMemories();
    // Built from the schema once a run, then copied: a test case starts from an empty database in a
    // millisecond instead of building one.
    static QTemporaryDir templateDir;
    static QString templateError;
    const QString built = templateDir.filePath(QStringLiteral("template.mdb"));
    if (!QFile::exists(built) && templateError.isEmpty()) {
        app::SchemaBuildError e;
        if (app::BuildDatabaseFromSchema(schemaFile(), built, 0, &e) != app::SchemaBuilt)
            templateError = e.message.isEmpty() ? QStringLiteral("The schema cannot be built.") : e.message;
    }
    if (!templateError.isEmpty()) {
        m_error = templateError;
        return false;
    }
    const QString db = path(QStringLiteral("work.mdb"));
    QFile::remove(db);
    if (!QFile::copy(built, db) || !QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner)) {
        m_error = QStringLiteral("%1 cannot be copied to %2.").arg(built, db);
        return false;
    }
    if (!gDBConnection.open(db, &m_error))
        return false;
    // What a test checks never depends on the disk having synced; thousands of small writes then take
    // milliseconds instead of seconds.
    gDBConnection.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    return true;
}

QStringList eanDispEntries()
{
    QStringList out;
    const QStringList edit = eanEditEntries();
    for (int f = 0; f < edit.size(); ++f)
        out << QStringLiteral("%1 %2").arg(f, 2, 10, QLatin1Char('0')).arg(edit[f].section(QLatin1Char(','), 3));
    for (int n = 1; n <= 9; ++n)
        out << QStringLiteral("%1 Flexible barcode %2").arg(19 + n).arg(n);
    out << QStringLiteral("-- Inherited");
    return out;
}

void fillEanCollections()
{
    gParEANEdit.clear();
    gParEANDisp.clear();
    const QStringList edit = eanEditEntries();
    for (int i = 0; i < edit.size(); ++i)
        gParEANEdit.add(QStringLiteral("E%1").arg(i), edit[i]);
    const QStringList disp = eanDispEntries();
    for (int i = 0; i < disp.size(); ++i)
        gParEANDisp.add(i + 1 == disp.size() ? QStringLiteral("REF") : QStringLiteral("B%1").arg(i), disp[i]);
}

void CodecDbTest::init()
{
    m_db = std::make_unique<CodecDb>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->error()));
    fillEanCollections();
}

void CodecDbTest::cleanup() { m_db.reset(); }

qint64 addRow(const QString& table, const QVariantMap& values)
{
    db::Recordset rs(&gDBConnection);
    rs.open(QStringLiteral("SELECT * FROM %1 WHERE rowid=-1").arg(gDBConnection.tableName(table)));
    rs.addNew();
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        rs.setValue(it.key(), it.value());
    rs.update();
    return gDBConnection.lastInsertRowId();
}

QVariantMap rowValues(const QString& table, qint64 rowid)
{
    db::Recordset rs(&gDBConnection);
    rs.open(QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(gDBConnection.tableName(table)), {rowid});
    QVariantMap out;
    if (rs.eof())
        return out;
    for (int i = 0; i < rs.fieldCount(); ++i)
        out.insert(rs.fieldName(i), rs.value(i));
    return out;
}

QList<qint64> rowIds(const QString& table)
{
    QList<qint64> out;
    db::Statement st = gDBConnection.prepare(
        QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(gDBConnection.tableName(table)));
    while (st.step())
        out << st.columnInt(0);
    return out;
}

void updateRow(const QString& table, qint64 rowid, const QVariantMap& values)
{
    db::Recordset rs(&gDBConnection);
    rs.open(QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(gDBConnection.tableName(table)), {rowid});
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        rs.setValue(it.key(), it.value());
    rs.update();
}

FailingWrites::FailingWrites(const QString& clause)
{
    if (clause.isEmpty())
        return;
    static int made = 0; // every trigger its own name: a test may hold several
    m_name = QStringLiteral("failing_writes_%1").arg(++made);
    gDBConnection.exec(
        QStringLiteral("CREATE TEMP TRIGGER %1 %2 BEGIN SELECT RAISE(ABORT, 'refused'); END").arg(m_name, clause));
}

FailingWrites::~FailingWrites()
{
    try {
        drop();
    } catch (const db::DbError& e) {
        qWarning().noquote() << "A trigger that makes writes fail stays:" << e.message();
    }
}

void FailingWrites::drop()
{
    // A temporary trigger goes with its connection: one that is closed already has none left.
    if (!m_name.isEmpty() && gDBConnection.state() == 1)
        gDBConnection.exec(QStringLiteral("DROP TRIGGER IF EXISTS ") + m_name);
    m_name.clear();
}

} // namespace quorvane::test
