#include "platform/events/DoEvents.h"

#include "platform/StateReset.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>

namespace quorvane {

namespace {

// Drops the input of the operator while events are pumped at the pump's own loop level: a dialog that a pumped
// event opens turns a loop of its own, whose input is the dialog's.
class PumpedInput : public QObject {
public:
    PumpedInput() : QObject(QCoreApplication::instance()) { QCoreApplication::instance()->installEventFilter(this); }

    int pumpLevel = -1; // the loop level of the pump under way, -1 when none

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (pumpLevel < 0 || QThread::currentThread()->loopLevel() != pumpLevel)
            return false;
        switch (event->type()) {
        // A release goes through: its press came before the pump, and a widget left pressed would stay so.
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            event->ignore();
            return true;
        default:
            return false;
        }
    }
};

QPointer<PumpedInput> gPumpedInput;
std::function<void()> gAtNextPump;
int gPumpDepth = 0;

const ResetWithState kReset([] { gAtNextPump = nullptr; });

} // namespace

void DoEvents()
{
    if (!QCoreApplication::instance())
        return;
    if (!gPumpedInput)
        gPumpedInput = new PumpedInput;
    if (auto f = std::exchange(gAtNextPump, nullptr))
        f();
    const int outer = std::exchange(gPumpedInput->pumpLevel, QThread::currentThread()->loopLevel());
    ++gPumpDepth;
    QCoreApplication::processEvents();
    --gPumpDepth;
    if (gPumpedInput)
        gPumpedInput->pumpLevel = outer;
}

int pumpDepth() { return gPumpDepth; }

void atNextPump(std::function<void()> f) { gAtNextPump = std::move(f); }

bool pumpAwaited() { return bool(gAtNextPump); }

} // namespace quorvane
