#include "FileSizeLimit.h"
#include "Files.h"
#include "SmallDisk.h"
#include "TestPlatform.h"

#include "journal/AutoCopy.h"
#include "journal/Journal.h"
#include "journal/JournalBackup.h"
#include "journal/JournalFile.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/journal/Form1.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
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

// The files of the folder but the list of the copies.
QStringList filesIn(const QString &folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    files.removeOne(AutoCopy::listName());
    return files;
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

// A file already in the copies' folder: a copy the program listed (its time read from the
// name), or the operator's file of any name; `changed` when it was written over after listing.
struct Existing
{
    QString name;
    qint64 size = 100;
    bool listed = true;
    bool changed = false;
};

// The copies' list as the program writes it, naming the files as they are now. A copy's time
// is read from its name; one of an earlier build's name was made in January 2024.
QByteArray listOf(const QString &folder, const QList<Existing> &files)
{
    static const QRegularExpression time(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d)ч(\\d\\d)мин копия "));
    QByteArray list;
    for (const Existing &e : files) {
        const QRegularExpressionMatch m = time.match(e.name);
        const QString made = m.hasMatch() ? m.captured(1) + QLatin1Char(':') + m.captured(2)
                                          : QStringLiteral("2024-01-02 10:00");
        const QFileInfo file(QDir(folder).filePath(e.name));
        if (e.listed)
            list += cp1251(made
                           + QStringLiteral("|%1|%2|").arg(file.size()).arg(file.lastModified().toMSecsSinceEpoch())
                           + e.name + QStringLiteral("\r\n"));
    }
    return list;
}

// A copy the program made and listed, alone in the folder; its name.
QString listedCopy(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    writeFile(QDir(folder).filePath(name), bytes);
    writeFile(QDir(folder).filePath(AutoCopy::listName()), listOf(folder, {{name}}));
    return name;
}

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
    void restoreWithoutItsCopyAsksEveryTime();
    void restoreNeverRemovesTheCopyItRestores();
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
    QCOMPARE(filesIn(copiesOf(tp)), QStringList{QStringLiteral("2025-12-08 14ч05мин копия Trelvax_1.0.spb")});
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
    expected[QStringLiteral("2025-12-08 09ч00мин копия Trelvax_1.0.spb")] = save(at(8, 9, 0), QStringLiteral("A"));
    save(at(8, 12, 30), QStringLiteral("B"));
    const QByteArray lastOfDay = tp.readJournal();
    save(at(8, 23, 59), QStringLiteral("C"));
    const QByteArray beforeMidnight = tp.readJournal();
    QVERIFY(lastOfDay != beforeMidnight);
    expected[QStringLiteral("2025-12-09 00ч01мин копия Trelvax_1.0.spb")] = save(at(9, 0, 1), QStringLiteral("D"));
    QCOMPARE(expected.last(), beforeMidnight);
    save(at(9, 0, 2), QStringLiteral("E"));

    // The program is started again the same day.
    journal = loadedJournal(tp);
    save(at(9, 17, 0), QStringLiteral("F"));
    expected[QStringLiteral("2025-12-10 08ч15мин копия Trelvax_1.0.spb")] = save(at(10, 8, 15), QStringLiteral("G"));

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
    QCOMPARE(filesIn(copiesOf(tp)), QStringList{QStringLiteral("2025-12-10 14ч05мин копия Trelvax_1.0.spb")});
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
    const QStringList names = {QStringLiteral("2025-12-08 14ч05мин копия Trelvax_1.0 (2).spb"),
                               QStringLiteral("2025-12-08 14ч05мин копия Trelvax_1.0 (3).spb"),
                               QStringLiteral("2025-12-08 14ч05мин копия Trelvax_1.0.spb")};
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

// A restore whose copy fails asks, every time, whether to go on without it; "Нет" changes
// nothing, and no copy goes before the new one is whole.
void AutoCopyTest::restoreWithoutItsCopyAsksEveryTime()
{
    TestPlatform tp;
    const QByteArray journal = journalOf(400);
    tp.writeJournal(journal);
    tp.settings->setValue(QStringLiteral("AutoCopy"), QStringLiteral("Keep"), QStringLiteral("0"));
    const QString folder = copiesOf(tp);
    const QString old = listedCopy(folder, QStringLiteral("2025-01-01 10ч00мин копия Trelvax_1.0.spb"), journalOf(1));
    const QString chosen = QDir(tp.folder()).filePath(QStringLiteral("копия.spb"));
    QVERIFY(writeFile(chosen, journalOf(2)));
    Journal memory;
    Form1 form(tp.platform, memory);
    QVERIFY(form.isLoaded());
    const Dialogs::Message question{QStringLiteral("Не удалось сохранить копию журнала в папке ")
                                        + QDir::toNativeSeparators(folder) + QStringLiteral(": ")
                                        + qt_error_string(EFBIG) + QStringLiteral("\nЗаменить журнал без копии?"),
                                    QStringLiteral("Trelvax"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo,
                                    Dialogs::Answer::No};
    for (const Dialogs::Answer answer : {Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        tp.dialogs.paths.push_back(chosen);
        tp.dialogs.answers = {Dialogs::Answer::Yes, answer};
        tp.dialogs.messages.clear();
        {
            FileSizeLimit limit{rlim_t(journal.size() / 2)};
            QVERIFY(limit.isActive());
            form.findChild<QAction *>(QStringLiteral("Menu_Tuns_Vost"))->trigger();
        }
        QCOMPARE(tp.dialogs.messages.size(), answer == Dialogs::Answer::Yes ? 3 : 2);
        const Dialogs::Message &asked = tp.dialogs.messages[1];
        QCOMPARE(asked.text, question.text);
        QVERIFY(asked.caption == question.caption && asked.icon == question.icon && asked.buttons == question.buttons
                && asked.defaultButton == question.defaultButton);
        QCOMPARE(tp.readJournal(), answer == Dialogs::Answer::Yes ? journalOf(2) : journal);
        QCOMPARE(tp.exit.code.has_value(), answer == Dialogs::Answer::Yes);
        QCOMPARE(filesIn(folder), QStringList{old});
    }
}

// Room for the copy made before a restore is never made by removing the copy restored.
void AutoCopyTest::restoreNeverRemovesTheCopyItRestores()
{
    TestPlatform tp;
    tp.writeJournal(journalOf(2200)); // about half a megabyte
    tp.settings->setValue(QStringLiteral("AutoCopy"), QStringLiteral("MaxMB"), QStringLiteral("1"));
    const QString folder = copiesOf(tp);
    const QString old = listedCopy(folder, QStringLiteral("2025-12-05 10ч00мин копия Trelvax_1.0.spb"),
                                   journalOf(3000));
    Journal memory;
    Form1 form(tp.platform, memory);
    QVERIFY(form.isLoaded());
    tp.dialogs.paths.push_back(QDir(folder).filePath(old));
    tp.dialogs.answers.push_back(Dialogs::Answer::Yes);
    form.findChild<QAction *>(QStringLiteral("Menu_Tuns_Vost"))->trigger();
    QCOMPARE(tp.exit.code, std::optional<int>(0));
    QCOMPARE(tp.readJournal(), journalOf(3000));
    QCOMPARE(filesIn(folder), (QStringList{old, QStringLiteral("2025-12-08 14ч05мин копия Trelvax_1.0.spb")}));
}

void AutoCopyTest::retention_data()
{
    QTest::addColumn<QStringList>("settings"); // "Key=value" entries of the section "AutoCopy"
    QTest::addColumn<QList<Existing>>("existing");
    QTest::addColumn<QString>("copy");    // the new copy's name, empty for none
    QTest::addColumn<QList<int>>("kept"); // indexes into existing
    // The existing copy whose size is less by the new copy's (the test's journal), so that the
    // copies together take a given size; -1 for none.
    QTest::addColumn<int>("shrunk");

    constexpr qint64 kMB = 1024 * 1024;
    const QString today = QStringLiteral("2025-12-08 14ч05мин копия Trelvax_1.0.spb");
    // Copies made at 14:05 the given number of days before the save at 14:05 on 8 December.
    const auto daysAgo = [](std::initializer_list<int> ages, qint64 size = 100) {
        QList<Existing> list;
        for (const int age : ages)
            list.append({QDate(2025, 12, 8).addDays(-age).toString(QStringLiteral("yyyy-MM-dd"))
                             + QStringLiteral(" 14ч05мин копия Trelvax_1.0.spb"),
                         size});
        return list;
    };
    // Nine young copies: with the new one they are the newest ten.
    const QList<Existing> nineYoung = daysAgo({1, 2, 3, 4, 5, 6, 7, 8, 9});
    const QList<int> nine = {0, 1, 2, 3, 4, 5, 6, 7, 8};

    QTest::newRow("60 days to the minute stay, a minute more goes") << QStringList()
                                                                    << nineYoung
            + QList<Existing>{{QStringLiteral("2025-10-09 14ч05мин копия Trelvax_1.0.spb")},
                              {QStringLiteral("2025-10-09 14ч04мин копия Trelvax_1.0.spb")}}
                                                                    << today << nine + QList<int>{9} << -1;
    QTest::newRow("the newest ten stay whatever their age")
        << QStringList() << daysAgo({100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111}) << today
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << -1;
    QTest::newRow("Keep 2, Days 1") << QStringList{QStringLiteral("Keep=2"), QStringLiteral("Days=1")}
                                    << QList<Existing>{{QStringLiteral("2025-12-07 14ч06мин копия Trelvax_1.0.spb")},
                                                       {QStringLiteral("2025-12-07 14ч05мин копия Trelvax_1.0.spb")},
                                                       {QStringLiteral("2025-12-07 14ч04мин копия Trelvax_1.0.spb")},
                                                       {QStringLiteral("2025-12-03 14ч05мин копия Trelvax_1.0.spb")}}
                                    << today << QList<int>{0, 1} << -1;
    QTest::newRow("Days 0: no copy, nothing removed")
        << QStringList{QStringLiteral("Days=0")} << daysAgo({100, 200, 300}) << QString() << QList<int>{0, 1, 2} << -1;
    QTest::newRow("out of range reads as the defaults")
        << QStringList{QStringLiteral("Days=-1"), QStringLiteral("Keep=5000"), QStringLiteral("MaxMB=0")}
        << nineYoung + daysAgo({60, 61}) << today << nine + QList<int>{9} << -1;
    // With the new copy, the test's journal of two records. (A copy of today would stand for
    // the day's copy: the copies here are a day old and older.)
    QTest::newRow("500 MB to the byte stay")
        << QStringList() << daysAgo({1}, 300 * kMB) + daysAgo({2}, 200 * kMB) << today << QList<int>{0, 1} << 1;
    QTest::newRow("a byte more: the oldest goes, young as it is")
        << QStringList() << daysAgo({1}, 300 * kMB) + daysAgo({2}, 200 * kMB + 1) << today << QList<int>{0} << 1;
    QTest::newRow("MaxMB 1: the oldest go until the new copy fits")
        << QStringList{QStringLiteral("MaxMB=1")} << daysAgo({1, 2}, kMB / 2) + daysAgo({3}, 1) << today
        << QList<int>{0} << -1;
    // Only what the list names, as it was made, is the program's: a name proves nothing. A copy
    // of an earlier build's name is removed when the list names it.
    QTest::newRow("the operator's files are never removed nor counted")
        << QStringList{QStringLiteral("Keep=0"), QStringLiteral("MaxMB=1")}
        << QList<Existing>{{QStringLiteral("мой.spb"), 2 * kMB, false},
                           {QStringLiteral("01.01.2024 10ч00мин Trelvax_1.0.spb"), 2 * kMB, false},
                           {QStringLiteral("2024-01-01 10ч00мин копия Trelvax_1.0.spb"), 2 * kMB, false},
                           {QStringLiteral("2024-01-02 10ч00мин копия Trelvax_1.0.spb"), 2 * kMB, true, true},
                           {QStringLiteral("02.01.2024 10ч00мин Trelvax_1.0 (2).spb"), 10, true}}
        << today << QList<int>{0, 1, 2, 3} << -1;
    QTest::newRow("a backup of today under a copy's name is no copy of today")
        << QStringList() << QList<Existing>{{today, 100, false}}
        << QStringLiteral("2025-12-08 14ч05мин копия Trelvax_1.0 (2).spb") << QList<int>{0} << -1;
}

// Once the new copy is written and listed, the listed copies beyond the newest ones that are
// too old go, then the oldest while they take too much.
void AutoCopyTest::retention()
{
    QFETCH(QStringList, settings);
    QFETCH(QList<Existing>, existing);
    QFETCH(QString, copy);
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
    for (qsizetype i = 0; i < existing.size(); ++i)
        makeFile(QDir(folder).filePath(existing[i].name),
                 i == shrunk ? existing[i].size - journalSize : existing[i].size);
    QVERIFY(writeFile(QDir(folder).filePath(AutoCopy::listName()), listOf(folder, existing)));
    for (const Existing &e : existing) {
        QFile file(QDir(folder).filePath(e.name));
        QVERIFY(!e.changed
                || (file.open(QIODevice::ReadWrite)
                    && file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime)));
    }
    std::unique_ptr<Journal> journal = loadedJournal(tp);
    QVERIFY(journal);
    QVERIFY(SaveJournal(*journal, tp.dialogs));

    QStringList expected;
    for (const int i : kept)
        expected.append(existing[i].name);
    if (!copy.isEmpty())
        expected.append(copy);
    expected.sort();
    QStringList actual = filesIn(folder);
    actual.sort();
    QCOMPARE(actual, expected);
    if (!copy.isEmpty())
        QCOMPARE(readFile(QDir(folder).filePath(copy)), journalOf(2));
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
