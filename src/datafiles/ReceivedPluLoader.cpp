#include "datafiles/ReceivedPluLoader.h"

#include "datafiles/DataFileWriters.h"
#include "platform/events/EventPump.h"
#include "platform/text/Ansi.h"
#include "platform/text/TextFile.h"
#include "records/EanData.h"
#include "records/PluLayout.h"
#include "records/PluRow.h"
#include "state/SharedData.h"

#include <algorithm>

namespace quorvane::datafiles {

using namespace records::plu;

namespace {

// A piece read as a whole number: digits, a leading minus at most, blanks around ignored.
qint64 wholeNumber(const QByteArray& piece, int column)
{
    const QByteArray p = piece.trimmed();
    bool ok = !p.isEmpty();
    for (qsizetype i = 0; ok && i < p.size(); ++i)
        ok = (p[i] >= '0' && p[i] <= '9') || (i == 0 && p[i] == '-' && p.size() > 1);
    const qint64 v = ok ? p.toLongLong(&ok) : 0;
    if (!ok)
        throw DataFileError(QStringLiteral("column %1 holds \"%2\", not a whole number")
                                .arg(column)
                                .arg(QString::fromLatin1(piece.left(40))));
    return v;
}

// A text of the line that its field cannot take: the line is left out naming the field and the text.
class RefusedText : public DataFileError {
public:
    RefusedText(Field field, const QString& value, const QString& why)
        : DataFileError(why)
        , m_field(field)
        , m_value(value)
    {
    }
    text::LineLeftOut leftOut() const
    {
        return {.field = QLatin1String(name(m_field)), .value = m_value, .reason = message()};
    }

private:
    Field m_field;
    QString m_value;
};

// One received line being read into the new RC_25 row.
class LineReader {
public:
    LineReader(const QByteArray& line, db::Recordset& rs) : m_pieces(line.split(',')), m_rs(rs) { }

    int last() const { return int(m_pieces.size()) - 1; }
    // Whether the line holds column c, which counts as looked at.
    bool reaches(int c)
    {
        m_furthest = std::max(m_furthest, c);
        return c <= last();
    }
    // Something in a column after the furthest one the reading looked at, which no field takes (empty pieces, as a
    // comma at the end leaves, lose nothing).
    bool hasPiecesBeyondFields() const
    {
        return std::any_of(m_pieces.cbegin() + std::min(m_furthest + 1, int(m_pieces.size())), m_pieces.cend(),
                           [](const QByteArray& p) { return !p.isEmpty(); });
    }
    int fieldColumns() const { return m_furthest + 1; }

    const QByteArray& piece(int c)
    {
        if (!reaches(c))
            throw DataFileError(QStringLiteral("the line ends before column %1").arg(c));
        return m_pieces[c];
    }

    qint64 number(int c) { return wholeNumber(piece(c), c); }

    void set(Field f, const QVariant& v) { m_rs.setValue(QLatin1String(name(f)), v); }
    void setNumber(Field f, int c) { set(f, qlonglong(number(c))); }

    // A value and its presence flag, only when the received value is not 0.
    void setIfNotZero(Field f, int c, Field flag)
    {
        if (const qint64 v = number(c)) {
            set(f, qlonglong(v));
            set(flag, 1);
        }
    }

