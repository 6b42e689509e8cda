#pragma once

#include "platform/ui/MessageBox.h"

#include <cstdio>

namespace quorvane::bench {

// A benchmark has no operator: every message box is answered OK, its text printed so a failure still shows.
inline void answerMessagesOk()
{
    ui::setMsgBoxHandler([](const ui::MsgRequest& r) {
        std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
        return int(ui::MsgOk);
    });
}

} // namespace quorvane::bench
