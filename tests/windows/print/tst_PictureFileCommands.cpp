#include "CertificateFrame.h"
#include "Files.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

namespace {

const QString kBackgroundFilter = QStringLiteral(
    "Файлы (*.jpg)|*.jpg|Файлы (*.gif)|*.gif|Файлы (*.bmp)|*.bmp|Все файлы(*.*)|*.*|");
const QString kOverlayFilter = QStringLiteral("Файлы (*.png)|*.png|Файлы|Все файлы(*.*)|*.*|");

// A 6 x 4 green GIF: the picture libraries here read GIF but do not write it.
const QByteArray kGif = QByteArray::fromRawData(
    "\x47\x49\x46\x38\x39\x61\x06\x00\x04\x00\x81\x00\x00\xff\xff\xff\x00\xa0\x00\x00\x00\x00\x00\x00\x00\x2c\x00"
    "\x00\x00\x00\x06\x00\x04\x00\x00\x02\x0e\x4c\x98\x30\x61\xc2\x84\x09\x13\x26\x4c\x98\x30\x61\x52\x00\x3b",
    53);

QByteArray encoded(QSize size, const char *format)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("cannot encode %s", format);
    return bytes;
}

} // namespace

class PictureFileCommandsTest : public QObject, CertificateFrameFixture
{
    Q_OBJECT

