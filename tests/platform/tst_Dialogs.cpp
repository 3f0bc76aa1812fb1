#include "platform/Dialogs.h"

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
};

QTEST_GUILESS_MAIN(DialogsTest)
#include "tst_Dialogs.moc"
