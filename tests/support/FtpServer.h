#pragma once

#include "platform/ftp/FtpClient.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace quorvane::test {

// A real FTP server standing for a scale: pyftpdlib on 127.0.0.1, a free port, a temporary root.
// One server can serve many cases: clear() empties it between them, setFaults() changes how it
// misbehaves for the connections opened afterwards.
class FtpServer {
public:
    // How the server misbehaves. None by default.
    struct Faults {
        QStringList dropOn;     // commands on which the server hangs up
        QStringList stallOn;    // commands the server never answers
        QStringList answerOn;   // "COMMAND=reply": the command is not carried out, the reply is sent instead
        bool stallData = false; // file transfers stop after their first chunk
        int trickleBytes = 0;   // files are fetched this many bytes at a time...
        int trickleMs = 0;      // ...with this pause after each piece
    };
    struct Options {
        QString user = QStringLiteral("scale");
        QString password = QStringLiteral("s3cret");
        QString readOnlyUser = QStringLiteral("viewer"); // may list and fetch, not write or delete
        QString readOnlyPassword = QStringLiteral("look");
        // How the server decodes commands: pyftpdlib's UTF-8 by default; "latin-1" takes each byte as sent, so a
        // login in the code page meets the bytes a user and password stand for here (QString::fromLatin1).
        QString encoding = QStringLiteral("utf8");
        Faults faults;
    };

    FtpServer() = default;
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // Starts the server and waits until it listens; false with errorText() when it could not.
    bool start(const Options& options);
    bool start();
    QString errorText() const { return m_error; }

    // Connections opened from now on meet these faults; open ones keep theirs.
    bool setFaults(const Faults& faults);
    // Removes every file of the served folder, starts the log afresh and drops the faults.
    bool clear();

    quint16 port() const { return m_port; }
    QString rootPath() const { return m_root.path(); }
    QString filePath(const QString& name) const { return m_root.filePath(name); }
    // Every command and reply since the start or the last clear(), each line led by the client's address and port.
    QString log() const;

    // Settings of a session as the main user (or the read-only one), the address in its stored form.
    ftp::Settings settings() const;
    ftp::Settings readOnlySettings() const;

private:
    QString logPath() const;
    QString faultsPath() const;

    Options m_options;
    QTemporaryDir m_root;
    QTemporaryDir m_work; // the log and the faults live outside the served root
    QProcess m_process;
    quint16 m_port = 0;
    qint64 m_logStart = 0;
    QString m_error;
};

// Time-outs short enough for tests of dead scales, long enough for a loaded machine.
ftp::Timeouts shortTimeouts();

// Settings that reach 127.0.0.1 on the given port.
ftp::Settings loopbackSettings(quint16 port, const QString& user = {}, const QString& password = {});

// A 127.0.0.1 port held for the life of the object, standing for a dead scale.
class LoopbackPort {
public:
    ~LoopbackPort();
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;
    quint16 port() const { return m_port; }

protected:
    explicit LoopbackPort(bool listening);

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

// Takes connections into its backlog and never says a word.
class SilentListener : public LoopbackPort {
public:
    SilentListener() : LoopbackPort(true) { }
};

// Bound but not listening, so every connection is refused.
class ClosedPort : public LoopbackPort {
public:
    ClosedPort() : LoopbackPort(false) { }
};

} // namespace quorvane::test
