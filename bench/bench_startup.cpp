// The whole program started until its journal window is shown: the real executable, once with
// the 20000-record journal and once with a journal of one record, started in turns so that a
// change in the machine's load hits both alike. The one-record start is the floor: what the
// process, Qt, the fonts and the window cost whatever the journal holds.
//
// Each side has a program folder of its own in a temporary folder, holding a copy of the
// executable (the program folder is the executable's folder) and its journal; the settings go
// to a temporary folder too. The program runs on a private Xvfb server that this benchmark
// starts itself (1600 x 1000, so that the screen check stays silent), whatever DISPLAY says:
// bench/run needs no display. TRELVAX_QUIT_WHEN_SHOWN makes the program print "shown" after
// the first paint of the journal window and end; a start is timed from the launch to that line.

#include "BenchSupport.h"
#include "journal/JournalFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

#ifndef TRELVAX_EXECUTABLE
#error "TRELVAX_EXECUTABLE must name the program's executable"
#endif

namespace {

using namespace bench;

constexpr int kRecords = 20000;
constexpr double kLimit = 1.5;
constexpr int kTimeoutMs = 60000;

// A private X server, ended with the benchmark.
class XServer
{
public:
    XServer()
    {
        // -displayfd: the server picks a free display and writes its number when it is ready.
        m_process.start(QStringLiteral("Xvfb"),
                        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                         QStringLiteral("0"), QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp")});
        require(m_process.waitForStarted(kTimeoutMs), "cannot start Xvfb");
        QByteArray number;
        while (!number.contains('\n') && m_process.waitForReadyRead(kTimeoutMs))
            number += m_process.readAllStandardOutput();
        bool ok = false;
        number.trimmed().toInt(&ok);
        require(ok, "Xvfb named no display");
        m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    }
    ~XServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }
    QString display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};

// A program folder with its own copy of the executable and the given journal.
QString programFolder(const QTemporaryDir &work, const QString &name, const QByteArray &journal)
{
    const QString folder = work.filePath(name);
    require(QDir().mkpath(folder), "cannot make a program folder");
    const QString executable = QDir(folder).filePath(QStringLiteral("trelvax"));
    require(QFile::copy(QStringLiteral(TRELVAX_EXECUTABLE), executable), "cannot copy the executable");
    writeFile(QDir(folder).filePath(JournalFile::fileName()), journal);
    return executable;
}

// One start, from the launch to the "shown" line, in milliseconds.
double start(const QString &executable, const QProcessEnvironment &environment)
{
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    program.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    program.start(executable, {});
    require(program.waitForStarted(kTimeoutMs), "the program did not start");
    QByteArray out;
    while (!out.contains("shown\n")) {
        if (!program.waitForReadyRead(kTimeoutMs)) {
            program.kill();
            program.waitForFinished();
            die("the program never showed its window");
        }
        out += program.readAllStandardOutput();
    }
    const double ms = msSince(timer);
    require(program.waitForFinished(kTimeoutMs) && program.exitCode() == 0, "the program did not end cleanly");
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    require(work.isValid(), "cannot make a temporary folder");
    const QByteArray full = journalBytes(kRecords);
    const QString fullProgram = programFolder(work, QStringLiteral("full"), full);
    const QString singleProgram = programFolder(work, QStringLiteral("single"), journalBytes(1));
    require(QDir().mkpath(work.filePath(QStringLiteral("config"))), "cannot make the settings folder");

    XServer x;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), x.display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("TRELVAX_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    std::printf("journal: %d records, %s; display %s\n", kRecords, qPrintable(mb(full.size())),
                qPrintable(x.display()));

    const auto [single, whole] = medianPair([&] { return start(singleProgram, environment); },
                                            [&] { return start(fullProgram, environment); });
    std::vector<Row> rows;
    rows.push_back({QStringLiteral("floor_start (one-record journal)"), ms(single), QStringLiteral("-"),
                    QStringLiteral("1.00x"), QStringLiteral("-")});
    rows.push_back(againstFloor(QStringLiteral("start-up, 20000 records, to shown"), whole, single, kLimit,
                                QStringLiteral("floor_start")));

    std::printf("\nmedians of %d runs after one unmeasured run, each side in turn\n\n", kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}
