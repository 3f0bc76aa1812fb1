#include "journal/Form1.h"
#include "journal/Journal.h"
#include "platform/InstanceLock.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
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

    // The program speaks Russian whatever the desktop's language: so do the buttons of its
    // message boxes and the common dialogs.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // One copy of the program per program folder, decided before anything is read.
    QtDialogs dialogs;
    InstanceLock instance(QApplication::applicationDirPath());
    if (!instance.acquire(dialogs))
        return 1;

    SettingsStore settings;
    QtShell shell;
    SystemClock clock;
    QtScreen screen;
    QtProgramExit exit;
    Platform platform{settings, dialogs, shell, clock, screen, exit,
                      QApplication::applicationDirPath()};

    // The journal lives for the whole run; the windows share it.
    static Journal journal;
    Form1 journalWindow(platform, journal);
    if (!journalWindow.isLoaded())
        return 1;
    dialogs.setParentWidget(&journalWindow);
    journalWindow.show();
    return app.exec();
}
