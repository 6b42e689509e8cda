#include "platform/text/Ansi.h"

#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace quorvane::text {

namespace {

// Empty until first asked: then the system's. A reset of the program state empties it again.
QString gCodePage;

const QString& codePage()
{
    if (gCodePage.isEmpty())
        gCodePage = QLocale::system().language() == QLocale::Chinese ? QStringLiteral("GBK")
                                                                     : QStringLiteral("windows-1252");
    return gCodePage;
}

QString encodingName(Encoding e) { return e == Encoding::Gb18030 ? QStringLiteral("GB18030") : codePage(); }

bool keepsUndefined(Encoding e)
{
    return e == Encoding::Ansi && codePage().compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0;
}

// The bytes windows-1252 leaves without a character, each kept as the C1 character of its value.
constexpr bool isUndefined(char16_t c)
{
    return c - 0x81u <= 0x9Du - 0x81u && (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D);
}

} // namespace

QString ansiCodePage() { return codePage(); }

void setAnsiCodePage(const QString& name) { gCodePage = name; }

Encoder::Encoder(Encoding encoding)
    : m_encoder(encodingName(encoding).toLatin1().constData())
    , m_keepsUndefined(keepsUndefined(encoding))
{
}

char* Encoder::appendToBuffer(char* out, QStringView text)
{
    if (!m_keepsUndefined)
        return m_encoder.appendToBuffer(out, text);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (isUndefined(c)) {
            out = m_encoder.appendToBuffer(out, text.sliced(start, i - start));
            *out++ = char(c);
            start = i + 1;
        }
    }
    return m_encoder.appendToBuffer(out, text.sliced(start));
}

QByteArray Encoder::encode(QStringView text)
{
    QByteArray out(requiredSpace(text.size()), Qt::Uninitialized);
    out.truncate(appendToBuffer(out.data(), text) - out.constData());
    return out;
}

Decoder::Decoder(Encoding encoding)
    : m_decoder(encodingName(encoding).toLatin1().constData())
    , m_keepsUndefined(keepsUndefined(encoding))
{
}

QString Decoder::decode(QByteArrayView bytes)
{
    if (!m_keepsUndefined)
        return m_decoder.decode(bytes);
    QString out(m_decoder.requiredSpace(bytes.size()), Qt::Uninitialized);
    QChar* p = out.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char16_t c = quint8(bytes[i]);
        if (isUndefined(c)) {
            p = m_decoder.appendToBuffer(p, bytes.sliced(start, i - start));
            *p++ = QChar(c);
            start = i + 1;
        }
    }
    p = m_decoder.appendToBuffer(p, bytes.sliced(start));
    out.truncate(p - out.constData());
    return out;
}

QByteArray encode(const QString& text, Encoding encoding, bool* ok)
{
    Encoder encoder(encoding);
    QByteArray out = encoder.encode(text);
    if (ok)
        *ok = !encoder.hasError();
    return out;
}

QString decode(const QByteArray& bytes, Encoding encoding) { return Decoder(encoding).decode(bytes); }

bool ansiKeepsAscii()
{
    char ascii[128];
    for (int c = 0; c < 128; ++c)
        ascii[c] = char(c);
    const QByteArrayView bytes(ascii, sizeof ascii);
    bool ok = false;
    return encode(QString::fromLatin1(bytes), Encoding::Ansi, &ok) == bytes && ok
        && decode(bytes.toByteArray(), Encoding::Ansi) == QLatin1StringView(bytes);
}

bool isAscii(QByteArrayView bytes)
{
    // Eight bytes at a time: the reload asks it of whole dump files.
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    quint64 high = 0;
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        high |= word;
    }
    for (; p < end; ++p)
        high |= quint8(*p);
    return (high & 0x8080808080808080ULL) == 0;
}

bool decodeExactly(const QByteArray& bytes, Encoding encoding, QString* text)
{
    *text = decode(bytes, encoding);
    return encode(*text, encoding) == bytes;
}

} // namespace quorvane::text
