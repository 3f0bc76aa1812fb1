#include "CertificateFrame.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QUndoStack>

using namespace ColourCode;

// The mouse on the certificate page beyond the click: labels dragged, a frame that selects,
// the "Поле" menu's aligning, and the frame's status bar.
class LabelDragTest : public QObject, CertificateFrameFixture
{
    Q_OBJECT

    QPoint at(QPointF mm) const { return pts().view().mapFromScene(mm); }
    // A pointer move with these buttons held, as the mouse sends it (QTest's moves hold none).
    void moveTo(QPoint to, Qt::MouseButtons buttons = Qt::LeftButton) const
    {
        QMouseEvent move(QEvent::MouseMove, to, viewport()->mapToGlobal(to), Qt::NoButton, buttons, {});
        QApplication::sendEvent(viewport(), &move);
    }
    // Pressed at `from`, moved half-way and on to `to`, let go there.
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mousePress(viewport(), Qt::LeftButton, modifiers, from);
        moveTo((from + to) / 2);
        moveTo(to);
        QTest::mouseRelease(viewport(), Qt::LeftButton, modifiers, to);
    }
    QList<MmPoint> positions() const
    {
        QList<MmPoint> list;
        for (int i = 0; i < kLabelCount; ++i)
            list << layout().label(i).pos;
        return list;
    }
    QString status(const char *section) const
    {
        return m_frame->findChild<QLabel *>(QStringLiteral("StatusBar1(%1)").arg(QLatin1String(section)))->text();
    }
    QUndoStack &steps() const { return pts().undoStack(); }

