#include "JournalSession.h"

#include "journal/JournalGridModel.h"
#include "journal/JournalSearch.h"
#include "platform/desktop/RecordGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The searched fields of one record, by name.
struct Shown
{
    QString plate;  // field 2
    QString vin;    // field 3
    QString make;   // field 4
    QString body;   // field 12
    QString colour; // field 13
};

QStringList lineFields(int id, const Shown &r)
{
    QStringList fields(13);
    fields[0] = QString::number(id);
    fields[1] = r.plate;
    fields[2] = r.vin;
    fields[3] = r.make;
    fields[11] = r.body;
    fields[12] = r.colour;
    return fields;
}

// `count` records of letters only, so that a digit can be found in the ID column alone.
QByteArray journalOf(int count, const QMap<int, Shown> &special = {})
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += journalLine(
            lineFields(i,
                       special.value(i,
                                     {QStringLiteral("АВС"), QStringLiteral("XTA"), QStringLiteral("Лада"),
                                      QStringLiteral("КУЗОВ"), QStringLiteral("белый")})));
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Shown)

class JournalSearchTest : public QObject
{
    Q_OBJECT

    struct Session : JournalSession
    {
        explicit Session(TestPlatform &t) : JournalSession(t, Exposed) {}

        QColor background(int record, int column = 0) const
        {
            const JournalGridModel *model = form.gridModel();
            return model->data(model->index(record - 1, column), Qt::BackgroundRole).value<QColor>();
        }
        QList<int> aquaRows() const
        {
            QList<int> rows;
            for (int r = 1; r <= journal->RecordCount; ++r) {
                if (background(r) == QColor(0, 255, 255)) {
                    for (int c = 1; c < 6; ++c)
                        if (background(r, c) != QColor(0, 255, 255))
                            return {-r};
                    rows << r;
                }
            }
            return rows;
        }
        void find(const QString &text, bool byEnter = false)
        {
            auto *box = control<QLineEdit>(QStringLiteral("txtfind"));
            box->clear();
            // Typed key by key; QTest::keyClicks takes Latin-1 only.
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            if (byEnter)
                QTest::keyClick(box, Qt::Key_Return);
            else
                QTest::mouseClick(control<QPushButton>(QStringLiteral("Cmd2")), Qt::LeftButton);
        }
    };

private Q_SLOTS:
    void scan_data();
    void scan();
    void hitsAreMarkedScrolledToAndCounted();
    void secondSearchClearsTheFirst();
    void nothingFoundNamesTheTextInLowerCase();
    void emptyTextDoesNothing();
    void resetKeepsTheYellowRow();
};

