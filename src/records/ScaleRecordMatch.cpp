#include "records/ScaleRecordMatch.h"

#include "records/PackedBcd.h"
#include "records/PluRecord.h"

#include <QSet>

namespace quorvane::records::dumps {

namespace {

int largestRecord(const DumpFile& d) { return isPluTable(d) ? kPluMaxSize : 0xFFFF; }

// Splits a dump file into its records, never reading past the file. A record of fixed size is taken by its size.
// One of variable length is taken by the length it carries, where a record can begin after it: one whose key is
// a row's and that is followed by the end or a header that fits, or from which the file reads on as whole
// records. Where none can, its length is wrong: the file is read on from the next place at which a record of a
// row begins, and of the bytes before it, the records that end where a record of a row begins are whole. A
// record whose key is not packed decimal is stepped over by its length. So one damaged record costs its own
// row alone.
class RecordSplitter {
public:
    RecordSplitter(const DumpFile& d, const QByteArray& data, const RowKeys* keys)
        : m_d(d)
        , m_data(data)
        , m_keys(keys)
        , m_smallest(isPluTable(d) ? kPluFixedSize : smallestRecord(d))
    {
    }

    std::vector<FoundRecord> split()
    {
        const qint64 end = m_data.size();
        for (qint64 pos = 0; pos < end;) {
            if (m_d.recordSize) {
                pos = takeFixed(pos);
                continue;
            }
            if (const std::optional<int> length = fits(pos); length && canBegin(pos + *length)) {
                take(pos, *length);
                pos += *length;
                continue;
            }
            const qint64 next = readsOnFrom(pos);
            // What ends where a record of a row begins is whole; the rest up to `next` is one damaged record.
            for (std::optional<int> length = fits(pos);
                 pos < next && length && pos + *length <= next && (pos + *length == next || ofRow(pos + *length));
                 length = fits(pos)) {
                take(pos, *length);
                pos += *length;
            }
            if (pos < next) {
                take(pos, int(next - pos), damageAt(pos, next));
                pos = next;
            }
        }
        return std::move(m_found);
    }

private:
    qint64 takeFixed(qint64 pos)
    {
        const int size = m_d.recordSize;
        if (pos + size > m_data.size()) {
            take(pos, int(m_data.size() - pos),
                 QStringLiteral("the file ends inside %1 of %2 bytes").arg(where(pos)).arg(size));
            return m_data.size();
        }
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        take(pos, size,
             header->length == size
                 ? QString()
                 : QStringLiteral("%1 says it is %2 bytes long").arg(where(pos)).arg(header->length));
        return pos + size;
    }

    void take(qint64 pos, int length, const QString& damage = QString())
    {
        FoundRecord r{pos, length, int(m_found.size()) + 1, std::nullopt, damage};
        if (pos + 4 <= m_data.size())
            if (const auto key = ReadPackedBcd(m_data, int(pos), 4))
                r.key = qint64(*key);
        m_found.push_back(std::move(r));
    }

    QString where(qint64 pos) const
    {
        return QStringLiteral("record %1 (at byte %2)").arg(m_found.size() + 1).arg(pos);
    }

    // The length of a record that can stand at `pos`: a header whose length is one of the table's and fits the file.
    std::optional<int> fits(qint64 pos) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header || header->length < m_smallest || header->length > largestRecord(m_d)
            || pos + header->length > m_data.size())
            return std::nullopt;
        return header->length;
    }

    // A header whose key is a row's; the record after the one taken so far is looked for at the same row first.
    bool ofRow(qint64 pos) const
    {
        if (!m_keys || pos + KvbRecordHeader::Size > m_data.size())
            return false;
        const auto key = ReadPackedBcd(m_data, int(pos), 4);
        return key && m_keys->contains(qint64(*key), qsizetype(m_found.size()) + 1);
    }

    // Whether the file reads on as whole records from `pos`: to its end, or for three records.
    bool readsOn(qint64 pos) const
    {
        for (int n = 0; n < 3; ++n) {
            if (pos == m_data.size())
                return true;
            const std::optional<int> length = fits(pos);
            if (!length)
                return false;
            pos += *length;
        }
        return true;
    }

    // A header cut by the end of the file is left to the record there to report.
    bool canBegin(qint64 pos) const
    {
        if (pos + KvbRecordHeader::Size > m_data.size())
            return true;
        const std::optional<int> length = fits(pos);
        if (!length)
            return false;
        const qint64 after = pos + *length;
        return (ofRow(pos) && (after == m_data.size() || fits(after))) || readsOn(pos);
    }

    // The next place after the record at `pos` at which a record of a row begins; the end of the file when none.
    qint64 readsOnFrom(qint64 pos) const
    {
        for (qint64 at = pos + m_smallest; at < m_data.size(); ++at)
            if (const std::optional<int> length = fits(at);
                length && (m_keys ? ofRow(at) && (at + *length == m_data.size() || fits(at + *length)) : readsOn(at)))
                return at;
        return m_data.size();
    }

    QString damageAt(qint64 pos, qint64 next) const
    {
        const auto header = KvbRecordHeader::read(m_data, int(pos));
        if (!header)
            return QStringLiteral("the file ends inside the header of %1").arg(where(pos));
        if (pos + header->length > m_data.size() && next == m_data.size())
            return QStringLiteral("the file ends inside %1 of %2 bytes").arg(where(pos)).arg(header->length);
        if (header->length < m_smallest || pos + header->length > next)
            return QStringLiteral("%1 says it is %2 bytes long").arg(where(pos)).arg(header->length);
        return QStringLiteral("%1 says it is %2 bytes long, but no record begins after it")
            .arg(where(pos))
            .arg(header->length);
    }

