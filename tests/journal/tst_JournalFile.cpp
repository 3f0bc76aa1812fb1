#include "FileSizeLimit.h"
#include "TestPlatform.h"

#include "journal/Journal.h"
#include "journal/JournalFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

// Loading the journal file into the record table, creating a missing one and saving it back.
class JournalFileTest : public QObject
{
    Q_OBJECT

private slots:
    // Load
    void missingJournalIsCreated();
    void emptyJournalEndsProgram();
    void badLineEndsProgram_data();
    void badLineEndsProgram();
    void unreadableJournalEndsProgram();
    void lineEnds_data();
    void lineEnds();
    void loneBreakInsideField_data();
    void loneBreakInsideField();
    void oversizedJournalRefused_data();
    void oversizedJournalRefused();
    void separatorsBeyondTheLastFieldIgnored();
    void idsRenumbered();
    void overflowKeepsFirst20000Records();
    void spacesTrimmed_data();
    void spacesTrimmed();
    void longLineLoadsIntact_data();
    void longLineLoadsIntact();

    // Save
    void saveWritesRecordsOneToCount();
    void saveCleansFields_data();
    void saveCleansFields();
    void everyByteValueSurvivesLoadAndSave();
    void saveAndLoadGiveTheSameTable();
    void failedSaveKeepsPreviousFile_data();
    void failedSaveKeepsPreviousFile();
    void failedCreateEndsProgram();
};

namespace {

QString iconName(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::None:
        return QStringLiteral("no icon");
    case Dialogs::Icon::Critical:
        return QStringLiteral("critical");
    case Dialogs::Icon::Question:
        return QStringLiteral("question");
    case Dialogs::Icon::Exclamation:
        return QStringLiteral("exclamation");
    case Dialogs::Icon::Information:
        return QStringLiteral("information");
    }
    return QStringLiteral("?");
}

// A message as the operator sees it, "caption | icon | text", for one comparison of all three;
// every journal message has a single OK button.
QString shown(const QString &text, const QString &caption, Dialogs::Icon icon)
{
    return caption + QStringLiteral(" | ") + iconName(icon) + QStringLiteral(" | ") + text;
}

QStringList shown(const ScriptedDialogs &dialogs)
{
    QStringList list;
    for (const Dialogs::Message &m : dialogs.messages) {
        QString line = shown(m.text, m.caption, m.icon);
        if (m.buttons != Dialogs::Buttons::Ok)
            line += QStringLiteral(" (not a single OK button)");
        list << line;
    }
    return list;
}

QString emptyFileMessage(const QString &path)
{
    return shown(QStringLiteral("ФАЙЛ БАЗЫ   ") + path + QStringLiteral("   ПУСТОЙ!"),
                 QStringLiteral("Ошибка загрузки"), Dialogs::Icon::Critical);
}

QString badLineMessage(int line, const QString &path)
{
    return shown(QStringLiteral("Строка № ") + QString::number(line) + QStringLiteral("   файла ") + path
                     + QStringLiteral("  Содержит ошибку!"),
                 QStringLiteral("Ошибка формата файла"), Dialogs::Icon::Critical);
}

QString overflowMessage()
{
    return shown(QStringLiteral("Кол-во записей в справочнике > 20000. Все что больше 20000 будет удалено "),
                 QStringLiteral("Переполнение базы"), Dialogs::Icon::Critical);
}

QString generalFailureMessage(int number)
{
    return shown(QStringLiteral("Ошибка при открытии файла базы данных ") + QString::number(number),
                 QStringLiteral("Trelvax"), Dialogs::Icon::None);
}

QString saveFailureMessage()
{
    return shown(QStringLiteral("Ошибка сохранения"), QStringLiteral("Trelvax"), Dialogs::Icon::None);
}

// The general load failure for a cause other than the file's content: its number is not 0.
bool isNumberedGeneralFailure(const Dialogs::Message &m)
{
    static const QRegularExpression text(QStringLiteral("^Ошибка при открытии файла базы данных [1-9][0-9]*$"));
    return text.match(m.text).hasMatch() && m.caption == QStringLiteral("Trelvax") && m.icon == Dialogs::Icon::None
        && m.buttons == Dialogs::Buttons::Ok;
}

