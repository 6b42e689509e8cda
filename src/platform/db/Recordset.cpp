#include "platform/db/Recordset.h"

#include "platform/Quoted.h"
#include "platform/db/ValueRange.h"

#include <QRegularExpression>

#include <cmath>

namespace quorvane::db {

namespace {

const QRegularExpression& selectStar()
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?(\\s.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

} // namespace

void Recordset::reset()
{
    m_open = false;
    m_table.clear();
    m_fields.clear();
    m_index.clear();
    m_rowids.clear();
    m_rows.clear();
    m_pos = -1;
    m_afterDelete = false;
    m_current.clear();
    m_loaded = false;
    m_dirty.clear();
    m_adding = false;
}

void Recordset::open(const QString& sql, const QVariantList& params)
{
    if (!m_conn)
        throw DbError(QStringLiteral("The recordset has no connection."));
    reset();
    static const QRegularExpression singleTableTail(QStringLiteral("^\\s*(where\\b.*|order\\s+by\\b.*|limit\\b.*)?$"),
                                                    QRegularExpression::CaseInsensitiveOption
                                                        | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression limit(QStringLiteral("\\blimit\\b"), QRegularExpression::CaseInsensitiveOption);
    const auto m = selectStar().match(sql);
    // Only a query over one table can be changed row by row; a join is read like any other query.
    const bool oneTable = m.hasMatch() && singleTableTail.match(m.captured(2)).hasMatch();
    const QString table = oneTable ? m_conn->tableName(m.captured(1)) : QString();
    if (!table.isEmpty()) {
        QString rest = m.captured(2);
        if (!rest.contains(orderBy)) {
            const qsizetype at = rest.lastIndexOf(limit);
            rest.insert(at < 0 ? rest.size() : at, QStringLiteral(" ORDER BY rowid "));
        }
        Statement st = m_conn->prepare(QStringLiteral("SELECT rowid FROM ") + quoted(table) + rest);
        st.bind(params);
        while (st.step())
            m_rowids.append(st.columnInt(0));
        m_table = table;
        m_fields = m_conn->fields(table);
    } else {
        Statement st = m_conn->prepare(sql);
        st.bind(params);
        const int n = st.columnCount();
        for (int i = 0; i < n; ++i) {
            FieldInfo f;
            f.name = st.columnName(i);
            m_fields << f;
        }
        while (st.step()) {
            QVector<QVariant> row(n);
            for (int i = 0; i < n; ++i)
                row[i] = st.column(i);
            m_rows.append(row);
        }
    }
    for (int i = 0; i < m_fields.size(); ++i)
        m_index.insert(m_fields[i].name.toLower(), i);
    m_open = true;
    m_pos = 0;
}

void Recordset::openTable(const QString& table)
{
    if (!m_conn)
        throw DbError(QStringLiteral("The recordset has no connection."));
    const QString name = m_conn->tableName(table);
    if (name.isEmpty())
        throw DbError(QStringLiteral("There is no table %1.").arg(table));
    open(QStringLiteral("SELECT * FROM ") + name);
}

void Recordset::close() { reset(); }

int Recordset::recordCount() const
{
    if (!m_open)
        return 0;
    return int(updatable() ? m_rowids.size() : m_rows.size());
}

bool Recordset::bof() const { return !m_open || (!m_adding && (m_pos < 0 || recordCount() == 0)); }

bool Recordset::eof() const { return !m_open || (!m_adding && m_pos >= recordCount()); }

int Recordset::absolutePosition() const { return (bof() || eof()) ? -1 : m_pos; }

void Recordset::commitPending()
{
    if (m_adding || !m_dirty.isEmpty())
        update();
}

void Recordset::moveFirst()
{
    commitPending();
    m_afterDelete = false;
    m_pos = 0;
    m_loaded = false;
}

void Recordset::moveNext()
{
    commitPending();
    if (m_afterDelete)
        m_afterDelete = false;
    else if (m_pos < recordCount())
        ++m_pos;
    m_loaded = false;
}

void Recordset::movePrevious()
{
    commitPending();
    m_afterDelete = false;
    if (m_pos >= 0)
        --m_pos;
    m_loaded = false;
}

void Recordset::moveLast()
{
    commitPending();
    m_afterDelete = false;
    m_pos = recordCount() - 1;
    if (m_pos < 0)
        m_pos = 0;
    m_loaded = false;
}

void Recordset::move(int position)
{
    commitPending();
    m_afterDelete = false;
    if (position < 0 || position >= recordCount())
        throw DbError(QStringLiteral("There is no record at position %1.").arg(position));
    m_pos = position;
    m_loaded = false;
}

QString Recordset::fieldName(int index) const { return fieldInfo(index).name; }

int Recordset::fieldIndex(const QString& name) const { return m_index.value(name.toLower(), -1); }

const FieldInfo& Recordset::fieldInfo(int index) const
{
    if (index < 0 || index >= m_fields.size())
        throw DbError(QStringLiteral("There is no field at position %1.").arg(index));
    return m_fields[index];
}

int Recordset::checkedIndex(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("There is no field %1 in %2.")
                          .arg(name, m_table.isEmpty() ? QStringLiteral("the query") : m_table));
    return i;
}

void Recordset::requireRow() const
{
    if (!m_open)
        throw DbError(QStringLiteral("The recordset is closed."));
    if (!m_adding && (m_pos < 0 || m_pos >= recordCount()))
        throw DbError(QStringLiteral("There is no current record."));
}

void Recordset::requireUpdatable() const
{
    if (!updatable())
        throw DbError(QStringLiteral("The recordset cannot be changed."));
}

void Recordset::loadCurrent() const
{
    if (m_loaded)
        return;
    requireRow();
    if (!updatable()) {
        m_current = m_rows[m_pos];
    } else {
        Statement st = m_conn->prepare(QStringLiteral("SELECT * FROM ") + quoted(m_table)
                                       + QStringLiteral(" WHERE rowid=?"));
        st.bind({m_rowids[m_pos]});
        if (!st.step())
            throw DbError(QStringLiteral("The current record of %1 has been deleted.").arg(m_table));
        m_current.resize(m_fields.size());
        for (int i = 0; i < m_fields.size(); ++i)
            m_current[i] = st.column(i);
    }
    m_loaded = true;
}

QVariant Recordset::value(int index) const
{
    fieldInfo(index);
    loadCurrent();
    return m_current[index];
}

QVariant Recordset::value(const QString& name) const { return value(checkedIndex(name)); }

bool Recordset::isNull(const QString& name) const { return value(name).isNull(); }

qint64 Recordset::intValue(const QString& name) const
{
    const QVariant v = value(name);
    if (v.isNull())
        return 0;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("Field %1 does not hold a number.").arg(name));
    return n;
}

QString Recordset::textValue(const QString& name) const
{
    const QVariant v = value(name);
    return v.isNull() ? QString() : v.toString();
}

QByteArray Recordset::bytesValue(const QString& name) const
{
    const QVariant v = value(name);
    if (v.isNull())
        return QByteArray();
    if (v.typeId() != QMetaType::QByteArray)
        throw DbError(QStringLiteral("Field %1 does not hold bytes.").arg(name));
    return v.toByteArray();
}

QVariant Recordset::convert(int index, const QVariant& v) const
{
    const FieldInfo& f = m_fields[index];
    if (!v.isValid() || v.isNull())
        return QVariant();
    auto refuse = [&](const QString& why) {
        return DbError(QStringLiteral("Field %1 of %2: %3").arg(f.name, m_table, why));
    };
    switch (f.kind) {
    case FieldKind::Number: {
        qint64 n = 0;
        bool ok = false;
        if (v.typeId() == QMetaType::QString) {
            n = v.toString().trimmed().toLongLong(&ok);
        } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            const double d = v.toDouble();
            // Casting a double outside the integer range (or NaN) is undefined, so test the range first.
            ok = std::isfinite(d) && std::fabs(d) < 9.0e18 && d == std::trunc(d);
            n = ok ? qint64(d) : 0;
        } else if (v.typeId() != QMetaType::QByteArray) {
            n = v.toLongLong(&ok);
        }
        if (!ok)
            throw refuse(QStringLiteral("\"%1\" is not a whole number").arg(v.toString()));
        if (f.typeCode == TypeBoolean)
            n = n ? -1 : 0;
        const std::optional<ValueRange> range = wholeNumberRange(f.typeCode);
        if (!range || !range->contains(n))
            throw refuse(QStringLiteral("%1 is out of range").arg(n));
        return QVariant(qlonglong(n));
    }
    case FieldKind::Real: {
        bool ok = false;
        const double d = v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
        if (!ok)
            throw refuse(QStringLiteral("\"%1\" is not a number").arg(v.toString()));
        return QVariant(d);
    }
    case FieldKind::Text: {
        if (v.typeId() == QMetaType::QByteArray)
            throw refuse(QStringLiteral("bytes cannot be stored as text"));
        const QString s = v.toString();
        if (f.size > 0 && s.size() > f.size)
            throw refuse(QStringLiteral("the text is longer than %1 characters").arg(f.size));
        return QVariant(s);
    }
    case FieldKind::Binary:
        if (v.typeId() != QMetaType::QByteArray)
            throw refuse(QStringLiteral("only bytes can be stored"));
        return v;
    }
    return v;
}

