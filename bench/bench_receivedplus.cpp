// The review of 10,000 received PLUs: from opening frmUpload until its grid holds them and the record view shows
// record 0 (target: at most 3 times the sqlite3 shell selecting the same rows). Then their copy into a store: all
// marked, copied into a store holding 10,000 with half the numbers shared, overwriting them (target: at most 3 times
// the sqlite3 shell doing the same as one UPDATE and one INSERT ... SELECT in a transaction (with an index on the
// received numbers it builds and drops), on a copy of the database taken in the same run). Prints the best of three of
// each and their ratios. Offscreen: QT_QPA_PLATFORM=offscreen.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "BenchWindows.h"
#include "GenerateData.h"

#include "platform/ui/FlexGrid.h"
#include "plu/ReceivedPlus.h"
#include "plu/ui/frmUpload.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

#include <memory>

#include <cstdio>
#include <cstdlib>

using namespace quorvane;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    // The shipped texts, so the record view fills its lists as it does for the operator.
    QDir(dir.path()).mkpath(QStringLiteral("ini"));
    for (const char* file : {"ini/language.ini", "ini/ParameterPLU.ini"})
        QFile::copy(QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/") + QLatin1String(file),
                    dir.filePath(QLatin1String(file)));
    for (const TextCollectionSource& source : textCollectionSources())
        loadTextCollection(source, QStringLiteral("Standard"));
    bench::answerMessagesOk();
    constexpr int kPlus = 10000;
    bench::generateData(gDBConnection, {.stores = 1, .plus = kPlus});

    // Received: the store's PLUs renumbered from half-way up, so half the numbers are shared.
    const qint64 shift =
        gDBConnection.scalar(QStringLiteral("SELECT max(PLU_No) - min(PLU_No) + 1 FROM KVB_25")).toLongLong() / 2;
    gDBConnection.exec(QStringLiteral("INSERT INTO RC_25 SELECT * FROM KVB_25"));
    gDBConnection.exec(QStringLiteral("UPDATE RC_25 SET PLU_No=PLU_No+?, Is_Selected=0"), {shift});

    // The review: the window made and shown, its list filled and record 0 shown; closed untimed.
    std::unique_ptr<plu::frmUpload> window;
    int reviewed = 0;
    QString shownPLU;
    const bench::Timing review = bench::measure(
        [&] {
            window = std::make_unique<plu::frmUpload>();
            window->show();
            reviewed = ui::flexRows(window->findChild<QTableWidget*>(QStringLiteral("GridPLUUpload"))) - 1;
            shownPLU = window->findChild<QLineEdit*>(QStringLiteral("meditPLU"))->text();
        },
        {database, receivedListSql()}, dir.filePath(QStringLiteral("review.txt")), [&] { window.reset(); });
    window.reset();
    const QString firstPLU = gDBConnection.scalar(QStringLiteral("SELECT min(PLU_No) FROM RC_25")).toString();
    if (reviewed != kPlus || shownPLU != firstPLU) {
        std::fprintf(stderr, "the review listed %d PLUs and showed PLU %s, not %d and %s\n", reviewed,
                     qPrintable(shownPLU), kPlus, qPrintable(firstPLU));
        return 1;
    }
    const double reviewRatio = review.ours / review.shell;
    std::printf("received PLUs, the review of 10,000 until record 0 is shown: %.3f s; sqlite3 shell: %.3f s; ratio "
                "%.2f (target at most 3.00): %s\n",
                review.ours, review.shell, reviewRatio, reviewRatio <= 3.0 ? "met" : "MISSED");

    OpenReceivedList();
    const QVector<qint64> listed = gRsReceived.rowids();
    gDBConnection.exec(QStringLiteral("UPDATE RC_25 SET Is_Selected=1"));
    gDBConnection.exec(QStringLiteral("CREATE TABLE Base25 AS SELECT * FROM KVB_25"));
    const int expected = gDBConnection
                             .scalar(QStringLiteral("SELECT (SELECT count(*) FROM KVB_25) + (SELECT count(*) FROM "
                                                    "RC_25 WHERE PLU_No NOT IN (SELECT PLU_No FROM KVB_25))"))
                             .toInt();

    // The same copy in the shell: every field from the received row but the four the target sets.
    const QHash<QString, QString> fixed{{"ST_No", "1"}, {"PLU_MG", "12"}, {"Stat2_MGCode", "1"}, {"Is_Selected", "0"}};
    QStringList sets, values;
    for (const db::FieldInfo& f : gDBConnection.fields(QStringLiteral("KVB_25"))) {
        const QString value = fixed.value(f.name, QStringLiteral("r.") + f.name);
        sets << f.name + QLatin1Char('=') + value;
        values << value;
    }
    const QString shell = QStringLiteral(
                              "BEGIN;"
                              "CREATE INDEX RC_25_PLU_No ON RC_25 (PLU_No);"
                              "UPDATE KVB_25 SET %1 FROM RC_25 r WHERE KVB_25.ST_No=1 AND KVB_25.PLU_No=r.PLU_No;"
                              "INSERT INTO KVB_25 SELECT %2 FROM RC_25 r WHERE r.PLU_No NOT IN "
                              "(SELECT PLU_No FROM KVB_25 WHERE ST_No=1);"
                              "DROP INDEX RC_25_PLU_No;"
                              "COMMIT;")
                              .arg(sets.join(QLatin1Char(',')), values.join(QLatin1Char(',')));
    const QString copy = dir.filePath(QStringLiteral("shell.db"));

    int written = 0;
    const bench::Timing best = bench::measure(
        [&] {
            written =
                CopyReceivedPLUs(listed, {.store = QStringLiteral("1"), .mainGroup = QStringLiteral("12")}).written;
        },
        {copy, shell}, QProcess::nullDevice(),
        [&] {
            db::Transaction tx(gDBConnection);
            gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25"));
            gDBConnection.exec(QStringLiteral("INSERT INTO KVB_25 SELECT * FROM Base25"));
            tx.commit();
            bench::copyDatabase(database, copy);
        });
    const int rows = gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM KVB_25 WHERE ST_No=1")).toInt();
    if (written != kPlus || rows != expected) {
        std::fprintf(stderr, "copied %d, store holds %d PLUs, not %d\n", written, rows, expected);
        return 1;
    }
    const double ratio = best.ours / best.shell;
    std::printf("received PLUs, 10,000 copied into a store of 10,000: %.3f s; sqlite3 shell: %.3f s; ratio %.2f "
                "(target at most 3.00): %s\n",
                best.ours, best.shell, ratio, ratio <= 3.0 ? "met" : "MISSED");
    gRsReceived.close();
    gDBConnection.close();
    return 0;
}
