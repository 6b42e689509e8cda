#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

namespace quorvane::ftp {

// Every wait on a scale is bounded; these are the only limits (whole seconds, at least 1). Tests shorten them.
struct Timeouts {
    std::chrono::seconds connect{10}; // TCP connect, greeting and login
    std::chrono::seconds reply{30};   // any one server reply
    // A data connection that moves fewer than stalledBytes in any `stalled` span fails its command.
    std::chrono::seconds stalled{30};
    qint64 stalledBytes = 1024;
};

struct Settings {
    QString host; // the scale address as stored, e.g. "192.168.  1. 10"
    QString user; // empty: an anonymous login; sent, like the password, as its bytes in the code page
    QString password;
    quint16 port = 21;
    bool useEpsv = false; // passive mode by PASV; EPSV only where a scale wants it
    Timeouts timeouts;
};

struct Result {
    bool ok = true;
    QString errorText;  // empty when ok; never holds the user name or password
    long replyCode = 0; // the negative FTP reply behind a failure, 0 when there was none
    // The scale refused the command itself (a 4xx or 5xx reply to a DELE) and the session is still in step, so
    // further commands may follow.
    bool refused = false;

    explicit operator bool() const { return ok; }
    static Result failure(const QString& text, long replyCode = 0) { return {false, text, replyCode}; }
};

// "192.168.  1. 10" -> "192.168.1.10": blanks dropped, four decimal groups 0-255
// (leading zeros are plain decimal), 0.0.0.0 refused. Nothing for an unusable address.
std::optional<QString> normaliseHost(const QString& address);

// One blocking FTP session with one scale: connect, then put/get/remove files of the login folder,
// then close. The control connection stays open between commands. Run the commands off the UI
// thread (runOffUiThread); one command at a time.
class FtpClient {
public:
    explicit FtpClient(Settings settings);
    ~FtpClient();
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    // Logs in and lists the login folder (the listing is read and dropped).
    Result connect();
    Result put(const QString& localPath, const QString& remoteName);
    // The local file appears only when the whole file arrived.
    Result get(const QString& remoteName, const QString& localPath);
    // A refusal of the scale fails it as `refused`: the session goes on.
    Result remove(const QString& remoteName);
    // Says QUIT when a connection is open. Never fails: a scale that hangs up first is fine.
    void close();

    // Fails the command under way within one beat of its loop (100 ms), dropping its connection unannounced,
    // and every later command at once. The one call that may come from another thread while a command runs.
    void abort() { m_aborted = true; }

private:
    struct Request;
    Result perform(const Request& request);
    int transfer(); // a CURLcode
    Result checkSettings() const;

    Settings m_settings;
    // The login as it goes out, encoded when the client is made (on the caller's thread); false: the code page
    // cannot hold it.
    QByteArray m_user;
    QByteArray m_password;
    bool m_loginEncoded = true;
    // CURL* and CURLM*, kept across commands so libcurl reuses the connection.
    void* m_curl = nullptr;
    void* m_multi = nullptr;
    std::atomic<bool> m_aborted = false;
};

} // namespace quorvane::ftp
