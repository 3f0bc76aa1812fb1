#include "CertificateFrame.h"
#include "Files.h"
#include "JournalSession.h"
#include "SystemCallFaults.h"

#include "journal/JournalFile.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/editor/frm.h"

#include <QDirIterator>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

#include <cerrno>

// Each operation that writes or reads the operator's files, run once for every file-system call
// it makes, that call failing: the files hold what they held or what the operation writes,
// nothing else; the operator hears of the failure in the operation's own box and never hears
// "done"; the records in memory stay as the operation leaves them, for the next save to write.
class IoFaultsTest : public QObject, public CertificateFrameFixture
{
    Q_OBJECT

public:
    enum Operation {
        Delete,
        DeleteWithCopy,
        EditorClose,
        Backup,
        Restore,
        Template,
        PrintClose,
        Picture,
        Pdf,
        Settings,
        Load
    };
    Q_ENUM(Operation)

private slots:
    void everyCallFails_data();
    void everyCallFails();

private:
    // What a run leaves: the program folder's files, the boxes shown, the records in memory.
    struct Outcome
    {
        QMap<QString, QByteArray> files;
        QStringList messages;
        QByteArray records;
        std::optional<int> exit;
        bool operator==(const Outcome &o) const { return files == o.files && records == o.records && exit == o.exit; }
    };

    void prepare(Operation op);
    void act(Operation op);
    Outcome outcome() const;
    void finish();
    QString path(const QString &name) const { return QDir(m_test->folder()).filePath(name); }

    std::unique_ptr<JournalSession> m_session;
    std::unique_ptr<Journal> m_loaded;
};

namespace {

const QByteArray kJournal = journalLine({"1", "А111АА"}) + journalLine({"2", "В222ВВ"}) + journalLine({"3", "С333СС"});

// What differs from one run to the next by its nature: the time a copy was made, the time a PDF
// was written.
QByteArray steady(const QString &name, QByteArray bytes)
{
    static const QRegularExpression copyTime(QStringLiteral("\\|\\d+\\|(?=[^|\\r\\n]*\\r\\n)"));
    static const QRegularExpression pdfTime(QStringLiteral("/CreationDate \\([^)]*\\)"));
    if (name.endsWith(QLatin1String(".txt")))
        return QString::fromLatin1(bytes).replace(copyTime, QStringLiteral("||")).toLatin1();
    if (name.endsWith(QLatin1String(".pdf")))
        return QString::fromLatin1(bytes).replace(pdfTime, QString()).toLatin1();
    return bytes;
}

} // namespace

void IoFaultsTest::prepare(Operation op)
{
    newCertificate(Numbers::AsTheyAre);
    TestPlatform &t = *m_test;
    t.writeJournal(kJournal);
    if (op != DeleteWithCopy && op != Restore)
        t.settings->setInt(QStringLiteral("AutoCopy"), QStringLiteral("Days"), 0);
    t.settings->sync();
    if (op == Load)
        return;
    if (op == PrintClose || op == Picture || op == Pdf) {
        openFrame(Wait::None);
        return;
    }
    m_session = std::make_unique<JournalSession>(t, JournalSession::Exposed);
    if (op == DeleteWithCopy || op == Restore) {
        // Yesterday's copy, listed: the list the day's copy adds to.
        t.clock.time = t.clock.time.addDays(-1);
        QVERIFY(SaveJournal(*m_session->journal, t.dialogs));
        t.clock.time = t.clock.time.addDays(1);
    }
    if (op == Delete || op == DeleteWithCopy) {
        RecordGrid *grid = m_session->form.grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 1)).center());
    }
    if (op == Restore)
        QVERIFY(writeFile(path(QStringLiteral("backup.spb")), journalLine({"1", "Е555ЕЕ"})));
    if (op == Template || op == EditorClose)
        QTest::mouseClick(m_session->control<QPushButton>(QStringLiteral("Cmd1")), Qt::LeftButton);
}

