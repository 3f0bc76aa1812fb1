#include "JournalSession.h"

#include "journal/AutofillTemplate.h"
#include "journal/JournalGridModel.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/editor/frm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kToday = QStringLiteral("08.12.2025"); // the FixedClock's date

// A journal of `count` records: record n holds "R<n>F<f>" in every field f from 2 to 200.
QByteArray fullJournal(int count)
{
    QByteArray bytes;
    for (int n = 1; n <= count; ++n) {
        QStringList fields{QString::number(n)};
        for (int f = 2; f <= 200; ++f)
            fields << QStringLiteral("R%1F%2").arg(n).arg(f);
        bytes += journalLine(fields);
    }
    return bytes;
}

QList<QByteArray> lines(const QByteArray &bytes)
{
    QList<QByteArray> list = bytes.split('\n');
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

// One journal line of a record holding only the given fields (field number -> text).
QByteArray lineOf(int id, const QMap<int, QString> &fields)
{
    QStringList list{QString::number(id)};
    for (int f = 2; f <= 200; ++f)
        list << fields.value(f);
    return journalLine(list);
}

// Typing, character by character; QTest::keyClicks knows only ASCII.
void typeInto(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_A, QString(c), Qt::NoModifier);
}

bool isRed(const QLineEdit *box)
{
    return box->palette().color(QPalette::Text) == QColor(255, 0, 0);
}

} // namespace

class FrmTest : public QObject
{
    Q_OBJECT

    // The journal window over a journal of the test's folder, shown as at start-up.
    struct Session : JournalSession
    {
        explicit Session(TestPlatform &t) : JournalSession(t, Exposed) {}

        frm *editor() const { return form.editor(); }
        QLineEdit *txt(int i) const { return editor()->findChild<QLineEdit *>(QStringLiteral("txt(%1)").arg(i)); }
        QCheckBox *Ch1(int k) const { return editor()->findChild<QCheckBox *>(QStringLiteral("Ch1(%1)").arg(k)); }
        QString heading() const { return editor()->findChild<QLabel *>(QStringLiteral("Label3"))->text(); }

        // The operator's double click on the row of a record; true when the editor came up.
        bool open(int record)
        {
            RecordGrid *grid = form.grid();
            const QRect cell = grid->visualRect(grid->model()->index(record - 1, 1));
            // A double click reaches a widget as a press and release, then the second press.
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            return waitForEditor();
        }
        bool clickNew()
        {
            QTest::mouseClick(control<QPushButton>(QStringLiteral("Cmd1")), Qt::LeftButton);
            return waitForEditor();
        }
        bool waitForEditor()
        {
            if (!editor())
                return false;
            editor()->activateWindow();
            return QTest::qWaitForWindowActive(editor());
        }
        // The close box: the editor stores the record and is gone.
        void close()
        {
            QPointer<frm> e = editor();
            e->close();
            QTRY_VERIFY(e.isNull());
        }
        // The operator clicks into a box and types.
        void type(int box, const QString &text)
        {
            QTest::mouseClick(txt(box), Qt::LeftButton);
            typeInto(txt(box), text);
        }
    };

private Q_SLOTS:
    void init() { QApplication::clipboard()->clear(); }

    void newRecordIsAppendedWhenTheEditorCloses_data();
    void newRecordIsAppendedWhenTheEditorCloses();
    void newOnAFullJournalIsRefused();
    void aCloseWhoseSaveFailsGoesOn();
    void openingAndClosingKeepsEveryField();
    void keyOrder_data();
    void keyOrder();
    void leavingABoxPutsItIntoCapitals_data();
    void leavingABoxPutsItIntoCapitals();
    void neverShownBoxesAreNeverConverted();
    void popUpMenuClearsAllBoxesForGood();
    void storedUpperCaseChoices();
    void vinColour_data();
    void vinColour();
    void boxesKeepOutWhatTheJournalCannotHold();
    void focusColour();
    void closingStoresTheBoxBeingTypedIn();
    void savingTheTemplate();
    void previewButton();
    void layoutAndAppearance();
    void hoverCaptions();
};

void FrmTest::newRecordIsAppendedWhenTheEditorCloses_data()
{
    QTest::addColumn<bool>("autofill");
    QTest::addColumn<QString>("templateDate");
    QTest::addColumn<QString>("expectedDate");
    QTest::newRow("autofill off") << false << QStringLiteral("01.02.2024") << kToday;
    QTest::newRow("autofill, template without a date") << true << QString() << kToday;
    QTest::newRow("autofill, template with a date")
        << true << QStringLiteral("01.02.2024") << QStringLiteral("01.02.2024");
}

