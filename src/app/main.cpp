#include "app/WindowWiring.h"
#include "certificate/LayoutState.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "platform/Clock.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "platform/ProgramFolders.h"
#include "platform/SettingsStore.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/QtDialogs.h"
#include "platform/desktop/QtPlatform.h"
#include "windows/journal/Form1.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {

// For the start-up benchmark only: with TRELVAX_QUIT_WHEN_SHOWN set, the program writes
// "shown" to its standard output once the journal window has been painted for the first time
// and then leaves the event loop at once: the window is not closed, so nothing is stored. The
// benchmark times a start to that line. Nobody sets the variable in normal use, and with it set
// the program still reads exactly what it reads on any start.
class QuitWhenShown final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so that the children of the window have been painted too.
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::fputs("shown\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

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
    const ProgramFolders folders = ProgramFolders::forApplication(JournalFile::fileName());
    InstanceLock instance(folders.programFolder);
    if (!instance.acquire(dialogs))
        return 1;

    SettingsStore settings;
    settings.reportFailuresTo(dialogs);
    QtShell shell;
    SystemClock clock;
    QtScreen screen;
    QtProgramExit exit;
    Platform platform{settings, dialogs, shell, clock, screen, exit, folders.programFolder, folders.builtInFolder};

    // The journal lives for the whole run; the windows share it.
    static Journal journal;
    static LayoutState layout;
    Form1 journalWindow(platform, journal);
    serveEditorsOf(journalWindow, platform, layout);
    if (!journalWindow.isLoaded())
        return exit.codeBeforeLoop().value_or(1);
    dialogs.setParentWidget(&journalWindow);
    QuitWhenShown quitWhenShown;
    if (qEnvironmentVariableIsSet("TRELVAX_QUIT_WHEN_SHOWN"))
        journalWindow.installEventFilter(&quitWhenShown);
    journalWindow.show();
    return app.exec();
}