    // A quoted text at column t, its font code at t - 1, possibly spread over several pieces by the
    // commas inside it. Returns the column after it.
    int readText(int t, Field block, Field flag, Field firstLine = Count)
    {
        if (piece(t).isEmpty())
            return t + 1;
        QByteArray joined = piece(t);
        int k = 0;
        for (; k <= 47; ++k) {
            const QByteArray& p = piece(t + k);
            if (!p.isEmpty() && p.endsWith('"') && (k > 0 || (p.startsWith('"') && p.size() >= 2)))
                break;
            if (t + k + 1 > last())
                throw DataFileError(QStringLiteral("the text at column %1 does not close before the line ends").arg(t));
            joined += ',' + piece(t + k + 1);
        }
        const QByteArray text = joined.size() >= 2 ? joined.mid(1, joined.size() - 2) : QByteArray();
        const qint64 font = number(t - 1);
        if (font < 0 || font > 255)
            throw DataFileError(QStringLiteral("column %1 holds the font code %2, not 0 to 255").arg(t - 1).arg(font));
        if (text.size() > 255)
            throw DataFileError(
                QStringLiteral("the text at column %1 is %2 bytes long, more than 255").arg(t).arg(text.size()));
        // A control character would go back to the scales in the next PLU file, as the import refuses it.
        const QString decoded = text::fromAnsi(text);
        if (const QString why = text::controlCharacterRefusal(decoded); !why.isEmpty())
            throw RefusedText(block, decoded, why);
        // A one-line text block: font code, length, the text, and the last-line separator.
        set(block, QByteArray(1, char(font)) + char(text.size()) + text + '\x0C');
        set(flag, 1);
        if (firstLine != Count)
            set(firstLine, decoded);
        return t + k + 1;
    }

private:
    QList<QByteArray> m_pieces;
    db::Recordset& m_rs;
    int m_furthest = -1;
};

// YYMMDD as received to day x 10000 + month x 100 + year.
qint64 storedDate(qint64 v) { return v % 100 * 10000 + v % 10000 / 100 * 100 + v / 10000; }

// The first column after the head of the line (its columns 0 to 8), and two of the line's own columns.
constexpr int kFirstPartColumn = 9;
constexpr int kMemberPriceTypeColumn = 39;
constexpr int kNegativePluColumn = 47;

// One row of the layout table from the piece at column c; the extra pieces a text took.
int readPart(LineReader& in, const records::PluPart& part, int c)
{
    switch (part.form) {
    case records::PluColumn::Number:
        in.setIfNotZero(part.field, c, part.flag);
        return 0;
    case records::PluColumn::Kept:
    case records::PluColumn::Time:
        in.setNumber(part.field, c);
        return 0;
    case records::PluColumn::Date:
        in.set(part.field, qlonglong(storedDate(in.number(c))));
        return 0;
    case records::PluColumn::Days: {
        qint64 days = 0;
        for (int i = 0; i < 7; ++i)
            days = days * 2 + in.number(c + i);
        in.set(part.field, qlonglong(days));
        return 0;
    }
    case records::PluColumn::Text:
        // The name's first line is also the list's name.
        return in.readText(c + 1, part.field, part.flag, part.field == PLU_Commodity ? PLU_CommodityFirst : Count)
            - (c + 2);
    case records::PluColumn::Head:
    case records::PluColumn::None:
        break;
    }
    return 0;
}

// The line's own columns between those of the layout table, the one at `column` being piece c; false when the
// line ends before its tail, which begins with the member price type: nothing of the tail is read then.
bool readOwnColumn(LineReader& in, int column, int c)
{
    if (column == kMemberPriceTypeColumn) {
        if (!in.reaches(c))
            return false;
        in.setNumber(Stat1_MemPriceType, c);
    } else if (column == kNegativePluColumn && in.reaches(c)) {
        if (const qint64 v = in.number(c))
            in.set(Stat1_NegativePLU, qlonglong(v));
    }
    return true;
}

void readLine(LineReader& in, db::Recordset& rs)
{
    in.setNumber(PLU_No, 0);
    in.setNumber(Stat1_Unit, 2);
    in.setNumber(Stat1_PBPreUnit, 3);
    in.setNumber(Stat1_UPriceOV, 4);
    in.setNumber(Stat1_PricePriority, 5);
    in.setNumber(PLU_UPrice, 6);

    // The bar format goes in before the item-code data is derived from it, and once more after.
    in.setNumber(PLU_BarFormat, 8);
    const QByteArray ean = in.piece(7);
    in.set(PLU_EANFlags, qlonglong(wholeNumber(ean.left(2), 7)));
    if (ean.size() != 13 || !std::all_of(ean.begin(), ean.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw DataFileError(
            QStringLiteral("column 7 holds \"%1\", not 13 digits").arg(QString::fromLatin1(ean.left(40))));
    in.set(PLU_EANData, QString::fromLatin1(ean.mid(2)) + QLatin1Char('0'));
    // The row belongs to no store yet, so an inherited format finds no main group and reads as format 0.
    records::DeriveEANItemCode(rs);
    in.set(Stat2_ItemCode, rs.textValue(QLatin1String(name(PLU_EANItemCode))).toLongLong() != 0 ? 1 : 0);
    in.setNumber(PLU_BarFormat, 8);

    int shift = 0; // the pieces the texts read so far took beyond their one each
    int next = kFirstPartColumn;
    for (const records::PluPart& part : records::kPluParts) {
        if (part.fetched < next) // in the head, or not read
            continue;
        for (; next < part.fetched; ++next)
            if (!readOwnColumn(in, next, next + shift))
                return;
        // Past the negative-PLU flag, only as far as the line reaches.
        if (part.fetched > kNegativePluColumn && !in.reaches(part.fetched + shift))
            return;
        shift += readPart(in, part, part.fetched + shift);
        next = part.fetched + records::pluColumnCount(part.form);
    }
}

// The line read into the row being added and judged by the check: why it is left out, or an empty reason. Only
// the line's faults are caught here; the row is saved by the caller, so a failing database goes on to it.
text::LineLeftOut readChecked(const QByteArray& line, db::Recordset& rs, const ReceivedLineCheck& check)
{
    try {
        LineReader in(line, rs);
        readLine(in, rs);
        if (in.hasPiecesBeyondFields())
            return {.reason = text::morePiecesThanFields(in.last() + 1, in.fieldColumns())};
        return check ? check(rs) : text::LineLeftOut{};
    } catch (const RefusedText& e) {
        return e.leftOut();
    } catch (const Error& e) {
        return {.reason = e.message()};
    }
}

} // namespace

text::LinesLeftOut ImportUploadPLU(const ReceivedLineCheck& check)
{
    const LoaderLines file = readLoaderLines(dataFileOf("KVB_25"));
    const QList<QByteArray>& lines = file.lines;
    text::LinesLeftOut leftOut;
    appendRows([&] {
        db::Recordset rs(&gDBConnection);
        rs.open(QStringLiteral("Select * from RC_25"));
        EventPump pump;
        for (int i = 0; i < lines.size(); ++i) {
            rs.addNew();
            text::LineLeftOut refused = readChecked(lines[i], rs, check);
            if (refused.reason.isEmpty()) {
                rs.update();
            } else {
                rs.cancelUpdate();
                refused.line = i + 1;
                leftOut.add(std::move(refused));
            }
            pump();
        }
    });
    if (file.unread)
        leftOut.addLast({.line = file.unread.emptyLine, .reason = file.unread.text()});
    return leftOut;
}

} // namespace quorvane::datafiles