void FrmTest::newRecordIsAppendedWhenTheEditorCloses()
{
    QFETCH(bool, autofill);
    QFETCH(QString, templateDate);
    QFETCH(QString, expectedDate);

    TestPlatform t;
    const QByteArray journal = fullJournal(12);
    t.writeJournal(journal);
    // Template values in capitals, so that the leaving rules leave them as they are.
    QByteArray autoload;
    for (int i = 0; i < 44; ++i)
        autoload += cp1251(i == 35 ? templateDate : QStringLiteral("ШАБЛОН %1").arg(i)) + "\r\n";
    QFile file(t.platform.programFile(QStringLiteral("Autoload")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(autoload) == autoload.size());
    file.close();
    t.settings->setValue(QStringLiteral("Autoload"), QStringLiteral("Ch1"), autofill ? "1" : "0");

    Session s(t);
    // What a delete leaves in the slot past the last record is no part of a new record.
    s.journal->table.setField(13, 44, QStringLiteral("УДАЛЁННАЯ"));
    s.journal->table.setField(13, 120, QStringLiteral("УДАЛЁННАЯ"));
    QVERIFY(s.clickNew());
    QVERIFY(!s.form.isVisible());
    QCOMPARE(s.heading(), QStringLiteral("Запись № 13"));
    QCOMPARE(s.txt(35)->text(), expectedDate);
    QCOMPARE(s.journal->RecordCount, 12);
    QCOMPARE(t.readJournal(), journal);

    s.close();
    QVERIFY(s.form.isVisible());
    QVERIFY(!s.form.findChild<QPushButton *>(QStringLiteral("CmdDel"))->isEnabled());
    QCOMPARE(s.journal->RecordCount, 13);
    QCOMPARE(s.form.gridModel()->rowCount(), 13);

    QMap<int, QString> expected;
    for (int f = 2; f <= 41; ++f) {
        if (autofill)
            expected[f] = QStringLiteral("ШАБЛОН %1").arg(f - 2);
    }
    expected[37] = expectedDate;
    const QList<QByteArray> saved = lines(t.readJournal());
    QCOMPARE(saved.size(), 13);
    QCOMPARE(saved.last() + '\n', lineOf(13, expected));
    QCOMPARE(saved.mid(0, 12), lines(journal));
}

void FrmTest::newOnAFullJournalIsRefused()
{
    TestPlatform t;
    QByteArray journal;
    for (int n = 1; n <= 20000; ++n)
        journal += journalLine({QString::number(n), QStringLiteral("VIN%1").arg(n)});
    t.writeJournal(journal);
    Session s(t);
    QCOMPARE(s.journal->RecordCount, 20000);

    QTest::mouseClick(s.form.findChild<QPushButton *>(QStringLiteral("Cmd1")), Qt::LeftButton);
    QVERIFY(!s.editor());
    QVERIFY(s.form.isVisible());
    QCOMPARE(t.dialogs.messages.size(), 1);
    QVERIFY(t.dialogs.messages[0].text.contains(QStringLiteral("20000")));
    QCOMPARE(s.journal->RecordCount, 20000);
    QCOMPARE(s.journal->NewRecordFlag, qint16(0));
    QCOMPARE(t.readJournal(), journal);
}

void FrmTest::aCloseWhoseSaveFailsGoesOn()
{
    TestPlatform t;
    t.writeJournal(fullJournal(1));
    Session s(t);
    QVERIFY(s.clickNew());
    // The journal's place is taken by a folder: the file can no longer be replaced.
    QVERIFY(QFile::remove(t.journalPath()));
    QVERIFY(QDir(t.folder()).mkdir(QStringLiteral("Trelvax_1.0")));
    QTest::mouseClick(s.Ch1(7), Qt::LeftButton);
    s.close();
    QCOMPARE(t.dialogs.texts(), QStringList{QStringLiteral("Ошибка сохранения")});
    // Every other step is done: the record is in the journal, the choices stored, and the
    // operator is back at the journal.
    QCOMPARE(s.journal->RecordCount, 2);
    QCOMPARE(s.form.gridModel()->rowCount(), 2);
    QCOMPARE(t.reopenSettings()->value(QStringLiteral("frm1ch1"), QStringLiteral("Ch1(7)"), QString()),
             QStringLiteral("0"));
    QVERIFY(s.form.isVisible());
}

void FrmTest::openingAndClosingKeepsEveryField()
{
    TestPlatform t;
    const QByteArray journal = fullJournal(8);
    t.writeJournal(journal);
    Session s(t);
    QVERIFY(s.open(7));
    QCOMPARE(s.journal->NewRecordFlag, qint16(0));
    QCOMPARE(s.journal->CurrentRecord, 7);
    QCOMPARE(s.heading(), QStringLiteral("Запись № 7"));
    for (int i = 0; i < 44; ++i)
        QCOMPARE(s.editor()->boxText(i), QStringLiteral("R7F%1").arg(i + 2));
    for (const int hidden : {3, 40, 41, 42, 43})
        QVERIFY(!s.editor()->isBoxShown(hidden));

    s.close();
    QCOMPARE(t.readJournal(), journal);
    QCOMPARE(s.journal->RecordCount, 8);
    QCOMPARE(s.journal->table.text(7, 150), QStringLiteral("R7F150"));
}

void FrmTest::keyOrder_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    const int enter = Qt::Key_Return;
    QTest::newRow("Enter: 6 skips the engine") << enter << 6 << 9;
    QTest::newRow("Enter: 38 back to 0") << enter << 38 << 0;
    QTest::newRow("Enter: 39 stays") << enter << 39 << 39;
    QTest::newRow("Enter: 2 skips the hidden box") << enter << 2 << 4;
    QTest::newRow("Enter: 34 by index, not by Tab") << enter << 34 << 35;
    QTest::newRow("Enter: 17 to the right column") << enter << 17 << 18;
    const int tab = Qt::Key_Tab;
    QTest::newRow("Tab: 34 to 39") << tab << 34 << 39;
    QTest::newRow("Tab: 39 to 35") << tab << 39 << 35;
    QTest::newRow("Tab: 38 wraps to 0") << tab << 38 << 0;
    QTest::newRow("Tab: 2 skips the hidden box") << tab << 2 << 4;
    QTest::newRow("Tab: 28 to 29 on the house row") << tab << 28 << 29;
}

