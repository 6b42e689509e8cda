// Encodes and decodes generated PLU records, and times the scale-record dump of them at exit and their reload
// with the text dumps at start-up beside the sqlite3 shell importing the same rows. Argument: the number of
// PLUs (100,000 by default). Each figure is the best of three rounds, on the one processor the benchmark
// started on, as the shell's are.

#include "../tests/support/PluGenerator.h"
#include "BenchTiming.h"
#include "app/DumpSet.h"
#include "app/SchemaBuilder.h"
#include "app/TableDumps.h"
#include "records/PluRecord.h"
#include "records/PluRow.h"
#include "records/ScaleRecordDumps.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using quorvane::bench::seconds;

using namespace quorvane;
using namespace quorvane::records;

namespace {

constexpr int Rounds = 3;

const QString kSchema = QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt");

[[noreturn]] void die(const QString& why)
{
    std::fprintf(stderr, "bench_codecs: %s\n", qPrintable(why));
    std::exit(1);
}

void buildDatabase(const QString& path)
{
    gRsWork.close();
    gDBConnection.close();
    app::SchemaBuildError e;
    if (app::BuildDatabaseFromSchema(kSchema, path, 0, &e) != app::SchemaBuilt)
        die(e.message);
    QString error;
    if (!gDBConnection.open(path, &error))
        die(error);
}

// The value a field of a new row holds when the generator does not set it.
QVariant valueOf(const QVariantMap& p, plu::Field f)
{
    const QString name = QLatin1String(plu::name(f));
    if (p.contains(name))
        return p.value(name);
    if (f == plu::PLU_Commodity || f == plu::PLU_Description || f == plu::KVBBinData)
        return QVariant();
    if (f == plu::PLU_EANItemCode || f == plu::PLU_EANData || f == plu::PLU_CommodityFirst)
        return QString();
    return 0;
}

void insertRows(const QString& table, const QList<QVariantMap>& rows)
{
    for (const QVariantMap& r : rows) {
        QStringList cols, marks;
        QVariantList values;
        for (auto it = r.constBegin(); it != r.constEnd(); ++it) {
            cols << it.key();
            marks << QStringLiteral("?");
            values << it.value();
        }
        gDBConnection.exec(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(','), marks.join(',')), values);
    }
}

QString sqlLiteral(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QByteArray)
        return QStringLiteral("X'%1'").arg(QString::fromLatin1(v.toByteArray().toHex()));
    if (v.typeId() == QMetaType::QString)
        return QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    return v.toString();
}

// A 64-bit FNV-1a hash of the bytes, carried on from `hash`: the records' digest shows a rework of the codecs
// keeps every byte.
quint64 fnv1a(const QByteArray& bytes, quint64 hash = 0xcbf29ce484222325ull)
{
    for (char c : bytes)
        hash = (hash ^ quint8(c)) * 0x100000001b3ull;
    return hash;
}

