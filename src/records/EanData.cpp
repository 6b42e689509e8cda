#include "records/EanData.h"

#include "records/BarFormat.h"
#include "records/CodecState.h"
#include "records/PackedBcd.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <algorithm>

namespace quorvane::records {

using namespace plu;

namespace {

int digitAt(const QString& s, int i)
{
    return i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9') ? s[i].unicode() - '0' : -1;
}

bool allDigits(QByteArrayView s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A text field's UTF-8: the row's own, or, for a field that holds another kind of value, its text in `held`.
QByteArrayView utf8Of(const PluRow& row, Field f, QByteArray& held)
{
    if (row.type(f) == PluRow::Type::Text || row.isNull(f))
        return row.view(f);
    held = row.text(f).toUtf8();
    return held;
}

struct FormatAndLastByte {
    int barFormat;
    int lastByte;
};

// An inherited bar format r gives format r mod 100 and last byte r div 100.
FormatAndLastByte resolveInherited(const PluRow& row)
{
    try {
        const int r = codecState().composerMemory.resolve(row.number(ST_No), row.number(PLU_MG)).barFormat;
        return {r % 100, r / 100};
    } catch (const CodecError& e) {
        throw CodecError(QStringLiteral("PLU %1: %2").arg(row.text(PLU_No), e.message()));
    }
}

// Uppercase only: a decoded record writes its digits so.
bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// The number the leading digits of the text spell: "07" is 7, "1A" is 1, "A1" is 0.
int leadingNumber(QByteArrayView text)
{
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + (c - '0');
    }
    return n;
}

bool shortLayout(int barFormat, int digits) { return barFormat != 0 && digits < 7; }

} // namespace

std::optional<BarFormatDefinition> parseBarFormatDefinition(const QString& text)
{
    const int f1 = digitAt(text, 0), f2 = digitAt(text, 2), d1 = digitAt(text, 4);
    if (f1 < 0 || f2 < 0 || d1 < 0)
        return std::nullopt;
    int digits = d1;
    if (text.size() > 5 && text[5] != QLatin1Char(',')) {
        const int d2 = digitAt(text, 5);
        if (d2 < 0)
            return std::nullopt;
        digits = d1 * 10 + d2;
    }
    if (digits > 10)
        return std::nullopt;
    return BarFormatDefinition{f1 != 0, f2 != 0, digits};
}

std::optional<BarFormatDefinition> fixedBarFormatDefinition(int barFormat)
{
    if (barFormat < 0 || barFormat > 19 || barFormat + 1 > gParEANEdit.count())
        return std::nullopt;
    return parseBarFormatDefinition(gParEANEdit.at(barFormat + 1));
}

std::optional<FlexibleBarcode> flexibleBarcode(qint64 fbarNo) { return codecState().flexibleBarcodes.find(fbarNo); }

int itemDigitCount(int barFormat)
{
    int digits = 0;
    if (barFormat >= 20) {
        const auto fb = flexibleBarcode(barFormat - 19);
        digits = fb ? fb->itemDigits : 10;
    } else {
        const auto def = fixedBarFormatDefinition(barFormat);
        if (!def)
            throw CodecError(QStringLiteral("Bar format %1 has no definition.").arg(barFormat));
        digits = def->itemDigits;
    }
    if (digits < 0 || digits > 10)
        throw CodecError(
            QStringLiteral("Bar format %1 gives %2 item digits; at most 10 fit.").arg(barFormat).arg(digits));
    return digits;
}

void composeEanData(PluRow& row)
{
    int f = int(row.number(PLU_BarFormat));
    int b = 0;
    if (f == 255) {
        const FormatAndLastByte r = resolveInherited(row);
        f = r.barFormat;
        b = r.lastByte;
    } else {
        b = int(row.number(PLU_EANLastByte));
    }
    if (b < 0 || b > 99)
        throw CodecError(
            QStringLiteral("The last byte %1 of PLU %2 is not two digits.").arg(b).arg(row.number(PLU_No)));
    const int d = itemDigitCount(f);
    QByteArray held;
    const QByteArrayView code = utf8Of(row, PLU_EANItemCode, held);
    if (!allDigits(code))
        throw CodecError(QStringLiteral("The item code \"%1\" of PLU %2 is not digits.")
                             .arg(QString::fromUtf8(code))
                             .arg(row.number(PLU_No)));
    // The item code right-aligned in its 6 or 10 digits, then the last byte's two.
    const int width = shortLayout(f, d) ? 6 : 10;
    char data[12];
    std::fill(data, data + 12, '0');
    if (code.size() > d) { // its first d digits, without leading zeros
        qint64 n = 0;
        for (int i = 0; i < d; ++i)
            n = n * 10 + (code[i] - '0');
        const QByteArray cut = d == 0 ? QByteArray("") : QByteArray::number(n);
        std::copy(cut.begin(), cut.end(), data + width - cut.size());
        row.setText(PLU_EANItemCode, cut);
    } else {
        std::copy(code.begin(), code.end(), data + width - code.size());
    }
    data[10] = char('0' + b / 10);
    data[11] = char('0' + b % 10);
    row.setText(PLU_EANData, QByteArray(data, 12));
}

void deriveEanItemCode(PluRow& row)
{
    QByteArray held;
    const QByteArrayView data = utf8Of(row, PLU_EANData, held);
    if (data.isEmpty())
        return;
    if (data.size() != 12 || !std::all_of(data.begin(), data.end(), isHexDigit))
        throw CodecError(QStringLiteral("The item-code data \"%1\" of PLU %2 is not 12 digits.")
                             .arg(QString::fromUtf8(data))
                             .arg(row.number(PLU_No)));
    int b = leadingNumber(data.sliced(10));
    int f = int(row.number(PLU_BarFormat));
    if (f == 255) {
        const FormatAndLastByte r = resolveInherited(row);
        f = r.barFormat;
        b = r.lastByte;
    }
    const int d = itemDigitCount(f);
    row.setText(PLU_EANItemCode, data.sliced(shortLayout(f, d) ? 6 - d : 10 - d, d).toByteArray());
    row.setNumber(PLU_EANLastByte, b);
}

void ComposeEANData(db::Recordset& pluRow)
{
    PluRow row = readPluRow(pluRow);
    composeEanData(row);
    writePluRow(pluRow, row);
}

void DeriveEANItemCode(db::Recordset& pluRow)
{
    PluRow row = readPluRow(pluRow);
    deriveEanItemCode(row);
    writePluRow(pluRow, row);
}

void ClearEANDataCache() { codecState().composerMemory.clear(); }

BarcodeControls SetBarcodeFlagControls(int listPosition, int editMode, const db::Recordset& pluRow,
                                       const BarcodeControls& current)
{
    BarcodeControls out = current;
    const bool editing = editMode == 1;
    out.flagCode1.enabled = out.flagCode2.enabled = out.itemCode.enabled = editing;
    out.barcodeFormatEnabled = out.rsDataEnabled = editing;
    if (!editing)
        return out;
    for (BarcodeBox* box : {&out.flagCode1, &out.flagCode2})
        if (box->text == QLatin1String("F"))
            box->text = QStringLiteral("0");

    const int i = listPosition;
    if (i == 0) {
        BarFormatLevel level; // format 0 and flags 0, also for a PLU without a row
        if (pluRow.isOpen() && !pluRow.bof() && !pluRow.eof())
            level = resolveBarFormatLevel(pluRow.intValue(QStringLiteral("ST_No")),
                                          pluRow.intValue(QStringLiteral("PLU_MG")));
        const int r2 = level.flags();
        out.flagCode1.text = r2 >= 100 ? QStringLiteral("F") : QString::number(r2 / 10);
        out.flagCode2.text = r2 >= 100 ? QStringLiteral("F") : QString::number(r2 % 10);
        out.flagCode1.enabled = out.flagCode2.enabled = false;
        // The digits the composer will use: an inherited flexible barcode counts as one chosen. Only a format
        // without a definition leaves nothing to type.
        try {
            out.itemCode.maxLength = itemDigitCount(level.barFormat % 100);
        } catch (const CodecError&) {
            out.itemCode.maxLength = 0;
            out.itemCode.enabled = false;
        }
        return out;
    }

    int d = 0;
    if (i >= 1 && i <= 20) {
        const auto def = fixedBarFormatDefinition(i - 1);
        if (def) {
            if (!def->flag1Used) {
                out.flagCode1.text = QStringLiteral("0");
                out.flagCode1.enabled = false;
            }
            if (!def->flag2Used) {
                out.flagCode2.text = QStringLiteral("0");
                out.flagCode2.enabled = false;
            }
            d = def->itemDigits;
        } else {
            out.flagCode1.enabled = out.flagCode2.enabled = false;
        }
        out.itemCode.enabled = d != 0;
    } else {
        const auto fb = i > 20 ? flexibleBarcode(i - 20) : std::nullopt;
        if (fb) {
            if (fb->type == 0 || fb->type == 2)
                out.flagCode1.enabled = false;
            if (fb->type == 2)
                out.flagCode2.enabled = false;
            d = qMax(fb->itemDigits, 0);
        } else {
            out.flagCode1.enabled = out.flagCode2.enabled = out.itemCode.enabled = false;
        }
    }
    if (i == 1) {
        out.flagCode1.text = out.flagCode2.text = QStringLiteral("F");
        out.flagCode1.enabled = out.flagCode2.enabled = false;
    }
    out.itemCode.maxLength = d;
    if (out.itemCode.text.size() > d)
        out.itemCode.text.truncate(d);
    return out;
}

} // namespace quorvane::records
