#include "JournalFile.h"

#include "Journal.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/ProgramExit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <bit>
#include <charconv>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr int kSeparators = RecordTable::kLastStoredField;
constexpr char kSeparator = '|';
// A "|" in a field is stored as the broken bar (U+00A6), which reads back as a character of
// its own.
constexpr unsigned char kBrokenBarByte = 0xA6;

// What the journal's messages say, exactly as the operator has always seen them.
namespace Text {
const QString overflow = QStringLiteral(
    "Кол-во записей в справочнике > 20000. Все что больше 20000 будет удалено ");
const QString overflowCaption = QStringLiteral("Переполнение базы");
QString openFailure(int number)
{
    return QStringLiteral("Ошибка при открытии файла базы данных ") + QString::number(number);
}
const QString saveFailure = QStringLiteral("Ошибка сохранения");
} // namespace Text

// Failure numbers of the general load failure.
enum LoadFailure : int {
    FormatFailure = 0,
    FileTooLarge = 7,
    FileNotFound = 53,
    DeviceError = 57,
    PermissionDenied = 70,
    AccessError = 75,
};

// Walks the lines of a file held in memory. CR LF always ends a line. A lone LF or a lone CR
// ends one only once the line holds all its separators: older saves removed CR LF pairs but left
// a lone LF inside a field, and such a break belongs to the field (the next save removes it).
// A terminator at the very end does not start another line.
class LineCursor
{
public:
    LineCursor(const char *begin, const char *end) : m_p(begin), m_end(end) {}

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

    static int countSeparators(const char *begin, const char *end, int wanted);

    const char *m_p;
    const char *m_end;
    const char *m_cr = nullptr;
    const char *m_lf = nullptr;
};

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

int LineCursor::countSeparators(const char *begin, const char *end, int wanted)
{
    const char *found[kSeparators];
    return findSeparators(begin, end, found, std::min(wanted, kSeparators));
}

// The load's rule for one line, whatever becomes of it: it holds a separator after every stored
// field. The first kSeparators separators are left in sep.
bool acceptedLine(const char *begin, const char *end, const char **sep)
{
    return findSeparators(begin, end, sep, kSeparators) == kSeparators;
}

bool isRecordWithBreak(const char *begin, const char *end);

// Walks the lines of a journal file's content as the load does, handing each one to onLine
// (record number, begin, end) until the first line it refuses. A line that took in a lone line
// break must also be a whole record with that break inside a field.
template <class OnLine>
JournalScan walkLines(const QByteArray &bytes, OnLine onLine)
{
    LineCursor lines(bytes.constData(), bytes.constData() + bytes.size());
    const char *begin = nullptr;
    const char *end = nullptr;
    bool tookBreak = false;
    JournalScan scan;
    while (lines.next(begin, end, tookBreak)) {
        ++scan.lines;
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
        char *out = m_buffer.data();
        unsigned char lengths[RecordTable::kFieldCount] = {};
        // The stored ID is not read: the record number takes its place.
        quint32 pos = quint32(std::to_chars(out, out + 16, record).ptr - out);
        lengths[1] = static_cast<unsigned char>(pos);

        const __m128i separator = _mm_set1_epi8(kSeparator);
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        int count = 0; // separators before the block
        const char *lastSeparator = nullptr; // the last one before the block

        for (const char *block = begin; block < m_dataEnd; block += 16) {
            // The buffer holds the fields of the bytes read so far, with room for the copies.
            if (size_t(block - begin) + 128 > m_buffer.size())
                return false;
            __m128i bytes;
            if (m_dataEnd - block >= 16) {
                bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block));
            } else {
                char tail[16] = {};
                std::memcpy(tail, block, size_t(m_dataEnd - block));
                bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(tail));
            }
            unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, separator)));
            unsigned breaks = unsigned(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
            if (m_dataEnd - block < 16) {
                const unsigned inData = (1u << (m_dataEnd - block)) - 1;
                mask &= inData;
                breaks &= inData;
            }
            const int lineEnd = breaks ? std::countr_zero(breaks) : 16;
            if (breaks)
                mask &= (1u << lineEnd) - 1;

            // The fields that end at the separators of the block, as long as they are stored.
            if (mask && count < kSeparators) {
                const unsigned afterSeparator
                    = (mask << 1) | (lastSeparator && block - lastSeparator == 1 ? 1u : 0u);
                for (unsigned closing = mask & ~afterSeparator; closing; closing &= closing - 1) {
                    const int bit = std::countr_zero(closing);
                    const unsigned before = mask & ((1u << bit) - 1);
                    // The separators before this one: the field it closes is that number + 1.
                    const int index = count + bitCount(before);
                    if (index >= kSeparators)
                        break;
                    if (index == 0)
                        continue;
                    const char *b = before ? block + (31 - std::countl_zero(before)) + 1 : lastSeparator + 1;
                    const char *e = block + bit;
                    while (b < e && *b == ' ')
                        ++b;
                    while (e > b && e[-1] == ' ')
                        --e;
                    const auto length = size_t(e - b);
                    if (length > 0xFF)
                        return false;
                    copyField(out + pos, b, length);
                    pos += quint32(length);
                    lengths[index + 1] = static_cast<unsigned char>(length);
                }
                count += bitCount(mask);
                lastSeparator = block + (31 - std::countl_zero(mask));
            }
            if (!breaks)
                continue;
            if (count < kSeparators)
                return false;
            const char *end = block + lineEnd;
            *next = *end == '\r' && end + 1 < m_dataEnd && end[1] == '\n' ? end + 2 : end + 1;
            m_table.assignShortFields(record, QByteArrayView(out, pos), lengths);
            return true;
        }
        if (count < kSeparators)
            return false;
        *next = m_dataEnd;
        m_table.assignShortFields(record, QByteArrayView(out, pos), lengths);
        return true;
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
                while (b < e && *b == ' ')
                    ++b;
                while (e > b && e[-1] == ' ')
                    --e;
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
    static int bitCount(unsigned mask) { return kBitsOfByte[mask & 0xFF] + kBitsOfByte[mask >> 8]; }
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

