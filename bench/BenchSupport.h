#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <utility>
#include <vector>

class QEvent;
struct Journal;

// Every benchmark prints one table of rows in the same columns (figure, value, target, ratio,
// result), so that bench/run can gather them. A result is PASS, FAIL, or "-" for floors and
// figures shown for information; a benchmark exits with 1 when a row failed.
namespace bench {

constexpr int kRuns = 9;

[[noreturn]] void die(const char *what);
void require(bool ok, const char *what);

// A journal of `records` lines as the operators fill it: Cyrillic and Latin, about 40 of the
// 200 fields of a record filled, the same bytes in every run.
QByteArray journalBytes(int records);
void writeFile(const QString &path, const QByteArray &bytes);

double msSince(const QElapsedTimer &timer);
double median(std::vector<double> values);
// SaveJournal of the whole journal, in milliseconds; a failed save ends the benchmark.
double saveJournal(Journal &journal);
// Bytes the process holds on the heap, the mapped large blocks included.
qint64 heapInUse();

// Medians of a floor and a figure run in turns, after one unmeasured run of each (the first
// run pays for page faults and lazily built tables that a steady state does not see).
template<class Floor, class Figure>
std::pair<double, double> medianPair(Floor floor, Figure figure)
{
    floor();
    figure();
    std::vector<double> floors, figures;
    for (int i = 0; i < kRuns; ++i) {
        floors.push_back(floor());
        figures.push_back(figure());
    }
    return {median(floors), median(figures)};
}

template<class Figure>
double medianOf(Figure figure)
{
    figure();
    std::vector<double> values;
    for (int i = 0; i < kRuns; ++i)
        values.push_back(figure());
    return median(values);
}

// Counts the paints of a widget, so a figure can stop at its first real paint.
class PaintProbe final : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
// Runs the event loop until the probed widget has been painted.
void waitForPaint(const PaintProbe &probe);

struct Row
{
    QString figure;
    QString value;
    QString target;
    QString ratio;
    QString result; // PASS, FAIL, or "-" for floors and information
};

QString ms(double value);
QString mb(qint64 bytes);
QString times(double ratio);
QString verdict(bool pass);
Row againstFloor(const QString &figure, double value, double floor, double limit, const QString &floorName);
Row absolute(const QString &figure, double value, double limitMs);
Row info(const QString &figure, const QString &value);
void print(const std::vector<Row> &rows);
bool allPass(const std::vector<Row> &rows);

} // namespace bench
