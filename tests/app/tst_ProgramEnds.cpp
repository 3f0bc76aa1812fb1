#include "Files.h"
#include "TestPlatform.h"
#include "journal/JournalFile.h"
#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

// Every way the program ends leaves its folder without the one-copy lock: the real main() of
// the program, run in a folder of its own and driven from inside as the operator drives it.
class ProgramEndsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString path(const QString &relative) const { return QDir(m_root.path()).filePath(relative); }
    QString bin() const { return path(QStringLiteral("bin")); }
    QString program() const { return path(QStringLiteral("bin/trelvax")); }
    QString journal() const { return QDir(bin()).filePath(JournalFile::fileName()); }
    QString lock() const { return QDir(bin()).filePath(InstanceLock::fileName()); }

    // Room for the lock file (its process number, program and host names, machine and boot
    // ids: under 160 bytes) but not for the 203 bytes of a new journal.
    static constexpr qint64 kRoomForTheLockAlone = 180;

    static void write(const QString &file, const QByteArray &bytes)
    {
        QVERIFY2(writeFile(file, bytes), qPrintable(file));
    }
    static QByteArray read(const QString &file) { return readFile(file, "(missing)"); }

    // The program's run: what it printed, one line each, and how it ended.
    struct Run
    {
        QStringList lines;
        int exitCode = -1;
    };
    Run run(const QString &scenario, qint64 fileSizeLimit = -1) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("home/config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + path(QStringLiteral("screen.json")));
        process.setProcessEnvironment(environment);
        if (fileSizeLimit >= 0) {
            // No file of the run may grow past the limit: a disk with no room.
            process.setChildProcessModifier([fileSizeLimit] {
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        process.start(program(), {scenario, path(QStringLiteral("backup.spb"))});
        Run result;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
        }
        if (process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return result;
    }

    static QString journalPath(const QString &folder)
    {
        return QDir::toNativeSeparators(QDir(folder).filePath(JournalFile::fileName()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(bin()));
        QVERIFY(QFile::copy(QStringLiteral(DRIVEN_PROGRAM), program()));
        write(path(QStringLiteral("screen.json")),
              R"({"screens":[{"name":"main","x":0,"y":0,"width":1600,"height":1000,"logicalDpi":96}]})");
    }

    void init()
    {
        QDir folder(bin());
        for (const QFileInfo &entry :
             folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (entry.fileName() == QLatin1String("trelvax"))
                continue;
            if (entry.isDir() && !entry.isSymLink())
                QVERIFY(QDir(entry.filePath()).removeRecursively());
            else
                QVERIFY(QFile::remove(entry.filePath()));
        }
    }

    void endsWithoutItsLock_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("journalKind"); // "record", "empty", "bad line", "folder", "none"
        QTest::addColumn<qint64>("fileSizeLimit");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messages");

        const QString title = QStringLiteral("message: Trelvax | ");
        const QString path = journalPath(bin());
        QTest::newRow("closed by the operator") << "close"
                                                << "record" << qint64(-1) << 0 << QStringList{};
        QTest::newRow("empty journal") << "none"
                                       << "empty" << qint64(-1) << 1
                                       << QStringList{QStringLiteral("message: Ошибка загрузки | ФАЙЛ БАЗЫ   ") + path
                                                          + QStringLiteral("   ПУСТОЙ!"),
                                                      title
                                                          + QStringLiteral("Ошибка при открытии файла базы данных 0")};
        QTest::newRow("line with too few separators")
            << "none"
            << "bad line" << qint64(-1) << 1
            << QStringList{QStringLiteral("message: Ошибка формата файла | Строка № 1   файла ") + path
                               + QStringLiteral("  Содержит ошибку!"),
                           title + QStringLiteral("Ошибка при открытии файла базы данных 0")};
        QTest::newRow("journal cannot be read")
            << "none"
            << "folder" << qint64(-1) << 1
            << QStringList{title + QStringLiteral("Ошибка при открытии файла базы данных 75")};
        QTest::newRow("journal cannot be made")
            << "none"
            << "none" << kRoomForTheLockAlone << 1
            << QStringList{title + QStringLiteral("Ошибка сохранения"),
                           title + QStringLiteral("Ошибка при открытии файла базы данных 53")};
        QTest::newRow("journal restored")
            << "restore"
            << "record" << qint64(-1) << 0
            << QStringList{QStringLiteral("message: Подтвердите операцию | Вы действительно хотите безвозвратно "
                                          "заменить файл текущей базы файлом ")
                               + QDir::toNativeSeparators(this->path(QStringLiteral("backup.spb")))
                               + QStringLiteral(" ?"),
                           QStringLiteral("message: Востановление произошло успешно | Сейчас программа закроется, "
                                          "запустите её заново")};
    }

    void endsWithoutItsLock()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, journalKind);
        QFETCH(qint64, fileSizeLimit);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messages);

        const QByteArray record = journalLine({QStringLiteral("1"), QStringLiteral("А123ВС77")});
        const QByteArray backup = journalLine({QStringLiteral("1"), QStringLiteral("В456ОР99")})
            + journalLine({QStringLiteral("2"), QStringLiteral("Е789КХ50")});
        write(path(QStringLiteral("backup.spb")), backup);
        if (journalKind == QLatin1String("record"))
            write(journal(), record);
        else if (journalKind == QLatin1String("empty"))
            write(journal(), QByteArray());
        else if (journalKind == QLatin1String("bad line"))
            write(journal(), "1|2|3\r\n");
        else if (journalKind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(journal()));

        const Run ended = run(scenario, fileSizeLimit);
        QCOMPARE(ended.lines, messages + QStringList{QStringLiteral("ended: %1").arg(exitCode)});
        QCOMPARE(ended.exitCode, exitCode);
        QVERIFY2(!QFileInfo::exists(lock()), qPrintable(lock()));
        if (scenario == QLatin1String("restore"))
            QCOMPARE(read(journal()), backup);
    }

    // The second copy says so and ends; the first copy's lock stays while the first runs, and
    // goes with it.
    void aSecondCopyLeavesTheFirstsLockAlone()
    {
        write(journal(), journalLine({QStringLiteral("1")}));
        QProcess first;
        first.start(QStringLiteral(INSTANCE_HOLDER), {bin()});
        QVERIFY(first.waitForReadyRead(30000));
        QCOMPARE(first.readLine(), QByteArray("locked\n"));
        const QByteArray held = read(lock());

        const Run second = run(QStringLiteral("close"));
        QCOMPARE(second.lines,
                 (QStringList{QStringLiteral("message: Trelvax | ") + InstanceLock::heldMessage(bin()),
                              QStringLiteral("ended: 1")}));
        QCOMPARE(second.exitCode, 1);
        QCOMPARE(read(lock()), held);

        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(30000));
        QVERIFY(!QFileInfo::exists(lock()));
    }

    // A lock left by a copy that was killed, on a disk with no room to take it over: no other
    // copy runs, and the program does not say one does. It works without a lock, as in a folder
    // where none can be made, and leaves none behind.
    void aStaleLockWithNoRoomDoesNotClaimAnotherCopy()
    {
        write(journal(), journalLine({QStringLiteral("1"), QStringLiteral("А123ВС77")}));
        QProcess crashed;
        crashed.start(QStringLiteral(INSTANCE_HOLDER), {bin()});
        QVERIFY(crashed.waitForReadyRead(30000));
        QCOMPARE(crashed.readLine(), QByteArray("locked\n"));
        crashed.kill();
        crashed.waitForFinished();
        QVERIFY(QFileInfo::exists(lock()));

        // The settings have no room either, and the program says so.
        const Run full = run(QStringLiteral("close"), 0);
        QCOMPARE(full.lines.size(), 2);
        QVERIFY(
            full.lines[0].startsWith(QStringLiteral("message: Trelvax | Не удалось сохранить настройки программы")));
        QCOMPARE(full.lines[1], QStringLiteral("ended: 0"));
        QCOMPARE(full.exitCode, 0);
        QVERIFY(!QFileInfo::exists(lock()));
        QVERIFY(QDir(bin()).entryList({QStringLiteral("*.rmlock")}, QDir::Files | QDir::Hidden).isEmpty());

        // With room again, the lock is taken as usual and released at the end.
        const Run roomy = run(QStringLiteral("close"));
        QCOMPARE(roomy.lines, QStringList{QStringLiteral("ended: 0")});
        QVERIFY(!QFileInfo::exists(lock()));
    }
};

QTEST_GUILESS_MAIN(ProgramEndsTest)
#include "tst_ProgramEnds.moc"
