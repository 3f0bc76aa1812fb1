// The operator who tries everything: a seeded random walk over the controls of whatever windows
// are open (every enabled button, menu item, context menu item, close box, grid row, certificate
// label, key and typed text), with message boxes and file dialogs answered at random, some inside
// their own modal loop, also while the page picture's wait runs; a clock moving on by random
// steps, past midnight and by days; the copies' settings changed between runs of the program.
// After every step the program must still be there; after every closed editor the journal on
// disk must load and hold that record as the operator left it; the settings file must read back.
// After every action the journal on disk is the one last saved or restored, a new copy is a
// journal that was on disk, no file is gone but the program's listed copies, and the stored
// positions are those the operator last stored. Actions are rows of a table, and controls are
// found by what they are and their objectName, so a window or button added later joins in.
//
// TRELVAX_MONKEY_SEED (or a range "first-last") and TRELVAX_MONKEY_ACTIONS set the run; a
// failure prints both and the actions taken, which the same two values replay.
#include "TestPlatform.h"

#include "Files.h"

#include "app/WindowWiring.h"
#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "certificate/LayoutStore.h"
#include "certificate/PageUndo.h"
#include "journal/AutoCopy.h"
#include "journal/FieldCatalogue.h"
#include "journal/FieldInputRules.h"
#include "journal/Journal.h"
#include "journal/JournalBackup.h"
#include "journal/JournalFile.h"
#include "journal/SuggestionIndex.h"
#include "platform/Cp1251.h"
#include "platform/RegionalNumber.h"
#include "platform/SettingsStore.h"
#include "platform/desktop/QtDialogs.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/editor/FieldBox.h"
#include "windows/editor/frm.h"
#include "windows/journal/Form1.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/frmPTS1.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QSet>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

#include <array>
#include <cstdio>
#include <functional>
#include <random>

namespace {

// Texts the operator types: Latin and Cyrillic, the journal's separator, line breaks, and
// characters the journal's code page does not have.
const std::array<QString, 16> kPieces = {
    QStringLiteral("a"),    QStringLiteral("Z"),      QStringLiteral("ж"),  QStringLiteral("Ё"),
    QStringLiteral("7"),    QStringLiteral(" "),      QStringLiteral("|"),  QStringLiteral("\n"),
    QStringLiteral("\r\n"), QStringLiteral("中"),     QStringLiteral("ā"),  QString::fromUtf16(u"\U0001F600"),
    QStringLiteral("€"),    QStringLiteral("ВАЗ 21"), QStringLiteral("\t"), QStringLiteral("ß"),
};

class Random
{
public:
    explicit Random(quint64 seed) : m_engine(seed) {}
    // Uniform in 0..n-1, the same on every platform.
    int below(int n) { return n <= 1 ? 0 : int(m_engine() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template<class T>
    T pick(const QList<T> &list)
    {
        return list.at(below(int(list.size())));
    }
    // A control array ("Ch1(0)" .. "Ch1(37)") is as likely as a single control.
    template<class T>
    T *pickControl(const QList<T *> &list)
    {
        QStringList groups;
        for (T *c : list) {
            const QString group = c->objectName().section(QLatin1Char('('), 0, 0);
            if (!groups.contains(group))
                groups << group;
        }
        const QString group = pick(groups);
        QList<T *> members;
        for (T *c : list)
            if (c->objectName().section(QLatin1Char('('), 0, 0) == group)
                members << c;
        return pick(members);
    }

private:
    std::mt19937_64 m_engine;
};

QString shown(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\n'), QStringLiteral("\\n")).replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    s.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return s.size() > 60 ? s.left(60) + QStringLiteral("…") : s;
}

QString nameOf(const QObject *o)
{
    if (!o)
        return QStringLiteral("-");
    const QString name = o->objectName();
    return name.isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : name;
}

// A text as the journal file gives it back: in its code page, and without the spaces at
// either end, which the load removes.
QString asStored(const QString &text)
{
    QString stored = Cp1251::decode(Cp1251::encode(text));
    qsizetype first = 0, last = stored.size();
    while (first < last && stored.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && stored.at(last - 1) == QLatin1Char(' '))
        --last;
    return stored.mid(first, last - first);
}

} // namespace

// Every answer at random, every question recorded in the action list. Some message boxes and file
// dialogs are the desktop's own, answered by a hand inside their modal event loop: a button, Esc
// or Enter; a name typed into the file dialog (a bare name lands in its folder and may get its
// extension), a second look at a dialog still open cancels it.
class MonkeyDialogs final : public Dialogs
{
public:
    MonkeyDialogs(Random &random, QStringList &log, const QString &folder)
        : m_random(random), m_log(log), m_folder(folder)
    {
    }
    QStringList savedFiles;
    // The journal's backups the operator wrote, and the file last chosen to open.
    QStringList backups;
    QString opened;
    int modalAnswers = 0;
    // Each answer, for the operator's own records.
    std::function<void(const Message &, Answer, QWidget *)> answered;

