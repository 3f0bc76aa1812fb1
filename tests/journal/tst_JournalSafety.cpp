#include "ChangingFiles.h"
#include "ChangingJournal.h"
#include "FileSizeLimit.h"
#include "Files.h"
#include "KillLoop.h"
#include "SmallDisk.h"
#include "TestPlatform.h"

#include "journal/AutoCopy.h"
#include "platform/AtomicFile.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/journal/Form1.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cerrno>
#include <sys/resource.h>

// The journal survives what the operator's machine does to a save: a kill at any moment, a
// disk that fills up part-way.
class JournalSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesPreviousOrNewJournal();
    void killedSavesLeaveTemplateFontsAndRestoreWhole();
    void fullDiskKeepsTheJournal_data();
    void fullDiskKeepsTheJournal();
};

namespace {

constexpr int kKills = 200;
// Shared by the template, the font file and the restore, a third each.
constexpr int kOtherFileKills = 90;

// Files of the program folder other than the journal: what a failed or killed save leaves behind.
QStringList leftovers(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(JournalFile::fileName());
    return names;
}

// A kill in the instant between a new file getting a name and taking its file's place can leave
// that copy beside it: harmless, and removed here so that it is counted once. False when the
// program folder holds anything else beside `files`.
bool removeNamedCopies(const QString &folder, const QStringList &files, int *removed)
{
    for (const QString &name : leftovers(folder)) {
        if (files.contains(name))
            continue;
        if (std::none_of(files.begin(), files.end(), [&](const QString &file) { return name.startsWith(file); })) {
            qWarning("%s beside the saved files", qPrintable(name));
            return false;
        }
        if (!QFile::remove(QDir(folder).filePath(name)))
            return false;
        ++*removed;
    }
    return true;
}

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
    KillLoop loop(QStringLiteral(JOURNAL_SAVER), tp.folder());
    QVERIFY(loop.started());

    // The second saver's times count: the first one also pays for starting.
    KillLoop::Timing timing;
    QVERIFY(loop.timeSaves(3, 1, &timing));
    QVERIFY(loop.timeSaves(3, 1, &timing));
    const qint64 firstSaving = timing.firstSavingUs / 1000;
    const qint64 cycleMs = std::max<qint64>(1, timing.roundUs / 1000);
    const qint64 saveMs = std::max<qint64>(1, timing.saveUs[0] / 1000);
    const qint64 window = firstSaving + 2 * cycleMs;

