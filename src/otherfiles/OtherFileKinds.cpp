#include "otherfiles/OtherFileKinds.h"

#include "datafiles/DataFileWriters.h"
#include "otherfiles/OtherFileRecords.h"
#include "platform/StateReset.h"
#include "platform/db/Recordset.h"
#include "state/SharedData.h"

namespace quorvane::otherfiles {

namespace {

// clang-format off
const QList<OtherFileKind> kKinds{
    {"KVB_3A", "No", "txtIngNo", "txtIngNextNo", "chkIng", "NameFirstLine", " ", false, 13, "cmdIng", "txtIngredient", nullptr},
    {"KVB_3B", "No", "txtSMsgNo", "txtSMsgNextNo", "chkSmsg", "NameFirstLine", " ", false, 14, "cmdSMsg", "txtSMsg", nullptr},
    {"KVB_3C", "No", "txtAdvNo", "txtAdvNextNo", "chkAdv", "NameFirstLine", " ", false, 15, "cmdAdv", "txtAdv", nullptr},
    {"KVB_3D", "No", "txtSNameNo", "txtSNameNextNo", "chkSname", "NameFirstLine", " ", false, 16, "cmdSName", "txtSName", nullptr},
    {"KVB_44", "Clerk_No", "combClerkNo", nullptr, "chkClerk", "Name", " ", false, 0, nullptr, nullptr, nullptr, 99},
    {"KVB_A8", "Code", "combTaxNo", nullptr, "chkTax", "Rate", "0", true, 0, nullptr, nullptr, nullptr, 9},
    {"KVB_AC", "Number", "combStockNo", nullptr, "chkStockFNKey", "Name", " ", false, 0, nullptr, nullptr, nullptr, 99},
    {"KVB_AD", "Number", "combPaymentNo", nullptr, "chkPaymentKey", "Name", " ", false, 0, nullptr, nullptr, nullptr, 9},
    {"KVB_AA", "Number", "txtDiscScheNo", "txtDiscScheNextNo", "chkDiscSch", "Disc_Type", "0", true, 0, nullptr, nullptr, "Frame1"},
    {"KVB_AB", "Number", "txtPriceScheNo", "txtPriceScheNextNo", "chkPriceSch", "NewUnitPrice", "0", true, 0, nullptr, nullptr, "Frame2"},
};
// clang-format on

// A test's stand-in clock; the system's after a reset of the program state.
std::function<QDateTime()> gClock;
const ResetWithState kResetClock([] { gClock = nullptr; });

} // namespace

const QList<OtherFileKind>& otherFileKinds() { return kKinds; }

const OtherFileKind* kindOf(const QString& name)
{
    for (const OtherFileKind& kind : kKinds)
        if (name == QLatin1String(kind.table) || name == QLatin1String(kind.numberControl)
            || name == QLatin1String(kind.sendBox))
            return &kind;
    return nullptr;
}

bool markForSending(const OtherFileKind& kind, bool ticked)
{
    const QVariant empty = kind.numericSendTest ? QVariant(QByteArray(kind.sendEmpty).toLongLong())
                                                : QVariant(QString::fromLatin1(kind.sendEmpty));
    db::Transaction transaction(gDBConnection);
    // The table and field come from the kinds' table, never from the operator.
    gDBConnection.exec(QStringLiteral("UPDATE %1 SET Is_Selected = CASE WHEN ? AND %2 <> ? THEN 1 ELSE 0 END")
                           .arg(QLatin1StringView(kind.table), QLatin1StringView(kind.sendField)),
                       {ticked ? 1 : 0, empty});
    const bool found = ticked
        && gDBConnection
               .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE Is_Selected = 1)")
                           .arg(QLatin1StringView(kind.table)))
               .toBool();
    transaction.commit();
    return !ticked || found;
}

QStringList filesToSend(const QStringList& tickedSendBoxes)
{
    QStringList files;
    for (const OtherFileKind& kind : kKinds)
        if (tickedSendBoxes.contains(QLatin1String(kind.sendBox)))
            files.append(datafiles::dataFileOf(kind.table));
    return files;
}

QDateTime otherFilesNow() { return gClock ? gClock() : QDateTime::currentDateTime(); }

void setOtherFilesClock(std::function<QDateTime()> now) { gClock = std::move(now); }

void saveDateTimeToSend() { SaveDateTimeRecord(otherFilesNow()); }

} // namespace quorvane::otherfiles
