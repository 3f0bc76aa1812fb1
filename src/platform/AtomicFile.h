#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's whole content at once: the bytes go to a temporary file beside it, which
// then takes the file's place. A failure at any point leaves the previous file as it was; the
// system's own words for it go to *error when asked for.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);