    qInfo("first save after %lld ms, then one every %lld ms, %lld ms of it in the save; seed %u", firstSaving, cycleMs,
          saveMs, loop.seed());
    int onDisk = ChangingJournal::generationOf(readFile(tp.journalPath()));
    QByteArray expected = ChangingJournal::bytes(onDisk);
    int killedInSave = 0;
    int strayCopies = 0;
    int newerThanReported = 0;
    // Kills inside a save that left the journal as it was: before the day's copy was whole (the
    // save copies first), and after it.
    int beforeCopyWhole = 0;
    int afterCopy = 0;
    const QString copies = QDir(tp.folder()).filePath(QStringLiteral("Копии журнала"));
    QSet<QString> checkedCopies;
    int cachedGeneration = onDisk;
    QByteArray cachedBytes = expected;
    const auto bytesOf = [&](int generation) {
        if (generation != cachedGeneration) {
            cachedGeneration = generation;
            cachedBytes = ChangingJournal::bytes(generation);
        }
        return cachedBytes;
    };
    // Kills go on past kKills, inside saves, until both sides of the copy were hit; a bounded
    // number of times.
    for (int kill = 1; kill <= kKills || ((beforeCopyWhole == 0 || afterCopy == 0) && kill <= 4 * kKills); ++kill) {
        // The first copy this saver makes holds the journal as it is now.
        cachedGeneration = onDisk;
        cachedBytes = expected;
        int reported = onDisk;
        bool inSave = false;
        const auto seen = [&](const KillLoop::Line &line) {
            inSave = line.word == "saving";
            if (line.word == "saved")
                reported = int(line.number);
        };
        // Every fourth of the first kills comes at any moment of the saver's life: its start, the
        // preparation of a generation, a save. The others come inside a save, or just after it.
        const auto saving = [](const KillLoop::Line &line) { return line.word == "saving"; };
        const KillLoop::Moment moment = kill % 4 == 0 && kill <= kKills
            ? KillLoop::Moment{nullptr, 1000 * loop.random().bounded(qint64(0), window)}
            : KillLoop::Moment{saving, 1000 * loop.random().bounded(qint64(0), saveMs + saveMs / 4 + 1)};
        QVERIFY(loop.kill(onDisk + 1, moment, seen));
        killedInSave += inSave ? 1 : 0;

        const QByteArray file = readFile(tp.journalPath());
        const int generation = ChangingJournal::generationOf(file);
        const QByteArray message = QStringLiteral("kill %1: the journal names generation %2, the saver had reported %3")
                                       .arg(kill)
                                       .arg(generation)
                                       .arg(reported)
                                       .toUtf8();
        QVERIFY2(generation == reported || generation == reported + 1, message.constData());
        if (generation != onDisk)
            expected = ChangingJournal::bytes(generation);
        QVERIFY2(file == expected, message.constData());
        newerThanReported += generation == reported + 1 ? 1 : 0;
        QVERIFY(removeNamedCopies(tp.folder(), {JournalFile::fileName()}, &strayCopies));
        // Every save copies first, the copy named by the day of the generation saved: it holds
        // the journal as it was before, the generation before, whole. A kill while the copy or
        // the copies' list is written may leave its named temporary file, and nothing else.
        const QString ongoing = ChangingJournal::dayOf(reported + 1)
                                    .toString(QStringLiteral("yyyy-MM-dd HH'ч'mm'мин копия Trelvax_1.0.spb'"));
        for (const QString &name : QDir(copies).entryList(QDir::Files | QDir::Hidden)) {
            if (name == AutoCopy::listName())
                continue;
            if (!name.endsWith(QLatin1String(".spb"))) {
                QVERIFY2(name.startsWith(ongoing.chopped(4)) || name.startsWith(AutoCopy::listName()),
                         qPrintable(name));
                QVERIFY(QFile::remove(QDir(copies).filePath(name)));
                ++strayCopies;
                continue;
            }
            if (checkedCopies.contains(name))
                continue;
            const QDateTime time = QDateTime::fromString(name.section(QStringLiteral(" копия"), 0, 0),
                                                         QStringLiteral("yyyy-MM-dd HH'ч'mm'мин'"));
            const int saved = int(ChangingJournal::dayOf(0).daysTo(time));
            const QByteArray bytes = readFile(QDir(copies).filePath(name));
            const QByteArray about = (message + " / copy " + name.toUtf8());
            QVERIFY2(ChangingJournal::generationOf(bytes) == saved - 1, about.constData());
            QVERIFY2(bytes == bytesOf(saved - 1), about.constData());
            checkedCopies.insert(name);
        }
        if (inSave && generation == reported)
            ++(QFile::exists(QDir(copies).filePath(ongoing)) ? afterCopy : beforeCopyWhole);

        Journal loaded;
        RecordingExit exit;
        QVERIFY(OPFILE1(loaded, tp.folder(), tp.dialogs, exit));
        QCOMPARE(loaded.RecordCount, ChangingJournal::kRecords);
        QCOMPARE(tp.dialogs.messages.size(), 0);
        onDisk = generation;
    }
    qInfo("%d kills: %d inside a save (%d before its copy of the journal was whole, %d after), "
          "%d after a save had replaced the file but before it returned, %d left a named copy; %lld copies checked",
          kKills, killedInSave, beforeCopyWhole, afterCopy, newerThanReported, strayCopies,
          qint64(checkedCopies.size()));
    // Most kills must have hit saves, not the preparation of the next generation, and some of
    // them the copy each save makes first (a copy in the kernel takes a tenth of a save or less).
    QVERIFY(killedInSave >= kKills / 2);
    QVERIFY(beforeCopyWhole > 0);
    QVERIFY(afterCopy > 0);
}

