#include "Files.h"
#include "SmallDisk.h"
#include "TestPlatform.h"

#include "journal/AutoCopy.h"
#include "journal/Journal.h"
#include "journal/JournalBackup.h"
#include "journal/JournalFile.h"
#include "platform/RecordGrid.h"
#include "windows/journal/Form1.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <memory>

namespace {

const QString kFolder = QStringLiteral("Копии журнала");

QByteArray journalOf(int count, const QString &prefix = QStringLiteral("VIN"))
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += journalLine({QString::number(i), QStringLiteral("А%1ВС77").arg(i), prefix + QString::number(i)});
    return bytes;
}

QString copiesOf(const TestPlatform &tp)
{
    return QDir(tp.folder()).filePath(kFolder);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A journal loaded from the test's program folder, its copies started as the journal window
// starts them.
std::unique_ptr<Journal> loadedJournal(TestPlatform &tp)
{
    auto journal = std::make_unique<Journal>();
    RecordingExit exit;
    if (!OPFILE1(*journal, tp.folder(), tp.dialogs, exit))
        return nullptr;
    journal->autoCopy.start(tp.clock, AutoCopySettings::read(*tp.settings));
    return journal;
}

QDateTime at(int day, int hour, int minute)
{
    return QDateTime(QDate(2025, 12, day), QTime(hour, minute));
}

void makeFile(const QString &path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Sparse: hundreds of megabytes cost nothing on disk.
    QVERIFY(file.resize(size));
}

// A copy already in the folder, made `minutesAgo` before the save, of `size` bytes; `name`
// replaces the name the copies get when given.
struct Existing
{
    qint64 minutesAgo = 0;
    qint64 size = 100;
    QString name = {};
};

} // namespace

Q_DECLARE_METATYPE(Existing)

class AutoCopyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copyIsTheJournalBeforeTheSave();
    void oneCopyPerDay();
    void firstRunCopiesNothingUntilTheNextDay();
    void restoreCopiesEveryTimeAndOpensInTheCopies();
    void retention_data();
    void retention();
    void unwritableCopyIsToldOnceAndTheSaveGoesOn_data();
    void unwritableCopyIsToldOnceAndTheSaveGoesOn();
};

