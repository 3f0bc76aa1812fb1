#pragma once

#include <QDir>
#include <QString>

class SettingsStore;
class Dialogs;
class Shell;
class Clock;
class Screen;
class ProgramExit;

// Everything the windows need from the operating system, handed in by main() or by a test.
struct Platform
{
    SettingsStore &settings;
    Dialogs &dialogs;
    Shell &shell;
    Clock &clock;
    Screen &screen;
    ProgramExit &exit;
    // The folder that holds the journal and the program's other files. Decided once at
    // start-up; the windows only ask for "a file of the program folder".
    QString programFolder;
    // Where an installed program keeps its read-only built-in files (the sample stamp and
    // signature, copied into a new program folder once); empty when there are none.
    QString builtInFolder = {};

    // A file of the program folder.
    QString programFile(const QString &name) const { return QDir(programFolder).filePath(name); }
};
