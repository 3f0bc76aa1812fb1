#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The new content of a file, written beside it, unnamed while it is written (a crash leaves
// nothing behind), then named and put in the file's place once it is whole on the disk.
// Every call's failure counts, the flush to the disk and the close included: a file system
// reports a write it could not make there, and a replacement that may not be on the disk must
// not take the place of one that is. Abandoned, it leaves nothing behind.
class Replacement
{
public:
    explicit Replacement(const QString &target) : m_target(QFile::encodeName(target)) {}
    ~Replacement()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_temp.isEmpty())
            ::unlink(m_temp.constData());
    }
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    bool open()
    {
        struct stat old
        {
        };
        const bool existing = ::stat(m_target.constData(), &old) == 0;
        if (existing && (S_ISDIR(old.st_mode) || ::access(m_target.constData(), W_OK) != 0))
            return failed(S_ISDIR(old.st_mode) ? EISDIR : errno);
#if defined(O_TMPFILE)
        // An unnamed file is named through /proc; a file system without unnamed files, or a
        // system without /proc, gets a named one.
        static const bool namedThroughProc = ::access("/proc/self/fd", X_OK) == 0;
        const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(m_target)).absolutePath());
        if (namedThroughProc)
            m_fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd < 0 && (!namedThroughProc || errno == EOPNOTSUPP || errno == EISDIR))
#endif
            named([this](const QByteArray &name) {
                m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                return m_fd >= 0;
            });
        if (m_fd < 0)
            return failed(errno);
        // The replacement keeps the permissions of the file it replaces.
        return !existing || ::fchmod(m_fd, old.st_mode & 07777) == 0 || failed(errno);
    }

    bool write(const char *data, qint64 size)
    {
        while (size > 0) {
            const ssize_t n = ::write(m_fd, data, size_t(std::min<qint64>(size, 1 << 30)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return failed(n < 0 ? errno : ENOSPC);
            data += n;
            size -= n;
        }
        return true;
    }

    // The kernel copies the bytes without passing them through this process where it can; a
    // file system that cannot, or that stops early, leaves the rest to a piece at a time.
    bool copyFrom(int in)
    {
#if defined(__linux__)
        for (;;) {
            const ssize_t n = ::copy_file_range(in, nullptr, m_fd, nullptr, 1 << 30, 0);
            if (n > 0 || (n < 0 && errno == EINTR))
                continue;
            if (n < 0 && errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
                return failed(errno);
            break;
        }
#endif
        constexpr size_t kPiece = 256 * 1024;
        const std::unique_ptr<char[]> piece(new char[kPiece]);
        for (;;) {
            const ssize_t n = ::read(in, piece.get(), kPiece);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n == 0 || failed(errno);
            if (!write(piece.get(), n))
                return false;
        }
    }

    bool commit()
    {
        if (::fdatasync(m_fd) != 0)
            return failed(errno);
        if (m_temp.isEmpty() && !named([this](const QByteArray &name) { return linkTo(name); }))
            return failed(errno);
        if (::close(std::exchange(m_fd, -1)) != 0 || ::rename(m_temp.constData(), m_target.constData()) != 0)
            return failed(errno);
        m_temp.clear();
        return true;
    }

    const QString &error() const
    {
        return m_error;
    }

private:
    bool failed(int error)
    {
        if (m_error.isEmpty())
            m_error = qt_error_string(error);
        return false;
    }

    // Makes a file of a name beside the target that no file has: the target's name and six
    // random letters.
    template<typename Make>
    bool named(Make make)
    {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray name = m_target + '.';
            for (int i = 0; i < 6; ++i)
                name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
            if (make(name)) {
                m_temp = name;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    bool linkTo(const QByteArray &name) const
    {
#if defined(O_TMPFILE)
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
#else
        Q_UNUSED(name);
        return false;
#endif
    }

    QByteArray m_target;
    QByteArray m_temp;
    int m_fd = -1;
    QString m_error;
};

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    Replacement file(path);
    if (file.open() && file.write(bytes.constData(), bytes.size()) && file.commit())
        return true;
    if (error)
        *error = file.error();
    return false;
}

bool copyFileAtomically(const QString &source, const QString &target, QString *error)
{
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        if (error)
            *error = qt_error_string(errno);
        return false;
    }
    Replacement out(target);
    const bool copied = out.open() && out.copyFrom(in) && out.commit();
    // Only read: its close has nothing left to report.
    ::close(in);
    if (!copied && error)
        *error = out.error();
    return copied;
}

bool readToEnd(QFile &file, QByteArray &bytes)
{
    bytes.clear();
    bytes.reserve(qsizetype(std::max<qint64>(0, file.size() - file.pos())));
    char piece[64 * 1024];
    for (;;) {
        const qint64 n = file.read(piece, sizeof piece);
        if (n <= 0)
            return n == 0 && file.error() == QFileDevice::NoError;
        bytes.append(piece, qsizetype(n));
    }
}
