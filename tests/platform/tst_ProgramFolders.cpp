#include "platform/Platform.h"
#include "platform/ProgramFolders.h"
#include "TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Where the journal goes and which stamp picture is read, for a program run from its build
// folder, installed in the operator's own folder, or installed under /usr.
class ProgramFoldersTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }

    void put(const QString &relative, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private Q_SLOTS:
    void init()
    {
        QDir(path(QStringLiteral("."))).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

    void cleanup()
    {
        QFile::setPermissions(path(QStringLiteral("bin")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void foldersAndStamp_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("shareExists");
        QTest::addColumn<QString>("ownStamp");
        QTest::addColumn<QString>("expectedProgramFolder");
        QTest::addColumn<QString>("expectedBuiltIn");
        QTest::addColumn<QString>("expectedStamp");

        // A program run from its build folder: the samples lie beside it, there is no share folder.
        QTest::newRow("build folder") << "bin" << false << false << "bin/pechat.png"
                                      << "bin" << "" << "bin/pechat.png";
        // Installed in the operator's own folder: the executable's folder stays the program folder.
        QTest::newRow("own install, sample stamp") << "bin" << false << true << ""
                                                   << "bin" << "share/trelvax" << "share/trelvax/pechat.png";
        QTest::newRow("own install, own stamp") << "bin" << false << true << "bin/pechat.png"
                                                << "bin" << "share/trelvax" << "bin/pechat.png";
        // Installed where the executable's folder cannot be written.
        QTest::newRow("read-only, sample stamp") << "bin" << true << true << ""
                                                 << "home/data/Trelvax" << "share/trelvax" << "share/trelvax/pechat.png";
        QTest::newRow("read-only, own stamp") << "bin" << true << true << "home/data/Trelvax/pechat.png"
                                              << "home/data/Trelvax" << "share/trelvax"
                                              << "home/data/Trelvax/pechat.png";
        // Neither a stamp of the operator's nor a sample: the program folder is where to look.
        QTest::newRow("read-only, no stamp at all") << "bin" << true << false << ""
                                                    << "home/data/Trelvax" << "" << "home/data/Trelvax/pechat.png";
        QTest::newRow("executable folder gone") << "gone" << false << true << ""
                                                << "home/data/Trelvax" << "share/trelvax" << "share/trelvax/pechat.png";
    }

    void foldersAndStamp()
    {
        QFETCH(QString, executableFolder);
        QFETCH(bool, readOnly);
        QFETCH(bool, shareExists);
        QFETCH(QString, ownStamp);
        QFETCH(QString, expectedProgramFolder);
        QFETCH(QString, expectedBuiltIn);
        QFETCH(QString, expectedStamp);

        QVERIFY(QDir().mkpath(path(QStringLiteral("bin"))));
        if (shareExists)
            put(QStringLiteral("share/trelvax/pechat.png"), "sample");
        if (!ownStamp.isEmpty())
            put(ownStamp, "own");
        if (readOnly) {
            if (::geteuid() == 0)
                QSKIP("root writes into any folder; the installed program's test covers this as another user");
            QVERIFY(QFile::setPermissions(path(QStringLiteral("bin")), QFile::ReadOwner | QFile::ExeOwner));
        }

        const ProgramFolders folders = ProgramFolders::decide(
            path(executableFolder), path(QStringLiteral("home/data/Trelvax")),
            path(QStringLiteral("bin/../share/trelvax")));

        QCOMPARE(folders.programFolder, path(expectedProgramFolder));
        QCOMPARE(folders.builtInFolder, expectedBuiltIn.isEmpty() ? QString() : path(expectedBuiltIn));
        // The per-user folder exists exactly when it is the program folder: the journal can be
        // created there at once, and a writable install leaves the home folder alone.
        QCOMPARE(QFileInfo(path(QStringLiteral("home/data/Trelvax"))).isDir(),
                 expectedProgramFolder.startsWith(QLatin1String("home")));

        TestPlatform test;
        Platform platform = test.platform;
        platform.programFolder = folders.programFolder;
        platform.builtInFolder = folders.builtInFolder;
        QCOMPARE(platform.programFile(QStringLiteral("Trelvax_1.0")),
                 QDir(path(expectedProgramFolder)).filePath(QStringLiteral("Trelvax_1.0")));
        QCOMPARE(platform.programFileOrBuiltIn(QStringLiteral("pechat.png")), path(expectedStamp));
    }

    // Without a per-user data folder (no home at all) the executable's folder is the only
    // candidate; the journal's load then reports what fails there.
    void noUserFolderKeepsTheExecutableFolder()
    {
        const ProgramFolders folders = ProgramFolders::decide(path(QStringLiteral("gone")), QString(), QString());
        QCOMPARE(folders.programFolder, path(QStringLiteral("gone")));
        QVERIFY(folders.builtInFolder.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ProgramFoldersTest)
#include "tst_ProgramFolders.moc"