    Answer message(const Message &message, QWidget *owner) override
    {
        Answer answer;
        if (m_random.chance(15)) {
            answer = inOwnLoop([&] { return m_real.message(message, owner); });
        } else {
            static const QList<Answer> offered[] = {{Answer::Ok},
                                                    {Answer::Ok, Answer::Cancel},
                                                    {Answer::Yes, Answer::No},
                                                    {Answer::Yes, Answer::No, Answer::Cancel},
                                                    {Answer::Retry, Answer::Cancel}};
            answer = m_random.pick(offered[int(message.buttons)]);
        }
        m_log
            << QStringLiteral("      box over %1 \"%2\": %3").arg(nameOf(owner), shown(message.text)).arg(int(answer));
        if (answered)
            answered(message, answer, owner);
        return answer;
    }
    std::optional<QString> openFile(const FileRequest &request, QWidget *owner) override
    {
        QStringList choices = {QString(), m_folder + QStringLiteral("/missing.png")};
        if (request.filter == JournalBackup::filter()) {
            // The copies, the operator's files among them, and the operator's backups.
            const QDir copies = copiesFolder();
            for (const QString &name : copies.entryList(QDir::Files, QDir::Name))
                choices << copies.filePath(name);
            choices += backups;
        } else {
            choices += {m_folder + QStringLiteral("/pictures/blank.png"),
                        m_folder + QStringLiteral("/pictures/blank.jpg"),
                        m_folder + QStringLiteral("/pictures/junk.png"), m_folder + QStringLiteral("/pictures")};
            choices += savedFiles;
        }
        const std::optional<QString> path = answerFile(false, choices, request, owner);
        opened = path.value_or(QString());
        return path;
    }
    std::optional<QString> saveFile(const FileRequest &request, QWidget *owner) override
    {
        const bool backup = request.filter == JournalBackup::filter();
        QStringList choices = {QString(), m_folder + QStringLiteral("/pictures")};
        if (backup) {
            // The suggested name, a name of the operator's beside the copies, or over one of the
            // files there: a copy, which is then the operator's.
            const QDir copies = copiesFolder();
            choices << request.suggestedName << copies.filePath(QStringLiteral("резерв %1.spb").arg(m_random.below(3)));
            QStringList names = copies.entryList(QDir::Files, QDir::Name);
            names.removeAll(AutoCopy::listName());
            if (!names.isEmpty())
                choices << copies.filePath(m_random.pick(names));
        } else {
            const QString name = QStringLiteral("/saved%1.jpg").arg(m_random.below(4));
            choices << m_folder + name << m_folder + QStringLiteral("/no/such/folder") + name;
        }
        const std::optional<QString> path = answerFile(true, choices, request, owner);
        QStringList &written = backup ? backups : savedFiles;
        if (path && !written.contains(*path))
            written << *path;
        return path;
    }
    QColor chooseColour(const QColor &initial, QWidget *owner) override
    {
        const QList<QColor> colours = {initial, QColor(0, 0, 255), QColor(200, 0, 0), QColor(0, 0, 0)};
        const QColor c = m_random.pick(colours);
        m_log << QStringLiteral("      colour over %1: %2").arg(nameOf(owner), c.name());
        return c;
    }
    FontChoice chooseFont(const FontChoice &initial, int minSize, int maxSize, QWidget *owner) override
    {
        FontChoice f = initial;
        if (m_random.chance(60)) {
            f.face = m_random.pick(QList<QString>{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Serif"),
                                                  QStringLiteral("Epson1")});
            f.size = minSize + m_random.below(qMax(1, maxSize - minSize + 1));
            f.bold = m_random.chance(50);
        }
        m_log << QStringLiteral("      font over %1: %2 %3").arg(nameOf(owner), f.face).arg(f.size);
        return f;
    }
    std::optional<QString> choosePrinter(QPrinter &printer, QWidget *owner) override
    {
        if (!m_random.chance(20)) {
            m_log << QStringLiteral("      printer over %1: cancelled").arg(nameOf(owner));
            return std::nullopt;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_folder + QStringLiteral("/printed.pdf"));
        m_log << QStringLiteral("      printer over %1: PDF").arg(nameOf(owner));
        return QString();
    }

private:
    QDir copiesFolder() const
    {
        return QDir(AutoCopy::folderOf(m_folder + QLatin1Char('/') + JournalFile::fileName()));
    }

    std::optional<QString> answerFile(bool save, const QStringList &choices, const FileRequest &request, QWidget *owner)
    {
        const QString typed = m_random.pick(choices);
        std::optional<QString> path;
        if (m_random.chance(25)) {
            QPointer<QFileDialog> seen;
            path = inOwnLoop([&] { return save ? m_real.saveFile(request, owner) : m_real.openFile(request, owner); },
                             [&](QFileDialog *dialog) {
                                 if (typed.isEmpty() || seen == dialog)
                                     return dialog->reject();
                                 seen = dialog;
                                 auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                                 name->setText(typed);
                                 QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
                             });
        } else if (!typed.isEmpty()) {
            // A bare name is in the dialog's folder.
            path = QDir(request.startFolder).filePath(typed);
        }
        m_log << QStringLiteral("      file over %1 \"%2\": %3")
                     .arg(nameOf(owner), shown(request.filter), path.value_or(QStringLiteral("cancelled")));
        return path;
    }

    // Runs the desktop's dialog; a hand answers whatever modal window it shows, from its loop.
    template<class Show>
    std::invoke_result_t<Show> inOwnLoop(Show show, const std::function<void(QFileDialog *)> &onFileDialog = {})
    {
        ++modalAnswers;
        QTimer hand;
        QObject::connect(&hand, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                const int way = m_random.below(5);
                m_log << QStringLiteral("      (its own loop: %1)").arg(way);
                if (way == 0)
                    QTest::keyClick(box, Qt::Key_Escape);
                else if (way == 1)
                    QTest::keyClick(box, Qt::Key_Return);
                else
                    m_random.pick(box->buttons())->click();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && onFileDialog) {
                onFileDialog(dialog);
            }
        });
        hand.start(10);
        return show();
    }

    Random &m_random;
    QStringList &m_log;
    QString m_folder;
    QtDialogs m_real;
};

