#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/mount.h>

// A small file system of its own at an existing folder, where the machine allows mounting one:
// a disk that fills up, or one made read-only. Unmounted when it ends.
class SmallDisk
{
public:
    SmallDisk(const QString &path, const char *size)
        : m_path(QFile::encodeName(path)), m_options(QByteArray("size=") + size + ",mode=0700")
    {
        m_mounted = ::mount("tmpfs", m_path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, m_options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    bool isMounted() const { return m_mounted; }

    // Mounted again read-only, the files kept: they can be read but not replaced, and no file
    // can be added. Even the superuser cannot write there.
    bool makeReadOnly()
    {
        return m_mounted
            && ::mount("tmpfs", m_path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                       m_options.constData())
            == 0;
    }

private:
    QByteArray m_path;
    QByteArray m_options;
    bool m_mounted = false;
};
