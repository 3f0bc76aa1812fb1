#pragma once

#include <QByteArray>
#include <QtGlobal>

struct Journal;

// The lines of a journal file's content held in memory, byte by byte: where each line ends, its
// separators, and the fields between them. The file procedures (JournalFile.h) read and write
// the file; this is what they hand the bytes to.

struct JournalScan
{
    qsizetype lines = 0;
    // The first line (counted from 1) with fewer separators than stored fields; 0 for none.
    qsizetype badLine = 0;
};

// Splits the lines of a journal file held in memory into records 1..20000 of the table and
// checks every line, also those beyond. Called by OPFILE1, which sets RecordCount from it.
JournalScan ParseJournalLines(Journal &journal, const QByteArray &bytes);

namespace JournalLines {
// What follows every stored field of a line.
constexpr char kSeparator = '|';

// The load's verdict on a journal file's content, without touching any journal: the lines the
// load would count and the first line it would refuse. What a file must pass before it may
// replace the journal.
JournalScan scanLines(const QByteArray &bytes);

// Narrows [begin, end) to the bytes between the spaces at either end: the spaces around a
// field are not part of it. Only U+0020: a tab or a no-break space stays.
inline void trimSpaces(const char *&begin, const char *&end)
{
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
}
} // namespace JournalLines
