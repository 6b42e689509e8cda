#pragma once

#include "records/OtherRecords.h"
#include "state/SharedData.h"

#include <QByteArray>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace quorvane::bench {

constexpr int kOtherFileRows = 100000;

// 100,000 ingredient texts of 15 lines (KVB_3A) and 100,000 discount schedules (KVB_AA), each with its record and
// marked for sending, numbered 1 up, in one transaction.
inline void fillOtherFiles()
{
    db::Transaction tx(gDBConnection);
    const QString text = QStringLiteral(
        "INSERT INTO KVB_3A (No, NextNo, NameFirstLine, Name, KVBBinData, Is_Selected) VALUES (?, ?, ?, ?, ?, 1)");
    for (int no = 1; no <= kOtherFileRows; ++no) {
        QByteArray block;
        for (int l = 1; l <= 15; ++l) {
            const QByteArray line = "Ingredient " + QByteArray::number(no) + ", line " + QByteArray::number(l);
            block += char(l % 4);
            block += char(line.size());
            block += line;
            block += l == 15 ? '\x0C' : '\x0D';
        }
        gDBConnection.exec(text,
                           {no, no % 7, QStringLiteral("Ingredient %1, line 1").arg(no), block,
                            records::KvbTextRecord(no, no % 7, block)});
    }
    const QString schedule = QStringLiteral(
        "INSERT INTO KVB_AA (Number, Disc_SDate, Disc_STime, Disc_EDate, Disc_ETime, Disc_LimitType, Disc_1stLim, "
        "Disc_Within1stL, Disc_2ndLim, Disc_Within2ndL, Disc_Type, DisDayOfWeek, NextNumber, KVBBinData, "
        "Is_Selected) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)");
    const QStringList fields{"Number",         "Disc_SDate",   "Disc_STime",      "Disc_EDate",  "Disc_ETime",
                             "Disc_LimitType", "Disc_1stLim",  "Disc_Within1stL", "Disc_2ndLim", "Disc_Within2ndL",
                             "Disc_Type",      "DisDayOfWeek", "NextNumber"};
    for (int n = 1; n <= kOtherFileRows; ++n) {
        const QVariantList v{
            n,       10027 + (n % 12 + 1) * 100, 800 + n % 60, 311227, 2359, n % 2, 500, n % 9999, 1000, 120, n % 7,
            n % 128, n % 3 ? n + 1 : 0};
        QVariantMap values;
        for (int i = 0; i < fields.size(); ++i)
            values.insert(fields[i], v[i]);
        gDBConnection.exec(schedule, v + QVariantList{records::KvbDiscScheduleRecord(values)});
    }
    tx.commit();
}

} // namespace quorvane::bench
