#include "datafiles/GroupDataFiles.h"

#include "datafiles/DataFileWriters.h"

namespace quorvane::datafiles {

void TransDEPTFTPfile()
{
    writeMarkedRows(QStringLiteral("DEP0UALL.csv"), QStringLiteral("KVB_20"),
                    {QStringLiteral("DP_No"), QStringLiteral("DP_Name")}, [](MarkedRow& row, QByteArray& line) {
                        appendNumber(line, row.value(0).toLongLong());
                        line += ",,";
                        appendTextField(line, row.value(1).toString());
                    });
}

void TransMGFTPfile()
{
    writeMarkedRows(
        QStringLiteral("MGP0UALL.csv"), QStringLiteral("KVB_23"),
        {QStringLiteral("MG_No"), QStringLiteral("DP_No"), QStringLiteral("Tax_No"), QStringLiteral("MG_Name")},
        [](MarkedRow& row, QByteArray& line) {
            appendNumber(line, row.value(0).toLongLong());
            line += ",,";
            for (int field : {1, 2}) {
                appendNumber(line, row.value(field).toLongLong());
                line += ',';
            }
            appendTextField(line, row.value(3).toString());
        });
}

} // namespace quorvane::datafiles