// Ends the program the way a test can watch: the code, and how many messages had been shown
// by then (a message asked for after the end would never appear).
class WatchedExit final : public ProgramExit
{
public:
    explicit WatchedExit(const ScriptedDialogs &dialogs) : m_dialogs(dialogs) {}
    std::optional<int> code;
    qsizetype messagesShown = -1;
    void end(int exitCode) override
    {
        if (code)
            return;
        code = exitCode;
        messagesShown = m_dialogs.messages.size();
    }

private:
    const ScriptedDialogs &m_dialogs;
};

// Runs the load of the test's program folder.
bool load(TestPlatform &tp, Journal &journal, WatchedExit &exit)
{
    return OPFILE1(journal, tp.folder(), tp.dialogs, exit);
}

QString nativeJournalPath(const TestPlatform &tp)
{
    return QDir::toNativeSeparators(tp.journalPath());
}

// A line of raw bytes: the given fields, empty ones up to `separators`, each followed by "|".
QByteArray rawLine(const QList<QByteArray> &fields, int separators = 200, const QByteArray &end = "\r\n")
{
    QByteArray line;
    for (int f = 0; f < separators; ++f) {
        if (f < fields.size())
            line += fields.at(f);
        line += '|';
    }
    return line + end;
}

// A line of 200 fields, empty but for the given ones (field number to bytes).
QByteArray lineOf(const QMap<int, QByteArray> &fields)
{
    QList<QByteArray> list(200);
    for (auto it = fields.begin(); it != fields.end(); ++it)
        list[it.key() - 1] = it.value();
    return rawLine(list);
}

// `count` well-formed lines; line i has the ID i and the field 2 "R<i>".
QByteArray numberedLines(int count)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(count) * 212);
    for (int i = 1; i <= count; ++i)
        bytes += rawLine({QByteArray::number(i), "R" + QByteArray::number(i)});
    return bytes;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

// ---- Load ---------------------------------------------------------------------------------

void JournalFileTest::missingJournalIsCreated()
{
    TestPlatform tp;
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(tp.readJournal(), QByteArray("1") + QByteArray(200, '|') + "\r\n");
    QCOMPARE(shown(tp.dialogs), QStringList());
    QVERIFY(!exit.code);
    QCOMPARE(journal.JournalPath, nativeJournalPath(tp));
    QCOMPARE(journal.RecordCount, 1);
    QCOMPARE(journal.table.text(1, 1), QStringLiteral("1"));
    for (int f = 2; f <= RecordTable::kLastField; ++f)
        QVERIFY2(journal.table.field(1, f).isEmpty(), qPrintable(QString::number(f)));
}

void JournalFileTest::emptyJournalEndsProgram()
{
    TestPlatform tp;
    tp.writeJournal(QByteArray());
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(!load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList({emptyFileMessage(nativeJournalPath(tp)), generalFailureMessage(0)}));
    QVERIFY(exit.code);
    QCOMPARE(exit.messagesShown, 2);
    QVERIFY(QFileInfo::exists(tp.journalPath()));
    QCOMPARE(tp.readJournal(), QByteArray());
}

