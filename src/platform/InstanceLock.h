#pragma once

#include <QLockFile>
#include <QString>

class Dialogs;

// Keeps a second copy of the program off a program folder that one already works in: the
// second would load the journal as it was and later write it over the first one's changes.
// The lock is a file of the program folder, held while the program runs; one left behind by a
// copy that crashed is recognised (its process is gone) and taken over, or, where there is no
// room to write a lock at all, removed.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &programFolder);
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    static QString fileName();
    // What the second copy tells the operator before it ends.
    static QString heldMessage(const QString &programFolder);

    // Takes the lock. When another running copy holds it, tells the operator and returns false:
    // the caller ends without reading or writing anything. A lock that cannot be made at all
    // (a read-only folder) does not stop the program: nothing could be saved there to overwrite.
    bool acquire(Dialogs &dialogs);

private:
    // Whether the copy named in the lock file still runs on this machine; true when that
    // cannot be told.
    bool holderRuns() const;

    QString m_folder;
    QString m_path;
    QLockFile m_lock;
};
