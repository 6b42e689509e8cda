#include "platform/ftp/FtpClient.h"

#include "platform/text/Ansi.h"
#include "platform/text/FileWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QUrl>

#include <curl/curl.h>

#include <deque>

namespace quorvane::ftp {

namespace {

bool holdsLineBreakOrNul(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0));
}

Result checkRemoteName(const QString& name)
{
    // libcurl drops "." and ".." segments from the URL, so they would reach the login folder itself.
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/'))
        || name.contains(QLatin1Char('\\')) || holdsLineBreakOrNul(name))
        return Result::failure(QStringLiteral("Invalid remote file name \"%1\"").arg(name));
    return {};
}

size_t writeTo(char* data, size_t size, size_t count, void* device)
{
    const size_t bytes = size * count;
    if (!device)
        return bytes; // the listing of the connect step is not kept
    const qint64 written = static_cast<QIODevice*>(device)->write(data, qint64(bytes));
    return written == qint64(bytes) ? bytes : 0;
}

size_t readFrom(char* buffer, size_t size, size_t count, void* device)
{
    const qint64 read = static_cast<QIODevice*>(device)->read(buffer, qint64(size * count));
    return read < 0 ? CURL_READFUNC_ABORT : size_t(read);
}

// Fails a data connection that moves fewer than the floor's bytes in any span of the stalled time.
// libcurl's own low-speed check averages over several seconds, so a connection that stops after a
// burst fails late and one that trickles just above the average never does.
class DataFlowWatch {
public:
    DataFlowWatch(CURL* curl, const Timeouts& timeouts, const std::atomic<bool>& aborted)
        : m_curl(curl)
        , m_aborted(aborted)
        , m_span(std::chrono::milliseconds(timeouts.stalled).count())
        , m_floor(timeouts.stalledBytes)
    {
    }

    bool tripped() const { return m_tripped; }
    QString reason() const
    {
        return QStringLiteral("The data connection moved fewer than %1 bytes in %2 s").arg(m_floor).arg(m_span / 1000);
    }

    // libcurl calls it with every move and at every beat of the transfer loop, and once a second while it blocks
    // on the reply that ends a put: there only this call can stop it.
    static int progress(void* watch, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent)
    {
        auto* w = static_cast<DataFlowWatch*>(watch);
        return w->m_aborted || w->update(qint64(received) + qint64(sent)) ? 1 : 0;
    }

private:
    struct Sample {
        qint64 ms;
        qint64 bytes;
    };

    bool update(qint64 bytes)
    {
        if (m_samples.empty()) {
            // Commands and their replies have their own bound; the watch starts with the data connection.
            curl_off_t beforeTransfer = 0;
            if (curl_easy_getinfo(m_curl, CURLINFO_PRETRANSFER_TIME_T, &beforeTransfer) != CURLE_OK
                || beforeTransfer == 0)
                return false;
            m_clock.start();
        }
        const qint64 now = m_clock.elapsed();
        // Samples stay 100 ms apart, except the newest, which always holds the latest count.
        if (m_samples.size() >= 2 && now - m_samples[m_samples.size() - 2].ms < 100)
            m_samples.back() = {now, bytes};
        else
            m_samples.push_back({now, bytes});
        // The oldest sample kept is the last one at least a span old.
        while (m_samples.size() >= 2 && m_samples[1].ms <= now - m_span)
            m_samples.pop_front();
        const Sample& old = m_samples.front();
        m_tripped = now - old.ms >= m_span && bytes - old.bytes < m_floor;
        return m_tripped;
    }

    CURL* m_curl;
    const std::atomic<bool>& m_aborted;
    qint64 m_span;
    qint64 m_floor;
    QElapsedTimer m_clock;
    std::deque<Sample> m_samples;
    bool m_tripped = false;
};

// Keeps the last reply line of the scale (libcurl hands an FTP server's replies over as headers).
size_t keepLastLine(char* data, size_t size, size_t count, void* line)
{
    const size_t bytes = size * count;
    *static_cast<QByteArray*>(line) = QByteArray(data, qsizetype(bytes)).trimmed();
    return bytes;
}

