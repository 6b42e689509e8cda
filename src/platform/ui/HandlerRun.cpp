#include "platform/ui/HandlerRun.h"

#include "platform/StateReset.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/WindowOpener.h"

#include <QApplication>
#include <QCloseEvent>
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

    bool closeHeld(const QWidget* window) const
    {
        for (const QPointer<QWidget>& held : m_held)
            if (held == window)
                return true;
        return false;
    }

    void ended()
    {
        if (!m_held.isEmpty() || !m_idle.isEmpty() || m_quit)
            schedule();
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
        m_quit = false;
        closesOnQuit = false;
    }

    bool closesOnQuit = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Quit && closesOnQuit && watched == QCoreApplication::instance()) {
            event->ignore(); // not now: from the event loop, as far as the handlers let it
            m_quit = true;
            schedule();
            return true;
        }
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
    void schedule()
    {
        if (!m_scheduled) {
            m_scheduled = true;
            QMetaObject::invokeMethod(this, &Runs::deliver, Qt::QueuedConnection);
        }
    }

    // A handler of the window runs, so a close it refuses while it runs may be taken once it has ended.
    bool runsIn(const QWidget* top) const
    {
        for (const Run& run : running)
            if (run.window == top)
                return true;
        return false;
    }

    // What a quit closes next: a modal window, then any other shown window, the main window last.
    static QWidget* nextToClose()
    {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            return modal;
        QWidget* main = windows().mainWindow();
        const QWidgetList tops = QApplication::topLevelWidgets();
        for (QWidget* w : tops)
            if (w != main && w->isVisible() && w->windowType() != Qt::Desktop
                && !w->testAttribute(Qt::WA_DontShowOnScreen))
                return w;
        return main;
    }

    void closeEveryWindow()
    {
        while (m_quit && !windows().exiting()) {
            QWidget* window = nextToClose();
            if (!window)
                break;
            if (heldFor(window) || (window->property(kRefusesClose).toBool() && runsIn(window)))
                return; // the next handler's end takes it up again
            const bool last = window == windows().mainWindow();
            if (last)
                m_quit = false; // its close is the exit, which may pump events and so come back here
            if (!window->close() || last)
                break;
        }
        m_quit = false;
    }

    // From the event loop: each held close whose window is free now, once; then a quit, as far as it can go now; then,
    // when no handler runs, what waited.
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
        closeEveryWindow();
        if (!running.isEmpty())
            return;
        const auto idle = std::exchange(m_idle, {});
        for (const auto& [context, f] : idle)
            if (context)
                f();
    }

    QList<QPointer<QWidget>> m_held;
    QList<std::pair<QPointer<QObject>, std::function<void()>>> m_idle;
    bool m_quit = false; // a quit waits for a handler in its way
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

bool closeHeld(const QWidget* window) { return gRuns && window && gRuns->closeHeld(window->window()); }

void closeEveryWindowOnQuit() { runs().closesOnQuit = true; }

} // namespace quorvane::ui
