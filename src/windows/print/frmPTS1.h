#pragma once

#include "certificate/LayoutTypes.h"

#include "platform/CommonDialog.h"

#include <QWidget>

#include <array>
#include <memory>

struct LayoutState;
struct Platform;
class CertificateLayout;
class CertificateScene;
class EditorBoxes;
class LabelDrag;
class LayoutStore;
class PictureFileCommands;
class PagePrint;
class PageUndo;
class QAction;
class QCheckBox;
class QFrame;
class QGraphicsView;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QUndoStack;

// The certificate as it will be printed: both sides of the blank side by side, the record's
// fields as labels over them, the stamp and the signature. The operator nudges the labels
// until the text lands in the boxes of the paper form, and corrects texts in place.
class frmPTS1 final : public QWidget
{
    Q_OBJECT

public:
    // Outer size, in twips.
    static constexpr int kWidthTwips = 16725;
    static constexpr int kHeightTwips = 11625;

    frmPTS1(Platform &platform, LayoutState &state, EditorBoxes &editor, QWidget *parent = nullptr);
    ~frmPTS1() override;

    // The opening: texts from the editor, stored positions, settings, fonts, colours, stamp
    // and signature. Called once, after the frame has connected to the signals.
    void LoadPrintForm();

    CertificateLayout &layout() const { return *m_layout; }
    CertificateScene &scene() const { return *m_scene; }
    QGraphicsView &view() const { return *m_view; }
    // The page area of the window in millimetres.
    QRectF pageRectMm() const;

    // The label operations, as the mouse, the keys, the menus and the frame start them.
    void SelectLabel(int i, Qt::KeyboardModifiers modifiers); // a click on a label; Ctrl adds to the selection
    void ClearSelection();
    void ClearSelectionByKey();
    void SelectAllLabels();
    void MoveSelectedLabels(float dx, float dy); // arrow keys and the frame's arrows
    void MoveSideGroup(float dx, float dy);      // the panel's arrows: what the side's "Двигать" boxes tick
    void ShowFontInfo(int i);                    // "Информация о шрифте" of a label
    void OpenLabelEditor(int i);                 // txt1 over a label: its text corrected in place
    void CommitLabelEditor(bool byEnter);
    void CloseLabelEditor();
    void ChooseNumberColour(bool red); // "Цвет красного/черного номера"
    void ResetNumberColour(bool red);  // "Сброс цвета красного/черного номера"
    void SaveLayout();
    void ResetLayout();
    // The frame's font commands, with the frame's own dialogs.
    void FrameChangeLabelFont(CommonDialog &frameDialogs);
    void ResetLabelFonts(CommonDialog &frameDialogs);
    // The window's steps: "Отменить" and "Повторить", Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z.
    QUndoStack &undoStack() const;
    void Undo();
    void Redo();
    // The page as shown, without the side panel, into a picture file the operator names. A
    // second one asked for while the first waits for the repaint is refused.
    void SavePagePicture();
    // From the file dialog to the last question of SavePagePicture: events are processed
    // meanwhile, so the window must not close or be replaced until it is over.
    bool isSavingPicture() const { return m_savingPicture; }

    CommonDialog &commonDialog() { return CommonDialog1; }
    // Printing at 1:1, the PDF and the printer calibration.
    PagePrint &pagePrint() const { return *m_print; }

    // "Выровнять по левому краю" and "Выровнять по верхнему краю" of the "Поле" menu: every
    // selected label takes the left or the top of label `to`; nothing with fewer than two.
    void AlignSelectedLabels(int to, bool left);

Q_SIGNALS:
    void captionChanged(const QString &caption);
    void labelArrowsEnabled(bool enabled);
    // A label or picture moved: the frame's "Сохранить" becomes enabled.
    void layoutMoved();
    void layoutSaved();
    void frameButtonsShown();
    // A built-in picture is wanted back: the frame closes this window and opens a fresh one.
    void reopenRequested();
    // SavePagePicture has ended: a close or a reload asked for meanwhile may go ahead.
    void pictureSaved();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The left button dragged over the page: the selected labels follow it, or a frame selects.
    void startDrag();
    void dropLabels(const QList<int> &labels, float dx, float dy);
    void selectFramed(const QList<int> &labels);
    LabelDrag *m_drag = nullptr;
    // The label the "Поле" menu was opened on, and the menu's aligning items.
    int m_menuLabel = 0;
    QAction *Menu_Fild_AlignLeft = nullptr;
    QAction *Menu_Fild_AlignTop = nullptr;