void JournalFileTest::badLineEndsProgram_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");

    const QByteArray good = rawLine({"1", "A"});
    const QByteArray goodLf = rawLine({"1", "A"}, 200, "\n");

    QTest::newRow("blank first line") << ("\r\n" + good) << 1;
    QTest::newRow("blank line in the middle") << (good + good + "\r\n" + good) << 3;
    QTest::newRow("blank last line") << (good + "\r\n") << 2;
    QTest::newRow("blank last line after LF") << (goodLf + "\n") << 2;
    QTest::newRow("lone CR after the last line") << (good + "\r") << 2;
    QTest::newRow("LF then CR") << (rawLine({"1"}, 200, "\n\r") + good) << 2;
    QTest::newRow("file of one line break") << QByteArray("\r\n") << 1;
    QTest::newRow("199 separators") << (good + rawLine({"2", "B"}, 199)) << 2;
    // A lone break inside a field is kept only where an older save could have left it.
    QTest::newRow("short line drawn into the next (LF)")
        << (goodLf + rawLine({"2", "B"}, 150, "\n") + goodLf + goodLf) << 2;
    QTest::newRow("short line drawn into the next (CR)")
        << (rawLine({"1"}, 200, "\r") + rawLine({"2"}, 199, "\r") + rawLine({"3"}, 200, "\r")) << 2;
    QTest::newRow("blank line of an LF journal") << (goodLf + "\n" + goodLf) << 2;
    QTest::newRow("short last line of an LF journal") << (goodLf + rawLine({"2"}, 150, "\n")) << 2;
    QTest::newRow("break inside the ID") << (QByteArray("1\n2") + good) << 1;
    QTest::newRow("binary file") << (QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + good) << 1;
    QTest::newRow("bad line beyond the 20000th") << (numberedLines(20002) + "\r\n" + numberedLines(2)) << 20003;
}

// A bad line is reported before any overflow, also beyond the lines the journal can hold.
void JournalFileTest::badLineEndsProgram()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    TestPlatform tp;
    tp.writeJournal(bytes);
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(!load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList({badLineMessage(line, nativeJournalPath(tp)), generalFailureMessage(0)}));
    QVERIFY(exit.code);
    QCOMPARE(exit.messagesShown, 2);
    QCOMPARE(tp.readJournal(), bytes);
}

// A journal that exists but cannot be read (here a folder of that name).
void JournalFileTest::unreadableJournalEndsProgram()
{
    TestPlatform tp;
    QVERIFY(QDir(tp.folder()).mkdir(JournalFile::fileName()));
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(!load(tp, journal, exit));

    QCOMPARE(tp.dialogs.messages.size(), 1);
    QVERIFY2(isNumberedGeneralFailure(tp.dialogs.messages.first()), qPrintable(shown(tp.dialogs).first()));
    QVERIFY(exit.code);
    QCOMPARE(exit.messagesShown, 1);
}

void JournalFileTest::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fields");

    auto line = [](const char *field, const QByteArray &end) { return rawLine({"0", field}, 200, end); };

    QTest::newRow("CR LF") << (line("a", "\r\n") + line("b", "\r\n")) << QStringList({"a", "b"});
    QTest::newRow("LF") << (line("a", "\n") + line("b", "\n")) << QStringList({"a", "b"});
    QTest::newRow("CR") << (line("a", "\r") + line("b", "\r")) << QStringList({"a", "b"});
    QTest::newRow("mixed") << (line("a", "\r") + line("b", "\n") + line("c", "\r\n") + line("d", "\r"))
                           << QStringList({"a", "b", "c", "d"});
    QTest::newRow("no end after the last line") << (line("a", "\r\n") + line("b", "")) << QStringList({"a", "b"});
    QTest::newRow("single line without end") << line("a", "") << QStringList({"a"});
}

void JournalFileTest::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fields);
    TestPlatform tp;
    tp.writeJournal(bytes);
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(journal.RecordCount, fields.size());
    for (int i = 1; i <= fields.size(); ++i) {
        QCOMPARE(journal.table.text(i, 1), QString::number(i));
        QCOMPARE(journal.table.text(i, 2), fields.at(i - 1));
        QCOMPARE(journal.table.text(i, 3), QString());
    }
}