QString csvField(const QVariant& v)
{
    const QString s = v.typeId() == QMetaType::QByteArray ? QString::fromLatin1(v.toByteArray().toHex()) : v.toString();
    return QLatin1Char('"') + QString(s).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::pinToOneProcessor();
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    if (!dir.isValid())
        die(QStringLiteral("no temporary folder"));
    const QString database = dir.filePath(QStringLiteral("work.mdb"));
    const QStringList edit = test::eanEditEntries();
    for (int i = 0; i < edit.size(); ++i)
        gParEANEdit.add(QStringLiteral("E%1").arg(i), edit[i]);

    // The data set, and the same rows as the shell's input.
    buildDatabase(database);
    for (const auto& [table, values] : test::generatorLevels())
        insertRows(table, {values});
    QFile sql(dir.filePath(QStringLiteral("plus.sql"))), csv(dir.filePath(QStringLiteral("plus.csv")));
    if (!sql.open(QIODevice::WriteOnly) || !csv.open(QIODevice::WriteOnly))
        die(QStringLiteral("cannot write the shell's input"));
    sql.write("BEGIN;\n");
    {
        QStringList columns;
        for (int f = 0; f < plu::Count; ++f)
            columns << QLatin1String(plu::name(plu::Field(f)));
        QStringList marks(plu::Count, QStringLiteral("?"));
        const QString insert =
            QStringLiteral("INSERT INTO KVB_25 (%1) VALUES (%2)").arg(columns.join(','), marks.join(','));
        db::Transaction tx(gDBConnection);
        QRandomGenerator gen(1);
        for (int n = 0; n < count; ++n) {
            const QVariantMap p = test::generatePlu(gen, 1 + n);
            QVariantList values;
            QStringList sqlValues, csvValues;
            for (int f = 0; f < plu::Count; ++f) {
                values << valueOf(p, plu::Field(f));
                sqlValues << sqlLiteral(values.last());
                csvValues << csvField(values.last());
            }
            gDBConnection.exec(insert, values);
            sql.write(QStringLiteral("INSERT INTO KVB_25 VALUES(%1);\n").arg(sqlValues.join(',')).toUtf8());
            csv.write((csvValues.join(',') + QLatin1Char('\n')).toUtf8());
        }
        tx.commit();
    }
    sql.write("COMMIT;\n");
    sql.close();
    csv.close();

    // Record speed, away from the database.
    std::vector<PluRow> rows;
    rows.reserve(count);
    {
        db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT * FROM KVB_25 ORDER BY rowid"));
        while (st.step()) {
            PluRow r;
            for (int f = 0; f < plu::Count; ++f)
                r.load(plu::Field(f), st.column(f));
            rows.push_back(r);
        }
    }
    // Each figure is the best of three rounds, as the machine's other work comes and goes.
    std::vector<QByteArray> records(rows.size());
    QElapsedTimer t;
    double encodeTime = 1e9, decodeTime = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        std::vector<PluRow> copies = rows; // the encoder refreshes some fields of its row
        t.start();
        for (size_t i = 0; i < copies.size(); ++i)
            records[i] = encodePluRecord(copies[i], false);
        encodeTime = std::min(encodeTime, seconds(t));
    }
    quint64 digest = fnv1a(QByteArray());
    for (const QByteArray& r : records)
        digest = fnv1a(r, digest);
    for (int round = 0; round < Rounds; ++round) {
        std::vector<PluRow> fresh(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            fresh[i].load(plu::PLU_No, rows[i].value(plu::PLU_No));
            fresh[i].load(plu::ST_No, 1);
            fresh[i].load(plu::KVBBinData, records[i]);
        }
        t.start();
        int decoded = 0;
        for (PluRow& r : fresh)
            decoded += decodePluRecord(r).outcome == PluDecodeResult::Decoded ? 1 : 0;
        decodeTime = std::min(decodeTime, seconds(t));
        if (decoded != count)
            die(QStringLiteral("%1 records did not decode").arg(count - decoded));
    }
    rows.clear();

    // Exit and start-up: the dumps of the rows, then the reload into a rebuilt database. The rows hold no
    // records for the first dump, and the records it writes for the second.
    QDir().mkpath(dir.filePath(QStringLiteral("a")));
    QDir().mkpath(dir.filePath(QStringLiteral("b")));
    QString error;
    QStringList notes;
    // The exit seals each file it writes; the time the checksums take is told apart.
    app::DumpSeals seals;
    double sealTime = 0;
    qint64 sealed = 0;
    const records::DumpWritten seal = [&, sealInto = app::sealInto(&seals)](const QString& file, QByteArrayView bytes) {
        QElapsedTimer s;
        s.start();
        sealInto(file, bytes);
        sealTime += seconds(s);
        sealed += bytes.size();
    };
    auto save = [&](const QString& to, const QString& current) {
        sealTime = 0;
        sealed = 0;
        t.start();
        if (!SaveBinDataToFiles(dir.filePath(to), current.isEmpty() ? QString() : dir.filePath(current), &notes, &error,
                                {}, seal))
            die(error);
        const double time = seconds(t);
        if (!notes.isEmpty())
            die(notes.join('\n'));
        return time;
    };
    double firstSaveTime = 1e9, saveTime = 1e9, saveSealTime = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET KVBBinData = NULL"));
        firstSaveTime = std::min(firstSaveTime, save(QStringLiteral("a"), QString()));
    }
    {
        db::Transaction tx(gDBConnection);
        qint64 n = 0;
        for (const QByteArray& r : records)
            gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET KVBBinData = ? WHERE rowid = ?"), {r, ++n});
        tx.commit();
    }
    for (int round = 0; round < Rounds; ++round) {
        saveTime = std::min(saveTime, save(QStringLiteral("b"), QStringLiteral("a")));
        saveSealTime = std::min(saveSealTime, sealTime);
    }
    const qint64 sealedBytes = sealed;

    // The start-up step: the text dumps an exit writes beside the records, then the records, into a new
    // database, each PLU row written once, whole.
    app::DumpRowCounts rowCounts;
    if (!app::SaveTablesToText(dir.filePath(QStringLiteral("b")), &error, &rowCounts, seal)
        || !app::markDumpSetComplete(dir.filePath(QStringLiteral("b")), rowCounts, seals, &error))
        die(error);
    // What a start checks before the reload: each file against the size and checksum its marker lists.
    double checkTime = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        t.start();
        if (!app::checkDumpSet(dir.filePath(QStringLiteral("b"))).damaged.isEmpty())
            die(QStringLiteral("the sealed set does not pass its check"));
        checkTime = std::min(checkTime, seconds(t));
    }
    double loadTime = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        buildDatabase(database);
        t.start();
        {
            HeldPluRows plus;
            db::Transaction tx(gDBConnection);
            if (!app::LoadTablesFromText(dir.filePath(QStringLiteral("b")), &error, {}, nullptr, &plus)
                || !LoadBinDataFromFiles(dir.filePath(QStringLiteral("b")), &notes, &error, nullptr, &plus))
                die(error);
            tx.commit();
        }
        loadTime = std::min(loadTime, seconds(t));
        if (!notes.isEmpty())
            die(notes.join('\n'));
    }
    // The reloaded rows, each value with its type, so a value stored as text where it was a number shows.
    quint64 rowsDigest = fnv1a(QByteArray());
    for (db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT * FROM KVB_25 ORDER BY rowid")); st.step();)
        for (int f = 0; f < st.columnCount(); ++f) {
            const QVariant v = st.column(f);
            rowsDigest = fnv1a(QByteArray::number(v.isNull() ? 0 : v.typeId()) + ':'
                                   + (v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8())
                                   + ';',
                               rowsDigest);
        }
    QFile dumped(dir.filePath(QStringLiteral("b/") + recordDumpFile(QStringLiteral("KVB_25"))));
    if (!dumped.open(QIODevice::ReadOnly))
        die(QStringLiteral("the exit dump of the PLUs cannot be read"));
    const quint64 dumpDigest = fnv1a(dumped.readAll());
    gRsWork.close();
    gDBConnection.close();

    // The sqlite3 shell importing the same rows into the same schema.
    double shellSql = 1e9, shellCsv = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        buildDatabase(database);
        gDBConnection.close();
        shellSql = std::min(shellSql, bench::timeShell({database}, QProcess::nullDevice(), sql.fileName()));
        buildDatabase(database);
        gDBConnection.close();
        shellCsv = std::min(shellCsv,
                            bench::timeShell({database, QStringLiteral(".import --csv %1 KVB_25").arg(csv.fileName())},
                                             QProcess::nullDevice()));
    }

    const double restart = saveTime + loadTime;
    std::printf("PLU records: %d\n", count);
    std::printf("digest of the records        %016llx\n", static_cast<unsigned long long>(digest));
    std::printf("digest of the exit dump      %016llx\n", static_cast<unsigned long long>(dumpDigest));
    std::printf("digest of the reloaded rows  %016llx\n", static_cast<unsigned long long>(rowsDigest));
    std::printf("encode                      %8.3f s  %10.0f records/s\n", encodeTime, count / encodeTime);
    std::printf("decode                      %8.3f s  %10.0f records/s\n", decodeTime, count / decodeTime);
    std::printf("exit dump, every record new %8.3f s\n", firstSaveTime);
    std::printf("exit dump                   %8.3f s  of which checksums %.3f s (%.1f%%, %.1f MB)\n", saveTime,
                saveSealTime, 100 * saveSealTime / saveTime, sealedBytes / 1e6);
    std::printf("check of the sealed set     %8.3f s\n", checkTime);
    std::printf("start-up reload             %8.3f s\n", loadTime);
    std::printf("restart (dump + reload)     %8.3f s\n", restart);
    std::printf("sqlite3 shell, SQL inserts  %8.3f s  restart/shell %.2f\n", shellSql, restart / shellSql);
    std::printf("sqlite3 shell, .import csv  %8.3f s  restart/shell %.2f\n", shellCsv, restart / shellCsv);
    return 0;
}
