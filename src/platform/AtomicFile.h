#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Replaces a file's whole content at once: the bytes go to a temporary file beside it, which
// takes the file's place only once it is whole on the disk. A failure of any call on the way
// (also of the flush to the disk and of the close) leaves the previous file as it was and no
// temporary file, and the system's words for it go to *error.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Replaces a file's whole content with another file's bytes at once, as writeFileAtomically()
// does; the system's words for a failure go to *error. The bytes go from file to file in the
// kernel where it can, else a piece at a time: never through a buffer of the file's size, whose
// fresh pages would cost more than the copy itself.
bool copyFileAtomically(const QString &source, const QString &target, QString *error = nullptr);

// The rest of an open file, read to its end into `bytes`; false when any read fails, also one
// after others that gave bytes: QIODevice::readAll() then hands over the bytes read so far as
// if they were the whole file.
bool readToEnd(QFile &file, QByteArray &bytes);