// What the save must clean before a field can be written: a line break or the separator. The
// table holds no character without a Windows-1251 byte: it stores those as "?" when set.
bool needsCleaning(QByteArrayView field)
{
    for (const char c : field) {
        if (c == '\r' || c == '\n' || c == kSeparator)
            return true;
    }
    return false;
}

QByteArray cleaned(QByteArrayView field)
{
    QByteArray text;
    text.reserve(field.size());
    for (const char c : field) {
        if (c == '\r' || c == '\n')
            continue;
        text.append(c == kSeparator ? char(kBrokenBarByte) : c);
    }
    return text;
}

// Encodes records 1..count as journal lines, cleaned as cleanRecord() cleans the table: no line
// break and no separator can reach a file, whatever the table holds. Records that needed
// cleaning are listed in *unclean, when asked for.
QByteArray encodeLines(const RecordTable &table, int count, std::vector<int> *unclean)
{
    qsizetype size = 0;
    for (int i = 1; i <= count; ++i)
        size += table.record(i).end(kSeparators) + kSeparators + 2;
    QByteArray bytes(size, Qt::Uninitialized);
    char *dst = bytes.data();
    quint32 ends[kSeparators + 1];
    for (int i = 1; i <= count; ++i) {
        const RecordTable::RecordView record = table.record(i);
        const char *text = record.bytes().data();
        record.ends(kSeparators, ends);
        bool clean = true;
        for (int f = 1; f <= kSeparators; ++f) {
            for (quint32 j = ends[f - 1]; j < ends[f]; ++j) {
                const char c = text[j];
                // Line breaks and the separator are rare: only they take the slow road.
                if (Q_LIKELY(c != '\r' && c != '\n' && c != kSeparator)) {
                    *dst++ = c;
                    continue;
                }
                clean = false;
                if (c == kSeparator)
                    *dst++ = char(kBrokenBarByte);
            }
            *dst++ = kSeparator;
        }
        *dst++ = '\r';
        *dst++ = '\n';
        if (!clean && unclean)
            unclean->push_back(i);
    }
    bytes.truncate(dst - bytes.constData());
    return bytes;
}

// The largest file a journal can be: every one of its 20000 records at the longest line the
// format allows (32766 characters and CR LF). Real journals are about 700 bytes a record; a
// larger file is no journal, and reading it whole (with twice its size again as text) could
// exhaust the memory before any line is examined.
constexpr qint64 kMaxJournalBytes = qint64(RecordTable::kMaxRecord) * (32766 + 2);

