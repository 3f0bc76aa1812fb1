#include "AtomicFile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    constexpr qint64 kChunk = 1 << 20;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, std::min(kChunk, bytes.size() - done));
        if (n <= 0) {
            file.cancelWriting();
            break;
        }
        done += n;
    }
    // Bytes still in QSaveFile's buffer are written by commit(), which does not report a
    // failure of that last write: flush them here, where a failure can still cancel.
    if (!file.flush())
        file.cancelWriting();
    return file.commit();
}