void FrmTest::keyOrder()
{
    QFETCH(int, key);
    QFETCH(int, from);
    QFETCH(int, to);
    TestPlatform t;
    t.writeJournal(fullJournal(1));
    Session s(t);
    QVERIFY(s.open(1));
    s.editor()->focusBox(from);
    QVERIFY(s.txt(from)->hasFocus());
    const QString before = s.txt(from)->text();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), s.txt(to));
    if (key == Qt::Key_Return)
        QCOMPARE(s.txt(from)->text(), before.toUpper());
}

void FrmTest::leavingABoxPutsItIntoCapitals_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("upperCaseBox");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plate") << 0 << 0 << true << QStringLiteral("а123вс 77") << QStringLiteral("А123ВС 77");
    QTest::newRow("surname, cleared") << 18 << 18 << false << QStringLiteral("ёлкин") << QStringLiteral("ёлкин");
    for (const int box : {28, 29, 30}) {
        QTest::addRow("house row %d, ticked", box)
            << box << 28 << true << QStringLiteral("12а") << QStringLiteral("12А");
        QTest::addRow("house row %d, cleared", box)
            << box << 28 << false << QStringLiteral("12а") << QStringLiteral("12а");
    }
    QTest::newRow("notes follow two higher") << 33 << 31 << true << QStringLiteral("abc") << QStringLiteral("ABC");
    QTest::newRow("last governed box") << 39 << 37 << false << QStringLiteral("abc") << QStringLiteral("abc");
}

void FrmTest::leavingABoxPutsItIntoCapitals()
{
    QFETCH(int, box);
    QFETCH(int, upperCaseBox);
    QFETCH(bool, ticked);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    // First start: every upper-case box ticked; a click clears the one under test.
    QVERIFY(s.Ch1(upperCaseBox)->isChecked());
    if (!ticked)
        QTest::mouseClick(s.Ch1(upperCaseBox), Qt::LeftButton);
    QCOMPARE(s.Ch1(upperCaseBox)->isChecked(), ticked);
    s.type(box, typed);
    QCOMPARE(s.txt(box)->text(), typed);
    QTest::keyClick(s.txt(box), Qt::Key_Tab);
    QCOMPARE(s.txt(box)->text(), expected);
}