void Recordset::setValue(int index, const QVariant& value)
{
    fieldInfo(index);
    requireUpdatable();
    loadCurrent();
    m_current[index] = convert(index, value);
    if (!m_dirty.contains(index))
        m_dirty.append(index);
}

void Recordset::setValue(const QString& name, const QVariant& value) { setValue(checkedIndex(name), value); }

void Recordset::addNew()
{
    if (!m_open)
        throw DbError(QStringLiteral("The recordset is closed."));
    requireUpdatable();
    commitPending();
    m_adding = true;
    m_afterDelete = false;
    m_dirty.clear();
    m_current.resize(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i)
        m_current[i] = m_fields[i].defaultValue;
    m_loaded = true;
}

void Recordset::update()
{
    requireRow();
    requireUpdatable();
    if (m_adding) {
        QStringList names, marks;
        QVariantList values;
        for (int i : std::as_const(m_dirty)) {
            names << quoted(m_fields[i].name);
            marks << QStringLiteral("?");
            values << m_current[i];
        }
        const QString sql = names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(m_table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        m_conn->exec(sql, values);
        m_rowids.append(m_conn->lastInsertRowId());
        m_pos = int(m_rowids.size()) - 1;
        m_adding = false;
        m_dirty.clear();
        m_loaded = false;
        return;
    }
    if (m_dirty.isEmpty())
        return;
    QStringList sets;
    QVariantList values;
    for (int i : std::as_const(m_dirty)) {
        sets << quoted(m_fields[i].name) + QStringLiteral("=?");
        values << m_current[i];
    }
    values << m_rowids[m_pos];
    m_conn->exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(quoted(m_table), sets.join(QLatin1Char(','))),
                 values);
    m_dirty.clear();
}

void Recordset::cancelUpdate()
{
    if (m_adding && m_pos < 0)
        m_pos = 0;
    m_adding = false;
    m_dirty.clear();
    m_loaded = false;
}

void Recordset::deleteCurrent()
{
    if (m_adding) {
        cancelUpdate();
        return;
    }
    requireRow();
    requireUpdatable();
    m_conn->exec(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(quoted(m_table)), {m_rowids[m_pos]});
    m_rowids.remove(m_pos);
    m_dirty.clear();
    m_loaded = false;
    m_afterDelete = true;
}

} // namespace quorvane::db
