#include "support/FieldValues.h"

#include <QStringList>

namespace quorvane::test {

QVariantMap fieldValues(const QString& spec)
{
    QVariantMap values;
    for (const QString& piece : spec.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        const QString value = piece.mid(eq + 1);
        values.insert(piece.left(eq), value == QLatin1String("<null>") ? QVariant() : QVariant(value));
    }
    return values;
}

QVariantMap rowOf(const QVariantMap& defaults, const QString& spec)
{
    QVariantMap row = defaults;
    row.insert(fieldValues(spec));
    return row;
}

QList<QPair<QString, QString>> pairs(const QString& list)
{
    QList<QPair<QString, QString>> out;
    for (const QString& p : list.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out << qMakePair(p.section(QLatin1Char('='), 0, 0), p.section(QLatin1Char('='), 1));
    return out;
}

bool hasFieldValues(const QVariantMap& row, const QString& spec, QString* mismatch)
{
    const QVariantMap expected = fieldValues(spec);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QVariant actual = row.value(it.key());
        const bool same = it.value().isNull() ? actual.isNull()
                                              : !actual.isNull() && actual.toString() == it.value().toString();
        if (!same) {
            *mismatch = QStringLiteral("%1: %2, expected %3")
                            .arg(it.key(), actual.isNull() ? QStringLiteral("<null>") : actual.toString(),
                                 it.value().toString());
            return false;
        }
    }
    return true;
}

} // namespace quorvane::test
