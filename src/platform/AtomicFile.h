#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's whole content at once: the bytes go to a temporary file beside it, which
// then takes the file's place. A failure at any point leaves the previous file as it was, and
// the system's words for it go to *error.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Replaces a file's whole content with another file's bytes at once, as writeFileAtomically()
// does; the system's words for a failure go to *error. The bytes go from file to file in the
// kernel where it can, else a piece at a time: never through a buffer of the file's size, whose
// fresh pages would cost more than the copy itself.
bool copyFileAtomically(const QString &source, const QString &target, QString *error = nullptr);
