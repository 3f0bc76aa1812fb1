#include "InstanceLock.h"

#include "Dialogs.h"

#include <QDir>

InstanceLock::InstanceLock(const QString &programFolder)
    : m_folder(programFolder), m_lock(QDir(programFolder).filePath(fileName()))
{
    // Held for the whole run, however long: only a lock whose process has gone is stale.
    m_lock.setStaleLockTime(0);
}

QString InstanceLock::fileName()
{
    return QStringLiteral("Trelvax.lock");
}

QString InstanceLock::heldMessage(const QString &programFolder)
{
    return QStringLiteral("Программа уже запущена и работает с журналом в папке ")
        + QDir::toNativeSeparators(programFolder)
        + QStringLiteral(". Вторая копия программы закрывается, чтобы не затереть изменения первой.");
}

bool InstanceLock::acquire(Dialogs &dialogs)
{
    // A short wait covers a copy that is just ending while this one starts.
    if (m_lock.tryLock(200))
        return true;
    if (m_lock.error() != QLockFile::LockFailedError)
        return true;
    dialogs.inform(heldMessage(m_folder), programTitle(), Dialogs::Icon::Exclamation);
    return false;
}
