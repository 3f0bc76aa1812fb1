// The operator who tries everything: a seeded random walk over the controls of whatever windows
// are open (every enabled button, menu item, context menu item, close box, grid row, certificate
// label, key and typed text), with message boxes and file dialogs answered at random, also while
// the page picture's wait runs. After every step the program must still be there; after every
// closed editor the journal on disk must load and hold that record as the operator left it; the
// settings file must read back. Controls are found by what they are and their objectName, so a
// window or button added later joins in by itself.
//
// TRELVAX_MONKEY_SEED (or a range "first-last") and TRELVAX_MONKEY_ACTIONS set the run; a
// failure prints both and the actions taken, which the same two values replay.
#include "TestPlatform.h"

#include "app/WindowWiring.h"
#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "journal/FieldInputRules.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "platform/Cp1251.h"
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
#include <QFileInfo>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QSettings>
#include <QTest>
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

// Every answer at random, every question recorded in the action list.
class MonkeyDialogs final : public Dialogs
{
public:
    MonkeyDialogs(Random &random, QStringList &log, const QString &folder)
        : m_random(random), m_log(log), m_folder(folder)
    {
    }
    QStringList savedFiles;

    Answer message(const Message &message, QWidget *owner) override
    {
        QList<Answer> offered;
        switch (message.buttons) {
        case Buttons::Ok:
            offered = {Answer::Ok};
            break;
        case Buttons::OkCancel:
            offered = {Answer::Ok, Answer::Cancel};
            break;
        case Buttons::YesNo:
            offered = {Answer::Yes, Answer::No};
            break;
        case Buttons::YesNoCancel:
            offered = {Answer::Yes, Answer::No, Answer::Cancel};
            break;
        case Buttons::RetryCancel:
            offered = {Answer::Retry, Answer::Cancel};
            break;
        }
        const Answer answer = m_random.pick(offered);
        m_log
            << QStringLiteral("      box over %1 \"%2\": %3").arg(nameOf(owner), shown(message.text)).arg(int(answer));
        return answer;
    }
    std::optional<QString> openFile(const FileRequest &request, QWidget *owner) override
    {
        QStringList choices = {QString(),
                               m_folder + QStringLiteral("/pictures/blank.png"),
                               m_folder + QStringLiteral("/pictures/blank.jpg"),
                               m_folder + QStringLiteral("/pictures/junk.png"),
                               m_folder + QStringLiteral("/missing.png"),
                               m_folder + QStringLiteral("/pictures")};
        choices += savedFiles;
        return answerFile(choices, request, owner);
    }
    std::optional<QString> saveFile(const FileRequest &request, QWidget *owner) override
    {
        const QString name = QStringLiteral("/saved%1.jpg").arg(m_random.below(4));
        const QStringList choices = {QString(), m_folder + name, m_folder + QStringLiteral("/no/such/folder") + name,
                                     m_folder + QStringLiteral("/pictures")};
        const std::optional<QString> path = answerFile(choices, request, owner);
        if (path && !savedFiles.contains(*path))
            savedFiles << *path;
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
    std::optional<QString> answerFile(const QStringList &choices, const FileRequest &request, QWidget *owner)
    {
        const QString path = m_random.pick(choices);
        m_log << QStringLiteral("      file over %1 \"%2\": %3")
                     .arg(nameOf(owner), shown(request.filter), path.isEmpty() ? QStringLiteral("cancelled") : path);
        if (path.isEmpty())
            return std::nullopt;
        return path;
    }

    Random &m_random;
    QStringList &m_log;
    QString m_folder;
};

// The page picture's wait, during which the operator goes on acting.
class MonkeyClock final : public Clock
{
public:
    std::function<void()> duringWait;
    QDateTime now() const override { return QDateTime(QDate(2025, 12, 8), QTime(14, 5)); }
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
        QByteArray journal;
        for (int i = 1; i <= 6; ++i)
            journal += journalLine({QString::number(i), QStringLiteral("А%1ВС77").arg(i),
                                    QStringLiteral("VIN%1").arg(i), QStringLiteral("ЛАДА %1").arg(i)});
        m_test.writeJournal(journal);
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

    // Operator edits: a box the operator typed into, a label corrected in the certificate.
    struct Before
    {
        QPointer<frmPTS1> page;
        std::array<QString, EditorBoxes::kBoxCount> labels;
    };
    Before before() const
    {
        Before b;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *frame = qobject_cast<MDIForm1 *>(w); frame && frame->isVisible() && frame->printWindow())
                b.page = frame->printWindow();
        if (b.page)
            for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
                b.labels[size_t(i)] = b.page->layout().label(i).text;
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
    QList<T *> controls(QWidget *window) const
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

    void perform(const QString &prefix)
    {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            QList<QAction *> items;
            for (QAction *a : menu->actions())
                if (a->isVisible() && a->isEnabled() && !a->isSeparator() && !a->menu())
                    items << a;
            if (items.isEmpty() || m_random.chance(15)) {
                note(prefix + QStringLiteral("Esc on menu %1").arg(nameOf(menu)));
                QTest::keyClick(menu, Qt::Key_Escape);
                if (QApplication::activePopupWidget() == menu)
                    menu->close();
                return;
            }
            QAction *item = m_random.pick(items);
            note(prefix + QStringLiteral("menu item %1 \"%2\"").arg(nameOf(item), item->text()));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            return;
        }
        const QList<QWidget *> open = windows();
        if (open.isEmpty()) {
            note(prefix + QStringLiteral("no window"));
            return;
        }
        QWidget *window = m_random.pick(open);

