// The certificate print window: opening it (the frame built, LoadPrintForm run, the page painted
// for the first time, offscreen), the first time in the process and later, against a floor of
// the same run: a bare frame window showing what the page shows, ready-made. Also the heap after
// ten openings and closings, and one arrow-key move of all 44 labels with its repaint.

#include "BenchSupport.h"
#include "FakeEditorBoxes.h"
#include "PrintPageSetup.h"
#include "TestPlatform.h"
#include "certificate/BuiltInLayout.h"
#include "certificate/LabelFontTable.h"
#include "certificate/LayoutState.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/frmPTS1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QTest>

#include <cstdio>
#include <memory>

#include <sys/resource.h>

namespace {

using namespace bench;

using Setup = PrintPageSetup;

// The heap after the fifth and the tenth closing of the print window in the process.
struct HeapWatch
{
    int closings = 0;
    qint64 afterFifth = 0;
    qint64 afterTenth = 0;

    void closed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ++closings;
        if (closings == 5)
            afterFifth = heapInUse();
        if (closings == 10)
            afterTenth = heapInUse();
    }
};

// Processor time the process has used, in milliseconds: on a machine shared with other work
// the first opening's wall time grows with the load, its processor time much less.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// From the preview button's call to the first paint of the page.
double openToFirstPaint(Setup &setup, HeapWatch &heap, QSize *frameSize = nullptr, double *processorMs = nullptr)
{
    PaintProbe probe;
    const double cpuBefore = cpuMs();
    QElapsedTimer timer;
    timer.start();
    auto frame = std::make_unique<MDIForm1>(setup.test.platform, setup.state, setup.editor);
    frame->printWindow()->view().viewport()->installEventFilter(&probe);
    frame->show();
    waitForPaint(probe);
    const double ms = msSince(timer);
    if (processorMs)
        *processorMs = cpuMs() - cpuBefore;
    require(setup.test.dialogs.messages.isEmpty(), "the print window showed a message");
    if (frameSize)
        *frameSize = frame->size();
    frame->close();
    frame.reset();
    heap.closed();
    return ms;
}

// The least a window showing the page can cost: a frame window of the same size with a view of
// the two blanks, already drawn, and the 44 texts as plain text items in the labels' face.
struct Floor
{
    QPixmap blank1;
    QPixmap blank2;
    QStringList texts;
    QSize frameSize;

    double toFirstPaint() const
    {
        PaintProbe probe;
        QElapsedTimer timer;
        timer.start();
        QMainWindow frame;
        auto *view = new QGraphicsView(&frame);
        auto *scene = new QGraphicsScene(view);
        view->setScene(scene);
        view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        frame.setCentralWidget(view);
        const qreal pxPerMm = view->logicalDpiX() / 25.4;
        scene->addPixmap(blank1)->setPos(124 * pxPerMm, 81 * pxPerMm);
        scene->addPixmap(blank2)->setPos(210 * pxPerMm, 82 * pxPerMm);
        QFont font(QStringLiteral("Liberation Mono"));
        font.setPixelSize(13);
        for (int i = 0; i < texts.size(); ++i) {
            const MmPoint at = BuiltInLayout::designPosition(i);
            scene->addSimpleText(texts.at(i), font)->setPos(at.left * pxPerMm, at.top * pxPerMm);
        }
        scene->setSceneRect(0, 0, frameSize.width(), frameSize.height());
        view->viewport()->installEventFilter(&probe);
        frame.resize(frameSize);
        frame.show();
        waitForPaint(probe);
        return msSince(timer);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Setup setup;
    std::vector<Row> rows;

    // The program has shown its journal and editor windows before the certificate opens: the
    // application's own start-up (font database, styles) is not the print window's.
    {
        QLabel editor(QStringLiteral("Свидетельство о регистрации ТС"));
        PaintProbe probe;
        editor.installEventFilter(&probe);
        editor.show();
        waitForPaint(probe);
    }
    HeapWatch heap;
    Floor floor;
    double firstCpu = 0;
    const double first = openToFirstPaint(setup, heap, &floor.frameSize, &firstCpu);

    QImage blank(302, 429, QImage::Format_ARGB32_Premultiplied);
    blank.fill(QColor(243, 230, 228));
    floor.blank1 = QPixmap::fromImage(blank);
    floor.blank2 = QPixmap::fromImage(blank);
    for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
        floor.texts << setup.editor.texts[size_t(i)];
    const auto [bare, later] = medianPair([&] { return floor.toFirstPaint(); },
                                          [&] { return openToFirstPaint(setup, heap); });
    require(heap.closings >= 10, "fewer than ten openings");

    rows.push_back(info(QStringLiteral("floor_frame: bare frame, 2 pixmaps, 44 texts"), ms(bare)));
    rows.push_back(absolute(QStringLiteral("open print window, first in the run"), first, 60));
    rows.push_back(info(QStringLiteral("  its processor time"), ms(firstCpu)));
    rows.push_back(absolute(QStringLiteral("open print window, later (median)"), later, 25));
    rows.push_back(againstFloor(QStringLiteral("  later openings against the floor"), later, bare, 2,
                                QStringLiteral("floor_frame")));
    rows.push_back(info(QStringLiteral("heap after 10 openings and closings"), mb(heap.afterTenth)));
    // Allocators keep a few free blocks here and there; a leaked raster (0.5 MiB), window or
    // font engine per opening is far more than this.
    constexpr qint64 kGrowthLimit = 64 * 1024;
    const qint64 growth = heap.afterTenth - heap.afterFifth;
    rows.push_back({QStringLiteral("heap growth, 5th to 10th closing"),
                    QString::number(growth / 1024.0, 'f', 1) + QStringLiteral(" KiB"),
                    QStringLiteral("<= %1 KiB").arg(kGrowthLimit / 1024), QStringLiteral("-"),
                    verdict(growth <= kGrowthLimit)});

    MDIForm1 frame(setup.test.platform, setup.state, setup.editor);
    frame.show();
    frmPTS1 &window = *frame.printWindow();
    PaintProbe probe;
    window.view().viewport()->installEventFilter(&probe);
    waitForPaint(probe);
    window.SelectAllLabels();
    waitForPaint(probe);
    const double move = medianOf([&] { return arrowMove(window, probe); });
    rows.push_back(absolute(QStringLiteral("arrow move of 44 labels with repaint"), move, 5));
    setup.test.dialogs.answers = {Dialogs::Answer::No};
    frame.close();

    std::printf("\nfirst opening once; the others medians of %d runs after one unmeasured run\n\n", kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}
