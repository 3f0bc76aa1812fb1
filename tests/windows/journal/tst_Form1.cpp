#include "Files.h"
#include "JournalSession.h"

#include "journal/JournalGridModel.h"
#include "platform/Twips.h"
#include "platform/desktop/RecordGrid.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <limits>

// Evaluated by the compiler, which refuses an overflow: no int reaches the window arithmetic
// that could overflow on its way to pixels.
static_assert(pixelsFromTwips(std::numeric_limits<int>::max()) == 143165576);
static_assert(pixelsFromTwips(std::numeric_limits<int>::min()) == -143165577);
static_assert(pixelsFromTwips(22) == 1 && pixelsFromTwips(23) == 2 && pixelsFromTwips(-23) == -2);

namespace {

// A journal of `count` records whose VIN, make and plate name the record ("VIN3", ...).
QByteArray journalOf(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i) {
        const QString n = QString::number(i);
        bytes += journalLine(
            {n, QStringLiteral("А%1ВС77").arg(i), QStringLiteral("VIN") + n, QStringLiteral("ВАЗ 2107 №") + n});
    }
    return bytes;
}

QStringList gridColumn(const JournalGridModel &model, int column)
{
    QStringList cells;
    for (int r = 0; r < model.rowCount(); ++r)
        cells << model.data(model.index(r, column), Qt::DisplayRole).toString();
    return cells;
}

