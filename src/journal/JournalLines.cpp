#include "JournalLines.h"

#include "Journal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using JournalLines::kSeparator;
using JournalLines::trimSpaces;

constexpr int kSeparators = RecordTable::kLastStoredField;

// Finds the first `wanted` separators of a line (fewer when the line has fewer) and returns
// how many it found. Sixteen bytes are compared at a time: a line holds hundreds of
// separators, mostly next to each other, so a search per separator would cost more than the
// decoding itself.
int findSeparators(const char *begin, const char *end, const char **found, int wanted)
{
    int n = 0;
    const char *p = begin;
#if defined(__SSE2__)
    const __m128i separator = _mm_set1_epi8(kSeparator);
    for (; end - p >= 16 && n < wanted; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, separator)));
        while (mask && n < wanted) {
            found[n++] = p + std::countr_zero(mask);
            mask &= mask - 1;
        }
    }
#endif
    for (; p < end && n < wanted; ++p) {
        if (*p == kSeparator)
            found[n++] = p;
    }
    return n;
}

// The load's rule for one line, whatever becomes of it: it holds a separator after every stored
// field. The first kSeparators separators are left in sep.
bool acceptedLine(const char *begin, const char *end, const char **sep)
{
    return findSeparators(begin, end, sep, kSeparators) == kSeparators;
}

// A record that an older save wrote with a lone break in a field holds exactly its separators,
// and the break lies after the ID, which no operator types. Anything else means the break ended
// a damaged line and drew the next line into it: that is reported rather than loaded as one
// record.
bool isRecordWithBreak(const char *begin, const char *end)
{
    const char *separators[kSeparators + 1];
    if (findSeparators(begin, end, separators, kSeparators + 1) != kSeparators)
        return false;
    const auto idLength = size_t(separators[0] - begin);
    return !std::memchr(begin, '\r', idLength) && !std::memchr(begin, '\n', idLength);
}

// Walks the lines of a file held in memory. CR LF always ends a line. A lone LF or a lone CR
// ends one only once the line holds all its separators: older saves removed CR LF pairs but left
// a lone LF inside a field, and such a break belongs to the field (the next save removes it).
// A terminator at the very end does not start another line.
class LineCursor
{
public:
    LineCursor(const char *begin, const char *end) : m_p(begin), m_end(end) {}

    bool atEnd() const { return m_p >= m_end; }
    // Where the next line begins; moved on by a reader that has taken lines itself.
    const char *position() const { return m_p; }
    void skipTo(const char *p) { m_p = p; }

    // `tookBreak` tells that the line holds a lone line break inside a field.
    bool next(const char *&lineBegin, const char *&lineEnd, bool &tookBreak)
    {
        if (m_p >= m_end)
            return false;
        lineBegin = m_p;
        tookBreak = false;
        int separators = 0;
        const char *counted = m_p;
        for (;;) {
            // The next CR and LF are remembered, so that a file of one kind of line end is not
            // searched to its end for the other kind once per line.
            const char *cr = nextOf('\r', m_cr);
            const char *lf = nextOf('\n', m_lf);
            const char *brk = std::min(cr, lf);
            if (brk == m_end) {
                lineEnd = m_end;
                m_p = m_end;
                return true;
            }
            if (brk == cr && cr + 1 == lf) {
                lineEnd = cr;
                m_p = lf + 1;
                return true;
            }
            // A lone break: only the separators since the last one are counted, so that a line
            // of many breaks is still walked once.
            separators += countSeparators(counted, brk, kSeparators - separators);
            counted = brk;
            if (separators >= kSeparators) {
                lineEnd = brk;
                m_p = brk + 1;
                return true;
            }
            tookBreak = true;
            m_p = brk + 1;
        }
    }

private:
    // The first `c` at or after m_p (m_end when there is none), searched again only once the
    // cursor has passed the one found before.
    const char *nextOf(char c, const char *&cached)
    {
        if (!cached || cached < m_p) {
            const auto *found = static_cast<const char *>(std::memchr(m_p, c, size_t(m_end - m_p)));
            cached = found ? found : m_end;
        }
        return cached;
    }

    static int countSeparators(const char *begin, const char *end, int wanted)
    {
        const char *found[kSeparators];
        return findSeparators(begin, end, found, std::min(wanted, kSeparators));
    }

    const char *m_p;
    const char *m_end;
    const char *m_cr = nullptr;
    const char *m_lf = nullptr;
};