void JournalFileTest::loneBreakInsideField_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QByteArray>("saved");

    const QByteArray second = rawLine({"2", "d"});
    QTest::newRow("lone LF, CR LF journal") << (rawLine({"1", "a\nb", "c"}) + second) << 2 << QStringLiteral("a\nb")
                                            << (rawLine({"1", "ab", "c"}) + second);
    QTest::newRow("lone CR, CR LF journal") << (rawLine({"1", "a", "b\rc"}) + second) << 3 << QStringLiteral("b\rc")
                                            << (rawLine({"1", "a", "bc"}) + second);
    QTest::newRow("lone LF, LF journal") << (rawLine({"1", "a\nb", "c"}, 200, "\n") + rawLine({"2", "d"}, 200, "\n"))
                                         << 2 << QStringLiteral("a\nb") << (rawLine({"1", "ab", "c"}) + second);
    QTest::newRow("lone CR, CR journal") << (rawLine({"1", "a\rb", "c"}, 200, "\r") + rawLine({"2", "d"}, 200, "\r"))
                                         << 2 << QStringLiteral("a\rb") << (rawLine({"1", "ab", "c"}) + second);
    QTest::newRow("breaks in the last field, no end after it")
        << (second + lineOf({{1, "1"}, {200, "\n\nz\r"}}).chopped(2)) << 200 << QStringLiteral("\n\nz\r")
        << (rawLine({"1", "d"}) + lineOf({{1, "2"}, {200, "z"}}));
    QTest::newRow("separators split by a CR")
        << (QByteArray(100, '|') + '\r' + QByteArray(100, '|') + "\r\n" + second) << 101 << QStringLiteral("\r")
        << (QByteArray("1") + QByteArray(200, '|') + "\r\n" + second);
}

// A lone LF or CR inside a field of an older journal belongs to the field; the next save
// removes it. In the record holding it and in the record after it nothing moves.
void JournalFileTest::loneBreakInsideField()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, field);
    QFETCH(QString, loaded);
    QFETCH(QByteArray, saved);
    TestPlatform tp;
    tp.writeJournal(bytes);
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(journal.RecordCount, 2);
    const int withBreak = bytes.startsWith(rawLine({"2", "d"})) ? 2 : 1;
    QCOMPARE(journal.table.text(withBreak, field), loaded);
    QVERIFY(SaveJournal(journal, tp.dialogs));
    QCOMPARE(tp.readJournal(), saved);
}

void JournalFileTest::oversizedJournalRefused_data()
{
    QTest::addColumn<qint64>("size");

    // 20000 records at the longest line the format allows (32766 characters and CR LF).
    QTest::newRow("one byte over the largest journal") << qint64(20000) * 32768 + 1;
    QTest::newRow("5 GB") << (qint64(5) << 30);
}

// A file larger than any journal is refused with the general failure before it is read: read,
// it would end in the format message (its bytes are zeros) or exhaust the memory.
void JournalFileTest::oversizedJournalRefused()
{
    QFETCH(qint64, size);
    TestPlatform tp;
    {
        QFile file(tp.journalPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Sparse: no disk space is used.
        if (!file.resize(size))
            QSKIP("The temporary folder cannot hold a sparse file of this size");
    }
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(!load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList({generalFailureMessage(7)}));
    QVERIFY(exit.code);
    QCOMPARE(QFileInfo(tp.journalPath()).size(), size);
}

void JournalFileTest::separatorsBeyondTheLastFieldIgnored()
{
    QList<QByteArray> fields{"9"};
    for (int f = 2; f <= 200; ++f)
        fields << "f" + QByteArray::number(f);
    const QByteArray stored = rawLine(fields, 200, "") + QByteArray("x|").repeated(50) + "tail\r\n";
    QCOMPARE(stored.count('|'), 250);
    TestPlatform tp;
    tp.writeJournal(stored);
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(journal.RecordCount, 1);
    for (int f = 2; f <= 200; ++f)
        QCOMPARE(journal.table.text(1, f), QStringLiteral("f%1").arg(f));
    for (int f = 201; f <= RecordTable::kLastField; ++f)
        QCOMPARE(journal.table.text(1, f), QString());

    QVERIFY(SaveJournal(journal, tp.dialogs));
    fields[0] = "1";
    QCOMPARE(tp.readJournal(), rawLine(fields));
}

void JournalFileTest::idsRenumbered()
{
    TestPlatform tp;
    tp.writeJournal(rawLine({"7", "a"}) + rawLine({"3", "b"}) + rawLine({"x", "c"}));
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(journal.RecordCount, 3);
    QCOMPARE(journal.table.text(1, 1), QStringLiteral("1"));
    QCOMPARE(journal.table.text(2, 1), QStringLiteral("2"));
    QCOMPARE(journal.table.text(3, 1), QStringLiteral("3"));
    QCOMPARE(journal.table.text(3, 2), QStringLiteral("c"));

    QVERIFY(SaveJournal(journal, tp.dialogs));
    QCOMPARE(tp.readJournal(), rawLine({"1", "a"}) + rawLine({"2", "b"}) + rawLine({"3", "c"}));
}

void JournalFileTest::overflowKeepsFirst20000Records()
{
    TestPlatform tp;
    tp.writeJournal(numberedLines(20005));
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList({overflowMessage()}));
    QVERIFY(!exit.code);
    QCOMPARE(journal.RecordCount, 20000);
    QCOMPARE(journal.table.text(20000, 1), QStringLiteral("20000"));
    QCOMPARE(journal.table.text(20000, 2), QStringLiteral("R20000"));

    QVERIFY(SaveJournal(journal, tp.dialogs));
    QCOMPARE(tp.dialogs.messages.size(), 1);
    const QByteArray saved = tp.readJournal();
    QCOMPARE(saved.count("\r\n"), 20000);
    QVERIFY(saved == numberedLines(20000));
}