// Time moves on by random steps: mostly within a second (a run of label moves), at times by
// minutes or hours, past midnight, or by days.
class MonkeyClock final : public Clock
{
public:
    std::function<void()> duringWait;
    QDateTime time = QDateTime(QDate(2025, 12, 8), QTime(14, 5));
    QDateTime now() const override { return time; }
    void moveOn(Random &random)
    {
        const int kind = random.below(100);
        if (kind < 60)
            time = time.addMSecs(random.below(1000));
        else if (kind < 88)
            time = time.addSecs(1 + random.below(600));
        else if (kind < 96)
            time = time.addSecs(60 * random.below(12 * 60));
        else if (kind < 99)
            time = QDateTime(time.date().addDays(1), QTime(0, random.below(10), random.below(60)));
        else
            time = time.addDays(2 + random.below(20));
    }
    void waitProcessingEvents(int) override
    {
        if (duringWait)
            duringWait();
        // As the program's wait does: the posted events, deferred deletes included.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

class Monkey
{
public:
    Monkey(quint64 seed, int budget)
        : m_seed(seed), m_budget(budget), m_random(seed),
          m_dialogs(m_random, m_log, m_test.folder()), m_platform{*m_test.settings, m_dialogs,     m_test.shell,
                                                                  m_clock,          m_test.screen, m_test.exit,
                                                                  m_test.folder()}
    {
        QDir(m_test.folder()).mkpath(QStringLiteral("pictures"));
        QImage picture(40, 30, QImage::Format_ARGB32);
        picture.fill(QColor(10, 120, 30, 160));
        picture.save(m_test.folder() + QStringLiteral("/pictures/blank.png"));
        picture.save(m_test.folder() + QStringLiteral("/pictures/blank.jpg"), "JPG");
        picture.save(m_test.platform.programFile(QStringLiteral("pechat.png")));
        picture.save(m_test.platform.programFile(QStringLiteral("podpis.png")));
        QFile junk(m_test.folder() + QStringLiteral("/pictures/junk.png"));
        if (junk.open(QIODevice::WriteOnly))
            junk.write("not a picture|\r\n");
        QByteArray journal, half;
        for (int i = 1; i <= 6; ++i) {
            journal += journalLine({QString::number(i), QStringLiteral("А%1ВС77").arg(i),
                                    QStringLiteral("VIN%1").arg(i), QStringLiteral("ЛАДА %1").arg(i)});
            if (i == 3)
                half = journal;
        }
        m_test.writeJournal(journal);
        m_confirmed = journal;
        // The operator's own files: one named as a copy is named but not listed, a journal too
        // large for a tiny "MaxMB" to keep many copies of, a note, a backup in the program folder.
        const QDir copies(AutoCopy::folderOf(m_test.journalPath()));
        copies.mkpath(QStringLiteral("."));
        QByteArray large;
        for (int i = 1; i <= 14; ++i) {
            QStringList fields = {QString::number(i), QStringLiteral("Б%1ОЛ77").arg(i)};
            fields.resize(150);
            large += journalLine(fields << QString(30000, QChar(0x0416)));
        }
        const QStringList planted = {copies.filePath(AutoCopy::copyName(m_clock.time)),
                                     copies.filePath(QStringLiteral("большой журнал.spb")),
                                     copies.filePath(QStringLiteral("заметки.txt")),
                                     m_test.platform.programFile(QStringLiteral("моя копия.spb"))};
        for (const QString &path : planted)
            if (!writeFile(path,
                           path.endsWith(QLatin1String(".txt"))           ? QByteArray("not a journal")
                               : path.contains(QStringLiteral("большой")) ? large
                                                                          : half))
                qFatal("cannot plant the operator's files");
        m_dialogs.backups << planted.last();
        m_files = copies.entryList(QDir::Files);
        m_dialogs.answered = [this](const Dialogs::Message &m, Dialogs::Answer a, QWidget *owner) {
            answered(m, a, owner);
        };
        m_clock.duringWait = [this] { actDuringWait(); };
    }
    ~Monkey() { endSession(); }

    // Empty when every step passed; else what went wrong.
    QString run()
    {
        startSession();
        for (m_step = 1; m_step <= m_budget && m_failure.isEmpty(); ++m_step) {
            if (m_test.exit.code) {
                endSession();
                checkSettingsReadBack();
                startSession();
                continue;
            }
            const QDate day = m_clock.time.date();
            m_clock.moveOn(m_random);
            if (m_clock.time.date() != day)
                note(QStringLiteral("the clock: %1").arg(m_clock.time.toString(Qt::ISODate)));
            act(false);
            settle();
            check();
        }
        return m_failure;
    }
    QString report() const
    {
        return QStringLiteral("seed %1, %2 actions: %3\nReplay: TRELVAX_MONKEY_SEED=%1 TRELVAX_MONKEY_ACTIONS=%2\n%4")
            .arg(m_seed)
            .arg(m_budget)
            .arg(m_failure, m_log.join(QLatin1Char('\n')));
    }
    int actions() const { return m_actions; }
    QString figures() const
    {
        return QStringLiteral("%1 copies made, %2 removed, %3 restores, %4 backups, %5 undos, %6 answered in their own "
                              "loop")
            .arg(m_copiesMade)
            .arg(m_copiesRemoved)
            .arg(m_restores)
            .arg(m_protected.size() - 1)
            .arg(m_undos)
            .arg(m_dialogs.modalAnswers);
    }

private:
    struct Edited
    {
        QPointer<frm> editor;
        int record = 0;
        std::array<QString, EditorBoxes::kBoxCount> expected;
    };

    void fail(const QString &why)
    {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("step %1: %2").arg(m_step).arg(why);
    }
    void note(const QString &line) { m_log << QStringLiteral("%1 %2").arg(m_step, 5).arg(line); }

    // ---- Sessions: one run of the program ----------------------------------------------------

    void startSession()
    {
        // The copies' settings as the operator may have edited them, out of range included.
        QStringList chosen;
        for (const QString &entry : {QStringLiteral("Days=|0|1|3|60|3651|x"), QStringLiteral("Keep=|0|1|3|-1"),
                                     QStringLiteral("MaxMB=|0|1|2|500")}) {
            const QString key = entry.section(QLatin1Char('='), 0, 0);
            const QString value = m_random.pick(entry.section(QLatin1Char('='), 1).split(QLatin1Char('|')));
            if (value.isEmpty())
                m_test.settings->remove(QStringLiteral("AutoCopy"), key);
            else
                m_test.settings->setValue(QStringLiteral("AutoCopy"), key, value);
            chosen << key + QLatin1Char('=') + value;
        }
        m_test.settings->sync();
        note(QStringLiteral("settings AutoCopy %1, %2")
                 .arg(chosen.join(QLatin1Char(' ')), m_clock.time.toString(Qt::ISODate)));
        m_test.exit.code.reset();
        m_journal = std::make_unique<Journal>();
        m_state = std::make_unique<LayoutState>();
        m_form = std::make_unique<Form1>(m_platform, *m_journal);
        if (!m_form->isLoaded()) {
            fail(QStringLiteral("the journal on disk does not load at start-up"));
            return;
        }
        serveEditorsOf(*m_form, m_platform, *m_state);
        QObject::connect(m_form.get(), &Form1::editorOpened, m_form.get(), [this](frm *editor) {
            QObject::connect(editor, &frm::editorClosed, m_form.get(), [this, editor] { editorClosed(editor); });
        });
        m_form->show();
        note(QStringLiteral("start of the program"));
    }
    void endSession()
    {
        if (!m_form)
            return;
        note(QStringLiteral("end of the program"));
        m_form.reset();
        settle();
        QList<QPointer<QWidget>> left;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                fail(QStringLiteral("window %1 is left open after the program ended").arg(nameOf(w)));
            if (!w->parentWidget() && !w->objectName().isEmpty())
                left << w;
        }
        for (const QPointer<QWidget> &w : left)
            delete w.data();
        m_edited.reset();
        m_journal.reset();
        m_state.reset();
    }
    // The event loop's next turns: what was deferred to them runs.
    static void settle()
    {
        for (int turn = 0; turn < 2; ++turn) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // ---- The checks ----------------------------------------------------------------------------

    void check()
    {
        checkSettingsReadBack();
        if (!m_form)
            return;
        // A newly opened editor: its record as the editor shows it.
        frm *editor = m_form->editor();
        if (editor && editor->isVisible() && (!m_edited || m_edited->editor != editor)) {
            m_edited = std::make_unique<Edited>();
            m_edited->editor = editor;
            m_edited->record = m_journal->CurrentRecord;
            for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
                m_edited->expected[size_t(i)] = editor->boxText(i);
        }
        int editors = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<frm *>(w) && w->isVisible())
                ++editors;
        if (editors > 1)
            fail(QStringLiteral("%1 editors are open at once").arg(editors));
        int frames = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<MDIForm1 *>(w) && w->isVisible())
                ++frames;
        if (frames > 1)
            fail(QStringLiteral("%1 certificate frames are open at once").arg(frames));
        if ((frames > 0 || editors > 0) && m_form->isVisible())
            fail(QStringLiteral("the journal window shows while a record is open"));
    }

