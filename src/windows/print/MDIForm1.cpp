#include "MDIForm1.h"

#include "PagePrint.h"
#include "PageStatus.h"
#include "certificate/EditorBoxes.h"
#include "certificate/LayoutState.h"
#include "frmPTS1.h"
#include "platform/Platform.h"
#include "platform/Screen.h"
#include "platform/Twips.h"
#include "platform/desktop/BuiltInIcon.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGraphicsView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QWindow>

#include <utility>

namespace {

namespace Text {
const QString print = QStringLiteral("Печать");
const QString close = QStringLiteral("Закрыть");
const QString setAll = QStringLiteral("Выбрать все");
const QString font = QStringLiteral("Шрифт");
const QString resetFont = QStringLiteral("Вернуть шрифт");
const QString save = QStringLiteral("Сохранить");
const QString reset = QStringLiteral("Сброс");
const QString toPrinter = QStringLiteral("На принтер");
const QString undo = QStringLiteral("Отменить");
const QString redo = QStringLiteral("Повторить");
} // namespace Text

constexpr float kStepMm = 0.25f;
// The strip is high enough for a 16 × 16 icon with its caption under it.
constexpr int kToolbarHeightTwips = 600;

// A window manager maps a window that is shown again in its own time, and puts it on top: the
// frame comes to the front once more when the editor behind it has appeared.
class RaiseWhenExposed final : public QObject
{
public:
    RaiseWhenExposed(QWidget &frame, QWindow &behind) : QObject(&frame), m_frame(frame)
    {
        behind.installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            m_frame.raise();
            m_frame.activateWindow();
            deleteLater();
        }
        return false;
    }

private:
    QWidget &m_frame;
};

} // namespace

