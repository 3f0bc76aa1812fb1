// The journal with 20000 records: load, save, grid fill, start-up of the journal window and the
// memory of the record table. Times are compared with floors measured in the same run on the
// same bytes (read and decode, encode and write), because absolute times drift on shared
// machines; the floor and the figure run in turns so that a drift hits both alike.

#include "BenchSupport.h"
#include "TestPlatform.h"
#include "journal/AutoCopy.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1251.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/journal/Form1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace bench;

constexpr int kRecords = 20000;

// Separators and line feeds, sixteen bytes at a time: one pass over the bytes, as fast as a
// pass can be. The matches are summed in the vector itself (each one subtracts -1 from its
// byte lane), emptied into the total before a lane can overflow.
quint64 countSeparatorsAndBreaks(const QByteArray &bytes)
{
    quint64 n = 0;
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
#if defined(__SSE2__)
    const __m128i separator = _mm_set1_epi8('|');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        __m128i lanes = zero;
        for (int i = 0; i < 255 && end - p >= 16; ++i, p += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            lanes = _mm_sub_epi8(lanes, _mm_or_si128(_mm_cmpeq_epi8(block, separator), _mm_cmpeq_epi8(block, lf)));
        }
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        n += quint64(_mm_cvtsi128_si32(sums)) + quint64(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; p < end; ++p)
        n += *p == '|' || *p == '\n';
    return n;
}

// The bytes freshly read from disk and decoded: the floor of the load, what it cost at least
// while the table held UTF-16 text. The text outlives the timer, as the loaded journal does.
double floorLoad(const QString &path)
{
    QString text;
    QElapsedTimer timer;
    timer.start();
    {
        QFile file(path);
        require(file.open(QIODevice::ReadOnly), "cannot read the journal");
        text = Cp1251::decode(file.readAll());
    }
    return msSince(timer);
}

// The bytes read and scanned once for the separators and line ends, without decoding them: a
// lower bound now that the table keeps the file's bytes. Shown beside the floor.
double readAndScan(const QString &path, quint64 *found)
{
    QByteArray bytes;
    QElapsedTimer timer;
    timer.start();
    {
        QFile file(path);
        require(file.open(QIODevice::ReadOnly), "cannot read the journal");
        bytes = file.readAll();
    }
    *found += countSeparatorsAndBreaks(bytes);
    return msSince(timer);
}

// The time this thread spent on a processor: on a machine shared with other work, the wall
// clock of a longer figure also counts the turns it waited for, which a short floor escapes.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template<class Figure>
auto onCpu(Figure figure)
{
    return [figure] {
        const double start = threadCpuMs();
        figure();
        return threadCpuMs() - start;
    };
}

// OPFILE1 into a fresh journal; the journal is built and freed outside the timer.
double loadJournal(const QString &folder)
{
    auto journal = std::make_unique<Journal>();
    ScriptedDialogs dialogs;
    RecordingExit exit;
    QElapsedTimer timer;
    timer.start();
    const bool loaded = OPFILE1(*journal, folder, dialogs, exit);
    const double ms = msSince(timer);
    require(loaded && dialogs.messages.isEmpty(), "OPFILE1 did not load the journal");
    return ms;
}

// The whole text encoded and written in place of a file: what any save has to do at least.
double floorSave(const QString &text, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    require(writeFileAtomically(path, Cp1251::encode(text)), "cannot write the floor file");
    return msSince(timer);
}

// From construction (screen check, OPFILE1, settings, ZAPOLNTABL) to the grid's first paint
// on screen.
double startUp(TestPlatform &test)
{
    auto journal = std::make_unique<Journal>();
    std::unique_ptr<Form1> form;
    PaintProbe probe;
    QElapsedTimer timer;
    timer.start();
    form = std::make_unique<Form1>(test.platform, *journal);
    form->grid()->viewport()->installEventFilter(&probe);
    form->show();
    waitForPaint(probe);
    const double ms = msSince(timer);
    require(form->isLoaded(), "the journal window did not load the journal");
    return ms;
}

// ZAPOLNTABL on the shown window, as after a deletion. The view defers its layout and paint
// to the event loop, which runs after the timer here and inside it in fillGridAndPaint.
double fillGrid(Form1 &form)
{
    QElapsedTimer timer;
    timer.start();
    form.ZAPOLNTABL();
    const double ms = msSince(timer);
    QCoreApplication::processEvents();
    return ms;
}

double fillGridAndPaint(Form1 &form)
{
    PaintProbe probe;
    form.grid()->viewport()->installEventFilter(&probe);
    QElapsedTimer timer;
    timer.start();
    form.ZAPOLNTABL();
    waitForPaint(probe);
    return msSince(timer);
}

struct MemoryFigure
{
    qint64 heap;
    qint64 tableUsage;
};

