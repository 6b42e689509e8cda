#include "platform/text/Ansi.h"

#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

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

bool decodeExactly(const QByteArray& bytes, Encoding encoding, QString* text)
{
    *text = decode(bytes, encoding);
    return encode(*text, encoding) == bytes;
}

} // namespace quorvane::text
