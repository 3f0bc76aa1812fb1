// Feeds arbitrary bytes to the journal's line splitter and parser, as if they were the file on
// disk. Whatever loads must save to bytes that load again to the same table: the save is the
// only writer of the journal, so a disagreement between the two loses records at the next start.
#include "journal/Journal.h"
#include "journal/JournalFile.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The load trims spaces around a field; a save can leave one there by removing a line break.
QStringView trimmedSpaces(QStringView text)
{
    while (!text.isEmpty() && text.front() == QLatin1Char(' '))
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == QLatin1Char(' '))
        text.chop(1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Journal first;
    static Journal second;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    const JournalScan scan = ParseJournalLines(first, bytes);
    check(scan.lines >= 0 && scan.badLine >= 0 && scan.badLine <= scan.lines);
    check(scan.lines <= qsizetype(size) + 1);
    if (scan.badLine || scan.lines == 0)
        return 0;
    const int count = int(std::min<qsizetype>(scan.lines, RecordTable::kMaxRecord));
    for (int i = 1; i <= count; ++i) {
        check(first.table.text(i, 1) == QString::number(i));
        JournalFile::cleanRecord(first.table, i);
    }

    const QByteArray saved = JournalFile::encodeRecords(first.table, count);
    const JournalScan again = ParseJournalLines(second, saved);
    check(again.badLine == 0);
    check(again.lines == count);
    for (int i = 1; i <= count; ++i) {
        for (int f = 1; f <= RecordTable::kLastStoredField; ++f)
            check(second.table.field(i, f) == trimmedSpaces(first.table.field(i, f)));
    }
    return 0;
}
