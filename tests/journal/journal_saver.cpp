// The crash test's victim: saves a changing 20000-record journal in a loop, through the
// program's own save, until it is killed.
//
// Starting a program costs more than a save, so that the kills land in saves rather than in
// start-ups this one stays running and forks a saver for each kill: it reads a first generation
// from its input, forks, prints "pid <n>", and reports "ended <n> <signal>" once that saver has
// died. The saver prints "saving <g>" before each save and "saved <g>" once it has returned.
// Argument: the program folder.
#include "PrintedDialogs.h"
#include "ChangingJournal.h"


#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Lines go out with one write each: the parent and its saver share the pipe, and a line of
// fewer than PIPE_BUF bytes is never mixed with another.
void say(const char *word, long long n, long long m = -1)
{
    char line[64];
    const int length = m < 0 ? std::snprintf(line, sizeof line, "%s %lld\n", word, n)
                             : std::snprintf(line, sizeof line, "%s %lld %lld\n", word, n, m);
    if (::write(STDOUT_FILENO, line, size_t(length)) != length)
        std::_Exit(3);
}


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

    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        const int generation = std::atoi(line);
        const pid_t pid = ::fork();
        if (pid < 0)
            return 1;
        if (pid == 0)
            saveForever(journal, generation);
        say("pid", pid);
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid)
            return 1;
        say("ended", pid, WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    }
    return 0;
}
