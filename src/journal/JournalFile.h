#pragma once

#include "JournalLines.h"
#include "platform/Dialogs.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct Journal;
class ProgramExit;
class RecordTable;

// The journal file "Trelvax_1.0" of the program folder: one Windows-1251 line per record, the
// 200 stored fields each followed by "|", CR LF line ends.
// Reading and checking its lines is JournalLines.h.
namespace JournalFile {
QString fileName();
// Journal and backup files share the format: records 1..count as the save writes them, every
// field cleaned as cleanRecord() would clean it, without changing the table.
QByteArray encodeRecords(const RecordTable &table, int count);
// The cleaning the save does to a record's stored fields in the table: line breaks (CR LF, lone
// CR, lone LF) removed, "|" written as "¦". (Characters with no Windows-1251 byte never reach
// the table: it stores them as "?".)
void cleanRecord(RecordTable &table, int record);
// The messages about a file refused for its content, naming the file: empty, or line `line`
// with too few separators.
Dialogs::Message emptyFileMessage(const QString &path);
Dialogs::Message badLineMessage(qsizetype line, const QString &path);
} // namespace JournalFile

// Loads the journal of the program folder into the journal state; a missing file is created.
// A journal that cannot be loaded is reported and ends the program: then it returns false.
bool OPFILE1(Journal &journal, const QString &programFolder, Dialogs &dialogs, ProgramExit &exit);

// Writes a new journal holding one empty record. False (reported) when it cannot be written.
bool CreateJournalFile(Journal &journal, Dialogs &dialogs);

// Cleans the stored fields and writes records 1..RecordCount over the journal file, after the
// journal's automatic copy when one is due. A failure is reported and leaves the previous file
// whole; a failed copy does not stop the save.
bool SaveJournal(Journal &journal, Dialogs &dialogs);
