#include "app/TerminationRequests.h"

#include "platform/events/StopRequest.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quorvane::app {

namespace {

// Process resources, not program state: the handlers stay installed for the life of the process.
int requestPipe[2] = {-1, -1};
QPointer<QSocketNotifier> requestNotifier; // goes with the application object
std::function<void()> requestHandler;

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

void noteRequest(int)
{
    // Only async-signal-safe calls here. A full pipe already holds a request. The stop is noted at once, so
    // work under way stops at its next step even before the event loop reads the pipe.
    requestStop();
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(requestPipe[1], &byte, 1);
    errno = saved;
}

void takeRequests()
{
    char bytes[64];
    while (::read(requestPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (requestHandler)
        requestHandler();
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

bool watchTerminationRequests(std::function<void()> onRequest, QString* error)
{
    requestHandler = std::move(onRequest);
    if (requestNotifier)
        return true;
    if (::pipe2(requestPipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        if (error)
            *error = systemError("Cannot create the pipe of termination requests");
        requestPipe[0] = requestPipe[1] = -1;
        return false;
    }
    requestNotifier = new QSocketNotifier(requestPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(requestNotifier, &QSocketNotifier::activated, requestNotifier, takeRequests);

    struct sigaction action { };
    action.sa_handler = noteRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // a request interrupts no system call of the program
    for (int signal : kSignals) {
        // A signal the starter chose to ignore (nohup, a background job) stays ignored.
        struct sigaction current { };
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        if (::sigaction(signal, &action, nullptr) != 0) {
            if (error)
                *error = systemError("Cannot catch termination requests");
            return false;
        }
    }
    return true;
}

} // namespace quorvane::app
