#include "Files.h"
#include "TestPlatform.h"
#include "journal/AutofillTemplate.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

using Values = std::array<QString, AutofillTemplate::kValueCount>;

// Lines "значение 0", "значение 1", ... with the given line end.
QByteArray numberedLines(int count, const QByteArray &lineEnd)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += cp1251(QStringLiteral("значение %1").arg(i)) + lineEnd;
    return bytes;
}

} // namespace

class AutofillTemplateTest : public QObject
{
    Q_OBJECT

    TestPlatform m_test;
    QString path() const { return m_test.platform.programFile(AutofillTemplate::fileName()); }

private Q_SLOTS:
    void cleanup() { QFile::remove(path()); }

    void readingAShortFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << numberedLines(30, "\r\n");
        QTest::newRow("lone LF") << numberedLines(30, "\n");
        QTest::newRow("lone CR") << numberedLines(30, "\r");
        QTest::newRow("last line without an end") << numberedLines(30, "\r\n").chopped(2);
    }

    void readingAShortFile()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeFile(path(), bytes));
        AutofillTemplate autofill;
        ReadAutofillTemplate(autofill, path());
        for (int i = 0; i < AutofillTemplate::kValueCount; ++i)
            QCOMPARE(autofill.values[size_t(i)], i < 30 ? QStringLiteral("значение %1").arg(i) : QString());
    }

    void readingKeepsSpacesAndEmptyLinesAndIgnoresExtraLines()
    {
        QByteArray bytes = cp1251(QStringLiteral("  А 001 АА  ")) + "\r\n\r\n";
        bytes += numberedLines(50, "\r\n");
        QVERIFY(writeFile(path(), bytes));
        AutofillTemplate autofill;
        ReadAutofillTemplate(autofill, path());
        QCOMPARE(autofill.values[0], QStringLiteral("  А 001 АА  "));
        QCOMPARE(autofill.values[1], QString());
        QCOMPARE(autofill.values[2], QStringLiteral("значение 0"));
        QCOMPARE(autofill.values[43], QStringLiteral("значение 41"));
    }

    void noFileLeavesTheTemplateEmpty()
    {
        AutofillTemplate autofill;
        ReadAutofillTemplate(autofill, path());
        for (const QString &v : autofill.values)
            QVERIFY(v.isEmpty());
    }

    void savingWritesExactly44Lines()
    {
        Values boxes;
        boxes[0] = QStringLiteral("  с пробелами  ");
        boxes[3] = QStringLiteral("MARKA MODEL");
        boxes[10] = QStringLiteral("ДВЕ\r\nСТРОКИ");
        boxes[20] = QStringLiteral("A\nB\rC");
        boxes[30] = QStringLiteral("Ā|x");
        boxes[35] = QStringLiteral("01.02.2024");
        boxes[43] = QStringLiteral("последний");
        AutofillTemplate autofill;
        QVERIFY(SaveAutofillTemplate(autofill, boxes, path()));

        QByteArray expected;
        for (int i = 0; i < AutofillTemplate::kValueCount; ++i) {
            const QString value = i == 10 ? QStringLiteral("ДВЕСТРОКИ")
                : i == 20                 ? QStringLiteral("ABC")
                : i == 30                 ? QStringLiteral("?|x")
                                          : boxes[size_t(i)];
            expected += cp1251(value) + "\r\n";
            // Memory holds what the file holds.
            QCOMPARE(autofill.values[size_t(i)], value);
        }
        QCOMPARE(readFile(path()), expected);
        QCOMPARE(readFile(path()).count("\r\n"), 44);

        AutofillTemplate again;
        ReadAutofillTemplate(again, path());
        QCOMPARE(again.values, autofill.values);
    }

    void aFailedSaveKeepsTheValuesForTheRun()
    {
        // A folder where the file should be: nothing can replace it.
        QVERIFY(QDir(m_test.folder()).mkdir(AutofillTemplate::fileName()));
        Values boxes;
        boxes[5] = QStringLiteral("B");
        AutofillTemplate autofill;
        QVERIFY(!SaveAutofillTemplate(autofill, boxes, path()));
        QCOMPARE(autofill.values[5], QStringLiteral("B"));
        QVERIFY(QDir(m_test.folder()).rmdir(AutofillTemplate::fileName()));
    }
};

QTEST_GUILESS_MAIN(AutofillTemplateTest)
#include "tst_AutofillTemplate.moc"
