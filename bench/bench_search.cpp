// Finding records in the 20000-record journal: the scan of the five searched fields alone, and
// Find as the operator starts it (Enter in the search box), marks and scroll included, with the
// grid's painting held off until the marks are complete. Three texts: one found nowhere (every
// field read to its end), a colour on about one record in eight and a VIN prefix on about one
// in three (most marks to set).

#include "BenchSupport.h"
#include "TestPlatform.h"
#include "journal/Journal.h"
#include "journal/JournalSearch.h"
#include "journal/RecordTable.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/journal/Form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <cstdio>
#include <ctime>
#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace bench;

constexpr int kRecords = 20000;
constexpr double kFindLimitMs = 10;
constexpr double kScanLimitMs = 3;

struct Query
{
    QString text;
    QString name;
};

// The time this thread spent on a processor: on a machine shared with other work, the wall
// clock also counts the time the thread waited for a turn.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template<class Figure>
double cpuMedianOf(Figure figure)
{
    return medianOf([&] {
        const double start = threadCpuMs();
        figure();
        return threadCpuMs() - start;
    });
}

// What any scan has to do at least: read every byte of the five searched fields once.
double floorScan(const Journal &journal, quint64 *sum)
{
    QElapsedTimer timer;
    timer.start();
    quint64 total = 0;
    quint32 ends[14];
    for (int i = 1; i <= journal.RecordCount; ++i) {
        const RecordTable::RecordView record = journal.table.record(i);
        if (!record.endsData())
            continue;
        record.ends(13, ends);
        const auto *bytes = reinterpret_cast<const unsigned char *>(record.bytes().data());
        for (const unsigned char *p = bytes + ends[1], *e = bytes + ends[4]; p < e; ++p)
            total += *p;
        for (const unsigned char *p = bytes + ends[11], *e = bytes + ends[13]; p < e; ++p)
            total += *p;
    }
    const double ms = msSince(timer);
    *sum += total;
    return ms;
}

double scan(const Journal &journal, const QString &text, size_t *hits)
{
    QElapsedTimer timer;
    timer.start();
    const std::vector<int> found = JournalSearch::find(journal.table, journal.RecordCount, text);
    const double ms = msSince(timer);
    *hits = found.size();
    return ms;
}

// Enter in the search box, as the operator finds; the scripted message box answers at once.
double find(Form1 &form, QLineEdit *box, bool waitForPaint)
{
    PaintProbe probe;
    form.grid()->viewport()->installEventFilter(&probe);
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(box, Qt::Key_Return);
    if (waitForPaint)
        bench::waitForPaint(probe);
    const double ms = msSince(timer);
    form.grid()->viewport()->removeEventFilter(&probe);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TestPlatform test;
    test.writeJournal(journalBytes(kRecords));
    auto journal = std::make_unique<Journal>();
    Form1 form(test.platform, *journal);
    require(form.isLoaded() && journal->RecordCount == kRecords, "the journal did not load");
    form.show();
    QCoreApplication::processEvents();
    auto *box = form.findChild<QLineEdit *>(QStringLiteral("txtfind"));
    require(box, "no search box");
    std::printf("journal: %d records\n", kRecords);

    const std::vector<Query> queries = {
        {QStringLiteral("ЖЖЖ"), QStringLiteral("found nowhere")},
        {QStringLiteral("вишнев"), QStringLiteral("colour")},
        {QStringLiteral("xta"), QStringLiteral("VIN prefix")},
    };
    std::vector<Row> rows;
    quint64 sum = 0;
    for (const Query &q : queries) {
        size_t hits = 0;
        // The floor and the scan in turns, so that a change in the machine's load hits both.
        const auto [floor, scanMs] = medianPair([&] { return floorScan(*journal, &sum); },
                                                [&] { return scan(*journal, q.text, &hits); });
        box->setText(q.text);
        const double findMs = medianOf([&] { return find(form, box, false); });
        const double paintedMs = medianOf([&] { return find(form, box, true); });
        require(!test.dialogs.messages.isEmpty(), "Find showed no result");
        const double scanCpu = cpuMedianOf([&] { return scan(*journal, q.text, &hits); });
        const double findCpu = cpuMedianOf([&] { return find(form, box, false); });
        const QString label = QStringLiteral("\"%1\" (%2, %3 hits)").arg(q.text, q.name).arg(hits);
        rows.push_back(info(QStringLiteral("query ") + label, QString()));
        rows.push_back({QStringLiteral("  floor_scan (read the five fields)"), ms(floor), QStringLiteral("-"),
                        QStringLiteral("1.00x"), QStringLiteral("-")});
        rows.push_back({QStringLiteral("  search scan"), ms(scanMs), QStringLiteral("<= ") + ms(kScanLimitMs),
                        times(scanMs / floor), verdict(scanMs <= kScanLimitMs)});
        rows.push_back(absolute(QStringLiteral("  Find, marks included"), findMs, kFindLimitMs));
        rows.push_back(info(QStringLiteral("  Find + the repaint it asks for"), ms(paintedMs)));
        rows.push_back(info(QStringLiteral("  search scan, thread CPU time"), ms(scanCpu)));
        rows.push_back(info(QStringLiteral("  Find, thread CPU time"), ms(findCpu)));
    }

    std::printf("\nmedians of %d runs after one unmeasured run\n\n", kRuns);
    print(rows);
    std::printf("\n(floor checksum %llu)\n", static_cast<unsigned long long>(sum));
    return allPass(rows) ? 0 : 1;
}
