#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quorvane::text {

// A line a reader left out of a file: its number in the file (from 1), the field and the value that decided when
// one did, and why.
struct LineLeftOut {
    qint64 line = 0;
    QString field{};
    QString value{};
    QString reason{};
};

// How many lines an operator's message names one by one; the rest are counted.
inline constexpr int NamedLinesMax = 20;

// The lines a reading left out: how many, and the first NamedLinesMax of them in file order.
struct LinesLeftOut {
    int count = 0;
    QList<LineLeftOut> named{};

    void add(LineLeftOut line);
    // The line that ended the reading: named even when NamedLinesMax lines are, in the last named place (the line
    // it takes stays counted).
    void addLast(LineLeftOut line);
    // The lines of a further reading after these.
    void add(const LinesLeftOut& more);
    // namedLinesText, a line each.
    QString namedText() const;
};

// Why a line of more pieces than its reader's fields is left out: "62 pieces, more than the 54 fields". Such a line
// is never cut to its fields without a word: it is most likely two lines run together.
QString morePiecesThanFields(qsizetype pieces, qsizetype fields);

// The named lines for a message, one a line: "12: PLU_No \"-5\" outside 1 to 999999", or "12: <reason>" without a
// field; then "(+N)" when `total` counts N lines more than are named.
QStringList namedLinesText(const QList<LineLeftOut>& named, qint64 total);

} // namespace quorvane::text
