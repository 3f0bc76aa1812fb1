#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class Clock;
class Dialogs;
class SettingsStore;

// How long the automatic copies of the journal are kept: the settings section "AutoCopy".
struct AutoCopySettings
{
    // Copies older than this many days are removed; 0 turns the copies off.
    int days = 60;
    // The newest copies, kept whatever their age.
    int keep = 10;
    // What the copies may take together, in megabytes: the oldest go first.
    int maxMegabytes = 500;

    qint64 maxBytes() const { return qint64(maxMegabytes) * 1024 * 1024; }

    // The stored values; an entry that is missing, no whole number or outside its range takes
    // its default.
    static AutoCopySettings read(const SettingsStore &settings);
};

// The journal's safety net: before the first save of each day and before every restore, the
// journal as it is on disk is copied, byte for byte, into the folder "Копии журнала" beside it.
// The copies are named by their time so that they sort by it, in a form no dialog suggests.
//
// The folder may hold the operator's own files, under any name. So the copies this class made
// are written down in a list in the folder, each with its size and modification time: only a
// listed file that is still exactly as it was made counts as a copy, and only such a file is
// ever removed. A copy that cannot be made never stops a save; the operator hears of it once a
// run.
class AutoCopy
{
public:
    static QString folderName();
    // The copies' folder of a journal file.
    static QString folderOf(const QString &journalPath);
    // "2025-12-08 14ч05мин копия Trelvax_1.0.spb" for 14:05 on 8 December 2025; a second copy
    // of the same minute is "2025-12-08 14ч05мин копия Trelvax_1.0 (2).spb".
    static QString copyName(const QDateTime &time, int order = 1);
    // The list of the copies, in the copies' folder.
    static QString listName();

    // A copy this class made: when, and the file as it left it.
    struct StoredCopy
    {
        QString name;
        QDateTime time;
        qint64 size = 0;
        // Milliseconds since the epoch, as the file system reported them after the copy.
        qint64 modified = 0;
    };
    // The names of the copies to remove once a copy has been added: those older than the
    // settings' days beyond the newest `keep`, then the oldest while the copies take more than
    // the settings' size.
    static QStringList expired(std::vector<StoredCopy> copies, const QDateTime &now, const AutoCopySettings &settings);
    // The listed copies that are still as they were made, read from the folder's list. A list
    // that is there but cannot be read gives none, and the system's words in *unreadable.
    static std::vector<StoredCopy> ownCopies(const QString &folder, QString *unreadable = nullptr);

    // Copies are made from now on, at the times of `clock`, which must outlive this object.
    // Until then none is made (a journal loaded by a tool has no copies).
    void start(Clock &clock, const AutoCopySettings &settings);
    bool isOn() const;

    // Called before the journal file is replaced by a save: copies it when no copy of today
    // exists yet, by this run or an earlier one. A failure is told once a run.
    void beforeSave(const QString &journalPath, Dialogs &dialogs);
    // Called before a restore replaces the journal file with `chosen`: always copies it, and
    // never removes `chosen` to make room. False when the copy failed; the system's words then
    // go to *reason, and nothing was removed.
    bool beforeRestore(const QString &journalPath, const QString &chosen, QString *reason);

private:
    enum class Outcome { Copied, NothingToCopy, Failed };
    Outcome copy(const QString &journalPath, const QDateTime &now, const QString &spared, QString *reason);

    Clock *m_clock = nullptr;
    AutoCopySettings m_settings;
    // The day whose copy is known to exist (or known to be needless).
    QDate m_doneFor;
    bool m_told = false;
};

// "Не удалось сохранить копию журнала в папке <folder>: <reason>", the folder as the operator
// reads it.
QString autoCopyFailure(const QString &folder, const QString &reason);
