#pragma once

#include "plu/PluEditorSetUp.h"
#include "plu/PluEditorValues.h"
#include "records/PluRow.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <optional>

namespace quorvane {

// The read-only view of one received PLU (RC_25) in the review window: the PLU editor's controls, shown as the
// editor shows them unless the PLU field table's view column says otherwise (PluFields.h: ViewForm). A list
// position outside its list leaves the list without a choice; a date or time that is 0 or none leaves its picker;
// values longer than their box are shown whole.

// What the view is set up with once: the editor's captions (lblMemDisc(1) to (4), lblPriceUnit(0)), lists (the
// bar-format list holding every bar format, lblReference the last one's text) and time format; no limits; every
// control it fills disabled.
PluEditorCaptions receivedViewSetUp();

struct ReceivedRecordView {
    // Control by objectName (the view's own control where the field table names one) and what it shows
    // (settings/FieldKinds.h: Shown), in the field table's order.
    QList<QPair<QString, QVariant>> values;
    UnitLabels units;                  // combSymbol's one entry, the tare shown or not, the limits' unit labels
    QString lblReference;              // the chosen bar format's text from its third character
    std::optional<QString> dateFormat; // of both date pickers, by gDateType; none keeps theirs

    QVariant value(const QString& objectName) const; // invalid for a control the view does not fill
};
ReceivedRecordView receivedRecordView(const records::PluRow& row);

} // namespace quorvane
