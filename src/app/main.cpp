#include "journal/Form1.h"
#include "journal/Journal.h"
#include "layout/LayoutState.h"
#include "layout/MDIForm1.h"
#include "platform/InstanceLock.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/ProgramFolders.h"
#include "platform/ProgramIcon.h"
#include "platform/QtDialogs.h"
#include "platform/QtPlatform.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trelvax"));
    QApplication::setOrganizationName(QStringLiteral("Trelvax"));
    // Ties the windows to the installed desktop entry, whose icon the task bar shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("trelvax"));
    QApplication::setWindowIcon(programIcon());

    // The program speaks Russian whatever the desktop's language: so do the buttons of its
    // message boxes and the common dialogs.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // One copy of the program per program folder, decided before anything is read.
    QtDialogs dialogs;
    const ProgramFolders folders = ProgramFolders::forApplication();
    InstanceLock instance(folders.programFolder);
    if (!instance.acquire(dialogs))
        return 1;

    SettingsStore settings;
    QtShell shell;
    SystemClock clock;
    QtScreen screen;
    QtProgramExit exit;
    Platform platform{settings, dialogs, shell, clock, screen, exit,
                      folders.programFolder, folders.builtInFolder};

    // The journal lives for the whole run; the windows share it.
    static Journal journal;
    static LayoutState layout;
    Form1 journalWindow(platform, journal);
    MDIForm1::serveEditorsOf(journalWindow, platform, layout);
    if (!journalWindow.isLoaded())
        return 1;
    dialogs.setParentWidget(&journalWindow);
    journalWindow.show();
    return app.exec();
}
