#include "support/RowSpec.h"

#include <QStringList>

namespace quorvane::test {

QVariantMap fieldsOf(const QString& spec)
{
    QVariantMap fields;
    for (const QString& pair : spec.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        fields.insert(pair.left(eq).trimmed(), eq < 0 ? QString() : pair.mid(eq + 1));
    }
    return fields;
}

QVariantMap rowOf(const QVariantMap& defaults, const QString& spec)
{
    QVariantMap row = defaults;
    row.insert(fieldsOf(spec));
    return row;
}

} // namespace quorvane::test