        const int kind = m_random.below(100);
        if (kind < 4) {
            note(prefix + QStringLiteral("close box of %1").arg(nameOf(window)));
            if (QWindow *handle = window->windowHandle())
                handle->close();
            else
                window->close();
            return;
        }
        if (!window->isEnabled()) {
            note(prefix + QStringLiteral("click on the disabled %1").arg(nameOf(window)));
            return;
        }
        if (kind < 34) {
            const QList<QAbstractButton *> buttons = controls<QAbstractButton>(window);
            if (buttons.isEmpty())
                return;
            QAbstractButton *button = m_random.pickControl(buttons);
            note(prefix + QStringLiteral("click %1/%2").arg(nameOf(window), nameOf(button)));
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            return;
        }
        if (kind < 40) {
            auto *bar = window->findChild<QMenuBar *>();
            if (!bar || !bar->isVisible())
                return;
            QList<QAction *> menus;
            for (QAction *a : bar->actions())
                if (a->isVisible() && a->isEnabled())
                    menus << a;
            if (menus.isEmpty())
                return;
            QAction *menu = m_random.pick(menus);
            note(prefix + QStringLiteral("menu bar %1 \"%2\"").arg(nameOf(window), menu->text()));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu).center());
            return;
        }
        if (kind < 46) {
            // A right click anywhere: the context menus.
            QList<QWidget *> widgets = controls<QWidget>(window);
            if (widgets.isEmpty())
                return;
            QWidget *w = m_random.pickControl(widgets);
            note(prefix + QStringLiteral("right click %1/%2").arg(nameOf(window), nameOf(w)));
            QTest::mouseClick(w, Qt::RightButton, {}, w->rect().center());
            return;
        }
        if (kind < 54) {
            const QList<RecordGrid *> grids = controls<RecordGrid>(window);
            if (grids.isEmpty())
                return actOnPage(window, prefix);
            RecordGrid *grid = grids.first();
            const int rows = grid->model()->rowCount();
            if (rows == 0)
                return;
            const int row = m_random.below(rows);
            const QRect cell = grid->visualRect(grid->model()->index(row, m_random.below(6)));
            if (!cell.isValid())
                return;
            const bool twice = m_random.chance(40);
            note(prefix
                 + QStringLiteral("%1 grid row %2")
                       .arg(twice ? QStringLiteral("double click") : QStringLiteral("click"))
                       .arg(row + 1));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            if (twice)
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            return;
        }
        if (kind < 64)
            return actOnPage(window, prefix);
        if (kind < 72) {
            // Into a text box, or onto a named label (the about box's links).
            QList<QWidget *> places;
            for (QLineEdit *e : controls<QLineEdit>(window))
                places << e;
            for (QLabel *l : controls<QLabel>(window))
                places << l;
            if (places.isEmpty())
                return;
            QWidget *w = m_random.pickControl(places);
            note(prefix + QStringLiteral("click into %1/%2").arg(nameOf(window), nameOf(w)));
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            return;
        }
        // Keys and typing go where the keyboard focus is.
        const QPointer<QWidget> alive(window);
        const QString focusName = nameOf(window->focusWidget());
        if (kind < 86) {
            static const QList<QPair<Qt::Key, Qt::KeyboardModifiers>> keys = {
                {Qt::Key_Left, {}},      {Qt::Key_Right, {}},  {Qt::Key_Up, {}},
                {Qt::Key_Down, {}},      {Qt::Key_Escape, {}}, {Qt::Key_Return, {}},
                {Qt::Key_Enter, {}},     {Qt::Key_Tab, {}},    {Qt::Key_Backtab, Qt::ShiftModifier},
                {Qt::Key_Backspace, {}}, {Qt::Key_Delete, {}}, {Qt::Key_A, Qt::ControlModifier},
                {Qt::Key_Home, {}},      {Qt::Key_End, {}},    {Qt::Key_Left, Qt::ControlModifier},
                {Qt::Key_Space, {}}};
            const auto key = m_random.pick(keys);
            note(prefix
                 + QStringLiteral("key %1 (%2) to %3/%4")
                       .arg(QKeySequence(key.first | key.second).toString())
                       .arg(int(key.first))
                       .arg(nameOf(window), focusName));
            typeKey(window, [&](QWidget *w) { QTest::keyClick(w, key.first, key.second); });
            return;
        }
        QString text;
        for (int n = 1 + m_random.below(5); n > 0; --n)
            text += kPieces[size_t(m_random.below(int(kPieces.size())))];
        if (m_random.chance(30)) {
            note(prefix + QStringLiteral("paste \"%1\" into %2/%3").arg(shown(text), nameOf(window), focusName));
            QGuiApplication::clipboard()->setText(text);
            typeKey(window, [](QWidget *w) { QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier); });
            return;
        }
        note(prefix + QStringLiteral("type \"%1\" into %2/%3").arg(shown(text), nameOf(window), focusName));
        for (const QChar c : text) {
            if (!alive || !window->isVisible())
                break;
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                typeKey(window, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Return); });
            else if (c == QLatin1Char('\t'))
                typeKey(window, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Tab); });
            else
                typeKey(window, [c](QWidget *w) {
                    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
                });
        }
    }

    // Clicks on the certificate page: labels, the empty page, with each button and Ctrl.
    void actOnPage(QWidget *window, const QString &prefix)
    {
        auto *frame = qobject_cast<MDIForm1 *>(window);
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
        note(prefix
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
};

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
