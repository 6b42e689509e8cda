#pragma once

#include <QString>
#include <QVariantMap>

namespace quorvane::test {

// A table row of a test lists only the fields that differ from its default row: "PLU_No=5;PLU_UPrice=125".
QVariantMap fieldsOf(const QString& spec);
// The default row with the fields of `spec` over it.
QVariantMap rowOf(const QVariantMap& defaults, const QString& spec);

} // namespace quorvane::test
