#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

namespace quorvane::ui {

// Whether a handler runs: the one place that knows it. A handler runs from the moment its control, menu entry or
// window event starts it until it returns, and so also while it pumps events, waits in a dialog it opened or waits for
// a scale. Whatever arrives meanwhile is handled inside the handler, so while one runs:
// - a close request of its window (its top-level window) that arrives meanwhile, while it pumps or waits, or of the
//   main window (whose close ends the program), is held: the window stays as it is, and the request is delivered
//   once, from the event loop, when no handler of that window pumps or waits any more (for the main window: when none
//   does); a handler that closes its own window itself closes it at once; a window that refuses its close while it
//   works (refuseCloseWhileRunning) is told of the request instead, and refuses it;
// - the window opener shows no window it has hidden; the main window's activation waits as well;
// - the program's end on a termination request waits;
// - a request to quit (a quit event: QCoreApplication::quit(), a session's logout) is held whole (see
//   closeEveryWindowOnQuit).
// Keys and mouse clicks that arrive while events are pumped are dropped (platform/events/DoEvents).
// Handlers of control and menu tables run inside one by themselves; a handler reached otherwise (a window's event,
// an event filter, a signal connected by hand) opens one: `const ui::HandlerRun run(this);`.
class HandlerRun {
public:
    explicit HandlerRun(QWidget* window);
    ~HandlerRun();
    HandlerRun(const HandlerRun&) = delete;
    HandlerRun& operator=(const HandlerRun&) = delete;
};

// Connects a signal to a handler of the window that no control table reaches (a double click on a list entry, say),
// so that it runs inside a HandlerRun of the window as a table's handler does.
template<class Sender, class Signal, class W>
QMetaObject::Connection connectHandler(Sender* sender, Signal signal, W* window, void (W::*handler)())
{
    return QObject::connect(sender, signal, window, [window, handler] {
        const HandlerRun run(window);
        (window->*handler)();
    });
}

// Whether any handler runs.
bool handlerRunning();

// Runs `f` once no handler runs: at once when none does, else from the event loop after the last one has returned
// (and only while `context` lives).
void whenNoHandlerRuns(QObject* context, std::function<void()> f);

// The window's close is refused by its own closeEvent while one of its handlers runs, rather than held for later.
void refuseCloseWhileRunning(QWidget* window);

// Whether a close request of the window waits for its handlers to end (it is delivered then).
bool closeHeld(const QWidget* window);

// From now on a quit event closes every window, modal ones first and the main window last, hidden or not, so the
// main window's close runs the program's exit (with its save question); Qt's own would stop at the first window that
// refuses and leave the event loop without the exit. It waits while a window in its way is held or refused by a
// running handler, and goes on once that handler has ended; a window that refuses its close itself (the save question
// cancelled) ends it. Once the exit has begun it changes nothing. Called once the main window is up.
void closeEveryWindowOnQuit();

} // namespace quorvane::ui
