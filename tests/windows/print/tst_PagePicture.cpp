#include "FakeEditorBoxes.h"
#include "TestPlatform.h"
#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "platform/CommonDialog.h"
#include "platform/desktop/Capture.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/PagePicture.h"
#include "windows/print/frmPTS1.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QImageReader>
#include <QLabel>
#include <QTest>

namespace {

// A window laid out as the print window is: a white page with a blue label, a grey panel in
// its top-left corner, and a control that is hidden.
struct Page
{
    QWidget window;
    QWidget *panel;
    QLabel *label;
    QLabel *hidden;

    explicit Page(QSize size)
    {
        window.setObjectName(QStringLiteral("frmPTS1"));
        window.resize(size);
        window.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::white);
        window.setPalette(palette);
        panel = colouredBox(QRect(0, 0, 100, 80), Qt::red);
        label = colouredBox(QRect(size.width() - 60, size.height() - 40, 50, 30), Qt::blue);
        hidden = colouredBox(QRect(200, 200, 50, 50), Qt::green);
        hidden->hide();
        window.show();
    }

    QLabel *colouredBox(const QRect &rect, Qt::GlobalColor colour)
    {
        auto *box = new QLabel(&window);
        box->setGeometry(rect);
        box->setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, colour);
        box->setPalette(palette);
        return box;
    }
};

} // namespace

class PagePictureTest : public QObject
{
    Q_OBJECT

    TestPlatform m_test;

    QString pathOf(const QString &name) const { return QDir(m_test.folder()).filePath(name); }

    void save(Page &page, const QString &path, std::optional<Dialogs::Answer> openAnswer = std::nullopt)
    {
        m_test.dialogs.paths.push_back(path);
        if (openAnswer)
            m_test.dialogs.answers.push_back(*openAnswer);
        CommonDialog dialog(m_test.dialogs, &page.window);
        SavePagePicture(dialog, m_test.clock, m_test.shell, &page.window, page.panel);
    }

private Q_SLOTS:
    void init()
    {
        m_test.dialogs.messages.clear();
        m_test.dialogs.fileRequests.clear();
        m_test.shell.calls.clear();
        m_test.clock.waited = 0;
    }

    void cancelWritesNothing()
    {
        Page page({400, 300});
        save(page, QString());
        QVERIFY(page.panel->isVisible());
        QVERIFY(m_test.dialogs.messages.isEmpty());
        QVERIFY(QDir(m_test.folder()).entryList({QStringLiteral("*.jpg")}).isEmpty());
        QCOMPARE(m_test.clock.waited, 0);
        const Dialogs::FileRequest &asked = m_test.dialogs.fileRequests.constFirst();
        QCOMPARE(asked.filter, QStringLiteral("Файлы (*.jpg)|*.jpg|Все файлы(*.*)|*.*|"));
        QCOMPARE(asked.defaultPattern, QStringLiteral("*.jpg"));
    }

