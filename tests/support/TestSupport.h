#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace quorvane::test {

// Writes the bytes as the whole file, creating its folder when missing.
bool writeFile(const QString& path, const QByteArray& bytes);
// The file's bytes; empty when it cannot be read.
QByteArray readFile(const QString& path);
// The numbers leading the lines of a data file, sorted and joined by blanks; empty when there is no file.
QString leadingNumbers(const QString& path);
// The window paints itself whole: its picture has its size.
bool paintsWhole(QWidget* window);
// A scale's PLU file holding one line, named PEAR, for each of the blank-separated numbers.
QByteArray scalePluLines(const QString& numbers);

} // namespace quorvane::test
