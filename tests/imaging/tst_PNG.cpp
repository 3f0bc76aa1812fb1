#include "PngBytes.h"
#include "TestPlatform.h"
#include "imaging/PNG.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

class PNGTest : public QObject
{
    Q_OBJECT

    TestPlatform m_test;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir(m_test.folder()).filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

private Q_SLOTS:
    void init() { m_test.dialogs.messages.clear(); }

    void statusTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << 1 << QStringLiteral("Generic error");
        QTest::newRow("missing") << 10 << QStringLiteral("File not found");
        QTest::newRow("not a picture") << 13 << QStringLiteral("Unknown image format");
        QTest::newRow("last") << 20 << QStringLiteral("Property not supported");
        QTest::newRow("past the table") << 21 << QStringLiteral("Unknown GDI+ error");
        QTest::newRow("negative") << -1 << QStringLiteral("Unknown GDI+ error");
    }
    void statusTexts()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        QCOMPARE(GdiplusStatusText(status), text);
    }

    // Every failure shows exactly one "GDI+ Error" box with its text and loads nothing.
    void failures_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<QString>("text");
        QImage pixel(1, 1, QImage::Format_ARGB32);
        pixel.fill(Qt::red);
        const QByteArray png = PngBytes::encode(pixel);
        QTest::newRow("missing") << QByteArray() << QStringLiteral("File not found");
        QTest::newRow("text file") << QByteArray("not a picture at all\r\n") << QStringLiteral("Unknown image format");
        QTest::newRow("empty file") << QByteArray("") << QStringLiteral("Unknown image format");
        QTest::newRow("truncated") << png.left(png.size() / 2) << QStringLiteral("Generic error");
        QTest::newRow("bomb") << PngBytes::claiming(png, 30000, 30000) << QStringLiteral("Out of memory");
    }
    void failures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString path = bytes.isNull() ? QDir(m_test.folder()).filePath(QStringLiteral("absent.png"))
                                            : write(QStringLiteral("broken.png"), bytes);
        QVERIFY(LoadPngPicture(m_test.dialogs, path, 200).isNull());
        QCOMPARE(m_test.dialogs.messages.size(), 1);
        const Dialogs::Message &shown = m_test.dialogs.messages.first();
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.caption, QStringLiteral("GDI+ Error"));
        QCOMPARE(shown.icon, Dialogs::Icon::Exclamation);
    }

    // Opaque, half-transparent and transparent pixels laid over white, as the page shows them.
    void opacityBlendsOverTheBackground_data()
    {
        QTest::addColumn<int>("opacity");
        QTest::addColumn<QRgb>("opaqueRed");
        QTest::addColumn<QRgb>("halfBlue");
        QTest::newRow("stamp") << 200 << qRgb(255, 55, 55) << qRgb(155, 155, 255);
        QTest::newRow("signature") << 255 << qRgb(255, 0, 0) << qRgb(127, 127, 255);
        QTest::newRow("invisible") << 0 << qRgb(255, 255, 255) << qRgb(255, 255, 255);
    }
    void opacityBlendsOverTheBackground()
    {
        QFETCH(int, opacity);
        QFETCH(QRgb, opaqueRed);
        QFETCH(QRgb, halfBlue);
        QImage source(3, 1, QImage::Format_ARGB32);
        source.setPixel(0, 0, qRgba(255, 0, 0, 255));
        source.setPixel(1, 0, qRgba(0, 0, 255, 128));
        source.setPixel(2, 0, qRgba(0, 255, 0, 0));
        const QString path = write(QStringLiteral("overlay.png"), PngBytes::encode(source));

        const QImage picture = LoadPngPicture(m_test.dialogs, path, opacity);
        QVERIFY(m_test.dialogs.messages.isEmpty());
        QCOMPARE(picture.format(), QImage::Format_ARGB32_Premultiplied);

        QImage page(3, 1, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter(&page).drawImage(0, 0, picture);
        const auto near = [](QRgb a, QRgb b) {
            return qAbs(qRed(a) - qRed(b)) <= 1 && qAbs(qGreen(a) - qGreen(b)) <= 1 && qAbs(qBlue(a) - qBlue(b)) <= 1;
        };
        QVERIFY2(near(page.pixel(0, 0), opaqueRed), qPrintable(QString::number(page.pixel(0, 0), 16)));
        QVERIFY2(near(page.pixel(1, 0), halfBlue), qPrintable(QString::number(page.pixel(1, 0), 16)));
        QCOMPARE(page.pixel(2, 0), qRgb(255, 255, 255));
    }

    // One picture pixel per logical screen pixel: 96 pixels make an inch at 96 DPI.
    void physicalSizeFollowsTheLogicalDpi()
    {
        QImage source(96, 48, QImage::Format_ARGB32);
        source.fill(Qt::transparent);
        source.setDotsPerMeterX(10000); // whatever the file says, the screen decides
        const QString path = write(QStringLiteral("size.png"), PngBytes::encode(source));
        for (const int dpi : {96, 120}) {
            const QImage picture = LoadPngPicture(m_test.dialogs, path, 255, dpi, dpi);
            QCOMPARE(picture.size(), QSize(96, 48));
            QCOMPARE(picture.dotsPerMeterX(), qRound(dpi / 0.0254));
            QCOMPARE(picture.dotsPerMeterY(), qRound(dpi / 0.0254));
        }
    }
};

QTEST_GUILESS_MAIN(PNGTest)
#include "tst_PNG.moc"
