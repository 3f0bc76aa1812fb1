#include "Form1.h"

#include "frmNastTabl.h"
#include "journal/AutofillTemplate.h"
#include "journal/GridSettings.h"
#include "journal/Journal.h"
#include "journal/JournalBackup.h"
#include "journal/JournalFile.h"
#include "journal/JournalGridModel.h"
#include "journal/JournalRecords.h"
#include "journal/JournalSearch.h"
#include "journal/SuggestionSettings.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/ProgramExit.h"
#include "platform/ProgramFolders.h"
#include "platform/Screen.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"
#include "platform/desktop/BuiltInIcon.h"
#include "platform/desktop/RecordGrid.h"
#include "platform/desktop/WrappingCheckBox.h"
#include "windows/about/frmAbout.h"
#include "windows/editor/frm.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace {

namespace Text {
const QString caption = QStringLiteral("Журнал");
const QString search = QStringLiteral("Поиск");
const QString autofill = QStringLiteral("Применять автозаполнение для нового Свидетельства");
const std::array<QString, 5> hoverCaptions = {
    QStringLiteral("Новый"),       QStringLiteral("Найти"),   QStringLiteral("Сброс"),
    QStringLiteral("О программе"), QStringLiteral("Удалить"),
};
const QString menuSettings = QStringLiteral("Настройки");
const QString menuTable = QStringLiteral("Таблица");
const QString menuBackup = QStringLiteral("Резервное копирование базы");
const QString menuRestore = QStringLiteral("Восстановление базы из резервной копии");
const QString menuSuggestions = QStringLiteral("Подсказки при вводе");
const QString menuHelp = QStringLiteral("Помощь");
const QString menuAbout = QStringLiteral("О программе");
QString screenTooSmall(int width, int height)
{
    return QStringLiteral("У Вас разрешение экрана ") + QString::number(width) + QStringLiteral(" Х ")
        + QString::number(height)
        + QStringLiteral(", а программа расчитана на разрешение не менее чем 1280 Х 800 возможно "
                         "неправильное отображение!");
}
const QString screenCaption = QStringLiteral("Сообщение программы");
QString confirmDelete(int record)
{
    return QStringLiteral("Вы действительно хотите удалить из журнала запись № ") + QString::number(record);
}
const QString confirmDeleteCaption = QStringLiteral("Подтвердите удаление.");
QString found(qsizetype hits, int first)
{
    return QStringLiteral(" Количество найденых строк = ") + QString::number(hits)
        + QStringLiteral(".  Номер первой найденной строки = ") + QString::number(first);
}
QString notFound(const QString &text)
{
    return QStringLiteral("Выражение   ") + text + QStringLiteral("   не найдено.");
}
const QString searchCaption = QStringLiteral("Результаты поиска    ");
const QString journalFull = QStringLiteral(
    "В журнале уже 20000 записей — больше он вместить не может. Новая запись не создана.");
} // namespace Text

constexpr int kMinScreenWidth = 1280;
constexpr int kMinScreenHeight = 800;

// Positions in twips from the top left of the client area.
constexpr int kButtonTop = 60;
constexpr int kButtonSize = 555;
constexpr int kCaptionTop = 660;
constexpr int kGridLeft = 60;
constexpr int kGridTop = 975;
constexpr int kGridWidth = 10000;
constexpr int kGridHeight = 6495;

QPushButton *pictureButton(QWidget *parent, const QString &name, int left, const QString &picture)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(twipsRect(left, kButtonTop, kButtonSize, kButtonSize));
    const int iconSize = pixelsFromTwips(kButtonSize) - 8;
    button->setIcon(builtInIcon(QStringLiteral(":/assets/") + picture, iconSize));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

Form1::Form1(Platform &platform, Journal &journal, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_journal(journal)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Text::caption);
    buildControls();
    buildMenus();
    resize(1000, 600 + menuBar()->sizeHint().height());
    Form_Load();
}

Form1::~Form1()
{
    delete m_dialog;
    // The editor is a window of its own; it does not outlive the journal it edits.
    delete m_editor.data();
}

