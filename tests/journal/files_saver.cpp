// The crash test's victim for the program's other files: saves the template "Autoload", the
// font file "Shrift" and a restore of the journal from a backup, in turn, each with a new
// generation, through the program's own code, until it is killed.
//
// It forks one saver per kill (SaverProcess.h); the saver prints
// "saving <g> <k>" before the save of file k (0 "Autoload", 1 "Shrift", 2 the restored
// journal) and "saved <g> <k>" once it has returned. Argument: the program folder.
#include "ChangingFiles.h"
#include "ChangingJournal.h"
#include "SaverProcess.h"
#include "TestPlatform.h"

#include "journal/AutoCopy.h"
#include "journal/JournalBackup.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using SaverProcess::say;

namespace {

[[noreturn]] void saveForever(const QString &folder, int generation)
{
    SettingsStore settings(QDir(folder).filePath(QStringLiteral("backup/settings.ini")));
    ScriptedDialogs dialogs;
    RecordingShell shell;
    FixedClock clock;
    FixedScreen screen;
    RecordingExit exit;
    Platform platform{settings, dialogs, shell, clock, screen, exit, folder};
    const QString backup = QDir(folder).filePath(QStringLiteral("backup/copy.spb"));
    AutofillTemplate autofill;
    // The restore copies the journal first, as the program's does; one copy is room enough.
    AutoCopy copies;
    copies.start(clock, AutoCopySettings{1, 1, 30});
    for (;; ++generation) {
        say("saving", generation, 0);
        if (!SaveAutofillTemplate(autofill, ChangingFiles::templateValues(generation),
                                  platform.programFile(AutofillTemplate::fileName())))
            std::_Exit(1);
        say("saved", generation, 0);

        const LabelFontTable fonts = ChangingFiles::fontTable(generation);
        say("saving", generation, 1);
        if (!fonts.write(platform.programFile(QStringLiteral("Shrift"))))
            std::_Exit(1);
        say("saved", generation, 1);

        // The backup the operator picks; its own writing is no part of the test.
        {
            QFile file(backup);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || file.write(ChangingJournal::bytes(generation)) < 0)
                std::_Exit(1);
        }
        dialogs.messages.clear();
        dialogs.paths = {backup};
        dialogs.answers = {Dialogs::Answer::Yes};
        exit.code.reset();
        say("saving", generation, 2);
        if (!JournalBackup::restore(platform, copies) || exit.code != 0)
            std::_Exit(1);
        say("saved", generation, 2);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: files_saver <program folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir(folder).mkpath(QStringLiteral("backup")))
        return 1;
    return SaverProcess::serve([&](int generation) { saveForever(folder, generation); });
}