void JournalFileTest::spacesTrimmed_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("loaded");

    QTest::newRow("one space each side") << QByteArray(" abc ") << QStringLiteral("abc");
    QTest::newRow("several spaces each side") << QByteArray("   \xCB\xE0\xE4\xE0  ") << QStringLiteral("Лада");
    QTest::newRow("only spaces") << QByteArray("    ") << QString();
    QTest::newRow("spaces across sixteen-byte blocks")
        << (QByteArray(20, ' ') + "a b" + QByteArray(20, ' ')) << QStringLiteral("a b");
    QTest::newRow("inner spaces kept") << QByteArray(" a  b ") << QStringLiteral("a  b");
    QTest::newRow("tabs kept") << QByteArray("\tabc\t") << QStringLiteral("\tabc\t");
    QTest::newRow("spaces outside tabs") << QByteArray(" \t a \t ") << QStringLiteral("\t a \t");
    QTest::newRow("no-break spaces kept") << QByteArray("\xA0"
                                                        "abc"
                                                        "\xA0")
                                          << (QChar(0xA0) + QStringLiteral("abc") + QChar(0xA0));
}

// Leading and trailing U+0020 go, in the first and the last stored field alike, and whichever
// way the line is read: the second line holds a field too long for the one-pass reading of the
// common line.
void JournalFileTest::spacesTrimmed()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, loaded);
    const QByteArray longField(256, 'L');
    TestPlatform tp;
    tp.writeJournal(lineOf({{1, " 1 "}, {2, stored}, {3, "x"}, {200, stored}})
                    + lineOf({{1, "2"}, {2, stored}, {3, "x"}, {199, longField}, {200, stored}}));
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(journal.RecordCount, 2);
    for (int record = 1; record <= 2; ++record) {
        QCOMPARE(journal.table.text(record, 2), loaded);
        QCOMPARE(journal.table.text(record, 3), QStringLiteral("x"));
        QCOMPARE(journal.table.text(record, 200), loaded);
    }
    QCOMPARE(journal.table.text(2, 199), QString::fromLatin1(longField));
}

void JournalFileTest::longLineLoadsIntact_data()
{
    QTest::addColumn<int>("fieldLength");

    QTest::newRow("32767 characters") << 32767;
    QTest::newRow("40000 characters") << 40000;
    QTest::newRow("70000 characters") << 70000;
}

