#pragma once

#include "platform/ProgramExit.h"
#include "platform/Screen.h"
#include "platform/Shell.h"

#include <optional>

// The desktop's own shell, screen and program end.
class QtShell final : public Shell
{
public:
    bool openUrl(const QString &url) override;
    bool openDocument(const QString &path) override;
    bool showInFolder(const QString &path) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
};

class QtScreen final : public Screen
{
public:
    QSize sizeInPixels() const override;
};

class QtProgramExit final : public ProgramExit
{
public:
    void end(int code) override;
    // The code asked for before the event loop ran (a journal that cannot be loaded at
    // start-up): main() returns it, so that everything it holds is released on the way out.
    std::optional<int> codeBeforeLoop() const { return m_codeBeforeLoop; }

private:
    std::optional<int> m_codeBeforeLoop;
};