void clickRow(RecordGrid *grid, int record, int column = 1)
{
    const QRect cell = grid->visualRect(grid->model()->index(record - 1, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// Drags the right border of a header section by dx pixels, as the operator does.
void dragColumnBorder(RecordGrid *grid, int column, int dx)
{
    QHeaderView *header = grid->horizontalHeader();
    const int border = header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(border, y));
    QTest::mouseMove(header->viewport(), QPoint(border + dx / 2, y));
    QTest::mouseMove(header->viewport(), QPoint(border + dx, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(border + dx, y));
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

    using Session = JournalSession;

private Q_SLOTS:
    void defaultsWithAnEmptyStore();
    void storedSettingsAreReadWhateverTheirCase();
    void storedNumbersOutsideTheirRange_data();
    void storedNumbersOutsideTheirRange();
    void draggedColumnWidthIsKeptForTheNextStart();
    void widthThatIsNoWholeNumberOfPixelsDoesNotDrift();
    void closingStoresAlignmentAndAutofill();
    void screenCheck_data();
    void screenCheck();
    void rowClickMarksTheRowAndEnablesDelete();
    void deleteMovesLaterRecordsUp();
    void deleteKeepsTheGridWhereItWas();
    void deleteWhoseSaveFailsStaysDoneInMemory();
    void deleteAnsweredNoChangesNothing();
    void oneRecordJournalCannotBeDeleted();
    void hoverCaptions();
    void gridFollowsTheWindowSize();
    void journalThatCannotBeLoadedEndsTheProgram();
    void controlsAndMenusCarryTheirNames();
};

void Form1Test::defaultsWithAnEmptyStore()
{
    TestPlatform t;
    t.writeJournal(journalOf(2));
    Session s(t);
    QVERIFY(s.form.isLoaded());
    QVERIFY(t.dialogs.messages.isEmpty());

    const int widths[] = {600, 3735, 2940, 2385, 3360, 1515};
    for (int c = 0; c < 6; ++c) {
        QCOMPARE(s.form.grid()->columnWidthTwips(c), widths[c]);
        QCOMPARE(s.form.grid()->columnWidth(c), widths[c] / 15);
    }
    const JournalGridModel *model = s.form.gridModel();
    for (int c = 0; c < 5; ++c)
        QCOMPARE(model->data(model->index(0, c), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(model->data(model->index(0, 5), Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < 6; ++c)
        QCOMPARE(model->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
    QVERIFY(s.control<QCheckBox>(QStringLiteral("Ch1"))->isChecked());
    QVERIFY(!s.control<QPushButton>(QStringLiteral("CmdDel"))->isEnabled());
    QCOMPARE(s.journal->FocusBackColor, QColor(255, 255, 0));

    // The six columns, their headers and the records' fields.
    const QStringList headers{QStringLiteral("ID"),       QStringLiteral("VIN"),       QStringLiteral("Марка, модель"),
                              QStringLiteral("№ кузова"), QStringLiteral("Рег. знак"), QStringLiteral("Цвет")};
    for (int c = 0; c < 6; ++c)
        QCOMPARE(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);
    QCOMPARE(gridColumn(*model, 0), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(gridColumn(*model, 1), (QStringList{QStringLiteral("VIN1"), QStringLiteral("VIN2")}));
    QCOMPARE(gridColumn(*model, 4), (QStringList{QStringLiteral("А1ВС77"), QStringLiteral("А2ВС77")}));
}

void Form1Test::storedSettingsAreReadWhateverTheirCase()
{
    TestPlatform t;
    t.writeJournal(journalOf(1));
    t.settings->setValue(QStringLiteral("tungrid"), QStringLiteral("cw(0)"), QStringLiteral("900"));
    t.settings->setValue(QStringLiteral("TUNGRID"), QStringLiteral("calg(5)"), QStringLiteral("7"));
    t.settings->setValue(QStringLiteral("autoload"), QStringLiteral("ch1"), QStringLiteral("0"));
    Session s(t);
    QCOMPARE(s.form.grid()->columnWidthTwips(0), 900);
    QCOMPARE(s.form.grid()->columnWidth(0), 60);
    QCOMPARE(s.form.columnAlignment(5), 7);
    const JournalGridModel *model = s.form.gridModel();
    QCOMPARE(model->data(model->index(0, 5), Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignRight | Qt::AlignVCenter);
    QVERIFY(!s.control<QCheckBox>(QStringLiteral("Ch1"))->isChecked());

    // Closing writes under the spelling the file already has: one entry, not two.
    s.form.close();
    const QByteArray ini = readFile(t.settingsPath());
    QCOMPARE(ini.count("cw%280%29="), 1);
    QCOMPARE(ini.count("CW%280%29="), 0);
}

void Form1Test::storedNumbersOutsideTheirRange_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("used");

    const QString grid = QStringLiteral("TunGrid");
    const QString autoload = QStringLiteral("Autoload");
    QTest::newRow("width not a number") << grid << "CW(1)"
                                        << "wide" << 3735;
    QTest::newRow("negative width") << grid << "CW(2)"
                                    << "-300" << 2940;
    QTest::newRow("width of the largest int") << grid << "CW(1)"
                                              << "2147483647" << 3735;
    QTest::newRow("width of the smallest int") << grid << "CW(4)"
                                               << "-2147483648" << 3360;
    QTest::newRow("width beyond any int") << grid << "CW(0)"
                                          << "99999999999999999999" << 600;
    QTest::newRow("widest width kept") << grid << "CW(5)"
                                       << "150000" << 150000;
    QTest::newRow("one twip wider") << grid << "CW(5)"
                                    << "150001" << 1515;
    QTest::newRow("zero width kept") << grid << "CW(3)"
                                     << "0" << 0;
    QTest::newRow("alignment out of range") << grid << "Calg(0)"
                                            << "12" << 4;
    QTest::newRow("alignment of the largest int") << grid << "Calg(5)"
                                                  << "2147483647" << 1;
    QTest::newRow("alignment a fraction") << grid << "Calg(1)"
                                          << "4.5" << 4;
    QTest::newRow("check box 2") << autoload << "Ch1"
                                 << "2" << 1;
    QTest::newRow("check box -1") << autoload << "Ch1"
                                  << "-1" << 1;
    QTest::newRow("check box of the largest int") << autoload << "Ch1"
                                                  << "2147483647" << 1;
    QTest::newRow("check box cleared") << autoload << "Ch1"
                                       << "0" << 0;
}

// A number the window reads back is used only inside its range, else as its default; closing
// the window stores what it used, so a damaged entry mends itself.
void Form1Test::storedNumbersOutsideTheirRange()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(int, used);
    TestPlatform t;
    t.writeJournal(journalOf(1));
    t.settings->setValue(section, key, stored);
    {
        Session s(t);
        QVERIFY(s.form.isLoaded());
        const int column = key.mid(key.indexOf(QLatin1Char('(')) + 1, 1).toInt();
        if (key.startsWith(QStringLiteral("CW"))) {
            QCOMPARE(s.form.grid()->columnWidthTwips(column), used);
            QCOMPARE(s.form.grid()->columnWidth(column), (used + 7) / 15);
        } else if (key.startsWith(QStringLiteral("Calg"))) {
            QCOMPARE(s.form.columnAlignment(column), used);
        } else {
            QCOMPARE(s.control<QCheckBox>(QStringLiteral("Ch1"))->isChecked(), used != 0);
        }
        s.form.close();
    }
    QCOMPARE(t.reopenSettings()->value(section, key, QString()), QString::number(used));
}

void Form1Test::draggedColumnWidthIsKeptForTheNextStart()
{
    TestPlatform t;
    t.writeJournal(journalOf(3));
    {
        Session s(t, Session::Exposed);
        RecordGrid *grid = s.form.grid();
        QCOMPARE(grid->columnWidth(5), 101);
        dragColumnBorder(grid, 5, 39);
        QCOMPARE(grid->columnWidth(5), 140);
        s.form.close();
        QCOMPARE(t.exit.code, std::optional<int>(0));
    }
    QCOMPARE(t.reopenSettings()->value(QStringLiteral("TunGrid"), QStringLiteral("CW(5)"), QString()),
             QStringLiteral("2100"));
    Session next(t);
    QCOMPARE(next.form.grid()->columnWidthTwips(5), 2100);
    QCOMPARE(next.form.grid()->columnWidth(5), 140);
}

void Form1Test::widthThatIsNoWholeNumberOfPixelsDoesNotDrift()
{
    TestPlatform t;
    t.writeJournal(journalOf(1));
    t.settings->setInt(QStringLiteral("TunGrid"), QStringLiteral("CW(5)"), 2000);
    for (int run = 0; run < 3; ++run) {
        Session s(t);
        QCOMPARE(s.form.grid()->columnWidth(5), 133);
        s.form.close();
    }
    QCOMPARE(t.reopenSettings()->intValue(QStringLiteral("TunGrid"), QStringLiteral("CW(5)"), 0), 2000);
}

void Form1Test::closingStoresAlignmentAndAutofill()
{
    TestPlatform t;
    t.writeJournal(journalOf(1));
    {
        Session s(t, Session::Exposed);
        auto *ch1 = s.control<QCheckBox>(QStringLiteral("Ch1"));
        QTest::mouseClick(ch1, Qt::LeftButton, {}, QPoint(ch1->width() / 2, ch1->height() / 2));
        QVERIFY(!ch1->isChecked());
        s.form.setColumnAlignment(2, 7);
        s.form.close();
    }
    const auto stored = t.reopenSettings();
    QCOMPARE(stored->value(QStringLiteral("Autoload"), QStringLiteral("Ch1"), QString()), QStringLiteral("0"));
    QCOMPARE(stored->value(QStringLiteral("TunGrid"), QStringLiteral("Calg(2)"), QString()), QStringLiteral("7"));
    QCOMPARE(stored->value(QStringLiteral("TunGrid"), QStringLiteral("Calg(5)"), QString()), QStringLiteral("1"));
    QCOMPARE(stored->value(QStringLiteral("TunGrid"), QStringLiteral("CW(1)"), QString()), QStringLiteral("3735"));
}

void Form1Test::screenCheck_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("message");
    QTest::newRow("1280 x 1024") << QSize(1280, 1024) << QString();
    QTest::newRow("1280 x 800") << QSize(1280, 800) << QString();
    QTest::newRow("1024 x 768") << QSize(1024, 768)
                                << QStringLiteral("У Вас разрешение экрана 1024 Х 768, а программа расчитана на "
                                                  "разрешение не менее чем 1280 Х 800 возможно неправильное "
                                                  "отображение!");
    QTest::newRow("1920 x 720") << QSize(1920, 720)
                                << QStringLiteral("У Вас разрешение экрана 1920 Х 720, а программа расчитана на "
                                                  "разрешение не менее чем 1280 Х 800 возможно неправильное "
                                                  "отображение!");
}

void Form1Test::screenCheck()
{
    QFETCH(QSize, screen);
    QFETCH(QString, message);
    TestPlatform t;
    t.writeJournal(journalOf(1));
    t.screen.size = screen;
    Session s(t);
    QVERIFY(s.form.isLoaded());
    if (message.isEmpty()) {
        QVERIFY(t.dialogs.messages.isEmpty());
        return;
    }
    QCOMPARE(t.dialogs.messages.size(), 1);
    const Dialogs::Message &m = t.dialogs.messages.first();
    QCOMPARE(m.text, message);
    QCOMPARE(m.caption, QStringLiteral("Сообщение программы"));
    QCOMPARE(m.icon, Dialogs::Icon::Information);
    QCOMPARE(m.buttons, Dialogs::Buttons::Ok);
}

void Form1Test::rowClickMarksTheRowAndEnablesDelete()
{
    TestPlatform t;
    t.writeJournal(journalOf(4));
    Session s(t, Session::Exposed);
    RecordGrid *grid = s.form.grid();
    const JournalGridModel *model = s.form.gridModel();
    auto *del = s.control<QPushButton>(QStringLiteral("CmdDel"));
    const auto background = [&](int record, int column) {
        return model->data(model->index(record - 1, column), Qt::BackgroundRole).value<QColor>();
    };

    clickRow(grid, 2);
    QCOMPARE(s.journal->CurrentRecord, 2);
    QVERIFY(del->isEnabled());
    for (int c = 0; c < 6; ++c)
        QCOMPARE(background(2, c), QColor(255, 255, 0));
    QVERIFY(!background(1, 0).isValid());

    clickRow(grid, 1, 4);
    QCOMPARE(s.journal->CurrentRecord, 1);
    QVERIFY(!del->isEnabled());
    QCOMPARE(background(1, 5), QColor(255, 255, 0));
    QVERIFY(!background(2, 0).isValid());

    // The arrow keys move the marked row with the current one.
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(s.journal->CurrentRecord, 3);
    QCOMPARE(background(3, 0), QColor(255, 255, 0));
    QVERIFY(!background(1, 0).isValid());
    QVERIFY(del->isEnabled());

    // A rebuild drops every mark.
    s.form.ZAPOLNTABL();
    QVERIFY(!background(1, 0).isValid());
}

void Form1Test::deleteMovesLaterRecordsUp()
{
    TestPlatform t;
    QByteArray bytes = journalOf(5);
    // Record 4 carries a field beyond the editor's and one beyond 100: both move with it.
    QStringList fourth(200);
    fourth[0] = QStringLiteral("4");
    fourth[2] = QStringLiteral("VIN4");
    fourth[60] = QStringLiteral("шестьдесят один");
    fourth[149] = QStringLiteral("сто пятьдесят");
    const QList<QByteArray> lines = bytes.split('\n');
    bytes = lines[0] + '\n' + lines[1] + '\n' + lines[2] + '\n' + journalLine(fourth) + lines[4] + '\n';
    t.writeJournal(bytes);

    Session s(t, Session::Exposed);
    clickRow(s.form.grid(), 3);
    t.dialogs.answers.push_back(Dialogs::Answer::Yes);
    QTest::mouseClick(s.control<QPushButton>(QStringLiteral("CmdDel")), Qt::LeftButton);

    QCOMPARE(t.dialogs.messages.size(), 1);
    const Dialogs::Message &ask = t.dialogs.messages.first();
    QCOMPARE(ask.text, QStringLiteral("Вы действительно хотите удалить из журнала запись № 3"));
    QCOMPARE(ask.caption, QStringLiteral("Подтвердите удаление."));
    QCOMPARE(ask.icon, Dialogs::Icon::Information);
    QCOMPARE(ask.buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(ask.defaultButton, Dialogs::Answer::No);

    QCOMPARE(s.journal->RecordCount, 4);
    QStringList expectedFourth = fourth;
    expectedFourth[0] = QStringLiteral("3");
    const QByteArray expected = journalLine({QStringLiteral("1"), QStringLiteral("А1ВС77"), QStringLiteral("VIN1"),
                                             QStringLiteral("ВАЗ 2107 №1")})
        + journalLine({QStringLiteral("2"), QStringLiteral("А2ВС77"), QStringLiteral("VIN2"),
                       QStringLiteral("ВАЗ 2107 №2")})
        + journalLine(expectedFourth)
        + journalLine({QStringLiteral("4"), QStringLiteral("А5ВС77"), QStringLiteral("VIN5"),
                       QStringLiteral("ВАЗ 2107 №5")});
    QCOMPARE(t.readJournal(), expected);

    const JournalGridModel *model = s.form.gridModel();
    QCOMPARE(gridColumn(*model, 0), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(gridColumn(*model, 1), (QStringList{"VIN1", "VIN2", "VIN4", "VIN5"}));
    QVERIFY(!s.control<QPushButton>(QStringLiteral("CmdDel"))->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void Form1Test::deleteKeepsTheGridWhereItWas()
{
    TestPlatform t;
    t.writeJournal(journalOf(300));
    Session s(t, Session::Exposed);
    RecordGrid *grid = s.form.grid();
    grid->setTopRow(200);
    QCOMPARE(grid->topRow(), 200);
    clickRow(grid, 205);
    t.dialogs.answers.push_back(Dialogs::Answer::Yes);
    QTest::mouseClick(s.control<QPushButton>(QStringLiteral("CmdDel")), Qt::LeftButton);
    QCOMPARE(s.journal->RecordCount, 299);
    QCoreApplication::processEvents();
    QCOMPARE(grid->topRow(), 200);
    QCOMPARE(s.form.gridModel()->data(s.form.gridModel()->index(204, 1), Qt::DisplayRole).toString(),
             QStringLiteral("VIN206"));
}

void Form1Test::deleteWhoseSaveFailsStaysDoneInMemory()
{
    TestPlatform t;
    t.writeJournal(journalOf(3));
    Session s(t, Session::Exposed);
    // The journal's place is taken by a folder: the file can no longer be replaced.
    QVERIFY(QFile::remove(t.journalPath()));
    QVERIFY(QDir(t.folder()).mkdir(QStringLiteral("Trelvax_1.0")));

    clickRow(s.form.grid(), 2);
    t.dialogs.answers.push_back(Dialogs::Answer::Yes);
    QTest::mouseClick(s.control<QPushButton>(QStringLiteral("CmdDel")), Qt::LeftButton);

    QCOMPARE(t.dialogs.messages.size(), 2);
    const Dialogs::Message &failure = t.dialogs.messages.last();
    QCOMPARE(failure.text, QStringLiteral("Ошибка сохранения"));
    QCOMPARE(failure.caption, QStringLiteral("Trelvax"));
    QCOMPARE(failure.icon, Dialogs::Icon::None);
    QCOMPARE(s.journal->RecordCount, 2);
    QCOMPARE(gridColumn(*s.form.gridModel(), 1), (QStringList{"VIN1", "VIN3"}));
    QVERIFY(QFileInfo(t.journalPath()).isDir());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void Form1Test::deleteAnsweredNoChangesNothing()
{
    TestPlatform t;
    t.writeJournal(journalOf(3));
    Session s(t, Session::Exposed);
    clickRow(s.form.grid(), 2);
    t.dialogs.answers.push_back(Dialogs::Answer::No);
    QTest::mouseClick(s.control<QPushButton>(QStringLiteral("CmdDel")), Qt::LeftButton);
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(s.journal->RecordCount, 3);
    QCOMPARE(t.readJournal(), journalOf(3));
    QCOMPARE(s.form.gridModel()->rowCount(), 3);
}

void Form1Test::oneRecordJournalCannotBeDeleted()
{
    TestPlatform t;
    Session s(t, Session::Exposed); // no journal yet: one empty record is created
    auto *del = s.control<QPushButton>(QStringLiteral("CmdDel"));
    clickRow(s.form.grid(), 1);
    QCOMPARE(s.journal->CurrentRecord, 1);
    QVERIFY(!del->isEnabled());
    QTest::mouseClick(del, Qt::LeftButton);
    QVERIFY(t.dialogs.messages.isEmpty());
    QCOMPARE(s.journal->RecordCount, 1);
}

void Form1Test::hoverCaptions()
{
    TestPlatform t;
    t.writeJournal(journalOf(2));
    Session s(t, Session::Exposed);
    const QStringList buttons{"Cmd1", "Cmd2", "Command1", "Command2", "CmdDel"};
    const QStringList captions{"Новый", "Найти", "Сброс", "О программе", "Удалить"};
    for (int i = 0; i < 5; ++i) {
        auto *button = s.control<QPushButton>(buttons[i]);
        // The caption is the one hover text: no tool tip repeats it.
        QVERIFY(button->toolTip().isEmpty());
        QTest::mouseMove(button, button->rect().center());
        QTRY_VERIFY(s.control<QLabel>(QStringLiteral("Lnadp(%1)").arg(i))->isVisible());
        QCOMPARE(s.control<QLabel>(QStringLiteral("Lnadp(%1)").arg(i))->text(), captions[i]);
        QTest::mouseMove(s.form.centralWidget(), QPoint(s.form.centralWidget()->width() - 5, 50));
        QTRY_VERIFY(!s.control<QLabel>(QStringLiteral("Lnadp(%1)").arg(i))->isVisible());
    }
    auto *about = s.control<QPushButton>(QStringLiteral("Command2"));
    QTest::mouseMove(about, about->rect().center());
    QTRY_VERIFY(s.control<QLabel>(QStringLiteral("Lnadp(3)"))->isVisible());
    QTest::mouseMove(s.form.grid()->viewport(), QPoint(30, 30));
    QTRY_VERIFY(!s.control<QLabel>(QStringLiteral("Lnadp(3)"))->isVisible());
}

void Form1Test::gridFollowsTheWindowSize()
{
    TestPlatform t;
    t.writeJournal(journalOf(2));
    Session s(t, Session::Exposed);
    for (const QSize size : {QSize(900, 700), QSize(1200, 500)}) {
        s.form.resize(size);
        QTRY_COMPARE(s.form.size(), size);
        const QSize inner = s.form.centralWidget()->size();
        QCOMPARE(s.form.grid()->geometry(),
                 QRect(4, 65, inner.width() - pixelsFromTwips(100), inner.height() - pixelsFromTwips(1100)));
    }
    // A window too low for the grid keeps the grid's height; its width still follows.
    const QRect before = s.form.grid()->geometry();
    s.form.resize(300, s.form.menuBar()->height() + 40);
    QTRY_VERIFY(s.form.centralWidget()->height() < 73);
    QCOMPARE(s.form.grid()->geometry(),
             QRect(before.topLeft(), QSize(s.form.centralWidget()->width() - pixelsFromTwips(100), before.height())));
}

void Form1Test::journalThatCannotBeLoadedEndsTheProgram()
{
    TestPlatform t;
    t.writeJournal(QByteArray());
    Session s(t);
    QVERIFY(!s.form.isLoaded());
    QVERIFY(t.exit.code.has_value());
    QCOMPARE(t.dialogs.texts().last(), QStringLiteral("Ошибка при открытии файла базы данных 0"));
    // Nothing of a journal that did not load is stored.
    s.form.close();
    QVERIFY(!QFile::exists(t.settingsPath()));
}

void Form1Test::controlsAndMenusCarryTheirNames()
{
    TestPlatform t;
    t.writeJournal(journalOf(1));
    Session s(t);
    QCOMPARE(s.form.windowTitle(), QStringLiteral("Журнал"));
    for (const char *name : {"Cmd1", "CmdDel", "Cmd2", "Command1", "Command2"}) {
        auto *button = s.control<QPushButton>(QLatin1String(name));
        QVERIFY2(button, name);
        QVERIFY2(!button->icon().isNull(), name);
        QVERIFY2(button->text().isEmpty(), name);
    }
    QCOMPARE(s.control<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("Поиск"));
    QCOMPARE(s.control<QCheckBox>(QStringLiteral("Ch1"))->text(),
             QStringLiteral("Применять автозаполнение для нового Свидетельства"));
    QStringList menuTexts;
    for (const char *name : {"Menu_Nastr_Tabl", "Menu_Tuns_RCopy", "Menu_Tuns_Vost", "Menu_Help_About"}) {
        auto *action = s.form.findChild<QAction *>(QLatin1String(name));
        QVERIFY2(action, name);
        menuTexts << action->text();
    }
    QCOMPARE(menuTexts,
             (QStringList{"Таблица", "Резервное копирование базы", "Восстановление базы из резервной копии",
                          "О программе"}));
}

QTEST_MAIN(Form1Test)
#include "tst_Form1.moc"