// However long a line, the journal stays loadable and loses nothing.
void JournalFileTest::longLineLoadsIntact()
{
    QFETCH(int, fieldLength);
    QByteArray longField = QByteArray("\xC0\xE1 7").repeated(fieldLength / 4 + 1).left(fieldLength);
    longField.back() = 'Z';
    QString expected = QStringLiteral("Аб 7").repeated(fieldLength / 4 + 1).left(fieldLength);
    expected.back() = QLatin1Char('Z');
    const QByteArray bytes = rawLine({"1", "a", longField, "b"}) + rawLine({"2", "c"});
    QVERIFY(bytes.indexOf("\r\n") > 32766);
    TestPlatform tp;
    tp.writeJournal(bytes);
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));

    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(journal.RecordCount, 2);
    QCOMPARE(journal.table.text(1, 2), QStringLiteral("a"));
    QVERIFY(journal.table.text(1, 3) == expected);
    QCOMPARE(journal.table.text(1, 4), QStringLiteral("b"));
    QCOMPARE(journal.table.text(2, 2), QStringLiteral("c"));

    QVERIFY(SaveJournal(journal, tp.dialogs));
    QVERIFY(tp.readJournal() == bytes);
}

// ---- Save ---------------------------------------------------------------------------------

// Records 1..RecordCount, fields 1..200 each followed by "|", CR LF: nothing else reaches the
// file, neither fields 0 and 201..210 nor a slot above the count.
void JournalFileTest::saveWritesRecordsOneToCount()
{
    TestPlatform tp;
    tp.writeJournal(rawLine({"1", "a"}) + rawLine({"2", "b"}));
    Journal journal;
    WatchedExit exit(tp.dialogs);
    QVERIFY(load(tp, journal, exit));

    RecordTable &table = journal.table;
    table.setField(1, 0, QStringLiteral("zero"));
    table.setField(1, 2, QStringLiteral("Б2"));
    table.setField(1, 200, QStringLiteral("last"));
    table.setField(1, 201, QStringLiteral("x201"));
    table.setField(1, 210, QStringLiteral("x210"));
    table.setField(3, 1, QStringLiteral("3"));
    table.setField(3, 2, QStringLiteral("left by a delete"));

    QVERIFY(SaveJournal(journal, tp.dialogs));

    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(tp.readJournal(),
             lineOf({{1, "1"},
                     {2,
                      "\xC1"
                      "2"},
                     {200, "last"}})
                 + rawLine({"2", "b"}));
    QCOMPARE(table.text(1, 201), QStringLiteral("x201"));
}

void JournalFileTest::saveCleansFields_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("inTable");
    QTest::addColumn<QByteArray>("onDisk");

    QTest::newRow("CR LF") << 2 << QStringLiteral("А\r\nБ") << QStringLiteral("АБ") << QByteArray("\xC0\xC1");
    QTest::newRow("lone CR") << 5 << QStringLiteral("a\rb") << QStringLiteral("ab") << QByteArray("ab");
    QTest::newRow("lone LF") << 5 << QStringLiteral("a\nb") << QStringLiteral("ab") << QByteArray("ab");
    QTest::newRow("CR at the end of the last field")
        << 200 << QStringLiteral("ab\r") << QStringLiteral("ab") << QByteArray("ab");
    QTest::newRow("LF CR") << 5 << QStringLiteral("a\n\rb") << QStringLiteral("ab") << QByteArray("ab");
    QTest::newRow("CR CR LF") << 5 << QStringLiteral("a\r\r\nb") << QStringLiteral("ab") << QByteArray("ab");
    QTest::newRow("only line breaks") << 5 << QStringLiteral("\r\n\n\r") << QString() << QByteArray();
    QTest::newRow("separator") << 2 << QStringLiteral("a|b") << QStringLiteral("a¦b")
                               << QByteArray("a\xA6"
                                             "b");
    QTest::newRow("separators and line breaks")
        << 200 << QStringLiteral("|\r\n|") << QStringLiteral("¦¦") << QByteArray("\xA6\xA6");
    QTest::newRow("broken bar kept") << 5 << QStringLiteral("¦") << QStringLiteral("¦") << QByteArray("\xA6");
    QTest::newRow("letter outside the code page")
        << 5 << QStringLiteral("Škoda") << QStringLiteral("?koda") << QByteArray("?koda");
    QTest::newRow("emoji") << 5 << QStringLiteral("a😀b") << QStringLiteral("a?b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << 5 << (QChar(0xD83D) + QStringLiteral("x")) << QStringLiteral("?x")
                                    << QByteArray("?x");
    QTest::newRow("code page letters kept") << 5 << QStringLiteral("Синяя №5 €Ёё") << QStringLiteral("Синяя №5 €Ёё")
                                            << QByteArray("\xD1\xE8\xED\xFF\xFF \xB9"
                                                          "5 \x88\xA8\xB8");
    QTest::newRow("U+0098 kept") << 5 << QString(QChar(0x98)) << QString(QChar(0x98)) << QByteArray("\x98");
    QTest::newRow("tab and no-break space kept")
        << 5 << (QStringLiteral("\ta") + QChar(0xA0)) << (QStringLiteral("\ta") + QChar(0xA0)) << QByteArray("\ta\xA0");
    QTest::newRow("spaces kept") << 5 << QStringLiteral(" a ") << QStringLiteral(" a ") << QByteArray(" a ");
}

