#include "Files.h"
#include "RunProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// The program installed the way scripts/run installs it, started from there as the operator
// starts it: where its files land, and what a second installation leaves alone.
class InstallTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString path(const QString &relative) const { return QDir(m_root.path()).filePath(relative); }
    QString prefix() const { return path(QStringLiteral("prefix")); }
    QString binFolder() const { return path(QStringLiteral("prefix/bin")); }
    QString program() const { return path(QStringLiteral("prefix/bin/trelvax")); }
    QString shareFolder() const { return path(QStringLiteral("prefix/share/trelvax")); }

    static QStringList samplePictures()
    {
        return QString::fromUtf8(TRELVAX_SAMPLE_PICTURES).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    }

    static QByteArray read(const QString &file) { return readFile(file, "(missing)"); }

    static void write(const QString &file, const QByteArray &bytes)
    {
        QVERIFY2(writeFile(file, bytes), qPrintable(file));
    }

    void install() const
    {
        const ProgramRun run = runProgram(QStringLiteral(TRELVAX_CMAKE),
                                          {QStringLiteral("--install"), QStringLiteral(TRELVAX_BUILD_DIR),
                                           QStringLiteral("--prefix"), prefix()});
        QVERIFY2(run.succeeded(), run.output.constData());
    }

    static void setMode(const QString &folder, mode_t mode)
    {
        QVERIFY2(::chmod(QFile::encodeName(folder).constData(), mode) == 0, qPrintable(folder));
    }

    static bool asRoot() { return ::geteuid() == 0; }

    QByteArray m_firstProgram;

