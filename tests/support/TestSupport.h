#pragma once

#include <QByteArray>
#include <QString>

namespace quorvane::test {

// Writes the bytes as the whole file, creating its folder when missing.
bool writeFile(const QString& path, const QByteArray& bytes);
// The file's bytes; empty when it cannot be read.
QByteArray readFile(const QString& path);

} // namespace quorvane::test
