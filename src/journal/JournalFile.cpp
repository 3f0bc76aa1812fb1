#include "JournalFile.h"

#include "Journal.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1251.h"
#include "platform/Dialogs.h"
#include "platform/ProgramExit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

constexpr int kSeparators = RecordTable::kLastStoredField;
constexpr char kSeparator = '|';

// What the journal's messages say, exactly as the operator has always seen them.
namespace Text {
QString emptyFile(const QString &path)
{
    return QStringLiteral("ФАЙЛ БАЗЫ   ") + path + QStringLiteral("   ПУСТОЙ!");
}
const QString emptyFileCaption = QStringLiteral("Ошибка загрузки");
QString badLine(qsizetype line, const QString &path)
{
    return QStringLiteral("Строка № ") + QString::number(line) + QStringLiteral("   файла ") + path
        + QStringLiteral("  Содержит ошибку!");
}
const QString badLineCaption = QStringLiteral("Ошибка формата файла");
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
    FileNotFound = 53,
    DeviceError = 57,
    PermissionDenied = 70,
    AccessError = 75,
};

// Walks the lines of a file held in memory. CR LF, a lone LF and a lone CR each end a line;
// a terminator at the very end does not start another line.
class LineCursor
{
public:
    LineCursor(const char *begin, const char *end) : m_p(begin), m_end(end) {}

    bool next(const char *&lineBegin, const char *&lineEnd)
    {
        if (m_p >= m_end)
            return false;
        lineBegin = m_p;
        // The next CR and LF are remembered, so that a file of one kind of line end is not
        // searched to its end for the other kind once per line.
        const char *cr = nextOf('\r', m_cr);
        const char *lf = nextOf('\n', m_lf);
        if (cr < lf) {
            lineEnd = cr;
            m_p = (cr + 1 == lf) ? lf + 1 : cr + 1;
        } else {
            lineEnd = lf;
            m_p = lf == m_end ? m_end : lf + 1;
        }
        return true;
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

    const char *m_p;
    const char *m_end;
    const char *m_cr = nullptr;
    const char *m_lf = nullptr;
};

// Finds up to `wanted` separators of a line; returns how many there are.
int findSeparators(const char *begin, const char *end, const char **found, int wanted)
{
    int n = 0;
    for (const char *p = begin; n < wanted && p < end; ++n) {
        const auto *s = static_cast<const char *>(std::memchr(p, kSeparator, size_t(end - p)));
        if (!s)
            break;
        found[n] = s;
        p = s + 1;
    }
    return n;
}

void trimSpaces(const char *&b, const char *&e)
{
    while (b < e && *b == ' ')
        ++b;
    while (e > b && e[-1] == ' ')
        --e;
}

// One line of the file as record `record`: the stored ID is replaced by the record number.
void parseLine(RecordTable &table, int record, const char *begin, const char *end)
{
    const char *sep[kSeparators];
    findSeparators(begin, end, sep, kSeparators);

    char id[12];
    const int idLength = std::snprintf(id, sizeof id, "%d", record);

    const char *fieldBegin[kSeparators];
    const char *fieldEnd[kSeparators];
    qsizetype total = idLength;
    for (int k = 1; k < kSeparators; ++k) {
        const char *b = sep[k - 1] + 1;
        const char *e = sep[k];
        trimSpaces(b, e);
        fieldBegin[k] = b;
        fieldEnd[k] = e;
        total += e - b;
    }

    QString text(total, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    quint32 ends[RecordTable::kFieldCount];
    ends[0] = 0;
    for (int i = 0; i < idLength; ++i)
        out[i] = char16_t(id[i]);
    quint32 pos = quint32(idLength);
    ends[1] = pos;
    for (int k = 1; k < kSeparators; ++k) {
        const qsizetype n = fieldEnd[k] - fieldBegin[k];
        Cp1251::decode(fieldBegin[k], n, out + pos);
        pos += quint32(n);
        ends[k + 1] = pos;
    }
    for (int f = kSeparators + 1; f < RecordTable::kFieldCount; ++f)
        ends[f] = pos;
    table.assignRecord(record, std::move(text), ends);
}

bool needsCleaning(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            if (u == '\r' || u == '\n' || u == kSeparator)
                return true;
        } else if (Cp1251::byteFor(u) < 0) {
            return true;
        }
    }
    return false;
}