void IoFaultsTest::act(Operation op)
{
    TestPlatform &t = *m_test;
    switch (op) {
    case Delete:
    case DeleteWithCopy:
        t.dialogs.answers.push_back(Dialogs::Answer::Yes);
        QTest::mouseClick(m_session->control<QPushButton>(QStringLiteral("CmdDel")), Qt::LeftButton);
        break;
    case EditorClose:
        m_session->form.editor()->close();
        break;
    case Backup:
        t.dialogs.paths.push_back(path(QStringLiteral("backup.spb")));
        m_session->menu("Menu_Tuns_RCopy");
        break;
    case Restore:
        t.dialogs.paths.push_back(path(QStringLiteral("backup.spb")));
        t.dialogs.answers.push_back(Dialogs::Answer::Yes);
        m_session->menu("Menu_Tuns_Vost");
        break;
    case Template:
        QTest::mouseClick(m_session->form.editor()->findChild<QPushButton *>(QStringLiteral("Command3")),
                          Qt::LeftButton);
        break;
    case PrintClose:
        m_frame->close();
        break;
    case Picture:
    case Pdf:
        t.dialogs.paths.push_back(path(op == Pdf ? QStringLiteral("page.pdf") : QStringLiteral("page.jpg")));
        menuItem(op == Pdf ? "Menu_Pdf" : "Menu_Foto")->trigger();
        break;
    case Settings:
        m_session->form.close();
        break;
    case Load:
        m_loaded = std::make_unique<Journal>();
        OPFILE1(*m_loaded, t.folder(), t.dialogs, t.exit);
        break;
    }
    QCoreApplication::processEvents();
}

