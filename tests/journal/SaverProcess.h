#pragma once
// What the crash tests' victims share: the line protocol on standard output and the loop that
// forks one saver per kill.
//
// Starting a program costs more than a save, so that the kills land in saves rather than in
// start-ups a victim stays running: it reads a first generation from its input, forks a saver,
// prints "pid <n>", and reports "ended <n> <signal>" once that saver has died.

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace SaverProcess {

// Lines go out with one write each: the parent and its saver share the pipe, and a line of
// fewer than PIPE_BUF bytes is never mixed with another.
inline void say(const char *word, long long n, long long m = -1)
{
    char line[64];
    const int length = m < 0 ? std::snprintf(line, sizeof line, "%s %lld\n", word, n)
                             : std::snprintf(line, sizeof line, "%s %lld %lld\n", word, n, m);
    if (::write(STDOUT_FILENO, line, size_t(length)) != length)
        std::_Exit(3);
}

// Forks saveForever(generation) for each generation read from the input, until the input ends.
template<typename SaveForever>
int serve(SaveForever saveForever)
{
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        const int generation = std::atoi(line);
        const pid_t pid = ::fork();
        if (pid < 0)
            return 1;
        if (pid == 0)
            saveForever(generation);
        say("pid", pid);
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid)
            return 1;
        say("ended", pid, WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    }
    return 0;
}

} // namespace SaverProcess
