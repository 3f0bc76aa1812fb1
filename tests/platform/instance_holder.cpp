// Takes the program folder's instance lock as the program does at its start, then holds it
// until its input closes. Argument: the program folder. Prints "locked" once it holds the
// lock, or the message it would show and ends with 1.
#include "platform/InstanceLock.h"

#include "PrintedDialogs.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    PrintedDialogs dialogs(stdout);
    InstanceLock instance(QString::fromLocal8Bit(argv[1]));
    if (!instance.acquire(dialogs))
        return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {}
    return 0;
}
