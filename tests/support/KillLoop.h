#pragma once
// The crash tests' side of a victim program (tests/journal/SaverProcess.h): the victim forks a
// saver for each kill and prints its pid; the saver prints "saving <g> [<file>]" and "saved <g>
// [<file>]" around each save; the victim prints "ended <pid> <signal>" once the saver died.
// One kill of the loop starts a saver, lets it run to the chosen moment and kills it there.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <QtDebug>

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <signal.h>
#include <unistd.h>
#include <vector>

class KillLoop
{
public:
    struct Line
    {
        QByteArray word;
        qint64 number = -1;
        qint64 second = -1;
    };
    // Where a saver dies: `delayUs` microseconds after the first line `after` accepts, or after
    // its start when there is no `after`.
    struct Moment
    {
        std::function<bool(const Line &)> after;
        qint64 delayUs = 0;
    };

    // Starts the victim program on the program folder; the random moments come from a seed of
    // their own, which the test reports so that a failure can be told again.
    KillLoop(const QString &program, const QString &folder)
        : m_seed(QRandomGenerator::global()->generate()), m_random(m_seed)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, {folder});
        m_started = m_process.waitForStarted();
    }
    ~KillLoop()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    bool started() const { return m_started; }
    quint32 seed() const { return m_seed; }
    QRandomGenerator &random() { return m_random; }

    // A saver from generation `first`, killed at `moment`. Every line it printed goes to `seen`,
    // in order, those before the moment also to `moment.after`. True once the victim has seen
    // it end by SIGKILL; false, with a warning, when a line before the moment is no "saving" or
    // "saved" or none comes in time.
    bool kill(int first, const Moment &moment, const std::function<void(const Line &)> &seen)
    {
        if (m_process.write(QByteArray::number(first) + '\n') <= 0 || !m_process.waitForBytesWritten())
            return false;
        const qint64 pid = saverPid();
        if (pid <= 0)
            return false;
        for (bool reached = !moment.after; !reached;) {
            const Line l = line();
            if (l.word != "saving" && l.word != "saved")
                return unexpected(l);
            if (seen)
                seen(l);
            reached = moment.after(l);
        }
        ::usleep(useconds_t(moment.delayUs));
        if (::kill(pid_t(pid), SIGKILL) != 0)
            return false;
        for (;;) {
            const Line l = line();
            if (l.word.isEmpty())
                return unexpected(l);
            if (l.word == "ended")
                return l.number == pid && l.second == SIGKILL;
            if (seen)
                seen(l);
        }
    }

    // How long a saver from generation 1 takes, in microseconds, measured here so that the kills
    // spread over whole saves whatever the machine's speed: when its first save begins, a round
    // of saves from then on, and each file's save (by the lines' second number; one file when
    // there is none) on average over the rounds after the first, which also pays for touching
    // the program's memory. Killed after `rounds` rounds (at least 2) of `files` saves each.
    struct Timing
    {
        qint64 firstSavingUs = -1;
        qint64 roundUs = 1;
        std::vector<qint64> saveUs;
    };
    bool timeSaves(int rounds, int files, Timing *timing)
    {
        Timing t;
        t.saveUs.assign(size_t(files), 1);
        const auto n = size_t(files);
        std::vector<qint64> began(n), total(n);
        int saved = 0;
        bool strange = false;
        QElapsedTimer clock;
        clock.start();
        const auto lastSaved = [&](const Line &line) {
            const auto k = size_t(std::max<qint64>(0, line.second));
            const qint64 now = clock.nsecsElapsed() / 1000;
            strange = k >= size_t(files);
            if (strange)
                return true;
            if (line.word == "saving") {
                began[k] = now;
                t.firstSavingUs = t.firstSavingUs < 0 ? now : t.firstSavingUs;
                return false;
            }
            if (saved++ >= files)
                total[k] += now - began[k];
            if (saved < rounds * files)
                return false;
            t.roundUs = std::max<qint64>(1, (now - t.firstSavingUs) / rounds);
            for (size_t f = 0; f < size_t(files); ++f)
                t.saveUs[f] = std::max<qint64>(1, total[f] / (rounds - 1));
            return true;
        };
        if (!kill(1, {lastSaved}, {}) || strange)
            return false;
        *timing = t;
        return true;
    }

private:
    // The next line the victim or its saver printed; an empty word when none came in time.
    Line line()
    {
        if (!m_early.isEmpty())
            return m_early.takeFirst();
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(60000))
                return {};
        }
        const QList<QByteArray> parts = m_process.readLine().trimmed().split(' ');
        Line l;
        l.word = parts.value(0);
        l.number = parts.value(1).toLongLong();
        l.second = parts.size() > 2 ? parts.at(2).toLongLong() : -1;
        return l;
    }

    // The saver may print before the victim has printed its pid: those lines are kept, in
    // order, for line() to hand over afterwards.
    qint64 saverPid()
    {
        QList<Line> before;
        for (;;) {
            const Line l = line();
            if (l.word.isEmpty() || l.word == "ended") {
                unexpected(l);
                return -1;
            }
            if (l.word == "pid") {
                m_early = before + m_early;
                return l.number;
            }
            before.append(l);
        }
    }

    static bool unexpected(const Line &l)
    {
        qWarning("unexpected line from the saver: \"%s %lld %lld\"", l.word.constData(), l.number, l.second);
        return false;
    }

    QProcess m_process;
    bool m_started = false;
    QList<Line> m_early;
    quint32 m_seed;
    QRandomGenerator m_random;
};
