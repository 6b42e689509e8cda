#include "platform/ui/HandlerRun.h"

#include "platform/StateReset.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/WindowOpener.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QThread>

namespace quorvane::ui {

namespace {

const char* const kRefusesClose = "quorvaneRefusesCloseWhileRunning";

// How deep in event handling the program is: a request that arrives deeper than a handler began has come through an
// event loop that the handler turns (a pump, a dialog's, the wait for a scale), not from the handler's own code.
int nesting() { return QThread::currentThread()->loopLevel() + pumpDepth(); }

// The handlers running, innermost last, each by its top-level window (gone when the window was deleted meanwhile) and
// the depth it began at, and what waits for them: the close requests held, the work to do once none runs.
class Runs : public QObject {
public:
    Runs() : QObject(QCoreApplication::instance()) { QCoreApplication::instance()->installEventFilter(this); }

    struct Run {
        QPointer<QWidget> window;
        int nesting = 0;
    };
    QList<Run> running;

    // A handler that closes its own window closes it then; a close that arrives while a handler of the window pumps
    // or waits is held, and so is the main window's while any handler does.
    bool heldFor(const QWidget* window) const
    {
        if (running.isEmpty() || !window)
            return false;
        const QWidget* top = window->window();
        if (top->property(kRefusesClose).toBool())
            return false;
        const bool main = top == windows().mainWindow();
        const int now = nesting();
        for (const Run& run : running)
            if (run.nesting < now && (main || run.window == top))
                return true;
        return false;
    }

    void ended()
    {
        if (!m_scheduled && (!m_held.isEmpty() || !m_idle.isEmpty())) {
            m_scheduled = true;
            QMetaObject::invokeMethod(this, &Runs::deliver, Qt::QueuedConnection);
        }
    }

    void afterRuns(QObject* context, std::function<void()> f)
    {
        m_idle.append({QPointer<QObject>(context), std::move(f)});
        ended();
    }

    void clear()
    {
        m_held.clear();
        m_idle.clear();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow() || !heldFor(window))
            return false;
        event->ignore();
        if (!m_held.contains(window))
            m_held.append(window);
        return true;
    }

private:
    // From the event loop: each held close whose window is free now, once; then, when no handler runs, what waited.
    void deliver()
    {
        m_scheduled = false;
        const QList<QPointer<QWidget>> held = std::exchange(m_held, {});
        for (const QPointer<QWidget>& window : held) {
            if (!window)
                continue;
            if (heldFor(window))
                m_held.append(window);
            else
                window->close();
        }
        if (!running.isEmpty())
            return;
        const auto idle = std::exchange(m_idle, {});
        for (const auto& [context, f] : idle)
            if (context)
                f();
    }

    QList<QPointer<QWidget>> m_held;
    QList<std::pair<QPointer<QObject>, std::function<void()>>> m_idle;
    bool m_scheduled = false;
};

QPointer<Runs> gRuns;

Runs& runs()
{
    if (!gRuns)
        gRuns = new Runs;
    return *gRuns;
}

// A fresh run holds no close of the last one; the list of running handlers empties itself as they return.
const ResetWithState kReset([] {
    if (gRuns)
        gRuns->clear();
});

} // namespace

HandlerRun::HandlerRun(QWidget* window) { runs().running.append({window ? window->window() : nullptr, nesting()}); }

HandlerRun::~HandlerRun()
{
    Runs& r = runs();
    r.running.removeLast();
    r.ended();
}

bool handlerRunning() { return gRuns && !gRuns->running.isEmpty(); }

void whenNoHandlerRuns(QObject* context, std::function<void()> f)
{
    if (!handlerRunning()) {
        f();
        return;
    }
    runs().afterRuns(context, std::move(f));
}

void refuseCloseWhileRunning(QWidget* window) { window->setProperty(kRefusesClose, true); }

} // namespace quorvane::ui