// What the save writes the table holds afterwards, so that the next load gives back the table.
void JournalFileTest::saveCleansFields()
{
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, inTable);
    QFETCH(QByteArray, onDisk);
    TestPlatform tp;
    tp.writeJournal(rawLine({"1", "keep"}) + rawLine({"2", "x", "y"}));
    Journal journal;
    WatchedExit exit(tp.dialogs);
    QVERIFY(load(tp, journal, exit));
    journal.table.setField(2, field, value);
    // What a backup writes from the same table, before the save has cleaned it.
    const QByteArray encoded = JournalFile::encodeRecords(journal.table, journal.RecordCount);

    QVERIFY(SaveJournal(journal, tp.dialogs));
    QCOMPARE(tp.readJournal(), encoded);

    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(journal.table.text(2, field), inTable);
    QMap<int, QByteArray> second{{1, "2"}, {2, "x"}, {3, "y"}};
    second[field] = onDisk;
    QCOMPARE(tp.readJournal(), rawLine({"1", "keep"}) + lineOf(second));
}

// Every byte but the separator, CR and LF can stand in a field and is saved back unchanged.
void JournalFileTest::everyByteValueSurvivesLoadAndSave()
{
    QByteArray field;
    for (int b = 0; b < 256; ++b) {
        if (b != '\n' && b != '\r' && b != '|')
            field += char(b);
    }
    const QByteArray bytes = rawLine({"1", field, "x"});
    TestPlatform tp;
    tp.writeJournal(bytes);
    Journal journal;
    WatchedExit exit(tp.dialogs);

    QVERIFY(load(tp, journal, exit));
    QCOMPARE(journal.table.field(1, 2).size(), field.size());
    QVERIFY(journal.table.field(1, 2).contains(QChar(0x98)));
    QVERIFY(SaveJournal(journal, tp.dialogs));

    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(tp.readJournal(), bytes);
}

