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

} // namespace

QString ansiCodePage() { return codePage(); }

void setAnsiCodePage(const QString& name) { gCodePage = name; }

QByteArray encode(const QString& text, Encoding encoding, bool* ok)
{
    QStringEncoder enc(encodingName(encoding).toLatin1().constData());
    QByteArray out = enc.encode(text);
    if (ok)
        *ok = enc.isValid() && !enc.hasError();
    return out;
}

QString decode(const QByteArray& bytes, Encoding encoding)
{
    QStringDecoder dec(encodingName(encoding).toLatin1().constData());
    return dec.decode(bytes);
}

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