    void editorClosed(frm *editor)
    {
        if (!m_edited || m_edited->editor != editor) {
            fail(QStringLiteral("an editor closed that was never seen open"));
            return;
        }
        // The record holds what its boxes showed, as the save cleans it: no line break, "|" as "¦".
        for (int i = 0; i < EditorBoxes::kBoxCount; ++i) {
            QString box = Cp1251::representable(editor->boxText(i));
            box.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).replace(QLatin1Char('|'), QChar(0xA6));
            if (const QString held = m_journal->table.text(m_edited->record, i + 2); held != box)
                fail(QStringLiteral("record %1 field %2 holds \"%3\", its box showed \"%4\"")
                         .arg(m_edited->record)
                         .arg(i + 2)
                         .arg(shown(held), shown(box)));
        }
        // What is on disk, loaded as at start-up.
        Journal disk;
        ScriptedDialogs quiet;
        RecordingExit exit;
        if (!OPFILE1(disk, m_test.folder(), quiet, exit) || !quiet.messages.isEmpty()) {
            fail(QStringLiteral("the journal on disk does not load after the editor closed: %1")
                     .arg(quiet.texts().join(QLatin1Char(' '))));
            return;
        }
        if (disk.RecordCount != m_journal->RecordCount)
            fail(QStringLiteral("%1 records on disk, %2 in the journal")
                     .arg(disk.RecordCount)
                     .arg(m_journal->RecordCount));
        const int record = m_edited->record;
        for (int i = 0; i < EditorBoxes::kBoxCount; ++i) {
            const QString typed = m_edited->expected[size_t(i)];
            const QString onDisk = disk.table.text(record, i + 2);
            // A text from the certificate's in-place editor loses in its box what a box does not
            // take; the rules of leaving a box may have run over it.
            QStringList allowed;
            for (const QString &text : {typed, FieldInputRules::accepted(typed)}) {
                const QString unbroken = FieldInputRules::withoutLineBreaks(text);
                allowed << asStored(text) << asStored(unbroken) << asStored(FieldInputRules::inCapitals(unbroken));
            }
            if (!allowed.contains(onDisk))
                fail(QStringLiteral("record %1 field %2 is \"%3\" on disk, typed \"%4\"")
                         .arg(record)
                         .arg(i + 2)
                         .arg(shown(onDisk), shown(typed)));
        }
        note(QStringLiteral("  record %1 checked on disk").arg(record));
        m_edited.reset();
    }

    void checkSettingsReadBack()
    {
        const QFileInfo info(m_test.settingsPath());
        if (!info.exists())
            return;
        const QPair<qint64, QDateTime> stamp(info.size(), info.lastModified());
        if (stamp == m_settingsStamp)
            return;
        m_settingsStamp = stamp;
        // A copy under another name: what a fresh start reads, not what this process caches.
        const QString copy = m_test.folder() + QStringLiteral("/settings-check.ini");
        QFile::remove(copy);
        if (!QFile::copy(info.filePath(), copy)) {
            fail(QStringLiteral("the settings file cannot be read"));
            return;
        }
        QSettings settings(copy, QSettings::IniFormat);
        if (settings.status() != QSettings::NoError || settings.allKeys().isEmpty())
            fail(QStringLiteral("the settings file does not read back"));
    }

    // ---- The journal's safety nets and the stored positions ------------------------------------

    // What a store of the page's positions writes: each label's and picture's top and left, in
    // the operator's number format.
    using Entries = LayoutStore::StoredEntries;
    static Entries entriesOf(const CertificateLayout &layout)
    {
        Entries e;
        for (int i = 0; i < kLabelCount + kPictureCount; ++i) {
            const MmPoint pos = i < kLabelCount ? layout.label(i).pos : layout.picture(PictureId(i - kLabelCount)).pos;
            e[size_t(2 * i)] = RegionalNumber::format(pos.top);
            e[size_t(2 * i + 1)] = RegionalNumber::format(pos.left);
        }
        return e;
    }
    static frmPTS1 *openPage()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *frame = qobject_cast<MDIForm1 *>(w); frame && frame->isVisible() && frame->printWindow())
                return frame->printWindow();
        return nullptr;
    }

    void answered(const Dialogs::Message &message, Dialogs::Answer answer, QWidget *owner)
    {
        auto *page = qobject_cast<frmPTS1 *>(owner);
        if (page && answer == Dialogs::Answer::Yes
            && message.text == QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?"))
            m_storing = entriesOf(page->layout());
        if (message.caption == QStringLiteral("Востановление произошло успешно")) {
            ++m_restores;
            m_restoredFrom = m_dialogs.opened;
            m_restoredBytes = readFile(m_restoredFrom);
        }
    }

    // The undo steps of the open page since the last look: a new "Сброс" has stored, an undone
    // one must have put back what it stored over, a redone one what it stored.
    void followUndo()
    {
        frmPTS1 *page = openPage();
        if (page != m_undoPage) {
            m_undoPage = page;
            m_steps.clear();
            m_resets.clear();
            m_undoIndex = 0;
        }
        if (!page)
            return;
        const QUndoStack &stack = page->undoStack();
        // A step is known by its address and name: a new step may take the address of one gone.
        QList<QPair<const QUndoCommand *, QString>> steps;
        for (int i = 0; i < stack.count(); ++i)
            steps.append({stack.command(i), stack.command(i)->text()});
        const int index = stack.index();
        const bool moved = steps.size() == m_steps.size() && (index == m_undoIndex + 1 || index == m_undoIndex - 1);
        if (moved && index < m_undoIndex && steps.at(index) == m_steps.at(index)) {
            ++m_undos;
            if (const auto it = m_resets.constFind(steps.at(index).first); it != m_resets.cend())
                m_restoring = it->first;
        } else if (moved && index > m_undoIndex && steps.at(index - 1) == m_steps.at(index - 1)) {
            if (const auto it = m_resets.constFind(steps.at(index - 1).first); it != m_resets.cend())
                m_restoring = it->second;
        } else if (index > 0 && steps.at(index - 1).second.contains(PageUndo::resetName())
                   && (index > m_undoIndex || steps.at(index - 1) != m_steps.value(index - 1))) {
            m_resets.insert(steps.at(index - 1).first, {m_stored, {}});
            m_newReset = steps.at(index - 1).first;
            m_storing = entriesOf(page->layout());
        }
        m_steps = steps;
        m_undoIndex = index;
    }

    void checkStoredLayout()
    {
        const QFileInfo info(m_test.settingsPath());
        const QPair<qint64, QDateTime> stamp(info.size(), info.lastModified());
        if (stamp == m_layoutStamp && !m_storing && !m_restoring)
            return;
        m_layoutStamp = stamp;
        SettingsStore disk(m_test.settingsPath());
        const Entries now = LayoutStore(disk).storedEntries();
        // "Сброс" of a page at its reset positions stores them without a step.
        if (frmPTS1 *page = openPage(); m_resetAsked && now != m_stored && page)
            m_storing = entriesOf(page->layout());
        if (now != m_storing.value_or(m_restoring.value_or(m_stored)))
            return fail(QStringLiteral("the stored positions are not those the operator last stored"));
        m_stored = now;
        if (m_newReset)
            m_resets[m_newReset].second = now;
    }

    // The journal on disk is the one last saved or restored; a new copy is a journal that was on
    // disk; a file the copies' folder held is gone only when it was a listed copy; the operator's
    // files elsewhere stay.
    void checkFiles()
    {
        const QByteArray disk = readFile(m_test.journalPath());
        const QByteArray before = m_confirmed;
        if (m_restoredBytes && disk != *m_restoredBytes)
            fail(QStringLiteral("the restore said done, but the journal is not %1").arg(m_restoredFrom));
        else if (disk != m_confirmed && !m_restoredBytes
                 && (!m_journal || disk != JournalFile::encodeRecords(m_journal->table, m_journal->RecordCount)))
            fail(QStringLiteral("the journal on disk is neither the one last saved nor the one restored"));
        else if (m_restoredBytes && !QFileInfo::exists(m_restoredFrom))
            fail(QStringLiteral("the restored %1 was removed").arg(m_restoredFrom));
        m_confirmed = disk;

        const QDir copies(AutoCopy::folderOf(m_test.journalPath()));
        const QStringList files = copies.entryList(QDir::Files);
        QStringList own;
        for (const AutoCopy::StoredCopy &c : AutoCopy::ownCopies(copies.path()))
            own << c.name;
        for (const QString &name : std::as_const(m_files))
            if (!files.contains(name) && !m_own.contains(name))
                fail(QStringLiteral("%1 was removed, which is no copy of the program's").arg(name));
            else if (!files.contains(name))
                ++m_copiesRemoved;
        for (const QString &name : std::as_const(own))
            if (!m_own.contains(name) && !m_files.contains(name)) {
                ++m_copiesMade;
                if (!QList<QByteArray>{before, disk}.contains(readFile(copies.filePath(name))))
                    fail(QStringLiteral("the copy %1 is no journal that was on disk").arg(name));
            }
        for (const QString &path : std::as_const(m_dialogs.backups))
            if (QFileInfo(path).isFile())
                m_protected.insert(path);
        for (const QString &path : std::as_const(m_protected))
            if (!QFileInfo::exists(path))
                fail(QStringLiteral("the operator's %1 was removed").arg(path));
        m_files = files;
        m_own = own;
        m_restoredBytes.reset();
    }
    void checkDisk()
    {
        followUndo();
        checkStoredLayout();
        checkFiles();
        m_storing.reset();
        m_restoring.reset();
        m_resetAsked = false;
        m_newReset = nullptr;
    }

    // Operator edits: a box the operator typed into, a label corrected in the certificate.
    struct Before
    {
        QPointer<frmPTS1> page;
        std::array<QString, EditorBoxes::kBoxCount> labels;
        // The editor's empty boxes, which its make and model may fill.
        QPointer<frm> editor;
        std::array<bool, EditorBoxes::kBoxCount> empty{};
    };
    Before before() const
    {
        Before b{openPage(), {}, m_edited ? m_edited->editor : nullptr};
        for (int i = 0; i < EditorBoxes::kBoxCount; ++i) {
            if (b.page)
                b.labels[size_t(i)] = b.page->layout().label(i).text;
            b.empty[size_t(i)] = b.editor && b.editor->boxText(i).isEmpty();
        }
        return b;
    }
    void noteEdits(const Before &b)
    {
        if (!m_edited || !m_edited->editor)
            return;
        for (const auto &typed : std::as_const(m_typedInto))
            if (auto *box = qobject_cast<FieldBox *>(typed.first.data());
                box && box->window() == m_edited->editor && box->text() != typed.second)
                m_edited->expected[size_t(box->index())] = box->text();
        if (b.page)
            for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
                if (b.page->layout().label(i).text != b.labels[size_t(i)])
                    m_edited->expected[size_t(i)] = b.page->layout().label(i).text;
        for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
            if (b.editor == m_edited->editor && b.empty[size_t(i)] && !b.editor->boxText(i).isEmpty())
                m_edited->expected[size_t(i)] = b.editor->boxText(i);
    }

    // ---- The actions ---------------------------------------------------------------------------

    QList<QWidget *> windows() const
    {
        QList<QWidget *> list;
        if (QWidget *modal = QApplication::activeModalWidget())
            return {modal};
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && !(w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip))
                list << w;
        std::sort(list.begin(), list.end(), [](QWidget *a, QWidget *b) { return nameOf(a) < nameOf(b); });
        return list;
    }
    template<class T>
    static QList<T *> controls(QWidget *window)
    {
        QList<T *> list;
        for (T *c : window->findChildren<T *>())
            if (c->isVisible() && c->isEnabled() && !c->objectName().isEmpty() && c->window() == window)
                list << c;
        return list;
    }

    void actDuringWait()
    {
        if (m_inWait)
            return;
        m_inWait = true;
        note(QStringLiteral("  (the page picture's wait)"));
        for (int n = m_random.below(3); n >= 0; --n) {
            act(true);
            QCoreApplication::processEvents();
        }
        m_inWait = false;
    }

    // One action, then the edits it made noted as the operator's.
    void act(bool duringWait)
    {
        ++m_actions;
        const Before b = before();
        // An action inside the page picture's wait has its own.
        const auto outer = std::exchange(m_typedInto, {});
        perform(duringWait ? QStringLiteral("  wait: ") : QString());
        settle();
        noteEdits(b);
        m_typedInto = outer;
        checkDisk();
    }

    // Keys go to where the focus is, which a key may move.
    void typeKey(QWidget *window, const std::function<void(QWidget *)> &send)
    {
        QWidget *focus = window->focusWidget() ? window->focusWidget() : window;
        if (!focus->isVisible() || !focus->isEnabled())
            focus = window;
        bool known = false;
        for (const auto &typed : std::as_const(m_typedInto))
            known = known || typed.first == focus;
        if (!known) {
            auto *edit = qobject_cast<QLineEdit *>(focus);
            m_typedInto.append({focus, edit ? edit->text() : QString()});
        }
        send(focus);
    }

    // What the operator can do: one row of the table is chosen by its weight among those whose
    // precondition holds. Over an open menu, only the menu's rows hold.
    struct Turn
    {
        QString prefix;
        QMenu *menu = nullptr;
        QWidget *window = nullptr;
    };
    struct Action
    {
        const char *name;
        int weight;
        bool (*possible)(const Turn &);
        void (Monkey::*run)(const Turn &);
    };
    static const std::array<Action, 16> kActions;

    static QList<QAction *> itemsOf(const QWidget *menu)
    {
        QList<QAction *> items;
        for (QAction *a : menu->actions())
            if (a->isVisible() && a->isEnabled() && !a->isSeparator() && !a->menu())
                items << a;
        return items;
    }
    static bool enabled(const Turn &t) { return t.window && t.window->isEnabled(); }
    static frmPTS1 *pageOf(const Turn &t)
    {
        auto *frame = qobject_cast<MDIForm1 *>(t.window);
        return enabled(t) && frame ? frame->printWindow() : nullptr;
    }

    void perform(const QString &prefix)
    {
        Turn turn{prefix, qobject_cast<QMenu *>(QApplication::activePopupWidget())};
        if (!turn.menu)
            if (const QList<QWidget *> open = windows(); !open.isEmpty())
                turn.window = m_random.pick(open);
        int total = 0;
        for (const Action &a : kActions)
            total += a.possible(turn) ? a.weight : 0;
        int n = m_random.below(total);
        for (const Action &a : kActions)
            if (a.possible(turn) && (n -= a.weight) < 0)
                return (this->*a.run)(turn);
    }

    void clickMenuItem(const Turn &t)
    {
        QAction *item = m_random.pick(itemsOf(t.menu));
        note(t.prefix + QStringLiteral("menu item %1 \"%2\"").arg(nameOf(item), item->text()));
        QTest::mouseClick(t.menu, Qt::LeftButton, {}, t.menu->actionGeometry(item).center());
    }
    void escapeMenu(const Turn &t)
    {
        note(t.prefix + QStringLiteral("Esc on menu %1").arg(nameOf(t.menu)));
        QTest::keyClick(t.menu, Qt::Key_Escape);
        if (QApplication::activePopupWidget() == t.menu)
            t.menu->close();
    }
    void noWindow(const Turn &t) { note(t.prefix + QStringLiteral("no window")); }
    void closeBox(const Turn &t)
    {
        note(t.prefix + QStringLiteral("close box of %1").arg(nameOf(t.window)));
        if (QWindow *handle = t.window->windowHandle())
            handle->close();
        else
            t.window->close();
    }
    void clickDisabled(const Turn &t)
    {
        note(t.prefix + QStringLiteral("click on the disabled %1").arg(nameOf(t.window)));
    }
    void clickButton(const Turn &t)
    {
        const QList<QAbstractButton *> buttons = controls<QAbstractButton>(t.window);
        if (buttons.isEmpty())
            return;
        QAbstractButton *button = m_random.pickControl(buttons);
        note(t.prefix + QStringLiteral("click %1/%2").arg(nameOf(t.window), nameOf(button)));
        const QPointer<frmPTS1> page = openPage();
        m_resetAsked = m_resetAsked || button->objectName() == QLatin1String("CmdRes");
        const bool save = button->objectName() == QLatin1String("CmdSave");
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        if (save && page)
            m_storing = entriesOf(page->layout());
    }
    // A menu of the bar opened; or one of the items of its menus clicked at once.
    void openMenuBar(const Turn &t) { clickMenuBar(t, false); }
    void menuCommand(const Turn &t) { clickMenuBar(t, true); }
    void clickMenuBar(const Turn &t, bool command)
    {
        auto *bar = t.window->findChild<QMenuBar *>();
        if (!bar || !bar->isVisible())
            return;
        QList<QPair<QAction *, QAction *>> choices; // a menu, and one of its items
        for (QAction *a : bar->actions())
            if (a->isVisible() && a->isEnabled())
                for (QAction *item : command && a->menu() ? itemsOf(a->menu()) : QList<QAction *>{nullptr})
                    choices << qMakePair(a, item);
        if (choices.isEmpty())
            return;
        const auto [menu, item] = m_random.pick(choices);
        note(t.prefix + QStringLiteral("menu bar %1 \"%2\"").arg(nameOf(t.window), menu->text()));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu).center());
        if (item && QApplication::activePopupWidget() == menu->menu() && itemsOf(menu->menu()).contains(item)) {
            note(t.prefix + QStringLiteral("menu item %1 \"%2\"").arg(nameOf(item), item->text()));
            QTest::mouseClick(menu->menu(), Qt::LeftButton, {}, menu->menu()->actionGeometry(item).center());
        }
    }
    void rightClick(const Turn &t)
    {
        // A right click anywhere: the context menus.
        QList<QWidget *> widgets = controls<QWidget>(t.window);
        if (widgets.isEmpty())
            return;
        QWidget *w = m_random.pickControl(widgets);
        note(t.prefix + QStringLiteral("right click %1/%2").arg(nameOf(t.window), nameOf(w)));
        QTest::mouseClick(w, Qt::RightButton, {}, w->rect().center());
    }
    void clickGridRow(const Turn &t)
    {
        const QList<RecordGrid *> grids = controls<RecordGrid>(t.window);
        if (grids.isEmpty())
            return actOnPage(t);
        RecordGrid *grid = grids.first();
        const int rows = grid->model()->rowCount();
        if (rows == 0)
            return;
        const int row = m_random.below(rows);
        const QRect cell = grid->visualRect(grid->model()->index(row, m_random.below(6)));
        if (!cell.isValid())
            return;
        const bool twice = m_random.chance(40);
        note(t.prefix
             + QStringLiteral("%1 grid row %2")
                   .arg(twice ? QStringLiteral("double click") : QStringLiteral("click"))
                   .arg(row + 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        if (twice)
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void clickInto(const Turn &t)
    {
        // Into a text box, or onto a named label (the about box's links).
        QList<QWidget *> places;
        for (QLineEdit *e : controls<QLineEdit>(t.window))
            places << e;
        for (QLabel *l : controls<QLabel>(t.window))
            places << l;
        if (places.isEmpty())
            return;
        QWidget *w = m_random.pickControl(places);
        note(t.prefix + QStringLiteral("click into %1/%2").arg(nameOf(t.window), nameOf(w)));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    // Keys and typing go where the keyboard focus is.
    void pressKey(const Turn &t)
    {
        static const QList<QPair<Qt::Key, Qt::KeyboardModifiers>> keys = {{Qt::Key_Left, {}},
                                                                          {Qt::Key_Right, {}},
                                                                          {Qt::Key_Up, {}},
                                                                          {Qt::Key_Down, {}},
                                                                          {Qt::Key_Escape, {}},
                                                                          {Qt::Key_Return, {}},
                                                                          {Qt::Key_Enter, {}},
                                                                          {Qt::Key_Tab, {}},
                                                                          {Qt::Key_Backtab, Qt::ShiftModifier},
                                                                          {Qt::Key_Backspace, {}},
                                                                          {Qt::Key_Delete, {}},
                                                                          {Qt::Key_A, Qt::ControlModifier},
                                                                          {Qt::Key_Home, {}},
                                                                          {Qt::Key_End, {}},
                                                                          {Qt::Key_Left, Qt::ControlModifier},
                                                                          {Qt::Key_Space, {}},
                                                                          {Qt::Key_Z, Qt::ControlModifier},
                                                                          {Qt::Key_Y, Qt::ControlModifier}};
        const auto key = m_random.pick(keys);
        note(t.prefix
             + QStringLiteral("key %1 (%2) to %3/%4")
                   .arg(QKeySequence(key.first | key.second).toString())
                   .arg(int(key.first))
                   .arg(nameOf(t.window), nameOf(t.window->focusWidget())));
        typeKey(t.window, [&](QWidget *w) { QTest::keyClick(w, key.first, key.second); });
    }
    void typeText(const Turn &t)
    {
        QString text;
        for (int n = 1 + m_random.below(5); n > 0; --n)
            text += kPieces[size_t(m_random.below(int(kPieces.size())))];
        if (m_random.chance(30)) {
            note(t.prefix
                 + QStringLiteral("paste \"%1\" into %2/%3")
                       .arg(shown(text), nameOf(t.window), nameOf(t.window->focusWidget())));
            QGuiApplication::clipboard()->setText(text);
            return typeKey(t.window, [](QWidget *w) { QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier); });
        }
        note(t.prefix
             + QStringLiteral("type \"%1\" into %2/%3")
                   .arg(shown(text), nameOf(t.window), nameOf(t.window->focusWidget())));
        const QPointer<QWidget> alive(t.window);
        for (const QChar c : text) {
            if (!alive || !t.window->isVisible())
                break;
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                typeKey(t.window, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Return); });
            else if (c == QLatin1Char('\t'))
                typeKey(t.window, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Tab); });
            else
                typeKey(t.window, [c](QWidget *w) {
                    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
                });
        }
    }

    // Clicks on the certificate page: labels, the empty page, with each button and Ctrl.
    void actOnPage(const Turn &t)
    {
        auto *frame = qobject_cast<MDIForm1 *>(t.window);
        if (!frame || !frame->printWindow())
            return;
        frmPTS1 *page = frame->printWindow();
        QPoint point;
        QString what;
        if (m_random.chance(80)) {
            const int i = m_random.below(EditorBoxes::kBoxCount);
            const CertificateLayout::Label &l = page->layout().label(i);
            point = page->view().mapFromScene(QPointF(l.pos.left + 0.8, l.pos.top + l.height / 2));
            what = QStringLiteral("label %1").arg(i);
        } else {
            point = page->view().mapFromScene(QPointF(40 + m_random.below(60), 120 + m_random.below(80)));
            what = QStringLiteral("the page");
        }
        const QList<Qt::MouseButton> buttons = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                Qt::MiddleButton};
        const Qt::MouseButton button = m_random.pick(buttons);
        const Qt::KeyboardModifiers modifiers = m_random.chance(20) ? Qt::ControlModifier : Qt::NoModifier;
        const bool twice = button == Qt::LeftButton && m_random.chance(30);
        note(t.prefix
             + QStringLiteral("%1 %2 on %3%4")
                   .arg(twice ? QStringLiteral("double click") : QStringLiteral("click"))
                   .arg(int(button))
                   .arg(what, modifiers ? QStringLiteral(" with Ctrl") : QString()));
        QWidget *viewport = page->view().viewport();
        if (twice)
            QTest::mouseDClick(viewport, button, modifiers, point);
        else
            QTest::mouseClick(viewport, button, modifiers, point);
    }

    // A box with suggestions: the first letters of an earlier value of its field or others,
    // then the list under it answered by the keys or a click.
    void suggestInto(const Turn &t)
    {
        QList<QPair<FieldBox *, QString>> boxes, earlier; // with a value of an earlier record
        for (FieldBox *b : controls<FieldBox>(t.window))
            if (const int field = FieldCatalogue::fieldFromBox(b->index()); SuggestionIndex::hasSuggestions(field)) {
                boxes.append({b, QStringLiteral("ЛВМKТ7").mid(m_random.below(6))});
                for (int r = 1; r <= m_journal->RecordCount; ++r)
                    if (!m_journal->table.text(r, field).isEmpty())
                        earlier.append({b, m_journal->table.text(r, field)});
            }
        if (boxes.isEmpty())
            return;
        auto [box, text] = m_random.pick(earlier.isEmpty() || m_random.chance(20) ? boxes : earlier);
        text.truncate(1 + m_random.below(3));
        note(t.prefix + QStringLiteral("suggestions of %1 for \"%2\"").arg(nameOf(box), text));
        const QPointer<QWidget> alive(t.window);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        // Over the box's text, mostly; or after it.
        const QKeyCombination over = m_random.chance(80) ? Qt::ControlModifier | Qt::Key_A
                                                         : QKeyCombination(Qt::Key_End);
        if (alive)
            typeKey(t.window, [over](QWidget *w) { QTest::keyClick(w, over.key(), over.keyboardModifiers()); });
        for (const QChar c : text)
            if (alive)
                typeKey(t.window,
                        [c](QWidget *w) { QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), {}); });
        auto *list = alive ? t.window->findChild<QListWidget *>(QStringLiteral("lstSuggestions")) : nullptr;
        if (!list || !list->isVisible())
            return;
        const int downs = m_random.below(int(list->count()) + 1), end = m_random.below(6);
        note(t.prefix + QStringLiteral("  Down %1 times of %2, then %3").arg(downs).arg(list->count()).arg(end));
        for (int n = 0; n < downs; ++n)
            typeKey(t.window, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Down); });
        static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_A};
        const Qt::KeyboardModifiers shift = end == 2 ? Qt::ShiftModifier : Qt::NoModifier;
        if (end < 5)
            return typeKey(t.window, [end, shift](QWidget *w) { QTest::keyClick(w, keys[end], shift); });
        const QRect item = list->visualItemRect(list->item(m_random.below(int(list->count()))));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    }

    // The page before a drag: where the labels are, which are selected, its steps to undo.
    struct PageLook
    {
        QPointer<frmPTS1> page;
        QList<MmPoint> pos;
        QList<bool> selected;
        qsizetype steps;
    };
    static PageLook look(frmPTS1 *page)
    {
        PageLook l{page, {}, {}, page->undoStack().count()};
        for (int i = 0; i < kLabelCount; ++i)
            l.pos << page->layout().label(i).pos, l.selected << page->layout().isSelected(i);
        return l;
    }
    // Only selected labels moved, by one step at most; the frame is gone with the button.
    void checkPage(const PageLook &b, bool held)
    {
        if (!b.page)
            return;
        const CertificateLayout &layout = b.page->layout();
        for (int i = 0; i < kLabelCount; ++i)
            if (layout.label(i).pos != b.pos.at(i) && !b.selected.at(i) && !layout.isSelected(i))
                fail(QStringLiteral("label %1 moved, never selected").arg(i));
        if (b.page->undoStack().count() > b.steps + 1)
            fail(QStringLiteral("%1 steps to undo after one action").arg(b.page->undoStack().count() - b.steps));
        const auto *frame = b.page->view().viewport()->findChild<QWidget *>(QStringLiteral("frmPTS1.frame"));
        if (!held && frame && frame->isVisible())
            fail(QStringLiteral("the frame shows with no button held"));
    }
    static void sendMouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
                          Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent event(type, at, w->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(w, &event);
    }
    // The left button pressed on a shown label, the empty page or the stamp and signature, or
    // none, moved, and let go, Esc, the button's release seen elsewhere, another button, the
    // window closed; or the "Поле" menu's aligning.
    void dragOnPage(const Turn &t)
    {
        frmPTS1 *page = pageOf(t);
        QWidget *viewport = page->view().viewport();
        QList<int> shown;
        for (int i = 0; i < kLabelCount; ++i)
            if (page->layout().label(i).visible)
                shown << i;
        const CertificateLayout::Label &l = page->layout().label(shown.isEmpty() ? 0 : m_random.pick(shown));
        const MmPoint pic = page->layout().picture(m_random.chance(50) ? PictureId::ImPech : PictureId::ImPodp).pos;
        const int where = m_random.below(6); // a label, twice; the page, a picture, no press, aligning
        const QPointF mm = where < 2 || where == 5 ? QPointF(l.pos.left + 0.8, l.pos.top + l.height / 2)
            : where == 2                           ? QPointF(40 + m_random.below(60), 120 + m_random.below(80))
                                                   : QPointF(pic.left + 1, pic.top + 1);
        const QPoint from = page->view().mapFromScene(mm);
        const Qt::KeyboardModifiers mods = m_random.chance(30) ? Qt::ControlModifier : Qt::NoModifier;
        const Qt::MouseButtons held = where < 4 ? Qt::LeftButton : Qt::NoButton;
        const int moves = where < 5 ? m_random.below(6) : 0, end = where < 4 ? m_random.below(5) : 0;
        note(t.prefix
             + QString::asprintf("drag %d from (%d,%d) mods %d, %d moves, end %d", where, from.x(), from.y(), int(mods),
                                 moves, end));
        const PageLook before = look(page);
        if (where == 5) {
            QTest::mouseClick(viewport, Qt::RightButton, {}, from);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            auto *item = page->findChild<QAction *>(m_random.chance(50) ? QStringLiteral("Menu_Fild_AlignLeft")
                                                                        : QStringLiteral("Menu_Fild_AlignTop"));
            if (menu && item->isEnabled() && menu->actions().contains(item))
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            return checkPage(before, m_heldOn == page);
        }
        if (held)
            sendMouse(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton, held, mods);
        QPoint at = from;
        for (int n = 0; n < moves && before.page; ++n) {
            at = m_random.chance(40) ? from + QPoint(m_random.below(9) - 4, m_random.below(9) - 4)
                                     : QPoint(m_random.below(viewport->width()), m_random.below(viewport->height()));
            sendMouse(viewport, QEvent::MouseMove, at, Qt::NoButton, held, mods);
        }
        if (!before.page)
            return;
        if (end == 4)
            return closeBox(t);
        if (end == 0 && held)
            sendMouse(viewport, QEvent::MouseButtonRelease, at, Qt::LeftButton, {}, mods);
        else if (end == 1)
            QTest::keyClick(&page->view(), Qt::Key_Escape);
        else if (end < 3)
            sendMouse(viewport, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, mods);
        else if (const auto other = m_random.chance(50) ? Qt::RightButton : Qt::MiddleButton; end == 3)
            sendMouse(viewport, QEvent::MouseButtonPress, at, other, held | other, mods);
        if (end != 1)
            m_heldOn = end == 3 ? page : nullptr;
        checkPage(before, m_heldOn == page);
    }

    quint64 m_seed;
    int m_budget;
    int m_step = 0;
    int m_actions = 0;
    bool m_inWait = false;
    // The widgets the keys of the current action went to, with their texts before.
    QList<QPair<QPointer<QWidget>, QString>> m_typedInto;
    QStringList m_log;
    QString m_failure;
    Random m_random;
    TestPlatform m_test;
    MonkeyDialogs m_dialogs;
    MonkeyClock m_clock;
    Platform m_platform;
    std::unique_ptr<Journal> m_journal;
    std::unique_ptr<LayoutState> m_state;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<Edited> m_edited;
    QPair<qint64, QDateTime> m_settingsStamp;
    // The journal last saved or restored, the copies' folder and the program's copies in it at
    // the last look, the operator's files elsewhere; a restore said done meanwhile.
    QByteArray m_confirmed;
    QStringList m_files, m_own;
    QSet<QString> m_protected;
    QString m_restoredFrom;
    std::optional<QByteArray> m_restoredBytes;
    // The positions stored, what the operator stored meanwhile (positions, or entries put back by
    // an undo or redo of "Сброс"), and the steps of the open page at the last look.
    Entries m_stored;
    QPair<qint64, QDateTime> m_layoutStamp;
    std::optional<Entries> m_storing, m_restoring;
    bool m_resetAsked = false;
    QPointer<frmPTS1> m_undoPage;
    QList<QPair<const QUndoCommand *, QString>> m_steps;
    int m_undoIndex = 0;
    // Each "Сброс" of the open page: the entries before it, and after.
    QHash<const QUndoCommand *, QPair<Entries, Entries>> m_resets;
    const QUndoCommand *m_newReset = nullptr;
    int m_copiesMade = 0, m_copiesRemoved = 0, m_restores = 0, m_undos = 0;
    // The page whose drag another button ended: the left one is held over it still.
    QPointer<frmPTS1> m_heldOn;
};