void FrmTest::neverShownBoxesAreNeverConverted()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    for (int i = 40; i <= 43; ++i) {
        s.editor()->setBoxText(i, QStringLiteral("строчные"));
        QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(s.txt(i), &in);
        QApplication::sendEvent(s.txt(i), &out);
        QCOMPARE(s.txt(i)->text(), QStringLiteral("строчные"));
    }
    s.close();
    QCOMPARE(s.journal->table.text(1, 45), QStringLiteral("строчные"));
}

void FrmTest::popUpMenuClearsAllBoxesForGood()
{
    TestPlatform t;
    t.writeJournal(fullJournal(1));
    Session s(t);
    QVERIFY(s.open(1));
    QTest::mouseClick(s.Ch1(5), Qt::RightButton);
    auto *menu = s.editor()->findChild<QMenu *>(QStringLiteral("Menu_Gal"));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->title(), QStringLiteral("Галочки"));
    QVERIFY(s.Ch1(5)->isChecked()); // the press itself changes nothing
    QAction *clearAll = menu->findChild<QAction *>(QStringLiteral("Menu_Gal_0"));
    QCOMPARE(clearAll->text(), QStringLiteral("Снять все галочки"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(clearAll).center());
    QTRY_VERIFY(!menu->isVisible());
    for (int k = 0; k < 38; ++k)
        QVERIFY(!s.Ch1(k)->isChecked());

    // Nothing is converted any more, also after the editor is closed and opened again.
    s.type(2, QStringLiteral("лада"));
    QTest::keyClick(s.txt(2), Qt::Key_Tab);
    QCOMPARE(s.txt(2)->text(), QStringLiteral("R1F4лада"));
    s.close();
    const auto stored = t.reopenSettings();
    for (int k = 0; k < 38; ++k)
        QCOMPARE(stored->value(QStringLiteral("frm1ch1"), QStringLiteral("Ch1(%1)").arg(k), QString()),
                 QStringLiteral("0"));
    QVERIFY(s.open(1));
    for (int k = 0; k < 38; ++k)
        QVERIFY(!s.Ch1(k)->isChecked());

    // And all ticked again, the never-shown one too.
    menu = s.editor()->findChild<QMenu *>(QStringLiteral("Menu_Gal"));
    QTest::mouseClick(s.Ch1(37), Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    QAction *tickAll = menu->findChild<QAction *>(QStringLiteral("Menu_Gal_1"));
    QCOMPARE(tickAll->text(), QStringLiteral("Установить  все галочки"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(tickAll).center());
    for (int k = 0; k < 38; ++k)
        QVERIFY(s.Ch1(k)->isChecked());
}

void FrmTest::storedUpperCaseChoices()
{
    TestPlatform t;
    t.writeJournal(fullJournal(1));
    // Missing means ticked; only "1" ticks a box, anything else leaves it clear.
    const QStringList stored{QStringLiteral("0"),  QStringLiteral("1"),   QStringLiteral("2"),
                             QStringLiteral("да"), QStringLiteral(" 1 "), QString()};
    for (int k = 0; k < stored.size(); ++k) {
        if (!stored[k].isNull())
            t.settings->setValue(QStringLiteral("FRM1CH1"), QStringLiteral("ch1(%1)").arg(k), stored[k]);
    }
    Session s(t);
    QVERIFY(s.open(1));
    const QList<bool> expected{false, true, false, false, true, true};
    for (int k = 0; k < expected.size(); ++k)
        QCOMPARE(s.Ch1(k)->isChecked(), expected[k]);
    QVERIFY(s.Ch1(37)->isChecked());
}

void FrmTest::vinColour_data()
{
    QTest::addColumn<QString>("vin");
    QTest::addColumn<bool>("red");
    QTest::newRow("16") << QStringLiteral("XTA2107400000001") << true;
    QTest::newRow("17") << QStringLiteral("XTA21074000000017") << false;
    QTest::newRow("18") << QStringLiteral("XTA210740000000018") << true;
    QTest::newRow("17 with spaces") << QStringLiteral("XTA 2107400000 17") << false;
}

void FrmTest::vinColour()
{
    QFETCH(QString, vin);
    QFETCH(bool, red);
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    // An empty VIN is not signalled until something is typed.
    QVERIFY(!isRed(s.txt(1)));
    s.type(1, vin.left(1));
    QVERIFY(isRed(s.txt(1)));
    typeInto(s.txt(1), vin.mid(1));
    QCOMPARE(isRed(s.txt(1)), red);
    if (!red) {
        QCOMPARE(s.txt(1)->palette().color(QPalette::Text), QApplication::palette().color(QPalette::ButtonText));
        QTest::keyClick(s.txt(1), Qt::Key_Backspace);
        QVERIFY(isRed(s.txt(1)));
    }
    // The same for a text set by the program, as the certificate window sets it.
    s.editor()->setBoxText(1, vin);
    QCOMPARE(isRed(s.txt(1)), red);
}

void FrmTest::boxesKeepOutWhatTheJournalCannotHold()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    s.type(18, QStringLiteral("а|бĀв"));
    QCOMPARE(s.txt(18)->text(), QStringLiteral("абв"));

    // A paste keeps what the journal can hold, in its order, and the cursor ends after it.
    QApplication::clipboard()->setText(QStringLiteral("X|Y😀Z€"));
    s.txt(18)->setCursorPosition(1);
    QTest::keyClick(s.txt(18), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s.txt(18)->text(), QStringLiteral("аXYZ€бв"));
    QCOMPARE(s.txt(18)->cursorPosition(), 5);

    s.editor()->setBoxText(19, QStringLiteral("A|B"));
    QCOMPARE(s.txt(19)->text(), QStringLiteral("AB"));

    // Lines pasted together stay in the box until it is left, then join.
    QApplication::clipboard()->setText(QStringLiteral("1\r\n2\n3"));
    s.editor()->focusBox(19);
    QTest::keyClick(s.txt(19), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s.txt(19)->text(), QStringLiteral("AB1\r\n2\n3"));
    QTest::keyClick(s.txt(19), Qt::Key_Tab);
    QCOMPARE(s.txt(19)->text(), QStringLiteral("AB123"));
}

void FrmTest::focusColour()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    const QColor window = s.txt(10)->palette().color(QPalette::Base);
    QVERIFY(window != QColor(255, 255, 0));
    QTest::mouseClick(s.txt(10), Qt::LeftButton);
    QCOMPARE(s.txt(10)->palette().color(QPalette::Base), QColor(255, 255, 0));
    QTest::keyClick(s.txt(10), Qt::Key_Tab);
    QCOMPARE(s.txt(10)->palette().color(QPalette::Base), window);
    QCOMPARE(s.txt(11)->palette().color(QPalette::Base), QColor(255, 255, 0));
}

