#include "Files.h"
#include "TestPlatform.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "platform/Platform.h"
#include "platform/ProgramFolders.h"
#include "windows/journal/Form1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Where the journal goes and where the sample stamp and signature come from, for a program run
// from its build folder, installed in the operator's own folder, or installed under /usr.
class ProgramFoldersTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }

    void put(const QString &relative, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QVERIFY(writeFile(path(relative), bytes));
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

    void folders_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("shareExists");
        QTest::addColumn<bool>("holdsJournal");
        QTest::addColumn<QString>("expectedProgramFolder");
        QTest::addColumn<QString>("expectedBuiltIn");

        // A program run from its build folder: the samples lie beside it, there is no share folder.
        QTest::newRow("build folder") << "bin" << false << false << false << "bin"
                                      << "";
        // Installed in the operator's own folder: the executable's folder stays the program folder.
        QTest::newRow("own install") << "bin" << false << true << false << "bin"
                                     << "share/trelvax";
        // Installed where the executable's folder cannot be written.
        QTest::newRow("read-only") << "bin" << true << true << false << "home/data/Trelvax"
                                   << "share/trelvax";
        QTest::newRow("read-only, no share folder") << "bin" << true << false << false << "home/data/Trelvax"
                                                    << "";
        // A read-only folder that holds the operator's journal stays theirs.
        QTest::newRow("read-only, holds the journal") << "bin" << true << true << true << "bin"
                                                      << "share/trelvax";
        QTest::newRow("executable folder gone") << "gone" << false << true << false << "home/data/Trelvax"
                                                << "share/trelvax";
    }

    void folders()
    {
        QFETCH(QString, executableFolder);
        QFETCH(bool, readOnly);
        QFETCH(bool, shareExists);
        QFETCH(bool, holdsJournal);
        QFETCH(QString, expectedProgramFolder);
        QFETCH(QString, expectedBuiltIn);

        QVERIFY(QDir().mkpath(path(QStringLiteral("bin"))));
        if (shareExists)
            put(QStringLiteral("share/trelvax/pechat.png"), "sample");
        if (holdsJournal)
            put(QStringLiteral("bin/Trelvax_1.0"), journalLine({QStringLiteral("1")}));
        if (readOnly) {
            if (::geteuid() == 0)
                QSKIP("root writes into any folder; the installed program's test covers this as another user");
            QVERIFY(QFile::setPermissions(path(QStringLiteral("bin")), QFile::ReadOwner | QFile::ExeOwner));
        }

        const ProgramFolders folders = ProgramFolders::decide(path(executableFolder),
                                                              path(QStringLiteral("home/data/Trelvax")),
                                                              path(QStringLiteral("bin/../share/trelvax")),
                                                              JournalFile::fileName());

        QCOMPARE(folders.programFolder, path(expectedProgramFolder));
        QCOMPARE(folders.builtInFolder, expectedBuiltIn.isEmpty() ? QString() : path(expectedBuiltIn));
        // The per-user folder exists exactly when it is the program folder: the journal can be
        // created there at once, and a writable install leaves the home folder alone.
        QCOMPARE(QFileInfo(path(QStringLiteral("home/data/Trelvax"))).isDir(),
                 expectedProgramFolder.startsWith(QLatin1String("home")));
    }

    // The sample stamp and signature reach a program folder once, when its first journal is
    // made; never over the operator's own picture, and never again once the folder has a
    // journal, so that a picture the operator removed stays removed.
    void samplesComeWithTheFirstJournal_data()
    {
        QTest::addColumn<bool>("journal");
        QTest::addColumn<bool>("ownStamp");
        QTest::addColumn<QByteArray>("expectedStamp");
        QTest::addColumn<QByteArray>("expectedSignature");
        QTest::newRow("new folder") << false << false << QByteArray("sample stamp") << QByteArray("sample signature");
        QTest::newRow("new folder, own stamp")
            << false << true << QByteArray("own stamp") << QByteArray("sample signature");
        QTest::newRow("folder with a journal") << true << false << QByteArray() << QByteArray();
    }

    void samplesComeWithTheFirstJournal()
    {
        QFETCH(bool, journal);
        QFETCH(bool, ownStamp);
        QFETCH(QByteArray, expectedStamp);
        QFETCH(QByteArray, expectedSignature);
        put(QStringLiteral("share/trelvax/pechat.png"), "sample stamp");
        put(QStringLiteral("share/trelvax/podpis.png"), "sample signature");
        TestPlatform test;
        test.platform.builtInFolder = path(QStringLiteral("share/trelvax"));
        if (journal)
            test.writeJournal(journalLine({QStringLiteral("1")}) + journalLine({QStringLiteral("2")}));
        if (ownStamp) {
            QFile own(test.platform.programFile(QStringLiteral("pechat.png")));
            QVERIFY(own.open(QIODevice::WriteOnly));
            own.write("own stamp");
        }
        const auto contents = [&](const char *name) {
            return readFile(test.platform.programFile(QLatin1String(name)));
        };
        {
            Journal records;
            Form1 window(test.platform, records);
            QVERIFY(window.isLoaded());
            QCOMPARE(records.RecordCount, journal ? 2 : 1);
        }
        QCOMPARE(contents("pechat.png"), expectedStamp);
        QCOMPARE(contents("podpis.png"), expectedSignature);

        // The next start, after the operator removed both: nothing comes back.
        QFile::remove(test.platform.programFile(QStringLiteral("pechat.png")));
        QFile::remove(test.platform.programFile(QStringLiteral("podpis.png")));
        Journal again;
        Form1 window(test.platform, again);
        QVERIFY(window.isLoaded());
        QVERIFY(!QFileInfo::exists(test.platform.programFile(QStringLiteral("pechat.png"))));
        QVERIFY(!QFileInfo::exists(test.platform.programFile(QStringLiteral("podpis.png"))));
    }

    // A program folder that cannot be written but holds the journal: the journal is shown as it
    // is, and a save that fails says so and leaves the file whole.
    void aReadOnlyFolderShowsItsJournal()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into any folder; the installed program's test covers this as another user");
        TestPlatform test;
        const QByteArray three = journalLine({QStringLiteral("1"), QStringLiteral("А111АА11")})
            + journalLine({QStringLiteral("2"), QStringLiteral("В222ВВ22")})
            + journalLine({QStringLiteral("3"), QStringLiteral("Е333ЕЕ33")});
        test.writeJournal(three);
        QVERIFY(QFile::setPermissions(test.folder(), QFile::ReadOwner | QFile::ExeOwner));
        Journal records;
        Form1 window(test.platform, records);
        QVERIFY(window.isLoaded());
        QCOMPARE(records.RecordCount, 3);
        QCOMPARE(records.table.field(3, 2), QStringLiteral("Е333ЕЕ33"));
        QVERIFY(SaveJournal(records, test.dialogs) == false);
        QCOMPARE(test.dialogs.texts(), QStringList{QStringLiteral("Ошибка сохранения")});
        QFile::setPermissions(test.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(test.readJournal(), three);
    }

    // Without a per-user data folder (no home at all) the executable's folder is the only
    // candidate; the journal's load then reports what fails there.
    void noUserFolderKeepsTheExecutableFolder()
    {
        const ProgramFolders folders = ProgramFolders::decide(path(QStringLiteral("gone")), QString(), QString(),
                                                              JournalFile::fileName());
        QCOMPARE(folders.programFolder, path(QStringLiteral("gone")));
        QVERIFY(folders.builtInFolder.isEmpty());
    }
};

QTEST_MAIN(ProgramFoldersTest)
#include "tst_ProgramFolders.moc"
