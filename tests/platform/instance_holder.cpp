// Takes the program folder's instance lock as the program does at its start, then holds it
// until its input closes. Argument: the program folder. Prints "locked" once it holds the
// lock, or the message it would show and ends with 1.
#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

class PrintedDialogs final : public Dialogs
{
public:
    Answer message(const Message &message) override
    {
        std::printf("message: %s | %s | %d\n", qPrintable(message.caption), qPrintable(message.text),
                    int(message.icon));
        std::fflush(stdout);
        return message.defaultButton;
    }
    std::optional<QString> openFile(const FileRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest &) override { return std::nullopt; }
    QColor chooseColour(const QColor &initial) override { return initial; }
    FontChoice chooseFont(const FontChoice &initial, int, int) override { return initial; }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    PrintedDialogs dialogs;
    InstanceLock instance(QString::fromLocal8Bit(argv[1]));
    if (!instance.acquire(dialogs))
        return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
