#include "CertificateFrame.h"
#include "LabelWidth.h"
#include "app/WindowWiring.h"
#include "certificate/BuiltInLayout.h"
#include "certificate/ColourCode.h"
#include "certificate/PageText.h"
#include "journal/Journal.h"
#include "page/CertificateScene.h"
#include "platform/RegionalNumber.h"
#include "windows/editor/frm.h"
#include "windows/journal/Form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGraphicsView>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ColourCode;

class PrintWindowTest : public QObject, CertificateFrameFixture
{
    Q_OBJECT

    frmPTS1 &open() { return openFrame(); }
    bool arrowsEnabled() const
    {
        const bool up = frameButton("CmdUp")->isEnabled();
        for (const char *name : {"CmLleft", "CmdRight", "CmdDown"})
            if (frameButton(name)->isEnabled() != up)
                qWarning("label arrows disagree");
        return up;
    }
    void tick(const char *name, bool on)
    {
        QCheckBox *box = control<QCheckBox>(name);
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(box->isChecked(), on);
    }

private Q_SLOTS:
    void init()
    {
        newCertificate();
        writeStampAndSignature(solid({40, 40}, Qt::red), solid({60, 20}, Qt::darkBlue));
    }
    void cleanup() { closeCertificate(); }

    void opensAsTheCertificateFrame()
    {
        frmPTS1 &w = open();
        QCOMPARE(m_frame->windowTitle(), QStringLiteral("Свидетельство о Регистрации"));
        QCOMPARE(w.size(), QSize(1115, 775));
        QVERIFY(m_test->dialogs.messages.isEmpty());
        for (const char *name : {"SetAll", "SHR1", "SHR3", "CmdRes"})
            QVERIFY2(frameButton(name)->isVisible() && frameButton(name)->isEnabled(), name);
        QVERIFY(!frameButton("CmdSave")->isEnabled());
        QVERIFY(!arrowsEnabled());
        QCOMPARE(frameButton("SHR3")->text(), QStringLiteral("Вернуть шрифт"));
        const auto *print = m_frame->findChild<QAction *>(QStringLiteral("Print"));
        const auto *close = m_frame->findChild<QAction *>(QStringLiteral("Delete"));
        QCOMPARE(print->text(), QStringLiteral("Печать"));
        QCOMPARE(close->text(), QStringLiteral("Закрыть"));
        // Texts from the editor, widened by 4 mm; labels 3 and 40..43 never shown.
        QCOMPARE(layout().label(12).text, QStringLiteral("Поле 12"));
        QCOMPARE(layout().label(12).font, (LabelFontSpec{QStringLiteral("Epson1"), 9.75f, false, false}));
        QVERIFY(qAbs(layout().label(12).width - (LabelWidth::epson1Mm(QStringLiteral("Поле 12"), 9.75) + 4)) < 0.01);
        for (int i = 0; i < kLabelCount; ++i)
            QCOMPARE(layout().label(i).visible, !(i == 3 || i >= 40));
        QCOMPARE(layout().label(36).foreColour, kDefaultRedNumber);
        QCOMPARE(layout().label(38).foreColour, kNormalText);
        QCOMPARE(layout().picture(PictureId::ImPech).image.size(), QSize(40, 40));
        QCOMPARE(layout().picture(PictureId::ImPodp).sizeMm.width(), 60 * 25.4 / 96);
        QVERIFY(!control<QLineEdit>("txt1")->isVisible());
        // The window maps the design faces to installed ones by itself (this runs first).
        QCOMPARE(QFontInfo(PageText::fontOf(layout().label(0).font)).family(), QStringLiteral("Liberation Mono"));
    }

