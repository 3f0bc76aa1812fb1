#include "journal/Journal.h"
#include "journal/JournalRecords.h"
#include "journal/SuggestionIndex.h"

#include <QRandomGenerator>
#include <QTest>

#include <memory>

namespace {

// Record n holds texts[n - 1] in `field`.
void fill(Journal &j, int field, const QStringList &texts)
{
    for (int n = 1; n <= texts.size(); ++n)
        j.table.setField(n, field, texts[n - 1]);
    j.RecordCount = std::max(j.RecordCount, int(texts.size()));
}

} // namespace

class SuggestionIndexTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookup_data();
    void lookup();
    void keptUpToDateAsRecordsAreStoredAndDeleted();
};

void SuggestionIndexTest::lookup_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("most used, then most recent; spellings kept")
        << 4 << QStringLiteral("ваз") << QStringList{"ВАЗ 2107", "Ваз 2107", "ВАЗ 2106", "ВАЗ 2109", "ваз 2109"};
    QTest::newRow("a longer prefix") << 4 << QStringLiteral("ВАЗ 2109") << QStringList{"ВАЗ 2109", "ваз 2109"};
    QTest::newRow("a prefix, not a part") << 4 << QStringLiteral("АЗ") << QStringList{};
    QTest::newRow("longer than every value") << 4 << QStringLiteral("ВАЗ 2107 ") << QStringList{};
    QTest::newRow("Е finds Ё") << 20 << QStringLiteral("федоров") << QStringList{"ФЕДОРОВА", "Фёдоров"};
    QTest::newRow("Ё finds Е") << 20 << QStringLiteral("ФЁД") << QStringList{"ФЕДОРОВА", "Фёдоров"};
    QTest::newRow("at most eight, most recent first")
        << 13 << QStringLiteral("сер")
        << QStringList{"СЕРЫЙ 9", "СЕРЫЙ 8", "СЕРЫЙ 7", "СЕРЫЙ 6", "СЕРЫЙ 5", "СЕРЫЙ 4", "СЕРЫЙ 3", "СЕРЫЙ 2"};
    QTest::newRow("plate: none") << 2 << QStringLiteral("ВАЗ") << QStringList{};
    QTest::newRow("certificate number: none") << 38 << QStringLiteral("ВАЗ") << QStringList{};
    QTest::newRow("nothing typed") << 4 << QString() << QStringList{};
}

void SuggestionIndexTest::lookup()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    auto j = std::make_unique<Journal>();
    const QStringList makes{"ВАЗ 2107", "ваз 2109", "ВАЗ 2107", "ВАЗ 2109", "ВАЗ 2106", "Ваз 2107"};
    fill(*j, 4, makes);
    fill(*j, 2, makes);
    fill(*j, 38, makes);
    fill(*j, 20, {"Фёдоров", "ФЕДОРОВА", "ФЕДОРОВА"});
    QStringList colours;
    for (int i = 0; i < 10; ++i)
        colours << QStringLiteral("СЕРЫЙ %1").arg(i);
    fill(*j, 13, colours);
    j->suggestions.update(j->table, j->RecordCount);
    QCOMPARE(j->suggestions.lookup(field, typed), expected);
}

void SuggestionIndexTest::keptUpToDateAsRecordsAreStoredAndDeleted()
{
    auto j = std::make_unique<Journal>();
    QRandomGenerator random(7);
    const QStringList values{"ЛАДА", "лада", "ЛАДА ГРАНТА", "ГАЗ", "Ёлка", "ЕЛКА", "УАЗ"};
    const auto store = [&](int record) {
        for (const int field : {4, 6, 20, 41}) {
            const int k = int(random.bounded(values.size() + 1));
            j->table.setField(record, field, k == values.size() ? QString() : values[k]);
        }
    };
    for (int r = 1; r <= 300; ++r)
        store(r);
    j->RecordCount = 300;
    j->suggestions.update(j->table, j->RecordCount);
    for (int step = 0; step < 60; ++step) {
        switch (step % 4) {
        case 0:
            store(1 + int(random.bounded(j->RecordCount)));
            break; // an edited record
        case 1:
            store(++j->RecordCount);
            break; // a new one
        case 2:
            DeleteRecord(*j, j->RecordCount - int(random.bounded(5)));
            break; // near the end
        case 3:
            j->table.setField(int(random.bounded(j->RecordCount)) + 1, 4, QString());
            break;
        }
        if (step == 30)
            DeleteRecord(*j, 2); // every record after it moves
        j->suggestions.update(j->table, j->RecordCount);
        SuggestionIndex fresh;
        fresh.update(j->table, j->RecordCount);
        for (const int field : {4, 6, 20, 41}) {
            for (const QString &v : values) {
                QCOMPARE(j->suggestions.lookup(field, v.left(1)), fresh.lookup(field, v.left(1)));
                QCOMPARE(j->suggestions.latestRecordWith(field, v), fresh.latestRecordWith(field, v));
            }
        }
    }
}

QTEST_APPLESS_MAIN(SuggestionIndexTest)
#include "tst_SuggestionIndex.moc"