void JournalSearchTest::scan_data()
{
    QTest::addColumn<QList<Shown>>("records");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("hits");

    const Shown plain{QStringLiteral("А123ВС77"), QStringLiteral("XTA21070012345678"), QStringLiteral("Лада Калина"),
                      QStringLiteral("12345"), QStringLiteral("Зелёный")};
    QTest::newRow("capital Cyrillic against a capitalised word")
        << QList<Shown>{plain, {}} << QStringLiteral("ЛАДА") << QList<int>{1};
    QTest::newRow("Latin in lower case") << QList<Shown>{{}, plain} << QStringLiteral("xta2107") << QList<int>{2};
    QTest::newRow("Ё typed, ё stored") << QList<Shown>{plain} << QStringLiteral("ЗЕЛЁН") << QList<int>{1};
    QTest::newRow("ё typed, Ё stored") << QList<Shown>{{{}, {}, QStringLiteral("Ёж"), {}, {}}} << QStringLiteral("ёж")
                                       << QList<int>{1};
    QTest::newRow("е does not stand for ё") << QList<Shown>{plain} << QStringLiteral("зелен") << QList<int>{};
    QTest::newRow("plate, body and colour are searched") << QList<Shown>{{QStringLiteral("Р1"), {}, {}, {}, {}},
                                                                         {{}, {}, {}, QStringLiteral("р1"), {}},
                                                                         {{}, {}, {}, {}, QStringLiteral("цвет р1")},
                                                                         {}}
                                                         << QStringLiteral("р1") << QList<int>{1, 2, 3};
    QTest::newRow("the ID is not searched") << QList<Shown>{{}, {}, {}} << QStringLiteral("2") << QList<int>{};
    QTest::newRow("no piece across two fields")
        << QList<Shown>{{QStringLiteral("ab"), QStringLiteral("cd"), {}, {}, {}}} << QStringLiteral("bc")
        << QList<int>{};
    QTest::newRow("a piece across two fields, then one inside the second")
        << QList<Shown>{{QStringLiteral("ab"), QStringLiteral("cdbc"), {}, {}, {}}} << QStringLiteral("bc")
        << QList<int>{1};
    QTest::newRow("no piece across body number and colour")
        << QList<Shown>{{{}, {}, {}, QStringLiteral("12 КР"), QStringLiteral("АСНЫЙ")}} << QStringLiteral("красн")
        << QList<int>{};
    QTest::newRow("found far into a long field")
        << QList<Shown>{{{}, {}, QStringLiteral("ЛАДА 219410 ЛАДА КАЛИНА УНИВЕРСАЛ"), {}, {}},
                        {{}, {}, QStringLiteral("ЛАДА 219410 ЛАДА КАЛИН"), {}, {}}}
        << QStringLiteral("Калина у") << QList<int>{1};
    // The Kelvin sign lowers to "k" as well, but has no Windows-1251 byte: the table holds "?".
    QTest::newRow("a letter outside the code page is kept as ?")
        << QList<Shown>{{{}, {}, QStringLiteral("KIA RIO"), {}, {}}, {{}, {}, QStringLiteral("KIA"), {}, {}}}
        << QStringLiteral("kia") << QList<int>{1};
    QTest::newRow("spaces only, as many as typed")
        << QList<Shown>{{{}, {}, QStringLiteral("ВАЗ 2107"), {}, {}}, {{}, {}, QStringLiteral("ВАЗ  2107"), {}, {}}}
        << QStringLiteral("  ") << QList<int>{2};
    QTest::newRow("text longer than every field")
        << QList<Shown>{plain} << QStringLiteral("лада калина универсал") << QList<int>{};
    QTest::newRow("empty text") << QList<Shown>{plain} << QString() << QList<int>{};
}

void JournalSearchTest::scan()
{
    QFETCH(QList<Shown>, records);
    QFETCH(QString, text);
    QFETCH(QList<int>, hits);
    RecordTable table;
    for (int i = 1; i <= records.size(); ++i) {
        const Shown &r = records.at(i - 1);
        table.setField(i, 1, QString::number(i));
        table.setField(i, 2, r.plate);
        table.setField(i, 3, r.vin);
        table.setField(i, 4, r.make);
        table.setField(i, 12, r.body);
        table.setField(i, 13, r.colour);
        // Fields that are not searched hold the text too.
        table.setField(i, 5, text);
        table.setField(i, 14, text);
    }
    const std::vector<int> found = JournalSearch::find(table, int(records.size()), text);
    QCOMPARE(QList<int>(found.begin(), found.end()), hits);
}

