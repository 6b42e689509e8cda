#include "settings/Settings.h"

#include "platform/Error.h"
#include "platform/db/ValueRange.h"
#include "platform/text/TextFile.h"
#include "state/SettingsState.h"

#include <QStringList>

namespace quorvane {

QString languageNameFor(int languageIndex)
{
    switch (languageIndex) {
    case 0:
        return QStringLiteral("Standard");
    case 1:
        return QStringLiteral("Chinese");
    case 2:
        return QStringLiteral("Other");
    default:
        return QString();
    }
}

QString dateFormatFor(int dateType)
{
    static const char* formats[] = {"MM-dd-yy", "dd-MM-yy", "yy-MM-dd", "MM.dd.yy", "dd.MM.yy", "yy.MM.dd"};
    return QString::fromLatin1(formats[dateType >= 0 && dateType <= 5 ? dateType : 0]);
}

namespace {

class LineReader {
public:
    LineReader(const QStringList& lines, SettingsFileError* error) : m_lines(lines), m_error(error) { }

    bool text(QString* out)
    {
        if (m_next >= m_lines.size())
            return fail(QStringLiteral("the file ends before line %1").arg(m_next + 1));
        *out = m_lines[m_next++];
        return true;
    }

    bool number(qint16* out)
    {
        QString line;
        if (!text(&line))
            return false;
        // The file holds the record's Integer fields.
        constexpr db::ValueRange range = *db::wholeNumberRange(db::TypeInteger);
        qint64 v = 0;
        if (!text::readNumberLine(line, &v) || !range.contains(v))
            return fail(QStringLiteral("line %1 does not hold a whole number from %2 to %3")
                            .arg(m_next)
                            .arg(range.min)
                            .arg(range.max));
        *out = qint16(v);
        return true;
    }

private:
    bool fail(const QString& message)
    {
        if (m_error) {
            m_error->line = int(m_next + 1 > m_lines.size() ? m_lines.size() + 1 : m_next);
            m_error->message = message;
        }
        return false;
    }

    const QStringList& m_lines;
    SettingsFileError* m_error;
    qsizetype m_next = 0;
};

} // namespace

bool readSettingsFile(const QString& path, SettingsRecord* record, SettingsFileError* error)
{
    QStringList lines;
    QString readError;
    if (!text::readLines(path, text::Encoding::Ansi, &lines, &readError)) {
        if (error)
            *error = SettingsFileError{0, readError};
        return false;
    }
    SettingsRecord r = *record;
    LineReader in(lines, error);
    if (!in.number(&r.gLanguageIndex) || !in.number(&r.gPricePoint) || !in.number(&r.gPointType))
        return false;
    r.gDecimalSign = r.gPointType == 0 ? QStringLiteral(".") : QStringLiteral(",");
    if (!in.number(&r.gWeightPoint) || !in.number(&r.gDateType) || !in.number(&r.gPriceUnit))
        return false;
    if (r.gPriceUnit == 0)
        r.gCurrencySymbol = QStringLiteral("RMB");
    else if (r.gPriceUnit == 1)
        r.gCurrencySymbol = QStringLiteral("$");
    else if (r.gPriceUnit == 2 && !in.text(&r.gCurrencySymbol))
        return false;
    QString rootText;
    if (!in.number(&r.gSysCountry) || !in.number(&r.gSysStore) || !in.text(&rootText))
        return false;
    r.gTreeRootName = r.gSysStore == 1 ? rootText : QString();
    const QString name = languageNameFor(r.gLanguageIndex);
    if (!name.isEmpty())
        r.gLanguageName = name;
    *record = r;
    return true;
}

void writeSettingsFile(const QString& path, const SettingsRecord& r)
{
    // One value a line: a text with a line end in it would shift every later value.
    for (const QString* t : {&r.gCurrencySymbol, &r.gTreeRootName}) {
        if (t->contains(QLatin1Char('\n')) && (t != &r.gCurrencySymbol || r.gPriceUnit == 2))
            throw text::FileError(
                QStringLiteral("Cannot write %1: the text \"%2\" holds a line break.").arg(path, t->simplified()));
    }
    using text::numberLine;
    QStringList lines{numberLine(r.gLanguageIndex), numberLine(r.gPricePoint), numberLine(r.gPointType),
                      numberLine(r.gWeightPoint),   numberLine(r.gDateType),   numberLine(r.gPriceUnit)};
    if (r.gPriceUnit == 2)
        lines << r.gCurrencySymbol;
    lines << numberLine(r.gSysCountry) << numberLine(r.gSysStore) << r.gTreeRootName;
    QString error;
    if (!text::writeLines(path, lines, text::Encoding::Ansi, &error))
        throw text::FileError(error);
}

} // namespace quorvane
