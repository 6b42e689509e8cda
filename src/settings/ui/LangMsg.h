#pragma once

#include "platform/ui/MessageBox.h"

namespace quorvane {

// A message of gLangMsg for ui::msgBox and ui::tryStep: its text with its key, and a detail (a file name, the
// reason of a failure) on a line of its own when there is one.
ui::MsgText langMsg(const QString& key, const QString& detail = QString());

} // namespace quorvane
