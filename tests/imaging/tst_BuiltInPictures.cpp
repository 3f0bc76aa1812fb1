#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

// The pictures the program carries: the blank sides under the labels, the toolbar and arrow
// icons, and the sample stamp and signature the build puts beside the executable.
class BuiltInPicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void resourceRenders_data();
    void resourceRenders();
    void captionsLeaveTheLabelsRoom_data();
    void captionsLeaveTheLabelsRoom();
    void samplePictureBesideTheExecutable_data();
    void samplePictureBesideTheExecutable();
};

namespace {

QImage render(QSvgRenderer &renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

// Share of the pixels that carry some paint.
double coverage(const QImage &image)
{
    qint64 painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return double(painted) / (qint64(image.width()) * image.height());
}

int darkestInside(const QImage &image, const QRect &rect)
{
    int darkest = 255;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

} // namespace

void BuiltInPicturesTest::resourceRenders_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("natural");
    QTest::addColumn<double>("minimumCoverage");
    // The blanks are shown unscaled: their own size is what the window lays labels over. The
    // icons are drawn at any size of their shape.
    QTest::newRow("front") << ":/assets/blank1.svg" << QSize(302, 429) << true << 0.95;
    QTest::newRow("back") << ":/assets/blank2.svg" << QSize(302, 429) << true << 0.95;
    QTest::newRow("print") << ":/assets/print.svg" << QSize(16, 16) << false << 0.3;
    QTest::newRow("close") << ":/assets/close.svg" << QSize(16, 16) << false << 0.3;
    QTest::newRow("left") << ":/assets/arrow-left.svg" << QSize(28, 25) << false << 0.15;
    QTest::newRow("right") << ":/assets/arrow-right.svg" << QSize(28, 25) << false << 0.15;
    QTest::newRow("up") << ":/assets/arrow-up.svg" << QSize(28, 25) << false << 0.15;
    QTest::newRow("down") << ":/assets/arrow-down.svg" << QSize(28, 25) << false << 0.15;
    QTest::newRow("stamp") << ":/assets/pechat.svg" << QSize(144, 144) << true << 0.15;
    QTest::newRow("signature") << ":/assets/podpis.svg" << QSize(113, 57) << true << 0.05;
}

void BuiltInPicturesTest::resourceRenders()
{
    QFETCH(QString, resource);
    QFETCH(QSize, size);
    QFETCH(bool, natural);
    QFETCH(double, minimumCoverage);
    QSvgRenderer renderer(resource);
    QVERIFY2(renderer.isValid(), qPrintable(resource));
    const QSizeF box = renderer.viewBoxF().size();
    if (natural)
        QCOMPARE(renderer.defaultSize(), size);
    else
        QCOMPARE(box.width() * size.height(), box.height() * size.width());
    const QImage image = render(renderer, size);
    QVERIFY2(coverage(image) >= minimumCoverage, qPrintable(QString::number(coverage(image))));
}

void BuiltInPicturesTest::captionsLeaveTheLabelsRoom_data()
{
    // Where a label's text goes on its blank when nothing is stored: the label's position in
    // millimetres less the blank's (front at 124, 81; back at 210, 82), and room for a short
    // text in the label's font (9.75 pt unless given).
    QTest::addColumn<QString>("resource");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("widthMm");
    QTest::addColumn<double>("heightPx");
    const QString front = QStringLiteral(":/assets/blank1.svg");
    const QString back = QStringLiteral(":/assets/blank2.svg");
    const struct
    {
        const char *name;
        const QString &blank;
        double left, top, width, height;
    } labels[] = {
        {"plate", front, 172.5083 - 124, 115.3583 - 81, 18, 13},
        {"vin", front, 134.4083 - 124, 117.475 - 81, 35, 13},
        {"make", front, 157.6917 - 124, 121.7083 - 81, 35, 13},
        {"type", front, 157.6917 - 124, 125.9417 - 81, 30, 13},
        {"category", front, 184.15 - 124, 130.175 - 81, 6, 13},
        {"year", front, 162.9833 - 124, 133.35 - 81, 10, 13},
        {"engine model", front, 136.525 - 124, 182.0333 - 81, 8, 13},
        {"engine number", front, 136.525 - 124, 188.6479 - 81, 25, 13},
        {"chassis", front, 155.575 - 124, 141.8167 - 81, 35, 13},
        {"body", front, 160.8667 - 124, 146.05 - 81, 35, 13},
        {"colour", front, 164.0417 - 124, 150.2833 - 81, 25, 13},
        {"power", front, 143.9333 - 124, 154.5167 - 81, 25, 13},
        {"displacement", front, 185.2083 - 124, 158.75 - 81, 10, 13},
        {"passport series", front, 184.15 - 124, 162.9833 - 81, 10, 13},
        {"passport number", front, 158.75 - 124, 167.2167 - 81, 11, 13},
        {"permitted mass", front, 170.3917 - 124, 167.2167 - 81, 10, 13},
        {"unladen mass", front, 176.7417 - 124, 176.7417 - 81, 10, 13},
        {"front number", front, 146.05 - 124, 180.975 - 81, 30, 17},
        {"surname", back, 216.9583 - 210, 110.0667 - 82, 40, 13},
        {"surname latin", back, 219.075 - 210, 113.2417 - 82, 40, 13},
        {"name", back, 218.0167 - 210, 117.475 - 82, 40, 13},
        {"name latin", back, 219.075 - 210, 121.7083 - 82, 40, 13},
        {"patronymic", back, 218.0167 - 210, 128.0583 - 82, 40, 13},
        {"region", back, 260.35 - 210, 129.1167 - 82, 25, 13},
        {"region 2", back, 216.9583 - 210, 134.4083 - 82, 60, 13},
        {"district", back, 225.425 - 210, 138.6417 - 82, 50, 13},
        {"town", back, 234.95 - 210, 143.9333 - 82, 40, 13},
        {"street", back, 227.5417 - 210, 148.1667 - 82, 45, 13},
        {"house", back, 224.3667 - 210, 152.4 - 82, 8, 13},
        {"building", back, 245.5333 - 210, 152.4 - 82, 6, 13},
        {"flat", back, 258.2333 - 210, 152.4 - 82, 8, 13},
        {"notes 1", back, 216.9583 - 210, 159.2792 - 82, 60, 8},
        {"notes 2", back, 216.9583 - 210, 162.9833 - 82, 60, 8},
        {"notes 3", back, 216.9583 - 210, 167.2167 - 82, 60, 8},
        {"issued by", back, 241.3 - 210, 176.7417 - 82, 40, 11},
        {"date", back, 241.3 - 210, 183.0917 - 82, 20, 13},
        {"back number", back, 219.075 - 210, 98.425 - 82, 30, 17},
        {"number line", back, 232.8333 - 210, 186.2667 - 82, 30, 16},
        {"issued by 2", back, 220.1333 - 210, 180.975 - 82, 20, 11},
    };
    for (const auto &label : labels)
        QTest::newRow(label.name) << label.blank << label.left << label.top << label.width << label.height;
}

// A caption printed where a label's text goes would make the composed page unreadable: the
// label's text area must hold nothing darker than the security pattern and the box rules.
void BuiltInPicturesTest::captionsLeaveTheLabelsRoom()
{
    QFETCH(QString, resource);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, widthMm);
    QFETCH(double, heightPx);
    QSvgRenderer renderer(resource);
    const QImage blank = render(renderer, renderer.defaultSize());
    const double pxPerMm = 96 / 25.4;
    // From the top of the capitals down to the baseline.
    const QRectF text(left * pxPerMm, top * pxPerMm + 0.2 * heightPx, widthMm * pxPerMm, 0.7 * heightPx);
    const int darkest = darkestInside(blank, text.toAlignedRect());
    QVERIFY2(darkest >= 150,
             qPrintable(QStringLiteral("ink of %1 at %2, %3").arg(darkest).arg(text.x()).arg(text.y())));
}

