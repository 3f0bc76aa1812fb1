#include "FakeEditorBoxes.h"
#include "Files.h"
#include "PngBytes.h"
#include "TestPlatform.h"
#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "page/CertificateScene.h"
#include "page/OverlayPictures.h"
#include "page/PictureItem.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/frmPTS1.h"

#include <QCheckBox>
#include <QGraphicsView>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QSvgRenderer>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

const QString kBlank1 = QStringLiteral(":/assets/blank1.svg");
const QString kBlank2 = QStringLiteral(":/assets/blank2.svg");

// The vector art at `devicePixels`, over the page's white, as a reference for what the screen
// and the printer must show.
QImage vectorOnWhite(const QString &svg, QSize devicePixels)
{
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    QSvgRenderer(svg).render(&painter);
    return image;
}

// The largest difference of a colour channel, and the share of pixels that differ by more
// than a rounding step.
struct Difference
{
    int largest = 0;
    double shareOff = 0;
};

Difference compare(const QImage &a, const QImage &b)
{
    Difference d;
    if (a.size() != b.size())
        return {255, 1};
    qint64 off = 0;
    const QImage first = a.convertToFormat(QImage::Format_RGB32);
    const QImage second = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(first.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(second.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = lineA[x], q = lineB[x];
            const int most = std::max(
                {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            d.largest = std::max(d.largest, most);
            off += most > 3 ? 1 : 0;
        }
    }
    d.shareOff = double(off) / (qint64(a.width()) * a.height());
    return d;
}

QString describe(const Difference &d)
{
    return QStringLiteral("largest %1, share off %2").arg(d.largest).arg(d.shareOff);
}

} // namespace

// The blanks on the screen come from a raster made once per run and shared by every opening;
// they must look as the vector art does, at the screen's device pixel ratio, while the printer
// and the PDF keep the vector art.
class BuiltInRasterTest : public QObject
{
    Q_OBJECT

    TestPlatform m_test;
    LayoutState m_state;
    FakeEditorBoxes m_editor;

    std::unique_ptr<MDIForm1> openFrame()
    {
        auto frame = std::make_unique<MDIForm1>(m_test.platform, m_state, m_editor);
        frame->show();
        return frame;
    }

    // Only the blanks: the labels, the stamp and the signature hidden as the operator hides them.
    static void showBlanksOnly(frmPTS1 &window)
    {
        for (const char *name : {"ChNVis1", "ChNVis2", "ChPechVis2", "ChPodpVis2"}) {
            QCheckBox *box = window.findChild<QCheckBox *>(QLatin1String(name));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            QVERIFY(!box->isChecked());
        }
    }

private Q_SLOTS:
    void init()
    {
        m_test.dialogs.messages.clear();
        m_test.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    }

    // What the view shows of each blank is the vector art, drawn at whole pixels where the
    // blank lies.
    void theScreenShowsTheVectorArt_data()
    {
        QTest::addColumn<PictureId>("side");
        QTest::addColumn<QString>("svg");
        QTest::newRow("side 1") << PictureId::Image1 << kBlank1;
        QTest::newRow("side 2") << PictureId::Image2 << kBlank2;
    }
    void theScreenShowsTheVectorArt()
    {
        QFETCH(PictureId, side);
        QFETCH(QString, svg);
        const auto frame = openFrame();
        frmPTS1 &window = *frame->printWindow();
        showBlanksOnly(window);
        const QImage shown = window.view().viewport()->grab().toImage();
        const CertificateLayout::Picture &blank = window.layout().picture(side);
        const QPointF corner = window.view().viewportTransform().map(QPointF(blank.pos.left, blank.pos.top));
        const QSize pixels(302, 429);
        const QImage part = shown.copy(QRect(QPoint(int(std::round(corner.x())), int(std::round(corner.y()))), pixels));
        const Difference d = compare(part, vectorOnWhite(svg, pixels));
        QVERIFY2(d.largest <= 24 && d.shareOff < 0.001, qPrintable(describe(d)));
    }

    // A screen of two device pixels per pixel shows the blank as sharp as the vector art there.
    void aDoubleDensityScreenGetsItsOwnRaster()
    {
        auto frame = openFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        // The blank painted by the view on a device of two device pixels per pixel.
        frmPTS1 &window = *frame->printWindow();
        PictureItem *item = window.scene().pictureItem(PictureId::Image1);
        QImage twice(QSize(604, 858), QImage::Format_ARGB32_Premultiplied);
        twice.setDevicePixelRatio(2);
        twice.fill(Qt::white);
        {
            QPainter painter(&twice);
            painter.setRenderHints(window.view().renderHints());
            painter.setTransform(QTransform::fromScale(96 / 25.4, 96 / 25.4));
            QStyleOptionGraphicsItem option;
            item->paint(&painter, &option, window.view().viewport());
        }
        const Difference d = compare(twice, vectorOnWhite(kBlank1, {604, 858}));
        QVERIFY2(d.largest <= 24 && d.shareOff < 0.001, qPrintable(describe(d)));
        frame->close();
    }

    // The page for the printer or the PDF: the blank is drawn from its lines at the printer's
    // resolution, not enlarged from the screen's picture of it.
    void thePrinterGetsTheVectorArt()
    {
        const auto frame = openFrame();
        frmPTS1 &window = *frame->printWindow();
        showBlanksOnly(window);
        const CertificateLayout::Picture &blank = window.layout().picture(PictureId::Image1);
        // 300 dpi: the blank's 302 x 429 pixels at 96 dpi become 943.75 x 1340.625 dots.
        const QSize dots(944, 1341);
        QImage page(dots, QImage::Format_ARGB32_Premultiplied);
        page.setDotsPerMeterX(qRound(300 / 0.0254));
        page.setDotsPerMeterY(qRound(300 / 0.0254));
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                                   | QPainter::SmoothPixmapTransform);
            window.scene().renderPage(&painter,
                                      QRectF(blank.pos.left, blank.pos.top, dots.width() * 25.4 / 300,
                                             dots.height() * 25.4 / 300));
        }
        QImage expected(dots, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::white);
        {
            QPainter painter(&expected);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                                   | QPainter::SmoothPixmapTransform);
            QSvgRenderer(kBlank1).render(&painter, QRectF(0, 0, 302 * 300 / 96.0, 429 * 300 / 96.0));
        }
        const Difference d = compare(page, expected);
        QVERIFY2(d.largest <= 24 && d.shareOff < 0.001, qPrintable(describe(d)));
    }

    // A stamp rewritten with another picture of the same size, within the same second (or
    // millisecond), is shown as it is now.
    void aRewrittenStampIsShownAsItIsNow()
    {
        const QString path = m_test.platform.programFile(QStringLiteral("stamp.png"));
        const QList<QColor> colours = {QColor(200, 0, 0), QColor(0, 0, 200)};
        QList<QByteArray> files;
        for (const QColor &colour : colours) {
            QImage image(40, 30, QImage::Format_ARGB32);
            image.fill(colour);
            files << PngBytes::encode(image);
        }
        QCOMPARE(files[0].size(), files[1].size());
        for (int n = 0; n < 20; ++n) {
            QVERIFY(writeFile(path, files[n % 2]));
            const QImage shown = OverlayPictures::load(m_test.dialogs, path, 255, 96, 96);
            QCOMPARE(shown.pixelColor(5, 5), colours[n % 2]);
        }
        QVERIFY(m_test.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(BuiltInRasterTest)
#include "tst_BuiltInRaster.moc"
