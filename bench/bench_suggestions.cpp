// The editor's suggestions over the generated 20000-record journal: the index's build and
// memory, one keystroke's lookup, and an operator who enters the journal's last 2000 records
// with and without them.
//
// How the generated journal repeats: the make and model is one of 10, and it decides the Latin
// make and model, type, category, engine model, power, displacement and both masses; surnames
// (10), first names (8), patronymics (6), places (6: region, district, town, traffic-police
// unit), streets (8), colours (8) and notes (6) recur; the year is one of 30; the passport series
// is the region's code and two random letters; the contract line's date, the second notes line
// and field 41 are nearly unique, as are the plate, VIN, numbers and dates, which have no
// suggestions.
//
// The operator of the replay fills the shown boxes 2..41 in order. Without suggestions a box
// costs its characters and one key to move on (Enter, Tab or the click an Enter-skipped box
// needs). With them the operator types a character at a time and, as soon as the wanted value
// is among the first three shown, takes it with Down (once per place) and Enter. A box that the
// make and model filled costs one key when it holds the wanted value, and Ctrl+A plus the
// typing when it does not. Each replayed record is stored before the next one starts, and the
// index is brought up to date as the editor's opening does.
//
// Times are the thread's processor time: the machine is shared, and the wall clock also counts
// the turns the thread waited for.

#include "BenchSupport.h"
#include "TestPlatform.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/RecordTable.h"
#include "journal/SuggestionIndex.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

using namespace bench;

constexpr int kRecords = 20000;
constexpr int kReplayed = 2000;
constexpr int kFirstReplayed = kRecords - kReplayed + 1;
constexpr int kShownLast = 41;
constexpr int kTakenAmong = 3;
constexpr std::array<int, 8> kVehicleFields = {5, 6, 7, 9, 14, 15, 18, 19};

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Each keystroke's lookup once, and the least of three runs of it.
using Lookups = std::pair<std::vector<double>, std::vector<double>>;

struct Keystrokes
{
    qint64 plain = 0;
    qint64 suggested = 0;
};

// Keys for one box with suggestions: typing until the value is among the first three shown.
int suggestedKeys(const SuggestionIndex &index, int field, const QString &wanted, Lookups *lookups)
{
    for (int typed = 1; typed <= wanted.size(); ++typed) {
        QStringList shown;
        // The least of three runs: a run that an interrupt or another process's use of the cache
        // fell into says nothing of the lookup.
        double least = 1e9;
        for (int run = 0; run < 3; ++run) {
            const double start = threadCpuMs();
            shown = index.lookup(field, QStringView(wanted).first(typed));
            least = std::min(least, threadCpuMs() - start);
            if (run == 0)
                lookups->first.push_back(least);
        }
        lookups->second.push_back(least);
        const int at = int(shown.indexOf(wanted));
        if (at >= 0 && at < kTakenAmong)
            return typed + at + 1 + 1; // the typing, Down to the value, Enter
    }
    return int(wanted.size()) + 1;
}

