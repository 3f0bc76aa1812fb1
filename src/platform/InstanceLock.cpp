#include "InstanceLock.h"

#include "Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>

#include <signal.h>

InstanceLock::InstanceLock(const QString &programFolder)
    : m_folder(programFolder), m_path(QDir(programFolder).filePath(fileName())), m_lock(m_path)
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
    // A stale lock is taken over by writing a file beside it, which fails on a full disk; its
    // copy is gone all the same, and saying that one runs would be false. Removing the stale
    // file needs no room; when no lock can be written after that, the program runs without
    // one, as in a folder where none can be made.
    if (!holderRuns()) {
        QFile::remove(m_path);
        if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError)
            return true;
    }
    dialogs.inform(heldMessage(m_folder), programTitle(), Dialogs::Icon::Exclamation);
    return false;
}

bool InstanceLock::holderRuns() const
{
    qint64 pid = 0;
    QString host;
    QString name;
    if (!m_lock.getLockInfo(&pid, &host, &name) || pid <= 0)
        return true;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    // A number the system has given to another program since.
    QString running = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    running.remove(QLatin1String(" (deleted)"));
    return running.isEmpty() || name.isEmpty() || QFileInfo(running).fileName() == name;
}
