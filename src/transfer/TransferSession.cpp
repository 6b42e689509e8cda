#include "transfer/TransferSession.h"

#include "datafiles/DataFileWriters.h"
#include "datafiles/ReceivedPluLoader.h"
#include "datafiles/ReportLoader.h"
#include "platform/Quoted.h"
#include "platform/StateReset.h"
#include "platform/ftp/RunOffUiThread.h"
#include "platform/text/Paths.h"
#include "settings/TextCollections.h"
#include "transfer/TransferRequest.h"

#include <QDir>

namespace quorvane::transfer {

namespace {

ftp::Settings& baseSettings()
{
    static ftp::Settings settings;
    return settings;
}
// A test's port and time-outs; the FTP layer's defaults again after a reset of the program state.
const ResetWithState kResetSettings([] { baseSettings() = ftp::Settings(); });

// The session inside run(); one at a time, on the UI thread.
TransferSession* runningSession = nullptr;

QString stoppedReason() { return QStringLiteral("The transfer was stopped because Quorvane is ending."); }

} // namespace

ftp::Settings sessionSettings() { return baseSettings(); }

void setSessionSettings(const ftp::Settings& settings)
{
    baseSettings() = settings;
    baseSettings().host.clear();
    baseSettings().user.clear();
    baseSettings().password.clear();
}

TransferSession::TransferSession(qint16 mode, QStringList files, ScaleLogin scale, SessionView& view)
    : m_mode(mode)
    , m_files(std::move(files))
    , m_scale(std::move(scale))
    , m_view(view)
{
}

TransferSession::~TransferSession() { dropConnection(); }

bool TransferSession::run()
{
    if (m_mode != TransferSend && m_mode != TransferFetch && m_mode != TransferDelete)
        return false;
    struct Running {
        explicit Running(TransferSession* session) { runningSession = session; }
        ~Running() { runningSession = nullptr; }
    } running(this);
    m_aborted = false;
    m_commands.clear();
    m_notDeleted.clear();
    m_linesLeftOut = {};
    m_linesNotRead.clear();
    m_view.showStatus(gLangFTP.text(QStringLiteral("ftpProcess")), QString());
    mStepText = gLangFTP.text(QStringLiteral("ftpConnect"));

    ftp::Settings settings = baseSettings();
    settings.host = m_scale.host;
    settings.user = m_scale.user;
    settings.password = m_scale.password;
    m_client = std::make_unique<ftp::FtpClient>(settings);

    if (!execute(Step::Connect))
        return false;
    const Step step = m_mode == TransferSend ? Step::Put : m_mode == TransferFetch ? Step::Get : Step::Delete;
    const QString stepText = step == Step::Put ? gLangFTP.text(QStringLiteral("ftpPut"))
        : step == Step::Get                    ? gLangFTP.text(QStringLiteral("ftpGet"))
                                               : QStringLiteral("DELETE");
    for (const QString& name : std::as_const(m_files)) {
        m_view.showFile(name.left(3));
        mStepText = stepText;
        if (!execute(step, name))
            return false;
    }
    mStepText = gLangFTP.text(QStringLiteral("ftpDisconnect"));
    if (!execute(Step::Close)) // fails only when the session was stopped
        return false;
    if (!m_notDeleted.isEmpty()) {
        mStepText = stepText;
        return fail(QString());
    }
    m_view.showStatus(gLangFTP.text(QStringLiteral("ftpFinish")), QString());

    if (m_mode == TransferFetch && !m_files.isEmpty()) {
        // Only the last listed file is loaded into its table. Loading is the end of receiving it, so a
        // failure shows the get step's text rather than the error text alone.
        mStepText = stepText;
        const QString prefix = m_files.last().left(4);
        try {
            if (prefix == QLatin1String("PLU0"))
                m_linesLeftOut = datafiles::ImportUploadPLU(m_lineCheck);
            else if (const text::LinesLeftOut notRead = datafiles::ImportUploadCSV(prefix,
                                                                                   [this] { return m_aborted; });
                     notRead.count > 0)
                m_linesNotRead = m_files.last() + QLatin1Char('\n') + notRead.namedText();
        } catch (const std::exception& e) {
            return fail(m_aborted ? stoppedReason() : QString::fromStdString(e.what()));
        }
        mStepText.clear();
        datafiles::removeDataFiles(m_files);
    }
    return true;
}

bool TransferSession::abortRunning()
{
    if (!runningSession)
        return false;
    runningSession->m_aborted = true;
    if (runningSession->m_client)
        runningSession->m_client->abort();
    return true;
}

bool TransferSession::execute(Step step, const QString& name)
{
    if (m_aborted)
        return fail(stoppedReason());
    const QString local = datafiles::dataFilePath(name);
    ftp::FtpClient& client = *m_client;
    ftp::Result result;
    switch (step) {
    case Step::Connect:
        m_commands << QStringLiteral("DIR");
        result = ftp::runOffUiThread([&] { return client.connect(); });
        break;
    case Step::Put:
        m_commands << QStringLiteral("PUT ") + quoted(text::nativePath(local)) + QLatin1Char(' ') + name;
        if (m_unprepared.contains(name))
            return fail(QStringLiteral("%1 could not be written for this send.").arg(name));
        result = ftp::runOffUiThread([&] { return client.put(local, name); });
        break;
    case Step::Get:
        m_commands << QStringLiteral("GET ") + name + QLatin1Char(' ') + quoted(text::nativePath(local));
        result = ftp::runOffUiThread([&] { return client.get(name, local); });
        break;
    case Step::Delete:
        m_commands << QStringLiteral("DELETE ") + name;
        result = ftp::runOffUiThread([&] { return client.remove(name); });
        break;
    case Step::Close:
        // A scale that hangs up before it answers the closing is no failure.
        m_commands << QStringLiteral("CLOSE");
        dropConnection();
        break;
    }
    if (!result && result.refused && step == Step::Delete && !m_aborted) {
        // A file the scale keeps does not stop the files after it; the session ends as an error.
        m_notDeleted << name + QStringLiteral(": ") + result.errorText;
        return true;
    }
    if (!result)
        return fail(m_aborted ? stoppedReason() : result.errorText);
    mStepText.clear();
    return true;
}

bool TransferSession::fail(const QString& reason)
{
    dropConnection();
    if (m_mode == TransferFetch)
        datafiles::removeDataFiles(m_files);
    QStringList reasons = m_notDeleted;
    if (!reason.isEmpty())
        reasons << reason;
    m_view.showStatus(mStepText + QLatin1Char(' ') + gLangFTP.text(QStringLiteral("ftpError")),
                      reasons.join(QLatin1Char('\n')));
    return false;
}

void TransferSession::dropConnection()
{
    if (!m_client)
        return;
    // Saying goodbye waits for the scale's answer, so it too runs off the UI thread.
    std::unique_ptr<ftp::FtpClient> client = std::move(m_client);
    ftp::runOffUiThread([&] { client.reset(); });
}

} // namespace quorvane::transfer
