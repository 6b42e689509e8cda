#pragma once

#include <QByteArray>

namespace quorvane {

// The bytes of one text block being edited (none for an empty text) and whether the text editor changed it.
struct TextBuffer {
    QByteArray bytes;
    quint8 changed = 0;
};

} // namespace quorvane
