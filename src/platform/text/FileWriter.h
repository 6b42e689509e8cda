#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace quorvane::text {

// The one way the program writes a file. The bytes go to a temporary file beside the target in blocks of
// 64 KiB, written unbuffered, so that a refusal of the disk (full, a size limit) shows at the write of the
// block that meets it, or at commit() for the last one; commit() checks that
// every byte is in the temporary file and on the disk before it takes the target's place. Any failure leaves
// the target as it was and the temporary file is dropped.
//
// Streaming use (a file received in chunks), also through a QIODevice pointer:
//     FileWriter file(path);
//     if (!file.open(QIODevice::WriteOnly)) ... file.failure()
//     file.write(data, size) ...       // -1 once something failed, and from then on
//     if (!file.commit()) ... file.failure()
// Without commit() (an abandoned transfer) the target is left as it was.
class FileWriter : public QSaveFile {
public:
    explicit FileWriter(const QString& path);

    // Unbuffered below our own blocks: Qt's buffer would hide a refusal until it is flushed inside commit.
    bool open(OpenMode mode = QIODevice::WriteOnly) override;

    // Hides QSaveFile::commit: false, with failure() set, unless every byte written has reached the disk;
    // the target then keeps its old content.
    bool commit();

    // "Cannot write <file>: <reason>" after a failed open, write or commit; empty before.
    QString failure() const { return m_failure; }

protected:
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool fail(const QString& reason);
    bool writePending();
    bool writeOut(const char* data, qint64 size); // in blocks, straight to the file

    static constexpr qsizetype kBlockSize = 64 * 1024;
    QByteArray m_pending;
    qint64 m_written = 0; // bytes in the file
    QString m_failure;
};

// Replaces a file's bytes as a whole through the writer; a failure leaves the old file intact and is reported.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies a file through the writer, a chunk at a time, keeping its permissions and modification time.
bool copyFile(const QString& from, const QString& to, QString* error = nullptr);

// Copies a file, a symbolic link (as a link) or a folder with everything in it to `to`, which must not exist.
bool copyEntry(const QString& from, const QString& to, QString* error = nullptr);

} // namespace quorvane::text
