#include "platform/Cp1251.h"

#include <QSet>
#include <QTest>

// The Windows-1251 codec that every text file of the program goes through.
class Cp1251Test : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void exactlyTheCodePageIsRepresentable();
    void knownMappings_data();
    void knownMappings();
    void cyrillicAlphabet();
    void unrepresentableWrittenAsQuestionMark_data();
    void unrepresentableWrittenAsQuestionMark();
    void isRepresentable_data();
    void isRepresentable();
};

namespace {

QByteArray allBytes()
{
    QByteArray bytes(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        bytes[b] = char(b);
    return bytes;
}

QString hexByte(int b)
{
    return QStringLiteral("0x%1").arg(b, 2, 16, QLatin1Char('0'));
}

} // namespace

void Cp1251Test::everyByteRoundTrips()
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, char(b));
        const QString text = Cp1251::decode(byte);
        QVERIFY2(text.size() == 1, qPrintable(hexByte(b) + QStringLiteral(" decodes to one unit")));
        QVERIFY2(Cp1251::encode(text) == byte, qPrintable(hexByte(b) + QStringLiteral(" encodes back to itself")));
    }

    const QByteArray bytes = allBytes();
    const QString text = Cp1251::decode(bytes);
    QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
    QCOMPARE(Cp1251::encode(text), bytes);
    QCOMPARE(Cp1251::representable(text), text);
}

// The characters that can be written are exactly the 256 that the bytes decode to.
void Cp1251Test::exactlyTheCodePageIsRepresentable()
{
    int representable = 0;
    for (int unit = 0; unit <= 0xFFFF; ++unit) {
        const int byte = Cp1251::byteFor(char16_t(unit));
        if (byte < 0)
            continue;
        ++representable;
        QVERIFY2(byte <= 0xFF, qPrintable(QString::number(unit, 16)));
        QVERIFY2(Cp1251::decode(QByteArray(1, char(byte))) == QString(QChar(unit)),
                 qPrintable(
                     QStringLiteral("U+%1 is not what its byte reads back as").arg(unit, 4, 16, QLatin1Char('0'))));
    }
    QCOMPARE(representable, 256);
}

void Cp1251Test::knownMappings_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unit");

    QTest::newRow("NUL") << 0x00 << 0x0000;
    QTest::newRow("A") << 0x41 << 0x0041;
    QTest::newRow("DEL") << 0x7F << 0x007F;
    QTest::newRow("Ђ") << 0x80 << 0x0402;
    QTest::newRow("€") << 0x88 << 0x20AC;
    QTest::newRow("en dash") << 0x96 << 0x2013;
    QTest::newRow("em dash") << 0x97 << 0x2014;
    QTest::newRow("0x98 undefined") << 0x98 << 0x0098;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("¦") << 0xA6 << 0x00A6;
    QTest::newRow("Ё") << 0xA8 << 0x0401;
    QTest::newRow("«") << 0xAB << 0x00AB;
    QTest::newRow("ё") << 0xB8 << 0x0451;
    QTest::newRow("№") << 0xB9 << 0x2116;
    QTest::newRow("»") << 0xBB << 0x00BB;
    QTest::newRow("А") << 0xC0 << 0x0410;
    QTest::newRow("Я") << 0xDF << 0x042F;
    QTest::newRow("а") << 0xE0 << 0x0430;
    QTest::newRow("я") << 0xFF << 0x044F;
}

void Cp1251Test::knownMappings()
{
    QFETCH(int, byte);
    QFETCH(int, unit);
    const QByteArray bytes(1, char(byte));
    const QString text{QChar(char16_t(unit))};

    QCOMPARE(Cp1251::decode(bytes), text);
    QCOMPARE(Cp1251::encode(text), bytes);
    QCOMPARE(Cp1251::byteFor(char16_t(unit)), byte);
}

