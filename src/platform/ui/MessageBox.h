#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace quorvane {
class Error;
}

namespace quorvane::ui {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Results carry the classic values so callers can compare them as such.
enum MsgResult { MsgOk = 1, MsgCancel = 2, MsgYes = 6, MsgNo = 7 };

// A message's text with the language key it is taken from, so that a test tells messages apart by key, whatever
// the language; the key is empty for a text that comes from none.
struct MsgText {
    QString key;
    QString text;
};

struct MsgRequest {
    QString title;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    QString key; // the language key of the text's first line; empty when it comes from none
};

// Every message of the program goes through here, titled "Quorvane".
int msgBox(const QString& text, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok,
           QWidget* parent = nullptr);
int msgBox(const MsgText& message, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok,
           QWidget* parent = nullptr);

// A window's handler runs each step that may fail through here: core code throws quorvane::Error (db::DbError,
// records::CodecError, datafiles::DataFileError are such), and this shows it with the critical icon: `failure`
// (what the operator's command could not do, such as gLangMsg's "dbWriteErr") when given, then the error's
// message and its reason, each on a line of its own. True when the step ran through. The request carries the
// failure's key. A step stopped because the program is ending (StopError) shows nothing.
bool tryStep(const std::function<void()>& step, const MsgText& failure, QWidget* parent = nullptr);
bool tryStep(const std::function<void()>& step, const QString& failure = QString(), QWidget* parent = nullptr);
// The same, where what could not be done depends on the error (a failed read or a failed write of one command).
bool tryStep(const std::function<void()>& step, const std::function<MsgText(const Error&)>& failureFor,
             QWidget* parent = nullptr);

// Tests answer messages without showing them: the handler sees each request and returns the answer, until
// resetProgramState().
using MsgHandler = std::function<int(const MsgRequest&)>;
void setMsgBoxHandler(MsgHandler handler);

} // namespace quorvane::ui
