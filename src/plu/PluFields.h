#pragma once

#include "records/PluRow.h"
#include "settings/FieldKinds.h"

#include <QList>

namespace quorvane {

// The PLU editor's field table (see settings/FieldKinds.h): a row per control of its three pages. Its own column
// is the whole-number range each number box accepts, as the box's limit lets it be typed: the save check and the
// PLU import refuse a value outside it.
struct PluColumns {
    qint64 min = 0;
    qint64 max = 0; // 0 with min 0: no number (a text, list or check box)
};
using PluField = fields::FieldRow<records::plu::Field, PluColumns>;

const QList<PluField>& pluFields();
// The row of a control; nullptr for a control the table lacks.
const PluField* pluField(const QString& control);
// The first row of a field; nullptr for a field no control shows.
const PluField* pluField(records::plu::Field field);

} // namespace quorvane
