#include "TestPlatform.h"
#include "journal/Journal.h"
#include "platform/desktop/ProgramIcon.h"
#include "windows/journal/Form1.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWindow>

class ProgramIconTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The card is drawn at every size a task bar or window switcher asks for: a broken
    // resource or picture gives an empty icon, and a window manager then shows a generic one.
    void drawnAtEverySize()
    {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage image = icon.pixmap(size, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // The corner lies outside the rounded card; the middle is the card itself.
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        }
    }

    // Top-level windows show the program's icon unless one sets its own.
    void journalWindowShowsIt()
    {
        QApplication::setWindowIcon(programIcon());
        TestPlatform test;
        Journal journal;
        Form1 window(test.platform, journal);
        QVERIFY(window.isLoaded());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
        QCOMPARE(window.windowHandle()->icon().cacheKey(), QApplication::windowIcon().cacheKey());
    }
};

QTEST_MAIN(ProgramIconTest)
#include "tst_ProgramIcon.moc"
