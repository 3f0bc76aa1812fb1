#include "JournalSession.h"

#include "windows/editor/frm.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// A journal line holding only the given fields (field number -> text).
QByteArray lineOf(int id, const QMap<int, QString> &fields)
{
    QStringList list{QString::number(id)};
    for (int f = 2; f <= 200; ++f)
        list << fields.value(f);
    return journalLine(list);
}

// Two records of one make and model, the later one spelled in small letters, and another.
QByteArray vehicles()
{
    return lineOf(1, {{4, "ВАЗ 2107"}, {5, "OLD"}, {6, "OLD"}, {7, "OLD"}, {9, "OLD"}})
        + lineOf(2, {{4, "ВАЗ 21074"}, {5, "VAZ 21074"}})
        + lineOf(3,
                 {{4, "ваз 2107"},
                  {5, "VAZ 2107"},
                  {6, "СЕДАН"},
                  {7, "B"},
                  {8, "1999"},
                  {9, "2103"},
                  {13, "БЕЛЫЙ"},
                  {14, "54/73.5"},
                  {15, "1568"},
                  {18, "1460"},
                  {19, "1060"}});
}

using Keys = QList<QKeyCombination>;

} // namespace

Q_DECLARE_METATYPE(Keys)

class EditorSuggestionsTest : public QObject
{
    Q_OBJECT

    struct Session : JournalSession
    {
        Session(TestPlatform &t, bool suggestions) : JournalSession(t, Exposed)
        {
            if (!suggestions)
                menu("Menu_Tuns_Podsk");
            QTest::mouseClick(control<QPushButton>(QStringLiteral("Cmd1")), Qt::LeftButton);
            form.editor()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.editor()));
        }
        QLineEdit *txt(int i) const { return form.editor()->findChild<QLineEdit *>(QStringLiteral("txt(%1)").arg(i)); }
        QListWidget *list() const { return form.editor()->findChild<QListWidget *>(QStringLiteral("lstSuggestions")); }
        bool listOpen() const { return list() && list()->isVisible(); }
        // The operator clicks into a box and types, character by character.
        void type(int box, const QString &text) const
        {
            QTest::mouseClick(txt(box), Qt::LeftButton);
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, txt(box), Qt::Key_A, QString(c), Qt::NoModifier);
        }
        // Every box's text, and which box has the focus.
        QStringList state() const
        {
            QStringList texts;
            for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
                texts << txt(i)->text() + (txt(i)->hasFocus() ? QStringLiteral(" <focus>") : QString());
            return texts;
        }
    };

private Q_SLOTS:
    void keys_data();
    void keys();
    void aClickTakesTheValueAndMovesOn();
    void closedWithTheListOpen();
    void makeAndModelFillsTheEmptyBoxesOnly();
    void switchedOff();
};

void EditorSuggestionsTest::keys_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("taken"); // empty: the keys act as without the list
    QTest::addColumn<QString>("latin"); // field 5, filled by the make and model taken
    QTest::addColumn<bool>("listOpen");
    QTest::newRow("Enter") << Keys{Qt::Key_Return} << QString() << QString() << false;
    QTest::newRow("Tab") << Keys{Qt::Key_Tab} << QString() << QString() << false;
    QTest::newRow("Shift+Tab") << Keys{Qt::ShiftModifier | Qt::Key_Backtab} << QString() << QString() << false;
    QTest::newRow("Up, then Enter") << Keys{Qt::Key_Up, Qt::Key_Return} << QString() << QString() << false;
    QTest::newRow("Down, Up: nothing again")
        << Keys{Qt::Key_Down, Qt::Key_Up, Qt::Key_Tab} << QString() << QString() << false;
    QTest::newRow("a key after Down: nothing")
        << Keys{Qt::Key_Down, Qt::Key_Backspace, Qt::Key_Return} << QString() << QString() << false;
    QTest::newRow("Down: the most recent")
        << Keys{Qt::Key_Down, Qt::Key_Return} << QStringLiteral("ваз 2107") << QStringLiteral("VAZ 2107") << false;
    QTest::newRow("Down twice") << Keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << QStringLiteral("ВАЗ 21074")
                                << QStringLiteral("VAZ 21074") << false;
    QTest::newRow("Esc") << Keys{Qt::Key_Escape} << QString() << QString() << false;
    QTest::newRow("Down stays open") << Keys{Qt::Key_Down} << QString() << QString() << true;
}