void JournalFileTest::saveAndLoadGiveTheSameTable()
{
    // Characters a field can hold, in fields without edge spaces.
    const QString alphabet = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"
                                            "ABCXYZabcxyz0123456789 -./,;:\"'()№€«»—–¦\t")
        + QChar(0xA0) + QChar(0x98);

    constexpr int records = 50;
    QList<QStringList> expected;
    QRandomGenerator random(1251);
    for (int i = 1; i <= records; ++i) {
        QStringList fields{QString::number(i)};
        for (int f = 2; f <= 200; ++f) {
            QString value;
            const int length = int(random.bounded(13));
            for (int c = 0; c < length; ++c)
                value += alphabet.at(random.bounded(alphabet.size()));
            if (value.startsWith(QLatin1Char(' ')))
                value[0] = QLatin1Char('x');
            if (value.endsWith(QLatin1Char(' ')))
                value.back() = QLatin1Char('x');
            fields << value;
        }
        expected << fields;
    }

    TestPlatform tp;
    Journal journal;
    WatchedExit exit(tp.dialogs);
    QVERIFY(load(tp, journal, exit));
    for (int i = 1; i <= records; ++i) {
        for (int f = 1; f <= 200; ++f)
            journal.table.setField(i, f, expected[i - 1][f - 1]);
    }
    journal.RecordCount = records;
    QVERIFY(SaveJournal(journal, tp.dialogs));
    const QByteArray saved = tp.readJournal();

    Journal reloaded;
    QVERIFY(load(tp, reloaded, exit));
    QCOMPARE(shown(tp.dialogs), QStringList());
    QCOMPARE(reloaded.RecordCount, records);
    for (int i = 1; i <= records; ++i) {
        for (int f = 1; f <= 200; ++f) {
            if (reloaded.table.text(i, f) != expected[i - 1][f - 1]) {
                QFAIL(qPrintable(QStringLiteral("record %1 field %2: \"%3\" loaded as \"%4\"")
                                     .arg(i)
                                     .arg(f)
                                     .arg(expected[i - 1][f - 1], reloaded.table.text(i, f))));
            }
        }
    }

    QVERIFY(SaveJournal(reloaded, tp.dialogs));
    QVERIFY(tp.readJournal() == saved);
}

void JournalFileTest::failedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("fieldLength");

    QTest::newRow("small journal") << 1024 << 2000;
    QTest::newRow("just over the limit") << 64 * 1024 << 64 * 1024;
    QTest::newRow("far over the limit") << 64 * 1024 << 200000;
}

// A write that fails part-way, as on a full disk, leaves the previous journal byte for byte
// and no temporary file beside it.
void JournalFileTest::failedSaveKeepsPreviousFile()
{
    QFETCH(int, limit);
    QFETCH(int, fieldLength);
    const QByteArray previous = rawLine({"1", "old"}) + rawLine({"2", "data"});
    TestPlatform tp;
    tp.writeJournal(previous);
    Journal journal;
    WatchedExit exit(tp.dialogs);
    QVERIFY(load(tp, journal, exit));
    journal.table.setField(1, 2, QString(fieldLength, QLatin1Char('N')));

    bool saved = true;
    {
        FileSizeLimit fileSizeLimit{rlim_t(limit)};
        QVERIFY(fileSizeLimit.isActive());
        saved = SaveJournal(journal, tp.dialogs);
    }

    QVERIFY(!saved);
    QCOMPARE(shown(tp.dialogs), QStringList({saveFailureMessage()}));
    QCOMPARE(tp.readJournal(), previous);
    QCOMPARE(filesIn(tp.folder()), QStringList({JournalFile::fileName()}));

    // The limit was the only obstacle.
    QVERIFY(SaveJournal(journal, tp.dialogs));
    QCOMPARE(tp.readJournal(), rawLine({"1", QByteArray(fieldLength, 'N')}) + rawLine({"2", "data"}));
}

// A missing journal that cannot be written: the save failure, then the general failure.
void JournalFileTest::failedCreateEndsProgram()
{
    TestPlatform tp;
    Journal journal;
    WatchedExit exit(tp.dialogs);

    bool loaded = true;
    {
        FileSizeLimit limit(100);
        QVERIFY(limit.isActive());
        loaded = load(tp, journal, exit);
    }

    QVERIFY(!loaded);
    QCOMPARE(tp.dialogs.messages.size(), 2);
    QCOMPARE(shown(tp.dialogs).first(), saveFailureMessage());
    QVERIFY2(isNumberedGeneralFailure(tp.dialogs.messages.last()), qPrintable(shown(tp.dialogs).last()));
    QVERIFY(exit.code);
    QCOMPARE(exit.messagesShown, 2);
    QCOMPARE(filesIn(tp.folder()), QStringList());

    // The limit was the only obstacle.
    Journal again;
    WatchedExit secondExit(tp.dialogs);
    QVERIFY(load(tp, again, secondExit));
    QCOMPARE(tp.readJournal(), QByteArray("1") + QByteArray(200, '|') + "\r\n");
}

QTEST_MAIN(JournalFileTest)
#include "tst_JournalFile.moc"
