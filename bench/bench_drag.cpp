// A drag of every label of the certificate page with the mouse: each pointer move with the left
// button held, until the page has been painted again, with all 44 labels selected (the most a
// move has to carry), offscreen; the median and the worst, the worst also in the processor
// time of the move itself. The floor of the same run is one arrow-key move of the same labels
// with its repaint. Then a drag kept up for 20 seconds, and the process's resident
// memory and heap before it and after its release: once done, a drag leaves only its one step
// for "Отменить".

#include "BenchSupport.h"
#include "FakeEditorBoxes.h"
#include "PrintPageSetup.h"
#include "TestPlatform.h"
#include "certificate/CertificateLayout.h"
#include "certificate/LabelFontTable.h"
#include "certificate/LayoutState.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/frmPTS1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsView>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>

#include <time.h>
#include <unistd.h>

namespace {

using namespace bench;

constexpr double kMoveLimitMs = 8;
constexpr int kMoves = 600;
constexpr qint64 kLongDragMs = 20000;
// Allocators keep a few free blocks here and there; the drag's own step for "Отменить" is two
// copies of the page's places and fonts, a few KiB.
constexpr qint64 kHeapGrowthLimit = 64 * 1024;
constexpr qint64 kRssGrowthLimit = 512 * 1024;

using Setup = PrintPageSetup;

// Resident memory of the process, in bytes.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    require(statm.open(QIODevice::ReadOnly), "cannot read /proc/self/statm");
    const QList<QByteArray> fields = statm.readAll().split(' ');
    require(fields.size() > 1, "unexpected /proc/self/statm");
    return fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Processor time of this thread: on a machine shared with other work a move's wall time now
// and then includes a wait for a processor that the move itself did not cause.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

QString kib(qint64 bytes)
{
    return QString::number(double(bytes) / 1024.0, 'f', 1) + QStringLiteral(" KiB");
}

// The mouse over the page, as a drag sends it.
class Pointer
{
public:
    Pointer(frmPTS1 &window, PaintProbe &probe) : m_window(window), m_probe(probe) {}

    QWidget *viewport() const { return m_window.view().viewport(); }
    // Label 9, pressed with Ctrl so that the others stay selected, and moved past the start
    // distance.
    void press()
    {
        const CertificateLayout::Label &label = m_window.layout().label(9);
        m_at = m_start = m_window.view().mapFromScene(QPointF(label.pos.left + 0.8, label.pos.top + label.height / 2));
        m_dx = 4;
        QTest::mousePress(viewport(), Qt::LeftButton, Qt::ControlModifier, m_at);
        m_at += QPoint(12, 0);
        send();
    }
    // Four pixels on, a millimetre and more, back and forth over 300 pixels: every move
    // puts the labels elsewhere. Returns the milliseconds until the page is painted again.
    double move(double *processorMs = nullptr)
    {
        if (m_at.x() - m_start.x() >= 300 || m_at.x() - m_start.x() < 0)
            m_dx = -m_dx;
        m_at += QPoint(m_dx, 0);
        const double cpuBefore = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        send();
        const double ms = msSince(timer);
        if (processorMs)
            *processorMs = threadCpuMs() - cpuBefore;
        return ms;
    }
    void release()
    {
        QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::ControlModifier, m_at);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    void send()
    {
        m_probe.paints = 0;
        QMouseEvent event(QEvent::MouseMove, m_at, viewport()->mapToGlobal(m_at), Qt::NoButton, Qt::LeftButton,
                          Qt::ControlModifier);
        QApplication::sendEvent(viewport(), &event);
        waitForPaint(m_probe);
    }

    frmPTS1 &m_window;
    PaintProbe &m_probe;
    QPoint m_start;
    QPoint m_at;
    int m_dx = 4;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Setup setup;
    std::vector<Row> rows;

    MDIForm1 frame(setup.test.platform, setup.state, setup.editor);
    frame.show();
    frmPTS1 &window = *frame.printWindow();
    PaintProbe probe;
    window.view().viewport()->installEventFilter(&probe);
    waitForPaint(probe);
    window.SelectAllLabels();
    waitForPaint(probe);

    const double floor = medianOf([&] { return arrowMove(window, probe); });

    Pointer pointer(window, probe);
    // One drag first: what a first drag builds once (the status texts, the paths of the paint)
    // is not the steady move.
    pointer.press();
    for (int n = 0; n < 100; ++n)
        pointer.move();
    pointer.release();

    pointer.press();
    std::vector<double> moves;
    std::vector<double> processor;
    for (int n = 0; n < kMoves; ++n) {
        double cpu = 0;
        moves.push_back(pointer.move(&cpu));
        processor.push_back(cpu);
    }
    pointer.release();
    require(window.undoStack().count() >= 2, "the drags left no step");
    const double worst = *std::max_element(moves.begin(), moves.end());
    const double worstProcessor = *std::max_element(processor.begin(), processor.end());
    std::vector<double> sorted = moves;
    std::sort(sorted.begin(), sorted.end());
    const double p99 = sorted[sorted.size() * 99 / 100];

    // What any drag leaves: its step for "Отменить".
    std::vector<double> shortDrags;
    for (int k = 0; k < 5; ++k) {
        const qint64 before = heapInUse();
        pointer.press();
        pointer.move();
        pointer.release();
        shortDrags.push_back(double(heapInUse() - before));
    }

    const qint64 rssBefore = residentBytes();
    const qint64 heapBefore = heapInUse();
    pointer.press();
    QElapsedTimer held;
    held.start();
    int longMoves = 0;
    while (held.elapsed() < kLongDragMs) {
        pointer.move();
        ++longMoves;
    }
    pointer.release();
    const qint64 rssGrowth = residentBytes() - rssBefore;
    const qint64 heapGrowth = heapInUse() - heapBefore;

    rows.push_back(info(QStringLiteral("floor_arrow: arrow move of 44 labels"), ms(floor)));
    rows.push_back(absolute(QStringLiteral("drag move of 44 labels, median"), median(moves), kMoveLimitMs));
    // The worst wall time is the machine's load as much as the move's: the target holds the
    // worst move's own processor time.
    rows.push_back(info(QStringLiteral("drag move of 44 labels, 99th percentile"), ms(p99)));
    rows.push_back(info(QStringLiteral("drag move of 44 labels, worst"), ms(worst)));
    rows.push_back(absolute(QStringLiteral("  worst in processor time"), worstProcessor, kMoveLimitMs));
    rows.push_back(info(QStringLiteral("  median against the arrow move"), times(median(moves) / floor)));
    rows.push_back(info(QStringLiteral("20 s drag: pointer moves"), QString::number(longMoves)));
    rows.push_back(info(QStringLiteral("20 s drag: resident memory before"), mb(rssBefore)));
    rows.push_back({QStringLiteral("20 s drag: resident memory growth"), kib(rssGrowth),
                    QStringLiteral("<= ") + kib(kRssGrowthLimit), QStringLiteral("-"),
                    verdict(rssGrowth <= kRssGrowthLimit)});
    rows.push_back(info(QStringLiteral("short drag: heap growth (its undo step)"), kib(qint64(median(shortDrags)))));
    rows.push_back({QStringLiteral("20 s drag: heap growth"), kib(heapGrowth),
                    QStringLiteral("<= ") + kib(kHeapGrowthLimit), QStringLiteral("-"),
                    verdict(heapGrowth <= kHeapGrowthLimit)});

    setup.test.dialogs.answers = {Dialogs::Answer::No};
    frame.close();

    std::printf("\n%d pointer moves of one drag after a drag of 100; the floor a median of %d runs\n\n", kMoves, kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}
