// The certificate print window: opening it (the frame built, LoadPrintForm run, the page painted
// for the first time, offscreen) and one arrow-key move of all 44 labels with its repaint.
// Both are operator-facing latencies with absolute targets.

#include "BenchSupport.h"
#include "FakeEditorBoxes.h"
#include "TestPlatform.h"
#include "layout/LayoutState.h"
#include "layout/MDIForm1.h"
#include "layout/frmPTS1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

using namespace bench;

struct Setup
{
    TestPlatform test;
    LayoutState state;
    FakeEditorBoxes editor;

    Setup()
    {
        // Pictures of the size of real scans of a stamp and a signature.
        QImage stamp(400, 400, QImage::Format_ARGB32);
        stamp.fill(QColor(20, 40, 200, 180));
        require(stamp.save(test.platform.programFile(QStringLiteral("pechat.png"))), "cannot write the stamp");
        QImage signature(300, 120, QImage::Format_ARGB32);
        signature.fill(QColor(10, 10, 90, 200));
        require(signature.save(test.platform.programFile(QStringLiteral("podpis.png"))), "cannot write the signature");
        for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
            editor.texts[size_t(i)] = QStringLiteral("ИВАНОВ-ПЕТРОВ %1 XTA210930").arg(i);
    }
};

// From the preview button's call to the first paint of the page.
double openToFirstPaint(Setup &setup)
{
    PaintProbe probe;
    QElapsedTimer timer;
    timer.start();
    auto frame = std::make_unique<MDIForm1>(setup.test.platform, setup.state, setup.editor);
    frame->printWindow()->view().viewport()->installEventFilter(&probe);
    frame->show();
    waitForPaint(probe);
    const double ms = msSince(timer);
    require(setup.test.dialogs.messages.isEmpty(), "the print window showed a message");
    frame->close();
    return ms;
}

// One Down key with every label selected, until the page has been painted again.
double moveAllLabels(frmPTS1 &window, PaintProbe &probe)
{
    probe.paints = 0;
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(&window.view(), Qt::Key_Down);
    waitForPaint(probe);
    return msSince(timer);
}

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
    const double cold = openToFirstPaint(setup);
    const double open = medianOf([&] { return openToFirstPaint(setup); });
    rows.push_back(absolute(QStringLiteral("open print window to first paint"), open, 150));
    rows.push_back(absolute(QStringLiteral("  first open of the run"), cold, 150));

    MDIForm1 frame(setup.test.platform, setup.state, setup.editor);
    frame.show();
    frmPTS1 &window = *frame.printWindow();
    PaintProbe probe;
    window.view().viewport()->installEventFilter(&probe);
    waitForPaint(probe);
    window.SelectAllLabels();
    waitForPaint(probe);
    const double move = medianOf([&] { return moveAllLabels(window, probe); });
    rows.push_back(absolute(QStringLiteral("arrow move of 44 labels with repaint"), move, 5));
    setup.test.dialogs.answers = {Dialogs::Answer::No};
    frame.close();

    std::printf("\nmedians of %d runs after one unmeasured run\n\n", kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}
