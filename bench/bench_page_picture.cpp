// "Печать" of the certificate: SavePagePicture from the save dialog's answer to the written
// file, offscreen, with a filled record, the stamp and the signature. The repaint wait the
// command makes on purpose is not the program's cost and is left out of the figure.

#include "BenchSupport.h"
#include "FakeEditorBoxes.h"
#include "TestPlatform.h"
#include "certificate/LayoutState.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/PagePicture.h"
#include "windows/print/frmPTS1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGraphicsView>
#include <QImage>

#include <cstdio>

namespace {

using namespace bench;

// Lets the window repaint once, as the real wait would, and keeps the time it took apart.
class ExcludedWaitClock final : public Clock
{
public:
    double waitedMs = 0;
    int asked = 0;
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void waitProcessingEvents(int milliseconds) override
    {
        asked = milliseconds;
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::processEvents();
        waitedMs += msSince(timer);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestPlatform test;
    ExcludedWaitClock clock;
    Platform platform{*test.settings, test.dialogs, test.shell, clock, test.screen, test.exit, test.folder()};

    // Pictures of the size of real scans of a stamp and a signature.
    QImage stamp(400, 400, QImage::Format_ARGB32);
    stamp.fill(QColor(20, 40, 200, 180));
    require(stamp.save(platform.programFile(QStringLiteral("pechat.png"))), "cannot write the stamp");
    QImage signature(300, 120, QImage::Format_ARGB32);
    signature.fill(QColor(10, 10, 90, 200));
    require(signature.save(platform.programFile(QStringLiteral("podpis.png"))), "cannot write the signature");
    FakeEditorBoxes editor;
    for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
        editor.texts[size_t(i)] = QStringLiteral("ИВАНОВ-ПЕТРОВ %1 XTA210930").arg(i);
    LayoutState state;

    MDIForm1 frame(platform, state, editor);
    frame.show();
    frmPTS1 &window = *frame.printWindow();
    PaintProbe probe;
    window.view().viewport()->installEventFilter(&probe);
    waitForPaint(probe);
    window.SelectLabel(12, {});

    const QString path = QDir(test.folder()).filePath(QStringLiteral("certificate.jpg"));
    const auto save = [&] {
        test.dialogs.paths = {path};
        test.dialogs.answers = {Dialogs::Answer::No};
        clock.waitedMs = 0;
        QElapsedTimer timer;
        timer.start();
        window.SavePagePicture();
        const double ms = msSince(timer) - clock.waitedMs;
        require(test.dialogs.texts().constLast() == QStringLiteral("Открыть файл?"), "the page was not saved");
        test.dialogs.messages.clear();
        return ms;
    };
    const double first = save();
    const double median = medianOf(save);
    require(clock.asked == kRepaintWaitMs, "the command did not ask for its repaint wait");

    std::vector<Row> rows;
    rows.push_back(absolute(QStringLiteral("save page picture, wait excluded"), median, 300));
    rows.push_back(absolute(QStringLiteral("  first save of the run"), first, 300));
    rows.push_back(
        info(QStringLiteral("  picture written"),
             QStringLiteral("%1 x %2, %3").arg(window.width()).arg(window.height()).arg(mb(QFileInfo(path).size()))));
    test.dialogs.answers = {Dialogs::Answer::No};
    frame.close();

    std::printf("\nmedians of %d runs after one unmeasured run\n\n", kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}
