#pragma once

// What the print window's benchmarks open it over: a test program folder with a stamp and a
// signature of the size of real scans, long texts in every box and the built-in label fonts.

#include "BenchSupport.h"
#include "FakeEditorBoxes.h"
#include "TestPlatform.h"
#include "certificate/LabelFontTable.h"
#include "certificate/LayoutState.h"
#include "windows/print/frmPTS1.h"

#include <QColor>
#include <QElapsedTimer>
#include <QGraphicsView>
#include <QImage>
#include <QTest>

namespace bench {

struct PrintPageSetup
{
    TestPlatform test;
    LayoutState state;
    FakeEditorBoxes editor;

    PrintPageSetup()
    {
        QImage stamp(400, 400, QImage::Format_ARGB32);
        stamp.fill(QColor(20, 40, 200, 180));
        require(stamp.save(test.platform.programFile(QStringLiteral("pechat.png"))), "cannot write the stamp");
        QImage signature(300, 120, QImage::Format_ARGB32);
        signature.fill(QColor(10, 10, 90, 200));
        require(signature.save(test.platform.programFile(QStringLiteral("podpis.png"))), "cannot write the signature");
        for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
            editor.texts[size_t(i)] = QStringLiteral("ИВАНОВ-ПЕТРОВ %1 XTA210930").arg(i);
        // The font file as "Вернуть шрифт" leaves it: a face and a size for every label.
        LabelFontTable fonts;
        fonts.resetToBuiltIn();
        require(fonts.write(test.platform.programFile(QStringLiteral("Shrift"))), "cannot write the font file");
    }
};

// One Down key with every selected label, until the page has been painted again.
inline double arrowMove(frmPTS1 &window, PaintProbe &probe)
{
    probe.paints = 0;
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(&window.view(), Qt::Key_Down);
    waitForPaint(probe);
    return msSince(timer);
}

} // namespace bench
