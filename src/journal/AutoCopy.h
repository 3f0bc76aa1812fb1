#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
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
// journal as it is on disk is copied, byte for byte, into the folder "Копии журнала" beside it,
// under the name the backup suggests with ".spb" added, so that the restore finds the copies at
// once. A copy that cannot be made never stops the save; the operator hears of it once a run.
class AutoCopy
{
public:
    static QString folderName();
    // The copies' folder of a journal file.
    static QString folderOf(const QString &journalPath);
    // "08.12.2025 14ч05мин Trelvax_1.0.spb" for 14:05 on 8 December 2025; a second copy of the
    // same minute is "08.12.2025 14ч05мин Trelvax_1.0 (2).spb".
    static QString copyName(const QDateTime &time, int order = 1);

    // A file of the copies' folder that this class made: its time and its order within the
    // minute, from its name. Files of any other name are the operator's and are never touched.
    struct StoredCopy
    {
        QString name;
        QDateTime time;
        int order = 1;
        qint64 size = 0;
    };
    static std::optional<StoredCopy> parse(const QString &name);
    // The names of the copies to remove so that `incoming` more bytes fit: those older than the
    // settings' days beyond the newest `keep`, then the oldest while the copies would take more
    // than the settings' size.
    static QStringList expired(std::vector<StoredCopy> copies, const QDateTime &now,
                               const AutoCopySettings &settings, qint64 incoming);

    // Copies are made from now on, at the times of `clock`, which must outlive this object.
    // Until then none is made (a journal loaded by a tool has no copies).
    void start(Clock &clock, const AutoCopySettings &settings);
    bool isOn() const;

    // Called before the journal file is replaced by a save: copies it when no copy of today
    // exists yet, by this run or an earlier one.
    void beforeSave(const QString &journalPath, Dialogs &dialogs);
    // Called before a restore replaces the journal file: always copies it.
    void beforeRestore(const QString &journalPath, Dialogs &dialogs);

private:
    enum class Outcome { Copied, NothingToCopy, Failed };
    Outcome copy(const QString &journalPath, const QDateTime &now, Dialogs &dialogs);
    void tell(const QString &folder, const QString &reason, Dialogs &dialogs);

    Clock *m_clock = nullptr;
    AutoCopySettings m_settings;
    // The day whose copy is known to exist (or known to be needless).
    QDate m_doneFor;
    bool m_told = false;
};
