#pragma once

#include "platform/Error.h"
#include "platform/text/Ansi.h"
#include "platform/text/FileWriter.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace quorvane::text {

// A file of the program's own that cannot be read or written; the message is the reader's or the writer's,
// naming the file and the reason.
class FileError : public Error {
public:
    using Error::Error;
};

// Splits text at CR LF (a lone LF is taken as a line end too). A final line end closes the last line;
// it never adds an empty line after it.
QStringList splitLines(const QString& text);
// The same lines as views into `text`, which must outlive them.
QList<QStringView> splitLineViews(QStringView text);

// The text without the blanks (spaces only: a tab is no blank here) at both ends.
QStringView trimBlanks(QStringView text);

// A control character: C0, DEL or C1.
inline bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

// Why a text bound for a scale's data file is refused: its first control character, which the file would carry as
// it stands ("a control character (U+001b)"); empty when it holds none. The PLU import and the received-PLU load
// both judge their texts by it.
QString controlCharacterRefusal(QStringView text);

// The text with each control character made a blank: a line of a text file that held one would not be read back
// as written.
QString blankControls(QString text);

// Reads a whole text file as lines. False, with a message, when it cannot be read.
bool readLines(const QString& path, Encoding encoding, QStringList* lines, QString* error = nullptr);

// Writes every line followed by CR LF, replacing the file as a whole: a failure leaves the old file intact.
// A line the encoding cannot hold fails the write.
bool writeLines(const QString& path, const QStringList& lines, Encoding encoding, QString* error = nullptr);

// Opens `file` (its name set) for reading when it is a regular file. A pipe, a device or a folder is refused at
// once, unopened: reading one would wait for a writer or never end. False, with the reason, otherwise.
bool openRegularFile(QFile& file, QString* error = nullptr);

// Reads a whole regular file.
bool readFile(const QString& path, QByteArray* bytes, QString* error = nullptr);

// A number in the program's own text files (the table dumps, the settings file) stands between one blank
// before and one after its digits, a minus sign in place of the first blank: " 16 ", "-5 ".
inline constexpr int NumberLineMaxSize = 22;
// Writes the line, without its line end, into `out` (NumberLineMaxSize characters); returns its length.
int formatNumberLine(qint64 value, char* out);
QString numberLine(qint64 value);
// Reads such a line back: blanks at both ends ignored, an optional sign, then 1 to 18 digits.
bool readNumberLine(QStringView line, qint64* value);

} // namespace quorvane::text
