#include "Files.h"
#include "RunProgram.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The Debian package as a machine would install it: what it holds, what it depends on, and
// what the Debian tools say of it.
class PackageTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_package;
    QStringList m_contents;

    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }

    static QByteArray read(const QString &file) { return readFile(file, "(missing)"); }

private Q_SLOTS:
    void initTestCase()
    {
        const ProgramRun cpack = runProgram(QStringLiteral(TRELVAX_CPACK),
                                            {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                             QStringLiteral(TRELVAX_BUILD_DIR "/CPackConfig.cmake"),
                                             QStringLiteral("-B"), path(QStringLiteral("out"))});
        QVERIFY2(cpack.succeeded(), cpack.output.constData());
        const QStringList debs = QDir(path(QStringLiteral("out"))).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_package = QDir(path(QStringLiteral("out"))).filePath(debs.first());

        const ProgramRun list = runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_package});
        QVERIFY2(list.succeeded(), list.output.constData());
        // The last column of each line is the path, "./usr/bin/trelvax".
        for (const QByteArray &line : list.output.split('\n'))
            if (!line.isEmpty() && !line.endsWith('/'))
                m_contents << QString::fromUtf8(line.mid(line.lastIndexOf(' ') + 1));

        const ProgramRun extract = runProgram(QStringLiteral("dpkg-deb"),
                                              {QStringLiteral("-x"), m_package, path(QStringLiteral("root"))});
        QVERIFY2(extract.succeeded(), extract.output.constData());
    }

    void holdsTheProgramAndItsDesktopFiles()
    {
        QStringList expected = {
            QStringLiteral("./usr/bin/trelvax"),
            QStringLiteral("./usr/share/applications/trelvax.desktop"),
            QStringLiteral("./usr/share/icons/hicolor/scalable/apps/trelvax.svg"),
            QStringLiteral("./usr/share/icons/hicolor/48x48/apps/trelvax.png"),
            QStringLiteral("./usr/share/doc/trelvax/copyright"),
            QStringLiteral("./usr/share/doc/trelvax/changelog.gz"),
        };
        for (const QString &sample :
             QString::fromUtf8(TRELVAX_SAMPLE_PICTURES).split(QLatin1Char('|'), Qt::SkipEmptyParts))
            expected << QStringLiteral("./usr/share/trelvax/") + sample.section(QLatin1Char('/'), -1);
        for (const QString &file : expected)
            QVERIFY2(m_contents.contains(file), qPrintable(file + QStringLiteral(" is not in the package")));
        // Only the program goes to the executables' folder: no build tools, no operator's files.
        QCOMPARE(m_contents.filter(QStringLiteral("/usr/bin/")), QStringList{QStringLiteral("./usr/bin/trelvax")});
        QCOMPARE(read(path(QStringLiteral("root/usr/share/icons/hicolor/scalable/apps/trelvax.svg"))),
                 read(QStringLiteral(TRELVAX_SOURCE_DIR "/assets/trelvax.svg")));
    }

    void desktopEntryIsValid()
    {
        const QString entry = path(QStringLiteral("root/usr/share/applications/trelvax.desktop"));
        const ProgramRun validate = runProgram(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY2(validate.succeeded() && validate.output.trimmed().isEmpty(), validate.output.constData());

        QMap<QString, QString> keys;
        for (const QString &line : QString::fromUtf8(read(entry)).split(QLatin1Char('\n')))
            if (line.contains(QLatin1Char('=')))
                keys.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
        QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Trelvax"));
        QVERIFY(keys.value(QStringLiteral("Categories")).split(QLatin1Char(';')).contains(QStringLiteral("Office")));
        QVERIFY(keys.value(QStringLiteral("Comment")).contains(QRegularExpression(QStringLiteral("\\p{Cyrillic}"))));
        QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("trelvax"));
        QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("trelvax"));
    }

    // The Qt libraries are found in the program by dpkg-shlibdeps, with the versions it links.
    void dependsOnTheQtRuntime()
    {
        const ProgramRun field = runProgram(QStringLiteral("dpkg-deb"),
                                            {QStringLiteral("--field"), m_package, QStringLiteral("Depends")});
        QVERIFY2(field.succeeded(), field.output.constData());
        for (const char *library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6svg6"})
            QVERIFY2(QRegularExpression(QStringLiteral("\\b%1 \\(>= [0-9.]+\\)").arg(QLatin1String(library)))
                         .match(QString::fromUtf8(field.output))
                         .hasMatch(),
                     field.output.constData());
    }

    void lintianFindsNoErrors()
    {
        const ProgramRun lintian = runProgram(QStringLiteral("lintian"), {m_package});
        const QStringList errors = QString::fromUtf8(lintian.output)
                                       .split(QLatin1Char('\n'))
                                       .filter(QRegularExpression(QStringLiteral("^E: ")));
        QVERIFY2(lintian.finished && errors.isEmpty(), lintian.output.constData());
        QVERIFY2(lintian.exitCode == 0, lintian.output.constData());
    }
};

QTEST_GUILESS_MAIN(PackageTest)
#include "tst_Package.moc"
