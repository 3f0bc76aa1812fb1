#include "ChangingJournal.h"
#include "FileSizeLimit.h"
#include "TestPlatform.h"

#include "journal/Form1.h"
#include "platform/RecordGrid.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

// The journal survives what the operator's machine does to a save: a kill at any moment, a
// disk that fills up part-way.
class JournalSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesPreviousOrNewJournal();
    void fullDiskKeepsTheJournal_data();
    void fullDiskKeepsTheJournal();
};

namespace {

constexpr int kKills = 200;

// Files of the program folder other than the journal: what a killed save leaves behind.
QStringList leftovers(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(JournalFile::fileName());
    return names;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The victim of the crash test, run once; it forks a saver for every kill.
class Saver
{
public:
    struct Line
    {
        QByteArray word;
        qint64 number = -1;
        qint64 second = -1;
    };

    ~Saver()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    bool start(const QString &folder)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(JOURNAL_SAVER), {folder});
        return m_process.waitForStarted();
    }

    bool send(int firstGeneration)
    {
        return m_process.write(QByteArray::number(firstGeneration) + '\n') > 0 && m_process.waitForBytesWritten();
    }

    // The next line the program or its saver printed; an empty word when none came in time.
    Line line()
    {
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

    qint64 pid()
    {
        const Line l = line();
        return l.word == "pid" ? l.number : -1;
    }

    // Kills the saver and hands over each line it printed before it died; true once the parent
    // has seen it end by SIGKILL.
    template<typename Seen = void (*)(const Line &)>
    bool kill(qint64 pid, Seen seen = [](const Line &) {})
    {
        if (::kill(pid_t(pid), SIGKILL) != 0)
            return false;
        for (;;) {
            const Line l = line();
            if (l.word.isEmpty())
                return false;
            if (l.word == "ended")
                return l.number == pid && l.second == SIGKILL;
            seen(l);
        }
    }

private:
    QProcess m_process;
};


// A small file system of its own, where the machine allows mounting one.
class SmallDisk
{
public:
    SmallDisk(const QString &path, const char *size)
        : m_path(QFile::encodeName(path))
    {
        const QByteArray options = QByteArray("size=") + size + ",mode=0700";
        m_mounted = ::mount("tmpfs", m_path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    bool isMounted() const { return m_mounted; }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

} // namespace

// A program saving a changing 20000-record journal is killed at random moments. After every
// kill the journal loads and is, byte for byte, the one saved before or the one being saved.
void JournalSafetyTest::killedSaveLeavesPreviousOrNewJournal()
{
    TestPlatform tp;
    {
        Journal first;
        first.JournalPath = QDir::toNativeSeparators(tp.journalPath());
        ChangingJournal::fill(first, 0);
        QVERIFY(SaveJournal(first, tp.dialogs));
    }
    Saver saver;
    QVERIFY(saver.start(tp.folder()));

    // How long a saver takes to prepare a generation and to save it, measured here, so that the
    // kills spread over whole saves whatever the machine's speed. The second saver counts: the
    // first one also pays for touching the program's memory.
    qint64 firstSaving = -1;
    qint64 cycleMs = 1;
    qint64 saveMs = 1;
    for (int calibration = 0; calibration < 2; ++calibration) {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(saver.send(1));
        const qint64 pid = saver.pid();
        QVERIFY(pid > 0);
        firstSaving = -1;
        qint64 saving = 0;
        qint64 inSaves = 0;
        int saved = 0;
        while (saved < 3) {
            const Saver::Line line = saver.line();
            QVERIFY2(line.word == "saving" || line.word == "saved", line.word.constData());
            if (line.word == "saving") {
                saving = clock.elapsed();
                if (firstSaving < 0)
                    firstSaving = saving;
            } else {
                inSaves += clock.elapsed() - saving;
                ++saved;
            }
        }
        cycleMs = std::max<qint64>(1, (clock.elapsed() - firstSaving) / 3);
        saveMs = std::max<qint64>(1, inSaves / 3);
        QVERIFY(saver.kill(pid));
    }
    const qint64 window = firstSaving + 2 * cycleMs;

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    qInfo("first save after %lld ms, then one every %lld ms, %lld ms of it in the save; seed %u",
          firstSaving, cycleMs, saveMs, seed);
    int onDisk = ChangingJournal::generationOf(readFile(tp.journalPath()));
    QByteArray expected = ChangingJournal::bytes(onDisk);
    int killedInSave = 0;
    int strayCopies = 0;
    int newerThanReported = 0;
    for (int kill = 1; kill <= kKills; ++kill) {
        QVERIFY(saver.send(onDisk + 1));
        const qint64 victim = saver.pid();
        QVERIFY(victim > 0);
        int reported = onDisk;
        bool inSave = false;
        const auto seen = [&](const Saver::Line &line) {
            inSave = line.word == "saving";
            if (line.word == "saved")
                reported = int(line.number);
        };
        if (kill % 4 == 0) {
            // Any moment of the saver's life: its start, the preparation of a generation, a save.
            QTest::qSleep(int(random.bounded(qint64(0), window)));
        } else {
            // A moment inside a save, or just after it.
            Saver::Line line;
            do {
                line = saver.line();
                QVERIFY2(line.word == "saving" || line.word == "saved", line.word.constData());
                seen(line);
            } while (line.word != "saving");
            QTest::qSleep(int(random.bounded(qint64(0), saveMs + saveMs / 4 + 1)));
        }
        QVERIFY(saver.kill(victim, seen));
        killedInSave += inSave ? 1 : 0;

        const QByteArray file = readFile(tp.journalPath());
        const int generation = ChangingJournal::generationOf(file);
        const QByteArray message = QStringLiteral("kill %1: the journal names generation %2, the saver had reported %3")
                                       .arg(kill).arg(generation).arg(reported).toUtf8();
        QVERIFY2(generation == reported || generation == reported + 1, message.constData());
        if (generation != onDisk)
            expected = ChangingJournal::bytes(generation);
        QVERIFY2(file == expected, message.constData());
        newerThanReported += generation == reported + 1 ? 1 : 0;
        // A kill in the instant between the new file getting a name and taking the journal's
        // place can leave that copy beside the journal: harmless, and removed here so that it
        // is counted once. Anything else beside the journal is a fault.
        for (const QString &name : leftovers(tp.folder())) {
            QVERIFY2(name.startsWith(JournalFile::fileName()), qPrintable(name));
            QVERIFY(QFile::remove(QDir(tp.folder()).filePath(name)));
            ++strayCopies;
        }

        Journal loaded;
        RecordingExit exit;
        QVERIFY(OPFILE1(loaded, tp.folder(), tp.dialogs, exit));
        QCOMPARE(loaded.RecordCount, ChangingJournal::kRecords);
        QCOMPARE(tp.dialogs.messages.size(), 0);
        onDisk = generation;
    }
    qInfo("%d kills: %d inside a save, %d after a save had replaced the file but before it returned, "
          "%d left a named copy",
          kKills, killedInSave, newerThanReported, strayCopies);
    // Most kills must have hit saves, not the preparation of the next generation.
    QVERIFY(killedInSave >= kKills / 2);
}

void JournalSafetyTest::fullDiskKeepsTheJournal_data()
{
    QTest::addColumn<bool>("smallDisk");
    QTest::newRow("file system of 1 MB") << true;
    QTest::newRow("file size limit") << false;
}

// The operator deletes a record while the disk is nearly full: the save fails, says so, and
// the journal on disk stays as it was, with nothing left beside it.
void JournalSafetyTest::fullDiskKeepsTheJournal()
{
    QFETCH(bool, smallDisk);
    TestPlatform tp;
    QTemporaryDir base;
    const QString folder = base.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(folder));
    std::unique_ptr<SmallDisk> disk;
    if (smallDisk) {
        disk = std::make_unique<SmallDisk>(folder, "1m");
        if (!disk->isMounted())
            QSKIP("Mounting a file system is not allowed here; the file size limit stands in for it");
    }

    // Three records of about 230 KB: the old file and its replacement do not fit together.
    QByteArray old;
    for (int i = 1; i <= 3; ++i)
        old += journalLine({QString::number(i), QString(230000, QChar(u'Ж')), QStringLiteral("VIN%1").arg(i)});
    {
        QFile file(QDir(folder).filePath(JournalFile::fileName()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
    }
    Platform platform = tp.platform;
    platform.programFolder = folder;
    Journal journal;
    Form1 form(platform, journal);
    QVERIFY(form.isLoaded());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    RecordGrid *grid = form.grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(1, 1)).center());
    tp.dialogs.answers.push_back(Dialogs::Answer::Yes);
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (!smallDisk) {
            limit = std::make_unique<FileSizeLimit>(100000);
            QVERIFY(limit->isActive());
        }
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("CmdDel")), Qt::LeftButton);
    }

    QCOMPARE(tp.dialogs.texts(), QStringList({QStringLiteral("Вы действительно хотите удалить из журнала запись № 2"),
                                              QStringLiteral("Ошибка сохранения")}));
    QCOMPARE(tp.dialogs.messages.last().caption, QStringLiteral("Trelvax"));
    QVERIFY(readFile(QDir(folder).filePath(JournalFile::fileName())) == old);
    QCOMPARE(leftovers(folder), QStringList());
    form.hide();
}

QTEST_MAIN(JournalSafetyTest)
#include "tst_JournalSafety.moc"
