#include "FileSizeLimit.h"
#include "Files.h"
#include "JournalSession.h"

#include "journal/JournalBackup.h"
#include "journal/JournalFile.h"
#include "journal/JournalGridModel.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/resource.h>

namespace {

struct Shown
{
    QString text;
    QString caption;
    Dialogs::Icon icon;
    friend bool operator==(const Shown &, const Shown &) = default;
};

QList<Shown> shown(const ScriptedDialogs &dialogs)
{
    QList<Shown> list;
    for (const Dialogs::Message &m : dialogs.messages)
        list.append({m.text, m.caption, m.icon});
    return list;
}

QByteArray journalOf(int count, const QString &prefix = QStringLiteral("VIN"))
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += journalLine({QString::number(i), QStringLiteral("А%1ВС77").arg(i), prefix + QString::number(i)});
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Shown)
Q_DECLARE_METATYPE(Dialogs::Answer)

class JournalBackupTest : public QObject
{
    Q_OBJECT

    using Session = JournalSession;

    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }

private Q_SLOTS:
    void suggestedName_data();
    void suggestedName();
    void backupWritesWhatTheSaveWrites();
    void backupThatCannotBeWrittenIsReported();
    void backupCancelledDoesNothing();
    void restoredBackupComesBackOnTheNextStart();
    void restoreRefused_data();
    void restoreRefused();
    void restoreFailingPartWayKeepsTheJournal();
};

void JournalBackupTest::suggestedName_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("name");
    QTest::newRow("afternoon") << QDateTime(QDate(2025, 12, 8), QTime(14, 5))
                               << QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0");
    QTest::newRow("morning, seconds dropped")
        << QDateTime(QDate(2026, 1, 2), QTime(9, 7, 59)) << QStringLiteral("02.01.2026 09ч07мин Trelvax_1.0");
}

void JournalBackupTest::suggestedName()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, name);
    QCOMPARE(JournalBackup::suggestedName(now), name);
}