void Cp1251Test::cyrillicAlphabet()
{
    const QString alphabet = QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
                                            "абвгдежзийклмнопрстуфхцчшщъыьэюя");
    QByteArray bytes;
    for (int b = 0xC0; b <= 0xFF; ++b)
        bytes += char(b);

    QCOMPARE(Cp1251::decode(bytes), alphabet);
    QCOMPARE(Cp1251::encode(alphabet), bytes);
    QCOMPARE(Cp1251::representable(alphabet), alphabet);
}

void Cp1251Test::unrepresentableWrittenAsQuestionMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readsBack");
    QTest::addColumn<int>("replaced");

    const QChar high(char16_t(0xD83D));
    const QChar low(char16_t(0xDE00));

    QTest::newRow("Latin letter outside the code page")
        << QStringLiteral("Ā") << QByteArray("?") << QStringLiteral("?") << 1;
    QTest::newRow("Latin-1 sign outside the code page")
        << QStringLiteral("a¡b") << QByteArray("a?b") << QStringLiteral("a?b") << 1;
    QTest::newRow("C1 control other than U+0098")
        << QString(QChar(char16_t(0x0081))) << QByteArray("?") << QStringLiteral("?") << 1;
    QTest::newRow("replacement character")
        << QString(QChar(char16_t(0xFFFD))) << QByteArray("?") << QStringLiteral("?") << 1;
    QTest::newRow("emoji as one character") << QStringLiteral("a😀b") << QByteArray("a?b") << QStringLiteral("a?b") << 1;
    QTest::newRow("two emoji") << QStringLiteral("😀😀") << QByteArray("??") << QStringLiteral("??") << 2;
    QTest::newRow("lone high surrogate") << QString(high) << QByteArray("?") << QStringLiteral("?") << 1;
    QTest::newRow("high surrogate at the end")
        << (QStringLiteral("a") + high) << QByteArray("a?") << QStringLiteral("a?") << 1;
    QTest::newRow("lone low surrogate") << QString(low) << QByteArray("?") << QStringLiteral("?") << 1;
    QTest::newRow("low surrogate before high")
        << (QString(low) + high) << QByteArray("??") << QStringLiteral("??") << 2;
    QTest::newRow("question mark itself") << QStringLiteral("?") << QByteArray("?") << QStringLiteral("?") << 0;
    QTest::newRow("mixed with code page letters")
        << QStringLiteral("Ё€😀№") << QByteArray("\xA8\x88?\xB9") << QStringLiteral("Ё€?№") << 1;
}

void Cp1251Test::unrepresentableWrittenAsQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readsBack);
    QFETCH(int, replaced);

    QCOMPARE(Cp1251::encode(text), bytes);
    QCOMPARE(Cp1251::representable(text), readsBack);

    QByteArray out("x");
    QCOMPARE(Cp1251::encodeAppend(text, out), qsizetype(replaced));
    QCOMPARE(out, QByteArray("x") + bytes);
}

void Cp1251Test::isRepresentable_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<bool>("representable");

    QTest::newRow("NUL") << 0x0000 << true;
    QTest::newRow("z") << 0x007A << true;
    QTest::newRow("U+0098") << 0x0098 << true;
    QTest::newRow("no-break space") << 0x00A0 << true;
    QTest::newRow("Ё") << 0x0401 << true;
    QTest::newRow("я") << 0x044F << true;
    QTest::newRow("€") << 0x20AC << true;
    QTest::newRow("№") << 0x2116 << true;
    QTest::newRow("™") << 0x2122 << true;
    QTest::newRow("U+0080") << 0x0080 << false;
    QTest::newRow("U+0081") << 0x0081 << false;
    QTest::newRow("¡") << 0x00A1 << false;
    QTest::newRow("Ā") << 0x0100 << false;
    QTest::newRow("Greek alpha") << 0x03B1 << false;
    QTest::newRow("high surrogate") << 0xD83D << false;
    QTest::newRow("U+FFFF") << 0xFFFF << false;
}

void Cp1251Test::isRepresentable()
{
    QFETCH(int, unit);
    QFETCH(bool, representable);
    QCOMPARE(Cp1251::isRepresentable(QChar(char16_t(unit))), representable);
}

QTEST_MAIN(Cp1251Test)
#include "tst_Cp1251.moc"
