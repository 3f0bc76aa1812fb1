#pragma once

#include <QString>
#include <QStringList>

// The file-system calls of the test executable (its own code and the libraries it loads) that
// touch files under one folder, counted; the N-th of them fails. The calls are the C library's
// own, defined in SystemCallFaults.cpp, which a test links to have them: every other call, and
// every call while nothing is watched, goes straight to the C library.
namespace SystemCallFaults {

struct Fault
{
    int call = 0; // 1-based; 0: none fails
    int error = 0;
    // A write or kernel copy moves half its bytes instead; the next one on that file then
    // fails with `error` (a write) or finds the end (a kernel copy that stops short).
    bool halfway = false;
    // A file system without unnamed files (O_TMPFILE), as a network drive may be: uncounted.
    bool noUnnamedFiles = false;
};

// Counts the calls on files under `folder` from now on, and lets `fault` happen.
void watch(const QString &folder, Fault fault = {});
void stop();
// The calls counted since watch(), in order: "write", "close", ...; an open or a close of a file
// only read is "open (read)", "close (read)".
QStringList calls();

} // namespace SystemCallFaults
