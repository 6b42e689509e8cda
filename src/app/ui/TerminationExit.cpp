#include "app/ui/TerminationExit.h"

#include "app/ProgramExit.h"
#include "app/TerminationRequests.h"
#include "app/ui/frmEnd.h"
#include "platform/StateReset.h"
#include "platform/ui/HandlerRun.h"
#include "transfer/TransferSession.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDebug>
#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace quorvane::app {

namespace {

// The exit on a request: each turn clears one thing that stands in its way, until nothing does.
class RequestedExit : public QObject {
public:
    RequestedExit() : QObject(QCoreApplication::instance())
    {
        m_turns.setInterval(20);
        connect(&m_turns, &QTimer::timeout, this, &RequestedExit::advance);
    }

    void request()
    {
        if (m_turns.isActive() || ended())
            return;
        transfer::TransferSession::abortRunning();
        m_turns.start();
    }

    void stop()
    {
        m_turns.stop();
        disconnect(m_idle);
        m_idle = {};
        m_asked.clear();
    }

private:
    static bool ended() { return frmEnd::isRunning() || exitCode(); }
    // Inside a nested loop or a handler, which are about to return to the program's own loop.
    static bool busy() { return QThread::currentThread()->loopLevel() > 1 || ui::handlerRunning(); }

    // What still stands in the way, closed or stopped a step at a time; false when nothing does.
    bool clearAWay()
    {
        // The transfer window closes once its session has failed.
        if (transfer::TransferSession::abortRunning())
            return true;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return true;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            close(modal);
            return true;
        }
        return false;
    }

    void advance()
    {
        if (ended()) {
            stop();
            return;
        }
        if (clearAWay() || m_idle)
            return;
        // The closing window runs from the program's own event loop, never from inside a handler (one that pumps
        // events or waits) or from a closed window's exec() that has not returned yet: that loop is about to wait.
        m_idle = connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (busy())
                return;
            disconnect(m_idle);
            m_idle = {};
            QMetaObject::invokeMethod(this, &RequestedExit::finish, Qt::QueuedConnection);
        });
    }

    void finish()
    {
        if (!m_turns.isActive())
            return; // stopped meanwhile
        if (ended()) {
            stop();
            return;
        }
        if (clearAWay() || busy())
            return; // the next turn looks again
        stop();
        frmEnd::ShowUnattended();
    }

    // A modal window closes as Cancel closes it. One that stays up when asked (its close refused, or a question it
    // asked was closed in turn) is closed without its own handlers.
    void close(QWidget* modal)
    {
        const bool askedBefore = m_asked.contains(modal);
        m_asked << modal;
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog && askedBefore)
            dialog->QDialog::done(QDialog::Rejected);
        else if (dialog)
            dialog->reject();
        else if (askedBefore)
            modal->hide();
        else
            modal->close();
    }

    QTimer m_turns;
    QMetaObject::Connection m_idle;
    QList<QPointer<QWidget>> m_asked;
};

QPointer<RequestedExit> requestedExit;

} // namespace

void endOnTerminationRequests()
{
    if (!requestedExit) {
        requestedExit = new RequestedExit;
        registerStateReset([] {
            if (requestedExit)
                requestedExit->stop();
        });
    }
    QString error;
    if (!watchTerminationRequests([] { requestedExit->request(); }, &error))
        qWarning().noquote() << error;
}

} // namespace quorvane::app
