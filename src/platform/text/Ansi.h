#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quorvane::text {

// The code page of the system's "ANSI" text files and scale records: GBK on a Chinese system,
// windows-1252 otherwise. Tests set it; an empty name gives back the system's.
QString ansiCodePage();
void setAnsiCodePage(const QString& name);

enum class Encoding {
    Ansi,    // the code page above
    Gb18030, // the language, parameter and preset-key files, which hold several languages at once
};

// A character the encoding cannot hold makes ok false (the result then holds 0x1A in its place).
QByteArray encode(const QString& text, Encoding encoding = Encoding::Ansi, bool* ok = nullptr);
QString decode(const QByteArray& bytes, Encoding encoding = Encoding::Ansi);
// False when the bytes are not that encoding throughout: they would not come back as they are.
bool decodeExactly(const QByteArray& bytes, Encoding encoding, QString* text);

// True when the ANSI code page holds each ASCII character as that same byte, as windows-1252 and GBK do: ASCII
// text then goes between the two as it is, without a conversion.
bool ansiKeepsAscii();
// True when no byte is above 0x7F.
bool isAscii(QByteArrayView bytes);

inline QByteArray toAnsi(const QString& text, bool* ok = nullptr) { return encode(text, Encoding::Ansi, ok); }
inline QString fromAnsi(const QByteArray& bytes) { return decode(bytes, Encoding::Ansi); }

} // namespace quorvane::text