void FrmTest::closingStoresTheBoxBeingTypedIn()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.clickNew());
    s.type(0, QStringLiteral("а001вс77"));
    s.close();
    QCOMPARE(s.journal->table.text(2, 2), QStringLiteral("А001ВС77"));
    QCOMPARE(lines(t.readJournal()).last() + '\n', lineOf(2, {{2, QStringLiteral("А001ВС77")}, {37, kToday}}));
}

void FrmTest::savingTheTemplate()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    // Every box, the never-shown ones too; the box being typed in is left before it is taken.
    for (int i = 0; i < 44; ++i)
        s.editor()->setBoxText(i, QStringLiteral("  ЗНАЧЕНИЕ %1 ").arg(i));
    s.type(0, QStringLiteral("x"));
    QTest::mouseClick(s.editor()->findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);

    QByteArray expected;
    for (int i = 0; i < 44; ++i) {
        const QString value = i == 0 ? QStringLiteral("  ЗНАЧЕНИЕ 0 X") : QStringLiteral("  ЗНАЧЕНИЕ %1 ").arg(i);
        expected += cp1251(value) + "\r\n";
        QCOMPARE(s.journal->autofill.values[size_t(i)], value);
    }
    QFile file(t.platform.programFile(QStringLiteral("Autoload")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
    QVERIFY(t.dialogs.messages.isEmpty());
}

void FrmTest::previewButton()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    auto *button = s.editor()->findChild<QPushButton *>(QStringLiteral("Command1"));
    // Nobody shows the certificate yet: the editor stays in view.
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(s.editor()->isVisible());

    QSignalSpy preview(s.editor(), &frm::previewRequested);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(preview.size(), 1);
    QVERIFY(!s.editor()->isVisible());
    s.editor()->showEditor();
    QVERIFY(s.editor()->isVisible());
}

