#include "JournalFile.h"

#include "Journal.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/ProgramExit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

using JournalLines::kSeparator;

constexpr int kSeparators = RecordTable::kLastStoredField;
// A "|" in a field is stored as the broken bar (U+00A6), which reads back as a character of
// its own.
constexpr unsigned char kBrokenBarByte = 0xA6;

// What the journal's messages say, exactly as the operator has always seen them.
namespace Text {
const QString overflow = QStringLiteral("Кол-во записей в справочнике > 20000. Все что больше 20000 будет удалено ");
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