// The backup is the journal as the save would write it from the same table, line breaks and
// separators cleaned, and the table itself is left as it was.
void JournalBackupTest::backupWritesWhatTheSaveWrites()
{
    TestPlatform t;
    t.writeJournal(journalOf(3));
    Session s(t);
    s.journal->table.setField(2, 4, QStringLiteral("ВАЗ|2107\r\nуниверсал"));
    s.journal->table.setField(3, 200, QStringLiteral("Škoda"));
    const QString stick = QDir(t.folder()).filePath(QStringLiteral("флешка"));
    QVERIFY(QDir().mkpath(stick));
    const QString backup = QDir(stick).filePath(QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0"));
    t.dialogs.paths = {backup, QString(), QString()};

    s.menu("Menu_Tuns_RCopy");
    // The next backup dialog opens where this backup went, whatever folder a restore dialog
    // opened in meanwhile.
    s.menu("Menu_Tuns_Vost");
    s.menu("Menu_Tuns_RCopy");

    QCOMPARE(t.dialogs.fileRequests.size(), 3);
    const Dialogs::FileRequest &request = t.dialogs.fileRequests.first();
    QCOMPARE(request.filter, QStringLiteral("Файлы (*.spb)|*.spb|Все файлы(*.*)|*.*|"));
    QCOMPARE(request.suggestedName, QStringLiteral("08.12.2025 14ч05мин Trelvax_1.0"));
    QCOMPARE(request.defaultPattern, QStringLiteral("*.spb"));
    QCOMPARE(request.startFolder, t.folder());
    QCOMPARE(t.dialogs.fileRequests[2].startFolder, stick);
    QVERIFY(t.dialogs.messages.isEmpty());
    QCOMPARE(s.journal->table.text(2, 4), QStringLiteral("ВАЗ|2107\r\nуниверсал"));
    QCOMPARE(t.readJournal(), journalOf(3));

    QVERIFY(SaveJournal(*s.journal, t.dialogs));
    QCOMPARE(readFile(backup), t.readJournal());
    QVERIFY(readFile(backup).contains(cp1251(QStringLiteral("ВАЗ¦2107универсал|"))));
}

void JournalBackupTest::backupThatCannotBeWrittenIsReported()
{
    TestPlatform t;
    t.writeJournal(journalOf(2));
    Session s(t);
    const QString backup = QDir(t.folder()).filePath(QStringLiteral("нет такой папки/копия.spb"));
    t.dialogs.paths.push_back(backup);

    s.menu("Menu_Tuns_RCopy");

    QCOMPARE(shown(t.dialogs),
             (QList<Shown>{{QStringLiteral("Резервная копия не создана: не удалось записать файл ") + native(backup)
                                + QStringLiteral(". Выберите другую папку или другое имя файла."),
                            QStringLiteral("Ошибка копирования"), Dialogs::Icon::Critical}}));
    QVERIFY(!QFile::exists(backup));
    QVERIFY(!t.exit.code);
}

void JournalBackupTest::backupCancelledDoesNothing()
{
    TestPlatform t;
    t.writeJournal(journalOf(2));
    Session s(t);
    s.menu("Menu_Tuns_RCopy");
    QCOMPARE(t.dialogs.fileRequests.size(), 1);
    QVERIFY(t.dialogs.messages.isEmpty());
    QCOMPARE(QDir(t.folder()).entryList(QDir::Files), QStringList{JournalFile::fileName()});
}

void JournalBackupTest::restoredBackupComesBackOnTheNextStart()
{
    TestPlatform t;
    t.writeJournal(journalOf(3));
    const QString backup = QDir(t.folder()).filePath(QStringLiteral("копия.spb"));
    {
        Session s(t);
        t.dialogs.paths.push_back(backup);
        s.menu("Menu_Tuns_RCopy");
        QCOMPARE(readFile(backup), journalOf(3));

        // The journal moves on after the backup, then the operator goes back to it.
        t.writeJournal(journalOf(5, QStringLiteral("NEW")));
        t.dialogs.paths.push_back(backup);
        t.dialogs.answers.push_back(Dialogs::Answer::Yes);
        s.menu("Menu_Tuns_Vost");

        QCOMPARE(t.dialogs.fileRequests.size(), 2);
        QCOMPARE(t.dialogs.fileRequests.last().filter, QStringLiteral("Файлы (*.spb)|*.spb|Все файлы(*.*)|*.*|"));
        QCOMPARE(t.dialogs.fileRequests.last().defaultPattern, QString());
        QCOMPARE(t.dialogs.messages.size(), 2);
        const Dialogs::Message &ask = t.dialogs.messages.first();
        QCOMPARE(ask.text,
                 QStringLiteral("Вы действительно хотите безвозвратно заменить файл текущей базы файлом ")
                     + native(backup) + QStringLiteral(" ?"));
        QCOMPARE(ask.caption, QStringLiteral("Подтвердите операцию"));
        QCOMPARE(ask.icon, Dialogs::Icon::Question);
        QCOMPARE(ask.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(ask.defaultButton, Dialogs::Answer::No);
        QCOMPARE(shown(t.dialogs).last(),
                 (Shown{QStringLiteral("Сейчас программа закроется, запустите её заново"),
                        QStringLiteral("Востановление произошло успешно"), Dialogs::Icon::Information}));
        QCOMPARE(t.exit.code, std::optional<int>(0));
        QCOMPARE(t.readJournal(), journalOf(3));
        // The program ends without its closing steps: nothing of this run is stored.
        s.form.close();
        QVERIFY(!QFile::exists(t.settingsPath()));
    }
    QCOMPARE(QDir(t.folder()).entryList(QDir::Files),
             (QStringList{JournalFile::fileName(), QStringLiteral("копия.spb")}));

    Session next(t);
    QVERIFY(next.form.isLoaded());
    QCOMPARE(next.journal->RecordCount, 3);
    const JournalGridModel *model = next.form.gridModel();
    QCOMPARE(model->data(model->index(2, 1), Qt::DisplayRole).toString(), QStringLiteral("VIN3"));
}

void JournalBackupTest::restoreRefused_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    // The messages, with "%1" for the chosen file's path.
    QTest::addColumn<QList<Shown>>("messages");

    const auto badLine = [](int line) {
        return Shown{QStringLiteral("Строка № %1   файла %2  Содержит ошибку!").arg(line).arg(QStringLiteral("%1")),
                     QStringLiteral("Ошибка формата файла"), Dialogs::Icon::Critical};
    };
    QByteArray shortThird = journalOf(2);
    shortThird += QByteArray(150, '|') + "\r\n" + journalOf(1);
    QTest::newRow("line 3 with 150 separators")
        << true << shortThird << QList<Dialogs::Answer>{} << QList<Shown>{badLine(3)};
    QTest::newRow("blank last line, which the load refuses") << true << journalOf(4) + "\r\n"
                                                             << QList<Dialogs::Answer>{} << QList<Shown>{badLine(5)};
    QTest::newRow("empty file") << true << QByteArray() << QList<Dialogs::Answer>{}
                                << QList<Shown>{{QStringLiteral("ФАЙЛ БАЗЫ   %1   ПУСТОЙ!"),
                                                 QStringLiteral("Ошибка загрузки"), Dialogs::Icon::Critical}};
    QTest::newRow("file not found") << false << QByteArray() << QList<Dialogs::Answer>{}
                                    << QList<Shown>{{QStringLiteral("файл не найден!"),
                                                     QStringLiteral("Ошибка копирования"), Dialogs::Icon::Exclamation}};
    QTest::newRow("answered No")
        << true << journalOf(7) << QList<Dialogs::Answer>{Dialogs::Answer::No}
        << QList<Shown>{{QStringLiteral("Вы действительно хотите безвозвратно заменить файл текущей базы файлом %1 ?"),
                         QStringLiteral("Подтвердите операцию"), Dialogs::Icon::Question}};
}

// A refused or declined restore leaves the journal file as it was and the program running.
void JournalBackupTest::restoreRefused()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(QList<Shown>, messages);
    TestPlatform t;
    t.writeJournal(journalOf(2));
    const QString chosen = QDir(t.folder()).filePath(QStringLiteral("копия 1.spb"));
    if (exists)
        QVERIFY(writeFile(chosen, content));
    Session s(t);
    t.dialogs.paths.push_back(chosen);
    t.dialogs.answers.assign(answers.begin(), answers.end());

    s.menu("Menu_Tuns_Vost");

    for (Shown &m : messages)
        m.text = m.text.arg(native(chosen));
    QCOMPARE(shown(t.dialogs), messages);
    QCOMPARE(t.readJournal(), journalOf(2));
    QVERIFY(!t.exit.code);
    QCOMPARE(s.journal->RecordCount, 2);
    // The program goes on: closing it still stores its settings.
    s.form.close();
    QVERIFY(QFile::exists(t.settingsPath()));
}

