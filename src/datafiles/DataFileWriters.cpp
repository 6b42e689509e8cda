#include "datafiles/DataFileWriters.h"

#include "datafiles/GroupDataFiles.h"
#include "datafiles/OtherDataFiles.h"
#include "datafiles/PluDataFile.h"
#include "platform/Quoted.h"
#include "platform/events/EventPump.h"
#include "platform/text/Ansi.h"
#include "platform/text/FileWriter.h"
#include "platform/text/LineReader.h"
#include "platform/text/Paths.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <charconv>

namespace quorvane::datafiles {

QString dataFilePath(const QString& fileName)
{
    return programPath(QLatin1String(paths::TempFolder) + QLatin1Char('/') + fileName);
}

void makeTempFolder()
{
    const QString folder = programPath(QLatin1String(paths::TempFolder));
    if (!QDir().mkpath(folder))
        throw DataFileError(QStringLiteral("The folder %1 cannot be created.").arg(text::nativePath(folder)));
}

QStringList removeDataFiles(const QStringList& fileNames)
{
    QStringList left;
    for (const QString& name : fileNames) {
        QFile file(dataFilePath(name));
        if (file.exists() && !file.remove())
            left << name;
    }
    return left;
}

QList<QByteArray> readDataFileLines(const QString& fileName)
{
    QList<QByteArray> lines;
    QString error;
    if (!text::readFileLines(dataFilePath(fileName), &lines, &error))
        throw DataFileError(error);
    return lines;
}

QString UnreadLines::text() const
{
    return count == 1 ? QStringLiteral("an empty line; the line after it was not read")
                      : QStringLiteral("an empty line; the %1 lines after it were not read").arg(count);
}

LoaderLines readLoaderLines(const QString& fileName)
{
    LoaderLines file{readDataFileLines(fileName), {}};
    QList<QByteArray>& lines = file.lines;
    const qsizetype end = std::find_if(lines.cbegin(), lines.cend(), [](const QByteArray& l) { return l.isEmpty(); })
        - lines.cbegin();
    if (end == lines.size())
        return file;
    file.unread.count = std::count_if(lines.cbegin() + end, lines.cend(),
                                      [](const QByteArray& l) { return !l.isEmpty(); });
    if (file.unread.count > 0)
        file.unread.emptyLine = end + 1;
    lines.resize(end);
    return file;
}

void appendRows(const std::function<void()>& load)
{
    db::Transaction transaction(gDBConnection);
    try {
        load();
    } catch (...) {
        transaction.commit();
        throw;
    }
    transaction.commit();
}

void appendNumber(QByteArray& line, qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, end - digits);
}

void appendSixDigitDate(QByteArray& line, qint64 date)
{
    for (const qint64 part : {date % 100, date % 10000 / 100, date / 10000}) {
        if (part >= 0 && part <= 9)
            line += '0';
        appendNumber(line, part);
    }
}

void appendTextField(QByteArray& line, QByteArrayView ansiBytes)
{
    // Safe byte by byte: neither windows-1252 nor GBK uses 13 or 10 inside a character.
    const qsizetype start = line.size();
    line.append(ansiBytes);
    for (qsizetype i = start; i < line.size(); ++i)
        if (line[i] == '\r' || line[i] == '\n')
            line[i] = ' ';
}

void appendTextField(QByteArray& line, const QString& text)
{
    bool ok = true;
    const QByteArray bytes = text::toAnsi(text, &ok);
    if (!ok)
        throw DataFileError(
            QStringLiteral("\"%1\" holds a character that code page %2 cannot hold.").arg(text, text::ansiCodePage()));
    appendTextField(line, QByteArrayView(bytes));
}

namespace {

void writeOrThrow(text::FileWriter& file, const QByteArray& bytes)
{
    if (file.write(bytes) != bytes.size())
        throw DataFileError(file.failure());
}

// The preset keys of the marked rows: the page and the key within it come from Number, 24 keys a page
// whatever the layout of the sheet, as the scales read the file.
void TransPKFTPfile()
{
    writeTableFile("KVB_41", {QStringLiteral("Number"), QStringLiteral("Key_Switch"), QStringLiteral("Status")},
                   [](MarkedRow& row, QByteArray& line) {
                       const qint64 number = row.value(0).toLongLong();
                       const int page = number <= 24 ? 0 : number <= 48 ? 1 : 2;
                       appendNumber(line, page);
                       line += ',';
                       appendNumber(line, number - 24 * page);
                       line += ",,";
                       appendNumber(line, row.value(1).toLongLong());
                       line += ',';
                       appendNumber(line, row.value(2).toLongLong());
                   });
}

} // namespace

