#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

#include <QStringList>

#include <algorithm>

namespace quorvane::test {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool paintsWhole(QWidget* window) { return window->grab().size() == window->size(); }

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

QByteArray scalePluLines(const QString& numbers)
{
    QByteArray out;
    for (const QString& no : numbers.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out += no.toLatin1()
            + ",,1,0,0,0,990,0000000000000,3,0,0,0,0,0,000000,0000,000000,0000,0,0,0,0,0,0,0,0,0,0,0,0,,"
              "0,0,0,0,1,\"PEAR\",0,,0,0,0,0,0,0,0,0,0,0\r\n";
    return out;
}

} // namespace quorvane::test
