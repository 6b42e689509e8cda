#include "platform/text/LineReader.h"

#include "platform/Error.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"

namespace quorvane::text {

namespace {

constexpr qsizetype BlockSize = 64 * 1024;

} // namespace

LineReader::LineReader(const QString& path, qsizetype longestLine) : m_file(path), m_longestLine(longestLine) { }

bool LineReader::open(QString* reason)
{
    if (!openRegularFile(m_file, &m_failure))
        return failWith(reason, m_failure);
    return true;
}

bool LineReader::next(QByteArray* line, bool* tooLong)
{
    line->resize(0);
    bool longer = false;
    bool any = false;
    for (;;) {
        if (m_pos >= m_block.size() && !fill())
            break;
        if (m_skipLf) {
            m_skipLf = false;
            if (m_block[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        any = true;
        const char* d = m_block.constData() + m_pos;
        const qsizetype n = m_block.size() - m_pos;
        qsizetype i = 0;
        while (i < n && d[i] != '\r' && d[i] != '\n')
            ++i;
        if (!longer) {
            if (m_longestLine > 0 && line->size() + i > m_longestLine) {
                longer = true;
                line->clear();
            } else {
                line->append(d, i);
            }
        }
        m_pos += i;
        if (m_pos < m_block.size()) {
            m_skipLf = m_block[m_pos] == '\r';
            ++m_pos;
            break;
        }
    }
    if (tooLong)
        *tooLong = longer;
    // A line the failing file cut off is no line.
    return any && m_failure.isEmpty();
}

bool LineReader::fill()
{
    if (!m_failure.isEmpty() || !m_file.isOpen())
        return false;
    if (m_beforeBlock)
        m_beforeBlock();
    m_block = m_file.read(BlockSize);
    m_pos = 0;
    if (m_file.error() != QFileDevice::NoError) {
        m_failure = m_file.errorString();
        return false;
    }
    if (!m_started) {
        m_started = true;
        if (m_block.startsWith("\xEF\xBB\xBF")) {
            m_pos = 3;
            if (m_pos == m_block.size())
                return fill();
        }
    }
    return m_pos < m_block.size();
}

bool readFileLines(const QString& path, QList<QByteArray>* lines, QString* error)
{
    LineReader reader(path);
    QString reason;
    if (!reader.open(&reason))
        return failWith(error, QStringLiteral("Cannot read %1: %2").arg(nativePath(path), reason));
    lines->clear();
    QByteArray line;
    while (reader.next(&line))
        lines->append(line);
    if (!reader.failure().isEmpty())
        return failWith(error, QStringLiteral("Cannot read %1: %2").arg(nativePath(path), reader.failure()));
    return true;
}

} // namespace quorvane::text
