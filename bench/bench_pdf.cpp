// The certificate on paper: the page printed through the printer path into a PDF file (the
// print dialog answered at once, so the figure is the drawing and the writing), the PDF export,
// and the size of the exported file with the built-in blanks, stamp and signature. Pass a file
// name to keep the exported PDF for a look.

#include "BenchSupport.h"
#include "FakeEditorBoxes.h"
#include "TestPlatform.h"
#include "certificate/LayoutState.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/PagePrint.h"
#include "windows/print/frmPTS1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <ctime>
#include <functional>

namespace {

using namespace bench;

constexpr double kPrintTargetMs = 500;
constexpr qint64 kSizeTargetBytes = 2 * 1024 * 1024;

// The processor time of the last timed() run: on a machine shared with other builds the wall
// clock also counts the waits for a core.
double lastCpuMs = 0;

double timed(const std::function<void()> &run, const QString &file)
{
    QFile::remove(file);
    const std::clock_t cpu = std::clock();
    QElapsedTimer timer;
    timer.start();
    run();
    const double ms = msSince(timer);
    lastCpuMs = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
    require(QFileInfo(file).size() > 0, "no PDF was written");
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestPlatform test;
    for (const QString &picture : QStringLiteral(TRELVAX_SAMPLE_PICTURES).split(u'|', Qt::SkipEmptyParts))
        require(QFile::copy(picture, test.platform.programFile(picture.section(u'/', -1))),
                "cannot copy the sample pictures");
    FakeEditorBoxes editor;
    for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
        editor.texts[size_t(i)] = QStringLiteral("ИВАНОВ-ПЕТРОВ %1 XTA210930").arg(i);
    LayoutState state;
    MDIForm1 frame(test.platform, state, editor);
    frame.show();
    QCoreApplication::processEvents();
    require(test.dialogs.messages.isEmpty(), "the print window showed a message");
    PagePrint &pages = frame.printWindow()->pagePrint();

    const QString printed = QDir(test.folder()).filePath(QStringLiteral("printed.pdf"));
    const QString exported = QDir(test.folder()).filePath(QStringLiteral("exported.pdf"));
    const double toPrinter = medianOf([&] {
        return timed(
            [&] {
                test.dialogs.printers.push_back({QStringLiteral("Office"), printed});
                // Long texts run off the sheet's right edge: print anyway.
                test.dialogs.answers = {Dialogs::Answer::Ok};
                pages.PrintOnPrinter();
            },
            printed);
    });
    const double toPrinterCpu = medianOf([&] {
        timed(
            [&] {
                test.dialogs.printers.push_back({QStringLiteral("Office"), printed});
                test.dialogs.answers = {Dialogs::Answer::Ok};
                pages.PrintOnPrinter();
            },
            printed);
        return lastCpuMs;
    });
    const double toPdf = medianOf([&] {
        return timed(
            [&] {
                test.dialogs.paths.push_back(exported);
                pages.SavePdf();
            },
            exported);
    });
    test.dialogs.answers.clear();
    const qint64 size = QFileInfo(exported).size();

    std::vector<Row> rows;
    rows.push_back(absolute(QStringLiteral("print the page to a PDF file"), toPrinter, kPrintTargetMs));
    rows.push_back(info(QStringLiteral("  processor time of it"), ms(toPrinterCpu)));
    rows.push_back(absolute(QStringLiteral("  export the page as PDF"), toPdf, kPrintTargetMs));
    rows.push_back({QStringLiteral("PDF size, built-in pictures"), mb(size),
                    QStringLiteral("<= ") + mb(kSizeTargetBytes), times(double(size) / kSizeTargetBytes),
                    verdict(size <= kSizeTargetBytes)});
    if (argc > 1) {
        QFile::remove(QString::fromLocal8Bit(argv[1]));
        QFile::copy(exported, QString::fromLocal8Bit(argv[1]));
    }
    test.dialogs.answers = {Dialogs::Answer::No};
    frame.close();

    std::printf("\nmedians of %d runs after one unmeasured run\n\n", kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}