// The same for the program's other files: the template "Autoload" and the font file "Shrift"
// as their saves write them, and the journal as a restore from a backup replaces it. After
// every kill each file holds, byte for byte, a generation that was saved whole, and reads back.
void JournalSafetyTest::killedSavesLeaveTemplateFontsAndRestoreWhole()
{
    TestPlatform tp;
    enum Kind { Template, Fonts, Restore, Kinds };
    const std::array<QString, Kinds> paths = {tp.platform.programFile(AutofillTemplate::fileName()),
                                              tp.platform.programFile(QStringLiteral("Shrift")), tp.journalPath()};
    const auto generationOf = [](int kind, const QByteArray &file) {
        return kind == Restore ? ChangingJournal::generationOf(file) : ChangingFiles::generationOf(file);
    };
    const auto bytesOf = [](int kind, int generation) {
        switch (kind) {
        case Template:
            return ChangingFiles::templateBytes(generation);
        case Fonts:
            return ChangingFiles::fontBytes(generation);
        default:
            return ChangingJournal::bytes(generation);
        }
    };
    for (int k = 0; k < Kinds; ++k)
        QVERIFY(writeFileAtomically(paths[size_t(k)], bytesOf(k, 0)));

    KillLoop loop(QStringLiteral(FILES_SAVER), tp.folder());
    QVERIFY(loop.started());

    KillLoop::Timing timing;
    QVERIFY(loop.timeSaves(2, Kinds, &timing));
    const std::vector<qint64> &saveUs = timing.saveUs;
    qInfo("saves take %lld, %lld and %lld us (template, fonts, restore); seed %u", saveUs[0], saveUs[1], saveUs[2],
          loop.seed());
    std::array<int, Kinds> onDisk = {};
    for (int k = 0; k < Kinds; ++k)
        onDisk[size_t(k)] = generationOf(k, readFile(paths[size_t(k)]));
    std::array<int, Kinds> killedInSave = {};
    std::array<int, Kinds> changed = {};
    int strayCopies = 0;
    for (int kill = 0; kill < kOtherFileKills; ++kill) {
        const int target = kill % Kinds;
        // Every other kill lets the saver finish a whole round first, the restore included.
        const int wholeRounds = (kill / Kinds) % 2;
        const int first = *std::max_element(onDisk.begin(), onDisk.end()) + 1;
        std::array<int, Kinds> announced = {-1, -1, -1};
        int inSave = -1;
        const auto seen = [&](const KillLoop::Line &line) {
            inSave = line.word == "saving" ? int(line.second) : -1;
            if (line.word == "saving")
                announced[size_t(line.second)] = int(line.number);
        };
        // A moment inside the target's save, or as long again after it: a restore replaces the
        // journal only at its very end.
        const auto targetSaving = [&](const KillLoop::Line &line) {
            return line.word == "saving" && line.second == target && line.number == first + wholeRounds;
        };
        QVERIFY(
            loop.kill(first, {targetSaving, loop.random().bounded(qint64(0), saveUs[size_t(target)] * 2 + 1)}, seen));
        if (inSave >= 0)
            ++killedInSave[size_t(inSave)];

        for (int k = 0; k < Kinds; ++k) {
            const QByteArray file = readFile(paths[size_t(k)]);
            const int generation = generationOf(k, file);
            const QByteArray message = QStringLiteral("kill %1, file %2: generation %3, before %4, announced %5..%6")
                                           .arg(kill)
                                           .arg(k)
                                           .arg(generation)
                                           .arg(onDisk[size_t(k)])
                                           .arg(first)
                                           .arg(announced[size_t(k)])
                                           .toUtf8();
            QVERIFY2(generation == onDisk[size_t(k)] || (generation >= first && generation <= announced[size_t(k)]),
                     message.constData());
            QVERIFY2(file == bytesOf(k, generation), message.constData());
            if (generation != onDisk[size_t(k)])
                ++changed[size_t(k)];
            onDisk[size_t(k)] = generation;
        }
        const QStringList files = {AutofillTemplate::fileName(), QStringLiteral("Shrift"), JournalFile::fileName()};
        QVERIFY(removeNamedCopies(tp.folder(), files, &strayCopies));

        // And each reads back as the program reads it.
        AutofillTemplate autofill;
        ReadAutofillTemplate(autofill, paths[Template]);
        const auto values = ChangingFiles::templateValues(onDisk[Template]);
        for (int i = 0; i < AutofillTemplate::kValueCount; ++i)
            QCOMPARE(autofill.values[size_t(i)], values[size_t(i)]);
        LabelFontTable fonts;
        fonts.read(paths[Fonts]);
        QCOMPARE(fonts[0].name.toString(), ChangingFiles::tag(onDisk[Fonts]));
        if (target == Restore) {
            Journal loaded;
            RecordingExit exit;
            QVERIFY(OPFILE1(loaded, tp.folder(), tp.dialogs, exit));
            QCOMPARE(loaded.RecordCount, ChangingJournal::kRecords);
            QCOMPARE(tp.dialogs.messages.size(), 0);
        }
    }
    qInfo("%d kills; inside a save of the template %d, of the fonts %d, of the restore %d; "
          "files replaced %d, %d, %d times; %d named copies left",
          kOtherFileKills, killedInSave[0], killedInSave[1], killedInSave[2], changed[0], changed[1], changed[2],
          strayCopies);
    // Every file must have been replaced, and its save hit by a kill, many times.
    for (int k = 0; k < Kinds; ++k) {
        QVERIFY(changed[size_t(k)] >= kOtherFileKills / Kinds / 8);
        QVERIFY(killedInSave[size_t(k)] >= kOtherFileKills / Kinds / 8);
    }
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
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 1)).center());
    tp.dialogs.answers.push_back(Dialogs::Answer::Yes);
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (!smallDisk) {
            limit = std::make_unique<FileSizeLimit>(100000);
            QVERIFY(limit->isActive());
        }
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("CmdDel")), Qt::LeftButton);
    }

    // The day's copy of the journal is tried first and does not fit either.
    const QString copies = QDir(folder).filePath(QStringLiteral("Копии журнала"));
    const QStringList texts = tp.dialogs.texts();
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts[0], QStringLiteral("Вы действительно хотите удалить из журнала запись № 2"));
    QCOMPARE(texts[1],
             QStringLiteral("Не удалось сохранить копию журнала в папке ") + QDir::toNativeSeparators(copies)
                 + QStringLiteral(": ") + qt_error_string(smallDisk ? ENOSPC : EFBIG));
    QCOMPARE(texts[2], QStringLiteral("Ошибка сохранения"));
    QCOMPARE(tp.dialogs.messages.last().caption, QStringLiteral("Trelvax"));
    QVERIFY(readFile(QDir(folder).filePath(JournalFile::fileName())) == old);
    QCOMPARE(leftovers(folder), QStringList());
    QCOMPARE(leftovers(copies), QStringList());
    form.hide();
}

QTEST_MAIN(JournalSafetyTest)
#include "tst_JournalSafety.moc"