bool writeMarkedRows(const QString& fileName, const QString& table, const QStringList& fields,
                     const LineBuilder& buildLine)
{
    const QString tableName = gDBConnection.tableName(table);
    if (tableName.isEmpty())
        throw db::DbError(QStringLiteral("There is no table %1.").arg(table));
    // The rows as a recordset serve the count and the saving of changed rows; the lines are built from one
    // forward pass over the same rows in the same order, reading only the fields the writer needs.
    db::Recordset rows(&gDBConnection);
    rows.open(QStringLiteral("Select * from ") + tableName + QStringLiteral(" where Is_Selected = 1"));
    if (rows.recordCount() <= 0)
        return false;
    for (const QString& field : fields)
        if (rows.fieldIndex(field) < 0)
            throw db::DbError(QStringLiteral("There is no field %1 in %2.").arg(field, tableName));

    // An old file must not stay behind when this one cannot be written.
    const QString path = dataFilePath(fileName);
    if (QFile old(path); old.exists() && !old.remove())
        throw DataFileError(QStringLiteral("%1 cannot be written: %2").arg(text::nativePath(path), old.errorString()));
    text::FileWriter file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DataFileError(file.failure());

    try {
        QList<RowChange> changes;
        {
            QStringList columns{QStringLiteral("rowid")};
            for (const QString& field : fields)
                columns << quoted(rows.fieldName(rows.fieldIndex(field)));
            db::Statement pass = gDBConnection.prepare(
                QStringLiteral("SELECT %1 FROM %2 WHERE Is_Selected = 1 ORDER BY rowid")
                    .arg(columns.join(QLatin1Char(',')), quoted(tableName)));
            static const QByteArray lineEnd("\r\n", 2);
            EventPump pump;
            QByteArray line;
            for (int position = 0; pass.step(); ++position) {
                line.clear();
                MarkedRow row(pass, fields, position, changes);
                buildLine(row, line);
                writeOrThrow(file, line);
                writeOrThrow(file, lineEnd);
                pump();
            }
        }
        if (!file.commit())
            throw DataFileError(file.failure());
        // Saved in one go after the pass, so no transaction stays open while the event pump runs.
        if (!changes.isEmpty()) {
            db::Transaction transaction(gDBConnection);
            for (const RowChange& change : std::as_const(changes)) {
                if (rows.absolutePosition() != change.position)
                    rows.move(change.position);
                rows.setValue(change.field, change.value);
            }
            rows.update();
            transaction.commit();
        }
        rows.close();
    } catch (...) {
        // A half-written file never takes the file's place, and never reaches a scale; the changed rows of a
        // file that was written are saved, or the file goes.
        QFile::remove(path);
        throw;
    }
    return true;
}

bool writeTableFile(const char* table, const QStringList& fields, const LineBuilder& buildLine)
{
    return writeMarkedRows(dataFileOf(table), QLatin1String(table), fields, buildLine);
}

const QList<DataFileKind>& dataFileCatalogue()
{
    // The writers of the other kinds come with their editors; until then their files are never written.
    // clang-format off
    static const QList<DataFileKind> catalogue{
        {"PLU0UALL.csv", "KVB_25", &TransPLUFTPfile},
        {"ING0UALL.csv", "KVB_3A", &TransStrFTPfileOf<1, 15>},
        {"SPM0UALL.csv", "KVB_3B", &TransStrFTPfileOf<2, 8>},
        {"ADV0UALL.csv", "KVB_3C", &TransStrFTPfileOf<3, 4>},
        {"SHP0UALL.csv", "KVB_3D", &TransStrFTPfileOf<4, 4>},
        {"DEP0UALL.csv", "KVB_20", &TransDEPTFTPfile},
        {"MGP0UALL.csv", "KVB_23", &TransMGFTPfile},
        {"KAS0UALL.csv", "KVB_41", &TransPKFTPfile},
        {"FLB0UALL.csv", "KVB_14", &TransFBFTPfile},
        {"SCM0UALL.csv", "KVB_3F", &TransSMFTPfile},
        {"SCS0UALL.csv", "KVB_40", &TransSSFTPfile},
        {"DAT0UALL.csv", "KVB_4E", &TransDTFTPfile},
        {"OPE0UALL.csv", "KVB_44", &TransCLERKFTPfile},
        {"TAX0UALL.csv", "KVB_A8", &TransTAXFTPfile},
        {"SCH0UALL.csv", "KVB_AA", &TransDSFTPfile},
        {"PCS0UALL.csv", "KVB_AB", &TransPSFTPfile},
        {"SFK0UALL.csv", "KVB_AC", &TransSTOCKFTPfile},
        {"PAK0UALL.csv", "KVB_AD", &TransPAYFTPfile},
        {"BAR0UALL.csv", "KVB_B5", &TransBRFTPfile},
    };
    // clang-format on
    return catalogue;
}

QString dataFileOf(const char* table)
{
    for (const DataFileKind& kind : dataFileCatalogue())
        if (qstrcmp(kind.table, table) == 0)
            return QLatin1String(kind.fileName);
    qFatal("The catalogue of data files has no file of table %s", table);
}

QList<WriterFailure> writeListedDataFiles(const QStringList& fileNames)
{
    QList<WriterFailure> failures;
    for (const QString& name : fileNames) {
        for (const DataFileKind& kind : dataFileCatalogue()) {
            if (name != QLatin1String(kind.fileName))
                continue;
            if (kind.writer) {
                try {
                    kind.writer();
                } catch (const std::exception& e) {
                    failures.append({name, QString::fromStdString(e.what())});
                }
            }
            break;
        }
    }
    return failures;
}

} // namespace quorvane::datafiles