const std::array<Monkey::Action, 16> Monkey::kActions = {{
    {"menu item", 85, [](const Turn &t) { return t.menu && !itemsOf(t.menu).isEmpty(); }, &Monkey::clickMenuItem},
    {"Esc on a menu", 15, [](const Turn &t) { return t.menu != nullptr; }, &Monkey::escapeMenu},
    {"no window", 1, [](const Turn &t) { return !t.menu && !t.window; }, &Monkey::noWindow},
    {"close box", 4, [](const Turn &t) { return t.window != nullptr; }, &Monkey::closeBox},
    {"click on a disabled window", 96, [](const Turn &t) { return t.window && !t.window->isEnabled(); },
     &Monkey::clickDisabled},
    {"button", 30, &Monkey::enabled, &Monkey::clickButton},
    {"menu of the bar", 6, &Monkey::enabled, &Monkey::openMenuBar},
    {"command of the bar", 10, [](const Turn &t) { return enabled(t) && t.window->findChild<QMenuBar *>(); },
     &Monkey::menuCommand},
    {"right click", 6, &Monkey::enabled, &Monkey::rightClick},
    {"grid row", 8, &Monkey::enabled, &Monkey::clickGridRow},
    {"certificate page", 10, &Monkey::enabled, &Monkey::actOnPage},
    {"click into", 8, &Monkey::enabled, &Monkey::clickInto},
    {"key", 14, &Monkey::enabled, &Monkey::pressKey},
    {"typing or pasting", 14, &Monkey::enabled, &Monkey::typeText},
    {"suggestions", 8,
     [](const Turn &t) {
         auto *e = qobject_cast<frm *>(t.window);
         return enabled(t) && e && !e->certificateOpen();
     },
     &Monkey::suggestInto},
    {"drag on the page", 8, [](const Turn &t) { return pageOf(t) != nullptr; }, &Monkey::dragOnPage},
}};

class OperatorMonkeyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomOperator()
    {
        quint64 first = 1, last = 1;
        const QString seeds = qEnvironmentVariable("TRELVAX_MONKEY_SEED");
        if (!seeds.isEmpty()) {
            first = seeds.section(QLatin1Char('-'), 0, 0).toULongLong();
            last = seeds.contains(QLatin1Char('-')) ? seeds.section(QLatin1Char('-'), 1, 1).toULongLong() : first;
        }
        const int budget = qEnvironmentVariableIsSet("TRELVAX_MONKEY_ACTIONS")
            ? qEnvironmentVariableIntValue("TRELVAX_MONKEY_ACTIONS")
            : 2000;
        QElapsedTimer timer;
        timer.start();
        qint64 actions = 0;
        for (quint64 seed = first; seed <= last; ++seed) {
            Monkey monkey(seed, budget);
            const QString failure = monkey.run();
            actions += monkey.actions();
            std::fprintf(stderr, "MONKEY seed %llu: %s\n", seed, qPrintable(monkey.figures()));
            if (qEnvironmentVariableIsSet("TRELVAX_MONKEY_LOG"))
                std::fprintf(stderr, "%s\n", qPrintable(monkey.report()));
            if (!failure.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(monkey.report()));
                QFAIL(qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(failure)));
            }
        }
        std::fprintf(stderr, "MONKEY seeds %llu-%llu: %lld actions in %.1f s\n", first, last, actions,
                     timer.elapsed() / 1000.0);
    }
};

QTEST_MAIN(OperatorMonkeyTest)
#include "tst_OperatorMonkey.moc"