void EditorSuggestionsTest::keys()
{
    QFETCH(Keys, keys);
    QFETCH(QString, taken);
    QFETCH(QString, latin);
    QFETCH(bool, listOpen);
    QStringList withList, without;
    for (const bool on : {true, false}) {
        TestPlatform t;
        t.writeJournal(vehicles());
        Session s(t, on);
        s.type(2, QStringLiteral("ва"));
        QCOMPARE(s.listOpen(), on);
        for (const QKeyCombination key : keys)
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QCOMPARE(s.listOpen(), on && listOpen);
        (on ? withList : without) = s.state();
        if (on && !taken.isEmpty()) {
            // Taken as the journal holds it, then Enter's move; the capitals rule as the box is left.
            QCOMPARE(s.txt(2)->text(), taken.toUpper());
            QVERIFY(s.txt(4)->hasFocus());
            QCOMPARE(s.txt(3)->text(), latin);
        }
    }
    if (taken.isEmpty() && !listOpen)
        QCOMPARE(withList, without);
}

void EditorSuggestionsTest::aClickTakesTheValueAndMovesOn()
{
    TestPlatform t;
    t.writeJournal(vehicles());
    Session s(t, true);
    s.type(2, QStringLiteral("ва"));
    QListWidget *list = s.list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QVERIFY(!s.listOpen());
    QCOMPARE(s.txt(2)->text(), QStringLiteral("ВАЗ 21074"));
    QVERIFY(s.txt(4)->hasFocus());
}

void EditorSuggestionsTest::closedWithTheListOpen()
{
    TestPlatform t;
    t.writeJournal(vehicles());
    Session s(t, true);
    s.type(2, QStringLiteral("ва"));
    QTest::keyClick(s.txt(2), Qt::Key_Down);
    QPointer<frm> editor = s.form.editor();
    editor->close();
    QTRY_VERIFY(editor.isNull());
    // Stored as typed: a highlighted value is not taken.
    QCOMPARE(s.journal->table.text(4, 4), QStringLiteral("ВА"));
}

void EditorSuggestionsTest::makeAndModelFillsTheEmptyBoxesOnly()
{
    TestPlatform t;
    t.writeJournal(vehicles());
    Session s(t, true);
    s.type(7, QStringLiteral("МОЙ"));
    s.type(2, QStringLiteral("Ваз 2107"));
    QTest::keyClick(s.txt(2), Qt::Key_Tab);
    // The last record with that make and model, case ignored; its type is in the focused box.
    const QStringList filled{"VAZ 2107", "СЕДАН",   "B",    "", "МОЙ", "",     "",    "",
                             "",         "54/73.5", "1568", "", "",    "1460", "1060"};
    for (int i = 3; i <= 17; ++i)
        QCOMPARE(s.txt(i)->text(), filled[i - 3]);
    const QColor normal = QApplication::palette(s.txt(5)).color(QPalette::Base);
    QVERIFY(s.txt(5)->palette().color(QPalette::Base) != normal);
    QCOMPARE(s.txt(7)->palette().color(QPalette::Base), normal);
    // Entered and left, a filled box looks like any other.
    QTest::mouseClick(s.txt(5), Qt::LeftButton);
    QTest::keyClick(s.txt(5), Qt::Key_Tab);
    QCOMPARE(s.txt(5)->palette().color(QPalette::Base), normal);
}

void EditorSuggestionsTest::switchedOff()
{
    TestPlatform t;
    t.writeJournal(vehicles());
    {
        Session s(t, false);
        s.type(2, QStringLiteral("ваз 2107"));
        QTest::keyClick(s.txt(2), Qt::Key_Tab);
        QVERIFY(!s.list());
        QCOMPARE(s.txt(3)->text(), QString());
        s.form.editor()->close();
        s.form.close();
    }
    QCOMPARE(t.reopenSettings()->value(QStringLiteral("Suggestions"), QStringLiteral("On"), QString()),
             QStringLiteral("0"));
    JournalSession again(t);
    QVERIFY(!again.control<QAction>(QStringLiteral("Menu_Tuns_Podsk"))->isChecked());
}

QTEST_MAIN(EditorSuggestionsTest)
#include "tst_EditorSuggestions.moc"