// The heap a journal costs once OPFILE1 has loaded it, its empty slots included.
MemoryFigure journalMemory(const QString &folder)
{
    ScriptedDialogs dialogs;
    RecordingExit exit;
    const qint64 before = heapInUse();
    auto journal = std::make_unique<Journal>();
    require(OPFILE1(*journal, folder, dialogs, exit), "OPFILE1 did not load the journal");
    return {heapInUse() - before, qint64(journal->table.memoryUsage())};
}

// ---------------------------------------------------------------------------------------------
// The figures

// The program folder of the window under test holds the full journal, a second folder a
// journal of one record; floors and saves write beside them.
struct Setup
{
    TestPlatform test;
    QTemporaryDir work;
    QByteArray bytes;
    QString singleFolder;

    Setup() : bytes(journalBytes(kRecords)), singleFolder(work.filePath(QStringLiteral("single")))
    {
        require(work.isValid() && QDir().mkpath(singleFolder), "cannot make a temporary folder");
        test.writeJournal(bytes);
        writeFile(QDir(singleFolder).filePath(JournalFile::fileName()), journalBytes(1));
    }
};

Row floorRow(const QString &figure, double value)
{
    return {figure, ms(value), QStringLiteral("-"), QStringLiteral("1.00x"), QStringLiteral("-")};
}

// Where freed memory goes between runs. glibc moves its thresholds as large blocks come and
// go, so that without pinning them a run drifts between reusing memory it has already touched
// and asking the system for new pages, and a floor of 5 ms becomes one of 16 ms from one run to
// the next. Pinned, every run of a floor and a figure meets memory in the same state.
enum class Memory {
    // Large blocks mapped afresh and the heap given back when freed: every run meets new pages,
    // as the program's one load at start-up does.
    Fresh,
    // Everything kept on the heap: every run reuses memory already touched.
    Warm,
};

void pinAllocator(Memory memory)
{
    const bool fresh = memory == Memory::Fresh;
    require(mallopt(M_MMAP_THRESHOLD, fresh ? 128 * 1024 : 32 * 1024 * 1024) == 1
                && mallopt(M_TRIM_THRESHOLD, fresh ? 128 * 1024 : 1024 * 1024 * 1024) == 1,
            "cannot pin the allocator's thresholds");
}

void loadRows(Setup &setup, std::vector<Row> &rows)
{
    const QString path = setup.test.journalPath();
    const QString folder = setup.test.folder();
    quint64 found = 0;
    const auto floor = [&] { return floorLoad(path); };
    const auto load = [&] { return loadJournal(folder); };
    const auto scan = [&] { return readAndScan(path, &found); };
    pinAllocator(Memory::Fresh);
    const auto [freshFloor, freshLoad] = medianPair(floor, load);
    rows.push_back(floorRow(QStringLiteral("floor_load (readAll + decode)"), freshFloor));
    rows.push_back(
        againstFloor(QStringLiteral("OPFILE1 load"), freshLoad, freshFloor, 3, QStringLiteral("floor_load")));

    // The same in memory that is already touched: no page faults on either side, so the ratio
    // shows the parse and the table alone.
    pinAllocator(Memory::Warm);
    const auto [warmFloor, warmLoad] = medianPair(floor, load);
    rows.push_back(floorRow(QStringLiteral("  floor_load_warm (readAll + decode)"), warmFloor));
    rows.push_back(againstFloor(QStringLiteral("  OPFILE1 load, warm memory"), warmLoad, warmFloor, 2.5,
                                QStringLiteral("floor_load_warm")));
    const auto [warmScan, warmLoadAgain] = medianPair(scan, load);
    rows.push_back({QStringLiteral("  readAll + one scan, warm (load / it)"), ms(warmScan), QStringLiteral("-"),
                    times(warmLoadAgain / warmScan), QStringLiteral("-")});
    // The same three on the thread's processor time.
    const auto [cpuFloor, cpuLoad] = medianPair(onCpu(floor), onCpu(load));
    const auto [cpuScan, cpuLoadAgain] = medianPair(onCpu(scan), onCpu(load));
    rows.push_back(info(QStringLiteral("  CPU: floor_load_warm"), ms(cpuFloor)));
    rows.push_back({QStringLiteral("  CPU: OPFILE1 load, warm (load / floor)"), ms(cpuLoad), QStringLiteral("-"),
                    times(cpuLoad / cpuFloor), QStringLiteral("-")});
    rows.push_back({QStringLiteral("  CPU: readAll + one scan (load / it)"), ms(cpuScan), QStringLiteral("-"),
                    times(cpuLoadAgain / cpuScan), QStringLiteral("-")});
    pinAllocator(Memory::Fresh);
    require(found > 0, "the scan found no separators");
}

