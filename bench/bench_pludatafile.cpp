// Writes "PLU0UALL.csv" for 100,000 marked PLUs and, beside it, has the sqlite3 shell export the same
// columns of the same rows as CSV. Prints both times and their ratio (target: at most 2).

#include "app/ProgramFolder.h"
#include "app/SchemaBuilder.h"
#include "app/SharedData.h"
#include "datafiles/PluDataFile.h"
#include "platform/text/Ansi.h"
#include "settings/TextCollections.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace quorvane;

namespace {

constexpr int kPlus = 100000;
constexpr int kStores = 10;
constexpr int kMainGroups = 100;

QByteArray block(int font, const QByteArray& text)
{
    return QByteArray(1, char(font)) + char(text.size()) + text + '\x0C';
}

void fill()
{
    db::Transaction tx(gDBConnection);
    for (int s = 1; s <= kStores; ++s) {
        gDBConnection.exec("INSERT INTO STORE (ST_No, ST_Name, Flag1, Flag2, barformat) VALUES (?,?,2,1,3)",
                           {s, QStringLiteral("Store %1").arg(s)});
        gDBConnection.exec("INSERT INTO KVB_20 (DP_No, DP_Name, Flag1, Flag2, barformat, ST_No) VALUES (1,'Fresh',16,16,255,?)", {s});
        for (int g = 0; g < kMainGroups; ++g)
            gDBConnection.exec("INSERT INTO KVB_23 (MG_No, MG_Name, Flag1, Flag2, barformat, ST_No, DP_No) VALUES (?,?,2,0,?,?,1)",
                               {g, QStringLiteral("Group %1").arg(g), g % 3 == 0 ? 255 : g % 19, s});
    }
    const QString insert = QStringLiteral(
        "INSERT INTO KVB_25 (PLU_No, ST_No, PLU_MG, PLU_UPrice, PLU_Tare, Stat2_PLUTare, PLU_BarFormat, PLU_EANFlags, "
        "PLU_EANItemCode, Stat2_ItemCode, Stat2_MGCode, PLU_TaxNo, Stat2_TaxNo, Stat2_Discount, PLU_Disc_SDate, "
        "PLU_Disc_STime, PLU_Disc_EDate, PLU_Disc_ETime, PLU_Disc_Type, PLU_DisDayOfWeek, PLU_Commodity, "
        "PLU_CommodityFirst, Stat2_Commodity, PLU_Description, Stat2_Description, Stat1_Unit, Is_Selected) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,1,1,1,?,10126,800,311226,2000,?,127,?,?,1,?,?,?,1)");
    for (int i = 0; i < kPlus; ++i) {
        const int plu = i + 1;
        const QByteArray name = "Article " + QByteArray::number(plu) + " fresh";
        const bool discount = i % 4 == 0;
        const bool description = i % 2 == 0;
        gDBConnection.exec(insert, {plu, i % kStores + 1, i % kMainGroups, 100 + i % 9000, i % 50, i % 50 ? 1 : 0,
                                    i % 10 == 0 ? 255 : i % 19, 21, QString::number(i % 100000), i % 3 ? 1 : 0,
                                    discount ? 1 : 0, discount ? 1 : 0, block(3, name), QString::fromLatin1(name),
                                    description ? block(2, "Best before the date on the label") : QByteArray(),
                                    description ? 1 : 0, i % 2});
    }
    tx.commit();
}

double seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Database");
    QDir(dir.path()).mkpath("temp");
    app::setProgramFolder(dir.path());
    const QString database = app::programPath(QLatin1String(app::paths::WorkingDatabase));
    if (app::BuildDatabaseFromSchema(QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt"), database, 0) != app::SchemaBuilt
        || !gDBConnection.open(database)) {
        std::fprintf(stderr, "cannot build the database\n");
        return 1;
    }
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    for (int f = 0; f < 20; ++f)
        gParEANEdit.add(QStringLiteral("E%1").arg(f), f == 0 ? QStringLiteral("0,0,10,") : QStringLiteral("1,1,5,"));
    fill();

    // The shell exports the source fields of the same marked rows, 45 columns and the two texts.
    const QString sql = QStringLiteral(
        "SELECT PLU_No, ST_No, Stat1_Unit, Stat1_PBPreUnit, Stat1_UPriceOV, Stat1_PricePriority, PLU_UPrice, "
        "PLU_EANFlags, PLU_EANData, PLU_BarFormat, PLU_MG, PLU_Tare, PLU_CoupledPLUNo, PLU_TaxNo, PLU_Tax2No, "
        "PLU_Disc_SDate, PLU_Disc_STime, PLU_Disc_EDate, PLU_Disc_ETime, PLU_Disc_1stLim, PLU_Disc_Within1stL, "
        "PLU_Disc_2ndLim, PLU_Disc_Within2ndL, PLU_Disc_Type, PLU_DisDayOfWeek, PLU_SPMessageNo, PLU_IngredientNo, "
        "PLU_DiscScheNo, PLU_PriScheNo, PLU_Commodity, PLU_Description, Stat1_MemPriceType, PLU_MemDisc1, "
        "PLU_MemDisc2, PLU_MemDisc3, PLU_MemDisc4, PLU_Cost, Stat1_NegativePLU, PLU_RSData, Stat2_ItemCode, "
        "Stat2_Discount, Stat2_Commodity, Stat2_Description, Stat2_MemDisc, Stat2_RSData "
        "FROM KVB_25 WHERE Is_Selected = 1");
    const QString shellOut = dir.filePath("shell.csv");

    double best = 1e9, bestShell = 1e9, first = 0;
    qint64 bytes = 0;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        datafiles::TransPLUFTPfile();
        best = qMin(best, seconds(t));
        if (round == 0)
            first = seconds(t); // also saves the composed item-code data of every row with an item code
        bytes = QFileInfo(dir.filePath("temp/PLU0UALL.csv")).size();

        QProcess shell;
        shell.setStandardOutputFile(shellOut);
        t.start();
        shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-csv"), database, sql});
        if (!shell.waitForFinished(120000) || shell.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 failed: %s\n", qPrintable(shell.errorString()));
            return 1;
        }
        bestShell = qMin(bestShell, seconds(t));
    }
    gDBConnection.close();

    const double ratio = best / bestShell;
    std::printf("PLU data file, %d marked PLUs: %.3f s (%lld bytes)\n", kPlus, best, qlonglong(bytes));
    std::printf("  first pass, saving the composed item-code data: %.3f s\n", first);
    std::printf("sqlite3 -csv of the same columns: %.3f s (%lld bytes)\n", bestShell, qlonglong(QFileInfo(shellOut).size()));
    std::printf("ratio %.2f (target at most 2.00): %s\n", ratio, ratio <= 2.0 ? "met" : "MISSED");
    return 0;
}
