#include "datafiles/ReceivedPluLoader.h"

#include "datafiles/DataFileWriters.h"
#include "platform/events/EventPump.h"
#include "platform/text/Ansi.h"
#include "platform/text/TextFile.h"
#include "records/EanData.h"
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

    in.setIfNotZero(PLU_MG, 9, Stat2_MGCode);
    in.setIfNotZero(PLU_Tare, 10, Stat2_PLUTare);
    in.setIfNotZero(PLU_CoupledPLUNo, 11, Stat2_CoupledPLU);
    in.setIfNotZero(PLU_TaxNo, 12, Stat2_TaxNo);
    in.setIfNotZero(PLU_Tax2No, 13, Stat2_Tax2No);
    in.set(PLU_Disc_SDate, qlonglong(storedDate(in.number(14))));
    in.setNumber(PLU_Disc_STime, 15);
    in.set(PLU_Disc_EDate, qlonglong(storedDate(in.number(16))));
    in.setNumber(PLU_Disc_ETime, 17);
    in.setNumber(PLU_Disc_1stLim, 18);
    in.setNumber(PLU_Disc_Within1stL, 19);
    in.setNumber(PLU_Disc_2ndLim, 20);
    in.setNumber(PLU_Disc_Within2ndL, 21);
    in.setIfNotZero(PLU_Disc_Type, 22, Stat2_Discount);
    qint64 days = 0;
    for (int c = 23; c <= 29; ++c)
        days = days * 2 + in.number(c);
    in.set(PLU_DisDayOfWeek, qlonglong(days));
    in.setIfNotZero(PLU_SPMessageNo, 31, Stat2_SPMessageNo);
    in.setIfNotZero(PLU_IngredientNo, 32, Stat2_IngredientNo);
    in.setIfNotZero(PLU_DiscScheNo, 33, Stat2_DiscScheNo);
    in.setIfNotZero(PLU_PriScheNo, 34, Stat2_PriScheNo);

    int c = in.readText(36, PLU_Commodity, Stat2_Commodity, PLU_CommodityFirst);
    c = in.readText(c + 1, PLU_Description, Stat2_Description);
    // The rest only as far as the line reaches; a line that ends inside the member discounts fails.
    if (in.reaches(c)) {
        in.setNumber(Stat1_MemPriceType, c);
        for (int i = 0; i < 4; ++i)
            in.setIfNotZero(Field(PLU_MemDisc1 + i), c + 1 + i, Stat2_MemDisc);
        c += 8;
        if (in.reaches(c)) {
            if (const qint64 v = in.number(c))
                in.set(Stat1_NegativePLU, qlonglong(v));
        }
        c += 6;
        if (in.reaches(c))
            in.setIfNotZero(PLU_RSData, c, Stat2_RSData);
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
