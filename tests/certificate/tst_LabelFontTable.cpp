#include "Files.h"
#include "TestPlatform.h"
#include "certificate/LabelFontTable.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

class LabelFontTableTest : public QObject
{
    Q_OBJECT

    TestPlatform m_test;

    QString path() const { return QDir(m_test.folder()).filePath(QStringLiteral("Shrift")); }
    void writeFile(const QByteArray &bytes) const { QVERIFY(::writeFile(path(), bytes)); }
    QByteArray readFile() const { return ::readFile(path()); }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QFile::remove(path());
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // What the font dialog set is written in the file's text forms and reads back the same.
    void roundTrip()
    {
        LabelFontTable table;
        table.resetColours();
        for (int i = 0; i < LabelFontTable::kLabels; ++i)
            table.setFont(i, QStringLiteral("Шрифт %1").arg(i), i % 2 == 0, i % 3 == 0, 6.0f + float(i) / 4);
        table.setChoice(5, {QStringLiteral("Epson1"), false, true, 9.75, QColor(0x11, 0x22, 0x33)});
        QVERIFY(table.write(path()));

        const QByteArray bytes = readFile();
        QCOMPARE(bytes.count("\r\n"), 220);
        QVERIFY(!bytes.contains("\r\n\r\n\r\n"));
        // Entry 5 byte for byte: a comma under Russian settings, the colour as 0x00BBGGRR.
        QVERIFY(bytes.contains("\r\nEpson1\r\nFalse\r\nTrue\r\n9,75\r\n3351057\r\n"));
        QVERIFY(bytes.startsWith(cp1251(QStringLiteral("Шрифт 0\r\nTrue\r\nTrue\r\n6\r\n-2147483630\r\n"))));

        LabelFontTable back;
        back.read(path());
        for (int i = 0; i < LabelFontTable::kLabels; ++i) {
            const LabelFontSettings a = table.settingsOf(i), b = back.settingsOf(i);
            QCOMPARE(b.face, a.face);
            QCOMPARE(b.bold, a.bold);
            QCOMPARE(b.italic, a.italic);
            QCOMPARE(b.size, a.size);
        }
        // Read back, the fields are text, and a second write gives the same bytes.
        QVERIFY(back.write(path()));
        QCOMPARE(readFile(), bytes);
    }

    // A short file fills what it holds; every later field keeps what it had.
    void shortFileKeepsTheRest()
    {
        LabelFontTable table;
        table.setFont(1, QStringLiteral("Arial"), false, false, 12);
        table.setFont(2, QStringLiteral("Arial"), true, true, 14);
        writeFile("Epson1\r\nFalse\r\nFalse\r\n9,75\r\n0\r\nCourier\r\nTrue");
        table.read(path());
        QCOMPARE(table.settingsOf(0).face, QStringLiteral("Epson1"));
        QCOMPARE(table.settingsOf(0).size, 9.75f);
        QCOMPARE(table.settingsOf(1).face, QStringLiteral("Courier"));
        QCOMPARE(table.settingsOf(1).bold, true);
        QCOMPARE(table.settingsOf(1).italic, false); // not in the file: kept
        QCOMPARE(table.settingsOf(1).size, 12.0f);
        QCOMPARE(table.settingsOf(2).face, QStringLiteral("Arial"));
        QCOMPARE(table.settingsOf(2).size, 14.0f);
    }

    void missingFileChangesNothing()
    {
        LabelFontTable table;
        table.setFont(0, QStringLiteral("Arial"), true, false, 11);
        table.read(path());
        QCOMPARE(table.settingsOf(0).face, QStringLiteral("Arial"));
        // An untouched table writes empty lines, the colours as the print window set them.
        LabelFontTable empty;
        empty.resetColours();
        QVERIFY(empty.write(path()));
        QCOMPARE(readFile(), QByteArray("\r\n\r\n\r\n\r\n-2147483630\r\n").repeated(44));
    }

    // What a line of the file gives its label; a line that cannot be read skips that setting.
    void fieldsAsRead_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("bold");   // -1: skipped
        QTest::addColumn<int>("italic"); // -1: skipped
        QTest::addColumn<float>("size"); // 0: skipped
        QTest::newRow("any case, blanks around")
            << QByteArray("Arial\r\nTRUE\r\n false \r\n 12,5 \r\n") << "Arial" << 1 << 0 << 12.5f;
        QTest::newRow("decimal point under Russian settings")
            << QByteArray("Arial\r\nFalse\r\nFalse\r\n9.75\r\n") << "Arial" << 0 << 0 << 0.0f;
        QTest::newRow("garbage") << QByteArray("\r\nyes\r\n1\r\nbig\r\n") << "" << -1 << -1 << 0.0f;
        QTest::newRow("lone LF line ends") << QByteArray("Arial\nTrue\nTrue\n8\n") << "Arial" << 1 << 1 << 8.0f;
        QTest::newRow("group separator") << QByteArray("Arial\r\nTrue\r\nTrue\r\n1 000\r\n") << "Arial" << 1 << 1
                                         << 0.0f;
    }
    void fieldsAsRead()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, face);
        QFETCH(int, bold);
        QFETCH(int, italic);
        QFETCH(float, size);
        writeFile(lines);
        LabelFontTable table;
        table.read(path());
        const LabelFontSettings s = table.settingsOf(0);
        QCOMPARE(s.face.value_or(QString()), face);
        QCOMPARE(s.bold ? int(*s.bold) : -1, bold);
        QCOMPARE(s.italic ? int(*s.italic) : -1, italic);
        QCOMPARE(s.size.value_or(0.0f), size);
    }

    void builtInFonts()
    {
        LabelFontTable table;
        table.resetColours();
        table.resetToBuiltIn();
        const auto check = [&](int label, const char *face, float size, bool bold) {
            const LabelFontSettings s = table.settingsOf(label);
            QCOMPARE(s.face, QString::fromLatin1(face));
            QCOMPARE(s.size, size);
            QCOMPARE(s.bold, bold);
            QCOMPARE(s.italic, false);
        };
        check(0, "Epson1", 10, false);
        for (const int label : {31, 32, 33})
            check(label, "Epson1", 6, false);
        check(34, "Epson1", 8, false);
        check(36, "PTS_Number_1", 13, true);
        check(37, "PTS_Number_1", 13, true);
        check(38, "Arial", 12, true);
        check(43, "Epson1", 10, false);
        // Sizes are held as text, as if read from the file; colours stay.
        QCOMPARE(table[31].size.typeId(), QMetaType::QString);
        QCOMPARE(table[31].colour.toInt(), LabelFontTable::kButtonTextColour);
    }
};

QTEST_GUILESS_MAIN(LabelFontTableTest)
#include "tst_LabelFontTable.moc"