// Walks the lines of a journal file's content as the load does, until the first line refused.
// Each line is first offered to commonLine(line number, begin, &next), a reader that may take a
// line in one pass and finds its end itself (true, with the next line's beginning in next);
// a line it declines is cut by the line cursor and handed to onLine(line number, begin, end).
// A line that took in a lone line break must also be a whole record with that break inside a
// field.
template<class CommonLine, class OnLine>
JournalScan walkLines(const QByteArray &bytes, CommonLine commonLine, OnLine onLine)
{
    LineCursor lines(bytes.constData(), bytes.constData() + bytes.size());
    const char *begin = nullptr;
    const char *end = nullptr;
    bool tookBreak = false;
    JournalScan scan;
    while (!lines.atEnd()) {
        ++scan.lines;
        const char *next = nullptr;
        if (commonLine(scan.lines, lines.position(), &next)) {
            lines.skipTo(next);
            continue;
        }
        lines.next(begin, end, tookBreak);
        bool whole = onLine(scan.lines, begin, end);
        if (whole && tookBreak)
            whole = isRecordWithBreak(begin, end);
        if (!whole) {
            scan.badLine = scan.lines;
            break;
        }
    }
    return scan;
}

// Turns lines of the file into records: the bytes between the separators are copied as they
// are, into a buffer that is reused from line to line, so that each record costs one block of
// its exact size.
class LineParser
{
public:
    LineParser(RecordTable &table, const char *dataEnd) : m_table(table), m_dataEnd(dataEnd), m_buffer(kCommonRoom) {}

    // The common line, read in one pass over its bytes sixteen at a time, which finds both its
    // fields and its end: a record whose fields all fit a one-byte length, whose 200 separators
    // all come before its first line break. Most fields are empty, and a run of empty fields is
    // a run of separators: only a separator that closes a field with text costs more than the
    // pass. False, with nothing changed, for any other line: the caller takes it through the
    // line cursor and parseAnyFields().
    bool parseCommonLine(int record, const char *begin, const char **next)
    {
#if defined(__SSE2__)
        CommonLine line(m_buffer.data(), record);
        for (const char *block = begin; block < m_dataEnd; block += 16) {
            // The buffer holds the fields of the bytes read so far, with room for the copies.
            if (size_t(block - begin) + 128 > m_buffer.size())
                return false;
            const BlockMasks masks = loadBlock(block);
            if (masks.separators && line.count < kSeparators && !closeFieldsOfBlock(line, block, masks.separators))
                return false;
            if (masks.breaks)
                return finishCommonLine(record, line, block + std::countr_zero(masks.breaks), next);
        }
        return finishCommonLine(record, line, m_dataEnd, next);
#else
        Q_UNUSED(record);
        Q_UNUSED(begin);
        Q_UNUSED(next);
        return false;
#endif
    }

    // Any line, through the positions of its separators. False when the line holds fewer
    // separators than stored fields.
    bool parseAnyFields(int record, const char *begin, const char *end)
    {
        // The fields are at most the bytes of the line; the record number may be longer than
        // the stored ID, and copies run up to 16 bytes past a field's end.
        if (m_buffer.size() < size_t(end - begin) + 64)
            m_buffer.resize(size_t(end - begin) + 64);
        const char *sep[kSeparators];
        if (!acceptedLine(begin, end, sep))
            return false;
        char *out = m_buffer.data();
        quint32 ends[RecordTable::kFieldCount];
        ends[0] = 0;
        quint32 pos = quint32(std::to_chars(out, out + 16, record).ptr - out);
        ends[1] = pos;
        for (int k = 1; k < kSeparators; ++k) {
            const char *b = sep[k - 1] + 1;
            const char *e = sep[k];
            if (b != e) {
                trimSpaces(b, e);
                copyField(out + pos, b, size_t(e - b));
                pos += quint32(e - b);
            }
            ends[k + 1] = pos;
        }
        for (int f = kSeparators + 1; f < RecordTable::kFieldCount; ++f)
            ends[f] = pos;
        m_table.assignBytes(record, QByteArrayView(out, pos), ends);
        return true;
    }

private:
#if defined(__SSE2__)
    // A common line as far as it has been read: its fields copied into the buffer, their
    // lengths, and the separators of the blocks before the current one.
    struct CommonLine
    {
        CommonLine(char *buffer, int record) : out(buffer)
        {
            // The stored ID is not read: the record number takes its place.
            pos = quint32(std::to_chars(out, out + 16, record).ptr - out);
            lengths[1] = static_cast<unsigned char>(pos);
        }

        char *out;
        quint32 pos = 0;
        unsigned char lengths[RecordTable::kFieldCount] = {};
        int count = 0;                       // separators before the block
        const char *lastSeparator = nullptr; // the last one before the block
    };

    // Sixteen bytes of the file as bit masks, one bit a byte: its line breaks, and its separators
    // that come before the first of them. Bytes past the end of the file are neither.
    struct BlockMasks
    {
        unsigned separators;
        unsigned breaks;
    };

