// Writes "PLU0UALL.csv" for 100,000 marked PLUs and, beside it, has the sqlite3 shell export the same
// columns of the same rows as CSV. Prints both times and their ratio (target: at most 2).

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "GenerateData.h"

#include "datafiles/PluDataFile.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"
#include "state/TwoLevelReader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace quorvane;

namespace {

constexpr int kPlus = 100000;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    bench::fillMarkedPlus();

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

    // Best of three passes of the writer (the first also saves the composed item-code data), each beside
    // a run of the shell.
    const bench::Timing best = bench::measure(&datafiles::TransPLUFTPfile, {QStringLiteral("-csv"), database, sql},
                                              shellOut);
    const qint64 bytes = QFileInfo(dir.filePath("temp/PLU0UALL.csv")).size();
    gDBConnection.close();

    std::printf("PLU data file, %d marked PLUs, a tenth with inherited bar formats: %.3f s (%lld bytes)\n", kPlus,
                best.ours, qlonglong(bytes));
    std::printf("  first pass, also saving the composed item-code data: %.3f s\n", best.first);
    std::printf("sqlite3 -csv of the same columns: %.3f s (%lld bytes)\n", best.shell,
                qlonglong(QFileInfo(shellOut).size()));
    std::printf("ratio %.2f (target at most 2.00): %s\n", best.ours / best.shell,
                best.ours / best.shell <= 2.0 ? "met" : "MISSED");
    return 0;
}
