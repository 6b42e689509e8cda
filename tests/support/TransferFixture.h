#pragma once

#include "FtpServer.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

namespace quorvane::test {

// A program folder in a temporary directory (ini/, Database/, temp/) whose working database is built
// from a schema file and opened as gDBConnection. Closes the connection when it goes.
class ProgramFolderFixture {
public:
    ~ProgramFolderFixture();
    // The shipped schema unless another schema file is given.
    bool setUp(const QString& schemaPath = QString());
    QString errorText() const { return m_error; }

    QString tempFile(const QString& name) const;
    bool writeTempFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readTempFile(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_error;
};

// Adds one row to a table through a recordset, so values are checked against the schema like the
// program's own. Throws DbError.
void insertRow(const QString& table, const QVariantMap& values);
// Counts the rows of a table of the working database.
int rowCount(const QString& table);

// The texts of the transfer window (English, as in the language file) and the bar-format definitions
// the item-code composer reads: format 0 long (10 digits), 1 to 19 short with 5 digits, except 7 with
// 7 digits and 9 with no item digits.
void fillTransferTexts();
void fillBarFormatDefinitions();

// Sessions go to 127.0.0.1 on this port with the short time-outs of the tests.
void useFtpPort(quint16 port);
// Starts the server and points sessions at it; false, with a warning, when it does not start.
bool startScale(FtpServer& server, const FtpServer::Options& options = FtpServer::Options());

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

// A scale's text block holding one line.
QByteArray textBlock(int fontCode, const QByteArray& ansiText);

} // namespace quorvane::test
