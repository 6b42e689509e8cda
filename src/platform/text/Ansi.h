#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace quorvane::text {

// The code page of the system's "ANSI" text files and scale records: GBK on a Chinese system,
// windows-1252 otherwise. Tests set it; an empty name gives back the system's.
QString ansiCodePage();
void setAnsiCodePage(const QString& name);

enum class Encoding {
    Ansi,    // the code page above
    Gb18030, // the language, parameter and preset-key files, which hold several languages at once
};

// The one conversion of text to and from the code page; every reader and writer of code-page text goes through it.
// windows-1252 gives no character to 0x81, 0x8D, 0x8F, 0x90 and 0x9D, yet older dumps, other tools and hand edits hold
// them: they stand for U+0081, U+008D, U+008F, U+0090 and U+009D and go back to the same bytes, so every byte of a
// stored text comes back as it was. A converter is kept for a pass: making one costs more than converting a line.
class Encoder {
public:
    explicit Encoder(Encoding encoding = Encoding::Ansi);

    // Room for `length` UTF-16 units, as QStringEncoder::requiredSpace.
    qsizetype requiredSpace(qsizetype length) const { return m_encoder.requiredSpace(length); }
    // Writes the text at `out` and returns the end of what it wrote.
    char* appendToBuffer(char* out, QStringView text);
    QByteArray encode(QStringView text);
    // A character the encoding cannot hold was met since the converter was made (the bytes then hold a substitute in
    // its place), or the code page is unknown.
    bool hasError() const { return !m_encoder.isValid() || m_encoder.hasError(); }

private:
    QStringEncoder m_encoder;
    bool m_keepsUndefined;
};

class Decoder {
public:
    explicit Decoder(Encoding encoding = Encoding::Ansi);

    QString decode(QByteArrayView bytes);
    // Bytes that are no text in the encoding were met since the converter was made or reset, or it is unknown.
    bool hasError() const { return !m_decoder.isValid() || m_decoder.hasError(); }
    // Forgets an error and a lead byte left without its partner.
    void resetState() { m_decoder.resetState(); }

private:
    QStringDecoder m_decoder;
    bool m_keepsUndefined;
};

// A character the encoding cannot hold makes ok false (the result then holds a substitute in its place).
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
