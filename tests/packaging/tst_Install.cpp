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

    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }

    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(file));
        QCOMPARE(f.write(bytes), bytes.size());
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
        QTest::addColumn<QString>("programFolder");
        QTest::newRow("writable executable folder") << false << binFolder();
        QTest::newRow("read-only executable folder")
            << true << path(QStringLiteral("home-ro/.local/share/Trelvax/Trelvax"));
    }

    void journalInTheProgramFolder()
    {
        QFETCH(bool, readOnly);
        QFETCH(QString, programFolder);
        const QString home = path(readOnly ? QStringLiteral("home-ro") : QStringLiteral("home-rw"));
        const QString runtime = QDir(home).filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        setMode(runtime, 0700);
        QFile::remove(QDir(binFolder()).filePath(QStringLiteral("Trelvax_1.0")));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + path(QStringLiteral("screen.json")));
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

        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(command, arguments);
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
        const QString journal = QDir(programFolder).filePath(QStringLiteral("Trelvax_1.0"));
        // The journal window creates an empty journal as it opens.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(journal) || process.state() == QProcess::NotRunning, 30000);
        const bool ranOn = process.state() == QProcess::Running;
        process.terminate();
        process.waitForFinished(10000);
        QVERIFY2(ranOn, process.readAll().constData());

        QCOMPARE(read(journal), QByteArray("1") + QByteArray(200, '|') + "\r\n");
        const QString other = readOnly ? QDir(binFolder()).filePath(QStringLiteral("Trelvax_1.0"))
                                       : QDir(home).filePath(QStringLiteral(".local/share/Trelvax/Trelvax/Trelvax_1.0"));
        QVERIFY2(!QFileInfo::exists(other), qPrintable(other));
    }

    // An installation after a pull replaces the program and the sample pictures and leaves
    // every file of the operator's as it was, byte for byte.
    void reinstallKeepsTheOperatorsFiles()
    {
        const QList<QPair<QString, QByteArray>> own = {
            {QStringLiteral("Trelvax_1.0"), "1|" + QByteArray(199, '|') + "\r\n2|\xC8\xE2\xE0\xED\xEE\xE2" + QByteArray(199, '|') + "\r\n"},
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
            QVERIFY2(read(QDir(shareFolder()).filePath(QFileInfo(sample).fileName())) == read(sample), qPrintable(sample));
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_Install.moc"
