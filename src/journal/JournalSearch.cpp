#include "JournalSearch.h"

#include "RecordTable.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <memory>

namespace {

// Lower case of every UTF-16 unit, built once: a lookup is far cheaper than asking Unicode
// for every character of 100000 fields, and no lowered copy of a field is ever made.
const char16_t *lowerTable()
{
    static const std::unique_ptr<std::array<char16_t, 0x10000>> table = [] {
        auto t = std::make_unique<std::array<char16_t, 0x10000>>();
        for (char32_t u = 0; u < 0x10000; ++u) {
            const char32_t lower = QChar::toLower(u);
            // A unit whose lower case lies beyond the 16-bit range (none in use today) or a
            // surrogate stays as it is.
            (*t)[u] = lower < 0x10000 && !QChar::isSurrogate(u) ? char16_t(lower) : char16_t(u);
        }
        return t;
    }();
    return table->data();
}

bool containsLowered(QStringView haystack, QStringView needle, const char16_t *lower)
{
    const qsizetype n = needle.size();
    if (haystack.size() < n)
        return false;
    const char16_t *h = haystack.utf16();
    const char16_t *s = needle.utf16();
    const char16_t first = s[0];
    const qsizetype last = haystack.size() - n;
    for (qsizetype i = 0; i <= last; ++i) {
        if (lower[h[i]] != first)
            continue;
        qsizetype k = 1;
        while (k < n && lower[h[i + k]] == s[k])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

} // namespace

namespace JournalSearch {

QString lowered(QStringView text)
{
    const char16_t *lower = lowerTable();
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
    const QString needle = lowered(text);
    const char16_t *lower = lowerTable();
    count = std::min(count, RecordTable::kMaxRecord);
    for (int i = 1; i <= count; ++i) {
        const RecordTable::RecordView record = table.record(i);
        if (record.text().isEmpty())
            continue;
        for (const int field : kFields) {
            if (containsLowered(record.field(field), needle, lower)) {
                hits.push_back(i);
                break;
            }
        }
    }
    return hits;
}

} // namespace JournalSearch