QString cleaned(QStringView field)
{
    QString text;
    text.reserve(field.size());
    for (const QChar c : field) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            continue;
        text.append(c == QLatin1Char(kSeparator) ? QChar(0x00A6) : c);
    }
    return Cp1251::representable(text);
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

QByteArray encodeRecords(const RecordTable &table, int count)
{
    qsizetype size = 0;
    quint32 ends[RecordTable::kFieldCount];
    for (int i = 1; i <= count; ++i) {
        table.fieldEnds(i, ends);
        size += ends[kSeparators] - ends[0] + kSeparators + 2;
    }
    QByteArray bytes(size, Qt::Uninitialized);
    char *dst = bytes.data();
    qsizetype replaced = 0;
    for (int i = 1; i <= count; ++i) {
        const char16_t *text = table.recordText(i).utf16();
        table.fieldEnds(i, ends);
        for (int f = 1; f <= kSeparators; ++f) {
            dst = Cp1251::encodeInto(text + ends[f - 1], ends[f] - ends[f - 1], dst, &replaced);
            *dst++ = kSeparator;
        }
        *dst++ = '\r';
        *dst++ = '\n';
    }
    bytes.truncate(dst - bytes.constData());
    return bytes;
}

int cleanRecords(RecordTable &table, int count)
{
    int changed = 0;
    quint32 ends[RecordTable::kFieldCount];
    for (int i = 1; i <= count; ++i) {
        table.fieldEnds(i, ends);
        const QStringView stored = table.recordText(i).sliced(0, ends[kSeparators]);
        if (!needsCleaning(stored))
            continue;
        ++changed;
        for (int f = 1; f <= kSeparators; ++f) {
            const QStringView value = table.field(i, f);
            if (needsCleaning(value))
                table.setField(i, f, cleaned(value));
        }
    }
    return changed;
}

} // namespace JournalFile

void ParseJournalLines(Journal &journal, const QByteArray &bytes)
{
    journal.table.clear();
    LineCursor lines(bytes.constData(), bytes.constData() + bytes.size());
    const char *begin = nullptr;
    const char *end = nullptr;
    for (int record = 1; record <= journal.RecordCount && lines.next(begin, end); ++record)
        parseLine(journal.table, record, begin, end);
}

bool CreateJournalFile(Journal &journal, Dialogs &dialogs)
{
    journal.RecordCount = 1;
    quint32 ends[RecordTable::kFieldCount];
    std::fill(std::begin(ends), std::end(ends), 1u);
    ends[0] = 0;
    journal.table.assignRecord(1, QStringLiteral("1"), ends);
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
    const QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed)
        return fail(dialogs, exit, DeviceError);

    if (bytes.isEmpty()) {
        dialogs.inform(Text::emptyFile(journal.JournalPath), Text::emptyFileCaption,
                       Dialogs::Icon::Critical);
        return fail(dialogs, exit, FormatFailure);
    }

    // Every line is checked, also those beyond the last one the journal can hold.
    LineCursor lines(bytes.constData(), bytes.constData() + bytes.size());
    const char *begin = nullptr;
    const char *end = nullptr;
    const char *sep[kSeparators];
    qsizetype count = 0;
    while (lines.next(begin, end)) {
        ++count;
        if (findSeparators(begin, end, sep, kSeparators) < kSeparators) {
            dialogs.inform(Text::badLine(count, journal.JournalPath), Text::badLineCaption,
                           Dialogs::Icon::Critical);
            return fail(dialogs, exit, FormatFailure);
        }
    }

    if (count > RecordTable::kMaxRecord) {
        dialogs.inform(Text::overflow, Text::overflowCaption, Dialogs::Icon::Critical);
        count = RecordTable::kMaxRecord;
    }
    journal.RecordCount = qint32(count);
    ParseJournalLines(journal, bytes);
    return true;
}

bool SaveJournal(Journal &journal, Dialogs &dialogs)
{
    JournalFile::cleanRecords(journal.table, journal.RecordCount);
    if (!writeFileAtomically(journal.JournalPath,
                             JournalFile::encodeRecords(journal.table, journal.RecordCount))) {
        dialogs.inform(Text::saveFailure, programTitle(), Dialogs::Icon::None);
        return false;
    }
    return true;
}