Result stopped() { return Result::failure(QStringLiteral("The command was stopped")); }

CURL* newHandle()
{
    // Once per process. Sessions run one at a time, so no other thread is inside libcurl meanwhile.
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return initialised ? curl_easy_init() : nullptr;
}

} // namespace

std::optional<QString> normaliseHost(const QString& address)
{
    QString text = address;
    text.remove(QLatin1Char(' '));
    const QStringList groups = text.split(QLatin1Char('.'));
    if (groups.size() != 4)
        return std::nullopt;
    QStringList values;
    for (const QString& group : groups) {
        if (group.isEmpty())
            return std::nullopt;
        int value = 0; // decimal whatever the leading zeros
        for (QChar c : group) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            value = value * 10 + c.digitValue();
            if (value > 255)
                return std::nullopt;
        }
        values << QString::number(value);
    }
    const QString host = values.join(QLatin1Char('.'));
    if (host == QLatin1String("0.0.0.0"))
        return std::nullopt;
    return host;
}

// What one command asks of libcurl beyond the session's settings.
struct FtpClient::Request {
    QString remoteName;            // empty: the login folder, which is listed
    QByteArray command;            // sent after login instead of a transfer (DELE)
    QIODevice* upload = nullptr;   // source of a PUT
    QIODevice* download = nullptr; // target of a GET
};

FtpClient::FtpClient(Settings settings) : m_settings(std::move(settings))
{
    // The scale keeps its login in the code page, as every text the program sends it.
    bool userOk = true;
    bool passwordOk = true;
    m_user = text::toAnsi(m_settings.user, &userOk);
    m_password = text::toAnsi(m_settings.password, &passwordOk);
    m_loginEncoded = userOk && passwordOk;
}

FtpClient::~FtpClient() { close(); }

Result FtpClient::checkSettings() const
{
    if (!normaliseHost(m_settings.host))
        return Result::failure(QStringLiteral("Invalid scale address \"%1\"").arg(m_settings.host));
    if (holdsLineBreakOrNul(m_settings.user) || holdsLineBreakOrNul(m_settings.password))
        return Result::failure(QStringLiteral("The user name or password holds a line break or NUL character"));
    if (!m_loginEncoded)
        return Result::failure(QStringLiteral("The user name or password holds a character the code page cannot hold"));
    return {};
}

Result FtpClient::connect() { return perform({}); }

Result FtpClient::put(const QString& localPath, const QString& remoteName)
{
    if (Result r = checkRemoteName(remoteName); !r)
        return r;
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failure(QStringLiteral("Cannot read local file \"%1\": %2").arg(localPath, file.errorString()));
    Request request;
    request.remoteName = remoteName;
    request.upload = &file;
    return perform(request);
}

Result FtpClient::get(const QString& remoteName, const QString& localPath)
{
    if (Result r = checkRemoteName(remoteName); !r)
        return r;
    // Written beside the target and renamed only when complete; dropped otherwise.
    text::FileWriter file(localPath);
    if (!file.open(QIODevice::WriteOnly))
        return Result::failure(file.failure());
    Request request;
    request.remoteName = remoteName;
    request.download = &file;
    Result result = perform(request);
    if (!result) {
        if (!file.failure().isEmpty())
            result.errorText += QStringLiteral(" (%1)").arg(file.failure());
        return result;
    }
    if (!file.commit())
        return Result::failure(file.failure());
    return result;
}

Result FtpClient::remove(const QString& remoteName)
{
    if (Result r = checkRemoteName(remoteName); !r)
        return r;
    Request request;
    // "*": libcurl goes on after a refusal, keeping the connection in step; the reply decides below.
    request.command = "*DELE " + remoteName.toUtf8();
    return perform(request);
}

void FtpClient::close()
{
    if (m_curl)
        curl_easy_cleanup(m_curl);
    if (m_multi)
        curl_multi_cleanup(m_multi); // says QUIT on an open connection, bounded by the reply time-out
    m_curl = nullptr;
    m_multi = nullptr;
}

