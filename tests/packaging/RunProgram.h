#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Another program run to its end: its exit code and everything it printed.
struct ProgramRun
{
    bool finished = false;
    int exitCode = -1;
    QByteArray output;

    bool succeeded() const { return finished && exitCode == 0; }
};

inline ProgramRun runProgram(const QString &program, const QStringList &arguments,
                             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                             int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ProgramRun run;
    run.finished = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        process.kill();
    run.exitCode = process.exitCode();
    run.output = process.readAll();
    if (!run.finished)
        run.output += "\n(did not finish: " + process.errorString().toUtf8() + ")";
    return run;
}
