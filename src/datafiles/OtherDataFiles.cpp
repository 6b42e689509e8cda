#include "datafiles/OtherDataFiles.h"

#include "datafiles/DataFileWriters.h"
#include "records/OtherRecords.h"

#include <QStringList>

#include <functional>
#include <initializer_list>

namespace quorvane::datafiles {

namespace {

// A field as the table holds it: a number as its decimal text, a text as its ANSI bytes, Null as nothing.
void appendField(QByteArray& line, const QVariant& value)
{
    if (value.isNull())
        return;
    if (value.typeId() == QMetaType::QString)
        appendTextField(line, value.toString());
    else
        appendNumber(line, value.toLongLong());
}

// The fields first to last of the row, each followed by a comma.
void appendFields(QByteArray& line, const MarkedRow& row, int first, int last)
{
    for (int i = first; i <= last; ++i) {
        appendField(line, row.value(i));
        line += ',';
    }
}

// The seven days of a mask, the bit of 64 first, each "1" or "0" and a comma. A Null mask counts as 0.
void appendDays(QByteArray& line, const QVariant& mask)
{
    const qint64 days = mask.toLongLong();
    for (int bit = 6; bit >= 0; --bit)
        line += (days >> bit & 1) ? "1," : "0,";
}

// Fields 1 to 4 of a schedule: start date and time, end date and time, each followed by a comma. A Null
// date or time counts as 0.
void appendScheduleSpan(QByteArray& line, const MarkedRow& row)
{
    for (const int date : {1, 3}) {
        appendSixDigitDate(line, row.value(date).toLongLong());
        line += ',';
        appendNumber(line, row.value(date + 1).toLongLong());
        line += ',';
    }
}

// The line of a text record after its No and NextNo: the lines of its text block, one a slot.
void appendTextSlots(QByteArray& line, const QByteArray& record, int lineCount)
{
    int s = 0;
    if (record.size() >= records::TextRecordHeadSize + 4) {
        for (qsizetype p = records::TextRecordHeadSize; s < lineCount;) {
            // Font code, length, text and separator must all lie inside the record.
            if (p + 1 >= record.size())
                break;
            const int n = quint8(record[p + 1]);
            const qsizetype separator = p + 2 + n;
            if (separator >= record.size())
                break;
            appendNumber(line, quint8(record[p]));
            line += ",\"";
            appendTextField(line, QByteArrayView(record).sliced(p + 2, n));
            line += "\",";
            ++s;
            if (record[separator] == '\x0C')
                break;
            p = separator + 1;
        }
    }
    for (; s < lineCount; ++s)
        line += "0,,";
    line.chop(1);
}

QStringList names(std::initializer_list<const char*> fields)
{
    QStringList out;
    for (const char* f : fields)
        out << QLatin1String(f);
    return out;
}

// The files whose line begins with the first field, then an empty one.
void writeKeyedFile(const char* table, std::initializer_list<const char*> fields,
                    const std::function<void(const MarkedRow&, QByteArray&)>& rest)
{
    writeTableFile(table, names(fields), [&rest](MarkedRow& row, QByteArray& line) {
        appendField(line, row.value(0));
        line += ",,";
        rest(row, line);
    });
}

} // namespace

void TransStrFTPfile(qint16 kind, qint16 lineCount)
{
    static const char* const tables[] = {"KVB_3A", "KVB_3B", "KVB_3C", "KVB_3D"};
    if (kind < 1 || kind > 4)
        return;
    writeKeyedFile(
        tables[kind - 1], {"No", "NextNo", "KVBBinData"}, [lineCount](const MarkedRow& row, QByteArray& line) {
            appendField(line, row.value(1));
            line += ',';
            const QVariant record = row.value(2);
            appendTextSlots(line, record.typeId() == QMetaType::QByteArray ? record.toByteArray() : QByteArray(),
                            lineCount);
        });
}

void TransSMFTPfile()
{
    writeKeyedFile("KVB_3F", {"Number", "Data"}, [](const MarkedRow& row, QByteArray& line) {
        appendField(line, row.value(1));
        line += ",0";
    });
}

void TransSSFTPfile()
{
    writeKeyedFile("KVB_40",
                   {"Number", "Group1", "File1", "Scroll1", "Speed1", "Group2", "File2", "Scroll2", "Speed2", "Group3",
                    "File3", "Scroll3", "Speed3"},
                   [](const MarkedRow& row, QByteArray& line) {
                       appendFields(line, row, 1, 12);
                       line.chop(1);
                   });
}

void TransDTFTPfile()
{
    writeTableFile("KVB_4E", {QStringLiteral("KVBBinData")}, [](MarkedRow& row, QByteArray& line) {
        const QByteArray record = row.value(0).toByteArray();
        if (record.size() < 14)
            throw DataFileError(QStringLiteral("The date and time to send is damaged: its record holds %1 of 14 bytes.")
                                    .arg(record.size()));
        line += "255,";
        // Year, month, day, hour, minute: packed decimal, so their hexadecimal digits are the
        // decimal ones.
        for (const int i : {9, 8, 7, 12, 13}) {
            line += ',';
            line += QByteArray::number(quint8(record[i]), 16).toUpper();
        }
    });
}

void TransCLERKFTPfile()
{
    writeKeyedFile("KVB_44", {"Clerk_No", "Name"}, [](const MarkedRow& row, QByteArray& line) {
        appendField(line, row.value(1));
        line += ",,";
    });
}

void TransTAXFTPfile()
{
    writeKeyedFile("KVB_A8", {"Code", "Name", "Rate", "Status"}, [](const MarkedRow& row, QByteArray& line) {
        appendFields(line, row, 1, 3);
        line.chop(1);
    });
}

void TransDSFTPfile()
{
    writeKeyedFile("KVB_AA",
                   {"Number", "Disc_SDate", "Disc_STime", "Disc_EDate", "Disc_ETime", "Disc_LimitType", "Disc_1stLim",
                    "Disc_Within1stL", "Disc_2ndLim", "Disc_Within2ndL", "Disc_Type", "DisDayOfWeek", "NextNumber"},
                   [](const MarkedRow& row, QByteArray& line) {
                       appendScheduleSpan(line, row);
                       appendFields(line, row, 5, 10);
                       appendDays(line, row.value(11));
                       appendField(line, row.value(12));
                   });
}

void TransPSFTPfile()
{
    writeKeyedFile("KVB_AB",
                   {"Number", "Price_SDate", "Price_STime", "Price_EDate", "Price_ETime", "PriceDayOfWeek",
                    "NewUnitPrice", "NextNumber"},
                   [](const MarkedRow& row, QByteArray& line) {
                       appendScheduleSpan(line, row);
                       appendDays(line, row.value(5));
                       appendFields(line, row, 6, 7);
                       line.chop(1);
                   });
}

void TransSTOCKFTPfile()
{
    writeKeyedFile("KVB_AC", {"Number", "Type", "Name", "Status"}, [](const MarkedRow& row, QByteArray& line) {
        appendFields(line, row, 1, 2);
        const qint64 status = row.value(3).toLongLong();
        for (const int bit : {1, 2, 4})
            line += (status & bit) ? "1," : "0,";
        // Both kind bits set name no kind: the field is left out and the line ends with its comma.
        const qint64 kind = status & 24;
        if (kind != 24)
            appendNumber(line, kind / 8);
    });
}

void TransPAYFTPfile()
{
    writeKeyedFile("KVB_AD", {"Number", "Name", "Status"}, [](const MarkedRow& row, QByteArray& line) {
        appendFields(line, row, 1, 1);
        const qint64 status = row.value(2).toLongLong();
        for (const int bit : {1, 2, 4, 8})
            line += (status & bit) ? "1," : "0,";
        line.chop(1);
    });
}

void TransBRFTPfile()
{
    writeKeyedFile("KVB_B5", {"Code", "Type", "StartNum", "EndNum"}, [](const MarkedRow& row, QByteArray& line) {
        appendFields(line, row, 1, 3);
        line.chop(1);
    });
}

} // namespace quorvane::datafiles
