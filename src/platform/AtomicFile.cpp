#include "AtomicFile.h"

#include <QFile>
#include <QSaveFile>

#include <vector>

#if defined(__linux__)
#include <cerrno>
#include <unistd.h>
#endif

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    const auto fail = [&] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    constexpr qint64 kChunk = 1 << 20;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, std::min(kChunk, bytes.size() - done));
        if (n <= 0)
            return fail();
        done += n;
    }
    // Bytes still in QSaveFile's buffer are written by commit(), which does not report a
    // failure of that last write: flush them here, where a failure can still cancel.
    if (!file.flush())
        return fail();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool copyFileAtomically(const QString &source, const QString &target, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    QString reason;
    const auto failed = [&](const QFileDevice &file) {
        if (reason.isEmpty())
            reason = file.errorString();
        out.cancelWriting();
    };
    bool copied = false;
#if defined(__linux__)
    // The kernel copies the bytes without passing them through this process; a file system that
    // cannot (another device, an old kernel) leaves it to the loop below, from the start.
    for (qint64 done = 0;;) {
        const ssize_t n = ::copy_file_range(in.handle(), nullptr, out.handle(), nullptr, 1 << 30, 0);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n == 0) {
            copied = true;
        } else if (done > 0 || (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)) {
            if (reason.isEmpty())
                reason = qt_error_string(errno);
            out.cancelWriting();
            copied = true;
        }
        break;
    }
#endif
    std::vector<char> piece(copied ? 0 : 256 * 1024);
    while (!copied) {
        const qint64 n = in.read(piece.data(), qint64(piece.size()));
        if (n < 0) {
            failed(in);
            break;
        }
        if (n == 0)
            break;
        // A write cut short (a full disk) says why only when it is tried again.
        qint64 written = 0;
        while (written < n) {
            const qint64 w = out.write(piece.data() + written, n - written);
            if (w <= 0)
                break;
            written += w;
        }
        if (written < n) {
            failed(out);
            break;
        }
    }
    if (!out.flush())
        failed(out);
    if (out.commit())
        return true;
    if (reason.isEmpty())
        reason = out.errorString();
    if (error)
        *error = reason;
    return false;
}