private Q_SLOTS:
    void init()
    {
        newCertificate();
        writeStampAndSignature(solid({40, 40}, Qt::red), solid({60, 20}, Qt::darkBlue));
    }
    void cleanup() { closeCertificate(); }

    void aDragMovesTheSelectionByWholeSteps_data()
    {
        QTest::addColumn<QList<int>>("selection"); // empty: "Выбрать все"
        QTest::addColumn<QPoint>("pixels");
        QTest::addColumn<float>("dx");
        QTest::addColumn<float>("dy");
        QTest::addColumn<QString>("step");
        // 40 px are 10.58 mm, 42 whole steps; -13 px are -3.44 mm, 13 steps back.
        QTest::newRow("two labels") << QList<int>{5, 9} << QPoint(40, -13) << 10.5f << -3.25f
                                    << QStringLiteral("сдвиг 2 полей на 10,5 мм по горизонтали и 3,25 мм по вертикали");
        QTest::newRow("all, the hidden ones too")
            << QList<int>{} << QPoint(0, 30) << 0.0f << 7.75f << QStringLiteral("сдвиг 44 полей на 7,75 мм");
    }
    void aDragMovesTheSelectionByWholeSteps()
    {
        QFETCH(QList<int>, selection);
        QFETCH(QPoint, pixels);
        QFETCH(float, dx);
        QFETCH(float, dy);
        openFrame();
        if (selection.isEmpty())
            QTest::mouseClick(frameButton(QStringLiteral("SetAll")), Qt::LeftButton);
        for (const int i : selection)
            clickLabel(i, Qt::ControlModifier);
        const QList<int> moving = selected();
        const QList<MmPoint> before = positions();
        const QPoint from = labelPoint(9);
        // Ctrl keeps the others selected as the press selects label 9.
        QTest::mousePress(viewport(), Qt::LeftButton, Qt::ControlModifier, from);
        moveTo(from + pixels / 2);
        QVERIFY(layout().label(9).pos != before[9]);
        moveTo(from + pixels);
        QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::ControlModifier, from + pixels);

        for (int i = 0; i < kLabelCount; ++i) {
            const MmPoint expected = moving.contains(i) ? MmPoint{before[i].left + dx, before[i].top + dy} : before[i];
            QCOMPARE(layout().label(i).pos, expected);
        }
        QVERIFY(m_state.LayoutChanged);
        QVERIFY(frameButton(QStringLiteral("CmdSave"))->isEnabled());
        QCOMPARE(steps().count(), 1);
        QFETCH(QString, step);
        QCOMPARE(steps().undoText(), step);
        pts().Undo();
        QCOMPARE(positions(), before);
    }

    void aPressLetGoWhereItWasIsAClick()
    {
        openFrame();
        clickLabel(5);
        clickLabel(9, Qt::ControlModifier);
        const QList<MmPoint> before = positions();
        drag(labelPoint(12), labelPoint(12) + QPoint(3, 2));
        QCOMPARE(selected(), (QList<int>{12}));
        QCOMPARE(layout().label(37).foreColour, kDefaultRedNumber);
        QCOMPARE(layout().label(38).foreColour, kNormalText);
        drag(emptyPoint(), emptyPoint() + QPoint(-2, 3));
        QVERIFY(selected().isEmpty());
        QCOMPARE(positions(), before);
        QVERIFY(!m_state.LayoutChanged);
        QVERIFY(!frameButton(QStringLiteral("CmdSave"))->isEnabled());
        QCOMPARE(steps().count(), 0);
    }

    void aFrameSelectsTheShownLabelsInside_data()
    {
        QTest::addColumn<QRectF>("frameMm");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QList<int>>("expected");
        const QRectF around31to33(QPointF(215, 158), QPointF(240, 172));
        QTest::newRow("a new selection") << around31to33 << Qt::KeyboardModifiers() << QList<int>{31, 32, 33};
        QTest::newRow("added with Ctrl") << around31to33 << Qt::KeyboardModifiers(Qt::ControlModifier)
                                         << QList<int>{5, 31, 32, 33};
        QTest::newRow("labels cut by the frame")
            << QRectF(QPointF(215, 158), QPointF(222, 172)) << Qt::KeyboardModifiers() << QList<int>{};
        QTest::newRow("hidden labels 40..43")
            << QRectF(QPointF(80, 176), QPointF(122, 200)) << Qt::KeyboardModifiers() << QList<int>{};
    }
    void aFrameSelectsTheShownLabelsInside()
    {
        QFETCH(QRectF, frameMm);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        openFrame();
        clickLabel(5);
        QTest::mousePress(viewport(), Qt::LeftButton, modifiers, at(frameMm.bottomRight()));
        moveTo(at(frameMm.topLeft()));
        const QWidget *band = viewport()->findChild<QWidget *>(QStringLiteral("frmPTS1.frame"));
        QVERIFY(band && band->isVisible());
        QTest::mouseRelease(viewport(), Qt::LeftButton, modifiers, at(frameMm.topLeft()));
        QVERIFY(!band->isVisible());
        QTEST(selected(), "expected");
    }

    void alignLeftAndTop_data()
    {
        QTest::addColumn<bool>("left");
        QTest::newRow("left") << true;
        QTest::newRow("top") << false;
    }
    void alignLeftAndTop()
    {
        QFETCH(bool, left);
        const char *item = left ? "Menu_Fild_AlignLeft" : "Menu_Fild_AlignTop";
        openFrame();
        clickLabel(5);
        clickLabel(9, {}, Qt::RightButton);
        QVERIFY(!menuItem(item)->isEnabled());
        pts().findChild<QMenu *>(QStringLiteral("Menu_Fild"))->hide();
        clickLabel(9, Qt::ControlModifier);
        clickLabel(13, Qt::ControlModifier);
        const QList<MmPoint> before = positions();
        clickLabel(9, {}, Qt::RightButton);
        pts().findChild<QMenu *>(QStringLiteral("Menu_Fild"))->hide();
        menuItem(item)->trigger();
        for (const int i : {5, 9, 13}) {
            const MmPoint expected = left ? MmPoint{before[9].left, before[i].top}
                                          : MmPoint{before[i].left, before[9].top};
            QCOMPARE(layout().label(i).pos, expected);
        }
        QCOMPARE(layout().label(7).pos, before[7]);
        QVERIFY(m_state.LayoutChanged);
        QCOMPARE(steps().count(), 1);
        QCOMPARE(steps().undoText(),
                 left ? QStringLiteral("выравнивание 3 полей по левому краю")
                      : QStringLiteral("выравнивание 3 полей по верхнему краю"));
    }

    void theStatusBarFollowsThePointerAndTheSelection()
    {
        openFrame();
        moveTo(QPoint(480, 576), Qt::NoButton);
        QCOMPARE(status("Pointer"), QStringLiteral("Указатель: 127,00 × 152,40 мм"));
        clickLabel(13);
        clickLabel(17, Qt::ControlModifier);
        QCOMPARE(status("Count"), QStringLiteral("Выделено полей: 2"));
        QCOMPARE(status("Label"), QStringLiteral("Поле № 13: 185,21 × 158,75 мм"));
        QTest::keyClick(&pts().view(), Qt::Key_Right);
        QCOMPARE(status("Label"), QStringLiteral("Поле № 13: 185,46 × 158,75 мм"));
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, emptyPoint());
        QCOMPARE(status("Count"), QString());
        QCOMPARE(status("Label"), QString());
    }

    void aDragCutShort()
    {
        openFrame();
        clickLabel(7);
        const QList<MmPoint> before = positions();
        const QPoint from = labelPoint(7);
        // Esc takes the drag back and leaves the selection.
        QTest::mousePress(viewport(), Qt::LeftButton, {}, from);
        moveTo(from + QPoint(40, 0));
        QTest::keyClick(&pts().view(), Qt::Key_Escape);
        QTest::mouseRelease(viewport(), Qt::LeftButton, {}, from + QPoint(40, 0));
        QCOMPARE(positions(), before);
        QCOMPARE(selected(), (QList<int>{7}));
        QCOMPARE(steps().count(), 0);
        // Closed in the middle of a drag: the labels stay where they are shown, and the closing
        // asks about them.
        QTest::mousePress(viewport(), Qt::LeftButton, {}, from);
        moveTo(from + QPoint(40, 0));
        m_test->dialogs.answers = {Dialogs::Answer::No};
        m_frame->close();
        QCOMPARE(m_test->dialogs.texts(),
                 QStringList{QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?")});
        QCOMPARE(layout().label(7).pos.left, before[7].left + 10.5f);
    }
};

QTEST_MAIN(LabelDragTest)
#include "tst_LabelDrag.moc"