void Form1::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form1.client"));
    client->setMouseTracking(true);
    client->installEventFilter(this);
    setCentralWidget(client);

    Cmd1 = pictureButton(client, QStringLiteral("Cmd1"), 300, QStringLiteral("new.svg"));
    CmdDel = pictureButton(client, QStringLiteral("CmdDel"), 1320, QStringLiteral("delete.svg"));
    CmdDel->setEnabled(false);

    txtfind = new QLineEdit(client);
    txtfind->setObjectName(QStringLiteral("txtfind"));
    txtfind->setGeometry(twipsRect(2460, 240, 2175, 315));

    Label1 = new QLabel(Text::search, client);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(pixelsFromTwips(3240), pixelsFromTwips(kButtonTop));
    Label1->adjustSize();

    Cmd2 = pictureButton(client, QStringLiteral("Cmd2"), 4800, QStringLiteral("find.svg"));
    Command1 = pictureButton(client, QStringLiteral("Command1"), 5700, QStringLiteral("reset.svg"));

    Ch1 = new WrappingCheckBox(Text::autofill, client);
    Ch1->setObjectName(QStringLiteral("Ch1"));
    Ch1->setGeometry(twipsRect(6780, 120, 4200, 600));

    Command2 = pictureButton(client, QStringLiteral("Command2"), 11400, QStringLiteral("about.svg"));

    m_captionedButtons = {Cmd1, Cmd2, Command1, Command2, CmdDel};
    for (size_t i = 0; i < Lnadp.size(); ++i) {
        auto *label = new QLabel(Text::hoverCaptions[i], client);
        label->setObjectName(QStringLiteral("Lnadp(%1)").arg(i));
        label->adjustSize();
        label->move(m_captionedButtons[i]->x(), pixelsFromTwips(kCaptionTop));
        label->hide();
        Lnadp[i] = label;
        m_captionedButtons[i]->setAccessibleName(Text::hoverCaptions[i]);
        m_captionedButtons[i]->installEventFilter(this);
    }

    m_model = new JournalGridModel(m_journal, this);
    g = new RecordGrid(m_model, client);
    g->setObjectName(QStringLiteral("g"));
    g->setGeometry(twipsRect(kGridLeft, kGridTop, kGridWidth, kGridHeight));
    connect(g, &RecordGrid::rowClicked, this, &Form1::g_Click);
    connect(g, &RecordGrid::pointerMoved, this, &Form1::hideCaptions);

    connect(g, &RecordGrid::rowDoubleClicked, this, &Form1::g_DblClick);
    connect(Cmd1, &QPushButton::clicked, this, &Form1::Cmd1_Click);
    connect(CmdDel, &QPushButton::clicked, this, &Form1::CmdDel_Click);
    connect(Cmd2, &QPushButton::clicked, this, &Form1::Cmd2_Click);
    connect(txtfind, &QLineEdit::returnPressed, this, &Form1::Cmd2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
}

void Form1::buildMenus()
{
    Menu_Nastr = menuBar()->addMenu(Text::menuSettings);
    Menu_Nastr->setObjectName(QStringLiteral("Menu_Nastr"));
    Menu_Nastr_Tabl = Menu_Nastr->addAction(Text::menuTable);
    Menu_Nastr_Tabl->setObjectName(QStringLiteral("Menu_Nastr_Tabl"));
    Menu_Tuns_RCopy = Menu_Nastr->addAction(Text::menuBackup);
    Menu_Tuns_RCopy->setObjectName(QStringLiteral("Menu_Tuns_RCopy"));
    Menu_Tuns_Vost = Menu_Nastr->addAction(Text::menuRestore);
    Menu_Tuns_Vost->setObjectName(QStringLiteral("Menu_Tuns_Vost"));
    Menu_Tuns_Podsk = Menu_Nastr->addAction(Text::menuSuggestions);
    Menu_Tuns_Podsk->setObjectName(QStringLiteral("Menu_Tuns_Podsk"));
    Menu_Tuns_Podsk->setCheckable(true);
    Menu_Tuns_Podsk->setChecked(SuggestionSettings::isOn(m_platform.settings));

    Menu_Help = menuBar()->addMenu(Text::menuHelp);
    Menu_Help->setObjectName(QStringLiteral("Menu_Help"));
    Menu_Help_About = Menu_Help->addAction(Text::menuAbout);
    Menu_Help_About->setObjectName(QStringLiteral("Menu_Help_About"));

    connect(Menu_Nastr_Tabl, &QAction::triggered, this, &Form1::Menu_Nastr_Tabl_Click);
    connect(Menu_Tuns_RCopy, &QAction::triggered, this, &Form1::Menu_Tuns_RCopy_Click);
    connect(Menu_Tuns_Vost, &QAction::triggered, this, &Form1::Menu_Tuns_Vost_Click);
    connect(Menu_Tuns_Podsk, &QAction::toggled, this, [this](bool on) {
        SuggestionSettings::setOn(m_platform.settings, on);
        // Off, the index is of no use until the suggestions are switched on again.
        if (on)
            prepareSuggestions();
        else
            m_journal.suggestions.clear();
    });
    connect(Menu_Help_About, &QAction::triggered, this, &Form1::Command2_Click);
}

