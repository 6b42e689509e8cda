// Times the two heavy paths of a restart, the dump of every table at shutdown and the reload of the text
// dumps at start-up, beside the sqlite3 shell exporting and importing the same rows in the same run.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "app/DumpSet.h"
#include "app/TableDumps.h"
#include "app/WorkingDatabase.h"
#include "platform/text/Ansi.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace quorvane;

namespace {

constexpr int Rounds = 5;

[[noreturn]] void die(const QString& why)
{
    std::fprintf(stderr, "bench_restart: %s\n", qPrintable(why));
    std::exit(1);
}

QString quoted(const QString& identifier) { return QLatin1Char('"') + identifier + QLatin1Char('"'); }

QString columnsOf(const app::TableDump& d)
{
    QStringList cols;
    for (const app::DumpField& f : d.fields)
        cols << quoted(f.name);
    return cols.join(QLatin1Char(','));
}

void buildWorkingDatabase()
{
    QString error;
    if (!bench::buildWorkingDatabase(&error))
        die(error);
}

qint64 dumpedRows()
{
    qint64 n = 0;
    for (const app::TableDump& d : app::tableDumps())
        n += gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(quoted(d.table))).toLongLong();
    return n;
}

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// Runs the sqlite3 shell on a database with a script on its standard input.
void shell(const QString& database, const QString& script)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), database});
    if (!p.waitForStarted())
        die(QStringLiteral("the sqlite3 shell cannot be started"));
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const QByteArray err = p.readAllStandardError();
    if (p.exitCode() != 0 || !err.isEmpty())
        die(QStringLiteral("sqlite3: %1").arg(QString::fromUtf8(err)));
}

// A database holding the dumped fields of every dumped table, as the shell's import target.
void createImportTarget(const QString& path, const QHash<QString, QList<db::FieldInfo>>& fields)
{
    QFile::remove(path);
    db::Connection c;
    QString error;
    if (!c.create(path, &error))
        die(error);
    for (const app::TableDump& d : app::tableDumps()) {
        QStringList cols;
        for (const db::FieldInfo& f : fields.value(d.table))
            cols << quoted(f.name) + QLatin1Char(' ') + db::declaredTypeFor(f.typeCode, f.size);
        c.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(d.table), cols.join(QLatin1Char(','))));
    }
}

void report(const char* what, double ours, const char* shellWhat, double reference)
{
    std::printf("%-28s ours %8.1f ms   sqlite3 shell %-7s %8.1f ms   ratio %.2f\n", what, ours, shellWhat, reference,
                ours / reference);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::pinToOneProcessor();
    QTemporaryDir dir;
    if (!dir.isValid())
        die(QStringLiteral("no temporary folder"));
    setProgramFolder(dir.path());
    QDir().mkpath(dir.filePath(QStringLiteral("Database")));
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    const QString dumps = dir.filePath(QStringLiteral("AccessData"));
    const QString csv = dir.filePath(QStringLiteral("csv"));
    QDir().mkpath(csv);

    buildWorkingDatabase();
    QElapsedTimer gen;
    gen.start();
    bench::generateData(gDBConnection);
    const qint64 rows = dumpedRows();
    const qint64 plus = gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25")).toLongLong();
    std::printf("data set: %lld rows in the 21 dumped tables, %lld PLUs (generated in %lld ms)\n", rows, plus,
                gen.elapsed());

    QHash<QString, QList<db::FieldInfo>> fields;
    for (const app::TableDump& d : app::tableDumps())
        for (const app::DumpField& f : d.fields)
            for (const db::FieldInfo& info : gDBConnection.fields(d.table))
                if (info.name.compare(f.name, Qt::CaseInsensitive) == 0)
                    fields[d.table] << info;

    // Dump at shutdown, and the shell exporting the same fields of the same rows.
    QString exportScript = QStringLiteral(".mode csv\n.headers off\n");
    for (const app::TableDump& d : app::tableDumps())
        exportScript += QStringLiteral(".once '%1/%2.csv'\nSELECT %3 FROM %4 ORDER BY rowid;\n")
                            .arg(csv, d.table, columnsOf(d), quoted(d.table));
    double dumpOurs = 1e300, dumpShell = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        QString error;
        app::DumpSeals seals; // as the exit seals what it writes
        dumpOurs = std::min(dumpOurs, timeMs([&] {
                                if (!app::SaveTablesToText(dumps, &error, nullptr, app::sealInto(&seals)))
                                    die(error);
                            }));
        dumpShell = std::min(dumpShell, timeMs([&] { shell(app::workingDatabasePath(), exportScript); }));
    }

    // Reload at start-up into a freshly built database, and the shell importing the exported rows.
    const QString importTarget = dir.filePath(QStringLiteral("Database/shell.db"));
    QString importScript = QStringLiteral(".mode csv\nBEGIN;\n");
    for (const app::TableDump& d : app::tableDumps())
        importScript += QStringLiteral(".import '%1/%2.csv' %2\n").arg(csv, d.table);
    importScript += QStringLiteral("COMMIT;\n");
    double loadOurs = 1e300, loadShell = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        buildWorkingDatabase();
        QString error;
        loadOurs = std::min(loadOurs, timeMs([&] {
                                if (!app::LoadTablesFromText(dumps, &error))
                                    die(error);
                            }));
        if (dumpedRows() != rows)
            die(QStringLiteral("the reload gave %1 rows, not %2").arg(dumpedRows()).arg(rows));
        createImportTarget(importTarget, fields);
        loadShell = std::min(loadShell, timeMs([&] { shell(importTarget, importScript); }));
    }
    app::CloseDatabase();

    std::printf("best of %d rounds\n", Rounds);
    report("reload of the text dumps", loadOurs, "import", loadShell);
    report("dump at shutdown", dumpOurs, "export", dumpShell);
    return 0;
}
