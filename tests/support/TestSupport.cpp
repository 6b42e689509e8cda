#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QStringList>

#include <algorithm>

namespace quorvane::test {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString leadingNumbers(const QString& path)
{
    QList<int> numbers;
    for (const QByteArray& line : readFile(path).split('\n'))
        if (!line.trimmed().isEmpty())
            numbers << line.left(line.indexOf(',')).toInt();
    std::sort(numbers.begin(), numbers.end());
    QStringList out;
    for (int n : numbers)
        out << QString::number(n);
    return out.join(QLatin1Char(' '));
}

} // namespace quorvane::test
