#pragma once

#include "records/ScaleRecordDumpList.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// How the reload of a record dump finds each row's own record (ScaleRecordMatch.cpp splits the file into records).
namespace quorvane::records::dumps {

// A record of a dump file as the reload finds it. One that is not whole (its length is not its table's, or the
// file does not hold all of it) says why in `damage`; bytes that cannot be read as records count as one.
struct FoundRecord {
    qint64 at = 0;
    int length = 0;
    int number = 0; // counted from 1
    std::optional<qint64> key;
    QString damage;

    bool whole() const { return damage.isEmpty(); }
};

// The keys of a table's rows in stored order. Looked up by key only once the records leave the rows' order,
// so a file that follows them costs no index.
class RowKeys {
public:
    using Entry = std::pair<qint64, int>; // a key and its row

    explicit RowKeys(QList<qint64> keys) : m_keys(std::move(keys)) { }

    qsizetype size() const { return m_keys.size(); }
    qint64 at(qsizetype row) const { return m_keys[row]; }

    // Whether a row holds the key; `near` is where the rows' order puts it.
    bool contains(qint64 key, qsizetype near) const
    {
        if (near >= 0 && near < m_keys.size() && m_keys[near] == key)
            return true;
        const auto [first, last] = rowsOf(key);
        return first != last;
    }

    // The rows holding the key, in stored order.
    std::pair<const Entry*, const Entry*> rowsOf(qint64 key) const
    {
        if (m_sorted.empty() && !m_keys.isEmpty()) {
            m_sorted.reserve(size_t(m_keys.size()));
            for (qsizetype i = 0; i < m_keys.size(); ++i)
                m_sorted.push_back({m_keys[i], int(i)});
            std::sort(m_sorted.begin(), m_sorted.end());
        }
        const auto range = std::equal_range(m_sorted.begin(), m_sorted.end(), Entry{key, 0},
                                            [](const Entry& a, const Entry& b) { return a.first < b.first; });
        return {std::to_address(range.first), std::to_address(range.second)};
    }

private:
    QList<qint64> m_keys;
    mutable std::vector<Entry> m_sorted; // by key, made when first looked up
};

// Gives each row of a table, known by its place in stored order, its own record of the table's dump. A record
// goes to a row of its key: the one at the place where the records before it put it, else the nearest one, so
// records out of order, missing, doubled or damaged cost no row but their own. The preset keys, whose numbers
// repeat across scales and layouts and name no row, go by position.
class RecordMatch {
public:
    // `keys`: of the rows in stored order; `byKey` false for a table matched by position; `keyName` names a key.
    RecordMatch(const DumpFile& d, const QByteArray& data, QList<qint64> keys, bool byKey, QString keyName);

    qsizetype rows() const { return m_keys.size(); }
    const RowKeys& keys() const { return m_keys; }

    bool hasRecord(qsizetype row) const { return m_recordOf[size_t(row)] >= 0; }

    // The record of the row, or an empty one.
    QByteArray recordOf(qsizetype row) const
    {
        const int j = m_recordOf[size_t(row)];
        return j < 0 ? QByteArray() : m_data.mid(m_records[size_t(j)].at, m_records[size_t(j)].length);
    }

    // Why the row has no record: the record at its place, or a damaged one of its key. Empty when the file holds
    // nothing for it.
    QString why(qsizetype row) const { return m_why.value(row); }

    // A row without a record of its own after the last row that got one: the file ended before it.
    bool beyondTheRecords(qsizetype row) const { return m_why.value(row).isEmpty() && row > m_lastRow; }

    // Says what was not applied: records that go to no row, and every record of a table without rows.
    void report(QStringList* messages) const;

    // True when every record of the file went to a row.
    bool allApplied() const { return m_strays.isEmpty() && (m_keys.size() > 0 || m_records.empty()); }

private:
    static QString counted(size_t records, qint64 bytes);

    void link(int j, int row)
    {
        m_rowOf[size_t(j)] = row;
        m_recordOf[size_t(row)] = j;
    }

    bool free(qsizetype row) const { return row >= 0 && row < m_keys.size() && m_recordOf[size_t(row)] < 0; }

    // Whether the record of its table's size or length carries the key.
    bool carries(size_t j, qint64 key) const
    {
        return j < m_records.size() && m_records[j].whole() && m_records[j].key == key;
    }

    // The free row of the key nearest `expected`; within `reach` of it when given, and then not one that the
    // record at its place on the way the records run (`drift`) carries the key of.
    int nearestRow(qint64 key, qsizetype expected, qsizetype drift, std::optional<qsizetype> reach) const;

    void matchByKey();

    QString described(const FoundRecord& r) const;

    // Pairs each row left without a record with a record that went to none: a damaged one of its key, else the
    // one at its place. The records left are said to go to no row.
    void explain();

    const DumpFile& m_d;
    const QByteArray& m_data;
    RowKeys m_keys;
    QString m_keyName;
    std::vector<FoundRecord> m_records;
    std::vector<int> m_recordOf; // by row, into m_records; -1: none
    std::vector<int> m_rowOf;    // by record; -1: none
    QHash<qsizetype, QString> m_why;
    QStringList m_strays;
    qsizetype m_lastRow = -1; // the last row that got a record
};

} // namespace quorvane::records::dumps
