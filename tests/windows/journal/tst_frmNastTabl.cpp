#include "JournalSession.h"

#include "journal/JournalGridModel.h"
#include "windows/journal/frmNastTabl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using StoredSettings = QMap<QString, QString>;

class frmNastTablTest : public QObject
{
    Q_OBJECT

    // No journal yet: the program starts on one empty record.
    struct Session : JournalSession
    {
        explicit Session(TestPlatform &t) : JournalSession(t, Exposed) {}

        // Opens the dialog from the menu, as the operator does.
        frmNastTabl *open()
        {
            menu("Menu_Nastr_Tabl");
            return openWindow<frmNastTabl>();
        }
        // The row's ticks as "L", "M", "R" or "" for none; row 1..6.
        static QString ticks(frmNastTabl *dialog, int row)
        {
            QString ticked;
            for (const char *name : {"ChL", "ChM", "ChR"}) {
                auto *box = dialog->findChild<QCheckBox *>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(row));
                if (box->isChecked())
                    ticked += QLatin1Char(name[2]);
            }
            return ticked;
        }
        static void click(frmNastTabl *dialog, const QString &name)
        {
            auto *widget = dialog->findChild<QAbstractButton *>(name);
            QVERIFY2(widget, qPrintable(name));
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
        }
        QList<int> gridAlignments() const
        {
            QList<int> codes;
            const JournalGridModel *model = form.gridModel();
            for (int c = 0; c < 6; ++c) {
                const auto a = model->data(model->index(0, c), Qt::TextAlignmentRole).value<Qt::Alignment>();
                codes << (a & Qt::AlignLeft ? 1 : a & Qt::AlignHCenter ? 4 : a & Qt::AlignRight ? 7 : 0);
                if (codes.last() != form.columnAlignment(c))
                    return {-1};
            }
            return codes;
        }
    };

private Q_SLOTS:
    void openingShowsTheColumnsAlignments_data();
    void openingShowsTheColumnsAlignments();
    void okApplies_data();
    void okApplies();
    void closeBoxAppliesNothing();
};

void frmNastTablTest::openingShowsTheColumnsAlignments_data()
{
    QTest::addColumn<StoredSettings>("stored");
    QTest::addColumn<QStringList>("ticks");
    QTest::newRow("defaults") << StoredSettings() << QStringList{"M", "M", "M", "M", "M", "L"};
    QTest::newRow("stored right, and a code the dialog does not offer")
        << StoredSettings{{"Calg(1)", "7"}, {"Calg(3)", "3"}} << QStringList{"M", "R", "M", "", "M", "L"};
}

void frmNastTablTest::openingShowsTheColumnsAlignments()
{
    QFETCH(StoredSettings, stored);
    QFETCH(QStringList, ticks);
    TestPlatform t;
    for (auto it = stored.begin(); it != stored.end(); ++it)
        t.settings->setValue(QStringLiteral("TunGrid"), it.key(), it.value());
    Session s(t);
    frmNastTabl *dialog = s.open();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Настройка таблицы"));
    QVERIFY(!s.form.isEnabled());
    QVERIFY(dialog->isEnabled());
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Label1(1)"))->text(), QStringLiteral("Выравнивание"));
    const QStringList names{"ID", "VIN", "Марка, модель", "№ кузова", "Рег. знак", "Цвет"};
    for (int row = 1; row <= 6; ++row) {
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Label2(%1)").arg(row - 1))->text(), names[row - 1]);
        QCOMPARE(Session::ticks(dialog, row), ticks[row - 1]);
    }
    dialog->close();
}

void frmNastTablTest::okApplies_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("ticks");
    QTest::addColumn<QList<int>>("alignments");
    QTest::newRow("Вправо for VIN") << QStringList{"ChR(2)"} << QStringList{"M", "R", "M", "M", "M", "L"}
                                    << QList<int>{4, 7, 4, 4, 4, 1};
    QTest::newRow("an emptied row keeps its column")
        << QStringList{"ChM(3)"} << QStringList{"M", "M", "", "M", "M", "L"} << QList<int>{4, 4, 4, 4, 4, 1};
    QTest::newRow("Влево then Вправо in one row")
        << QStringList{"ChL(1)", "ChR(1)"} << QStringList{"R", "M", "M", "M", "M", "L"} << QList<int>{7, 4, 4, 4, 4, 1};
    QTest::newRow("every row changed") << QStringList{"ChL(1)", "ChR(2)", "ChL(3)", "ChR(4)", "ChL(5)", "ChM(6)"}
                                       << QStringList{"L", "R", "L", "R", "L", "M"} << QList<int>{1, 7, 1, 7, 1, 4};
}

void frmNastTablTest::okApplies()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, ticks);
    QFETCH(QList<int>, alignments);
    TestPlatform t;
    Session s(t);
    frmNastTabl *dialog = s.open();
    QVERIFY(dialog);
    QPointer<frmNastTabl> alive(dialog);
    for (const QString &name : clicks)
        Session::click(dialog, name);
    for (int row = 1; row <= 6; ++row)
        QCOMPARE(Session::ticks(dialog, row), ticks[row - 1]);
    QCOMPARE(s.gridAlignments(), (QList<int>{4, 4, 4, 4, 4, 1}));

    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("CmdOk")), Qt::LeftButton);

    QCOMPARE(s.gridAlignments(), alignments);
    QVERIFY(s.form.isEnabled());
    QTRY_VERIFY(!alive);
}

void frmNastTablTest::closeBoxAppliesNothing()
{
    TestPlatform t;
    Session s(t);
    frmNastTabl *dialog = s.open();
    QVERIFY(dialog);
    Session::click(dialog, QStringLiteral("ChR(2)"));
    Session::click(dialog, QStringLiteral("ChL(1)"));
    QVERIFY(dialog->close());
    QCOMPARE(s.gridAlignments(), (QList<int>{4, 4, 4, 4, 4, 1}));
    QVERIFY(s.form.isEnabled());
    // Nothing of the dialog is kept: it opens again on the grid's alignments.
    frmNastTabl *again = s.open();
    QVERIFY(again);
    QCOMPARE(Session::ticks(again, 2), QStringLiteral("M"));
    again->close();
}

QTEST_MAIN(frmNastTablTest)
#include "tst_frmNastTabl.moc"