MDIForm1::MDIForm1(Platform &platform, LayoutState &state, EditorBoxes &editor, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_platform(platform), m_state(state), m_editor(editor),
      CommonDialog1(platform.dialogs, this)
{
    setObjectName(QStringLiteral("MDIForm1"));
    auto *client = new QWidget(this);
    auto *column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(client);

    buildToolbar();
    column->addWidget(Toolbar1);

    m_area = new QMdiArea(client);
    m_area->setObjectName(QStringLiteral("MDIForm1.area"));
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(m_area, 1);
    m_status = new PageStatus(this);
    setStatusBar(m_status);

    openPrintWindow();
    fitToScreen();
}

MDIForm1::~MDIForm1() = default;

void MDIForm1::openPrintWindow()
{
    m_child = new frmPTS1(m_platform, m_state, m_editor);
    connect(m_child, &frmPTS1::captionChanged, this, &QWidget::setWindowTitle);
    connect(m_child, &frmPTS1::labelArrowsEnabled, this, &MDIForm1::setLabelArrowsEnabled);
    connect(m_child, &frmPTS1::layoutMoved, CmdSave, [this] { CmdSave->setEnabled(true); });
    connect(m_child, &frmPTS1::layoutSaved, CmdSave, [this] { CmdSave->setEnabled(false); });
    connect(m_child, &frmPTS1::frameButtonsShown, this, &MDIForm1::showFrameButtons);
    connect(m_child, &frmPTS1::reopenRequested, this, &MDIForm1::ReopenPrintWindow);
    connect(m_child, &frmPTS1::pictureSaved, this, &MDIForm1::pictureSaved);
    QUndoStack *steps = &m_child->undoStack();
    connect(steps, &QUndoStack::indexChanged, this, &MDIForm1::showUndoState);
    connect(steps, &QUndoStack::undoTextChanged, this, &MDIForm1::showUndoState);
    connect(steps, &QUndoStack::redoTextChanged, this, &MDIForm1::showUndoState);
    showUndoState();
    m_status->watch(m_child->layout(), m_child->view());
    // The print window fills the frame's client area from its top-left corner and closes only
    // with the frame.
    QMdiSubWindow *sub = m_area->addSubWindow(m_child, Qt::SubWindow | Qt::FramelessWindowHint);
    sub->setObjectName(QStringLiteral("frmPTS1.window"));
    m_child->LoadPrintForm();
    sub->resize(m_child->size());
    sub->move(0, 0);
    m_child->show();
}

MDIForm1 *MDIForm1::open(Platform &platform, LayoutState &state, EditorBoxes &editor, QWidget *owner)
{
    auto *frame = new MDIForm1(platform, state, editor, owner);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    frame->m_child->view().setFocus();
    return frame;
}

void MDIForm1::buildToolbar()
{
    Toolbar1 = new QWidget(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setFixedHeight(pixelsFromTwips(kToolbarHeightTwips));
    Toolbar1->setFont(controlFont());

    const auto toolButton = [this](const QString &key, const QString &text, const QString &icon, int left) {
        auto *action = new QAction(QFile::exists(icon) ? builtInIcon(icon, 16) : QIcon(), text, this);
        action->setObjectName(key);
        auto *button = new QToolButton(Toolbar1);
        button->setObjectName(QStringLiteral("Toolbar1(%1)").arg(key));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setGeometry(left, 1, 50, pixelsFromTwips(kToolbarHeightTwips) - 2);
        return action;
    };
    m_print = toolButton(QStringLiteral("Print"), Text::print, QStringLiteral(":/assets/print.svg"), 1);
    m_delete = toolButton(QStringLiteral("Delete"), Text::close, QStringLiteral(":/assets/close.svg"), 52);
    connect(m_print, &QAction::triggered, this, [this] { m_child->SavePagePicture(); });
    connect(m_delete, &QAction::triggered, this, &MDIForm1::ClosePrintWindow);

    const auto push = [this](const char *name, const QString &text, QRect geometry) {
        auto *button = new QPushButton(text, Toolbar1);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(geometry);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    SetAll = push("SetAll", Text::setAll, twipsRect(1545, 45, 1335, 255));
    SHR1 = push("SHR1", Text::font, twipsRect(2895, 45, 1335, 255));
    SHR3 = push("SHR3", Text::resetFont, twipsRect(4230, 45, 1335, 255));
    for (QPushButton *button : {SetAll, SHR1, SHR3})
        button->hide();

    const auto arrow = [&](const char *name, const char *picture, const QString &fallback, int left) {
        QPushButton *button = push(name, QString(), twipsRect(left, 30, 420, 375));
        const QString resource = QStringLiteral(":/assets/") + QLatin1String(picture);
        const QIcon icon = QFile::exists(resource) ? builtInIcon(resource, 16) : QIcon();
        if (icon.isNull())
            button->setText(fallback);
        else
            button->setIcon(icon);
        button->setEnabled(false);
        return button;
    };
    CmLleft = arrow("CmLleft", "arrow-left.svg", QStringLiteral("←"), 5805);
    CmdRight = arrow("CmdRight", "arrow-right.svg", QStringLiteral("→"), 6255);
    CmdUp = arrow("CmdUp", "arrow-up.svg", QStringLiteral("↑"), 6705);
    CmdDown = arrow("CmdDown", "arrow-down.svg", QStringLiteral("↓"), 7155);
    connect(CmLleft, &QPushButton::clicked, this, [this] { m_child->MoveSelectedLabels(-kStepMm, 0); });
    connect(CmdRight, &QPushButton::clicked, this, [this] { m_child->MoveSelectedLabels(kStepMm, 0); });
    connect(CmdUp, &QPushButton::clicked, this, [this] { m_child->MoveSelectedLabels(0, -kStepMm); });
    connect(CmdDown, &QPushButton::clicked, this, [this] { m_child->MoveSelectedLabels(0, kStepMm); });

    CmdSave = push("CmdSave", Text::save, twipsRect(7800, 120, 1035, 255));
    CmdSave->setEnabled(false);
    CmdRes = push("CmdRes", Text::reset, twipsRect(9000, 120, 735, 255));
    connect(SetAll, &QPushButton::clicked, this, [this] { m_child->SelectAllLabels(); });
    connect(CmdSave, &QPushButton::clicked, this, [this] { m_child->SaveLayout(); });
    connect(CmdRes, &QPushButton::clicked, this, [this] { m_child->ResetLayout(); });
    connect(SHR1, &QPushButton::clicked, this, [this] { m_child->FrameChangeLabelFont(CommonDialog1); });
    connect(SHR3, &QPushButton::clicked, this, [this] { m_child->ResetLabelFonts(CommonDialog1); });
    // The page on the real blank at 1:1, after the strip's own buttons.
    QAction *toPrinter = toolButton(QStringLiteral("ToPrinter"), Text::toPrinter,
                                    QStringLiteral(":/assets/printer.svg"), pixelsFromTwips(9900));
    Toolbar1->findChild<QToolButton *>(QStringLiteral("Toolbar1(ToPrinter)"))
        ->resize(64, pixelsFromTwips(kToolbarHeightTwips) - 2);
    connect(toPrinter, &QAction::triggered, this, [this] { m_child->pagePrint().PrintOnPrinter(); });
    // Taking changes of the page back, after the printing.
    m_undo = toolButton(QStringLiteral("Undo"), Text::undo, QStringLiteral(":/assets/undo.svg"),
                        pixelsFromTwips(9900) + 66);
    m_redo = toolButton(QStringLiteral("Redo"), Text::redo, QStringLiteral(":/assets/redo.svg"),
                        pixelsFromTwips(9900) + 132);
    for (const char *key : {"Toolbar1(Undo)", "Toolbar1(Redo)"})
        Toolbar1->findChild<QToolButton *>(QLatin1String(key))->resize(64, pixelsFromTwips(kToolbarHeightTwips) - 2);
    connect(m_undo, &QAction::triggered, this, [this] { m_child->Undo(); });
    connect(m_redo, &QAction::triggered, this, [this] { m_child->Redo(); });
}

void MDIForm1::fitToScreen()
{
    // The print window whole, under the strip, as far as the screen allows.
    const QSize wanted(m_child->width() + 4,
                       m_child->height() + Toolbar1->height() + m_status->sizeHint().height() + 4);
    const QSize screen = m_platform.screen.sizeInPixels();
    resize(screen.isValid() ? wanted.boundedTo(screen - QSize(0, 60)) : wanted);
}

void MDIForm1::setLabelArrowsEnabled(bool enabled)
{
    for (QPushButton *button : {CmLleft, CmdRight, CmdUp, CmdDown})
        button->setEnabled(enabled);
}

void MDIForm1::showFrameButtons()
{
    for (QPushButton *button : {SetAll, SHR1, SHR3})
        button->show();
}

void MDIForm1::showUndoState()
{
    const QUndoStack &steps = m_child->undoStack();
    const auto show = [](QAction *action, const QString &caption, bool can, const QString &step) {
        action->setEnabled(can);
        action->setToolTip(can ? caption + QStringLiteral(": ") + step : caption);
    };
    show(m_undo, Text::undo, steps.canUndo(), steps.undoText());
    show(m_redo, Text::redo, steps.canRedo(), steps.redoText());
}

void MDIForm1::ClosePrintWindow()
{
    close();
}

void MDIForm1::ReopenPrintWindow()
{
    if (m_child->isSavingPicture()) {
        m_reopenWhenSaved = true;
        return;
    }
    frmPTS1 *old = m_child;
    old->close();
    disconnect(old, nullptr, this, nullptr);
    disconnect(old, nullptr, CmdSave, nullptr);
    // The old window's own menu started this and is still on the stack: it goes once the event
    // loop has it back. Its deletion is asked for only after the new window has opened, so that a
    // message box of the opening (a stamp that cannot be read) cannot run it under the menu.
    QWidget *oldWindow = old->parentWidget();
    oldWindow->hide();
    openPrintWindow();
    oldWindow->deleteLater();
    // Over the editor that the closing showed.
    raise();
    activateWindow();
    if (QWidget *editor = parentWidget(); editor && editor->windowHandle())
        new RaiseWhenExposed(*this, *editor->windowHandle());
    m_child->view().setFocus();
}

void MDIForm1::pictureSaved()
{
    if (std::exchange(m_reopenWhenSaved, false) && !m_closeWhenSaved)
        ReopenPrintWindow();
    if (std::exchange(m_closeWhenSaved, false))
        close();
}

void MDIForm1::closeEvent(QCloseEvent *event)
{
    // The page picture's wait lets the operator ask for the close: the frame closes right
    // after the picture is saved, not under it.
    if (m_child->isSavingPicture()) {
        m_closeWhenSaved = true;
        event->ignore();
        return;
    }
    if (!m_closing) {
        m_closing = true;
        // The print window asks its question, hands the texts back and shows the editor.
        m_child->close();
    }
    event->accept();
    QMainWindow::closeEvent(event);
}
