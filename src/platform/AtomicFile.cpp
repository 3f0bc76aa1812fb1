#include "AtomicFile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    // The first failure is the one worth telling: a cancelled write fails again at commit(),
    // for a reason of its own making.
    QString reason;
    const auto failed = [&] {
        if (reason.isEmpty())
            reason = file.errorString();
    };
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    constexpr qint64 kChunk = 1 << 20;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, std::min(kChunk, bytes.size() - done));
        if (n <= 0) {
            failed();
            file.cancelWriting();
            break;
        }
        done += n;
    }
    // Bytes still in QSaveFile's buffer are written by commit(), which does not report a
    // failure of that last write: flush them here, where a failure can still cancel.
    if (!file.flush()) {
        failed();
        file.cancelWriting();
    }
    if (file.commit())
        return true;
    failed();
    if (error)
        *error = reason;
    return false;
}