// libcurl 7.88's own loop (curl_easy_perform) can sleep a whole second on a reused FTP connection,
// watching no socket while the data connection opens; this loop looks again every 100 ms, which also
// gives the data-flow watch its beat.
int FtpClient::transfer()
{
    if (curl_multi_add_handle(m_multi, m_curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode code = CURLE_OK;
    for (int running = 1; running;) {
        if (m_aborted) {
            // Removed unfinished, the handle's connection is closed without a QUIT that could wait on the scale.
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_perform(m_multi, &running) != CURLM_OK
            || (running && curl_multi_poll(m_multi, nullptr, 0, 100, nullptr) != CURLM_OK)) {
            code = CURLE_FAILED_INIT;
            break;
        }
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_curl)
            code = message->data.result;
    curl_multi_remove_handle(m_multi, m_curl); // the connection stays in the multi handle for the next command
    return code;
}

Result FtpClient::perform(const Request& request)
{
    if (Result r = checkSettings(); !r)
        return r;
    if (m_aborted)
        return stopped();

    // One pair of handles for the whole session: the multi handle keeps the open connection, a reset drops
    // the last command's options.
    if (m_curl) {
        curl_easy_reset(m_curl);
    } else {
        m_curl = newHandle();
        m_multi = m_curl ? curl_multi_init() : nullptr;
        if (!m_multi) {
            close();
            return Result::failure(QStringLiteral("Cannot start an FTP session"));
        }
    }
    CURL* curl = m_curl;

    // Credentials go as options only: the URL holds no secret that could reach a log or an error text.
    const QByteArray url = "ftp://" + normaliseHost(m_settings.host)->toLatin1() + ':'
        + QByteArray::number(m_settings.port) + '/' + QUrl::toPercentEncoding(request.remoteName);
    char errorBuffer[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    if (!m_user.isEmpty()) { // otherwise libcurl logs in anonymously
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.constData());
    }
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FTP_USE_EPSV, m_settings.useEpsv ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(m_settings.timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(m_settings.timeouts.reply.count()));
    DataFlowWatch watch(curl, m_settings.timeouts, m_aborted);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, DataFlowWatch::progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeTo);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, request.download);

    curl_slist* commands = nullptr;
    QByteArray lastReply; // of a command: the scale's own words when it refuses
    if (!request.command.isEmpty()) {
        commands = curl_slist_append(nullptr, request.command.constData());
        curl_easy_setopt(curl, CURLOPT_QUOTE, commands);
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, keepLastLine);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &lastReply);
    }
    if (request.upload) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, readFrom);
        curl_easy_setopt(curl, CURLOPT_READDATA, request.upload);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(request.upload->size()));
    }

    const auto code = CURLcode(transfer());
    long reply = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply);
    // Nothing may reach what this call owned once it returns.
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, nullptr);
    curl_slist_free_all(commands);
    if (code == CURLE_OK && !request.command.isEmpty() && reply >= 400 && reply <= 599) {
        Result refused = Result::failure(QStringLiteral("The scale answered \"%1\"")
                                             .arg(lastReply.startsWith(QByteArray::number(reply))
                                                      ? QString::fromLatin1(lastReply.left(200))
                                                      : QString::number(reply)),
                                         reply);
        refused.refused = true;
        return refused;
    }
    if (code == CURLE_OK && !request.command.isEmpty() && (reply < 200 || reply > 299)) {
        // libcurl takes any reply below 400 to a quoted command as success; a pending or preliminary
        // one is not, and leaves the control connection out of step, so it is not reused.
        close();
        return Result::failure(QStringLiteral("The scale answered %1 instead of a completion").arg(reply));
    }
    if (code == CURLE_OK)
        return {};
    if (m_aborted)
        return stopped();

    QString text = watch.tripped() ? watch.reason()
        : errorBuffer[0]           ? QString::fromUtf8(errorBuffer)
                                   : QString::fromUtf8(curl_easy_strerror(code));
    if (reply < 400)
        reply = 0; // a positive reply explains nothing
    else if (!text.contains(QString::number(reply)))
        text += QStringLiteral(" (FTP reply %1)").arg(reply);
    return Result::failure(text, reply);
}

} // namespace quorvane::ftp