void saveRows(Setup &setup, std::vector<Row> &rows)
{
    auto journal = std::make_unique<Journal>();
    ScriptedDialogs dialogs;
    RecordingExit exit;
    require(OPFILE1(*journal, setup.test.folder(), dialogs, exit), "OPFILE1 did not load the journal");
    journal->JournalPath = setup.work.filePath(QStringLiteral("saved"));

    const QString text = Cp1251::decode(setup.bytes);
    const QString floorPath = setup.work.filePath(QStringLiteral("floor"));
    const auto [floor, save] = medianPair([&] { return floorSave(text, floorPath); },
                                          [&] { return saveJournal(*journal); });
    // The generated journal needs no cleaning, so the save must give back its very bytes.
    QFile saved(journal->JournalPath);
    require(saved.open(QIODevice::ReadOnly) && saved.readAll() == setup.bytes,
            "the saved journal differs from the loaded one");
    rows.push_back(floorRow(QStringLiteral("floor_save (encode + atomic write)"), floor));
    rows.push_back(againstFloor(QStringLiteral("SaveJournal"), save, floor, 3, QStringLiteral("floor_save")));

    // The first save of a day copies the journal on disk first: one more read and atomic write
    // of the same bytes. Against a save of the same journal whose day already has its copy.
    FixedClock &clock = setup.test.clock;
    journal->autoCopy.start(clock, AutoCopySettings{});
    saveJournal(*journal); // the day's copy of the start day
    const auto [alone, firstOfDay] = medianPair([&] { return saveJournal(*journal); },
                                                [&] {
                                                    clock.time = clock.time.addDays(1);
                                                    return saveJournal(*journal);
                                                });
    const QDir copies(AutoCopy::folderOf(journal->JournalPath));
    // The copies and their list.
    require(copies.entryList(QDir::Files).size() == kRuns + 3, "not every first save of a day made a copy");
    rows.push_back(floorRow(QStringLiteral("floor_save_alone (SaveJournal, day's copy made)"), alone));
    rows.push_back(againstFloor(QStringLiteral("SaveJournal, first of a day (+ copy)"), firstOfDay, alone, 2,
                                QStringLiteral("floor_save_alone")));
}

void windowRows(Setup &setup, std::vector<Row> &rows)
{
    // The first start-up of the process also pays for fonts, style and icons, as the program's
    // own start does; the later ones show what the window itself costs.
    const double first = startUp(setup.test);
    const double later = medianOf([&] { return startUp(setup.test); });
    rows.push_back(absolute(QStringLiteral("Form1 start-up, first in process"), first, 300));
    rows.push_back(absolute(QStringLiteral("Form1 start-up, median of later"), later, 300));

    auto journal = std::make_unique<Journal>();
    Form1 form(setup.test.platform, *journal);
    form.show();
    QCoreApplication::processEvents();
    const double fill = medianOf([&] { return fillGrid(form); });
    const double fillAndPaint = medianOf([&] { return fillGridAndPaint(form); });
    rows.push_back(absolute(QStringLiteral("ZAPOLNTABL, 20000 records"), fill, 10));
    rows.push_back(info(QStringLiteral("  ZAPOLNTABL + the repaint it asks for"), ms(fillAndPaint)));
}

void memoryRows(const MemoryFigure &full, const MemoryFigure &single, qint64 fileSize, std::vector<Row> &rows)
{
    const double ratio = double(full.heap) / double(fileSize);
    rows.push_back({QStringLiteral("journal heap after OPFILE1"), mb(full.heap), QStringLiteral("<= 3x file size"),
                    times(ratio), verdict(ratio <= 3)});
    rows.push_back(info(QStringLiteral("  RecordTable::memoryUsage()"), mb(full.tableUsage)));
    constexpr qint64 kSingleLimit = 5 * 1024 * 1024;
    rows.push_back({QStringLiteral("journal heap, one record"), mb(single.heap),
                    QStringLiteral("<= ") + mb(kSingleLimit), QStringLiteral("-"),
                    verdict(single.heap <= kSingleLimit)});
    rows.push_back(info(QStringLiteral("  RecordTable::memoryUsage()"), mb(single.tableUsage)));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Setup setup;
    std::printf("journal: %d records, %lld bytes (%s) in %s\n", kRecords, qint64(setup.bytes.size()),
                qPrintable(mb(setup.bytes.size())), qPrintable(QDir::toNativeSeparators(setup.test.journalPath())));

    // Memory first, while no earlier figure has left anything on the heap.
    const MemoryFigure full = journalMemory(setup.test.folder());
    const MemoryFigure single = journalMemory(setup.singleFolder);

    std::vector<Row> rows;
    loadRows(setup, rows);
    saveRows(setup, rows);
    windowRows(setup, rows);
    memoryRows(full, single, setup.bytes.size(), rows);

    std::printf("\nmedians of %d runs after one unmeasured run\n\n", kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}
