#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>

struct Journal;
struct Platform;
class JournalGridModel;
class frm;
class RecordGrid;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// The journal: every vehicle record as a row of the grid. The operator starts here, picks a
// record, deletes one, and closes the program from here.
class Form1 final : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kColumns = 6;

    // Runs the start-up: the screen check, the journal load, the stored grid settings. When the
    // journal cannot be loaded the program has been ended and isLoaded() is false.
    Form1(Platform &platform, Journal &journal, QWidget *parent = nullptr);
    ~Form1() override;

    bool isLoaded() const { return m_loaded; }

    // Loads the journal file into the record table; false when the program was ended.
    bool OPFILE1();
    // Rebuilds the grid rows from the record table; every mark disappears.
    void ZAPOLNTABL();

    RecordGrid *grid() const { return g; }
    JournalGridModel *gridModel() const { return m_model; }
    int columnAlignment(int column) const { return Calg.at(size_t(column)); }
    void setColumnAlignment(int column, int code);
    // The record editor while it is open.
    frm *editor() const;

Q_SIGNALS:
    // The record editor has just been made for New or Open, before it is shown.
    void editorOpened(frm *editor);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void Form_Load();
    void checkScreen();
    void readSettings();
    void storeSettings();
    void layOutGrid();
    void showCaption(int index);
    void hideCaptions();

    void g_Click();      // a row marked yellow; Delete enabled from record 2 on
    void g_DblClick();   // a row opened: the record editor for it
    void Cmd1_Click();   // "Новый": a new record in the editor
    void CmdDel_Click(); // "Удалить": the marked record, after asking
    // Search: marks the hits, scrolls to the first and reports; Reset removes the marks.
    void Cmd2_Click();            // "Найти"
    void Command1_Click();        // "Сброс": clears the search marks
    void Menu_Nastr_Tabl_Click(); // "Настройки" → "Таблица": frmNastTabl
    void Menu_Tuns_RCopy_Click(); // "Резервное копирование базы"
    void Menu_Tuns_Vost_Click();  // "Восстановление базы из резервной копии"
    void Command2_Click();        // "О программе": frmAbout
    // Shows a dialog of the journal window over it; the journal window takes it along when it goes.
    void showDialog(QWidget *dialog);
    void showEditor();
    void frm_Closed(); // the editor has stored its record: the grid anew, the window back
    // The editor's suggestions brought up to date with the records, when they are on.
    void prepareSuggestions();

    Platform &m_platform;
    Journal &m_journal;
    bool m_loaded = false;
    // Set once the program was ended without its closing steps (after a restore).
    bool m_ended = false;
    // The table settings dialog or the about box while one is open.
    QPointer<QWidget> m_dialog;
    // Where the run's last backup went: the next backup dialog opens there.
    QString m_backupFolder;

    JournalGridModel *m_model = nullptr;
    RecordGrid *g = nullptr;         // the grid of the records, row r = record r
    QPushButton *Cmd1 = nullptr;     // icon; "Новый"
    QPushButton *CmdDel = nullptr;   // icon; "Удалить", enabled once a row is marked
    QLineEdit *txtfind = nullptr;    // the text to search for
    QLabel *Label1 = nullptr;        // "Поиск"
    QPushButton *Cmd2 = nullptr;     // icon; "Найти"
    QPushButton *Command1 = nullptr; // icon; "Сброс": clears the search marks
    QCheckBox *Ch1 = nullptr; // "Применять автозаполнение для нового Свидетельства"
    QPushButton *Command2 = nullptr; // icon; "О программе"
    std::array<QLabel *, 5> Lnadp{}; // hover captions "Новый", "Найти", "Сброс", "О программе", "Удалить"
    // The buttons whose hover captions are Lnadp(0..4).
    std::array<QPushButton *, 5> m_captionedButtons{};

    QMenu *Menu_Nastr = nullptr;        // "Настройки"
    QAction *Menu_Nastr_Tabl = nullptr; // "Таблица"
    QAction *Menu_Tuns_RCopy = nullptr; // "Резервное копирование базы"
    QAction *Menu_Tuns_Vost = nullptr;  // "Восстановление базы из резервной копии"
    QAction *Menu_Tuns_Podsk = nullptr; // "Подсказки при вводе": the editor's suggestions on or off
    bool m_suggestionsPrepared = false;
    QMenu *Menu_Help = nullptr;         // "Помощь"
    QAction *Menu_Help_About = nullptr; // "О программе"

    std::array<qint16, kColumns> Calg{4, 4, 4, 4, 4, 1}; // the columns' alignment codes: 1 left, 4 centre, 7 right
    QPointer<frm> m_editor;
};