void Form1::Form_Load()
{
    checkScreen();
    ReadAutofillTemplate(m_journal.autofill, m_platform.programFile(AutofillTemplate::fileName()));
    if (!OPFILE1())
        return;
    m_journal.autoCopy.start(m_platform.clock, AutoCopySettings::read(m_platform.settings));
    readSettings();
    ZAPOLNTABL();
    m_journal.FocusBackColor = QColor(255, 255, 0);
    m_loaded = true;
}

void Form1::checkScreen()
{
    const QSize screen = m_platform.screen.sizeInPixels();
    if (screen.width() < kMinScreenWidth || screen.height() < kMinScreenHeight)
        m_platform.dialogs.inform(Text::screenTooSmall(screen.width(), screen.height()), Text::screenCaption,
                                  Dialogs::Icon::Information);
}

bool Form1::OPFILE1()
{
    // A folder without a journal is new to the program: the load makes its first journal, and
    // only then does it receive the sample stamp and signature.
    const bool firstJournal = !QFileInfo::exists(m_platform.programFile(JournalFile::fileName()));
    if (!::OPFILE1(m_journal, m_platform.programFolder, m_platform.dialogs, m_platform.exit))
        return false;
    if (firstJournal)
        ProgramFolders::copySamplePictures(m_platform.programFolder, m_platform.builtInFolder);
    return true;
}

void Form1::readSettings()
{
    const GridSettings stored = GridSettings::read(m_platform.settings);
    Calg = stored.alignments;
    for (int c = 0; c < kColumns; ++c)
        g->setColumnWidthTwips(c, stored.widthsTwips[size_t(c)]);
    Ch1->setChecked(stored.autofill);
}

void Form1::storeSettings()
{
    GridSettings current;
    for (int c = 0; c < kColumns; ++c)
        current.widthsTwips[size_t(c)] = g->columnWidthTwips(c);
    current.alignments = Calg;
    current.autofill = Ch1->isChecked();
    current.write(m_platform.settings);
    m_platform.settings.sync();
}

void Form1::setColumnAlignment(int column, int code)
{
    if (column < 0 || column >= kColumns || !JournalGridModel::isAlignmentCode(code))
        return;
    Calg[size_t(column)] = qint16(code);
    m_model->setColumnAlignment(column, code);
}

void Form1::ZAPOLNTABL()
{
    g->setUpdatesEnabled(false);
    m_model->rebuild();
    for (int c = 0; c < kColumns; ++c)
        m_model->setColumnAlignment(c, Calg[size_t(c)]);
    g->setUpdatesEnabled(true);
}

void Form1::layOutGrid()
{
    const QSize inner = centralWidget()->size();
    if (twipsFromPixels(inner.height()) <= 100)
        return;
    // A size the grid cannot take is skipped on its own: the other one still follows the window.
    const int width = inner.width() - pixelsFromTwips(100);
    const int height = inner.height() - pixelsFromTwips(1100);
    g->setGeometry(pixelsFromTwips(kGridLeft), pixelsFromTwips(kGridTop), width >= 0 ? width : g->width(),
                   height >= 0 ? height : g->height());
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layOutGrid();
}

void Form1::showCaption(int index)
{
    for (size_t i = 0; i < Lnadp.size(); ++i)
        Lnadp[i]->setVisible(int(i) == index);
}

void Form1::hideCaptions()
{
    for (QLabel *label : Lnadp)
        label->hide();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // Once the journal is on the screen, the editor's suggestions are made ready while the
    // operator looks at it, rather than when the first editor opens.
    if (type == QEvent::Paint && watched == centralWidget() && !m_suggestionsPrepared) {
        m_suggestionsPrepared = true;
        QTimer::singleShot(0, this, &Form1::prepareSuggestions);
    }
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        for (size_t i = 0; i < m_captionedButtons.size(); ++i) {
            if (watched == m_captionedButtons[i]) {
                showCaption(int(i));
                return QMainWindow::eventFilter(watched, event);
            }
        }
        if (watched == centralWidget() && type == QEvent::MouseMove)
            hideCaptions();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::g_Click()
{
    m_journal.CurrentRecord = 0;
    const int r = g->currentRow();
    if (r == 0)
        return;
    m_journal.CurrentRecord = r;
    m_model->clearMarks(JournalGridModel::Mark::Selected);
    m_model->setMark(r, JournalGridModel::Mark::Selected);
    CmdDel->setEnabled(m_journal.CurrentRecord > 1);
}

void Form1::g_DblClick()
{
    const int r = g->currentRow();
    if (r == 0)
        return;
    m_journal.NewRecordFlag = 0;
    m_journal.CurrentRecord = r;
    showEditor();
}

void Form1::Cmd1_Click()
{
    if (m_journal.RecordCount >= RecordTable::kMaxRecord) {
        m_platform.dialogs.inform(Text::journalFull, programTitle(), Dialogs::Icon::Exclamation);
        return;
    }
    // The slot after the last record, emptied and dated today, with the template when asked.
    PrepareNewRecord(m_journal, m_platform.clock.now().date(), Ch1->isChecked());
    showEditor();
}

void Form1::prepareSuggestions()
{
    if (m_loaded && SuggestionSettings::isOn(m_platform.settings))
        m_journal.suggestions.update(m_journal.table, m_journal.RecordCount);
}

frm *Form1::editor() const
{
    return m_editor;
}

void Form1::showEditor()
{
    auto *editor = new frm(m_platform, m_journal);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &frm::editorClosed, this, &Form1::frm_Closed);
    m_editor = editor;
    Q_EMIT editorOpened(editor);
    hide();
    editor->show();
}