private Q_SLOTS:
    void initTestCase()
    {
        // Another user must reach the installed program when the test runs as root.
        setMode(m_root.path(), 0755);
        install();
        QVERIFY(QFileInfo(program()).isExecutable());
        m_firstProgram = read(program());
        // A screen as large as the journal window asks for, so that no message box waits for
        // a click nobody gives.
        write(path(QStringLiteral("screen.json")),
              R"({"screens":[{"name":"main","x":0,"y":0,"width":1600,"height":1000,"logicalDpi":96}]})");
    }

    void cleanup() { setMode(binFolder(), 0755); }

    void journalInTheProgramFolder_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("holdsJournal");
        QTest::addColumn<QString>("programFolder");
        QTest::newRow("writable executable folder") << false << false << binFolder();
        QTest::newRow("read-only executable folder")
            << true << false << path(QStringLiteral("home-ro/.local/share/Trelvax/Trelvax"));
        // The operator's journal in a folder that cannot be written is still the one shown.
        QTest::newRow("read-only executable folder holding the journal") << true << true << binFolder();
    }

    void journalInTheProgramFolder()
    {
        QFETCH(bool, readOnly);
        QFETCH(bool, holdsJournal);
        QFETCH(QString, programFolder);
        const QString home = path(readOnly ? QStringLiteral("home-ro") : QStringLiteral("home-rw"));
        QVERIFY(QDir(home).removeRecursively());
        const QString runtime = QDir(home).filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        setMode(runtime, 0700);
        const QStringList pictures{QStringLiteral("pechat.png"), QStringLiteral("podpis.png")};
        for (const QString &name : pictures + QStringList{QStringLiteral("Trelvax_1.0")})
            QFile::remove(QDir(binFolder()).filePath(name));
        const QByteArray three = "1|A111AA11" + QByteArray(199, '|') + "\r\n2|" + QByteArray(199, '|')
            + "\r\n3|E333EE33" + QByteArray(199, '|') + "\r\n";
        if (holdsJournal)
            write(QDir(binFolder()).filePath(QStringLiteral("Trelvax_1.0")), three);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + path(QStringLiteral("screen.json")));
        // The program ends by itself once its journal window is painted, storing nothing.
        environment.insert(QStringLiteral("TRELVAX_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
        QString command = program();
        QStringList arguments;
        if (readOnly) {
            setMode(binFolder(), 0555);
            if (asRoot()) {
                // Root writes into any folder whatever its mode: the program runs as nobody.
                for (const QString &folder : {home, runtime})
                    QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
                command = QStringLiteral("setpriv");
                arguments = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                             QStringLiteral("--clear-groups"), QStringLiteral("--"), program()};
            }
        }

        const ProgramRun run = runProgram(command, arguments, environment, 60000);
        QVERIFY2(run.succeeded() && run.output.contains("shown\n"), run.output.constData());

        const QString journal = QDir(programFolder).filePath(QStringLiteral("Trelvax_1.0"));
        const QString userFolder = QDir(home).filePath(QStringLiteral(".local/share/Trelvax/Trelvax"));
        if (holdsJournal) {
            QCOMPARE(read(journal), three);
            QVERIFY2(!QFileInfo::exists(userFolder), qPrintable(userFolder));
            // No journal was made, so no sample came with it.
            for (const QString &name : pictures)
                QVERIFY(!QFileInfo::exists(QDir(binFolder()).filePath(name)));
            return;
        }
        // The journal window creates an empty journal as it opens, and the samples come with it.
        QCOMPARE(read(journal), QByteArray("1") + QByteArray(200, '|') + "\r\n");
        for (const QString &name : pictures)
            QVERIFY2(read(QDir(programFolder).filePath(name)) == read(QDir(shareFolder()).filePath(name)),
                     qPrintable(name));
        const QString other = readOnly ? QDir(binFolder()).filePath(QStringLiteral("Trelvax_1.0"))
                                       : QDir(userFolder).filePath(QStringLiteral("Trelvax_1.0"));
        QVERIFY2(!QFileInfo::exists(other), qPrintable(other));
    }

    // A stamp the operator removed stays removed: neither the next start nor an installation
    // brings the sample back.
    void aRemovedStampStaysRemoved()
    {
        write(QDir(binFolder()).filePath(QStringLiteral("Trelvax_1.0")), "1|" + QByteArray(199, '|') + "\r\n");
        QFile::remove(QDir(binFolder()).filePath(QStringLiteral("pechat.png")));
        install();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString home = path(QStringLiteral("home-again"));
        QVERIFY(QDir().mkpath(home));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(home).filePath(QStringLiteral(".config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + path(QStringLiteral("screen.json")));
        environment.insert(QStringLiteral("TRELVAX_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
        const ProgramRun run = runProgram(program(), {}, environment, 60000);
        QVERIFY2(run.succeeded(), run.output.constData());
        QVERIFY(!QFileInfo::exists(QDir(binFolder()).filePath(QStringLiteral("pechat.png"))));
    }

    // An installation after a pull replaces the program and the sample pictures and leaves
    // every file of the operator's as it was, byte for byte.
    void reinstallKeepsTheOperatorsFiles()
    {
        const QList<QPair<QString, QByteArray>> own = {
            {QStringLiteral("Trelvax_1.0"),
             "1|" + QByteArray(199, '|') + "\r\n2|\xC8\xE2\xE0\xED\xEE\xE2" + QByteArray(199, '|') + "\r\n"},
            {QStringLiteral("Autoload"), "\xCC\xEE\xF1\xEA\xE2\xE0\r\n"},
            {QStringLiteral("Shrift"), "Epson1\r\n12,5\r\n"},
            {QStringLiteral("pechat.png"), "the operator's own stamp"},
            {QStringLiteral("podpis.png"), "the operator's own signature"},
        };
        for (const auto &[name, bytes] : own)
            write(QDir(binFolder()).filePath(name), bytes);
        // What a newer build would bring: another program and other sample pictures.
        write(program(), "an older program");
        const QStringList samples = samplePictures();
        for (const QString &sample : samples)
            write(QDir(shareFolder()).filePath(QFileInfo(sample).fileName()), "an older sample");

        install();
        install();

        for (const auto &[name, bytes] : own)
            QCOMPARE(read(QDir(binFolder()).filePath(name)), bytes);
        QVERIFY(read(program()) == m_firstProgram);
        QVERIFY(QFileInfo(program()).isExecutable());
        for (const QString &sample : samples)
            QVERIFY2(read(QDir(shareFolder()).filePath(QFileInfo(sample).fileName())) == read(sample),
                     qPrintable(sample));
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_Install.moc"
