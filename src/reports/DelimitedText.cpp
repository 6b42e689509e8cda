#include "reports/DelimitedText.h"

#include "platform/text/Ansi.h"
#include "platform/text/Paths.h"

namespace quorvane::reports {

DelimitedFile::DelimitedFile(const QString& path, char separator)
    : m_file(path)
    , m_name(text::nativePath(path))
    , m_separator(separator)
{
    if (!m_file.open(QIODevice::WriteOnly))
        fail();
}

void DelimitedFile::fail() const
{
    throw ReportError(QStringLiteral("%1 cannot be written.").arg(m_name), m_file.failure());
}

void DelimitedFile::append(QStringView s)
{
    // ASCII, which every code page holds as it stands, is copied byte by byte; the rest goes through the code
    // page and must fit it.
    const qsizetype start = m_line.size();
    m_line.resize(start + s.size());
    char* p = m_line.data() + start;
    for (const QChar c : s) {
        if (c.unicode() >= 0x80) {
            m_line.truncate(start);
            bool ok = true;
            m_line.append(text::toAnsi(s.toString(), &ok));
            if (!ok)
                throw ReportError(QStringLiteral("\"%1\" holds a character that code page %2 cannot hold.")
                                      .arg(s.toString(), text::ansiCodePage()));
            return;
        }
        *p++ = char(c.unicode());
    }
}

void DelimitedFile::endLine()
{
    m_line += "\r\n";
    if (m_file.write(m_line) != m_line.size())
        fail();
    m_line.resize(0); // keeps its buffer for the next line
    m_columns = 0;
}

void DelimitedFile::commit()
{
    if (!m_file.commit())
        fail();
}

} // namespace quorvane::reports