// The operator deletes a record: before the save the journal as it was on disk goes to the
// copies, to the byte, also where the save writes it differently (a line of 250 separators,
// spaces around a field).
void AutoCopyTest::copyIsTheJournalBeforeTheSave()
{
    TestPlatform tp;
    QByteArray old = journalOf(3);
    old += "4| РОСТ | X|" + QByteArray(247, '|') + "\r\n";
    tp.writeJournal(old);
    Journal journal;
    Form1 form(tp.platform, journal);
    QVERIFY(form.isLoaded());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    RecordGrid *grid = form.grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 1)).center());
    tp.dialogs.answers.push_back(Dialogs::Answer::Yes);
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("CmdDel")), Qt::LeftButton);

    QCOMPARE(tp.dialogs.messages.size(), 1); // the question alone
    QCOMPARE(journal.RecordCount, 3);
    QVERIFY(tp.readJournal() != old);
    QCOMPARE(filesIn(copiesOf(tp)), QStringList{QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0.spb")});
    QVERIFY(readFile(QDir(copiesOf(tp)).filePath(filesIn(copiesOf(tp)).first())) == old);
    form.hide();
}

// Copies follow the clock's days: the first save of a day copies, the later ones of that day do
// not, also in a later run; a run that goes on past midnight copies at its first save after it.
void AutoCopyTest::oneCopyPerDay()
{
    TestPlatform tp;
    tp.writeJournal(journalOf(2));
    std::unique_ptr<Journal> journal = loadedJournal(tp);
    QVERIFY(journal);
    const QString folder = copiesOf(tp);

    // (time of the save, the copies expected after it, each with the journal it must hold)
    QMap<QString, QByteArray> expected;
    const auto save = [&](const QDateTime &time, const QString &record) {
        tp.clock.time = time;
        const QByteArray before = tp.readJournal();
        journal->table.setField(2, 3, record);
        if (!SaveJournal(*journal, tp.dialogs))
            return QByteArray();
        return before;
    };
    expected[QStringLiteral("08.12.2025 09ч00мин Trelvax_1.0.spb")] = save(at(8, 9, 0), QStringLiteral("A"));
    save(at(8, 12, 30), QStringLiteral("B"));
    const QByteArray lastOfDay = tp.readJournal();
    save(at(8, 23, 59), QStringLiteral("C"));
    const QByteArray beforeMidnight = tp.readJournal();
    QVERIFY(lastOfDay != beforeMidnight);
    expected[QStringLiteral("09.12.2025 00ч01мин Trelvax_1.0.spb")] = save(at(9, 0, 1), QStringLiteral("D"));
    QCOMPARE(expected.last(), beforeMidnight);
    save(at(9, 0, 2), QStringLiteral("E"));

    // The program is started again the same day.
    journal = loadedJournal(tp);
    save(at(9, 17, 0), QStringLiteral("F"));
    expected[QStringLiteral("10.12.2025 08ч15мин Trelvax_1.0.spb")] = save(at(10, 8, 15), QStringLiteral("G"));

    QCOMPARE(filesIn(folder), QStringList(expected.keys()));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(readFile(QDir(folder).filePath(it.key())) == it.value(), qPrintable(it.key()));
    QCOMPARE(tp.dialogs.messages.size(), 0);
}

// The first run creates the journal just before its first save: an empty journal is not worth a
// copy, and that day gets none. A journal that has gone from the disk is no failure either.
void AutoCopyTest::firstRunCopiesNothingUntilTheNextDay()
{
    TestPlatform tp;
    std::unique_ptr<Journal> journal = loadedJournal(tp);
    QVERIFY(journal);
    QCOMPARE(journal->RecordCount, 1);
    journal->table.setField(1, 3, QStringLiteral("VIN1"));
    QVERIFY(SaveJournal(*journal, tp.dialogs));
    journal->table.setField(1, 3, QStringLiteral("VIN2"));
    QVERIFY(SaveJournal(*journal, tp.dialogs));
    QVERIFY(!QFileInfo::exists(copiesOf(tp)));

    tp.clock.time = tp.clock.time.addDays(1);
    QVERIFY(QFile::remove(tp.journalPath()));
    QVERIFY(SaveJournal(*journal, tp.dialogs));
    QVERIFY(!QFileInfo::exists(copiesOf(tp)));

    tp.clock.time = tp.clock.time.addDays(1);
    const QByteArray before = tp.readJournal();
    QVERIFY(SaveJournal(*journal, tp.dialogs));
    QCOMPARE(filesIn(copiesOf(tp)), QStringList{QStringLiteral("10.12.2025 14ч05мин Trelvax_1.0.spb")});
    QVERIFY(readFile(QDir(copiesOf(tp)).filePath(filesIn(copiesOf(tp)).first())) == before);
    QCOMPARE(tp.dialogs.messages.size(), 0);
}

// Every restore copies the journal it replaces, also twice in a minute and after the day's
// copy; its dialog opens in the copies, where the operator finds them.
void AutoCopyTest::restoreCopiesEveryTimeAndOpensInTheCopies()
{
    TestPlatform tp;
    tp.writeJournal(journalOf(2));
    const QString chosen = QDir(tp.folder()).filePath(QStringLiteral("копия.spb"));
    QFile::copy(tp.journalPath(), chosen);
    const QString folder = copiesOf(tp);
    QStringList startFolders;
    QList<QByteArray> replaced;
    for (int run = 0; run < 3; ++run) {
        tp.writeJournal(journalOf(3 + run, QStringLiteral("R%1-").arg(run)));
        replaced.append(tp.readJournal());
        Journal journal;
        Form1 form(tp.platform, journal);
        QVERIFY(form.isLoaded());
        tp.dialogs.paths.push_back(chosen);
        tp.dialogs.answers.push_back(Dialogs::Answer::Yes);
        tp.exit.code.reset();
        form.findChild<QAction *>(QStringLiteral("Menu_Tuns_Vost"))->trigger();
        QCOMPARE(tp.exit.code, std::optional<int>(0));
        startFolders.append(tp.dialogs.fileRequests.last().startFolder);
    }
    QCOMPARE(startFolders, (QStringList{QString(), folder, folder}));
    const QStringList names = {QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0 (2).spb"),
                               QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0 (3).spb"),
                               QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0.spb")};
    QCOMPARE(filesIn(folder), names);
    QVERIFY(readFile(QDir(folder).filePath(names[2])) == replaced[0]);
    QVERIFY(readFile(QDir(folder).filePath(names[0])) == replaced[1]);
    QVERIFY(readFile(QDir(folder).filePath(names[1])) == replaced[2]);
    QCOMPARE(tp.readJournal(), journalOf(2));

    // The restore made today's copy: the day's first save adds none.
    std::unique_ptr<Journal> journal = loadedJournal(tp);
    QVERIFY(SaveJournal(*journal, tp.dialogs));
    QCOMPARE(filesIn(folder), names);
}

void AutoCopyTest::retention_data()
{
    QTest::addColumn<QStringList>("settings"); // "Key=value" entries of the section "AutoCopy"
    QTest::addColumn<QList<Existing>>("existing");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<QList<int>>("kept"); // indexes into existing
    // The existing copy whose size is less by the new copy's (the test's journal), so that the
    // copies together take a given size; -1 for none.
    QTest::addColumn<int>("shrunk");

    constexpr qint64 kDay = 24 * 60;
    constexpr qint64 kMB = 1024 * 1024;
    const auto days = [&](std::initializer_list<qint64> ages) {
        QList<Existing> list;
        for (const qint64 age : ages)
            list.append(Existing{age * kDay});
        return list;
    };
    // Nine young copies: with the new one they are the newest ten.
    const QList<Existing> nineYoung = days({1, 2, 3, 4, 5, 6, 7, 8, 9});
    const QList<int> nine = {0, 1, 2, 3, 4, 5, 6, 7, 8};

    QTest::newRow("60 days to the minute stay, a minute more goes")
        << QStringList() << nineYoung + QList<Existing>{{60 * kDay}, {60 * kDay + 1}} << true << nine + QList<int>{9} << -1;
    QTest::newRow("the newest ten stay whatever their age")
        << QStringList() << days({100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111}) << true
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << -1;
    QTest::newRow("Keep 2, Days 1")
        << QStringList{QStringLiteral("Keep=2"), QStringLiteral("Days=1")}
        << QList<Existing>{{kDay - 1}, {kDay}, {kDay + 1}, {5 * kDay}} << true << QList<int>{0, 1} << -1;
    QTest::newRow("Days 0: no copy, nothing removed")
        << QStringList{QStringLiteral("Days=0")} << days({100, 200, 300}) << false << QList<int>{0, 1, 2} << -1;
    QTest::newRow("out of range reads as the defaults")
        << QStringList{QStringLiteral("Days=-1"), QStringLiteral("Keep=5000"), QStringLiteral("MaxMB=0")}
        << nineYoung + QList<Existing>{{60 * kDay}, {61 * kDay}} << true << nine + QList<int>{9} << -1;
    // With the new copy, the test's journal of two records. (A copy of today would stand for
    // the day's copy: the copies here are a day old and older.)
    QTest::newRow("500 MB to the byte stay")
        << QStringList() << QList<Existing>{{kDay, 300 * kMB}, {2 * kDay, 200 * kMB}} << true << QList<int>{0, 1} << 1;
    QTest::newRow("a byte more: the oldest goes, young as it is")
        << QStringList() << QList<Existing>{{kDay, 300 * kMB}, {2 * kDay, 200 * kMB + 1}} << true << QList<int>{0} << 1;
    QTest::newRow("MaxMB 1: the oldest go until the new copy fits")
        << QStringList{QStringLiteral("MaxMB=1")}
        << QList<Existing>{{kDay, kMB / 2}, {2 * kDay, kMB / 2}, {3 * kDay, 1}} << true << QList<int>{0} << -1;
    QTest::newRow("the operator's files are never removed nor counted")
        << QStringList{QStringLiteral("Keep=0"), QStringLiteral("MaxMB=1")}
        << QList<Existing>{{400 * kDay, 2 * kMB, QStringLiteral("мой.spb")},
                           {400 * kDay, 2 * kMB, QStringLiteral("01.01.2024 10ч00мин Trelvax_1.0")},
                           {400 * kDay, 2 * kMB, QStringLiteral("01.01.2024 10ч00мин Trelvax_1.0 (1).spb")},
                           {400 * kDay, 10, QStringLiteral("01.01.2024 10ч00мин Trelvax_1.0 (2).spb")}}
        << true << QList<int>{0, 1, 2} << -1;
}

// Before the new copy is written the folder is trimmed so that it fits, after it the copies
// beyond the newest ones that are too old go.
void AutoCopyTest::retention()
{
    QFETCH(QStringList, settings);
    QFETCH(QList<Existing>, existing);
    QFETCH(bool, copied);
    QFETCH(QList<int>, kept);
    QFETCH(int, shrunk);
    TestPlatform tp;
    tp.writeJournal(journalOf(2));
    for (const QString &entry : settings)
        tp.settings->setValue(QStringLiteral("AutoCopy"), entry.section(QLatin1Char('='), 0, 0),
                              entry.section(QLatin1Char('='), 1));
    const QString folder = copiesOf(tp);
    QVERIFY(QDir().mkpath(folder));
    const qint64 journalSize = tp.readJournal().size();
    QStringList names;
    for (const Existing &e : existing) {
        const QString name = e.name.isEmpty() ? AutoCopy::copyName(tp.clock.time.addSecs(-60 * e.minutesAgo)) : e.name;
        makeFile(QDir(folder).filePath(name), names.size() == shrunk ? e.size - journalSize : e.size);
        names.append(name);
    }
    std::unique_ptr<Journal> journal = loadedJournal(tp);
    QVERIFY(journal);
    QVERIFY(SaveJournal(*journal, tp.dialogs));

    QStringList expected;
    for (const int i : kept)
        expected.append(names[i]);
    const QString newCopy = AutoCopy::copyName(tp.clock.time);
    if (copied)
        expected.append(newCopy);
    expected.sort();
    QStringList actual = filesIn(folder);
    actual.sort();
    QCOMPARE(actual, expected);
    if (copied)
        QCOMPARE(readFile(QDir(folder).filePath(newCopy)), journalOf(2));
    QCOMPARE(tp.dialogs.messages.size(), 0);
}

void AutoCopyTest::unwritableCopyIsToldOnceAndTheSaveGoesOn_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("the copies' disk is full") << true;
    QTest::newRow("a file holds the copies' name") << false;
}

// A copy that cannot be written: the operator is told once in the run, with the folder and the
// system's reason, and every save still replaces the journal.
void AutoCopyTest::unwritableCopyIsToldOnceAndTheSaveGoesOn()
{
    QFETCH(bool, fullDisk);
    TestPlatform tp;
    // About 200 KB: more than the small disk holds.
    QByteArray old;
    for (int i = 1; i <= 4; ++i)
        old += journalLine({QString::number(i), QString(50000, QChar(u'Ж')), QStringLiteral("VIN%1").arg(i)});
    tp.writeJournal(old);
    const QString folder = copiesOf(tp);
    std::unique_ptr<SmallDisk> disk;
    if (fullDisk) {
        QVERIFY(QDir().mkpath(folder));
        disk = std::make_unique<SmallDisk>(folder, "64k");
        if (!disk->isMounted())
            QSKIP("Mounting a file system is not allowed here");
    } else {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    std::unique_ptr<Journal> journal = loadedJournal(tp);
    QVERIFY(journal);

    for (int save = 0; save < 3; ++save) {
        tp.clock.time = at(8 + save / 2, 10, save);
        journal->table.setField(1, 3, QStringLiteral("VIN-%1").arg(save));
        QVERIFY(SaveJournal(*journal, tp.dialogs));
        QCOMPARE(tp.readJournal(), JournalFile::encodeRecords(journal->table, journal->RecordCount));
    }

    QCOMPARE(tp.dialogs.messages.size(), 1);
    const Dialogs::Message &told = tp.dialogs.messages.first();
    const QString prefix = QStringLiteral("Не удалось сохранить копию журнала в папке ")
        + QDir::toNativeSeparators(folder) + QStringLiteral(": ");
    QVERIFY2(told.text.startsWith(prefix), qPrintable(told.text));
    if (fullDisk)
        QCOMPARE(told.text.mid(prefix.size()), qt_error_string(ENOSPC));
    else
        QVERIFY(told.text.size() > prefix.size());
    QCOMPARE(told.caption, QStringLiteral("Trelvax"));
    if (fullDisk)
        QCOMPARE(filesIn(folder), QStringList());
}

QTEST_MAIN(AutoCopyTest)
#include "tst_AutoCopy.moc"
