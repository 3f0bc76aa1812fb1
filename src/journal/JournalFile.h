#pragma once

#include "platform/Dialogs.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct Journal;
class ProgramExit;
class RecordTable;

// The journal file "Trelvax_1.0" of the program folder: one Windows-1251 line per record, the
// 200 stored fields each followed by "|", CR LF line ends.
namespace JournalFile {
QString fileName();
// Journal and backup files share the format: records 1..count as the save writes them, every
// field cleaned as cleanRecord() would clean it, without changing the table.
QByteArray encodeRecords(const RecordTable &table, int count);
// The cleaning the save does to a record's stored fields in the table: line breaks (CR LF, lone
// CR, lone LF) removed, "|" written as "¦". (Characters with no Windows-1251 byte never reach
// the table: it stores them as "?".)
void cleanRecord(RecordTable &table, int record);
} // namespace JournalFile

// Loads the journal of the program folder into the journal state; a missing file is created.
// A journal that cannot be loaded is reported and ends the program: then it returns false.
bool OPFILE1(Journal &journal, const QString &programFolder, Dialogs &dialogs, ProgramExit &exit);

struct JournalScan
{
    qsizetype lines = 0;
    // The first line (counted from 1) with fewer separators than stored fields; 0 for none.
    qsizetype badLine = 0;
};

namespace JournalFile {
// The load's verdict on a journal file's content, without touching any journal: the lines the
// load would count and the first line it would refuse. What a file must pass before it may
// replace the journal.
JournalScan scanLines(const QByteArray &bytes);
// The messages about a file refused for its content, naming the file: empty, or line `line`
// with too few separators.
Dialogs::Message emptyFileMessage(const QString &path);
Dialogs::Message badLineMessage(qsizetype line, const QString &path);
} // namespace JournalFile

// Splits the lines of a journal file held in memory into records 1..20000 of the table and
// checks every line, also those beyond. Called by OPFILE1, which sets RecordCount from it.
JournalScan ParseJournalLines(Journal &journal, const QByteArray &bytes);

// Writes a new journal holding one empty record. False (reported) when it cannot be written.
bool CreateJournalFile(Journal &journal, Dialogs &dialogs);

// Cleans the stored fields and writes records 1..RecordCount over the journal file, after the
// journal's automatic copy when one is due. A failure is reported and leaves the previous file
// whole; a failed copy does not stop the save.
bool SaveJournal(Journal &journal, Dialogs &dialogs);
