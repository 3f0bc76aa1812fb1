#include "TestPlatform.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/RecordTable.h"

#include <QFile>
#include <QTemporaryDir>

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

    void anUnwrittenSlotReadsAndSavesAsEmptyFields()
    {
        // New prepares a slot past the last record; until the editor fills it, the slot has
        // never been written, and the save must still write it as a line of empty fields.
        const RecordTable::RecordView view = m_table->record(2);
        for (int f = 0; f <= RecordTable::kLastField; ++f) {
            QCOMPARE(view.end(f), 0u);
            QVERIFY(view.field(f).isEmpty());
        }

        QTemporaryDir dir;
        Journal journal;
        journal.JournalPath = dir.filePath(QStringLiteral("journal"));
        journal.table.setField(1, 1, QStringLiteral("1"));
        journal.RecordCount = 2;
        ScriptedDialogs dialogs;
        QVERIFY(SaveJournal(journal, dialogs));
        QVERIFY(dialogs.messages.isEmpty());
        QFile file(journal.JournalPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "1" + QByteArray(200, '|') + "\r\n" + QByteArray(200, '|') + "\r\n");
    }

    void settingSeveralFieldsAtOnce()
    {
        // The editor writes its 44 boxes back in one step: a long field followed by a short
        // one, over a record whose fields around them must stay.
        for (int f = 0; f <= RecordTable::kLastField; ++f)
            m_table->setField(4, f, QStringLiteral("f%1").arg(f));
        const QString longText(300, QChar(u'Ж'));
        m_table->setFields(4, 2, {longText, QStringLiteral("к"), QString(), QStringLiteral("конец")});
        QCOMPARE(fields(*m_table, 4, 1, 6), (QStringList{"f1", longText, "к", QString(), "конец", "f6"}));
        QCOMPARE(m_table->text(4, 210), QStringLiteral("f210"));

        // And back to short ones, into a slot never written as well.
        m_table->setFields(4, 2, {QStringLiteral("a"), QStringLiteral("b")});
        QCOMPARE(fields(*m_table, 4, 1, 4), (QStringList{"f1", "a", "b", QString()}));
        m_table->setFields(9, 44, {QStringLiteral("x"), QStringLiteral("y")});
        QCOMPARE(fields(*m_table, 9, 43, 46), (QStringList{QString(), "x", "y", QString()}));
        // A range past the last field is refused whole.
        m_table->setFields(9, 210, {QStringLiteral("x"), QStringLiteral("y")});
        QVERIFY(m_table->field(9, 210).isEmpty());

        m_table->clearRecord(4);
        QVERIFY(m_table->record(4).text().isEmpty());
    }

    void charactersWithoutAByteAreStoredAsTheSaveWritesThem_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("letter outside the code page")
            << QStringLiteral("Škoda") << QStringLiteral("?koda") << QByteArray("?koda");
        QTest::newRow("surrogate pair") << QStringLiteral("a😀b") << QStringLiteral("a?b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << (QChar(0xD83D) + QStringLiteral("x")) << QStringLiteral("?x")
                                        << QByteArray("?x");
        QTest::newRow("code page letters") << QStringLiteral("Ёё№€ЎўЇї") << QStringLiteral("Ёё№€ЎўЇї")
                                           << QByteArray("\xA8\xB8\xB9\x88\xA1\xA2\xAF\xBF");
    }

    // Every way into the table stores the same bytes, and the fields after the changed one stay
    // where they were, also where two UTF-16 units became one byte.
    void charactersWithoutAByteAreStoredAsTheSaveWritesThem()
    {
        QFETCH(QString, value);
        QFETCH(QString, stored);
        QFETCH(QByteArray, bytes);
        const QStringList expected{QStringLiteral("1"), stored, QStringLiteral("после")};

        m_table->setField(1, 1, QStringLiteral("1"));
        m_table->setField(1, 2, value);
        m_table->setField(1, 3, QStringLiteral("после"));
        m_table->setFields(2, 1, {QStringLiteral("1"), value, QStringLiteral("после")});
        const QString text = QStringLiteral("1") + value + QStringLiteral("после");
        quint32 ends[RecordTable::kFieldCount];
        ends[0] = 0;
        ends[1] = 1;
        ends[2] = quint32(1 + value.size());
        for (int f = 3; f < RecordTable::kFieldCount; ++f)
            ends[f] = quint32(text.size());
        m_table->assignRecord(3, text, ends);

        for (int record = 1; record <= 3; ++record) {
            QCOMPARE(fields(*m_table, record, 1, 3), expected);
            QCOMPARE(m_table->bytes(record, 2).toByteArray(), bytes);
            QCOMPARE(m_table->record(record).end(2), quint32(1 + bytes.size()));
        }
    }

    // A field of up to 255 bytes has its length in one byte; a longer one changes how the
    // whole record is kept, and back.
    void fieldLengthsAroundOneByte()
    {
        for (int f = 0; f <= RecordTable::kLastField; ++f)
            m_table->setField(5, f, QStringLiteral("f%1").arg(f));
        for (const int length : {254, 255, 256, 255, 1000, 0}) {
            const QString value(length, QChar(u'Щ'));
            m_table->setField(5, 150, value);
            m_table->setField(5, 3, value);
            for (int f = 0; f <= RecordTable::kLastField; ++f) {
                const QString expected = f == 3 || f == 150 ? value : QStringLiteral("f%1").arg(f);
                QCOMPARE(m_table->text(5, f), expected);
            }
            QCOMPARE(m_table->record(5).end(RecordTable::kLastField), quint32(m_table->record(5).bytes().size()));
        }
    }
};

QTEST_GUILESS_MAIN(RecordTableTest)
#include "tst_RecordTable.moc"
