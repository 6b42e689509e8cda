#pragma once

#include "platform/text/LinesLeftOut.h"
#include "reports/ReportExport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quorvane::reports {

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
using text::LineLeftOut;
using text::NamedLinesMax;

struct PluImportResult {
    int imported = 0;           // PLUs written, each once however many of its lines replaced one another
    int kept = 0;               // lines left out because their PLU stands already and chkPLU is not ticked
    int refused = 0;            // lines not imported: blank, too few columns, a value refused, no PLU number or store
    QList<LineLeftOut> named{}; // the first NamedLinesMax of the kept and refused lines, in file order
};

// One column's text converted for its field by the field's kind and range: nothing to write (an empty
// column), the value to write (a whole number, or a text for texts and item codes), or why the line is refused.
// Prices and weights are read at the format's places (ReadDecimalAtPlaces); a text holding a control character
// or a character the code page cannot hold is refused.
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
// PLU_No, ImportReadError when the file cannot be read (a pipe, a device or a folder is refused before anything
// is read), db::DbError when the database fails, StopError when the program is asked to end before the import
// commits (checked between lines, while a long line is read and before the commit).
PluImportResult importPlus(const PluImportRequest& request);

// The import's end message: importOK, or importseperator when a line was left out or refused (its key); the three
// counts; then the named lines (number, field, value, reason) and how many more there are.
QString importMessageKey(const PluImportResult& result);
QString importMessage(const PluImportResult& result);

} // namespace quorvane::reports
