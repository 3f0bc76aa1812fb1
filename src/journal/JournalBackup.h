#pragma once

#include <QDateTime>
#include <QString>

class AutoCopy;
struct Journal;
struct Platform;

// The journal's backup to a file of the operator's choice, and its restore from such a file.
namespace JournalBackup {

// Both dialogs' filter, pairs of description and pattern.
QString filter();
// "08.12.2025 14ч05мин Trelvax_1.0" for 14:05 on 8 December 2025.
QString suggestedName(const QDateTime &now);

// Writes records 1..RecordCount to the chosen file exactly as the save writes the journal,
// without changing the table. A file that cannot be written is reported: the operator must
// not believe the data safe when it is not. The dialog opens in `lastFolder`, the folder of the
// run's last backup (the program folder before the first), which a written backup updates.
void backUp(const Journal &journal, Platform &platform, QString &lastFolder);

// Checks the chosen file by the load's own rules, asks, copies the journal file into the
// automatic copies (a copy that fails is told and asked about again), replaces the journal file with the chosen one at
// once (a failure leaves the old journal whole) and ends the program without its closing steps, so that the next start
// loads the restored journal. The dialog opens in the copies' folder when there is one. True
// when the program was ended.
bool restore(Platform &platform, AutoCopy &copies);

} // namespace JournalBackup
