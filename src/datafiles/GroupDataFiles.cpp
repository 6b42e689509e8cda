#include "datafiles/GroupDataFiles.h"

#include "datafiles/DataFileWriters.h"

namespace quorvane::datafiles {

void TransDEPTFTPfile()
{
    writeTableFile("KVB_20", {QStringLiteral("DP_No"), QStringLiteral("DP_Name")},
                   [](MarkedRow& row, QByteArray& line) {
                       appendNumber(line, row.value(0).toLongLong());
                       line += ",,";
                       appendTextField(line, row.value(1).toString());
                   });
}

void TransMGFTPfile()
{
    writeTableFile(
        "KVB_23",
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

void TransFBFTPfile()
{
    const QStringList fields{
        QStringLiteral("FBar_No"),       QStringLiteral("FBar_Type"),      QStringLiteral("FBar_ItemDigitNo"),
        QStringLiteral("FBar_Data1"),    QStringLiteral("FBar_Data2"),     QStringLiteral("FBar_CD"),
        QStringLiteral("FBar_EANorITF"), QStringLiteral("FBar_Data1Type"), QStringLiteral("FBar_Data2Type"),
        QStringLiteral("FBar_Data1SH"),  QStringLiteral("FBar_Data2SH")};
    writeTableFile("KVB_14", fields, [](MarkedRow& row, QByteArray& line) {
        const auto number = [&row](int field) { return row.value(field).toLongLong(); };
        // Only the check-digit mode reaches the scale, not the EAN bit of a saved format.
        const qint64 mode = number(5) & 3;
        const qint64 values[] = {number(1), number(2), number(3), number(4), 0,         mode % 2,
                                 mode / 2,  number(6), number(7), number(8), number(9), number(10)};
        appendNumber(line, number(0));
        line += ',';
        for (qint64 value : values) {
            line += ',';
            appendNumber(line, value);
        }
    });
}

} // namespace quorvane::datafiles
