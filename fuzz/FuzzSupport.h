#pragma once

#include "platform/Dialogs.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the file-reading fuzz targets share: a check that stops the run where the fuzzer sees
// it, one scratch file the bytes go through (the readers open paths, as the program does), and
// dialogs that only count what they were asked to show.
namespace FuzzSupport {

// Names the failed check, so that a finding says what it broke.
inline void check(bool condition, const char *file = __builtin_FILE(), int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", file, line);
        std::abort();
    }
}

// The same file every run, in a folder of its own that lives as long as the process.
inline QString scratchPath(const QString &name)
{
    static QTemporaryDir dir;
    check(dir.isValid());
    return dir.filePath(name);
}

inline QString writeScratch(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = scratchPath(name);
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    return path;
}

class CountingDialogs final : public Dialogs
{
public:
    int messages = 0;
    Message last;

    Answer message(const Message &message, QWidget * = nullptr) override
    {
        ++messages;
        last = message;
        return message.defaultButton;
    }
    std::optional<QString> openFile(const FileRequest &, QWidget * = nullptr) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest &, QWidget * = nullptr) override { return std::nullopt; }
    QColor chooseColour(const QColor &initial, QWidget * = nullptr) override { return initial; }
    FontChoice chooseFont(const FontChoice &initial, int, int, QWidget * = nullptr) override { return initial; }
};

} // namespace FuzzSupport
