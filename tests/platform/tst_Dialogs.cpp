#include "TestPlatform.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"
#include "platform/desktop/QtDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
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
                                << QStringLiteral("Файлы (*.spb);;Все файлы(*.*)") << QStringLiteral("Файлы (*.spb)");
        QTest::newRow("description naming other patterns")
            << QStringLiteral("Копии (*.spb)|*.squ|") << QStringLiteral("Копии (*.spb) (*.squ)")
            << QStringLiteral("Копии (*.spb) (*.squ)");
        QTest::newRow("several patterns, no closing bar") << QStringLiteral("Рисунки|*.jpg;*.gif;*.bmp|Все|*.*")
                                                          << QStringLiteral("Рисунки (*.jpg *.gif *.bmp);;Все (*.*)")
                                                          << QStringLiteral("Рисунки (*.jpg *.gif *.bmp)");
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

    // The backup's suggested name ends in ".0", which a dialog takes for an extension: while
    // "*.spb" is selected, ".spb" is added all the same, before the dialog asks about replacing
    // a file of that name; with every file shown, the name stays as typed.
    void savedNameGetsTheSelectedExtension_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<bool>("exists");
        const QString suggested = QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0");
        QTest::newRow("suggested name") << 0 << suggested << suggested + QStringLiteral(".spb") << false;
        QTest::newRow("suggested name, saved before") << 0 << suggested << suggested + QStringLiteral(".spb") << true;
        QTest::newRow("own extension") << 0 << QStringLiteral("копия.SPB") << QStringLiteral("копия.SPB") << false;
        QTest::newRow("all files") << 1 << suggested << suggested << false;
    }

    void savedNameGetsTheSelectedExtension()
    {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QFETCH(bool, exists);
        QTemporaryDir folder;
        QVERIFY(!exists || QFile(QDir(folder.path()).filePath(saved)).open(QIODevice::WriteOnly));
        QtDialogs dialogs;
        bool asked = false;
        // The operator, inside the dialogs' own event loops: picks the filter, types, presses
        // Enter; a question about a file that exists is answered with Yes.
        QTimer operatorHand;
        connect(&operatorHand, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                asked = true;
                box->button(QMessageBox::Yes)->click();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && dialog->isVisible()) {
                dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))->setCurrentIndex(filter);
                auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                name->setText(typed); // (keyClicks types Latin-1 only)
                QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
            }
        });
        operatorHand.start(20);
        const std::optional<QString> path = dialogs.saveFile({QStringLiteral("Файлы (*.spb)|*.spb|Все файлы(*.*)|*.*|"),
                                                              folder.path(), QString(), QStringLiteral("*.spb"), true});
        operatorHand.stop();
        QCOMPARE(path, std::optional<QString>(QDir::toNativeSeparators(QDir(folder.path()).filePath(saved))));
        QCOMPARE(asked, exists);
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_Dialogs.moc"
