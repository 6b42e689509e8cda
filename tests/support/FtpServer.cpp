#include "FtpServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvane::test {

FtpServer::~FtpServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill(); // by its process id; it holds nothing worth a clean shutdown
        m_process.waitForFinished(5000);
    }
}

bool FtpServer::start() { return start(Options()); }

bool FtpServer::start(const Options& options)
{
    m_options = options;
    if (!m_root.isValid() || !m_work.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    if (!setFaults(options.faults))
        return false;
    QStringList args{QStringLiteral(QUORVANE_TEST_SUPPORT_DIR "/ftp_server.py"),
                     QStringLiteral("--root"),
                     m_root.path(),
                     QStringLiteral("--user"),
                     options.user,
                     QStringLiteral("--password"),
                     options.password,
                     QStringLiteral("--log"),
                     logPath(),
                     QStringLiteral("--faults"),
                     faultsPath(),
                     QStringLiteral("--encoding"),
                     options.encoding};
    if (!options.readOnlyUser.isEmpty())
        args << QStringLiteral("--readonly-user") << options.readOnlyUser << QStringLiteral("--readonly-password")
             << options.readOnlyPassword;

    // Debian's interpreter: the first python3 on PATH may not see python3-pyftpdlib.
    m_process.start(QStringLiteral("/usr/bin/python3"), args);
    QByteArray out;
    const QDeadlineTimer deadline(15000);
    while (!out.contains('\n')) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            m_error = QStringLiteral("FTP server did not start: %1 %2")
                          .arg(m_process.errorString(), QString::fromLocal8Bit(m_process.readAllStandardError()));
            return false;
        }
        out += m_process.readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n')).trimmed();
    bool ok = false;
    if (line.startsWith("PORT "))
        m_port = quint16(line.mid(5).toUInt(&ok));
    if (!ok || m_port == 0) {
        m_error = QStringLiteral("FTP server said \"%1\"").arg(QString::fromLocal8Bit(line));
        return false;
    }
    return true;
}

bool FtpServer::setFaults(const Faults& faults)
{
    QJsonObject answers;
    for (const QString& answer : faults.answerOn)
        answers.insert(answer.section(QLatin1Char('='), 0, 0), answer.section(QLatin1Char('='), 1));
    const QJsonObject json{{QStringLiteral("drop"), QJsonArray::fromStringList(faults.dropOn)},
                           {QStringLiteral("stall"), QJsonArray::fromStringList(faults.stallOn)},
                           {QStringLiteral("answer"), answers},
                           {QStringLiteral("stallData"), faults.stallData},
                           {QStringLiteral("trickleBytes"), faults.trickleBytes},
                           {QStringLiteral("trickleMs"), faults.trickleMs}};
    // Replaced whole, so a connection never reads half of it.
    QSaveFile file(faultsPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(json).toJson()) < 0 || !file.commit()) {
        m_error = QStringLiteral("cannot write the faults file");
        return false;
    }
    return true;
}

bool FtpServer::clear()
{
    m_logStart = QFileInfo(logPath()).size();
    const QFileInfoList entries =
        QDir(m_root.path()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (!(entry.isDir() ? QDir(entry.filePath()).removeRecursively() : QFile::remove(entry.filePath()))) {
            m_error = QStringLiteral("cannot remove %1").arg(entry.filePath());
            return false;
        }
    }
    return setFaults(Faults());
}

QString FtpServer::logPath() const { return m_work.filePath(QStringLiteral("ftp.log")); }

QString FtpServer::faultsPath() const { return m_work.filePath(QStringLiteral("faults.json")); }

QString FtpServer::log() const
{
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly) || !file.seek(m_logStart))
        return QString();
    return QString::fromUtf8(file.readAll());
}

ftp::Settings FtpServer::settings() const { return loopbackSettings(m_port, m_options.user, m_options.password); }

ftp::Settings FtpServer::readOnlySettings() const
{
    return loopbackSettings(m_port, m_options.readOnlyUser, m_options.readOnlyPassword);
}

ftp::Timeouts shortTimeouts()
{
    ftp::Timeouts timeouts;
    timeouts.connect = timeouts.reply = timeouts.stalled = std::chrono::seconds(1);
    return timeouts;
}

ftp::Settings loopbackSettings(quint16 port, const QString& user, const QString& password)
{
    ftp::Settings settings;
    settings.host = QStringLiteral("127.  0.  0.  1"); // as a scale address is stored
    settings.user = user;
    settings.password = password;
    settings.port = port;
    return settings;
}

LoopbackPort::LoopbackPort(bool listening)
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) != 0
        || ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0
        || (listening && ::listen(m_fd, 16) != 0))
        return; // port() stays 0
    m_port = ntohs(address.sin_port);
}

LoopbackPort::~LoopbackPort()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace quorvane::test