enum class ReadResult { Read, TooLarge, Failed };

// The bytes of a large journal land in memory the process has never touched, and each of its
// 4 KB pages costs a fault when first written: several thousand for a full journal, most of
// the load at start-up. Where the system offers 2 MB pages on request, the buffer asks for
// them, and the faults become a handful. Nothing changes where it does not.
void preferLargePages(char *data, qsizetype size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr quintptr kLargePage = 2 * 1024 * 1024;
    const quintptr begin = (quintptr(data) + kLargePage - 1) & ~(kLargePage - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(kLargePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), size_t(end - begin), MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

// Reads the whole file, refusing it before reading when it is larger than any journal, and
// also when it grows past that while read (a device or a file still being written).
ReadResult readJournalBytes(QFile &file, QByteArray &bytes)
{
    const qint64 size = file.size();
    if (size > kMaxJournalBytes)
        return ReadResult::TooLarge;
    bytes.resize(qsizetype(size));
    preferLargePages(bytes.data(), bytes.size());
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.read(bytes.data() + done, size - done);
        if (n <= 0)
            break;
        done += n;
    }
    if (file.error() != QFileDevice::NoError)
        return ReadResult::Failed;
    bytes.truncate(qsizetype(done));
    // Whatever follows the size the file had when opened is read in pieces, so that the common
    // case (nothing) costs one empty read and no copy of the bytes already read.
    char chunk[64 * 1024];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0 || file.error() != QFileDevice::NoError)
            return ReadResult::Failed;
        if (n == 0)
            return ReadResult::Read;
        if (qint64(bytes.size()) + n > kMaxJournalBytes) {
            bytes.clear();
            return ReadResult::TooLarge;
        }
        bytes.append(chunk, qsizetype(n));
    }
}

bool fail(Dialogs &dialogs, ProgramExit &exit, int number)
{
    dialogs.inform(Text::openFailure(number), programTitle(), Dialogs::Icon::None);
    exit.end(1);
    return false;
}

} // namespace

namespace JournalFile {

QString fileName()
{
    return QStringLiteral("Trelvax_1.0");
}

Dialogs::Message emptyFileMessage(const QString &path)
{
    return {QStringLiteral("ФАЙЛ БАЗЫ   ") + path + QStringLiteral("   ПУСТОЙ!"), QStringLiteral("Ошибка загрузки"),
            Dialogs::Icon::Critical};
}

Dialogs::Message badLineMessage(qsizetype line, const QString &path)
{
    return {QStringLiteral("Строка № ") + QString::number(line) + QStringLiteral("   файла ") + path
                + QStringLiteral("  Содержит ошибку!"),
            QStringLiteral("Ошибка формата файла"), Dialogs::Icon::Critical};
}

QByteArray encodeRecords(const RecordTable &table, int count)
{
    return encodeLines(table, count, nullptr);
}

void cleanRecord(RecordTable &table, int record)
{
    for (int f = 1; f <= kSeparators; ++f) {
        const QByteArrayView value = table.bytes(record, f);
        if (needsCleaning(value))
            table.setFieldBytes(record, f, cleaned(value));
    }
}

} // namespace JournalFile

namespace {

// A record the old program saved with a lone break in a field holds exactly its separators, and
// the break lies after the ID, which no operator types. Anything else means the break ended a
// damaged line and drew the next line into it: that is reported rather than loaded as one
// record.
bool isRecordWithBreak(const char *begin, const char *end)
{
    const char *separators[kSeparators + 1];
    if (findSeparators(begin, end, separators, kSeparators + 1) != kSeparators)
        return false;
    const auto idLength = size_t(separators[0] - begin);
    return !std::memchr(begin, '\r', idLength) && !std::memchr(begin, '\n', idLength);
}

} // namespace