    void buildPage();
    void buildPanel();
    void buildMenus();
    void readNastr();         // the "Nastr" entries: the operator's own blanks, stamp, signature
    void writeNastr();        // the same, back at the close
    void readNumberColours(); // "PTS1CRNB1/2": the red and black number colours
    void applyFontTable();    // the label fonts of the file Shrift
    void loadOverlays();      // pechat.png and podpis.png, or the chosen files
    void UnloadPrintForm();   // Shrift, Nastr and colours stored; the texts back to the editor
    void focusEditorBox();
    bool handleKey(QKeyEvent *event);
    bool handleMouse(QMouseEvent *event);
    bool handleEditorKey(QKeyEvent *event);
    int labelAt(const QPoint &viewportPos) const;
    void placeLabelEditor();
    void applyVisibility();
    void buildUndoKeys();

    Platform &m_platform;
    LayoutState &m_state;
    EditorBoxes &m_editor;
    std::unique_ptr<CertificateLayout> m_layout;
    std::unique_ptr<LayoutStore> m_store;
    CertificateScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
    QWidget *m_viewport = nullptr;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_savingPicture = false;
    // The window's own dialogs; its colour is the last one chosen while the window is open.
    CommonDialog CommonDialog1;
    PagePrint *m_print = nullptr;
    // The changes of the page the operator can take back; they go with the window.
    PageUndo *m_undo = nullptr;

    // The "Nastr" settings and the picture file commands of the "Номер" menu.
    PictureFileCommands *m_pictureFiles = nullptr;

    QFrame *Frame1 = nullptr;         // the side panel
    std::array<QLabel *, 2> Label1{}; // "Сторона 1", "Сторона 2"
    QCheckBox *ChFon1 = nullptr;      // "Двигать Фон", side 1
    QCheckBox *ChN1 = nullptr;        // "Двигать Надписи", side 1
    QCheckBox *ChFonVis1 = nullptr;   // "Показывать Фон", side 1
    QCheckBox *ChNVis1 = nullptr;     // "Показывать Надписи", side 1
    QCheckBox *ChFon2 = nullptr;      // "Двигать Фон", side 2
    QCheckBox *ChN2 = nullptr;        // "Двигать Надписи", side 2
    QCheckBox *ChPech2 = nullptr;     // "Двигать Печать"
    QCheckBox *ChPodp2 = nullptr;     // "Двигать Подпись"
    QCheckBox *ChFonVis2 = nullptr;   // "Показывать Фон", side 2
    QCheckBox *ChNVis2 = nullptr;     // "Показывать Надписи", side 2
    QCheckBox *ChPechVis2 = nullptr;  // "Показывать Печать"
    QCheckBox *ChPodpVis2 = nullptr;  // "Показывать Подпись"
    QPushButton *CmdUp = nullptr;     // "↑": what the "Двигать" boxes tick, up
    QPushButton *CmLleft = nullptr;   // "←", left
    QPushButton *CmdRight = nullptr;  // "→", right
    QPushButton *CmdDown = nullptr;   // "↓", down
    QLineEdit *txt1 = nullptr;        // the in-place editor of a label's text, yellow

    QMenu *Menu_Fild = nullptr; // "Поле": "Выделить все поля", "Шрифт"
    QMenu *Menu_Number = nullptr; // "Номер": number colours, own pictures, "Сохранить изображение как JPG "
};
