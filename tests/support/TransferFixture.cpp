#include "TransferFixture.h"

#include "CodecTestDb.h"

#include "app/SchemaBuilder.h"
#include "platform/Quoted.h"
#include "records/PluRecord.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"
#include "transfer/TransferSession.h"

#include "WindowAnswer.h"
#include "WindowSteps.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace quorvane::test {

TransferFolder::~TransferFolder()
{
    gRsWork.close();
    gDBConnection.close();
    records::ClearBarFormatMemories();
}

bool TransferFolder::setUp(const QString& schemaPath)
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no program folder");
        return false;
    }
    fillEanCollections();
    records::ClearBarFormatMemories();
    const QString database = programPath(QLatin1String(paths::WorkingDatabase));
    app::SchemaBuildError error;
    if (app::BuildDatabaseFromSchema(schemaPath.isEmpty() ? schemaSource() : schemaPath, database, 0, &error)
        != app::SchemaBuilt) {
        m_error = QStringLiteral("schema: line %1: %2").arg(error.line).arg(error.message);
        return false;
    }
    return gDBConnection.open(database, &m_error);
}

void TransferFolderTest::init()
{
    m_folder = std::make_unique<TransferFolder>();
    QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
}

void TransferFolderTest::cleanup()
{
    endSteps();
    m_folder.reset();
}

QString TransferFolder::tempFile(const QString& name) const { return m_folder.file(QStringLiteral("temp/") + name); }

bool TransferFolder::writeTempFile(const QString& name, const QByteArray& bytes) const
{
    return writeFile(tempFile(name), bytes);
}

QByteArray TransferFolder::readTempFile(const QString& name) const { return readFile(tempFile(name)); }

int rowCount(const QString& table)
{
    return gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM ") + quoted(gDBConnection.tableName(table)))
        .toInt();
}

void fillTransferTexts()
{
    const QList<QPair<const char*, const char*>> ftp{
        {"frmTitle", "Data Transfer"},   {"cmdDownload", "Download"},
        {"cmdUpload", "Upload"},         {"cmdDelete", "Delete"},
        {"cmdClose", "Close"},           {"msfgSectNo", "Section"},
        {"msfgMachine", "Scale"},        {"msfgFile", "File"},
        {"msfgStatus", "Status"},        {"msfgSelect", "*"},
        {"ftpConnect", "Connecting"},    {"ftpPut", "Sending"},
        {"ftpGet", "Receiving"},         {"ftpDisconnect", "Disconnecting"},
        {"ftpProcess", "Processing..."}, {"ftpFinish", "Finished"},
        {"ftpError", "Error"},
    };
    gLangFTP.clear();
    for (const auto& [key, text] : ftp)
        gLangFTP.add(QLatin1String(key), QLatin1String(text));
    gLangMsg.clear();
    gLangMsg.add(QStringLiteral("ftpPrepareError"), QStringLiteral("The transfer could not be prepared:"));
}

void useFtpPort(quint16 port, const ftp::Timeouts& timeouts)
{
    ftp::Settings settings;
    settings.port = port;
    settings.timeouts = timeouts;
    transfer::setSessionSettings(settings);
}

bool startScale(FtpServer& server, const FtpServer::Options& options)
{
    if (!server.start(options)) {
        qWarning("%s", qPrintable(server.errorText()));
        return false;
    }
    // A server that answers needs no short bound; a loaded machine would only trip it.
    useFtpPort(server.port(), ftp::Timeouts());
    return true;
}

void addScaleInUse()
{
    addRow("SCALE",
           {{"SC_IP", "127.  0.  0.  1"},
            {"SC_Used", 1},
            {"SC_FTPName", "scale"},
            {"SC_FTPPW", "s3cret"},
            {"ST_No", 1},
            {"SECT_No", 1}});
}

QString sendToTheScale(const QStringList& files)
{
    QString status;
    WindowAnswer answer(QStringLiteral("frmFTPDataTrans"), [&](QWidget* form) {
        auto* grid = form->findChild<QTableWidget*>(QStringLiteral("MSFGFTP"));
        grid->setCurrentCell(0, grid->columnCount() - 1);
        emit grid->cellClicked(0, grid->columnCount() - 1);
        form->findChild<QPushButton*>(QStringLiteral("cmdCommand"))->click();
        status = grid->item(0, grid->columnCount() - 2)->text();
        form->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    requestTransfer(nullptr, {.mode = TransferSend, .files = files});
    return answer.count() == 1 ? status : QStringLiteral("not shown");
}

const TransferRequest& requestOf(QWidget* transferWindow)
{
    return qobject_cast<frmFTPDataTrans*>(transferWindow)->request();
}

} // namespace quorvane::test
