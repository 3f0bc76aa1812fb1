#include "journal/RecordTable.h"

#include <QTest>

#include <memory>

namespace {
QStringList fields(const RecordTable &table, int record, int first, int last)
{
    QStringList list;
    for (int f = first; f <= last; ++f)
        list << table.text(record, f);
    return list;
}
} // namespace

class RecordTableTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<RecordTable> m_table;

private Q_SLOTS:
    void init() { m_table = std::make_unique<RecordTable>(); }

    void unwrittenSlotsAndOutOfRangeAddressesAreEmpty()
    {
        QVERIFY(m_table->field(20000, 210).isEmpty());
        QVERIFY(m_table->field(0, 0).isEmpty());
        QVERIFY(m_table->field(20001, 1).isEmpty());
        QVERIFY(m_table->field(1, 211).isEmpty());
        QVERIFY(m_table->field(-1, 5).isEmpty());
        m_table->setField(20001, 1, QStringLiteral("x"));
        m_table->setField(1, 211, QStringLiteral("x"));
        QVERIFY(m_table->field(1, 210).isEmpty());
        m_table->setField(20000, 210, QStringLiteral("последнее"));
        QCOMPARE(m_table->text(20000, 210), QStringLiteral("последнее"));
        QVERIFY(m_table->field(20000, 209).isEmpty());
    }

    void settingAFieldKeepsItsNeighbours()
    {
        for (int f = 0; f <= RecordTable::kLastField; ++f)
            m_table->setField(7, f, QStringLiteral("f%1").arg(f));
        m_table->setField(7, 100, QStringLiteral("намного более длинный текст"));
        m_table->setField(7, 1, QString());
        m_table->setField(7, 210, QStringLiteral("z"));
        for (int f = 0; f <= RecordTable::kLastField; ++f) {
            const QString expected = f == 100 ? QStringLiteral("намного более длинный текст")
                : f == 1                      ? QString()
                : f == 210                    ? QStringLiteral("z")
                                              : QStringLiteral("f%1").arg(f);
            QCOMPARE(m_table->text(7, f), expected);
        }
        QVERIFY(m_table->field(6, 100).isEmpty());
        QVERIFY(m_table->field(8, 100).isEmpty());
    }

    void longRecordsKeepEveryField()
    {
        // Past 65535 characters a record's field ends no longer fit in 16 bits.
        const QString big(70000, QLatin1Char('x'));
        m_table->setField(3, 2, QStringLiteral("до"));
        m_table->setField(3, 50, big);
        m_table->setField(3, 200, QStringLiteral("после"));
        QCOMPARE(m_table->text(3, 50), big);
        QCOMPARE(m_table->text(3, 200), QStringLiteral("после"));
        m_table->setField(3, 120, QStringLiteral("середина"));
        QCOMPARE(m_table->text(3, 120), QStringLiteral("середина"));
        QCOMPARE(m_table->text(3, 2), QStringLiteral("до"));
        m_table->setField(3, 50, QStringLiteral("коротко"));
        QCOMPARE(fields(*m_table, 3, 49, 51), (QStringList{QString(), "коротко", QString()}));
        QCOMPARE(m_table->text(3, 200), QStringLiteral("после"));
        QCOMPARE(m_table->text(3, 120), QStringLiteral("середина"));
    }

    void copyingARangeOfFields()
    {
        for (int f = 1; f <= 210; ++f) {
            m_table->setField(1, f, QStringLiteral("a%1").arg(f));
            m_table->setField(2, f, QStringLiteral("bb%1").arg(f));
        }
        m_table->copyFields(2, 1, 2, 200);
        QCOMPARE(m_table->text(1, 1), QStringLiteral("a1"));
        QCOMPARE(m_table->text(1, 2), QStringLiteral("bb2"));
        QCOMPARE(m_table->text(1, 200), QStringLiteral("bb200"));
        QCOMPARE(m_table->text(1, 201), QStringLiteral("a201"));
        QCOMPARE(m_table->text(1, 210), QStringLiteral("a210"));
        QCOMPARE(m_table->text(2, 2), QStringLiteral("bb2"));

        // From a slot never written: the range empties, the rest stays.
        m_table->copyFields(9, 1, 10, 20);
        QVERIFY(m_table->field(1, 15).isEmpty());
        QCOMPARE(m_table->text(1, 9), QStringLiteral("bb9"));
        QCOMPARE(m_table->text(1, 21), QStringLiteral("bb21"));

        // Into a slot never written.
        m_table->copyFields(2, 5, 3, 4);
        QCOMPARE(fields(*m_table, 5, 2, 5), (QStringList{QString(), "bb3", "bb4", QString()}));
    }

    void wholeRecordsAndClearing()
    {
        quint32 ends[RecordTable::kFieldCount];
        const QString text = QStringLiteral("12VINМарка");
        ends[0] = 0;
        ends[1] = 2;
        ends[2] = 5;
        for (int f = 3; f < RecordTable::kFieldCount; ++f)
            ends[f] = 10;
        m_table->assignRecord(12, text, ends);
        QCOMPARE(fields(*m_table, 12, 0, 4), (QStringList{QString(), "12", "VIN", "Марка", QString()}));
        QCOMPARE(m_table->record(12).text(), text);
        QCOMPARE(m_table->record(12).end(2), 5u);
        QVERIFY(m_table->record(13).text().isEmpty());
        m_table->clear();
        QVERIFY(m_table->field(12, 3).isEmpty());
    }
};

QTEST_GUILESS_MAIN(RecordTableTest)
#include "tst_RecordTable.moc"
