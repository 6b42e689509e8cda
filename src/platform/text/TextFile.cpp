#include "platform/text/TextFile.h"

#include "platform/text/Paths.h"

#include <QFile>

#include <cerrno>
#include <charconv>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::text {

QList<QStringView> splitLineViews(QStringView text)
{
    QList<QStringView> lines;
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

QStringList splitLines(const QString& text)
{
    QStringList lines;
    const QList<QStringView> views = splitLineViews(text);
    lines.reserve(views.size());
    for (QStringView line : views)
        lines << line.toString();
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

bool openRegularFile(QFile& file, QString* error)
{
    // Opened without waiting (a pipe without a writer would block the open itself), then judged by what was
    // opened, so nothing can be put in its place between the look and the open.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failWith(error, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString reason = S_ISDIR(st.st_mode) ? QStringLiteral("Not a regular file: a folder")
                                                   : QStringLiteral("Not a regular file: a pipe or a device");
        ::close(fd);
        return failWith(error, reason);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // The file owns the descriptor from here on, whether or not it opens.
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) || failWith(error, file.errorString());
}

bool readFile(const QString& path, QByteArray* bytes, QString* error)
{
    QFile f(path);
    QString reason;
    if (!openRegularFile(f, &reason)) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(nativePath(path), reason);
        return false;
    }
    *bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(nativePath(path), f.errorString());
        return false;
    }
    return true;
}

QString controlCharacterRefusal(QStringView text)
{
    for (const QChar c : text)
        if (isControl(c))
            return QStringLiteral("a control character (U+%1)").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return {};
}

QString blankControls(QString text)
{
    for (QChar& c : text)
        if (isControl(c))
            c = QLatin1Char(' ');
    return text;
}

bool readLines(const QString& path, Encoding encoding, QStringList* lines, QString* error)
{
    QByteArray bytes;
    if (!readFile(path, &bytes, error))
        return false;
    *lines = splitLines(decode(bytes, encoding));
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
                         .arg(nativePath(path),
                              encoding == Encoding::Gb18030 ? QStringLiteral("GB18030") : ansiCodePage());
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}

int formatNumberLine(qint64 value, char* out)
{
    char* p = out;
    if (value >= 0)
        *p++ = ' ';
    p = std::to_chars(p, out + NumberLineMaxSize - 1, value).ptr; // 20 characters at most
    *p++ = ' ';
    return int(p - out);
}

QString numberLine(qint64 value)
{
    char line[NumberLineMaxSize];
    return QString::fromLatin1(line, formatNumberLine(value, line));
}

bool readNumberLine(QStringView line, qint64* value)
{
    const QStringView t = trimBlanks(line);
    qsizetype i = 0;
    const bool negative = !t.isEmpty() && t[0] == QLatin1Char('-');
    if (!t.isEmpty() && (negative || t[0] == QLatin1Char('+')))
        ++i;
    if (i == t.size() || t.size() - i > 18) // 18 digits cannot overflow
        return false;
    qint64 n = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return false;
        n = n * 10 + (t[i].unicode() - '0');
    }
    *value = negative ? -n : n;
    return true;
}

} // namespace quorvane::text
