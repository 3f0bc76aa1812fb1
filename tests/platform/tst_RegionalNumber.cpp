#include "platform/RegionalNumber.h"

#include <QLocale>
#include <QTest>

class RegionalNumberTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void format_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("ru: seven digits") << true << 215.0006f << "215,0006";
        QTest::newRow("ru: whole") << true << 81.0f << "81";
        QTest::newRow("ru: negative") << true << -0.25f << "-0,25";
        QTest::newRow("ru: no group separator") << true << 1234567.0f << "1234567";
        QTest::newRow("ru: single precision") << true << 80.99786f << "80,99786";
        QTest::newRow("C: point") << false << 215.0006f << "215.0006";
        QTest::newRow("C: no group separator") << false << 12345.5f << "12345.5";
    }
    void format()
    {
        QFETCH(bool, russian);
        QFETCH(float, value);
        QFETCH(QString, text);
        QLocale::setDefault(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
        QCOMPARE(RegionalNumber::format(value), text);
        QCOMPARE(RegionalNumber::parse(text), value);
    }

    void parse_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<float>("value");
        QTest::newRow("ru: blanks around") << true << " 9,75 " << true << 9.75f;
        QTest::newRow("ru: point is no separator") << true << "9.75" << false << 0.0f;
        // In the C locale a comma is a group separator: "9,75" must not read as 975.
        QTest::newRow("C: comma") << false << "9,75" << false << 0.0f;
        QTest::newRow("empty") << true << "" << false << 0.0f;
        QTest::newRow("beyond single precision") << false << "1e39" << false << 0.0f;
        QTest::newRow("not a number") << false << "nan" << false << 0.0f;
    }
    void parse()
    {
        QFETCH(bool, russian);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(float, value);
        QLocale::setDefault(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
        const auto parsed = RegionalNumber::parse(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }
};

QTEST_GUILESS_MAIN(RegionalNumberTest)
#include "tst_RegionalNumber.moc"
