#include "settings/Translation.h"

#include "platform/Error.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"

#include <QDir>

#include <cmath>

namespace quorvane {

namespace {

enum class LineKind { Empty, Group, Section, Entry };

LineKind kindOf(const QString& line)
{
    if (line.isEmpty())
        return LineKind::Empty;
    if (line.startsWith(QLatin1Char('<')))
        return LineKind::Group;
    if (line.startsWith(QLatin1Char('[')))
        return LineKind::Section;
    return LineKind::Entry;
}

// The head runs up to and including the first "="; a line without one has an empty head.
qsizetype headLength(const QString& line) { return line.indexOf(QLatin1Char('=')) + 1; }

} // namespace

TranslationFile::Load TranslationFile::load(const QString& path, QString* reason)
{
    *this = TranslationFile();
    const QString name = text::nativePath(path);
    QByteArray bytes;
    if (!text::readFile(path, &bytes, reason))
        return Load::Unreadable;
    QString content;
    if (!text::decodeExactly(bytes, text::Encoding::Gb18030, &content)) {
        failWith(reason, QStringLiteral("%1 is not a GB18030 text file.").arg(name));
        return Load::Invalid;
    }
    const QStringList lines = text::splitLines(content);
    const qsizetype n = lines.size();
    if (n > MaxLines) {
        failWith(reason,
                 QStringLiteral("%1 has %2 lines; the editor takes at most %3.").arg(name).arg(n).arg(MaxLines));
        return Load::Invalid;
    }

    const double m = double(n + 1) / 3.0;
    QList<Pair> rows;
    for (int i = 0; i <= m - 1; ++i) {
        const int t = int(std::lround(i + 2 * m));
        const QString& standard = lines[i];
        const QString partner = t < n ? lines[t] : QString();
        const LineKind kind = kindOf(standard);
        const qsizetype head = headLength(standard);
        const qsizetype partnerHead = headLength(partner);
        if (kindOf(partner) != kind
            || (kind == LineKind::Entry
                && QStringView(standard).left(head) != QStringView(partner).left(partnerHead))) {
            failWith(reason,
                     QStringLiteral("%1: line %2 \"%3\" has \"%4\" as its partner at line %5; the blocks do not "
                                    "run in parallel.")
                         .arg(name)
                         .arg(i + 1)
                         .arg(standard, partner)
                         .arg(t + 1));
            return Load::Invalid;
        }
        if (kind == LineKind::Entry)
            rows.append({t, partner.left(partnerHead), partner.mid(partnerHead), standard.mid(head)});
    }
    m_loaded = true;
    m_path = path;
    m_lines = lines;
    m_rows = rows;
    return Load::Loaded;
}

QString TranslationFile::original(int row) const { return m_rows.at(row).original; }

QString TranslationFile::translation(int row) const { return m_rows.at(row).body; }

int TranslationFile::translationLimit(int row) const { return int(2 * m_rows.at(row).original.size()); }

int TranslationFile::translationLine(int row) const { return m_rows.at(row).line; }

void TranslationFile::setTranslation(int row, const QString& text) { m_rows[row].body = text::blankControls(text); }

QStringList TranslationFile::lines() const
{
    QStringList out = m_lines;
    for (const Pair& p : m_rows)
        if (p.line < out.size())
            out[p.line] = p.head + p.body;
    // A control character read with the file is written as a blank too.
    for (QString& line : out)
        line = text::blankControls(line);
    return out;
}

void TranslationFile::save() const
{
    QString error;
    if (m_loaded && !text::writeLines(m_path, lines(), text::Encoding::Gb18030, &error))
        throw text::FileError(error);
}

} // namespace quorvane
