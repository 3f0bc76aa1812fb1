// The crash test's victim: saves a changing 20000-record journal in a loop, through the
// program's own save, each generation on a day of its own (so each save copies the journal
// first), until it is killed.
// It forks one saver per kill (SaverProcess.h); the saver prints "saving <g>" before each save
// and "saved <g>" once it has returned.
// Argument: the program folder.
#include "ChangingJournal.h"
#include "PrintedDialogs.h"
#include "SaverProcess.h"

#include "platform/Clock.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using SaverProcess::say;

namespace {

// Every generation is saved on a day of its own, so that every save first copies the journal:
// the kills land in copies as often as in saves.
class DayPerGeneration final : public Clock
{
public:
    int generation = 0;
    QDateTime now() const override { return ChangingJournal::dayOf(generation); }
    void waitProcessingEvents(int) override {}
};

[[noreturn]] void saveForever(Journal &journal, DayPerGeneration &clock, int generation)
{
    PrintedDialogs dialogs(stderr);
    for (;; ++generation) {
        ChangingJournal::fill(journal, generation);
        clock.generation = generation;
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
    // A few copies at a time, as the retention would keep them over a few days.
    static DayPerGeneration clock;
    journal.autoCopy.start(clock, AutoCopySettings{2, 2, 500});

    return SaverProcess::serve([&](int generation) { saveForever(journal, clock, generation); });
}
