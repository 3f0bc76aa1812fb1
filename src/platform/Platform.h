#pragma once

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
    // The folder of the executable: the journal and the program's other files live here.
    QString programFolder;
};
