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
    return file.commit();
}
