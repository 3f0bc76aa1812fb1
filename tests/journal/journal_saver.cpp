// The crash test's victim: saves a changing 20000-record journal in a loop, through the
// program's own save, until it is killed.
// It forks one saver per kill (SaverProcess.h); the saver prints "saving <g>" before each save
// and "saved <g>" once it has returned.
// Argument: the program folder.
#include "PrintedDialogs.h"
#include "SaverProcess.h"
#include "ChangingJournal.h"


#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using SaverProcess::say;

namespace {


[[noreturn]] void saveForever(Journal &journal, int generation)
{
    PrintedDialogs dialogs(stderr);
    for (;; ++generation) {
        ChangingJournal::fill(journal, generation);
        say("saving", generation);
        if (!SaveJournal(journal, dialogs))
            std::_Exit(1);
        say("saved", generation);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: journal_saver <program folder>\n");
        return 2;
    }
    static Journal journal;
    journal.JournalPath = QDir::toNativeSeparators(
        QDir(QString::fromLocal8Bit(argv[1])).filePath(JournalFile::fileName()));
    // The table's memory is touched once here, so that a saver starts as it would run.
    ChangingJournal::fill(journal, 0);

    return SaverProcess::serve([&](int generation) { saveForever(journal, generation); });
}
