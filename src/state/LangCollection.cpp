#include "state/LangCollection.h"

namespace quorvane {

void LangCollection::clear()
{
    m_keys.clear();
    m_values.clear();
    m_index.clear();
}

bool LangCollection::add(const QString& key, const QString& value)
{
    if (key.isEmpty() || contains(key))
        return false;
    m_index.insert(key.toLower(), int(m_keys.size()));
    m_keys << key;
    m_values << value;
    return true;
}

QString LangCollection::text(const QString& key) const
{
    const auto it = m_index.constFind(key.toLower());
    return it == m_index.constEnd() ? key : m_values[it.value()];
}

QString LangCollection::value(const QString& key, const QString& fallback) const
{
    const auto it = m_index.constFind(key.toLower());
    return it == m_index.constEnd() ? fallback : m_values[it.value()];
}

QString LangCollection::at(int position) const
{
    return position >= 1 && position <= count() ? m_values[position - 1] : QString();
}

QString LangCollection::keyAt(int position) const
{
    return position >= 1 && position <= count() ? m_keys[position - 1] : QString();
}

} // namespace quorvane