JournalScan ParseJournalLines(Journal &journal, const QByteArray &bytes)
{
    journal.table.clear();
    const char *const dataEnd = bytes.constData() + bytes.size();
    LineParser parser(journal.table, dataEnd);
    LineCursor lines(bytes.constData(), dataEnd);
    const char *separators[kSeparators];
    const char *p = bytes.constData();
    JournalScan scan;
    // The same lines and verdicts as walkLines(), with the common line read in one pass.
    while (p < dataEnd) {
        ++scan.lines;
        if (scan.lines <= RecordTable::kMaxRecord && parser.parseCommonLine(int(scan.lines), p, &p))
            continue;
        lines.skipTo(p);
        const char *begin = nullptr;
        const char *end = nullptr;
        bool tookBreak = false;
        lines.next(begin, end, tookBreak);
        p = lines.position();
        bool whole = scan.lines <= RecordTable::kMaxRecord ? parser.parseAnyFields(int(scan.lines), begin, end)
                                                           : acceptedLine(begin, end, separators);
        if (whole && tookBreak)
            whole = isRecordWithBreak(begin, end);
        if (!whole) {
            scan.badLine = scan.lines;
            break;
        }
    }
    return scan;
}

JournalScan JournalFile::scanLines(const QByteArray &bytes)
{
    const char *separators[kSeparators];
    return walkLines(bytes, [&](qsizetype, const char *begin, const char *end) {
        return acceptedLine(begin, end, separators);
    });
}

bool CreateJournalFile(Journal &journal, Dialogs &dialogs)
{
    journal.RecordCount = 1;
    quint32 ends[RecordTable::kFieldCount];
    std::fill(std::begin(ends), std::end(ends), 1u);
    ends[0] = 0;
    journal.table.assignBytes(1, "1", ends);
    if (!writeFileAtomically(journal.JournalPath, JournalFile::encodeRecords(journal.table, 1))) {
        dialogs.inform(Text::saveFailure, programTitle(), Dialogs::Icon::None);
        return false;
    }
    return true;
}

bool OPFILE1(Journal &journal, const QString &programFolder, Dialogs &dialogs, ProgramExit &exit)
{
    journal.JournalPath = QDir::toNativeSeparators(QDir(programFolder).filePath(JournalFile::fileName()));
    QFile file(journal.JournalPath);
    if (!file.exists()) {
        CreateJournalFile(journal, dialogs);
        if (!file.exists())
            return fail(dialogs, exit, FileNotFound);
    }
    if (!file.open(QIODevice::ReadOnly)) {
        const bool denied = file.error() == QFileDevice::PermissionsError
            || !QFileInfo(journal.JournalPath).isReadable();
        return fail(dialogs, exit, denied ? PermissionDenied : AccessError);
    }
    QByteArray bytes;
    const ReadResult read = readJournalBytes(file, bytes);
    file.close();
    if (read == ReadResult::TooLarge)
        return fail(dialogs, exit, FileTooLarge);
    if (read == ReadResult::Failed)
        return fail(dialogs, exit, DeviceError);

    if (bytes.isEmpty()) {
        dialogs.message(JournalFile::emptyFileMessage(journal.JournalPath));
        return fail(dialogs, exit, FormatFailure);
    }

    // Every line is checked, also those beyond the last one the journal can hold.
    const JournalScan scan = ParseJournalLines(journal, bytes);
    if (scan.badLine) {
        dialogs.message(JournalFile::badLineMessage(scan.badLine, journal.JournalPath));
        return fail(dialogs, exit, FormatFailure);
    }
    qsizetype count = scan.lines;
    if (count > RecordTable::kMaxRecord) {
        dialogs.inform(Text::overflow, Text::overflowCaption, Dialogs::Icon::Critical);
        count = RecordTable::kMaxRecord;
    }
    journal.RecordCount = qint32(count);
    return true;
}

bool SaveJournal(Journal &journal, Dialogs &dialogs)
{
    journal.autoCopy.beforeSave(journal.JournalPath, dialogs);
    std::vector<int> unclean;
    const QByteArray bytes = encodeLines(journal.table, journal.RecordCount, &unclean);
    // The table is made to hold what the file holds, so that the screen never shows what the
    // next start would not load.
    for (const int record : unclean)
        JournalFile::cleanRecord(journal.table, record);
    if (!writeFileAtomically(journal.JournalPath, bytes)) {
        dialogs.inform(Text::saveFailure, programTitle(), Dialogs::Icon::None);
        return false;
    }
    return true;
}
