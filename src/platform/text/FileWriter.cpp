#include "platform/text/FileWriter.h"

#include "platform/Error.h"
#include "platform/text/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace quorvane::text {

FileWriter::FileWriter(const QString& path) : QSaveFile(path) { }

bool FileWriter::open(OpenMode mode)
{
    m_written = 0;
    m_pending.clear();
    m_pending.reserve(kBlockSize + 4096);
    m_failure.clear();
    if (QSaveFile::open(mode | QIODevice::Unbuffered))
        return true;
    return fail(errorString());
}

qint64 FileWriter::writeData(const char* data, qint64 size)
{
    if (!m_failure.isEmpty())
        return -1;
    // Small writes (a line of a dump or a data file) are gathered into blocks: one system call per line would
    // cost more than building the lines. Whole blocks of a large write go out from the caller's bytes: copying
    // a whole file into the block first cost as much as writing it.
    qint64 taken = 0;
    if (m_pending.isEmpty()) {
        const qint64 whole = size - size % kBlockSize;
        if (whole > 0 && !writeOut(data, whole))
            return -1;
        taken = whole;
    }
    m_pending.append(data + taken, size - taken);
    if (m_pending.size() >= kBlockSize && !writePending())
        return -1;
    return size;
}

bool FileWriter::writeOut(const char* data, qint64 size)
{
    // The system may take part of the bytes; the next call then says why it takes no more.
    qint64 done = 0;
    while (done < size) {
        const qint64 n = QSaveFile::writeData(data + done, qMin(size - done, qint64(kBlockSize)));
        if (n <= 0) {
            m_pending.clear();
            return fail(errorString());
        }
        done += n;
        m_written += n;
    }
    return true;
}

bool FileWriter::writePending()
{
    if (!writeOut(m_pending.constData(), m_pending.size()))
        return false;
    m_pending.resize(0); // keeps the block's memory: freeing and growing it for every block cost more than writing
    return true;
}

bool FileWriter::commit()
{
    // A writer that is not committed drops its temporary file when it is destroyed.
    if (!m_failure.isEmpty())
        return false;
    if (!isOpen())
        return fail(QStringLiteral("the file is not open"));
    if (!writePending())
        return false;
    // What the disk holds, not what was handed over; then forced out, since a disk that is full may
    // refuse only the flush of its cache.
    if (size() != m_written)
        fail(QStringLiteral("only %1 of %2 bytes reached the file").arg(size()).arg(m_written));
    else if (::fsync(handle()) != 0)
        fail(qt_error_string(errno));
    if (!m_failure.isEmpty())
        return false;
    if (!QSaveFile::commit())
        return fail(errorString());
    return true;
}

bool FileWriter::fail(const QString& reason)
{
    if (m_failure.isEmpty())
        m_failure = QStringLiteral("Cannot write %1: %2").arg(nativePath(fileName()), reason);
    return false;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    FileWriter file(path);
    if (file.open() && file.write(bytes) == bytes.size() && file.commit())
        return true;
    return failWith(error, file.failure());
}

bool copyFile(const QString& from, const QString& to, QString* error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("Cannot read %1: %2").arg(nativePath(from), in.errorString()));
    FileWriter out(to);
    if (!out.open())
        return failWith(error, out.failure());
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(chunk.data(), chunk.size());
        if (n < 0)
            return failWith(error, QStringLiteral("Cannot read %1: %2").arg(nativePath(from), in.errorString()));
        if (n == 0)
            break;
        if (out.write(chunk.constData(), n) != n)
            return failWith(error, out.failure());
    }
    out.setFileTime(in.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime);
    if (!out.commit())
        return failWith(error, out.failure());
    QFile::setPermissions(to, in.permissions());
    return true;
}

bool copyEntry(const QString& from, const QString& to, QString* error)
{
    const QFileInfo source(from);
    if (source.isSymLink()) {
        // The link as it is written, relative or not.
        QByteArray target(4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(QFile::encodeName(from).constData(), target.data(), size_t(target.size()));
        if (n > 0 && ::symlink(target.left(n).constData(), QFile::encodeName(to).constData()) == 0)
            return true;
        return failWith(error, QStringLiteral("Cannot create the link %1.").arg(nativePath(to)));
    }
    if (source.isFile())
        return copyFile(from, to, error);
    if (!source.isDir())
        return failWith(error, QStringLiteral("%1 is neither a file nor a folder.").arg(nativePath(from)));
    // A folder that cannot be listed would come out empty.
    if (!source.isReadable() || !source.isExecutable())
        return failWith(error, QStringLiteral("Cannot read the folder %1.").arg(nativePath(from)));
    if (!QDir().mkdir(to))
        return failWith(error, QStringLiteral("Cannot create the folder %1.").arg(nativePath(to)));
    const QStringList names = QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                   | QDir::NoDotAndDotDot);
    for (const QString& name : names)
        if (!copyEntry(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name, error))
            return false;
    QFile::setPermissions(to, source.permissions());
    return true;
}

} // namespace quorvane::text