void BuiltInPicturesTest::samplePictureBesideTheExecutable_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("leastSolidInk");
    QTest::addColumn<bool>("uneven");
    const QStringList paths = QStringLiteral(TRELVAX_SAMPLE_PICTURES).split(QLatin1Char('|'));
    QCOMPARE(paths.size(), 2);
    for (const QString &path : paths) {
        const QString name = QFileInfo(path).fileName();
        if (name == QLatin1String("pechat.png"))
            QTest::newRow("stamp") << path << QSize(144, 144) << 215 << true;
        else if (name == QLatin1String("podpis.png"))
            QTest::newRow("signature") << path << QSize(113, 57) << 255 << false;
        else
            QFAIL(qPrintable(QStringLiteral("unexpected sample picture ") + path));
    }
}

void BuiltInPicturesTest::samplePictureBesideTheExecutable()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(int, leastSolidInk);
    QFETCH(bool, uneven);
    QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
    const int w = image.width() - 1, h = image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);

    int solid = 0, inked = 0;
    double sum = 0, sumSquares = 0;
    for (int y = 0; y <= h; ++y)
        for (int x = 0; x <= w; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int alpha = qAlpha(pixel);
            solid = std::max(solid, alpha);
            if (alpha < 64)
                continue;
            ++inked;
            sum += alpha;
            sumSquares += double(alpha) * alpha;
            // Blue ink, violet or dark: never a red or green cast.
            QVERIFY2(qBlue(pixel) > qRed(pixel) && qBlue(pixel) > qGreen(pixel),
                     qPrintable(QStringLiteral("colour %1 at %2, %3").arg(pixel, 8, 16).arg(x).arg(y)));
        }
    QVERIFY(solid >= leastSolidInk);
    QVERIFY(inked > 0);
    const double mean = sum / inked;
    const double spread = std::sqrt(std::max(0.0, sumSquares / inked - mean * mean));
    // A stamp's ink lies unevenly; a pen's line is solid in its middle.
    if (uneven)
        QVERIFY2(spread > 20, qPrintable(QString::number(spread)));
}

QTEST_MAIN(BuiltInPicturesTest)
#include "tst_BuiltInPictures.moc"
