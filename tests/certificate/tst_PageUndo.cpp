#include "CertificateFrame.h"
#include "Files.h"
#include "certificate/BuiltInLayout.h"
#include "platform/RegionalNumber.h"

#include <QAction>
#include <QCheckBox>
#include <QGraphicsView>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRandomGenerator>
#include <QShortcut>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include <bit>

// Taking changes of the certificate page back and doing them again, as the operator does it:
// the frame's "Отменить" and "Повторить", and the keys of the print window.
class PageUndoTest : public QObject, CertificateFrameFixture
{
    Q_OBJECT

    void open() { openFrame(Wait::Active).view().setFocus(); }
    QLineEdit *txt1() const { return pts().findChild<QLineEdit *>(QStringLiteral("txt1")); }
    QPushButton *panelButton(const QString &name) const
    {
        return pts().findChild<QWidget *>(QStringLiteral("Frame1"))->findChild<QPushButton *>(name);
    }
    QToolButton *toolButton(const char *key) const
    {
        return m_frame->findChild<QToolButton *>(QStringLiteral("Toolbar1(%1)").arg(QLatin1String(key)));
    }
    QAction *action(const char *key) const { return m_frame->findChild<QAction *>(QLatin1String(key)); }

    void wait(qint64 milliseconds) { m_test->clock.time = m_test->clock.time.addMSecs(milliseconds); }
    // "Отменить" or "Повторить" clicked; false when it was disabled.
    bool clickTool(const char *key)
    {
        if (!action(key)->isEnabled())
            return false;
        QTest::mouseClick(toolButton(key), Qt::LeftButton);
        return true;
    }
    // Double click on a label, the text replaced, Enter; the next label's editor closed again.
    void correctText(int i, const QString &text)
    {
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, labelPoint(i));
        if (!txt1()->isVisible())
            return;
        QTest::keyClick(txt1(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(txt1(), text);
        QTest::keyClick(txt1(), Qt::Key_Return);
        if (txt1()->isVisible())
            QTest::keyClick(txt1(), Qt::Key_Escape);
    }

    static QString exact(float value)
    {
        return QString::number(double(value), 'g', 9) + QLatin1Char('/')
            + QString::number(std::bit_cast<quint32>(value), 16);
    }
    static QString exact(const QVariant &field)
    {
        if (field.typeId() == QMetaType::Float)
            return QStringLiteral("float ") + exact(field.toFloat());
        return QString::fromLatin1(field.typeName()) + QLatin1Char(' ') + field.toString();
    }
    // Everything a step may change, numbers as they are held, and the labels' fore colours.
    QStringList page() const
    {
        QStringList lines;
        for (int i = 0; i < kLabelCount; ++i) {
            const CertificateLayout::Label &l = layout().label(i);
            lines << QStringLiteral("Lb1(%1) ").arg(i) + l.text + QStringLiteral(" | ") + exact(l.pos.left)
                    + QLatin1Char(' ') + exact(l.pos.top) + QStringLiteral(" | ") + exact(l.width) + QLatin1Char(' ')
                    + exact(l.height) + QStringLiteral(" | ") + l.font.face + QLatin1Char(' ') + exact(l.font.size)
                    + (l.font.bold ? QStringLiteral(" bold") : QString())
                    + (l.font.italic ? QStringLiteral(" italic") : QString()) + QStringLiteral(" | ")
                    + QString::number(l.foreColour);
        }
        for (int p = 0; p < kPictureCount; ++p) {
            const MmPoint pos = layout().picture(PictureId(p)).pos;
            lines << QStringLiteral("picture %1 ").arg(p) + exact(pos.left) + QLatin1Char(' ') + exact(pos.top);
        }
        lines << QStringLiteral("numbers %1 %2").arg(m_state.RedNumberColour).arg(m_state.BlackNumberColour);
        for (int i = 0; i < kLabelCount; ++i) {
            const LabelFont &f = m_state.LabelFonts[i];
            lines << QStringLiteral("font %1: ").arg(i) + exact(f.name) + QStringLiteral(" | ") + exact(f.bold)
                    + QStringLiteral(" | ") + exact(f.italic) + QStringLiteral(" | ") + exact(f.size)
                    + QStringLiteral(" | ") + exact(f.colour);
        }
        return lines;
    }
    // The fore colours of the labels in `selection` left out: the selection is never taken back.
    static QStringList withoutColoursOf(QStringList lines, const QList<int> &selection)
    {
        for (const int i : selection)
            lines[i] = lines[i].left(lines[i].lastIndexOf(QStringLiteral(" | "))) + QStringLiteral(" | selected");
        return lines;
    }

    // One operator command from a short script word: "click 5", "ctrl 9", "key Down",
    // "strip Up", "panel Left", "wait 1000", "undo", "redo", "setall", "save", "reset", "fontreset",
    // "edit 10 text".
    void run(const QString &command)
    {
        const QStringList words = command.split(QLatin1Char(' '));
        const QString &verb = words.first();
        const QString arg = words.value(1);
        static const QHash<QString, Qt::Key> keys = {{QStringLiteral("Up"), Qt::Key_Up},
                                                     {QStringLiteral("Down"), Qt::Key_Down},
                                                     {QStringLiteral("Left"), Qt::Key_Left},
                                                     {QStringLiteral("Right"), Qt::Key_Right}};
        static const QHash<QString, QString> buttons = {{QStringLiteral("Up"), QStringLiteral("CmdUp")},
                                                        {QStringLiteral("Down"), QStringLiteral("CmdDown")},
                                                        {QStringLiteral("Left"), QStringLiteral("CmLleft")},
                                                        {QStringLiteral("Right"), QStringLiteral("CmdRight")}};
        if (verb == QLatin1String("click")) {
            clickLabel(arg.toInt());
        } else if (verb == QLatin1String("ctrl")) {
            clickLabel(arg.toInt(), Qt::ControlModifier);
        } else if (verb == QLatin1String("key")) {
            QTest::keyClick(&pts().view(), keys.value(arg));
        } else if (verb == QLatin1String("strip")) {
            QTest::mouseClick(frameButton(buttons.value(arg)), Qt::LeftButton);
        } else if (verb == QLatin1String("panel")) {
            QTest::mouseClick(panelButton(buttons.value(arg)), Qt::LeftButton);
        } else if (verb == QLatin1String("wait")) {
            wait(arg.toLongLong());
        } else if (verb == QLatin1String("undo")) {
            QVERIFY(clickTool("Undo"));
        } else if (verb == QLatin1String("redo")) {
            QVERIFY(clickTool("Redo"));
        } else if (verb == QLatin1String("setall")) {
            QTest::mouseClick(frameButton(QStringLiteral("SetAll")), Qt::LeftButton);
        } else if (verb == QLatin1String("save")) {
            QTest::mouseClick(frameButton(QStringLiteral("CmdSave")), Qt::LeftButton);
        } else if (verb == QLatin1String("reset") || verb == QLatin1String("fontreset")) {
            m_test->dialogs.answers.push_back(Dialogs::Answer::Ok);
            QTest::mouseClick(frameButton(verb == QLatin1String("reset") ? QStringLiteral("CmdRes")
                                                                         : QStringLiteral("SHR3")),
                              Qt::LeftButton);
        } else if (verb == QLatin1String("edit")) {
            correctText(arg.toInt(), words.value(2));
        } else {
            QFAIL(qPrintable(command));
        }
    }

    // One command picked at random among all the operator can do to the page, steps or not.
    void randomCommand(QRandomGenerator &random)
    {
        static const char *const directions[] = {"Up", "Down", "Left", "Right"};
        static const char *const moveBoxes[] = {"ChFon1", "ChN1", "ChFon2", "ChN2", "ChPech2", "ChPodp2"};
        static const char *const showBoxes[] = {"ChFonVis1", "ChNVis1",    "ChFonVis2",
                                                "ChNVis2",   "ChPechVis2", "ChPodpVis2"};
        static const char *const faces[] = {"Epson1", "Arial", "PTS_Number_1", "@Arial Unicode MS"};
        static const double sizes[] = {6, 8.25, 9.75, 12, 13, 30};
        static const QColor colours[] = {QColor(0, 160, 0), QColor(0, 0, 255), QColor(128, 0, 64), QColor(255, 0, 0)};
        static const qint64 pauses[] = {0, 300, 1000, 1001, 2500};
        const auto pick = [&random](int n) { return int(random.bounded(n)); };
        const auto visibleLabel = [&] {
            QList<int> shown;
            for (int i = 0; i < kLabelCount; ++i) {
                if (layout().label(i).visible)
                    shown << i;
            }
            return shown.isEmpty() ? 0 : shown.at(pick(int(shown.size())));
        };
        const auto font = [&] {
            Dialogs::FontChoice choice;
            choice.face = QLatin1String(faces[pick(4)]);
            choice.size = sizes[pick(6)];
            choice.bold = pick(2) == 1;
            choice.italic = pick(2) == 1;
            choice.colour = colours[pick(4)];
            if (pick(4) > 0) // else the dialog is cancelled
                m_test->dialogs.fonts.push_back(choice);
        };

        wait(pauses[pick(5)]);
        const QString direction = QLatin1String(directions[pick(4)]);
        switch (pick(20)) {
        case 0:
        case 1:
        case 2:
        case 3:
            run(QStringLiteral("key ") + direction);
            break;
        case 4:
        case 5:
            run(QStringLiteral("strip ") + direction);
            break;
        case 6:
            run(QStringLiteral("panel ") + direction);
            break;
        case 7: {
            QCheckBox *box = pts().findChild<QCheckBox *>(
                QLatin1String(pick(2) ? moveBoxes[pick(6)] : showBoxes[pick(6)]));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            break;
        }
        case 8:
        case 9: {
            const int label = visibleLabel();
            clickLabel(label, pick(2) ? Qt::ControlModifier : Qt::KeyboardModifiers());
            break;
        }
        case 10:
            if (pick(2))
                QTest::mouseClick(frameButton(QStringLiteral("SetAll")), Qt::LeftButton);
            else
                QTest::mouseClick(viewport(), Qt::LeftButton, {}, emptyPoint());
            break;
        case 11:
            m_test->dialogs.answers.push_back(pick(4) ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel);
            QTest::mouseClick(frameButton(QStringLiteral("CmdRes")), Qt::LeftButton);
            break;
        case 12:
            m_test->dialogs.answers.push_back(pick(4) ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel);
            QTest::mouseClick(frameButton(QStringLiteral("SHR3")), Qt::LeftButton);
            break;
        case 13:
            font();
            QTest::mouseClick(frameButton(QStringLiteral("SHR1")), Qt::LeftButton);
            break;
        case 14:
            font();
            menuItem("Menu_Fild_Font")->trigger();
            break;
        case 15:
            correctText(visibleLabel(), QStringLiteral("FIX%1").arg(pick(100)));
            break;
        case 16:
            if (pick(4) > 0) // else the dialog is cancelled
                m_test->dialogs.colours.push_back(colours[pick(4)]);
            menuItem(pick(2) ? "Menu_Number_1" : "Menu_Number_2")->trigger();
            break;
        case 17:
            menuItem(pick(2) ? "Menu_Number_1_Res" : "Menu_Number_2_Res")->trigger();
            break;
        case 18:
            QTest::keyClick(&pts().view(), Qt::Key_Z, Qt::ControlModifier);
            break;
        default:
            if (pick(2))
                QTest::keyClick(&pts().view(), Qt::Key_Y, Qt::ControlModifier);
            else
                clickTool("Redo");
            break;
        }
        // What the script put in for a command that did not ask is not left for the next one.
        m_test->dialogs.answers.clear();
        m_test->dialogs.fonts.clear();
        m_test->dialogs.colours.clear();
    }

private Q_SLOTS:
    void init() { newCertificate(); }
    void cleanup() { closeCertificate(); }

    // Whatever the operator did, taking back every step gives the page of the start again,
    // bit for bit, and doing them again gives the page of the end; the selection stays.
    void undoingEverythingGivesTheStartBack_data()
    {
        QTest::addColumn<quint32>("seed");
        for (const quint32 seed : {1u, 19u, 2026u, 77777u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void undoingEverythingGivesTheStartBack()
    {
        QFETCH(quint32, seed);
        open();
        QRandomGenerator random(seed);
        const QStringList start = page();
        for (int n = 0; n < 80; ++n) {
            randomCommand(random);
            if (QTest::currentTestFailed())
                return;
        }
        if (txt1()->isVisible())
            QTest::keyClick(txt1(), Qt::Key_Escape);
        const QList<int> selection = selected();
        const QStringList end = page();
        const int done = pts().undoStack().index();
        QVERIFY2(done >= 8, qPrintable(QString::number(done)));

        int undone = 0;
        while (action("Undo")->isEnabled()) {
            QVERIFY(action("Undo")->toolTip().startsWith(QStringLiteral("Отменить: ")));
            QVERIFY(clickTool("Undo"));
            ++undone;
        }
        QCOMPARE(undone, done);
        QCOMPARE(action("Undo")->toolTip(), QStringLiteral("Отменить"));
        QCOMPARE(selected(), selection);
        QCOMPARE(withoutColoursOf(page(), selection), withoutColoursOf(start, selection));

        for (int n = 0; n < done; ++n) {
            QVERIFY(action("Redo")->toolTip().startsWith(QStringLiteral("Повторить: ")));
            QVERIFY(clickTool("Redo"));
        }
        QCOMPARE(selected(), selection);
        QCOMPARE(page(), end);
    }

    // A run of moves of the same selection, each within a second of the one before, is one
    // step; another selection, a longer pause or a run taken back and done again is not.
    void runsOfMovesAreOneStep_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("name");
        const auto words = [](const char *text) { return QString::fromUtf8(text).split(QLatin1Char(',')); };
        QTest::newRow("keys and strip within a second")
            << words("click 5,ctrl 9,ctrl 20,key Down,key Down,wait 1000,strip Down,wait 400,key Down,key Down") << 1
            << QStringLiteral("сдвиг 3 полей на 1,25 мм");
        QTest::newRow("a pause over a second")
            << words("click 5,key Right,wait 1001,key Right") << 2 << QStringLiteral("сдвиг 1 поля на 0,25 мм");
        QTest::newRow("the clock set back")
            << words("click 5,key Right,wait -1,key Right") << 2 << QStringLiteral("сдвиг 1 поля на 0,25 мм");
        QTest::newRow("another selection")
            << words("click 5,key Down,ctrl 9,key Down") << 2 << QStringLiteral("сдвиг 2 полей на 0,25 мм");
        QTest::newRow("the same selection again")
            << words("click 5,key Down,click 9,click 5,key Down") << 1 << QStringLiteral("сдвиг 1 поля на 0,5 мм");
        QTest::newRow("both ways") << words("click 5,key Right,key Right,key Up") << 1
                                   << QStringLiteral("сдвиг 1 поля на 0,5 мм по горизонтали и 0,25 мм по вертикали");
        QTest::newRow("back where it started") << words("click 5,key Right,key Left") << 0 << QString();
        QTest::newRow("nothing selected") << words("key Right") << 0 << QString();
        QTest::newRow("a run taken back and done again")
            << words("click 5,key Up,undo,redo,key Up") << 2 << QStringLiteral("сдвиг 1 поля на 0,25 мм");
        QTest::newRow("panel moves one by one")
            << words("panel Down,panel Down") << 2 << QStringLiteral("сдвиг сторон на 0,5 мм");
        QTest::newRow("all labels") << words("setall,strip Up") << 1 << QStringLiteral("сдвиг 44 полей на 0,25 мм");
        QTest::newRow("twenty-one labels")
            << words("click 0,ctrl 1,ctrl 2,ctrl 4,ctrl 5,ctrl 6,ctrl 7,ctrl 8,ctrl 9,ctrl 10,ctrl 11,ctrl 12,ctrl 13,"
                     "ctrl 14,ctrl 15,ctrl 16,ctrl 17,ctrl 18,ctrl 19,ctrl 20,ctrl 21,key Left")
            << 1 << QStringLiteral("сдвиг 21 поля на 0,25 мм");
    }
    void runsOfMovesAreOneStep()
    {
        QFETCH(QStringList, script);
        QFETCH(int, steps);
        QFETCH(QString, name);
        open();
        for (const QString &command : script)
            run(command);
        QCOMPARE(pts().undoStack().count(), steps);
        QCOMPARE(action("Undo")->isEnabled(), steps > 0);
        QVERIFY(!action("Redo")->isEnabled());
        if (steps == 0)
            return;
        QCOMPARE(action("Undo")->toolTip(), QStringLiteral("Отменить: ") + name);
        QVERIFY(clickTool("Undo"));
        QCOMPARE(action("Redo")->toolTip(), QStringLiteral("Повторить: ") + name);
        // The frame's own strip buttons and the print window's keys move the same run.
        for (int n = 1; n < steps; ++n)
            QVERIFY(clickTool("Undo"));
        for (int i = 0; i < kLabelCount; ++i)
            QVERIFY(layout().label(i).pos == BuiltInLayout::designPosition(i));
    }

    // A move taken back is still a change of the positions: closing asks, and "Сохранить"
    // stays enabled; a font or text taken back never asks.
    void closingAsksAfterAMoveTakenBack_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("saveEnabled");
        const auto words = [](const char *text) { return QString::fromUtf8(text).split(QLatin1Char(',')); };
        QTest::newRow("move") << words("click 5,key Down,undo") << true << true;
        QTest::newRow("move, then redo") << words("click 5,key Down,undo,redo") << true << true;
        QTest::newRow("saved move") << words("click 5,key Down,save,undo") << true << true;
        QTest::newRow("reset") << words("reset,undo") << true << true;
        QTest::newRow("panel") << words("panel Left,save,undo") << true << true;
        QTest::newRow("font") << words("fontreset,undo") << false << false;
        QTest::newRow("text") << words("edit 5 KUZOV,undo") << false << false;
    }
    void closingAsksAfterAMoveTakenBack()
    {
        QFETCH(QStringList, script);
        QFETCH(bool, asks);
        QFETCH(bool, saveEnabled);
        open();
        for (const QString &command : script)
            run(command);
        QCOMPARE(frameButton(QStringLiteral("CmdSave"))->isEnabled(), saveEnabled);
        m_test->dialogs.messages.clear();
        m_test->dialogs.answers = {Dialogs::Answer::Yes};
        const MmPoint shown = layout().label(5).pos;
        const MmPoint stamp = layout().picture(PictureId::ImPech).pos;
        m_frame->close();
        const QString question = QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?");
        QCOMPARE(m_test->dialogs.texts(), asks ? QStringList{question} : QStringList{});
        if (!asks)
            return;
        // Yes stores the page as it is shown, the step taken back.
        const auto disk = m_test->reopenSettings();
        QCOMPARE(disk->value("PTS1top", "5", {}), RegionalNumber::format(shown.top));
        QCOMPARE(disk->value("PTS1leftImpech", "Impech", {}), RegionalNumber::format(stamp.left));
    }

    // "Сброс" stores at once, so taking it back puts back the stored entries it wrote over,
    // byte for byte (one that was missing is missing again), and doing it again stores it again.
    void undoingAResetTakesBackWhatItStored()
    {
        open();
        for (const char *command : {"click 5", "key Down", "save"})
            run(QLatin1String(command));
        m_frame->close();
        QVERIFY(m_test->settings->value("PTS1top", "5", {}).contains(QLatin1Char(',')));
        m_test->settings->remove(QStringLiteral("PTS1topImpodp"), QStringLiteral("Impodp"));
        QVERIFY(m_test->settings->sync());
        const QByteArray before = readFile(m_test->settingsPath());
        open();
        run(QStringLiteral("reset"));
        const QByteArray reset = readFile(m_test->settingsPath());
        run(QStringLiteral("undo"));
        QCOMPARE(readFile(m_test->settingsPath()), before);
        run(QStringLiteral("redo"));
        QCOMPARE(readFile(m_test->settingsPath()), reset);
        run(QStringLiteral("undo"));
        m_test->dialogs.answers = {Dialogs::Answer::No};
        m_frame->close();
        QCOMPARE(readFile(m_test->settingsPath()), before);
    }

    // Ctrl+Z takes back, Ctrl+Y and Ctrl+Shift+Z do again, while the print window has the
    // focus; in the in-place editor they are the editor's own.
    void keysWorkOnThePageButNotInTheEditor()
    {
        open();
        run(QStringLiteral("click 5"));
        run(QStringLiteral("key Down"));
        const MmPoint design = BuiltInLayout::designPosition(5);
        const MmPoint moved{design.left, design.top + 0.25f};
        QVERIFY(layout().label(5).pos == moved);
        QTest::keyClick(&pts().view(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(layout().label(5).pos == design);
        QTest::keyClick(&pts().view(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(layout().label(5).pos == moved);
        QTest::keyClick(&pts().view(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&pts().view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(layout().label(5).pos == moved);

        // A second step, taken back: the page has one to take back and one to do again.
        run(QStringLiteral("wait 5000"));
        run(QStringLiteral("key Down"));
        run(QStringLiteral("undo"));
        QCOMPARE(pts().undoStack().index(), 1);
        QVERIFY(pts().undoStack().canRedo());

        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, labelPoint(10));
        QVERIFY(txt1()->isVisible());
        QTest::keyClicks(txt1(), QStringLiteral("xyz"));
        QTest::keyClick(txt1(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(txt1()->text() != QStringLiteral("Поле 10xyz"));
        QTest::keyClick(txt1(), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(txt1(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(txt1(), Qt::Key_Z, Qt::ControlModifier);
        // Under a keyboard layout without Latin letters the editor does not know the keys as its
        // own, and the window's shortcuts see them.
        for (QShortcut *shortcut : pts().findChildren<QShortcut *>())
            Q_EMIT shortcut->activated();
        QCOMPARE(pts().undoStack().index(), 1);
        QVERIFY(layout().label(5).pos == moved);
    }

    // The steps live with their print window: one opened in its place starts with none, and
    // the frame's buttons follow the new one.
    void aFreshWindowHasNoSteps()
    {
        open();
        QVERIFY(!action("Undo")->isEnabled());
        QVERIFY(!action("Redo")->isEnabled());
        QCOMPARE(action("Undo")->toolTip(), QStringLiteral("Отменить"));
        run(QStringLiteral("panel Up"));
        QVERIFY(action("Undo")->isEnabled());
        m_test->dialogs.answers = {Dialogs::Answer::No};
        menuItem("Menu_Fon_Reset")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!action("Undo")->isEnabled());
        QVERIFY(!action("Redo")->isEnabled());
        run(QStringLiteral("panel Up"));
        QCOMPARE(action("Undo")->toolTip(), QStringLiteral("Отменить: сдвиг сторон на 0,5 мм"));
        QVERIFY(clickTool("Undo"));
        QVERIFY(!action("Undo")->isEnabled());
        QVERIFY(action("Redo")->isEnabled());
    }
};

QTEST_MAIN(PageUndoTest)
#include "tst_PageUndo.moc"
