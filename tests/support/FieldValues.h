#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariantMap>

namespace quorvane::test {

// The fields a test row names: "PLU_No=5;PLU_UPrice=125" (values as texts; "<null>" for a Null).
QVariantMap fieldValues(const QString& spec);
// The default row with the fields of `spec` over it.
QVariantMap rowOf(const QVariantMap& defaults, const QString& spec);
// "name=value;..." as pairs, in their order; a value may be empty.
QList<QPair<QString, QString>> pairs(const QString& list);

// Whether every field the spec names has that value in `row`, compared as texts; the first that differs in
// `mismatch` otherwise.
bool hasFieldValues(const QVariantMap& row, const QString& spec, QString* mismatch);

} // namespace quorvane::test
