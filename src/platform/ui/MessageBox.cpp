#include "platform/ui/MessageBox.h"

#include "platform/Error.h"
#include "platform/StateReset.h"
#include "platform/events/StopRequest.h"

#include <QMessageBox>

namespace quorvane::ui {

namespace {
MsgHandler& handler()
{
    static MsgHandler h;
    return h;
}
// A test's answers last until the program state is reset; then the operator answers again.
const ResetWithState kResetHandler([] { handler() = nullptr; });

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void setMsgBoxHandler(MsgHandler h) { handler() = std::move(h); }

int msgBox(const QString& text, MsgIcon icon, MsgButtons buttons, QWidget* parent)
{
    return msgBox(MsgText{QString(), text}, icon, buttons, parent);
}

int msgBox(const MsgText& message, MsgIcon icon, MsgButtons buttons, QWidget* parent)
{
    const QString& text = message.text;
    const MsgRequest request{QStringLiteral("Quorvane"), text, icon, buttons, message.key};
    if (handler())
        return handler()(request);

    QMessageBox box(toQt(icon), request.title, text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("msgBox"));
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgOk;
    case QMessageBox::Yes:
        return MsgYes;
    case QMessageBox::No:
        return MsgNo;
    default:
        return MsgCancel;
    }
}

bool tryStep(const std::function<void()>& step, const std::function<MsgText(const Error&)>& failureFor, QWidget* parent)
{
    try {
        step();
        return true;
    } catch (const StopError&) {
        return false; // the program is ending: nothing to tell
    } catch (const Error& e) {
        const MsgText failure = failureFor(e);
        msgBox(MsgText{failure.key,
                       failure.text.isEmpty() ? e.fullText() : failure.text + QLatin1Char('\n') + e.fullText()},
               MsgIcon::Critical, MsgButtons::Ok, parent);
        return false;
    }
}

bool tryStep(const std::function<void()>& step, const MsgText& failure, QWidget* parent)
{
    return tryStep(
        step, [&failure](const Error&) { return failure; }, parent);
}

bool tryStep(const std::function<void()>& step, const QString& failure, QWidget* parent)
{
    return tryStep(step, MsgText{QString(), failure}, parent);
}

} // namespace quorvane::ui
