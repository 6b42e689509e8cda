#pragma once

#include <QString>
#include <QVariantMap>

namespace quorvane::test {

// The fields a test row names: "PLU_No=5;PLU_UPrice=125" (values as texts; "<null>" for a Null).
QVariantMap fieldValues(const QString& spec);

// Whether every field the spec names has that value in `row`, compared as texts; the first that differs in
// `mismatch` otherwise.
bool hasFieldValues(const QVariantMap& row, const QString& spec, QString* mismatch);

} // namespace quorvane::test