    BlockMasks loadBlock(const char *block) const
    {
        __m128i bytes;
        if (m_dataEnd - block >= 16) {
            bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block));
        } else {
            char tail[16] = {};
            std::memcpy(tail, block, size_t(m_dataEnd - block));
            bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(tail));
        }
        const __m128i separator = _mm_set1_epi8(kSeparator);
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        unsigned separators = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, separator)));
        unsigned breaks = unsigned(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        if (m_dataEnd - block < 16) {
            const unsigned inData = (1u << (m_dataEnd - block)) - 1;
            separators &= inData;
            breaks &= inData;
        }
        if (breaks)
            separators &= (1u << std::countr_zero(breaks)) - 1;
        return {separators, breaks};
    }

    // Copies the fields that the separators of a block close, as long as they are stored, and
    // counts the separators. A separator right after another closes an empty field, which costs
    // nothing: its length is already 0. False when a field is too long for a length byte.
    bool closeFieldsOfBlock(CommonLine &line, const char *block, unsigned separators)
    {
        const unsigned afterSeparator = (separators << 1)
            | (line.lastSeparator && block - line.lastSeparator == 1 ? 1u : 0u);
        for (unsigned closing = separators & ~afterSeparator; closing; closing &= closing - 1) {
            const int bit = std::countr_zero(closing);
            const unsigned before = separators & ((1u << bit) - 1);
            // The separators before this one: the field it closes is that number + 1.
            const int index = line.count + bitCount(before);
            if (index >= kSeparators)
                break;
            if (index == 0)
                continue;
            const char *b = before ? block + (31 - std::countl_zero(before)) + 1 : line.lastSeparator + 1;
            if (!copyShortField(line, index + 1, b, block + bit))
                return false;
        }
        line.count += bitCount(separators);
        line.lastSeparator = block + (31 - std::countl_zero(separators));
        return true;
    }

    // Copies field `field`, the bytes [b, e) without their spaces, after the fields before it.
    // False when it is too long for a length byte.
    bool copyShortField(CommonLine &line, int field, const char *b, const char *e) const
    {
        trimSpaces(b, e);
        const auto length = size_t(e - b);
        if (length > 0xFF)
            return false;
        copyField(line.out + line.pos, b, length);
        line.pos += quint32(length);
        line.lengths[field] = static_cast<unsigned char>(length);
        return true;
    }

    // The line ends at `end` (a line break, or the end of the file): a line with all its
    // separators becomes the record, and the next line begins after the break (CR LF counts as
    // one).
    bool finishCommonLine(int record, const CommonLine &line, const char *end, const char **next)
    {
        if (line.count < kSeparators)
            return false;
        if (end == m_dataEnd)
            *next = m_dataEnd;
        else
            *next = *end == '\r' && end + 1 < m_dataEnd && end[1] == '\n' ? end + 2 : end + 1;
        m_table.assignShortFields(record, QByteArrayView(line.out, line.pos), line.lengths);
        return true;
    }
#endif

    // Most fields are a few bytes long: they are copied in blocks of 16, running past the
    // field's end (inside the file's bytes and the buffer's room), rather than through a call
    // of memcpy each.
    void copyField(char *dst, const char *src, size_t n) const
    {
        const size_t blocks = (n + 15) & ~size_t(15);
        if (size_t(m_dataEnd - src) < blocks) {
            std::memcpy(dst, src, n);
            return;
        }
        for (size_t i = 0; i < blocks; i += 16)
            std::memcpy(dst + i, src + i, 16);
    }

    // A common line is at most 200 fields of 255 bytes, their separators and a few spaces.
    static constexpr size_t kCommonRoom = 64 * 1024;

    // The set bits of a 16-bit mask. The baseline instruction set has no popcount instruction
    // (std::popcount is a call into the runtime library there), and a table of bytes is cheaper
    // than counting by arithmetic.
    static int bitCount(unsigned mask)
    {
        return kBitsOfByte[mask & 0xFF] + kBitsOfByte[mask >> 8];
    }
    static constexpr std::array<unsigned char, 256> kBitsOfByte = [] {
        std::array<unsigned char, 256> bits{};
        for (int b = 0; b < 256; ++b)
            bits[size_t(b)] = static_cast<unsigned char>(std::popcount(unsigned(b)));
        return bits;
    }();

    RecordTable &m_table;
    const char *m_dataEnd;
    std::vector<char> m_buffer;
};

} // namespace

JournalScan ParseJournalLines(Journal &journal, const QByteArray &bytes)
{
    journal.table.clear();
    LineParser parser(journal.table, bytes.constData() + bytes.size());
    const char *separators[kSeparators];
    // Every line is counted and checked; only those the table can hold become records.
    return walkLines(
        bytes,
        [&](qsizetype line, const char *begin, const char **next) {
            return line <= RecordTable::kMaxRecord && parser.parseCommonLine(int(line), begin, next);
        },
        [&](qsizetype line, const char *begin, const char *end) {
            return line <= RecordTable::kMaxRecord ? parser.parseAnyFields(int(line), begin, end)
                                                   : acceptedLine(begin, end, separators);
        });
}

JournalScan JournalLines::scanLines(const QByteArray &bytes)
{
    const char *separators[kSeparators];
    return walkLines(
        bytes, [](qsizetype, const char *, const char **) { return false; },
        [&](qsizetype, const char *begin, const char *end) { return acceptedLine(begin, end, separators); });
}
