#pragma once

#include "platform/CommonDialog.h"

#include <QMainWindow>

struct LayoutState;
struct Platform;
class EditorBoxes;
class PageStatus;
class QAction;
class QMdiArea;
class QPushButton;
class QToolButton;
class QWidget;
class frmPTS1;

// The frame the certificate opens in: a strip of commands over the print window that select
// and nudge labels, store or reset their positions and close the certificate.
class MDIForm1 final : public QMainWindow
{
    Q_OBJECT

public:
    // Creates the frame with its print window and runs the print window's opening. The frame is
    // a window of its own; `parent`, when given, owns it (the editor it serves).
    MDIForm1(Platform &platform, LayoutState &state, EditorBoxes &editor, QWidget *parent = nullptr);
    ~MDIForm1() override;

    // What the editor's preview button does: a frame of its own, shown, that deletes itself
    // when it is closed and shows the editor again. `owner` (the editor window) owns the frame.
    static MDIForm1 *open(Platform &platform, LayoutState &state, EditorBoxes &editor, QWidget *owner = nullptr);

    frmPTS1 *printWindow() const { return m_child; }
    // The frame's own dialogs, for its font command.
    CommonDialog &commonDialog() { return CommonDialog1; }

    // "Закрыть": the print window closes with its question, then the frame; the editor shows.
    void ClosePrintWindow();
    // A fresh print window in place of the open one, which closes as usual first (its question,
    // its settings written, the texts handed back and the editor shown).
    void ReopenPrintWindow();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void openPrintWindow();
    void fitToScreen();
    void setLabelArrowsEnabled(bool enabled); // the arrows work while a label is selected
    void showFrameButtons();
    void pictureSaved(); // a close or reopen asked for during the page picture goes ahead
    // "Отменить" and "Повторить" as the print window's steps allow, named in their hover text.
    void showUndoState();

    Platform &m_platform;
    LayoutState &m_state;
    EditorBoxes &m_editor;
    QMdiArea *m_area = nullptr;
    frmPTS1 *m_child = nullptr;
    bool m_closing = false;
    // Asked for while the print window was taking the page picture: done once it is over.
    bool m_closeWhenSaved = false;
    bool m_reopenWhenSaved = false;
    CommonDialog CommonDialog1;

    // Under the print window: the pointer's place and the selection, in millimetres.
    PageStatus *m_status = nullptr;

    QWidget *Toolbar1 = nullptr;     // the strip of commands over the print window
    QAction *m_print = nullptr;      // "Печать": the page picture (SavePagePicture)
    QAction *m_delete = nullptr;     // "Закрыть": ClosePrintWindow
    QAction *m_undo = nullptr;       // "Отменить"
    QAction *m_redo = nullptr;       // "Повторить"
    QPushButton *SetAll = nullptr;   // "Выбрать все": every label selected
    QPushButton *SHR1 = nullptr;     // "Шрифт": the selected labels' font
    QPushButton *SHR3 = nullptr;     // "Вернуть шрифт": the built-in fonts back
    QPushButton *CmLleft = nullptr;  // "←": the selected labels a step left
    QPushButton *CmdRight = nullptr; // "→": a step right
    QPushButton *CmdUp = nullptr;    // "↑": a step up
    QPushButton *CmdDown = nullptr;  // "↓": a step down
    QPushButton *CmdSave = nullptr;  // "Сохранить": the positions stored (SaveLayout)
    QPushButton *CmdRes = nullptr;   // "Сброс": the reset positions, stored at once (ResetLayout)
};
