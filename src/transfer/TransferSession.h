#pragma once

#include "datafiles/ReceivedPluLoader.h"
#include "platform/ftp/FtpClient.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace quorvane::transfer {

// How a session shows its progress on the marked scale's row of the transfer window.
class SessionView {
public:
    virtual ~SessionView() = default;
    // The file cell: the kind (first three characters) of the file being worked on.
    virtual void showFile(const QString& kind) = 0;
    // The status cell. `reason` says what went wrong when a step failed (never a user name or a
    // password); it is empty otherwise.
    virtual void showStatus(const QString& text, const QString& reason) = 0;
};

// A scale as the transfer window lists it: the address with its blanks removed, and its FTP login.
struct ScaleLogin {
    QString host;
    QString user;
    QString password;
};

// Port, passive mode and time-outs of every session: port 21 and the FTP layer's defaults unless a
// test points them elsewhere, until resetProgramState(). The host and login of the settings given are not used.
ftp::Settings sessionSettings();
void setSessionSettings(const ftp::Settings& settings);

// One FTP session with one scale: connect ("DIR"), one PUT, GET or DELETE per listed file in the login
// folder, then "CLOSE"; after a fetch the last listed file is loaded into its table. Every command runs
// off the UI thread while the UI thread turns its event loop. The first failing step ends the session
// on the failure path: no further command is given, not even "CLOSE", the FTP client is discarded (the
// next session starts on a fresh one) and the status shows the step text, a blank and the error text;
// only a DELETE the scale refuses (a 4xx or 5xx reply) lets the session go on to the next file and to "CLOSE",
// and then ends it as a failed delete, the reason naming each file not deleted with the scale's reply; a fetched
// file that fails to load counts as a failed get (lines of a PLU file left out do not). In fetch mode the local files
// of the listed names are deleted at the end, whatever the outcome.
class TransferSession {
public:
    TransferSession(qint16 mode, QStringList files, ScaleLogin scale, SessionView& view);
    ~TransferSession();
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    // Files of a send that could not be written afresh: their PUT fails, so an old copy left in temp
    // never goes out in their place.
    void setUnpreparedFiles(const QStringList& names) { m_unprepared = names; }
    // A fetched PLU file: the check each of its lines must pass to be loaded, and the lines the load left out.
    void setReceivedLineCheck(datafiles::ReceivedLineCheck check) { m_lineCheck = std::move(check); }
    const text::LinesLeftOut& linesLeftOut() const { return m_linesLeftOut; }
    // A fetched report with lines its load left out (more pieces than fields, or after the empty line that ended it):
    // the file, then those lines, for the operator; empty otherwise.
    const QString& linesNotRead() const { return m_linesNotRead; }

    // Runs the session once; true when it ended well. Modes other than send, fetch and delete do nothing.
    bool run();

    // For the program's end: fails the session that runs, if one does, as the scale failing would: its command
    // under way stops within a beat of the FTP client and no later one is given; a report being loaded stops
    // after its line, keeping the lines before (a PLU file is loaded to its end). Called on the UI thread, from the
    // event loop the session's wait or the load turns. True while a session runs, until its run() has returned.
    static bool abortRunning();

    // The text of the step under way; empty when no command is outstanding.
    const QString& stepText() const { return mStepText; }
    // The commands given so far, as the operator's log would name them ("DIR", "PUT "<path>" <name>",
    // "GET <name> "<path>"", "DELETE <name>", "CLOSE").
    const QStringList& commands() const { return m_commands; }

private:
    enum class Step { Connect, Put, Get, Delete, Close };
    bool execute(Step step, const QString& name = QString());
    bool fail(const QString& reason);
    void dropConnection();

    qint16 m_mode;
    QStringList m_files;
    QStringList m_unprepared;
    datafiles::ReceivedLineCheck m_lineCheck;
    text::LinesLeftOut m_linesLeftOut;
    QString m_linesNotRead;
    ScaleLogin m_scale;
    SessionView& m_view;
    QString mStepText;
    QStringList m_commands;
    QStringList m_notDeleted; // "<name>: <the scale's reply>"
    std::unique_ptr<ftp::FtpClient> m_client;
    bool m_aborted = false;
};

} // namespace quorvane::transfer
