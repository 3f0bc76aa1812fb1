#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole of a file as it is on disk; `missing` when it cannot be read.
inline QByteArray readFile(const QString &path, const QByteArray &missing = {})
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
}

// Writes a file whole, over whatever it held; false when it cannot be opened or takes less.
[[nodiscard]] inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
