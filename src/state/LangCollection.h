#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace quorvane {

// The texts of one section of the language or parameter file: key to text, keys compared without
// regard to case, kept in file order and also reachable by position (1 to count).
class LangCollection {
public:
    void clear();
    int count() const { return int(m_keys.size()); }
    bool isEmpty() const { return m_keys.isEmpty(); }

    // Refuses an empty key and a key already present (the first entry stays).
    bool add(const QString& key, const QString& value);
    bool contains(const QString& key) const { return m_index.contains(key.toLower()); }

    // The text of a key; a key the section lacks gives the key itself, so the gap shows and nothing breaks.
    QString text(const QString& key) const;
    QString value(const QString& key, const QString& fallback = QString()) const;

    QString at(int position) const;    // 1-based; empty outside 1..count
    QString keyAt(int position) const; // 1-based
    const QStringList& keys() const { return m_keys; }

private:
    QStringList m_keys;
    QStringList m_values;
    QHash<QString, int> m_index;
};

} // namespace quorvane