// The copy replaces the journal at once: a write that fails part-way, as on a full disk,
// leaves the old journal byte for byte and nothing beside it.
void JournalBackupTest::restoreFailingPartWayKeepsTheJournal()
{
    TestPlatform t;
    t.writeJournal(journalOf(2));
    const QString chosen = QDir(t.folder()).filePath(QStringLiteral("большая.spb"));
    const QByteArray large = journalOf(400);
    QVERIFY(writeFile(chosen, large));
    Session s(t);
    t.dialogs.paths.push_back(chosen);
    t.dialogs.answers.push_back(Dialogs::Answer::Yes);
    {
        FileSizeLimit limit{rlim_t(large.size() / 2)};
        QVERIFY(limit.isActive());
        s.menu("Menu_Tuns_Vost");
    }
    QCOMPARE(shown(t.dialogs).last(),
             (Shown{QStringLiteral("Ошибка копирования файла"), QStringLiteral("Trelvax"), Dialogs::Icon::None}));
    QCOMPARE(t.readJournal(), journalOf(2));
    QCOMPARE(QDir(t.folder()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{JournalFile::fileName(), QStringLiteral("большая.spb")}));
    QVERIFY(!t.exit.code);
}

QTEST_MAIN(JournalBackupTest)
#include "tst_JournalBackup.moc"
