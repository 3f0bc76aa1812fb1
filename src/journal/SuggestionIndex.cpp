#include "SuggestionIndex.h"

#include "RecordTable.h"
#include "platform/Cp1251.h"

#include <QHashFunctions>
#include <QVarLengthArray>

#include <algorithm>

namespace {

// A field's distinct values are numbered in 16 bits: a field has at most one live value per
// record, and the dead ones a run leaves behind are dropped by a rebuild long before this.
constexpr size_t kMaxEntries = 60000;
// More changed records than this, and reading the whole journal again is as quick.
constexpr size_t kMaxChangedRecords = 512;
constexpr int kLastField = 41;

// Windows-1251 byte -> the byte of its lower-case letter, "Ё" and "ё" -> "е".
struct FoldTable
{
    std::array<unsigned char, 256> to{};
    FoldTable()
    {
        const char16_t *decode = Cp1251::decodeTable();
        for (int b = 0; b < 256; ++b) {
            const char32_t lowerCase = QChar::toLower(char32_t(decode[b]));
            char16_t lower = lowerCase > 0xFFFF ? decode[b] : char16_t(lowerCase);
            if (lower == u'ё')
                lower = u'е';
            const int folded = Cp1251::byteFor(lower);
            to[size_t(b)] = static_cast<unsigned char>(folded >= 0 ? folded : b);
        }
    }
};

const FoldTable &fold()
{
    static const FoldTable table;
    return table;
}

// a and b compared with their letters folded.
int compareFolded(QByteArrayView a, QByteArrayView b)
{
    const auto &to = fold().to;
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char x = to[static_cast<unsigned char>(a[i])];
        const unsigned char y = to[static_cast<unsigned char>(b[i])];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

using Bytes = QVarLengthArray<char, 256>;

// The text in the journal's bytes; false when it holds a character the journal cannot.
bool encoded(QStringView text, Bytes &out)
{
    out.resize(text.size());
    qsizetype replaced = 0;
    const char *end = Cp1251::encodeInto(text.utf16(), text.size(), out.data(), &replaced);
    out.resize(end - out.data());
    return replaced == 0;
}

int slotOf(int field)
{
    const auto &fields = SuggestionIndex::kFields;
    const auto it = std::find(fields.begin(), fields.end(), field);
    return it == fields.end() ? -1 : int(it - fields.begin());
}

} // namespace

bool SuggestionIndex::hasSuggestions(int field)
{
    return slotOf(field) >= 0;
}

SuggestionIndex::SuggestionIndex() = default;
SuggestionIndex::~SuggestionIndex() = default;

// ---------------------------------------------------------------------------------------------
// One field

quint16 SuggestionIndex::Field::find(QByteArrayView value) const
{
    if (buckets.empty())
        return 0;
    const size_t mask = buckets.size() - 1;
    for (size_t s = qHash(value, 0) & mask;; s = (s + 1) & mask) {
        const quint16 id = buckets[s];
        if (id == 0 || bytes(entries[id - 1u]) == value)
            return id;
    }
}

void SuggestionIndex::Field::rehash(size_t capacity)
{
    buckets.assign(capacity, 0);
    const size_t mask = capacity - 1;
    for (size_t i = 0; i < entries.size(); ++i) {
        size_t s = qHash(bytes(entries[i]), 0) & mask;
        while (buckets[s] != 0)
            s = (s + 1) & mask;
        buckets[s] = quint16(i + 1);
    }
}

quint16 SuggestionIndex::Field::intern(QByteArrayView value)
{
    if (quint16 id = find(value))
        return id;
    entries.push_back({quint32(pool.size()), quint32(value.size()), 0, 0});
    pool.append(value.data(), value.size());
    const auto id = quint16(entries.size());
    // Kept at most half full.
    if (entries.size() * 2 > buckets.size())
        rehash(std::max<size_t>(64, buckets.size() * 2));
    else {
        const size_t mask = buckets.size() - 1;
        size_t s = qHash(value, 0) & mask;
        while (buckets[s] != 0)
            s = (s + 1) & mask;
        buckets[s] = id;
    }
    return id;
}

void SuggestionIndex::Field::add(int record, QByteArrayView value, bool sorted)
{
    if (value.isEmpty())
        return;
    const size_t before = entries.size();
    const quint16 id = intern(value);
    Entry &e = entries[id - 1u];
    if (e.count++ == 0) {
        ++liveEntries;
        if (entries.size() == before)
            deadBytes -= e.length;
    }
    e.latest = std::max(e.latest, quint32(record));
    records[size_t(record)] = id;
    if (sorted && entries.size() != before) {
        const auto at = std::lower_bound(order.begin(), order.end(), value, [this](quint16 other, QByteArrayView v) {
            return compareFolded(bytes(entries[other - 1u]), v) < 0;
        });
        order.insert(at, id);
    }
}

void SuggestionIndex::Field::remove(int record)
{
    const quint16 id = records[size_t(record)];
    if (id == 0)
        return;
    records[size_t(record)] = 0;
    Entry &e = entries[id - 1u];
    if (--e.count == 0) {
        --liveEntries;
        deadBytes += e.length;
        e.latest = 0;
        return;
    }
    // The last record with the value is gone: the one before it, which is below.
    if (e.latest == quint32(record)) {
        int r = record - 1;
        while (r > 0 && records[size_t(r)] != id)
            --r;
        e.latest = quint32(r);
    }
}

bool SuggestionIndex::Field::needsCompacting() const
{
    return entries.size() + kMaxChangedRecords >= kMaxEntries || deadBytes > pool.size() / 2 + 4096;
}

// ---------------------------------------------------------------------------------------------
// The index

void SuggestionIndex::clear()
{
    for (Field &f : m_fields)
        f = Field();
    m_revisions.clear();
    m_recordCount = 0;
    m_built = false;
}

void SuggestionIndex::read(const RecordTable &table, int record, bool sorted)
{
    const RecordTable::RecordView view = table.record(record);
    quint32 ends[kLastField + 1];
    view.ends(kLastField, ends);
    for (size_t i = 0; i < kFields.size(); ++i) {
        const int field = kFields[i];
        const quint32 start = ends[field - 1];
        m_fields[i].add(record, view.bytes().sliced(start, ends[field] - start), sorted);
    }
    m_revisions[size_t(record)] = table.revision(record);
}

void SuggestionIndex::rebuild(const RecordTable &table, int recordCount)
{
    clear();
    m_recordCount = std::clamp(recordCount, 0, RecordTable::kMaxRecord);
    m_revisions.assign(size_t(m_recordCount) + 1, 0);
    for (Field &f : m_fields)
        f.records.assign(size_t(m_recordCount) + 1, 0);
    for (int r = 1; r <= m_recordCount; ++r)
        read(table, r, false);
    for (Field &f : m_fields) {
        f.order.resize(f.entries.size());
        for (size_t i = 0; i < f.order.size(); ++i)
            f.order[i] = quint16(i + 1);
        std::sort(f.order.begin(), f.order.end(), [&f](quint16 a, quint16 b) {
            return compareFolded(f.bytes(f.entries[a - 1u]), f.bytes(f.entries[b - 1u])) < 0;
        });
    }
    m_built = true;
}

void SuggestionIndex::update(const RecordTable &table, int recordCount)
{
    recordCount = std::clamp(recordCount, 0, RecordTable::kMaxRecord);
    if (!m_built) {
        rebuild(table, recordCount);
        return;
    }
    std::vector<int> changed;
    const int kept = std::min(recordCount, m_recordCount);
    for (int r = 1; r <= kept && changed.size() <= kMaxChangedRecords; ++r) {
        if (table.revision(r) != m_revisions[size_t(r)])
            changed.push_back(r);
    }
    const size_t added = size_t(std::abs(recordCount - m_recordCount));
    const bool compact = std::any_of(m_fields.begin(), m_fields.end(),
                                     [](const Field &f) { return f.needsCompacting(); });
    if (compact || changed.size() + added > kMaxChangedRecords) {
        rebuild(table, recordCount);
        return;
    }
    for (int r = m_recordCount; r > recordCount; --r) {
        for (Field &f : m_fields)
            f.remove(r);
    }
    for (const int r : changed) {
        for (Field &f : m_fields)
            f.remove(r);
    }
    m_revisions.resize(size_t(recordCount) + 1, 0);
    for (Field &f : m_fields)
        f.records.resize(size_t(recordCount) + 1, 0);
    for (const int r : changed)
        read(table, r, true);
    for (int r = m_recordCount + 1; r <= recordCount; ++r)
        read(table, r, true);
    m_recordCount = recordCount;
}

const SuggestionIndex::Field *SuggestionIndex::fieldIndex(int field) const
{
    const int slot = slotOf(field);
    return slot < 0 || !m_built ? nullptr : &m_fields[size_t(slot)];
}

std::pair<size_t, size_t> SuggestionIndex::prefixRange(const Field &f, QByteArrayView prefix)
{
    const auto first = std::lower_bound(f.order.begin(), f.order.end(), prefix, [&f](quint16 id, QByteArrayView p) {
        return compareFolded(f.bytes(f.entries[id - 1u]), p) < 0;
    });
    // The values that begin with the prefix end where their beginning sorts after it.
    const auto last = std::upper_bound(first, f.order.end(), prefix, [&f](QByteArrayView p, quint16 id) {
        const QByteArrayView value = f.bytes(f.entries[id - 1u]);
        return compareFolded(p, value.first(std::min(value.size(), p.size()))) < 0;
    });
    return {size_t(first - f.order.begin()), size_t(last - f.order.begin())};
}

QStringList SuggestionIndex::lookup(int field, QStringView typed, int limit) const
{
    const Field *f = fieldIndex(field);
    Bytes prefix;
    if (!f || typed.isEmpty() || limit <= 0 || !encoded(typed, prefix))
        return {};
    const QByteArrayView p(prefix.data(), prefix.size());
    const auto [first, last] = prefixRange(*f, p);
    // The best `limit` so far, best first.
    QVarLengthArray<const Entry *, kMaxSuggestions> best;
    const auto better = [](const Entry *a, const Entry *b) {
        return a->count != b->count ? a->count > b->count : a->latest > b->latest;
    };
    for (size_t i = first; i < last; ++i) {
        const Entry &e = f->entries[f->order[i] - 1u];
        if (e.count == 0)
            continue;
        if (best.size() == limit && !better(&e, best.back()))
            continue;
        if (best.size() == limit)
            best.removeLast();
        best.insert(std::upper_bound(best.begin(), best.end(), &e, better), &e);
    }
    QStringList values;
    for (const Entry *e : best) {
        const QByteArrayView bytes = f->bytes(*e);
        QString text(bytes.size(), Qt::Uninitialized);
        Cp1251::decode(bytes.data(), bytes.size(), reinterpret_cast<char16_t *>(text.data()));
        values.append(text);
    }
    return values;
}

int SuggestionIndex::latestRecordWith(int field, QStringView text) const
{
    const Field *f = fieldIndex(field);
    Bytes key;
    if (!f || text.isEmpty() || !encoded(text, key))
        return 0;
    const QByteArrayView k(key.data(), key.size());
    const auto [first, last] = prefixRange(*f, k);
    quint32 latest = 0;
    for (size_t i = first; i < last; ++i) {
        const Entry &e = f->entries[f->order[i] - 1u];
        if (e.count > 0 && e.length == quint32(k.size()))
            latest = std::max(latest, e.latest);
    }
    return int(latest);
}

qsizetype SuggestionIndex::memoryUsage() const
{
    qsizetype bytes = sizeof(*this) + qsizetype(m_revisions.capacity() * sizeof(quint32));
    for (const Field &f : m_fields) {
        bytes += f.pool.capacity() + qsizetype(f.entries.capacity() * sizeof(Entry));
        bytes += qsizetype((f.order.capacity() + f.buckets.capacity() + f.records.capacity()) * sizeof(quint16));
    }
    return bytes;
}
