#include "SystemCallFaults.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Defined here, these calls take the place of the C library's for the whole process (the
// executable comes first when a library's call is bound); each one does the real call, found
// after this executable in that order: the sanitizers' own wrappers come next where they have
// them, then the C library. They are those the program's code calls and those Qt 6.4 imports
// for files (`nm -D --undefined-only libQt6Core.so.6`: open64, read, write, fdatasync,
// ftruncate, close, rename, renameat2, linkat, unlink, mkdir).
namespace {

enum class Verdict { Pass, Fail, Halfway, Halted };

struct State
{
    std::atomic<bool> on{false};
    std::mutex mutex;
    std::string folder;
    SystemCallFaults::Fault fault;
    std::vector<std::string> calls;
    std::set<int> files;
    std::set<int> readOnly;
    int halted = -1; // the file whose last transfer moved half its bytes
};

// Never destroyed: files are closed until the very end of the process.
State &s = *new State;

template<typename F>
F *real(const char *name)
{
    return reinterpret_cast<F *>(dlsym(RTLD_NEXT, name));
}

bool under(const char *path)
{
    if (!s.on || !path)
        return false;
    const std::lock_guard lock(s.mutex);
    const size_t n = s.folder.size();
    return std::strncmp(path, s.folder.c_str(), n) == 0 && (path[n] == '/' || path[n] == '\0');
}

bool watched(int fd)
{
    if (!s.on)
        return false;
    const std::lock_guard lock(s.mutex);
    return s.files.count(fd) > 0;
}

Verdict count(const char *name, int fd = -1)
{
    const std::lock_guard lock(s.mutex);
    const bool onlyRead = s.readOnly.count(fd) && !std::strcmp(name, "close");
    s.calls.push_back(std::string(name) + (onlyRead ? " (read)" : ""));
    if (fd >= 0 && fd == s.halted) {
        s.halted = -1;
        errno = s.fault.error;
        return Verdict::Halted;
    }
    if (int(s.calls.size()) != s.fault.call)
        return Verdict::Pass;
    if (s.fault.halfway) {
        s.halted = fd;
        return Verdict::Halfway;
    }
    errno = s.fault.error;
    return Verdict::Fail;
}

bool fails(const char *name, int fd)
{
    return watched(fd) && count(name, fd) != Verdict::Pass;
}

bool fails(const char *name, const char *path, const char *other = nullptr)
{
    return (under(path) || under(other)) && count(name) == Verdict::Fail;
}

template<typename Open>
int opened(const char *path, int flags, Open open)
{
    const bool inFolder = under(path);
    if (inFolder && s.fault.noUnnamedFiles && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    if (inFolder && count((flags & O_ACCMODE) == O_RDONLY ? "open (read)" : "open") == Verdict::Fail)
        return -1;
    const int fd = open();
    if (inFolder && fd >= 0) {
        const std::lock_guard lock(s.mutex);
        s.files.insert(fd);
        if ((flags & O_ACCMODE) == O_RDONLY)
            s.readOnly.insert(fd);
    }
    return fd;
}

// After a transfer that moved half its bytes, the next one on the file fails, or finds the end
// of the file (a kernel copy). Half of what a read or copy can still move, not of what it asked.
template<typename Transfer>
ssize_t transfer(const char *name, int fd, size_t size, Transfer move, int source = -1, ssize_t halted = -1)
{
    switch (watched(fd) ? count(name, fd) : Verdict::Pass) {
    case Verdict::Fail:
        return -1;
    case Verdict::Halted:
        return halted;
    case Verdict::Halfway: {
        struct stat file
        {
        };
        if (source >= 0 && ::fstat(source, &file) == 0)
            size = std::min<size_t>(size, size_t(std::max<off_t>(0, file.st_size - ::lseek(source, 0, SEEK_CUR))));
        return move(std::max<size_t>(1, size / 2));
    }
    default:
        return move(size);
    }
}

} // namespace

void SystemCallFaults::watch(const QString &folder, Fault fault)
{
    const std::lock_guard lock(s.mutex);
    s.folder = QFile::encodeName(folder).toStdString();
    s.fault = fault;
    s.calls.clear();
    s.files.clear();
    s.readOnly.clear();
    s.halted = -1;
    s.on = true;
}

void SystemCallFaults::stop()
{
    s.on = false;
}

QStringList SystemCallFaults::calls()
{
    const std::lock_guard lock(s.mutex);
    QStringList list;
    for (const std::string &c : s.calls)
        list << QString::fromStdString(c);
    return list;
}

#define NEXT(function) static const auto next = real<decltype(function)>(#function)
#define OPEN(function, ...) \
    va_list arguments; \
    va_start(arguments, flags); \
    const mode_t mode = __OPEN_NEEDS_MODE(flags) ? mode_t(va_arg(arguments, int)) : 0; \
    va_end(arguments); \
    NEXT(function); \
    return opened(path, flags, [&] { return next(__VA_ARGS__, mode); });
// A call on a file of the folder that fails when its turn comes.
#define ON_FILE(result, function, label, fd, parameters, ...) \
    result function parameters \
    { \
        NEXT(function); \
        return fails(label, fd) ? -1 : next(__VA_ARGS__); \
    }
#define ON_PATH(function, label, parameters, path, other, ...) \
    int function parameters noexcept \
    { \
        NEXT(function); \
        return fails(label, path, other) ? -1 : next(__VA_ARGS__); \
    }

extern "C" {

int open(const char *path, int flags, ...)
{
    OPEN(open, path, flags)
}
int open64(const char *path, int flags, ...)
{
    OPEN(open64, path, flags)
}
int openat(int dir, const char *path, int flags, ...){OPEN(openat, dir, path, flags)}

ssize_t read(int fd, void *data, size_t size)
{
    NEXT(read);
    return transfer(
        "read", fd, size, [&](size_t n) { return next(fd, data, n); }, fd);
}

ssize_t write(int fd, const void *data, size_t size)
{
    NEXT(write);
    return transfer("write", fd, size, [&](size_t n) { return next(fd, data, n); });
}

ssize_t copy_file_range(int in, off64_t *inAt, int out, off64_t *outAt, size_t size, unsigned flags)
{
    NEXT(copy_file_range);
    return transfer(
        "copy_file_range", watched(out) ? out : in, size,
        [&](size_t n) { return next(in, inAt, out, outAt, n, flags); }, in, 0);
}

ON_FILE(int, fsync, "fsync", fd, (int fd), fd)
ON_FILE(int, fdatasync, "fdatasync", fd, (int fd), fd)
ON_FILE(int, ftruncate64, "ftruncate", fd, (int fd, off64_t size) noexcept, fd, size)
int ftruncate(int fd, off_t size) noexcept
{
    return ftruncate64(fd, size);
}

// The descriptor is gone whatever close() reports, as on Linux: a delayed write error.
int close(int fd)
{
    NEXT(close);
    const bool failed = fails("close", fd);
    if (s.on) {
        const std::lock_guard lock(s.mutex);
        s.files.erase(fd);
        s.readOnly.erase(fd);
    }
    const int result = next(fd);
    return failed ? (errno = s.fault.error, -1) : result;
}

ON_PATH(rename, "rename", (const char *from, const char *to), from, to, from, to)
ON_PATH(renameat2, "rename", (int fromDir, const char *from, int toDir, const char *to, unsigned flags), from, to,
        fromDir, from, toDir, to, flags)
ON_PATH(linkat, "link", (int fromDir, const char *from, int toDir, const char *to, int flags), to, nullptr, fromDir,
        from, toDir, to, flags)
ON_PATH(unlink, "unlink", (const char *path), path, nullptr, path)
ON_PATH(mkdir, "mkdir", (const char *path, mode_t mode), path, nullptr, path, mode)

} // extern "C"