    frmPTS1 &open() { return openFrame(Wait::None); }
    const CertificateLayout::Picture &picture(PictureId p) const { return pts().layout().picture(p); }
    QCheckBox *box(const QString &name) const { return pts().findChild<QCheckBox *>(name); }
    void trigger(const QString &menuItem) const { pts().findChild<QAction *>(menuItem)->trigger(); }
    QString file(const QString &name, const QByteArray &bytes) const
    {
        const QString path = QDir(m_test->folder()).filePath(name);
        if (!writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QString stored(const QString &key) const
    {
        return m_test->reopenSettings()->value(QStringLiteral("Nastr"), key, QStringLiteral("-"));
    }
    // The built-in picture of each place: the blank's drawing, or the program folder's PNG.
    bool showsBuiltIn(PictureId p) const
    {
        if (p == PictureId::Image1 || p == PictureId::Image2)
            return picture(p).image.isNull() && !picture(p).svgResource.isEmpty();
        return picture(p).image.size() == (p == PictureId::ImPech ? QSize(40, 40) : QSize(60, 20));
    }

private Q_SLOTS:
    void init()
    {
        newCertificate(Numbers::AsTheyAre);
        file(QStringLiteral("pechat.png"), encoded({40, 40}, "PNG"));
        file(QStringLiteral("podpis.png"), encoded({60, 20}, "PNG"));
    }
    void cleanup()
    {
        closeCertificate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A picture chosen from a file is shown with its box ticked, the choice and its folder are
    // stored on closing, and the next opening shows it again: each command, each format.
    void aChosenPictureIsShownTickedAndComesBack_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<PictureId>("place");
        QTest::addColumn<QString>("visibilityBox");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("folderEntry");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::newRow("side 1, JPEG") << "Menu_Fon_File" << PictureId::Image1 << "ChFonVis1"
                                      << "img1FName"
                                      << "VibFolder1" << kBackgroundFilter << "blank.jpg" << encoded({320, 440}, "JPG")
                                      << QSize(320, 440);
        QTest::newRow("side 2, GIF") << "Menu_Fon2_File" << PictureId::Image2 << "ChFonVis2"
                                     << "img2FName"
                                     << "VibFolder1" << kBackgroundFilter << "blank.gif" << kGif << QSize(6, 4);
        QTest::newRow("side 1, BMP") << "Menu_Fon_File" << PictureId::Image1 << "ChFonVis1"
                                     << "img1FName"
                                     << "VibFolder1" << kBackgroundFilter << "blank.bmp" << encoded({31, 17}, "BMP")
                                     << QSize(31, 17);
        QTest::newRow("side 2, PNG named .jpg")
            << "Menu_Fon2_File" << PictureId::Image2 << "ChFonVis2"
            << "img2FName"
            << "VibFolder1" << kBackgroundFilter << "scan.jpg" << encoded({33, 22}, "PNG") << QSize(33, 22);
        QTest::newRow("stamp") << "Menu_Pech2_File" << PictureId::ImPech << "ChPechVis2"
                               << "PechFName"
                               << "VibFolder3" << kOverlayFilter << "stamp.png" << encoded({25, 25}, "PNG")
                               << QSize(25, 25);
        QTest::newRow("signature") << "Menu_Podp2_File" << PictureId::ImPodp << "ChPodpVis2"
                                   << "PodpFName"
                                   << "VibFolder4" << kOverlayFilter << "sign.png" << encoded({50, 10}, "PNG")
                                   << QSize(50, 10);
    }
    void aChosenPictureIsShownTickedAndComesBack()
    {
        QFETCH(QString, menuItem);
        QFETCH(PictureId, place);
        QFETCH(QString, visibilityBox);
        QFETCH(QString, entry);
        QFETCH(QString, folderEntry);
        QFETCH(QString, filter);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        const QString lastChosen = file(QStringLiteral("last one"), "x");
        m_test->settings->setValue(QStringLiteral("Nastr"), folderEntry, lastChosen);
        const QString path = file(name, bytes);

        open();
        QTest::mouseClick(box(visibilityBox), Qt::LeftButton, {}, QPoint(6, 6));
        QVERIFY(!box(visibilityBox)->isChecked());
        QVERIFY(!picture(place).visible);
        m_test->dialogs.paths = {path};
        trigger(menuItem);

        const Dialogs::FileRequest &asked = m_test->dialogs.fileRequests.constLast();
        QCOMPARE(asked.filter, filter);
        QCOMPARE(asked.startFolder, lastChosen);
        QCOMPARE(asked.defaultPattern, filter == kOverlayFilter ? QStringLiteral("*.png") : QStringLiteral("*.jpg"));
        QCOMPARE(m_test->dialogs.owners.constLast(), QStringLiteral("frmPTS1"));
        QCOMPARE(picture(place).image.size(), size);
        QVERIFY(picture(place).visible);
        QVERIFY(box(visibilityBox)->isChecked());
        QVERIFY(m_test->dialogs.messages.isEmpty());
        QVERIFY(!m_state.LayoutChanged);

        m_frame->close();
        QCOMPARE(stored(entry), path);
        QCOMPARE(stored(folderEntry), path);
        open();
        QCOMPARE(picture(place).image.size(), size);
        QVERIFY(m_test->dialogs.messages.isEmpty());
    }

    // "Вернуть встроенный ...": the entry is emptied and the window closes as the operator's
    // closing does (question, texts to the editor) and opens afresh in the same frame, over the
    // editor, with the built-in picture.
    void restoringReopensWithTheBuiltInPicture_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<PictureId>("place");
        QTest::addColumn<QString>("entry");
        QTest::newRow("side 1") << "Menu_Fon_Reset" << PictureId::Image1 << "img1FName";
        QTest::newRow("side 2") << "Menu_Fon2_Reset" << PictureId::Image2 << "img2FName";
        QTest::newRow("stamp") << "Menu_Pech2_Reset" << PictureId::ImPech << "PechFName";
        QTest::newRow("signature") << "Menu_Podp2_Reset" << PictureId::ImPodp << "PodpFName";
    }
    void restoringReopensWithTheBuiltInPicture()
    {
        QFETCH(QString, menuItem);
        QFETCH(PictureId, place);
        QFETCH(QString, entry);
        m_test->settings->setValue(QStringLiteral("Nastr"), entry,
                                   file(QStringLiteral("own.png"), encoded({24, 12}, "PNG")));
        frmPTS1 &before = open();
        QCOMPARE(picture(place).image.size(), QSize(24, 12));
        // An unsaved move and a text corrected in place.
        QTest::mouseClick(before.view().viewport(), Qt::LeftButton, {},
                          before.view().mapFromScene(
                              QPointF(before.layout().label(5).pos.left + 0.8, before.layout().label(5).pos.top + 1)));
        QTest::keyClick(&before.view(), Qt::Key_Down);
        const MmPoint moved = before.layout().label(5).pos;
        before.layout().setLabelText(7, QStringLiteral("ИСПРАВЛЕНО"));
        m_test->dialogs.answers = {Dialogs::Answer::Yes};
        trigger(menuItem);

        QCOMPARE(m_test->dialogs.texts(),
                 QStringList{QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?")});
        QVERIFY(&pts() != &before);
        QVERIFY(showsBuiltIn(place));
        QCOMPARE(pts().layout().label(5).pos, moved);
        QCOMPARE(pts().layout().label(7).text, QStringLiteral("ИСПРАВЛЕНО"));
        QCOMPARE(m_editor.shown, 1);
        QVERIFY(m_frame->isVisible());
        QVERIFY(pts().isVisible());
        QCOMPARE(pts().parentWidget()->pos(), QPoint(0, 0));
        QCOMPARE(m_frame->windowTitle(), QStringLiteral("Свидетельство о Регистрации"));
        QCOMPARE(stored(entry), QString());
        QVERIFY(!m_state.LayoutChanged);

        // The old window goes with the event loop; the frame then works with the new one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_frame->findChild<QAction *>(QStringLiteral("Delete"))->trigger();
        QCOMPARE(m_editor.shown, 2);
        QVERIFY(!m_frame->isVisible());
    }

    // The new window's opening shows the stamp's "GDI+ Error"; the box's event loop runs the
    // deferred deletes, and the old window with the menu that asked for the reopen must outlive it.
    void reopeningOutlivesTheOpeningsBox()
    {
        frmPTS1 &before = open();
        QPointer<frmPTS1> old(&before);
        QVERIFY(QFile::remove(QDir(m_test->folder()).filePath(QStringLiteral("pechat.png"))));
        bool oldAliveDuringBox = false;
        m_test->dialogs.duringMessage = [&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            oldAliveDuringBox = !old.isNull();
        };
        trigger(QStringLiteral("Menu_Pech2_Reset"));
        m_test->dialogs.duringMessage = nullptr;
        QCOMPARE(m_test->dialogs.messages.constLast().caption, QStringLiteral("GDI+ Error"));
        QVERIFY(oldAliveDuringBox);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    void cancellingChangesNothing()
    {
        const QString own = file(QStringLiteral("sign.png"), encoded({50, 10}, "PNG"));
        m_test->settings->setValue(QStringLiteral("Nastr"), QStringLiteral("PodpFName"), own);
        m_test->settings->setValue(QStringLiteral("Nastr"), QStringLiteral("VibFolder4"), QStringLiteral("/old/place"));
        open();
        QTest::mouseClick(box(QStringLiteral("ChPodpVis2")), Qt::LeftButton, {}, QPoint(6, 6));
        m_test->dialogs.paths = {QString()};
        trigger(QStringLiteral("Menu_Podp2_File"));
        QCOMPARE(m_test->dialogs.fileRequests.size(), 1);
        QCOMPARE(picture(PictureId::ImPodp).image.size(), QSize(50, 10));
        QVERIFY(!picture(PictureId::ImPodp).visible);
        QVERIFY(!box(QStringLiteral("ChPodpVis2"))->isChecked());
        QVERIFY(m_test->dialogs.messages.isEmpty());
        m_frame->close();
        QCOMPARE(stored(QStringLiteral("PodpFName")), own);
        QCOMPARE(stored(QStringLiteral("VibFolder4")), QStringLiteral("/old/place"));
    }

    // A stamp file the loader cannot read shows its "GDI+ Error" and leaves the stamp empty; a
    // background that cannot be read leaves the blank quietly. Either choice is kept.
    void anUnreadableFile_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<PictureId>("place");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("reported");
        QTest::newRow("stamp") << "Menu_Pech2_File" << PictureId::ImPech << "PechFName" << true;
        QTest::newRow("side 1") << "Menu_Fon_File" << PictureId::Image1 << "img1FName" << false;
    }
    void anUnreadableFile()
    {
        QFETCH(QString, menuItem);
        QFETCH(PictureId, place);
        QFETCH(QString, entry);
        QFETCH(bool, reported);
        // A PNG cut off after its header.
        const QString broken = file(QStringLiteral("broken.png"), encoded({40, 40}, "PNG").left(60));
        open();
        m_test->dialogs.paths = {broken};
        trigger(menuItem);
        if (reported) {
            QCOMPARE(m_test->dialogs.messages.size(), 1);
            QCOMPARE(m_test->dialogs.messages.constFirst().caption, QStringLiteral("GDI+ Error"));
            QCOMPARE(m_test->dialogs.messages.constFirst().icon, Dialogs::Icon::Exclamation);
            QVERIFY(picture(place).image.isNull());
        } else {
            QVERIFY(m_test->dialogs.messages.isEmpty());
            QVERIFY(showsBuiltIn(place));
        }
        m_frame->close();
        QCOMPARE(stored(entry), broken);
    }
};

QTEST_MAIN(PictureFileCommandsTest)
#include "tst_PictureFileCommands.moc"
