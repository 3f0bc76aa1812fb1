#include "TestPlatform.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"

#include <QWidget>

#include <QTest>

class DialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersInPairs_data()
    {
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<QString>("filters");
        QTest::addColumn<QString>("first");
        QTest::newRow("backup") << QStringLiteral("Файлы (*.spb)|*.spb|Все файлы(*.*)|*.*|")
                                << QStringLiteral("Файлы (*.spb);;Все файлы(*.*)")
                                << QStringLiteral("Файлы (*.spb)");
        QTest::newRow("description naming other patterns")
            << QStringLiteral("Копии (*.spb)|*.squ|") << QStringLiteral("Копии (*.spb) (*.squ)")
            << QStringLiteral("Копии (*.spb) (*.squ)");
        QTest::newRow("several patterns, no closing bar")
            << QStringLiteral("Рисунки|*.jpg;*.gif;*.bmp|Все|*.*")
            << QStringLiteral("Рисунки (*.jpg *.gif *.bmp);;Все (*.*)") << QStringLiteral("Рисунки (*.jpg *.gif *.bmp)");
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("description without pattern") << QStringLiteral("Файлы|") << QString() << QString();
    }

    void filtersInPairs()
    {
        QFETCH(QString, pairs);
        QFETCH(QString, filters);
        QFETCH(QString, first);
        QCOMPARE(qtNameFilters(pairs), filters);
        QCOMPARE(firstNameFilter(pairs), first);
    }

    // A window's component: its dialogs are owned by the window, and a Cancel hands back the
    // last colour (and font effects) chosen in a colour or font dialog of that window, black
    // before any.
    void componentRemembersItsColourAndFolder()
    {
        ScriptedDialogs script;
        QWidget window;
        window.setObjectName(QStringLiteral("frmPTS1"));
        CommonDialog dialog(script, &window);

        QCOMPARE(dialog.chooseColour(), QColor(Qt::black)); // cancelled: nothing chosen yet
        script.colours.push_back(Qt::green);
        QCOMPARE(dialog.chooseColour(), QColor(Qt::green));
        QCOMPARE(dialog.chooseColour(), QColor(Qt::green)); // cancelled
        script.fonts.push_back({QStringLiteral("Arial"), true, false, 12, Qt::red, false, true});
        QCOMPARE(dialog.chooseFont({QStringLiteral("Epson1"), false, false, 9.75, {}}, 6, 30).colour, QColor(Qt::red));
        // A cancelled font dialog keeps the preset, with the component's colour.
        const Dialogs::FontChoice cancelled = dialog.chooseFont({QStringLiteral("Epson1"), false, true, 8, {}}, 6, 30);
        QCOMPARE(cancelled.face, QStringLiteral("Epson1"));
        QCOMPARE(cancelled.colour, QColor(Qt::red));
        QVERIFY(cancelled.underline && !cancelled.strikeout); // the effects stay with the colour
        QCOMPARE(dialog.chooseColour(), QColor(Qt::red));

        script.paths.push_back(QStringLiteral("/srv/blanks/front.jpg"));
        QVERIFY(dialog.openFile({}));
        QVERIFY(!dialog.saveFile({})); // cancelled
        QCOMPARE(script.fileRequests.at(1).startFolder, QStringLiteral("/srv/blanks"));
        dialog.inform(QStringLiteral("text"), QString(), Dialogs::Icon::None);

        QCOMPARE(script.owners, QStringList(9, QStringLiteral("frmPTS1")));
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_Dialogs.moc"