void Form1::frm_Closed()
{
    ZAPOLNTABL();
    CmdDel->setEnabled(false);
    show();
}

void Form1::CmdDel_Click()
{
    if (m_journal.RecordCount < 2)
        return;
    m_journal.CurrentRecord = g->currentRow();
    if (m_journal.CurrentRecord < 2)
        return;
    const Dialogs::Answer answer = m_platform.dialogs.message({Text::confirmDelete(m_journal.CurrentRecord),
                                                               Text::confirmDeleteCaption, Dialogs::Icon::Information,
                                                               Dialogs::Buttons::YesNo, Dialogs::Answer::No});
    if (answer != Dialogs::Answer::Yes)
        return;

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    CmdDel->setEnabled(false);
    // The records after it move up one slot; the IDs stay 1..n.
    DeleteRecord(m_journal, m_journal.CurrentRecord);
    SaveJournal(m_journal, m_platform.dialogs);
    ZAPOLNTABL();
    prepareSuggestions();
    QGuiApplication::restoreOverrideCursor();
}

void Form1::Cmd2_Click()
{
    const QString s = JournalSearch::lowered(txtfind->text());
    if (s.isEmpty())
        return;
    Cmd2->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    g->setUpdatesEnabled(false);
    g->setCurrentColumn(0);
    m_model->clearMarks(JournalGridModel::Mark::SearchHit);
    const std::vector<int> hits = JournalSearch::find(m_journal.table, m_journal.RecordCount, s);
    // A record's row is the one its ID names, which by the load's numbering is the record itself.
    m_model->setMarks(hits, JournalGridModel::Mark::SearchHit);
    const int first = hits.empty() ? 0 : hits.front();
    if (first > 0)
        g->setTopRow(first);
    g->setUpdatesEnabled(true);
    QGuiApplication::restoreOverrideCursor();
    Cmd2->setEnabled(true);

    if (first > 0)
        m_platform.dialogs.inform(Text::found(qsizetype(hits.size()), first), Text::searchCaption + s,
                                  Dialogs::Icon::None);
    else
        m_platform.dialogs.inform(Text::notFound(s), Text::searchCaption, Dialogs::Icon::None);
}

void Form1::Command1_Click()
{
    Command1->setEnabled(false);
    g->setUpdatesEnabled(false);
    g->setCurrentColumn(0);
    m_model->clearMarks(JournalGridModel::Mark::SearchHit);
    g->setUpdatesEnabled(true);
    Command1->setEnabled(true);
}

void Form1::Menu_Nastr_Tabl_Click()
{
    static_assert(frmNastTabl::kRows == kColumns);
    showDialog(new frmNastTabl(*this, Calg, [this](int column, int code) { setColumnAlignment(column, code); }));
}

void Form1::Menu_Tuns_RCopy_Click()
{
    JournalBackup::backUp(m_journal, m_platform, m_backupFolder);
}

void Form1::Menu_Tuns_Vost_Click()
{
    // A restored journal takes effect at the next start; nothing of this run may be stored
    // over it, not even the grid's settings.
    if (JournalBackup::restore(m_platform, m_journal.autoCopy))
        m_ended = true;
}

void Form1::Command2_Click()
{
    showDialog(new frmAbout(*this, m_platform.shell));
}

void Form1::showDialog(QWidget *dialog)
{
    m_dialog = dialog;
    if (QWindow *own = windowHandle()) {
        dialog->winId();
        dialog->windowHandle()->setTransientParent(own);
    }
    dialog->move(geometry().center() - dialog->rect().center());
    dialog->show();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // The window manager's close box still reaches the window while the table settings
    // dialog or the about box holds it disabled: it does not react to that either.
    if (m_dialog && m_dialog->isVisible() && !isEnabled()) {
        event->ignore();
        return;
    }
    if (m_loaded && !m_ended)
        storeSettings();
    QMainWindow::closeEvent(event);
    hide();
    m_platform.exit.end(0);
}
