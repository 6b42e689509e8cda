#include "reports/ReportReset.h"

namespace quorvane::reports {

QStringList resetFileList(const ResetChoice& choice)
{
    QStringList files;
    if (choice.salesAll)
        files << QStringLiteral("SAT0UALL.csv");
    if (choice.salesDaily)
        files << QStringLiteral("SAT0UDLY.csv");
    if (choice.salesPeriod)
        files << QStringLiteral("SAT0UTRM.csv");
    if (choice.inventory)
        files << QStringLiteral("INV0UALL.csv");
    if (choice.stockRecord)
        files << QStringLiteral("STR0UALL.csv");
    if (choice.journal)
        files << QStringLiteral("RTB0UALL.csv") << QStringLiteral("RTT0UALL.csv");
    return files;
}

} // namespace quorvane::reports
