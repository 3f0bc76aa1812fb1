#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// One copy of the program per program folder, shown with real processes.
class InstanceLockTest : public QObject
{
    Q_OBJECT

private slots:
    void secondCopyOnTheSameFolderEnds();
    void lockOfACrashedCopyDoesNotBlock();
};

namespace {

// A process that takes the lock of `folder` as the program does at its start.
class Copy
{
public:
    explicit Copy(const QString &folder) { m_process.start(QStringLiteral(INSTANCE_HOLDER), {folder}); }
    ~Copy()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    // Waits for the copy to hold the lock.
    bool holdsLock()
    {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(30000))
                return false;
        }
        return m_process.readLine() == "locked\n";
    }

    // Waits for the copy to end; its exit code, or -1 when it did not end by itself.
    int exitCode()
    {
        if (!m_process.waitForFinished(30000) || m_process.exitStatus() != QProcess::NormalExit)
            return -1;
        return m_process.exitCode();
    }

    QString output() { return QString::fromUtf8(m_process.readAllStandardOutput()); }
    void close() { m_process.closeWriteChannel(); }
    void crash()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

QString shownMessage(const QString &folder)
{
    return QStringLiteral("message: Trelvax | ") + InstanceLock::heldMessage(folder)
        + QStringLiteral(" | %1\n").arg(int(Dialogs::Icon::Exclamation));
}

} // namespace

// The second copy says why and ends; it leaves the folder as it found it. Another folder is
// not held, and once the first copy has ended the next one starts.
void InstanceLockTest::secondCopyOnTheSameFolderEnds()
{
    QTemporaryDir folder;
    QTemporaryDir otherFolder;
    Copy first(folder.path());
    QVERIFY(first.holdsLock());
    const QStringList held = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(held, QStringList({InstanceLock::fileName()}));

    Copy second(folder.path());
    QCOMPARE(second.exitCode(), 1);
    QCOMPARE(second.output(), shownMessage(folder.path()));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), held);
    QVERIFY(InstanceLock::heldMessage(folder.path()).contains(QDir::toNativeSeparators(folder.path())));

    Copy elsewhere(otherFolder.path());
    QVERIFY(elsewhere.holdsLock());

    first.close();
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    Copy third(folder.path());
    QVERIFY(third.holdsLock());
}

// A copy killed while it runs leaves its lock file behind; the next start takes it over.
void InstanceLockTest::lockOfACrashedCopyDoesNotBlock()
{
    QTemporaryDir folder;
    {
        Copy crashed(folder.path());
        QVERIFY(crashed.holdsLock());
        crashed.crash();
    }
    QVERIFY(QFile::exists(QDir(folder.path()).filePath(InstanceLock::fileName())));

    Copy next(folder.path());
    QVERIFY(next.holdsLock());
    Copy second(folder.path());
    QCOMPARE(second.exitCode(), 1);
}

QTEST_GUILESS_MAIN(InstanceLockTest)
#include "tst_InstanceLock.moc"
