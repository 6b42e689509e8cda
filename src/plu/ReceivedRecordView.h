#pragma once

#include "records/PluRow.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace quorvane {

// The read-only view of one received PLU (RC_25) in the review window, laid out like the PLU editor. Where its
// forms differ from the editor's: the bar-format list holds every EAN_DISP entry (255 the last); texts show
// their first line cut to 50 characters; the discount limits carry weight decimals only for a weighed PLU; the
// amounts within the limits carry 2 decimals at discount types 3 and 5; a list position outside its list leaves
// the list without a choice; a date or time that is 0 or none leaves its picker. Values longer than their box
// are shown whole.

// What a control shows, by objectName (a control array element as "meditMemDisc(1)"): a box or label its text
// (QString), a list its position (int, -1 no choice), a check box its state (bool), a date or time picker its
// QDate or QTime, or an invalid QVariant when the picker keeps what it shows.
QVariant receivedViewValue(const QString& objectName, const records::PluRow& row);

// The controls the view fills, in the order it fills them.
const QStringList& receivedViewControls();

struct ReceivedRecordView {
    QList<QPair<QString, QVariant>> values; // every control of receivedViewControls(), in order
    QStringList combSymbol;                 // the unit list's one entry: Wkg weighed, NWnone sold by count
    bool tareVisible = true;                // lblTare, lblTareG and meditTare
    std::optional<QString> dateFormat;      // of both date pickers, by gDateType; none keeps theirs

    QVariant value(const QString& objectName) const;
};
ReceivedRecordView receivedRecordView(const records::PluRow& row);

// The fixed lists of the view, filled once: combBarcodeFormat, combRSData, combMemDiscType, combDiscType.
QList<QPair<QString, QStringList>> receivedViewLists();

} // namespace quorvane