    const DumpFile& m_d;
    const QByteArray& m_data;
    const RowKeys* m_keys;
    const int m_smallest;
    std::vector<FoundRecord> m_found;
};

} // namespace

RecordMatch::RecordMatch(const DumpFile& d, const QByteArray& data, QList<qint64> keys, bool byKey, QString keyName)
    : m_d(d)
    , m_data(data)
    , m_keys(std::move(keys))
    , m_keyName(std::move(keyName))
    , m_records(RecordSplitter(d, data, byKey ? &m_keys : nullptr).split())
    , m_recordOf(size_t(m_keys.size()), -1)
    , m_rowOf(m_records.size(), -1)
{
    if (byKey)
        matchByKey();
    else
        for (size_t j = 0; j < m_records.size() && qsizetype(j) < m_keys.size(); ++j)
            if (m_records[j].whole())
                link(int(j), int(j));
    explain();
}

void RecordMatch::report(QStringList* messages) const
{
    if (m_keys.size() == 0 && !m_records.empty()) {
        messages->append(
            QStringLiteral("%1 holds %2 of %3, which has no rows: none of them was applied.")
                .arg(QLatin1String(m_d.file), counted(m_records.size(), m_data.size()), QLatin1String(m_d.table)));
        return;
    }
    if (!m_strays.isEmpty())
        messages->append(QStringLiteral("%1 holds %2 records of %3 that go to no row and were not applied: %4.")
                             .arg(QLatin1String(m_d.file))
                             .arg(m_strays.size())
                             .arg(QLatin1String(m_d.table), listed(m_strays)));
}

QString RecordMatch::counted(size_t records, qint64 bytes)
{
    return records == 1 ? QStringLiteral("1 record (%1 bytes)").arg(bytes)
                        : QStringLiteral("%1 records (%2 bytes)").arg(records).arg(bytes);
}

int RecordMatch::nearestRow(qint64 key, qsizetype expected, qsizetype drift, std::optional<qsizetype> reach) const
{
    const auto [first, last] = m_keys.rowsOf(key);
    int best = -1;
    for (auto e = first; e != last; ++e) {
        const qsizetype row = e->second, distance = std::abs(row - expected);
        if (!free(row) || (reach && (distance > *reach || carries(size_t(row - drift), key))))
            continue;
        if (best < 0 || distance < std::abs(best - expected))
            best = int(row);
    }
    return best;
}

void RecordMatch::matchByKey()
{
    constexpr qsizetype kReach = 8; // records a swap or a gap moves from their place
    qsizetype drift = 0;            // row less record of the last match
    // First the records at their place, or near it and not taken by the record whose place it is.
    for (size_t j = 0; j < m_records.size(); ++j) {
        const FoundRecord& r = m_records[j];
        if (!r.whole() || !r.key)
            continue;
        const qsizetype expected = qsizetype(j) + drift;
        int row = free(expected) && m_keys.at(expected) == *r.key ? int(expected) : -1;
        if (row < 0)
            row = nearestRow(*r.key, expected, drift, kReach);
        if (row >= 0) {
            link(int(j), row);
            drift = row - qsizetype(j);
        }
    }
    // Then the others, to the nearest row of their key left.
    drift = 0;
    for (size_t j = 0; j < m_records.size(); ++j) {
        const FoundRecord& r = m_records[j];
        if (m_rowOf[j] < 0 && r.whole() && r.key)
            if (const int row = nearestRow(*r.key, qsizetype(j) + drift, 0, std::nullopt); row >= 0)
                link(int(j), row);
        if (m_rowOf[j] >= 0)
            drift = m_rowOf[j] - qsizetype(j);
    }
}

QString RecordMatch::described(const FoundRecord& r) const
{
    if (!r.whole())
        return r.damage;
    if (!r.key)
        return QStringLiteral("record %1 has no number").arg(r.number);
    return QStringLiteral("record %1 is of %2 %3").arg(r.number).arg(m_keyName).arg(*r.key);
}

void RecordMatch::explain()
{
    QMultiHash<qint64, size_t> unusedOfKey;
    QSet<size_t> unused;
    for (size_t j = 0; j < m_records.size(); ++j)
        if (m_rowOf[j] < 0) {
            unused.insert(j);
            if (m_records[j].key && !m_records[j].whole())
                unusedOfKey.insert(*m_records[j].key, j);
        }
    qsizetype drift = 0;
    for (qsizetype row = 0; row < m_keys.size(); ++row) {
        if (const int j = m_recordOf[size_t(row)]; j >= 0) {
            drift = row - j;
            m_lastRow = row;
            continue;
        }
        if (unused.isEmpty())
            continue;
        const qsizetype at = row - drift;
        std::optional<size_t> found;
        for (const size_t j : unusedOfKey.values(m_keys.at(row)))
            if (unused.contains(j) && (!found || std::abs(qsizetype(j) - at) < std::abs(qsizetype(*found) - at)))
                found = j;
        if (!found && at >= 0 && unused.contains(size_t(at)))
            found = size_t(at);
        if (found) {
            unused.remove(*found);
            m_why.insert(row, described(m_records[*found]));
        }
    }
    QList<size_t> left(unused.cbegin(), unused.cend());
    std::sort(left.begin(), left.end());
    for (const size_t j : std::as_const(left))
        m_strays << described(m_records[j]);
}

} // namespace quorvane::records::dumps
