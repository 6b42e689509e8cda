#include "TransferFixture.h"


#include "app/ProgramFolder.h"
#include "app/SchemaBuilder.h"
#include "app/SharedData.h"
#include "settings/TextCollections.h"
#include "transfer/TransferSession.h"

#include <QDir>
#include <QFile>

namespace quorvane::test {

ProgramFolderFixture::~ProgramFolderFixture()
{
    gRsWork.close();
    gDBConnection.close();
}

bool ProgramFolderFixture::setUp(const QString& schemaPath)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    QDir root(m_dir.path());
    for (const char* folder : {"ini", "Database", "temp", "AccessData"})
        root.mkpath(QLatin1String(folder));
    app::setProgramFolder(m_dir.path());
    const QString schema = schemaPath.isEmpty() ? QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt") : schemaPath;
    const QString database = app::programPath(QLatin1String(app::paths::WorkingDatabase));
    app::SchemaBuildError error;
    if (app::BuildDatabaseFromSchema(schema, database, 0, &error) != app::SchemaBuilt) {
        m_error = QStringLiteral("schema: line %1: %2").arg(error.line).arg(error.message);
        return false;
    }
    return gDBConnection.open(database, &m_error);
}

QString ProgramFolderFixture::tempFile(const QString& name) const
{
    return m_dir.filePath(QStringLiteral("temp/") + name);
}

bool ProgramFolderFixture::writeTempFile(const QString& name, const QByteArray& bytes) const
{
    return writeFile(tempFile(name), bytes);
}

QByteArray ProgramFolderFixture::readTempFile(const QString& name) const
{
    return readFile(tempFile(name));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

void useFtpPort(quint16 port)
{
    ftp::Settings settings;
    settings.port = port;
    settings.timeouts = shortTimeouts();
    transfer::setSessionSettings(settings);
}

bool startScale(FtpServer& server, const FtpServer::Options& options)
{
    if (!server.start(options)) {
        qWarning("%s", qPrintable(server.errorText()));
        return false;
    }
    useFtpPort(server.port());
    return true;
}

void insertRow(const QString& table, const QVariantMap& values)
{
    db::Recordset rs(&gDBConnection);
    rs.open(QStringLiteral("SELECT * FROM ") + gDBConnection.tableName(table) + QStringLiteral(" WHERE 0"));
    rs.addNew();
    for (auto it = values.begin(); it != values.end(); ++it)
        rs.setValue(it.key(), it.value());
    rs.update();
    rs.close();
}

int rowCount(const QString& table)
{
    return gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(gDBConnection.tableName(table))).toInt();
}

void fillTransferTexts()
{
    const QList<QPair<const char*, const char*>> ftp{
        {"frmTitle", "Data Transfer"}, {"cmdDownload", "Download"}, {"cmdUpload", "Upload"},
        {"cmdDelete", "Delete"}, {"cmdClose", "Close"}, {"msfgSectNo", "Section"}, {"msfgMachine", "Scale"},
        {"msfgFile", "File"}, {"msfgStatus", "Status"}, {"msfgSelect", "*"}, {"ftpConnect", "Connecting"},
        {"ftpPut", "Sending"}, {"ftpGet", "Receiving"}, {"ftpDisconnect", "Disconnecting"},
        {"ftpProcess", "Processing..."}, {"ftpFinish", "Finished"}, {"ftpError", "Error"},
    };
    gLangFTP.clear();
    for (const auto& [key, text] : ftp)
        gLangFTP.add(QLatin1String(key), QLatin1String(text));
    gLangMsg.clear();
    gLangMsg.add(QStringLiteral("ftpPrepareError"), QStringLiteral("The transfer could not be prepared:"));
}

void fillBarFormatDefinitions()
{
    gParEANEdit.clear();
    for (int f = 0; f < 20; ++f) {
        const QString digits = f == 0 ? QStringLiteral("10") : f == 7 ? QStringLiteral("7,") : f == 9 ? QStringLiteral("0,") : QStringLiteral("5,");
        gParEANEdit.add(QStringLiteral("EAN%1").arg(f), QStringLiteral("%1,1,%2").arg(f == 0 ? 0 : 1).arg(digits));
    }
}

QByteArray textBlock(int fontCode, const QByteArray& ansiText)
{
    return QByteArray(1, char(fontCode)) + char(ansiText.size()) + ansiText + '\x0C';
}

} // namespace quorvane::test
