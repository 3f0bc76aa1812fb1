#pragma once

#include <QDir>
#include <QFileInfo>
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
    // signature); empty when they live in the program folder.
    QString builtInFolder = {};

    // A file of the program folder.
    QString programFile(const QString &name) const { return QDir(programFolder).filePath(name); }

    // A file the operator may put into the program folder, else the installed copy.
    QString programFileOrBuiltIn(const QString &name) const
    {
        const QString own = programFile(name);
        if (builtInFolder.isEmpty() || QFileInfo::exists(own))
            return own;
        const QString builtIn = QDir(builtInFolder).filePath(name);
        return QFileInfo::exists(builtIn) ? builtIn : own;
    }
};
