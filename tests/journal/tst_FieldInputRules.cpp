#include "journal/FieldInputRules.h"

#include <QTest>

using namespace FieldInputRules;

class FieldInputRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void capitals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plate with a space") << QStringLiteral("а123вс 77") << QStringLiteral("А123ВС 77");
        QTest::newRow("Latin") << QStringLiteral("vin xta21074") << QStringLiteral("VIN XTA21074");
        QTest::newRow("yo") << QStringLiteral("ёлкин, Ёж") << QStringLiteral("ЁЛКИН, ЁЖ");
        QTest::newRow("Cyrillic beyond Russian") << QStringLiteral("ґ ў ї є ђ џ") << QStringLiteral("Ґ Ў Ї Є Ђ Џ");
        // Letters whose capitals the file cannot hold, or that are no Latin or Cyrillic letter.
        QTest::newRow("micro sign") << QStringLiteral("5µm") << QStringLiteral("5µM");
        QTest::newRow("sharp s") << QStringLiteral("straße") << QStringLiteral("STRAßE");
        QTest::newRow("no letters") << QStringLiteral("12-34/5 №6") << QStringLiteral("12-34/5 №6");
    }

    void capitals()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(inCapitals(text), expected);
    }

    void lineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("CR LF joins two words") << QStringLiteral("ИВАНОВ\r\nПЕТР") << QStringLiteral("ИВАНОВПЕТР");
        QTest::newRow("CR at the end") << QStringLiteral("ДОМ\r") << QStringLiteral("ДОМ");
        // A lone CR takes no letter with it.
        QTest::newRow("lone CR") << QStringLiteral("A\rBC") << QStringLiteral("ABC");
        QTest::newRow("lone LF") << QStringLiteral("A\nB") << QStringLiteral("AB");
        QTest::newRow("several") << QStringLiteral("\r\nA\r\n\r\nB\n") << QStringLiteral("AB");
        QTest::newRow("spaces kept") << QStringLiteral("  A  ") << QStringLiteral("  A  ");
    }

    void lineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(withoutLineBreaks(text), expected);
    }

    void charactersTheJournalCannotHoldAreLeftOut()
    {
        QVERIFY(!isAccepted(QLatin1Char('|')));
        QVERIFY(!isAccepted(QChar(0x0100)));
        QVERIFY(isAccepted(QChar(u'ё')));
        QVERIFY(isAccepted(QChar(u'№')));
        QVERIFY(isAccepted(QChar(u'€')));
        QCOMPARE(accepted(QStringLiteral("a|bĀc😀d€")), QStringLiteral("abcd€"));
    }
};

QTEST_GUILESS_MAIN(FieldInputRulesTest)
#include "tst_FieldInputRules.moc"