IoFaultsTest::Outcome IoFaultsTest::outcome() const
{
    Outcome o;
    QDirIterator files(m_test->folder(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString name = QDir(m_test->folder()).relativeFilePath(files.next());
        o.files.insert(name, steady(name, readFile(files.filePath())));
    }
    for (const Dialogs::Message &m : m_test->dialogs.messages)
        o.messages
            << QString(m.caption + QStringLiteral(" | ") + m.text).replace(m_test->folder(), QStringLiteral("~"));
    const Journal *journal = m_session ? m_session->journal.get() : m_loaded.get();
    if (journal)
        o.records = JournalFile::encodeRecords(journal->table, journal->RecordCount);
    o.exit = m_test->exit.code;
    return o;
}

void IoFaultsTest::finish()
{
    SystemCallFaults::stop();
    m_session.reset();
    m_loaded.reset();
    closeCertificate();
    m_test.reset();
}

void IoFaultsTest::everyCallFails_data()
{
    QTest::addColumn<Operation>("op");
    // The beginnings of the boxes that tell of a failure, and the caption that says "done".
    QTest::addColumn<QStringList>("failures");
    QTest::addColumn<QString>("done");
    QTest::addColumn<bool>("noUnnamedFiles");
    const QString save = QStringLiteral("Trelvax | Ошибка сохранения");
    const QString copy = QStringLiteral("Не удалось сохранить копию журнала");
    const QString settings = QStringLiteral("Trelvax | Не удалось сохранить настройки программы в файл ");
    QTest::newRow("Delete") << Delete << QStringList{save} << QString() << false;
    QTest::newRow("Delete, the day's copy")
        << DeleteWithCopy << QStringList{save, "Trelvax | " + copy} << QString() << false;
    QTest::newRow("editor's close") << EditorClose << QStringList{save} << QString() << false;
    QTest::newRow("editor's close, no unnamed files") << EditorClose << QStringList{save} << QString() << true;
    QTest::newRow("backup") << Backup << QStringList{"Ошибка копирования | Резервная копия не создана"} << QString()
                            << false;
    QTest::newRow("restore, the copy before it")
        << Restore
        << QStringList{"Trelvax | Ошибка копирования файла", "Ошибка копирования | Доступ к файлу закрыт!",
                       "Trelvax | " + copy}
        << QStringLiteral("Востановление произошло успешно") << false;
    QTest::newRow("Autoload") << Template
                              << QStringList{"Ошибка сохранения | Не удалось сохранить шаблон автозаполнения в файл "}
                              << QString() << false;
    QTest::newRow("print window's close: Shrift, settings")
        << PrintClose << QStringList{"Ошибка сохранения | Не удалось сохранить шрифты полей в файл ", settings}
        << QString() << false;
    QTest::newRow("page picture") << Picture
                                  << QStringList{"Ошибка сохранения | Не удалось сохранить изображение в файл "}
                                  << QStringLiteral("Файл сохранен.") << false;
    QTest::newRow("PDF") << Pdf << QStringList{"Сохранить в PDF | Не удалось сохранить файл "} << QString() << false;
    QTest::newRow("settings at the journal window's close") << Settings << QStringList{settings} << QString() << false;
    QTest::newRow("journal's load") << Load << QStringList{"Trelvax | Ошибка при открытии файла базы данных "}
                                    << QString() << false;
}

void IoFaultsTest::everyCallFails()
{
    QFETCH(Operation, op);
    QFETCH(QStringList, failures);
    QFETCH(QString, done);
    QFETCH(bool, noUnnamedFiles);

    prepare(op);
    const Outcome before = outcome();
    SystemCallFaults::watch(m_test->folder(), {0, 0, false, noUnnamedFiles});
    act(op);
    const QStringList calls = SystemCallFaults::calls();
    const Outcome clean = outcome();
    finish();
    qInfo("%lld calls: %s", qint64(calls.size()), qPrintable(calls.join(QLatin1Char(' '))));

    int runs = 0;
    for (int n = 1; n <= calls.size(); ++n) {
        const QString &call = calls[n - 1];
        const bool transfer = QStringList{"write", "read", "copy_file_range"}.contains(call);
        for (const SystemCallFaults::Fault fault : {SystemCallFaults::Fault{n, EIO, false, noUnnamedFiles},
                                                    {n, ENOSPC, false, noUnnamedFiles},
                                                    {n, EACCES, false, noUnnamedFiles},
                                                    {n, EIO, true, noUnnamedFiles}}) {
            if (fault.halfway && !transfer)
                continue;
            prepare(op);
            SystemCallFaults::watch(m_test->folder(), fault);
            act(op);
            SystemCallFaults::stop();
            const Outcome o = outcome();
            finish();
            ++runs;
            const QByteArray what = QStringLiteral("call %1 (%2) failing with %3%4; the boxes: %5")
                                        .arg(n)
                                        .arg(call, qt_error_string(fault.error),
                                             fault.halfway ? QStringLiteral(", halfway") : QString(),
                                             o.messages.join(QStringLiteral(" / ")))
                                        .toUtf8();
            // Each file as it was or as the operation writes it; none gone that both have.
            for (const QString &name : o.files.keys() + before.files.keys()) {
                const QByteArray bytes = o.files.value(name, "gone");
                QVERIFY2(bytes == clean.files.value(name, "gone") || bytes == before.files.value(name, "gone"),
                         (what + ": " + name.toUtf8()).constData());
            }
            QVERIFY2(o.records == clean.records || (op == Load && o.exit == 1), what.constData());
            QStringList told;
            for (const QString &m : o.messages) {
                if (!clean.messages.contains(m))
                    told << m;
            }
            for (const QString &m : told) {
                QVERIFY2(std::any_of(failures.cbegin(), failures.cend(),
                                     [&](const QString &f) { return m.startsWith(f); }),
                         what.constData());
            }
            if (o == clean && told.isEmpty()) {
                // Taken in its stride, nothing lost: only a failed read that a read after it made
                // up for, or a transfer cut short that the rest of it made up for.
                QVERIFY2(call == QLatin1String("read") || call.endsWith(QLatin1String("(read)")) || fault.halfway,
                         what.constData());
                continue;
            }
            QVERIFY2(!told.isEmpty(), what.constData());
            QVERIFY2(done.isEmpty() || o == clean || !o.messages.join(QLatin1Char('\n')).contains(done),
                     what.constData());
        }
    }
    qInfo("%d runs", runs);
}

QTEST_MAIN(IoFaultsTest)
#include "tst_IoFaults.moc"
