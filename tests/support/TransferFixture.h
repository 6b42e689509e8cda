#pragma once

#include "TestSupport.h"

#include "FtpServer.h"
#include "ProgramFolderFixture.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace quorvane {
struct TransferRequest;
}

namespace quorvane::test {

// A temporary program folder (a copy of data/) whose working database is built from a schema file and
// opened as gDBConnection, with the item-code definitions of the parameter file loaded. Closes the
// connection when it goes.
class TransferFolder {
public:
    ~TransferFolder();
    // The shipped schema unless another schema file is given.
    bool setUp(const QString& schemaPath = QString());
    QString errorText() const { return m_error; }

    QString tempFile(const QString& name) const;
    bool writeTempFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readTempFile(const QString& name) const;

private:
    ProgramFolderFixture m_folder;
    QString m_error;
};

// The base of a test whose every function runs in a fresh TransferFolder on the shipped schema, m_folder.
class TransferFolderTest : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<TransferFolder> m_folder;

private slots:
    void init();
    void cleanup();
};

// Counts the rows of a table of the working database.
int rowCount(const QString& table);

// The texts of the transfer window in English, as the language file has them.
void fillTransferTexts();

// Sessions go to 127.0.0.1 on this port, by default with the short time-outs of the tests.
void useFtpPort(quint16 port, const ftp::Timeouts& timeouts = shortTimeouts());
// Starts the server and points sessions at it; false, with a warning, when it does not start.
bool startScale(FtpServer& server, const FtpServer::Options& options = FtpServer::Options());
// The one scale in use, 127.0.0.1 in store 1, section 1, logging in as the server's user.
void addScaleInUse();
// Sends the files as an operator does: the transfer window writes them, its first scale is marked and sent to,
// and the window is closed. The status of that scale's row afterwards.
QString sendToTheScale(const QStringList& files);
// The request a transfer window was opened on (a window answer's form).
const TransferRequest& requestOf(QWidget* transferWindow);

} // namespace quorvane::test
