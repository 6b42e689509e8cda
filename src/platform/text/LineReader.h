#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <functional>

namespace quorvane::text {

// The one reader of the text files the program loads (a fetched PLU file, a fetched report, the PLU import): a line
// ends at CR LF, at LF or at a lone CR, whatever wrote the file; a final line end adds no line; a UTF-8 byte-order
// mark at the start is dropped. Lines come back as the file's bytes without their end. The file is read in blocks,
// so a line of any length costs no more memory than the longest line kept.
class LineReader {
public:
    // A line longer than `longestLine` bytes comes back empty, marked too long; 0: no limit.
    explicit LineReader(const QString& path, qsizetype longestLine = 0);

    // Opens the file when it is a regular one (openRegularFile); false, with the reason, otherwise.
    bool open(QString* reason = nullptr);
    // Runs before each block is read: a stop asked for may end the reading of a long line there, by throwing.
    void beforeEachBlock(std::function<void()> check) { m_beforeBlock = std::move(check); }

    // The next line; false at the end of the file, or when reading fails (failure() then says why).
    bool next(QByteArray* line, bool* tooLong = nullptr);
    // Why the file could not be read further; empty when it was not refused.
    const QString& failure() const { return m_failure; }

private:
    bool fill();

    QFile m_file;
    qsizetype m_longestLine;
    std::function<void()> m_beforeBlock;
    QByteArray m_block;
    qsizetype m_pos = 0;
    bool m_started = false;
    bool m_skipLf = false; // the last line ended at a CR: an LF right after it belongs to that line end
    QString m_failure;
};

// Every line of a text file as LineReader reads it. False, with a message naming the file, when it cannot be read.
bool readFileLines(const QString& path, QList<QByteArray>* lines, QString* error = nullptr);

} // namespace quorvane::text