    void selectionFollowsTheClicks()
    {
        open();
        clickLabel(5);
        clickLabel(9, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<int>{5, 9}));
        QVERIFY(arrowsEnabled());
        clickLabel(9, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<int>{5, 9}));
        clickLabel(12);
        QCOMPARE(selected(), (QList<int>{12}));
        clickLabel(20, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selected(), (QList<int>{20}));
        QCOMPARE(layout().label(20).foreColour, kSelection);

        // Ctrl alone on the empty area does nothing at all.
        QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ControlModifier, emptyPoint());
        QCOMPARE(selected(), (QList<int>{20}));
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, emptyPoint());
        QVERIFY(selected().isEmpty());
        QVERIFY(!arrowsEnabled());

        // "Выбрать все" takes in the hidden labels; a click then leaves one.
        QTest::mouseClick(frameButton("SetAll"), Qt::LeftButton);
        QCOMPARE(selected().size(), kLabelCount);
        clickLabel(7);
        QCOMPARE(selected(), (QList<int>{7}));
    }

    void theMenusOpenWhereTheyBelong()
    {
        open();
        clickLabel(4);
        clickLabel(6, {}, Qt::RightButton);
        auto *fild = pts().findChild<QMenu *>(QStringLiteral("Menu_Fild"));
        auto *number = pts().findChild<QMenu *>(QStringLiteral("Menu_Number"));
        QVERIFY(fild->isVisible());
        QVERIFY(!number->isVisible());
        fild->hide();
        QCOMPARE(selected(), (QList<int>{4}));
        QTest::mouseClick(viewport(), Qt::RightButton, {}, emptyPoint());
        QVERIFY(number->isVisible());
        number->hide();
        QTest::mouseClick(viewport(), Qt::RightButton, Qt::ControlModifier, emptyPoint());
        QVERIFY(!number->isVisible());
        QCOMPARE(menuItem("Menu_Foto")->text(), QStringLiteral("Сохранить изображение как JPG "));
        menuItem("Menu_Fild_SetAll")->trigger();
        QCOMPARE(selected().size(), kLabelCount);
    }

    void arrowKeysMoveTheSelectedLabels()
    {
        open();
        clickLabel(7);
        const MmPoint before = layout().label(7).pos;
        for (int n = 0; n < 3; ++n)
            QTest::keyClick(&pts().view(), Qt::Key_Down);
        QTest::keyClick(&pts().view(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(layout().label(7).pos.top, before.top + 0.25f + 0.25f + 0.25f);
        QCOMPARE(layout().label(7).pos.left, before.left - 0.25f);
        QCOMPARE(layout().label(8).pos, BuiltInLayout::designPosition(8));
        QVERIFY(frameButton("CmdSave")->isEnabled());

        // Four clicks on the frame's down arrow: exactly one millimetre.
        const float top = layout().label(7).pos.top;
        for (int n = 0; n < 4; ++n)
            QTest::mouseClick(frameButton("CmdDown"), Qt::LeftButton);
        QCOMPARE(layout().label(7).pos.top, top + 1.0f);

        // Everything selected: the hidden labels move with the others.
        menuItem("Menu_Fild_SetAll")->trigger();
        QTest::keyClick(&pts().view(), Qt::Key_Up);
        for (const int i : {3, 40, 43})
            QCOMPARE(layout().label(i).pos.top, BuiltInLayout::designPosition(i).top - 0.25f);
    }

    void aMoveWithNothingSelectedStillAsksOnClosing()
    {
        open();
        QTest::keyClick(&pts().view(), Qt::Key_Escape);
        QTest::keyClick(&pts().view(), Qt::Key_Up);
        for (int i = 0; i < kLabelCount; ++i)
            QCOMPARE(layout().label(i).pos, BuiltInLayout::designPosition(i));
        QVERIFY(m_state.LayoutChanged);
        QVERIFY(frameButton("CmdSave")->isEnabled());
        m_test->dialogs.answers = {Dialogs::Answer::No};
        m_frame->close();
        QCOMPARE(m_test->dialogs.texts(),
                 QStringList{QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?")});
        QCOMPARE(m_test->reopenSettings()->value("PTS1top", "0", {}), QString());
    }

    void saveThenResetThenCloseDoesNotAsk()
    {
        open();
        clickLabel(2);
        QTest::keyClick(&pts().view(), Qt::Key_Right);
        QTest::mouseClick(frameButton("CmdSave"), Qt::LeftButton);
        QVERIFY(!frameButton("CmdSave")->isEnabled());
        QCOMPARE(m_test->reopenSettings()->value("PTS1left", "2", {}),
                 RegionalNumber::format(BuiltInLayout::designPosition(2).left + 0.25f));
        QTest::keyClick(&pts().view(), Qt::Key_Right);
        m_test->dialogs.answers = {Dialogs::Answer::Ok};
        QTest::mouseClick(frameButton("CmdRes"), Qt::LeftButton);
        QCOMPARE(layout().label(2).pos, BuiltInLayout::resetPosition(2));
        QVERIFY(frameButton("CmdSave")->isEnabled()); // Reset leaves the button as it was
        m_frame->close();
        QCOMPARE(m_test->dialogs.messages.size(), 1);
        QCOMPARE(m_test->reopenSettings()->value("PTS1leftImpech", "Impech", {}), QStringLiteral("215,0006"));
    }

    void panelArrowsMoveTheTickedGroups()
    {
        open();
        std::array<MmPoint, kLabelCount> before;
        for (int i = 0; i < kLabelCount; ++i)
            before[size_t(i)] = layout().label(i).pos;
        QTest::mouseClick(control<QPushButton>("CmdDown"), Qt::LeftButton);
        for (int i = 0; i < kLabelCount; ++i) {
            const float expected = i >= 40 ? before[size_t(i)].top : before[size_t(i)].top + 0.5f;
            QCOMPARE(layout().label(i).pos.top, expected);
        }
        for (int p = 0; p < kPictureCount; ++p)
            QCOMPARE(layout().picture(PictureId(p)).pos.top,
                     BuiltInLayout::missingPicturePosition(PictureId(p)).top + 0.5f);
        QVERIFY(m_state.LayoutChanged);
        QVERIFY(frameButton("CmdSave")->isEnabled());

        // Only the stamp; then nothing at all, which still enables "Сохранить".
        for (const char *name : {"ChFon1", "ChN1", "ChFon2", "ChN2", "ChPodp2"})
            tick(name, false);
        QTest::mouseClick(control<QPushButton>("CmLleft"), Qt::LeftButton);
        QCOMPARE(layout().picture(PictureId::ImPech).pos.left, 215.0f - 0.5f);
        QCOMPARE(layout().picture(PictureId::ImPodp).pos.left, 248.0f);
        QCOMPARE(layout().label(0).pos.left, before[0].left);

        tick("ChPech2", false);
        QTest::mouseClick(frameButton("CmdSave"), Qt::LeftButton);
        QVERIFY(!m_state.LayoutChanged);
        QTest::mouseClick(control<QPushButton>("CmdUp"), Qt::LeftButton);
        QVERIFY(!m_state.LayoutChanged);
        QVERIFY(frameButton("CmdSave")->isEnabled());
        QCOMPARE(layout().label(0).pos.top, before[0].top + 0.5f);
    }

    void visibilityBoxesShowAndHideTheirGroups()
    {
        open();
        tick("ChNVis1", false);
        for (int i = 0; i < kLabelCount; ++i) {
            const bool side1 = i <= 17 || i == 36;
            QCOMPARE(layout().label(i).visible, !side1 && i < 40);
        }
        tick("ChNVis1", true);
        for (int i = 0; i < kLabelCount; ++i)
            QCOMPARE(layout().label(i).visible, !(i == 3 || i >= 40));
        tick("ChPodpVis2", false);
        QVERIFY(!layout().picture(PictureId::ImPodp).visible);
        QVERIFY(layout().picture(PictureId::ImPech).visible);
    }

    void inPlaceEditingFollowsTheEditOrder()
    {
        open();
        auto *txt1 = control<QLineEdit>("txt1");
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, labelPoint(10));
        QVERIFY(txt1->isVisible());
        QCOMPARE(txt1->text(), QStringLiteral("Поле 10"));
        QCOMPARE(txt1->palette().color(QPalette::Base), QColor(255, 255, 0));
        QTest::keyClick(txt1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(txt1, QStringLiteral("KUZOV 77"));
        QTest::keyClick(txt1, Qt::Key_Return);
        QCOMPARE(layout().label(10).text, QStringLiteral("KUZOV 77"));
        QVERIFY(txt1->isVisible());
        QCOMPARE(m_state.EditedLabel, 11);
        QCOMPARE(txt1->text(), QStringLiteral("Поле 11"));
        QTest::keyClicks(txt1, QStringLiteral("xyz"));
        QTest::keyClick(txt1, Qt::Key_Escape);
        QVERIFY(!txt1->isVisible());
        QCOMPARE(layout().label(11).text, QStringLiteral("Поле 11"));
        QVERIFY(!m_state.LayoutChanged);

        // Enter on 2 opens 4; Enter on 39 only commits.
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, labelPoint(2));
        QTest::keyClick(txt1, Qt::Key_Enter);
        QCOMPARE(m_state.EditedLabel, 4);
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, labelPoint(39));
        QTest::keyClick(txt1, Qt::Key_Return);
        QVERIFY(!txt1->isVisible());

        m_frame->close();
        QCOMPARE(m_editor.texts[10], QStringLiteral("KUZOV 77"));
        QCOMPARE(m_editor.texts[11], QStringLiteral("Поле 11"));
        QCOMPARE(m_editor.shown, 1);
    }

    void closingFocusesTheSelectedLabelsBox()
    {
        open();
        clickLabel(1);
        clickLabel(20, Qt::ControlModifier);
        QTest::mouseClick(m_frame->findChild<QWidget *>(QStringLiteral("Toolbar1(Delete)")), Qt::LeftButton);
        QCOMPARE(m_editor.focused, 20);
        QCOMPARE(m_editor.shown, 1);
        QVERIFY(!m_frame->isVisible());
        QVERIFY(!pts().isVisible());
    }

    // "Печать" writes the page as the window shows it, without the side panel.
    void printSavesThePagePicture()
    {
        open();
        const QString path = QDir(m_test->folder()).filePath(QStringLiteral("page.jpg"));
        m_test->dialogs.paths = {path};
        m_test->dialogs.answers = {Dialogs::Answer::No};
        QTest::mouseClick(m_frame->findChild<QWidget *>(QStringLiteral("Toolbar1(Print)")), Qt::LeftButton);
        const QImage picture(path, "BMP");
        QCOMPARE(picture.size(), pts().size());
        QCOMPARE(picture.pixelColor(20, 20), QColor(Qt::white)); // where the panel is
        QVERIFY(control<QWidget>("Frame1")->isVisible());
        QVERIFY(m_test->shell.calls.isEmpty());
    }

    void numberColours()
    {
        open();
        // Blue would read as a selection.
        m_test->dialogs.colours = {QColor(0, 0, 255)};
        menuItem("Menu_Number_1")->trigger();
        QCOMPARE(m_test->dialogs.texts(), QStringList{QStringLiteral("Этот цвет использовать нельзя!")});
        QCOMPARE(m_test->dialogs.messages.first().caption, QStringLiteral("Trelvax"));
        QCOMPARE(m_test->dialogs.owners, (QStringList{QStringLiteral("frmPTS1"), QStringLiteral("frmPTS1")}));
        QCOMPARE(m_state.RedNumberColour, kDefaultRedNumber);
        QCOMPARE(layout().label(36).foreColour, kDefaultRedNumber);

        m_test->dialogs.colours = {QColor(0, 160, 0)};
        menuItem("Menu_Number_1")->trigger();
        QCOMPARE(layout().label(37).foreColour, 160 << 8);
        QTest::keyClick(&pts().view(), Qt::Key_Escape);
        QCOMPARE(layout().label(36).foreColour, kEscNumber);
        QCOMPARE(layout().label(37).foreColour, kEscNumber);
        QCOMPARE(layout().label(38).foreColour, kNormalText);
        QCOMPARE(m_state.RedNumberColour, 160 << 8);

        // Cancel: the dialog reports the colour it held, the green chosen last.
        menuItem("Menu_Number_2")->trigger();
        QCOMPARE(layout().label(38).foreColour, 160 << 8);
        clickLabel(0);
        QCOMPARE(layout().label(36).foreColour, 160 << 8);
        menuItem("Menu_Number_2_Res")->trigger();
        QCOMPARE(layout().label(38).foreColour, kBlack);
        m_frame->close();
        const auto disk = m_test->reopenSettings();
        QCOMPARE(disk->value("PTS1CRNB1", "1", {}), QStringLiteral("40960"));
        QCOMPARE(disk->value("PTS1CRNB2", "1", {}), QStringLiteral("0"));
    }

    void anEmptyStoreWritesTheSystemColourForTheBlackNumber()
    {
        m_test->settings->setValue("PTS1CRNB1", "1", QStringLiteral("красный"));
        m_state.RedNumberColour = 4242;
        open();
        QCOMPARE(layout().label(36).foreColour, 4242);
        m_frame->close();
        QCOMPARE(m_test->reopenSettings()->value("pts1crnb2", "1", {}), QStringLiteral("-2147483630"));
    }

    void fontInfoNamesFaceSizeAndStyle()
    {
        open();
        QTest::mouseClick(viewport(), Qt::MiddleButton, {}, labelPoint(5));
        QTest::mouseClick(viewport(), Qt::MiddleButton, {}, labelPoint(38));
        QCOMPARE(m_test->dialogs.texts(),
                 (QStringList{QStringLiteral("Шрифт в поле № 5 [Epson1 9,75 Обычный]"),
                              QStringLiteral("Шрифт в поле № 38 [Arial 12 Жирный]")}));
        QCOMPARE(m_test->dialogs.messages.first().caption, QStringLiteral("Информация о шрифте"));
        QCOMPARE(m_test->dialogs.messages.first().icon, Dialogs::Icon::Question);
        QVERIFY(selected().isEmpty());
    }

    void stampAndSignaturePictures()
    {
        QFile::remove(m_test->platform.programFile(QStringLiteral("pechat.png")));
        open();
        QCOMPARE(m_test->dialogs.texts(), QStringList{QStringLiteral("File not found")});
        QCOMPARE(m_test->dialogs.messages.first().caption, QStringLiteral("GDI+ Error"));
        QVERIFY(layout().picture(PictureId::ImPech).image.isNull());
        m_frame->close();

        // A stored stamp whose left half is transparent, at 200 of 255 over the white page.
        QImage stamp = solid({40, 40}, Qt::red);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 20; ++x)
                stamp.setPixelColor(x, y, Qt::transparent);
        const QString path = QDir(m_test->folder()).filePath(QStringLiteral("stamp.png"));
        QVERIFY(stamp.save(path));
        m_test->settings->setValue("Nastr", "PechFName", path);
        m_test->dialogs.messages.clear();
        open();
        QCOMPARE(m_test->dialogs.texts(), QStringList{QStringLiteral("File not found")}); // pechat.png first
        for (const char *name : {"ChFonVis2", "ChNVis2", "ChPodpVis2"})
            tick(name, false);
        const QImage shot = viewport()->grab().toImage();
        const auto pixel = [&](float dx, float dy) {
            return shot.pixelColor(pts().view().mapFromScene(QPointF(215 + dx, 154 + dy)));
        };
        const QColor blended = pixel(30 * 25.4f / 96, 20 * 25.4f / 96);
        QVERIFY2(qAbs(blended.red() - 255) <= 2 && qAbs(blended.green() - 55) <= 2 && qAbs(blended.blue() - 55) <= 2,
                 qPrintable(blended.name()));
        QCOMPARE(pixel(10 * 25.4f / 96, 20 * 25.4f / 96), QColor(Qt::white));
    }

    // The stamp and the signature take no part in the mouse's commands: a press on them keeps
    // the selection and the in-place editor, and the right button opens no menu there.
    void stampAndSignatureIgnoreTheMouse_data()
    {
        QTest::addColumn<PictureId>("picture");
        QTest::newRow("stamp") << PictureId::ImPech;
        QTest::newRow("signature") << PictureId::ImPodp;
    }
    void stampAndSignatureIgnoreTheMouse()
    {
        QFETCH(PictureId, picture);
        open();
        // A point of the picture that no label covers.
        const CertificateLayout::Picture &p = layout().picture(picture);
        QPoint over;
        for (float dy = 0.5f; over.isNull() && dy < p.sizeMm.height(); dy += 0.5f) {
            for (float dx = 0.5f; over.isNull() && dx < p.sizeMm.width(); dx += 0.5f) {
                const QPointF at(p.pos.left + dx, p.pos.top + dy);
                bool onLabel = false;
                for (int i = 0; i < kLabelCount; ++i) {
                    const CertificateLayout::Label &l = layout().label(i);
                    onLabel = onLabel
                        || (l.visible
                            && QRectF(l.pos.left, l.pos.top, l.width, l.height).adjusted(-1, -1, 1, 1).contains(at));
                }
                if (!onLabel)
                    over = pts().view().mapFromScene(at);
            }
        }
        QVERIFY(!over.isNull());
        auto *txt1 = control<QLineEdit>("txt1");
        auto *number = pts().findChild<QMenu *>(QStringLiteral("Menu_Number"));
        clickLabel(5);
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, labelPoint(10));
        clickLabel(20, Qt::ControlModifier);
        QVERIFY(txt1->isVisible());
        const QList<int> before = selected();

        QTest::mouseClick(viewport(), Qt::LeftButton, {}, over);
        QCOMPARE(selected(), before);
        QVERIFY(txt1->isVisible());
        QVERIFY(arrowsEnabled());
        QTest::mouseClick(viewport(), Qt::RightButton, {}, over);
        QVERIFY(!number->isVisible());
        QCOMPARE(selected(), before);
        QVERIFY(txt1->isVisible());

        // Hidden, the picture is no longer there: the press reaches the blank under it.
        tick(picture == PictureId::ImPech ? "ChPechVis2" : "ChPodpVis2", false);
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, over);
        QVERIFY(selected().isEmpty());
        QVERIFY(!txt1->isVisible());
    }

    // The stamp and signature come from the program folder alone: a sample in the installed
    // folder never stands in for one the operator removed.
    void aRemovedStampIsNotReplacedBySamples()
    {
        QTemporaryDir share;
        QVERIFY(solid({50, 50}, Qt::green).save(QDir(share.path()).filePath(QStringLiteral("pechat.png"))));
        QVERIFY(solid({70, 30}, Qt::green).save(QDir(share.path()).filePath(QStringLiteral("podpis.png"))));
        m_test->platform.builtInFolder = share.path();
        QFile::remove(m_test->platform.programFile(QStringLiteral("pechat.png")));
        open();
        QCOMPARE(m_test->dialogs.texts(), QStringList{QStringLiteral("File not found")});
        QCOMPARE(m_test->dialogs.messages.first().caption, QStringLiteral("GDI+ Error"));
        QVERIFY(layout().picture(PictureId::ImPech).image.isNull());
        QCOMPARE(layout().picture(PictureId::ImPodp).image.size(), QSize(60, 20));
    }

    void theFacesMapToInstalledLookalikes_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("installed");
        QTest::newRow("Epson1") << QStringLiteral("Epson1") << QStringLiteral("Liberation Mono");
        QTest::newRow("PTS_Number_1") << QStringLiteral("PTS_Number_1") << QStringLiteral("DejaVu Sans Condensed");
        QTest::newRow("@Arial Unicode MS") << QStringLiteral("@Arial Unicode MS") << QStringLiteral("Liberation Sans");
        QTest::newRow("Arial") << QStringLiteral("Arial") << QStringLiteral("Liberation Sans");
    }
    void theFacesMapToInstalledLookalikes()
    {
        QFETCH(QString, face);
        QFETCH(QString, installed);
        PageText::registerFontSubstitutions();
        QCOMPARE(QFontInfo(PageText::fontOf({face, 9.75f, false, false})).family(), installed);
        QVERIFY(PageText::isFaceAvailable(face));
        QVERIFY(!PageText::isFaceAvailable(QStringLiteral("No Such Face 42")));
    }

    // A label that fits its box on the screen fits it on paper: the same width at 96 and at
    // 600 dpi, measured and drawn.
    void textMeasuresTheSameOnScreenAndPrinter()
    {
        m_editor.texts[1] = QStringLiteral("XTA21093071234567");
        m_editor.texts[18] = QStringLiteral("КОНСТАНТИНОПОЛЬСКИЙ");
        open();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(m_test->folder()).filePath(QStringLiteral("page.pdf")));
        printer.setResolution(600);
        QImage screen(1, 1, QImage::Format_RGB32);
        screen.setDotsPerMeterX(qRound(96 / 0.0254));
        screen.setDotsPerMeterY(qRound(96 / 0.0254));
        for (const int i : {1, 18, 34, 36, 38}) {
            const CertificateLayout::Label &l = layout().label(i);
            const qreal onScreen = PageText::textSizeMmOn(l.font, l.text, &screen).width();
            const qreal onPaper = PageText::textSizeMmOn(l.font, l.text, &printer).width();
            QVERIFY2(qAbs(onScreen - onPaper) < 0.02,
                     qPrintable(QStringLiteral("%1: %2 / %3").arg(i).arg(onScreen).arg(onPaper)));
        }

        // Drawn: only label 1, at 96 and 600 dpi; its ink spans the same millimetres.
        for (int i = 0; i < kLabelCount; ++i)
            if (i != 1)
                pts().layout().setLabelVisible(i, false);
        for (int p = 0; p < kPictureCount; ++p)
            pts().layout().setPictureVisible(PictureId(p), false);
        const CertificateLayout::Label &l = layout().label(1);
        const QRectF source(l.pos.left - 2, l.pos.top - 2, l.width + 4, l.height + 4);
        const auto inkWidthMm = [&](int dpi) {
            QImage image(qCeil(source.width() * dpi / 25.4), qCeil(source.height() * dpi / 25.4), QImage::Format_RGB32);
            image.setDotsPerMeterX(qRound(dpi / 0.0254));
            image.setDotsPerMeterY(qRound(dpi / 0.0254));
            image.fill(Qt::white);
            QPainter painter(&image);
            pts().scene().renderPage(&painter, source);
            painter.end();
            int left = image.width(), right = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128) {
                        left = qMin(left, x);
                        right = qMax(right, x);
                    }
            return std::pair{left * 25.4 / dpi, (right + 1) * 25.4 / dpi};
        };
        const auto [screenLeft, screenRight] = inkWidthMm(96);
        const auto [paperLeft, paperRight] = inkWidthMm(600);
        QVERIFY(screenRight > screenLeft);
        QVERIFY2(qAbs((screenRight - screenLeft) - (paperRight - paperLeft)) < 0.3,
                 qPrintable(QStringLiteral("%1 / %2").arg(screenRight - screenLeft).arg(paperRight - paperLeft)));
        // The ink stays inside the label's box (2 mm margin of the source on the left).
        QVERIFY(paperRight - 2 <= l.width);
    }

    // The operator's road: New in the journal, a plate typed in the editor, the preview button
    // opens the certificate frame over the same text, and closing it brings the editor back.
    void theEditorsPreviewOpensTheCertificate()
    {
        auto journal = std::make_unique<Journal>();
        Form1 form(m_test->platform, *journal);
        serveEditorsOf(form, m_test->platform, m_state);
        form.show();
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Cmd1")), Qt::LeftButton);
        frm *editor = form.editor();
        QVERIFY(editor && editor->isVisible());
        editor->setBoxText(0, QStringLiteral("А123ВС77"));
        QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);

        MDIForm1 *frame = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<MDIForm1 *>(w); f && f->isVisible())
                frame = f;
        QVERIFY(frame);
        QVERIFY(!editor->isVisible());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Свидетельство о Регистрации"));
        QCOMPARE(frame->printWindow()->layout().label(0).text, QStringLiteral("А123ВС77"));

        // The plate corrected on the certificate goes back into the editor's box, and from
        // there into the journal when the editor closes.
        frmPTS1 *print = frame->printWindow();
        const CertificateLayout::Label &plate = print->layout().label(0);
        QTest::mouseDClick(print->view().viewport(), Qt::LeftButton, {},
                           print->view().mapFromScene(QPointF(plate.pos.left + 0.8, plate.pos.top + plate.height / 2)));
        auto *txt1 = print->findChild<QLineEdit *>(QStringLiteral("txt1"));
        QVERIFY(txt1->isVisible());
        QTest::keyClick(txt1, Qt::Key_A, Qt::ControlModifier);
        // "|" and a letter with no Windows-1251 byte are kept out here as in the editor's boxes:
        // the page shows what the journal will hold.
        for (const QChar c : QStringLiteral("B777|OP中99"))
            QTest::sendKeyEvent(QTest::Click, txt1, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(txt1, Qt::Key_Return);
        QTest::keyClick(txt1, Qt::Key_Escape);
        QCOMPARE(plate.text, QStringLiteral("B777OP99"));

        frame->close();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->boxText(0), QStringLiteral("B777OP99"));
        QCOMPARE(editor->findChild<QLineEdit *>(QStringLiteral("txt(0)"))->text(), QStringLiteral("B777OP99"));
        editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QList<QByteArray> lines = m_test->readJournal().split('\n');
        QCOMPARE(lines.size(), 3); // two records and the end of the last line
        QCOMPARE(lines[1].split('|').value(1), cp1251(QStringLiteral("B777OP99")));
    }
};

QTEST_MAIN(PrintWindowTest)
#include "tst_frmPTS1.moc"