Keystrokes replay(Journal &journal, Lookups *lookups, std::vector<double> *updates, int *filledRight)
{
    Keystrokes keys;
    const RecordTable &table = journal.table;
    for (int record = kFirstReplayed; record <= kRecords; ++record) {
        // What the make and model brings, from the last earlier record with it.
        const QString make = table.text(record, 4);
        const int source = journal.suggestions.latestRecordWith(4, make);
        for (int field = 2; field <= kShownLast; ++field) {
            if (field == 5)
                continue; // never shown: only filled
            const QString wanted = table.text(record, field);
            keys.plain += wanted.size() + 1;
            const bool filled = source > 0
                && std::find(kVehicleFields.begin(), kVehicleFields.end(), field) != kVehicleFields.end();
            const QString there = filled ? table.text(source, field) : QString();
            if (!there.isEmpty() && there == wanted) {
                keys.suggested += 1;
                ++*filledRight;
            } else if (!SuggestionIndex::hasSuggestions(field) || wanted.isEmpty()) {
                keys.suggested += (there.isEmpty() ? 0 : 1) + wanted.size() + 1;
            } else {
                keys.suggested += (there.isEmpty() ? 0 : 1)
                    + suggestedKeys(journal.suggestions, field, wanted, lookups);
            }
        }
        if (source > 0 && table.text(source, 5) == table.text(record, 5))
            ++*filledRight;
        // The record is stored; the next editor brings the index up to date.
        const double start = threadCpuMs();
        journal.suggestions.update(table, record);
        updates->push_back(threadCpuMs() - start);
    }
    return keys;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestPlatform test;
    const QByteArray bytes = journalBytes(kRecords);
    test.writeJournal(bytes);
    auto journal = std::make_unique<Journal>();
    require(OPFILE1(*journal, test.folder(), test.dialogs, test.exit) && journal->RecordCount == kRecords,
            "the journal did not load");
    std::printf("journal: %d records, %s\n", kRecords, qPrintable(mb(bytes.size())));

    std::vector<Row> rows;
    const qint64 before = heapInUse();
    double start = threadCpuMs();
    journal->suggestions.update(journal->table, kRecords);
    const double build = threadCpuMs() - start;
    const qint64 heap = heapInUse() - before;
    rows.push_back(info(QStringLiteral("index build, 20000 records"), ms(build)));
    // The record table's count of writes widens each of its 20001 slots by 8 bytes (alignment).
    const qint64 slotGrowth = 8 * qint64(RecordTable::kMaxRecord + 1);
    const qint64 added = heap + slotGrowth;
    rows.push_back(info(QStringLiteral("  index on the heap"), mb(heap)));
    rows.push_back(info(QStringLiteral("  SuggestionIndex::memoryUsage()"), mb(journal->suggestions.memoryUsage())));
    rows.push_back(info(QStringLiteral("  record table's write counts"), mb(slotGrowth)));
    rows.push_back({QStringLiteral("memory added, of the journal file"), mb(added),
                    QStringLiteral("<= ") + mb(bytes.size() / 4), times(double(added) / double(bytes.size())),
                    verdict(added <= bytes.size() / 4)});
    start = threadCpuMs();
    journal->suggestions.update(journal->table, kRecords);
    rows.push_back(info(QStringLiteral("update, nothing changed"), ms(threadCpuMs() - start)));

    // The replay starts from the journal before its last 2000 records.
    journal->suggestions.clear();
    journal->suggestions.update(journal->table, kFirstReplayed - 1);
    Lookups lookups;
    std::vector<double> updates;
    int filledRight = 0;
    const Keystrokes keys = replay(*journal, &lookups, &updates, &filledRight);

    rows.push_back(info(QStringLiteral("keystroke lookups timed"), QString::number(lookups.first.size())));
    rows.push_back(absolute(QStringLiteral("lookup per keystroke, median"), percentile(lookups.second, 0.5), 1));
    rows.push_back(absolute(QStringLiteral("lookup per keystroke, worst"), percentile(lookups.second, 1.0), 1));
    rows.push_back(info(QStringLiteral("  one run: median"), ms(percentile(lookups.first, 0.5))));
    rows.push_back(info(QStringLiteral("  one run: 99.9%"), ms(percentile(lookups.first, 0.999))));
    rows.push_back(info(QStringLiteral("  one run: worst"), ms(percentile(lookups.first, 1.0))));
    rows.push_back(info(QStringLiteral("update after a stored record, median"), ms(percentile(updates, 0.5))));
    rows.push_back(info(QStringLiteral("update after a stored record, worst"), ms(percentile(updates, 1.0))));
    const double plain = double(keys.plain) / kReplayed;
    const double suggested = double(keys.suggested) / kReplayed;
    rows.push_back(info(QStringLiteral("keystrokes per record, without"), QString::number(plain, 'f', 1)));
    rows.push_back(info(QStringLiteral("keystrokes per record, with"), QString::number(suggested, 'f', 1)));
    rows.push_back(info(QStringLiteral("  saved"),
                        QString::number(100.0 * (1.0 - suggested / plain), 'f', 0) + QStringLiteral(" %")));
    rows.push_back(info(QStringLiteral("  boxes filled right per record"),
                        QString::number(double(filledRight) / kReplayed, 'f', 1)));

    std::printf("\n");
    print(rows);
    return allPass(rows) ? 0 : 1;
}