void FrmTest::layoutAndAppearance()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    frm *e = s.editor();
    QCOMPARE(e->windowTitle(), QStringLiteral("Свидетельство о регистрации ТС"));
    QCOMPARE(s.txt(0)->geometry(), QRect(318, 32, 197, 19));
    QCOMPARE(s.txt(37)->geometry(), QRect(718, 401, 201, 22));

    QList<QWidget *> shown;
    for (QWidget *w : e->findChildren<QWidget *>()) {
        if (w->isVisible()
            && (qobject_cast<QLineEdit *>(w) || qobject_cast<QCheckBox *>(w) || qobject_cast<QPushButton *>(w)))
            shown << w;
    }
    QCOMPARE(shown.size(), 39 + 37 + 2);
    const QRect client = e->rect();
    QStringList captions;
    for (QLabel *label : e->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->objectName() == QStringLiteral("Label3"))
            continue;
        captions << label->text();
        // A caption ends just left of its box, on the box's row, over nothing else.
        const QRect text = label->geometry();
        const QRect box = label->buddy()->geometry();
        QVERIFY2(client.contains(text), qPrintable(label->text()));
        QVERIFY(box.left() - text.right() > 0 && box.left() - text.right() <= 8);
        QVERIFY(text.top() <= box.center().y() && text.bottom() >= box.center().y());
        if (label->wordWrap())
            QVERIFY(label->heightForWidth(text.width()) <= text.height());
        else
            QVERIFY(text.width() >= label->sizeHint().width());
        for (QWidget *w : shown)
            QVERIFY2(!text.intersects(w->geometry()), qPrintable(label->text() + " / " + w->objectName()));
    }
    QCOMPARE(captions.size(), 33);
    QVERIFY(captions.contains(QStringLiteral("Фамилия  ")));
    QVERIFY(captions.contains(QStringLiteral("№ свидетельства  о регистрации")));
    QVERIFY(!captions.contains(QStringLiteral("Marka  Model")));
    QCOMPARE(e->findChild<QLabel *>(QStringLiteral("Label1(5)"))->text(),
             QStringLiteral("№ свидетельства  о регистрации"));
    QCOMPARE(s.Ch1(0)->text(), QStringLiteral("Делать все буквы ЗАГЛАВНЫМИ"));

    for (const int i : {36, 37}) {
        QCOMPARE(s.txt(i)->font().families().value(0), QStringLiteral("PTS_Number_1"));
        QCOMPARE(s.txt(i)->font().pointSizeF(), 11.25);
        QVERIFY(isRed(s.txt(i)));
    }
    QCOMPARE(s.txt(38)->font().family(), QStringLiteral("Arial"));
    QCOMPARE(s.txt(38)->font().pointSizeF(), 9.75);
    QCOMPARE(s.txt(38)->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Shadow));
    QCOMPARE(s.txt(2)->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Text));
    QCOMPARE(e->findChild<QLabel *>(QStringLiteral("Label3"))->palette().color(QPalette::WindowText),
             QColor(0, 0, 255));
}

void FrmTest::hoverCaptions()
{
    TestPlatform t;
    t.writeJournal(journalLine({QStringLiteral("1")}));
    Session s(t);
    QVERIFY(s.open(1));
    frm *e = s.editor();
    auto *preview = e->findChild<QLabel *>(QStringLiteral("Lnadp(0)"));
    auto *save = e->findChild<QLabel *>(QStringLiteral("Lnadp(2)"));
    QVERIFY(!preview->isVisible() && !save->isVisible());
    // The captions are the one hover text: no tool tip repeats them.
    for (const char *name : {"Command1", "Command3"})
        QVERIFY2(e->findChild<QPushButton *>(QLatin1String(name))->toolTip().isEmpty(), name);
    QTest::mouseMove(e->findChild<QPushButton *>(QStringLiteral("Command1")));
    QTRY_VERIFY(preview->isVisible());
    QCOMPARE(preview->text(), QStringLiteral("Просмотр перед печатью"));
    QTest::mouseMove(e->findChild<QPushButton *>(QStringLiteral("Command3")));
    QTRY_VERIFY(save->isVisible());
    QVERIFY(!preview->isVisible());
    QTest::mouseMove(e, QPoint(200, 440));
    QTRY_VERIFY(!save->isVisible());
}

QTEST_MAIN(FrmTest)
#include "tst_frm.moc"
