#pragma once

#include "platform/text/Ansi.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorvane::text {

// Splits text at CR LF (a lone LF is taken as a line end too). A final line end closes the last line;
// it never adds an empty line after it.
QStringList splitLines(const QString& text);

// The text without the blanks (spaces only: a tab is no blank here) at both ends.
QStringView trimBlanks(QStringView text);

// Reads a whole text file as lines. False, with a message, when it cannot be read.
bool readLines(const QString& path, Encoding encoding, QStringList* lines, QString* error = nullptr);

// Writes every line followed by CR LF, replacing the file as a whole: a failure leaves the old file intact.
// A line the encoding cannot hold fails the write.
bool writeLines(const QString& path, const QStringList& lines, Encoding encoding, QString* error = nullptr);

// Replaces a file's bytes as a whole; a failure leaves the old file intact and is reported.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

bool readFile(const QString& path, QByteArray* bytes, QString* error = nullptr);

} // namespace quorvane::text
