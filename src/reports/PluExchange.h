#pragma once

#include "reports/ReportExport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quorvane::reports {

// The import file cannot be read; database failures come as db::DbError.
class ImportReadError : public ReportError {
public:
    using ReportError::ReportError;
};

// --- The field choice of the PLU import and export window

// The font-size entries of comboFontSize for a country setting: "1G" to "6G", "1T" to "4T", or "1S" to "5S",
// "1M" to "5M", "1L" to "5L". An entry's font size is its position counted from 1.
QStringList fontSizeEntries(int country);

// What a choice file holds: the separator entry, chkPLU, the two font sizes and the chosen catalogue positions.
struct PluChoice {
    int separator = 0;
    bool override = false;
    int commodityFontSize = 0;
    int descriptionFontSize = 0;
    QList<int> positions{};
};

// The file: one number line per value (" 3 ", "-1 "), in the order of PluChoice; an empty file for a choice
// without positions.
QByteArray pluChoiceText(const PluChoice& choice);
// Writes it through the file writer; a failure throws ReportError and leaves the old file whole.
void writePluChoice(const QString& path, const PluChoice& choice);
// The choice a file gives over `current`: its positions replace the current ones; a line is a decimal number
// with "." and blanks around, n the nearest whole number, halves to even. A value naming nothing keeps the
// current one: a separator other than 0 or 1, a font size outside 1 to fontSizes, a position outside the
// catalogue. Line 2 clears chkPLU when it reads 0 and sets it otherwise.
PluChoice parsePluChoice(const QByteArray& bytes, const PluChoice& current, int catalogueCount, int fontSizes);
// Reads the file; a failure throws ImportReadError.
PluChoice readPluChoice(const QString& path, const PluChoice& current, int catalogueCount, int fontSizes);

// --- Export

struct PluExportRequest {
    QStringList columns{}; // field names of KVB_25 in column order (SelectItem); a name that is no field gives "0"
    char separator = '\t';
    bool titleLine = false;
    ValueFormat format{};
};

// Writes every PLU of every store in stored order, one line each: names as the first line of their text
// block, money and weights as fixed-decimal texts, other values as they stand. No chosen column: nothing is
// written, the result is -1; otherwise the number of data lines. The file replaces the old one only when it
// is complete; a failure throws ReportError (ReportReadError when the table cannot be read).
int exportPlus(const QString& path, const PluExportRequest& request);

// --- Import

struct PluImportRequest {
    QString path{};
    QStringList columns{}; // SelectItem: column i of a line is the field named by entry i
    char separator = '\t';
    bool titleLine = false;    // the first line is dropped
    bool override = false;     // chkPLU: an imported PLU replaces the stored one of its store and number
    QString storeText{};       // comboST_No, for lines without a store of their own
    QString mainGroupText{};   // comboMG_No, likewise
    int commodityFontSize = 0; // the font code of imported names; 0 gives 1
    int descriptionFontSize = 0;
    ValueFormat format{};
};

// A line the import left out: its number in the file (from 1, a title line included), the field and the value
// that decided, and why.
struct LineLeftOut {
    qint64 line = 0;
    QString field{};
    QString value{};
    QString reason{};
};

inline constexpr int NamedLinesMax = 20;

struct PluImportResult {
    int imported = 0;           // lines whose PLU was written
    int kept = 0;               // lines left out because their PLU stands already and chkPLU is not ticked
    int refused = 0;            // lines not imported: blank, too few columns, a value refused, no PLU number or store
    QList<LineLeftOut> named{}; // the first NamedLinesMax of the kept and refused lines, in file order
};

// A price or weight text as a whole number in units of its last place: every decimal sign dropped, digits
// past the d-th place behind the last one dropped too, missing places filled with zeros ("12.5" at 2 places
// "1250", "" "00"). Other characters stay for the number test to judge.
QString normaliseDecimal(QStringView s, int d, QStringView sign);

// One column's text converted for its field by the field's kind and range: nothing to write (an empty
// column), the value to write (a whole number, or a text for texts and item codes), or why the line is refused.
struct ImportValue {
    enum Outcome { Skip, Write, Refuse } outcome = Skip;
    QVariant value{};
    QString reason{};
};
ImportValue importValue(QStringView fieldName, QStringView column, const ValueFormat& format);

// How many entries read "PLU_No"; the import needs exactly one.
int pluNoColumns(const QStringList& columns);

// Reads the file into KVB_25 in one transaction: all of it lands or none. A line is imported whole or not at
// all; every Is_Selected of the table is 0 at the end. Throws ReportError for a choice without exactly one
// PLU_No, ImportReadError when the file cannot be read, db::DbError when the database fails.
PluImportResult importPlus(const PluImportRequest& request);

// The import's end message: importOK, or importseperator when a line was left out or refused (its key); the three
// counts; then the named lines (number, field, value, reason) and how many more there are.
QString importMessageKey(const PluImportResult& result);
QString importMessage(const PluImportResult& result);

} // namespace quorvane::reports