    // The file is a bitmap of the whole client area whatever its name, without the panel and
    // the hidden control, also when the window is larger than the offscreen screen (800 x 800).
    void savesTheWindowAsABitmap_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("on screen") << QSize(400, 300);
        QTest::newRow("larger than the screen") << QSize(1200, 900);
    }
    void savesTheWindowAsABitmap()
    {
        QFETCH(QSize, size);
        Page page(size);
        const QString path = pathOf(QStringLiteral("page.jpg"));
        save(page, path, Dialogs::Answer::No);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.peek(2) == "BM");
        file.close();
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage picture = reader.read();
        QCOMPARE(picture.size(), size);
        QCOMPARE(picture.pixel(10, 10), qRgb(255, 255, 255));   // where the panel was
        QCOMPARE(picture.pixel(220, 220), qRgb(255, 255, 255)); // the hidden control
        QCOMPARE(picture.pixel(size.width() - 40, size.height() - 20), qRgb(0, 0, 255));

        QVERIFY(page.panel->isVisible());
        QCOMPARE(m_test.clock.waited, kRepaintWaitMs);
        QCOMPARE(m_test.dialogs.texts(), QStringList{QStringLiteral("Открыть файл?")});
        QCOMPARE(m_test.dialogs.messages.constFirst().caption, QStringLiteral("Файл сохранен."));
        QCOMPARE(m_test.dialogs.messages.constFirst().buttons, Dialogs::Buttons::YesNo);
        QVERIFY(m_test.shell.calls.isEmpty()); // answered No
    }

    void yesShowsTheFolderThenOpensTheFile()
    {
        Page page({300, 200});
        const QString path = pathOf(QStringLiteral("opened.jpg"));
        save(page, path, Dialogs::Answer::Yes);
        QCOMPARE(m_test.shell.calls, (QStringList{QStringLiteral("folder ") + path, QStringLiteral("open ") + path}));
    }

    // A file that cannot be written is reported, and the panel comes back.
    void unwritableFileIsReported()
    {
        Page page({300, 200});
        const QString path = pathOf(QStringLiteral("no such folder/page.jpg"));
        save(page, path);
        QVERIFY(!QFile::exists(path));
        QVERIFY(page.panel->isVisible());
        QCOMPARE(m_test.dialogs.messages.size(), 1);
        QVERIFY(
            m_test.dialogs.messages.constFirst().text.startsWith(QStringLiteral("Не удалось сохранить изображение")));
        QCOMPARE(m_test.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
        QVERIFY(m_test.shell.calls.isEmpty());
    }

    // The certificate itself, saved through the frame's "Печать": a selected label is blue, a
    // background whose "Показывать Фон" is unticked is left out, the panel never shows.
    void thePrintWindowAsShown_data()
    {
        QTest::addColumn<QString>("untick");
        QTest::addColumn<PictureId>("hidden");
        QTest::addColumn<PictureId>("shown");
        QTest::newRow("side 1 without its blank") << "ChFonVis1" << PictureId::Image1 << PictureId::Image2;
        QTest::newRow("side 2 without its blank") << "ChFonVis2" << PictureId::Image2 << PictureId::Image1;
    }
    void thePrintWindowAsShown()
    {
        QFETCH(QString, untick);
        QFETCH(PictureId, hidden);
        QFETCH(PictureId, shown);
        LayoutState state;
        FakeEditorBoxes editor;
        editor.texts[12] = QStringLiteral("ЖЖЖЖЖЖ");
        editor.texts[13] = QStringLiteral("ЖЖЖЖЖЖ");
        MDIForm1 frame(m_test.platform, state, editor);
        frame.show();
        frmPTS1 &window = *frame.printWindow();
        QGraphicsView &view = window.view();
        const auto pixelsOf = [&](QRectF mm) { return view.mapFromScene(mm).boundingRect(); };
        const auto labelRect = [&](int i) {
            const CertificateLayout::Label &l = window.layout().label(i);
            return pixelsOf(QRectF(l.pos.left, l.pos.top, l.width, l.height));
        };
        const auto pictureRect = [&](PictureId p) {
            const CertificateLayout::Picture &picture = window.layout().picture(p);
            return pixelsOf(QRectF(picture.pos.left, picture.pos.top, picture.sizeMm.width(), picture.sizeMm.height()));
        };
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, labelRect(12).center());
        QCheckBox *box = window.findChild<QCheckBox *>(untick);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(!box->isChecked());

        const QString path = pathOf(QStringLiteral("certificate.jpg"));
        m_test.dialogs.paths = {path};
        m_test.dialogs.answers = {Dialogs::Answer::No};
        frame.findChild<QAction *>(QStringLiteral("Print"))->trigger();
        const QImage picture(path, "BMP");
        QCOMPARE(picture.size(), window.size());

        const auto count = [&](QRect rect, auto test) {
            int n = 0;
            rect &= picture.rect();
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x)
                    n += test(QColor(picture.pixel(x, y))) ? 1 : 0;
            return n;
        };
        const auto white = [](QColor c) { return c == QColor(Qt::white); };
        const auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 80 && c.green() < 80; };
        QVERIFY(count(labelRect(12), blue) > 10);
        QCOMPARE(count(labelRect(13), blue), 0);
        const QRect panel = window.findChild<QWidget *>(QStringLiteral("Frame1"))->geometry();
        QCOMPARE(count(panel, white), panel.width() * panel.height());
        // The blanks are tinted all over; their labels cover a small part of them.
        const QRect without = pictureRect(hidden);
        const QRect with = pictureRect(shown);
        QVERIFY(count(without, white) > without.width() * without.height() * 8 / 10);
        QVERIFY(count(with, white) < with.width() * with.height() / 10);
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("Frame1"))->isVisible());
    }

    // A rectangle of the client area; what lies outside the window is black.
    void capturesARectangle()
    {
        Page page({300, 200});
        const QImage part = CaptureWindow(&page.window, true, 250, 170, 100, 50);
        QCOMPARE(part.size(), QSize(100, 50));
        QCOMPARE(part.pixel(0, 0), qRgb(0, 0, 255)); // the label at (240, 160)
        QCOMPARE(part.pixel(99, 49), qRgb(0, 0, 0)); // beyond the window
    }
};

QTEST_MAIN(PagePictureTest)
#include "tst_PagePicture.moc"
