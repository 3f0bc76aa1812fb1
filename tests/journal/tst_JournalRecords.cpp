#include "journal/FieldCatalogue.h"
#include "journal/Journal.h"
#include "journal/JournalRecords.h"

#include <QTest>

namespace {

// Field f of record r holds "r.f"; the ID (field 1) holds r, as the load gives it.
void fillJournal(Journal &journal, int records)
{
    journal.table.clear();
    journal.RecordCount = records;
    for (int r = 1; r <= records + 1; ++r) {
        journal.table.setField(r, 1, QString::number(r));
        for (int f = 2; f <= RecordTable::kLastField; ++f)
            journal.table.setField(r, f, QStringLiteral("%1.%2").arg(r).arg(f));
    }
}

} // namespace

class JournalRecordsTest : public QObject
{
    Q_OBJECT

private slots:
    void deleteMovesTheLaterRecordsUp_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<bool>("done");
        QTest::newRow("the first that may go") << 4 << 2 << true;
        QTest::newRow("one in the middle") << 5 << 3 << true;
        QTest::newRow("the last") << 4 << 4 << true;
        QTest::newRow("record 1 stays") << 4 << 1 << false;
        QTest::newRow("no record 0") << 4 << 0 << false;
        QTest::newRow("none past the end") << 4 << 5 << false;
    }
    void deleteMovesTheLaterRecordsUp()
    {
        QFETCH(int, records);
        QFETCH(int, deleted);
        QFETCH(bool, done);
        Journal journal;
        fillJournal(journal, records);

        QCOMPARE(DeleteRecord(journal, deleted), done);
        QCOMPARE(journal.RecordCount, done ? records - 1 : records);
        for (int slot = 1; slot <= records + 1; ++slot) {
            // The record whose stored fields this slot holds now; the last slot keeps its own.
            const int from = done && slot >= deleted && slot < records ? slot + 1 : slot;
            QCOMPARE(journal.table.text(slot, 1), QString::number(slot));
            for (int f = 2; f <= RecordTable::kLastField; ++f) {
                const int owner = f <= RecordTable::kLastStoredField ? from : slot;
                QCOMPARE(journal.table.text(slot, f), QStringLiteral("%1.%2").arg(owner).arg(f));
            }
        }
    }

    void newRecordIsDatedAndFilledFromTheTemplate_data()
    {
        QTest::addColumn<bool>("autofill");
        QTest::addColumn<QString>("templateDate");
        QTest::addColumn<QString>("issueDate");
        QTest::newRow("no template") << false << QStringLiteral("01.02.2003") << QStringLiteral("09.12.2026");
        QTest::newRow("the template's date") << true << QStringLiteral("01.02.2003") << QStringLiteral("01.02.2003");
        QTest::newRow("a template without one") << true << QString() << QStringLiteral("09.12.2026");
    }
    void newRecordIsDatedAndFilledFromTheTemplate()
    {
        QFETCH(bool, autofill);
        QFETCH(QString, templateDate);
        QFETCH(QString, issueDate);
        Journal journal;
        // A delete left the fields of the record that moved up in the slot after the last one.
        fillJournal(journal, 3);
        for (int i = 0; i < AutofillTemplate::kValueCount; ++i)
            journal.autofill.values[size_t(i)] = QStringLiteral("шаблон %1").arg(i);
        journal.autofill.values[size_t(FieldCatalogue::IssueDate - FieldCatalogue::kFirstDocumentField)] = templateDate;

        PrepareNewRecord(journal, QDate(2026, 12, 9), autofill);
        QCOMPARE(journal.CurrentRecord, 4);
        QCOMPARE(journal.NewRecordFlag, qint16(1));
        QCOMPARE(journal.RecordCount, 3);
        for (int f = 1; f <= RecordTable::kLastField; ++f) {
            const int value = f - FieldCatalogue::kFirstDocumentField;
            QString expected;
            if (f == FieldCatalogue::IssueDate)
                expected = issueDate;
            else if (autofill && value >= 0 && value < AutofillTemplate::kAppliedByNew)
                expected = QStringLiteral("шаблон %1").arg(value);
            QCOMPARE(journal.table.text(4, f), expected);
        }
        // The records themselves are untouched.
        QCOMPARE(journal.table.text(3, 2), QStringLiteral("3.2"));
    }

    void commitStoresTheBoxes_data()
    {
        QTest::addColumn<qint16>("newRecordFlag");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("records");
        QTest::newRow("a new record joins") << qint16(1) << 4 << 4;
        QTest::newRow("an opened record stays one") << qint16(0) << 2 << 3;
    }
    void commitStoresTheBoxes()
    {
        QFETCH(qint16, newRecordFlag);
        QFETCH(int, record);
        QFETCH(int, records);
        Journal journal;
        fillJournal(journal, 3);
        if (newRecordFlag == 1)
            journal.table.clearRecord(record);
        journal.NewRecordFlag = newRecordFlag;
        journal.CurrentRecord = record;
        QList<QString> boxes;
        for (int i = 0; i < FieldCatalogue::kBoxCount; ++i)
            boxes.append(QStringLiteral("ящик %1").arg(i));

        CommitRecord(journal, boxes);
        QCOMPARE(journal.RecordCount, records);
        QCOMPARE(journal.table.text(record, FieldCatalogue::Id), QString::number(record));
        for (int f = 2; f <= RecordTable::kLastField; ++f) {
            const int box = f - FieldCatalogue::kFirstDocumentField;
            const QString kept = newRecordFlag == 1 ? QString() : QStringLiteral("%1.%2").arg(record).arg(f);
            QCOMPARE(journal.table.text(record, f), box < FieldCatalogue::kBoxCount ? boxes.at(box) : kept);
        }
    }
};

QTEST_APPLESS_MAIN(JournalRecordsTest)
#include "tst_JournalRecords.moc"
