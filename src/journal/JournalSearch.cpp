#include "JournalSearch.h"

#include "RecordTable.h"
#include "platform/Cp1251.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <bit>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using LowerTable = std::array<char16_t, 0x10000>;

// Lower case of every UTF-16 unit, built once: a lookup is far cheaper than asking Unicode
// for every character of 100000 fields, and no lowered copy of a field is ever made.
const LowerTable &lowerTable()
{
    static const std::unique_ptr<LowerTable> table = [] {
        auto t = std::make_unique<LowerTable>();
        for (char32_t u = 0; u < 0x10000; ++u) {
            const char32_t lower = QChar::toLower(u);
            // A surrogate, or a unit whose lower case would need two units, stays as it is.
            (*t)[u] = lower < 0x10000 && !QChar::isSurrogate(u) ? char16_t(lower) : char16_t(u);
        }
        return t;
    }();
    return *table;
}

// The lower case of the character of every Windows-1251 byte, the table's own code page.
const std::array<char16_t, 256> &byteLowerTable()
{
    static const std::array<char16_t, 256> table = [] {
        const LowerTable &lower = lowerTable();
        const char16_t *decode = Cp1251::decodeTable();
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = lower[decode[b]];
        return t;
    }();
    return table;
}

// The lowered text, and the bytes whose characters lower to its first unit ("А" and "а" for
// "а"): the scan looks for those first, sixteen bytes at a time, and compares the rest only
// there.
struct Needle
{
    const char16_t *text = nullptr;
    quint32 size = 0;
    std::array<char, 2> firsts{};
    int firstCount = 0; // more than two: each byte is looked up instead

    Needle(const QString &lowered, const std::array<char16_t, 256> &lower)
        : text(reinterpret_cast<const char16_t *>(lowered.utf16())), size(quint32(lowered.size()))
    {
        for (int b = 0; b < 256; ++b) {
            if (lower[size_t(b)] != text[0])
                continue;
            if (firstCount < 2)
                firsts[size_t(firstCount)] = char(b);
            ++firstCount;
        }
        if (firstCount == 1)
            firsts[1] = firsts[0];
    }

    // Whether some field can hold the text at all: every one of its characters must be the
    // lower case of a byte's character.
    bool possible(const std::array<char16_t, 256> &lower) const
    {
        for (quint32 k = 0; k < size; ++k) {
            if (std::find(lower.begin(), lower.end(), text[k]) == lower.end())
                return false;
        }
        return true;
    }
};

// Fields that follow each other in a record are searched as one span: a match counts when no
// field boundary lies strictly inside it.
class SpanSearch
{
public:
    SpanSearch(const Needle &needle, const std::array<char16_t, 256> &lower) : m_needle(needle), m_lower(lower) {}

    // Whether text[begin, end) holds the needle inside one field; bounds are the ends of the
    // fields before the last one in the span.
    // textSize is the size of the whole record, which the scan may read up to, beyond the span.
    bool contains(const char *text, quint32 textSize, quint32 begin, quint32 end, const quint32 *bounds,
                  int boundCount) const
    {
        const quint32 n = m_needle.size;
        if (end < begin + n)
            return false;
        const quint32 lastStart = end - n;
        quint32 i = begin;
        if (m_needle.firstCount <= 2) {
#if defined(__SSE2__)
            const __m128i a = _mm_set1_epi8(m_needle.firsts[0]);
            const __m128i b = _mm_set1_epi8(m_needle.firsts[1]);
            // Blocks of sixteen bytes; the last may run past the span into the record's next
            // fields, whose candidates lie beyond lastStart and are dropped.
            for (; i + 16 <= textSize && i <= lastStart; i += 16) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
                const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(block, a), _mm_cmpeq_epi8(block, b));
                unsigned mask = unsigned(_mm_movemask_epi8(hit));
                while (mask) {
                    const quint32 p = i + quint32(std::countr_zero(mask));
                    mask &= mask - 1;
                    if (p <= lastStart && matchesAt(text, p, bounds, boundCount))
                        return true;
                }
            }
#endif
            for (; i <= lastStart; ++i) {
                const char c = text[i];
                if ((c == m_needle.firsts[0] || c == m_needle.firsts[1]) && matchesAt(text, i, bounds, boundCount))
                    return true;
            }
            return false;
        }
        for (; i <= lastStart; ++i) {
            if (lowerOf(text[i]) == m_needle.text[0] && matchesAt(text, i, bounds, boundCount))
                return true;
        }
        return false;
    }

private:
    char16_t lowerOf(char c) const
    {
        return m_lower[static_cast<unsigned char>(c)];
    }

    // The first byte at p is known to match.
    bool matchesAt(const char *text, quint32 p, const quint32 *bounds, int boundCount) const
    {
        const quint32 n = m_needle.size;
        for (quint32 k = 1; k < n; ++k) {
            if (lowerOf(text[p + k]) != m_needle.text[k])
                return false;
        }
        for (int b = 0; b < boundCount; ++b) {
            if (bounds[b] > p && bounds[b] < p + n)
                return false;
        }
        return true;
    }

    const Needle &m_needle;
    const std::array<char16_t, 256> &m_lower;
};

} // namespace

namespace JournalSearch {

QString lowered(QStringView text)
{
    const LowerTable &lower = lowerTable();
    QString result(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = lower[text.utf16()[i]];
    return result;
}

std::vector<int> find(const RecordTable &table, int count, QStringView text)
{
    std::vector<int> hits;
    if (text.isEmpty())
        return hits;
    const std::array<char16_t, 256> &lower = byteLowerTable();
    const QString lowered = JournalSearch::lowered(text);
    const Needle needle(lowered, lower);
    if (!needle.possible(lower))
        return hits;
    const SpanSearch search(needle, lower);
    count = std::min(count, RecordTable::kMaxRecord);
    // Each record is an allocation of its own, so the scan waits on memory far more than it
    // compares: the records a few steps ahead are fetched while this one is searched, their
    // field lengths first, then, once those have arrived, the searched fields themselves.
    constexpr int kEndsAhead = 16;
    constexpr int kFieldsAhead = 8;
    constexpr int kLastSearched = 13;
    const auto prefetchEnds = [&](int r) {
        if (r <= count)
            __builtin_prefetch(table.record(r).endsData());
    };
    const auto prefetchFields = [&](int r) {
        if (r > count)
            return;
        const RecordTable::RecordView ahead = table.record(r);
        if (!ahead.endsData())
            return;
        const char *bytes = ahead.bytes().data();
        __builtin_prefetch(bytes + ahead.start(2));
        __builtin_prefetch(bytes + ahead.start(12));
    };
    for (int r = 1; r <= std::min(count, kEndsAhead); ++r)
        prefetchEnds(r);
    quint32 ends[kLastSearched + 1];
    for (int i = 1; i <= count; ++i) {
        prefetchEnds(i + kEndsAhead);
        prefetchFields(i + kFieldsAhead);
        const RecordTable::RecordView record = table.record(i);
        if (!record.endsData())
            continue;
        record.ends(kLastSearched, ends);
        const char *bytes = record.bytes().data();
        // Fields 2, 3 and 4 (plate, VIN, make) lie side by side, and so do 12 and 13 (body,
        // colour).
        const quint32 plateVinMake[] = {ends[2], ends[3]};
        const quint32 body[] = {ends[12]};
        const auto size = quint32(record.bytes().size());
        if (search.contains(bytes, size, ends[1], ends[4], plateVinMake, 2)
            || search.contains(bytes, size, ends[11], ends[13], body, 1))
            hits.push_back(i);
    }
    return hits;
}

} // namespace JournalSearch
