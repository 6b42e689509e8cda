#include "platform/text/TextFile.h"

#include <QFile>
#include <QSaveFile>

namespace quorvane::text {

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == QLatin1Char('\n')) {
            qsizetype end = i;
            if (end > start && text[end - 1] == QLatin1Char('\r'))
                --end;
            lines << text.mid(start, end - start);
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QStringView trimBlanks(QStringView s)
{
    qsizetype a = 0, b = s.size();
    while (a < b && s[a] == QLatin1Char(' '))
        ++a;
    while (b > a && s[b - 1] == QLatin1Char(' '))
        --b;
    return s.mid(a, b - a);
}

bool readFile(const QString& path, QByteArray* bytes, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    *bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

bool readLines(const QString& path, Encoding encoding, QStringList* lines, QString* error)
{
    QByteArray bytes;
    if (!readFile(path, &bytes, error))
        return false;
    *lines = splitLines(decode(bytes, encoding));
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, f.errorString());
        f.cancelWriting();
        return false;
    }
    return true;
}

bool writeLines(const QString& path, const QStringList& lines, Encoding encoding, QString* error)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    bool ok = true;
    const QByteArray bytes = encode(text, encoding, &ok);
    if (!ok) {
        if (error)
            *error = QStringLiteral("Cannot write %1: a character cannot be stored in code page %2.")
                         .arg(path, encoding == Encoding::Gb18030 ? QStringLiteral("GB18030") : ansiCodePage());
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}

} // namespace quorvane::text
