#include "Files.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class SettingsStoreTest : public QObject
{
    Q_OBJECT

    QString iniPath() const { return m_dir.filePath(QStringLiteral("Trelvax.ini")); }
    QByteArray iniBytes() const { return readFile(iniPath()); }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init() { QFile::remove(iniPath()); }

    void missingEntriesGiveTheirDefaults()
    {
        SettingsStore store(iniPath());
        QCOMPARE(store.value(QStringLiteral("TunGrid"), QStringLiteral("CW(0)"), QStringLiteral("600")),
                 QStringLiteral("600"));
        QCOMPARE(store.intValue(QStringLiteral("TunGrid"), QStringLiteral("CW(0)"), 600), 600);
        QVERIFY(!QFile::exists(iniPath()));
    }

    void namesMatchWhateverTheirCase()
    {
        {
            SettingsStore store(iniPath());
            store.setValue(QStringLiteral("PTS1topImPodp"), QStringLiteral("ImPodp"), QStringLiteral("12,5"));
            QCOMPARE(store.value(QStringLiteral("PTS1topImpodp"), QStringLiteral("Impodp"), QString()),
                     QStringLiteral("12,5"));
            // A write under another spelling replaces the entry rather than adding a second one.
            store.setValue(QStringLiteral("pts1topimpodp"), QStringLiteral("IMPODP"), QStringLiteral("13"));
            QVERIFY(store.sync());
        }
        const QByteArray ini = iniBytes();
        QCOMPARE(ini.count("=13"), 1);
        QVERIFY(!ini.contains("12,5"));
        QVERIFY(ini.contains("[PTS1topImPodp]"));

        SettingsStore again(iniPath());
        QCOMPARE(again.value(QStringLiteral("PTS1TOPIMPODP"), QStringLiteral("impodp"), QString()),
                 QStringLiteral("13"));
        again.remove(QStringLiteral("pts1topimpodp"), QStringLiteral("impodp"));
        QCOMPARE(again.value(QStringLiteral("PTS1topImPodp"), QStringLiteral("ImPodp"), QStringLiteral("none")),
                 QStringLiteral("none"));
    }

    void textsComeBackAsTheyWereWritten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("cyrillic") << QStringLiteral("Сведения о владельце");
        QTest::newRow("comma list") << QStringLiteral("ВАЗ, 2107, седан");
        QTest::newRow("spaces") << QStringLiteral("  два пробела  ");
        QTest::newRow("empty") << QString();
        QTest::newRow("equals and semicolon") << QStringLiteral("a=b; c");
    }

    void textsComeBackAsTheyWereWritten()
    {
        QFETCH(QString, text);
        {
            SettingsStore store(iniPath());
            store.setValue(QStringLiteral("Nastr"), QStringLiteral("Text"), text);
        }
        SettingsStore again(iniPath());
        QCOMPARE(again.value(QStringLiteral("Nastr"), QStringLiteral("Text"), QStringLiteral("default")), text);
    }

    void wholeNumbers_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QStringLiteral("2100") << 2100;
        QTest::newRow("negative") << QStringLiteral("-5") << -5;
        QTest::newRow("padded") << QStringLiteral(" 42 ") << 42;
        QTest::newRow("not a number") << QStringLiteral("wide") << 7;
        QTest::newRow("fraction") << QStringLiteral("4.5") << 7;
        QTest::newRow("group separator") << QStringLiteral("2,100") << 7;
        QTest::newRow("empty") << QString() << 7;
    }

    void wholeNumbers()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        SettingsStore store(iniPath());
        store.setValue(QStringLiteral("TunGrid"), QStringLiteral("CW(1)"), stored);
        QCOMPARE(store.intValue(QStringLiteral("TunGrid"), QStringLiteral("CW(1)"), 7), expected);
    }

    // The one place where every number read back is held inside its range.
    void numbersInsideARange_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("clamp");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside") << QStringLiteral("50") << true << 50;
        QTest::newRow("lowest") << QStringLiteral("-10") << false << -10;
        QTest::newRow("highest") << QStringLiteral("100") << false << 100;
        QTest::newRow("above, clamped") << QStringLiteral("101") << true << 100;
        QTest::newRow("below, clamped") << QStringLiteral("-11") << true << -10;
        QTest::newRow("above, default") << QStringLiteral("101") << false << 7;
        QTest::newRow("largest int, clamped") << QStringLiteral("2147483647") << true << 100;
        QTest::newRow("beyond int, clamped") << QStringLiteral("4294967296") << true << 100;
        QTest::newRow("far below int, clamped") << QStringLiteral("-9223372036854775808") << true << -10;
        QTest::newRow("beyond any integer") << QStringLiteral("99999999999999999999") << true << 7;
        QTest::newRow("not a number") << QStringLiteral("x") << true << 7;
        QTest::newRow("missing") << QString() << true << 7;
    }

    void numbersInsideARange()
    {
        QFETCH(QString, stored);
        QFETCH(bool, clamp);
        QFETCH(int, expected);
        SettingsStore store(iniPath());
        if (!stored.isNull())
            store.setValue(QStringLiteral("PTS1top"), QStringLiteral("Lb1(3)"), stored);
        const IntRange range{-10, 100, clamp ? IntRange::Outside::Clamp : IntRange::Outside::UseDefault};
        QCOMPARE(store.intValue(QStringLiteral("PTS1top"), QStringLiteral("Lb1(3)"), 7, range), expected);
    }

    void realNumbersInsideARange_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("expected");
        QTest::newRow("regional format") << QStringLiteral("12,5") << 12.5;
        // Written under other regional settings: not the operator's number.
        QTest::newRow("decimal point under Russian settings") << QStringLiteral("12.5") << 20.0;
        QTest::newRow("above, clamped") << QStringLiteral("1e30") << 300.0;
        QTest::newRow("below, clamped") << QStringLiteral("-3,5") << 0.0;
        QTest::newRow("infinite") << QStringLiteral("inf") << 20.0;
        QTest::newRow("not a number") << QStringLiteral("nan") << 20.0;
        QTest::newRow("beyond single precision") << QStringLiteral("1e39") << 20.0;
        QTest::newRow("beyond double") << QStringLiteral("1e999") << 20.0;
        QTest::newRow("text") << QStringLiteral("abc") << 20.0;
    }

    void realNumbersInsideARange()
    {
        QFETCH(QString, stored);
        QFETCH(double, expected);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        SettingsStore store(iniPath());
        store.setValue(QStringLiteral("PTS1left"), QStringLiteral("Lb1(3)"), stored);
        QCOMPARE(store.realValue(QStringLiteral("PTS1left"), QStringLiteral("Lb1(3)"), 20.0, RealRange{0.0, 300.0}),
                 expected);
    }

    void numbersAreWrittenInPlainDecimal()
    {
        SettingsStore store(iniPath());
        store.setInt(QStringLiteral("TunGrid"), QStringLiteral("CW(1)"), 123456);
        QCOMPARE(store.value(QStringLiteral("TunGrid"), QStringLiteral("CW(1)"), QString()), QStringLiteral("123456"));
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_SettingsStore.moc"