void JournalSearchTest::hitsAreMarkedScrolledToAndCounted()
{
    TestPlatform t;
    const Shown cherry{QStringLiteral("АВС"), QStringLiteral("XTA"), QStringLiteral("Лада"), QStringLiteral("КУЗОВ"),
                       QStringLiteral("Вишнёвый")};
    t.writeJournal(journalOf(60, {{5, cherry}, {9, cherry}, {12, cherry}}));
    Session s(t);
    s.form.grid()->setTopRow(30);

    s.find(QStringLiteral("ВИШНЁВ"));

    QCOMPARE(s.aquaRows(), (QList<int>{5, 9, 12}));
    QCOMPARE(s.form.grid()->topRow(), 5);
    QCOMPARE(t.dialogs.messages.size(), 1);
    const Dialogs::Message &m = t.dialogs.messages.first();
    QCOMPARE(m.text, QStringLiteral(" Количество найденых строк = 3.  Номер первой найденной строки = 5"));
    QCOMPARE(m.caption, QStringLiteral("Результаты поиска    вишнёв"));
    QCOMPARE(m.icon, Dialogs::Icon::None);
    QCOMPARE(m.buttons, Dialogs::Buttons::Ok);
    // The text stays for the next search; the buttons and the pointer are back.
    QCOMPARE(s.control<QLineEdit>(QStringLiteral("txtfind"))->text(), QStringLiteral("ВИШНЁВ"));
    QVERIFY(s.control<QPushButton>(QStringLiteral("Cmd2"))->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void JournalSearchTest::secondSearchClearsTheFirst()
{
    TestPlatform t;
    const Shown red{QStringLiteral("АВС"), QStringLiteral("XTA"), QStringLiteral("Лада"), QStringLiteral("КУЗОВ"),
                    QStringLiteral("красный")};
    const Shown volga{QStringLiteral("АВС"), QStringLiteral("XTA"), QStringLiteral("Волга"), QStringLiteral("КУЗОВ"),
                      QStringLiteral("белый")};
    t.writeJournal(journalOf(6, {{2, red}, {3, red}, {5, volga}}));
    Session s(t);

    s.find(QStringLiteral("красн"));
    QCOMPARE(s.aquaRows(), (QList<int>{2, 3}));
    // Enter in the search box finds as the button does.
    s.find(QStringLiteral("волг"), true);
    QCOMPARE(s.aquaRows(), (QList<int>{5}));
    QCOMPARE(t.dialogs.texts().last(),
             QStringLiteral(" Количество найденых строк = 1.  Номер первой найденной строки = 5"));
    QVERIFY(!s.background(2).isValid());
}

void JournalSearchTest::nothingFoundNamesTheTextInLowerCase()
{
    TestPlatform t;
    const Shown red{QStringLiteral("АВС"), QStringLiteral("XTA"), QStringLiteral("Лада"), QStringLiteral("КУЗОВ"),
                    QStringLiteral("красный")};
    t.writeJournal(journalOf(12, {{4, red}}));
    Session s(t);
    s.find(QStringLiteral("КРАСН"));
    QCOMPARE(s.aquaRows(), (QList<int>{4}));

    // "12" is an ID only: no hit, and the marks of the last search are gone all the same.
    s.find(QStringLiteral("12"));
    QCOMPARE(s.aquaRows(), QList<int>());
    s.find(QStringLiteral("ЗЕЛЁНЫЙ Z"));
    QCOMPARE(t.dialogs.messages.size(), 3);
    const Dialogs::Message &id = t.dialogs.messages.at(1);
    QCOMPARE(id.text, QStringLiteral("Выражение   12   не найдено."));
    QCOMPARE(id.caption, QStringLiteral("Результаты поиска    "));
    QCOMPARE(id.icon, Dialogs::Icon::None);
    QCOMPARE(t.dialogs.messages.at(2).text, QStringLiteral("Выражение   зелёный z   не найдено."));
}

void JournalSearchTest::emptyTextDoesNothing()
{
    TestPlatform t;
    t.writeJournal(journalOf(3));
    Session s(t);
    s.find(QString());
    QVERIFY(t.dialogs.messages.isEmpty());
    QCOMPARE(s.aquaRows(), QList<int>());
}

void JournalSearchTest::resetKeepsTheYellowRow()
{
    TestPlatform t;
    const Shown red{QStringLiteral("АВС"), QStringLiteral("XTA"), QStringLiteral("Лада"), QStringLiteral("КУЗОВ"),
                    QStringLiteral("красный")};
    t.writeJournal(journalOf(6, {{2, red}, {5, red}}));
    Session s(t);
    RecordGrid *grid = s.form.grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(3, 2)).center());
    QCOMPARE(s.background(4), QColor(255, 255, 0));

    s.find(QStringLiteral("красн"));
    QCOMPARE(s.aquaRows(), (QList<int>{2, 5}));
    QCOMPARE(s.background(4, 5), QColor(255, 255, 0));

    QTest::mouseClick(s.control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(s.aquaRows(), QList<int>());
    for (int c = 0; c < 6; ++c) {
        QVERIFY(!s.background(2, c).isValid());
        QCOMPARE(s.background(4, c), QColor(255, 255, 0));
    }
    QVERIFY(s.control<QPushButton>(QStringLiteral("Command1"))->isEnabled());
    // The current cell moved to the first column of the clicked row.
    QCOMPARE(grid->currentIndex(), grid->model()->index(3, 0));
    QCOMPARE(t.dialogs.messages.size(), 1);
}

QTEST_MAIN(JournalSearchTest)
#include "tst_JournalSearch.moc"
