#include "frmPTS1.h"

#include "LabelDrag.h"
#include "LabelFontCommands.h"
#include "PagePicture.h"
#include "PagePrint.h"
#include "PictureFileCommands.h"
#include "certificate/BuiltInLayout.h"
#include "certificate/CertificateLayout.h"
#include "certificate/ColourCode.h"
#include "certificate/EditorBoxes.h"
#include "certificate/LayoutState.h"
#include "certificate/LayoutStore.h"
#include "certificate/PageText.h"
#include "certificate/PageUndo.h"
#include "imaging/PNG.h"
#include "journal/StorableTextValidator.h"
#include "page/CertificateScene.h"
#include "page/LabelItem.h"
#include "page/PictureItem.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/RegionalNumber.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"
#include "platform/desktop/BuiltInIcon.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

using namespace ColourCode;

namespace {

namespace Text {
const QString frameCaption = QStringLiteral("Свидетельство о Регистрации");
const QString side1 = QStringLiteral("Сторона 1");
const QString side2 = QStringLiteral("Сторона 2");
const QString moveBackground = QStringLiteral("Двигать Фон");
const QString moveLabels = QStringLiteral("Двигать Надписи");
const QString moveStamp = QStringLiteral("Двигать Печать");
const QString moveSignature = QStringLiteral("Двигать Подпись");
const QString showBackground = QStringLiteral("Показывать Фон");
const QString showLabels = QStringLiteral("Показывать Надписи");
const QString showStamp = QStringLiteral("Показывать Печать");
const QString showSignature = QStringLiteral("Показывать Подпись");
const QString menuFild = QStringLiteral("Поле");
const QString menuSetAll = QStringLiteral("Выделить все поля");
const QString menuFont = QStringLiteral("Шрифт");
const QString alignLeft = QStringLiteral("Выровнять по левому краю");
const QString alignTop = QStringLiteral("Выровнять по верхнему краю");
const QString menuNumber = QStringLiteral("Номер");
const QString redColour = QStringLiteral("Цвет красного номера");
const QString redReset = QStringLiteral("Сброс цвета красного номера");
const QString blackColour = QStringLiteral("Цвет черного номера");
const QString blackReset = QStringLiteral("Сброс цвета черного номера");
const QString fon1File = QStringLiteral("Загрузить фоновый рисунок 1 из файла");
const QString fon2File = QStringLiteral("Загрузить фоновый рисунок 2 из файла");
const QString fon1Reset = QStringLiteral("Вернуть встроенный фоновый рисунок 1");
const QString fon2Reset = QStringLiteral("Вернуть встроенный фоновый рисунок 2");
const QString pechFile = QStringLiteral("Загрузить печать из файла");
const QString pechReset = QStringLiteral("Вернуть встроенную печать");
const QString podpFile = QStringLiteral("Загрузить подпись из файла");
const QString podpReset = QStringLiteral("Вернуть встроенную подпись");
const QString foto = QStringLiteral("Сохранить изображение как JPG ");
const QString forbiddenColour = QStringLiteral("Этот цвет использовать нельзя!");
const QString fontInfoCaption = QStringLiteral("Информация о шрифте");
} // namespace Text

constexpr float kKeyStepMm = 0.25f;
constexpr float kPanelStepMm = 0.5f;
constexpr float kLoadExtraWidthMm = 4.0f;
// The in-place editor's yellow.
const QColor kEditorBackground(255, 255, 0);

bool ctrlAlone(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        == Qt::ControlModifier;
}

QAction *namedAction(QMenu *menu, const QString &name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

void namedSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

// Whether the pointer is over the stamp or the signature as shown: they take no part in the
// mouse's commands, and the blank under them does not get the press either.
bool overStampOrSignature(const QGraphicsView &view, const QPoint &viewportPos)
{
    for (QGraphicsItem *item : view.items(viewportPos)) {
        if (item->isVisible() && item->type() == PictureItem::kType
            && !static_cast<PictureItem *>(item)->isBackground())
            return true;
    }
    return false;
}

int selectedCount(const CertificateLayout &layout)
{
    int count = 0;
    for (int i = 0; i < kLabelCount; ++i)
        count += layout.isSelected(i) ? 1 : 0;
    return count;
}

} // namespace

frmPTS1::frmPTS1(Platform &platform, LayoutState &state, EditorBoxes &editor, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_state(state), m_editor(editor),
      m_layout(std::make_unique<CertificateLayout>(state)), m_store(std::make_unique<LayoutStore>(platform.settings)),
      CommonDialog1(platform.dialogs, this)
{
    setObjectName(QStringLiteral("frmPTS1"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);
    buildPage();
    m_drag = new LabelDrag(*m_layout, *m_view, this);
    connect(m_drag, &LabelDrag::started, this, &frmPTS1::startDrag);
    connect(m_drag, &LabelDrag::dropped, this, &frmPTS1::dropLabels);
    connect(m_drag, &LabelDrag::framed, this, &frmPTS1::selectFramed);
    buildPanel();
    m_pictureFiles = new PictureFileCommands(platform, CommonDialog1, *m_layout, *m_view,
                                             {ChFonVis1, ChFonVis2, ChPechVis2, ChPodpVis2}, this);
    connect(m_pictureFiles, &PictureFileCommands::reopenRequested, this, &frmPTS1::reopenRequested);
    m_undo = new PageUndo(*m_layout, platform.clock, this);
    connect(m_undo, &PageUndo::placesRestored, this, &frmPTS1::layoutMoved);
    buildMenus();
    buildUndoKeys();
}

frmPTS1::~frmPTS1()
{
    // The view and the editor go first, and send their last events to nobody.
    for (QObject *watched :
         {static_cast<QObject *>(txt1), static_cast<QObject *>(m_viewport), static_cast<QObject *>(m_view)})
        watched->removeEventFilter(this);
    // The scene's items read the model while they go.
    delete m_view;
    delete m_scene;
}

void frmPTS1::buildPage()
{
    m_scene = new CertificateScene(*m_layout);
    m_scene->setObjectName(QStringLiteral("frmPTS1.scene"));
    m_layout->setPictureSvg(PictureId::Image1, QStringLiteral(":/assets/blank1.svg"),
                            {BuiltInLayout::kBlankWidthMm, BuiltInLayout::kBlankHeightMm});
    m_layout->setPictureSvg(PictureId::Image2, QStringLiteral(":/assets/blank2.svg"),
                            {BuiltInLayout::kBlankWidthMm, BuiltInLayout::kBlankHeightMm});

    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("frmPTS1.page"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view->setBackgroundBrush(Qt::white);
    m_view->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    m_view->setFocusPolicy(Qt::StrongFocus);
    // Millimetres to logical pixels: the page is as large on the screen as on paper.
    m_view->setTransform(QTransform::fromScale(m_view->logicalDpiX() / 25.4, m_view->logicalDpiY() / 25.4));
    m_viewport = m_view->viewport();
    m_view->installEventFilter(this);
    m_viewport->installEventFilter(this);

    txt1 = new QLineEdit(m_view->viewport());
    txt1->setObjectName(QStringLiteral("txt1"));
    QPalette palette = txt1->palette();
    palette.setColor(QPalette::Base, kEditorBackground);
    txt1->setPalette(palette);
    txt1->setFrame(false);
    // What the journal cannot hold never shows on the page: the texts go back into the editor's
    // boxes, which keep the same rule.
    txt1->setValidator(new StorableTextValidator(txt1));
    txt1->hide();
    txt1->installEventFilter(this);
}

void frmPTS1::buildPanel()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Frame1->setAutoFillBackground(true);
    QPalette palette = Frame1->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    Frame1->setPalette(palette);
    Frame1->setGeometry(twipsRect(0, 0, 4335, 3615));
    Frame1->setFont(controlFont());

    for (int side = 0; side < 2; ++side) {
        Label1[size_t(side)] = new QLabel(side == 0 ? Text::side1 : Text::side2, Frame1);
        Label1[size_t(side)]->setObjectName(QStringLiteral("Label1(%1)").arg(side));
        Label1[size_t(side)]->setGeometry(twipsRect(side == 0 ? 600 : 2760, 120, 1400, 255));
    }
    const auto box = [this](const char *name, const QString &text, int left, int top) {
        auto *check = new QCheckBox(text, Frame1);
        check->setObjectName(QLatin1String(name));
        check->setChecked(true);
        // Up to the next column, or to the panel's edge.
        check->setGeometry(twipsRect(left, top, left < 2160 ? 2100 : 4335 - left - 30, 240));
        return check;
    };
    ChFon1 = box("ChFon1", Text::moveBackground, 60, 420);
    ChN1 = box("ChN1", Text::moveLabels, 60, 660);
    ChFonVis1 = box("ChFonVis1", Text::showBackground, 60, 1560);
    ChNVis1 = box("ChNVis1", Text::showLabels, 60, 1800);
    ChFon2 = box("ChFon2", Text::moveBackground, 2160, 420);
    ChN2 = box("ChN2", Text::moveLabels, 2160, 660);
    ChPech2 = box("ChPech2", Text::moveStamp, 2160, 900);
    ChPodp2 = box("ChPodp2", Text::moveSignature, 2160, 1140);
    ChFonVis2 = box("ChFonVis2", Text::showBackground, 2160, 1560);
    ChNVis2 = box("ChNVis2", Text::showLabels, 2160, 1800);
    ChPechVis2 = box("ChPechVis2", Text::showStamp, 2160, 2040);
    ChPodpVis2 = box("ChPodpVis2", Text::showSignature, 2160, 2280);
    for (QCheckBox *check : {ChFonVis1, ChNVis1, ChFonVis2, ChNVis2, ChPechVis2, ChPodpVis2})
        connect(check, &QCheckBox::clicked, this, &frmPTS1::applyVisibility);

    const auto arrow = [this](const char *name, const char *picture, const QString &fallback, int left, int top) {
        auto *button = new QPushButton(Frame1);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(twipsRect(left, top, 420, 375));
        const QString resource = QStringLiteral(":/assets/") + QLatin1String(picture);
        const QIcon icon = QFile::exists(resource) ? builtInIcon(resource, 16) : QIcon();
        if (icon.isNull())
            button->setText(fallback);
        else
            button->setIcon(icon);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    CmdUp = arrow("CmdUp", "arrow-up.svg", QStringLiteral("↑"), 1860, 2760);
    CmLleft = arrow("CmLleft", "arrow-left.svg", QStringLiteral("←"), 1440, 2940);
    CmdRight = arrow("CmdRight", "arrow-right.svg", QStringLiteral("→"), 2280, 2940);
    CmdDown = arrow("CmdDown", "arrow-down.svg", QStringLiteral("↓"), 1860, 3120);
    connect(CmdUp, &QPushButton::clicked, this, [this] { MoveSideGroup(0, -kPanelStepMm); });
    connect(CmdDown, &QPushButton::clicked, this, [this] { MoveSideGroup(0, kPanelStepMm); });
    connect(CmLleft, &QPushButton::clicked, this, [this] { MoveSideGroup(-kPanelStepMm, 0); });
    connect(CmdRight, &QPushButton::clicked, this, [this] { MoveSideGroup(kPanelStepMm, 0); });
    Frame1->raise();
}

void frmPTS1::buildMenus()
{
    Menu_Fild = new QMenu(Text::menuFild, this);
    Menu_Fild->setObjectName(QStringLiteral("Menu_Fild"));
    connect(namedAction(Menu_Fild, QStringLiteral("Menu_Fild_SetAll"), Text::menuSetAll), &QAction::triggered, this,
            &frmPTS1::SelectAllLabels);
    connect(namedAction(Menu_Fild, QStringLiteral("Menu_Fild_Font"), Text::menuFont), &QAction::triggered, this,
            [this] {
                m_undo->record(PageUndo::fontName(selectedCount(*m_layout)),
                               [this] { LabelFontCommands::ChangeLabelFont(*m_layout, CommonDialog1); });
            });
    Menu_Fild_AlignLeft = namedAction(Menu_Fild, QStringLiteral("Menu_Fild_AlignLeft"), Text::alignLeft);
    Menu_Fild_AlignTop = namedAction(Menu_Fild, QStringLiteral("Menu_Fild_AlignTop"), Text::alignTop);
    connect(Menu_Fild_AlignLeft, &QAction::triggered, this, [this] { AlignSelectedLabels(m_menuLabel, true); });
    connect(Menu_Fild_AlignTop, &QAction::triggered, this, [this] { AlignSelectedLabels(m_menuLabel, false); });

    Menu_Number = new QMenu(Text::menuNumber, this);
    Menu_Number->setObjectName(QStringLiteral("Menu_Number"));
    connect(namedAction(Menu_Number, QStringLiteral("Menu_Number_1"), Text::redColour), &QAction::triggered, this,
            [this] { ChooseNumberColour(true); });
    connect(namedAction(Menu_Number, QStringLiteral("Menu_Number_1_Res"), Text::redReset), &QAction::triggered, this,
            [this] { ResetNumberColour(true); });
    namedSeparator(Menu_Number, QStringLiteral("Menu_Number_3"));
    connect(namedAction(Menu_Number, QStringLiteral("Menu_Number_2"), Text::blackColour), &QAction::triggered, this,
            [this] { ChooseNumberColour(false); });
    connect(namedAction(Menu_Number, QStringLiteral("Menu_Number_2_Res"), Text::blackReset), &QAction::triggered, this,
            [this] { ResetNumberColour(false); });
    const auto pictureCommand = [this](const char *name, const QString &text, auto command, PictureId picture) {
        PictureFileCommands *commands = m_pictureFiles;
        connect(namedAction(Menu_Number, QLatin1String(name), text), &QAction::triggered, commands,
                [commands, command, picture] { (commands->*command)(picture); });
    };
    namedSeparator(Menu_Number, QStringLiteral("Menu_Fon"));
    pictureCommand("Menu_Fon_File", Text::fon1File, &PictureFileCommands::LoadBackgroundFile, PictureId::Image1);
    pictureCommand("Menu_Fon2_File", Text::fon2File, &PictureFileCommands::LoadBackgroundFile, PictureId::Image2);
    pictureCommand("Menu_Fon_Reset", Text::fon1Reset, &PictureFileCommands::RestoreBuiltInPicture, PictureId::Image1);
    pictureCommand("Menu_Fon2_Reset", Text::fon2Reset, &PictureFileCommands::RestoreBuiltInPicture, PictureId::Image2);
    namedSeparator(Menu_Number, QStringLiteral("Menu_Fon2"));
    pictureCommand("Menu_Pech2_File", Text::pechFile, &PictureFileCommands::LoadOverlayFile, PictureId::ImPech);
    pictureCommand("Menu_Pech2_Reset", Text::pechReset, &PictureFileCommands::RestoreBuiltInPicture, PictureId::ImPech);
    namedSeparator(Menu_Number, QStringLiteral("Menu_Fon3"));
    pictureCommand("Menu_Podp2_File", Text::podpFile, &PictureFileCommands::LoadOverlayFile, PictureId::ImPodp);
    pictureCommand("Menu_Podp2_Reset", Text::podpReset, &PictureFileCommands::RestoreBuiltInPicture, PictureId::ImPodp);
    namedSeparator(Menu_Number, QStringLiteral("Menu_Fon4"));
    connect(namedAction(Menu_Number, QStringLiteral("Menu_Foto"), Text::foto), &QAction::triggered, this,
            &frmPTS1::SavePagePicture);
    m_print = new PagePrint(m_platform, *m_layout, *m_scene, CommonDialog1, this);
    m_print->addMenuItems(Menu_Number);
}

QRectF frmPTS1::pageRectMm() const
{
    return QRectF(0, 0, m_view->viewport()->width() * 25.4 / m_view->logicalDpiX(),
                  m_view->viewport()->height() * 25.4 / m_view->logicalDpiY());
}

void frmPTS1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
    m_view->setSceneRect(pageRectMm());
    if (txt1->isVisible())
        placeLabelEditor();
}

// ---- Opening and closing ----------------------------------------------------------------

void frmPTS1::LoadPrintForm()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_state.LayoutChanged = false;
    resize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kHeightTwips));
    Q_EMIT captionChanged(Text::frameCaption);

    for (int i = 0; i < kLabelCount; ++i)
        m_layout->loadLabelText(i, m_editor.boxText(i));
    m_store->LoadLayout(*m_layout);
    readNastr();

    m_state.LabelFonts.resetColours();
    readNumberColours();
    applyFontTable();
    for (int i = 0; i < kLabelCount; ++i)
        m_layout->autoSizeLabel(i, kLoadExtraWidthMm);
    Q_EMIT frameButtonsShown();

    loadOverlays();
    m_view->setFocus();
}

void frmPTS1::readNastr()
{
    m_pictureFiles->readSettings();
}

void frmPTS1::writeNastr()
{
    m_pictureFiles->writeSettings();
}

void frmPTS1::readNumberColours()
{
    const NumberColours stored = ColourCode::readNumberColours(m_platform.settings,
                                                               {m_state.RedNumberColour, m_state.BlackNumberColour});
    m_state.RedNumberColour = stored.red;
    m_state.BlackNumberColour = stored.black;
    m_layout->applyRedNumberColour();
    m_layout->applyBlackNumberColour();
}

void frmPTS1::applyFontTable()
{
    m_state.LabelFonts.read(m_platform.programFile(QStringLiteral("Shrift")));
    for (int i = 0; i < kLabelCount; ++i)
        m_layout->applyFontSettings(i, m_state.LabelFonts.settingsOf(i));
}

void frmPTS1::loadOverlays()
{
    m_pictureFiles->loadOverlays();
}

void frmPTS1::closeEvent(QCloseEvent *event)
{
    if (m_savingPicture) {
        event->ignore();
        return;
    }
    // A drag that the close cuts short ends as a release would: the question is about the page
    // as the operator sees it. A half-drawn frame does not choose the editor box that gets the
    // focus.
    m_drag->endForClosing();
    if (m_loaded && !m_unloaded) {
        m_unloaded = true;
        m_store->SaveLayoutOnClose(*m_layout, CommonDialog1);
        UnloadPrintForm();
    }
    event->accept();
}

void frmPTS1::UnloadPrintForm()
{
    const QString fontFile = m_platform.programFile(QStringLiteral("Shrift"));
    QString error;
    if (!m_state.LabelFonts.write(fontFile, &error))
        CommonDialog1.message(fileNotSaved(QStringLiteral("шрифты полей"), fontFile, error));
    writeNastr();
    ColourCode::storeNumberColours(m_platform.settings, {m_state.RedNumberColour, m_state.BlackNumberColour});
    m_platform.settings.sync();
    for (int i = 0; i < kLabelCount; ++i)
        m_editor.setBoxText(i, m_layout->label(i).text);
    m_editor.showEditor();
    focusEditorBox();
}

void frmPTS1::focusEditorBox()
{
    // The first selected of the labels 0..2, then the first of 4..43; the later one wins.
    // Label 3's box is never shown.
    const auto focusFirst = [this](int from, int to) {
        for (int i = from; i <= to; ++i) {
            if (m_layout->isSelected(i)) {
                if (m_editor.isBoxShown(i))
                    m_editor.focusBox(i);
                return;
            }
        }
    };
    focusFirst(0, 2);
    focusFirst(4, kLabelCount - 1);
}

// ---- Labels ---------------------------------------------------------------------------------

void frmPTS1::SelectLabel(int i, Qt::KeyboardModifiers modifiers)
{
    m_layout->selectLabel(i, ctrlAlone(modifiers));
    Q_EMIT labelArrowsEnabled(true);
}

void frmPTS1::ClearSelection()
{
    m_layout->clearSelection();
    Q_EMIT labelArrowsEnabled(false);
}

void frmPTS1::ClearSelectionByKey()
{
    m_layout->clearSelectionByKey();
    Q_EMIT labelArrowsEnabled(false);
}

void frmPTS1::SelectAllLabels()
{
    m_layout->selectAllLabels();
    Q_EMIT labelArrowsEnabled(true);
}

void frmPTS1::MoveSelectedLabels(float dx, float dy)
{
    m_undo->recordLabelMove(dx, dy, [&] { m_layout->moveSelectedLabels(dx, dy); });
    if (txt1->isVisible())
        placeLabelEditor();
    Q_EMIT layoutMoved();
}

void frmPTS1::MoveSideGroup(float dx, float dy)
{
    CertificateLayout::SideGroups groups;
    groups.background1 = ChFon1->isChecked();
    groups.labels1 = ChN1->isChecked();
    groups.background2 = ChFon2->isChecked();
    groups.labels2 = ChN2->isChecked();
    groups.stamp = ChPech2->isChecked();
    groups.signature = ChPodp2->isChecked();
    m_undo->record(PageUndo::sideMoveName(dx, dy), [&] { m_layout->moveSideGroups(dx, dy, groups); });
    if (txt1->isVisible())
        placeLabelEditor();
    Q_EMIT layoutMoved();
}

void frmPTS1::AlignSelectedLabels(int to, bool left)
{
    const int count = selectedCount(*m_layout);
    if (count < 2)
        return;
    const MmPoint target = m_layout->label(to).pos;
    m_undo->record(PageUndo::alignName(count, left), [&] {
        for (int i = 0; i < kLabelCount; ++i) {
            if (!m_layout->isSelected(i))
                continue;
            MmPoint pos = m_layout->label(i).pos;
            if (left)
                pos.left = target.left;
            else
                pos.top = target.top;
            m_layout->setLabelPosition(i, pos);
        }
        m_state.LayoutChanged = true;
    });
    if (txt1->isVisible())
        placeLabelEditor();
    Q_EMIT layoutMoved();
}

void frmPTS1::startDrag()
{
    // As a click on the empty area closes it; the keys come to the page, which holds them back.
    CloseLabelEditor();
    m_view->setFocus();
}

void frmPTS1::dropLabels(const QList<int> &labels, float dx, float dy)
{
    // One step, named as a run of arrow moves by the same distance is.
    m_undo->record(PageUndo::labelMoveName(int(labels.size()), dx, dy), [&] {
        for (const int i : labels) {
            const MmPoint pos = m_layout->label(i).pos;
            m_layout->setLabelPosition(i, {pos.left + dx, pos.top + dy});
        }
        m_state.LayoutChanged = true;
    });
    Q_EMIT layoutMoved();
}

void frmPTS1::selectFramed(const QList<int> &labels)
{
    for (const int i : labels)
        SelectLabel(i, Qt::ControlModifier);
}

void frmPTS1::applyVisibility()
{
    m_layout->setPictureVisible(PictureId::Image1, ChFonVis1->isChecked());
    m_layout->setPictureVisible(PictureId::Image2, ChFonVis2->isChecked());
    m_layout->setPictureVisible(PictureId::ImPech, ChPechVis2->isChecked());
    m_layout->setPictureVisible(PictureId::ImPodp, ChPodpVis2->isChecked());
    for (const int i : BuiltInLayout::side1Labels()) {
        if (!BuiltInLayout::isAlwaysHidden(i))
            m_layout->setLabelVisible(i, ChNVis1->isChecked());
    }
    for (const int i : BuiltInLayout::side2Labels())
        m_layout->setLabelVisible(i, ChNVis2->isChecked());
}

void frmPTS1::ShowFontInfo(int i)
{
    const LabelFontSpec &font = m_layout->label(i).font;
    QString text = QStringLiteral("Шрифт в поле № ") + QString::number(i) + QStringLiteral(" [") + font.face
        + QLatin1Char(' ') + RegionalNumber::format(font.size)
        + (font.bold ? QStringLiteral(" Жирный") : QStringLiteral(" Обычный"))
        + (font.italic ? QStringLiteral(" Курсив") : QString()) + QLatin1Char(']');
    CommonDialog1.inform(text, Text::fontInfoCaption, Dialogs::Icon::Question);
}

void frmPTS1::OpenLabelEditor(int i)
{
    m_state.EditedLabel = i;
    const LabelFontSpec &wanted = m_layout->label(i).font;
    QFont font(wanted.face);
    font.setPointSizeF(wanted.size);
    font.setBold(wanted.bold);
    txt1->setFont(font);
    txt1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    txt1->setText(m_layout->label(i).text);
    placeLabelEditor();
    txt1->show();
    txt1->raise();
    txt1->setFocus();
}

void frmPTS1::placeLabelEditor()
{
    const CertificateLayout::Label &label = m_layout->label(m_state.EditedLabel);
    const QRectF mm(label.pos.left - 0.5, label.pos.top - 0.5, label.width + 15.0, label.height);
    txt1->setGeometry(m_view->mapFromScene(mm).boundingRect());
}

void frmPTS1::CommitLabelEditor(bool byEnter)
{
    const int edited = m_state.EditedLabel;
    m_undo->record(PageUndo::textName(edited), [&] { m_layout->setLabelText(edited, txt1->text()); });
    txt1->hide();
    if (byEnter) {
        const int next = BuiltInLayout::nextLabelToEdit(edited);
        if (next >= 0) {
            OpenLabelEditor(next);
            return;
        }
    }
    m_view->setFocus();
}

void frmPTS1::CloseLabelEditor()
{
    const bool hadFocus = txt1->hasFocus();
    txt1->hide();
    if (hadFocus)
        m_view->setFocus();
}

void frmPTS1::ChooseNumberColour(bool red)
{
    qint32 &colour = red ? m_state.RedNumberColour : m_state.BlackNumberColour;
    const qint32 before = colour;
    // Cancel reports the colour the dialog held: the last one chosen in this window.
    const qint32 chosen = fromColor(CommonDialog1.chooseColour());
    if (chosen == kSelection) {
        CommonDialog1.inform(Text::forbiddenColour, programTitle(), Dialogs::Icon::None);
        colour = before;
        return;
    }
    m_undo->record(PageUndo::numberColourName(red), [&] {
        colour = chosen;
        if (red)
            m_layout->applyRedNumberColour();
        else
            m_layout->applyBlackNumberColour();
    });
}

void frmPTS1::ResetNumberColour(bool red)
{
    m_undo->record(PageUndo::numberColourResetName(red), [&] {
        if (red) {
            m_state.RedNumberColour = kDefaultRedNumber;
            m_layout->applyRedNumberColour();
        } else {
            m_state.BlackNumberColour = kBlack;
            m_layout->applyBlackNumberColour();
        }
    });
}

void frmPTS1::SaveLayout()
{
    m_store->SaveLayout(*m_layout);
    Q_EMIT layoutSaved();
}

void frmPTS1::ResetLayout()
{
    m_undo->record(
        PageUndo::resetName(), [this] { m_store->ResetLayout(*m_layout, CommonDialog1); }, m_store.get());
    if (txt1->isVisible())
        placeLabelEditor();
}

void frmPTS1::FrameChangeLabelFont(CommonDialog &frameDialogs)
{
    m_undo->record(PageUndo::fontName(selectedCount(*m_layout)),
                   [&] { LabelFontCommands::FrameChangeLabelFont(*m_layout, frameDialogs); });
}

void frmPTS1::ResetLabelFonts(CommonDialog &frameDialogs)
{
    m_undo->record(PageUndo::fontResetName(), [&] { LabelFontCommands::ResetLabelFonts(*m_layout, frameDialogs); });
}

QUndoStack &frmPTS1::undoStack() const
{
    return m_undo->stack();
}

void frmPTS1::Undo()
{
    m_undo->stack().undo();
    if (txt1->isVisible())
        placeLabelEditor();
}

void frmPTS1::Redo()
{
    m_undo->stack().redo();
    if (txt1->isVisible())
        placeLabelEditor();
}

void frmPTS1::buildUndoKeys()
{
    const auto key = [this](const QKeySequence &keys, void (frmPTS1::*command)()) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, command] {
            // In the in-place editor the keys are the editor's own.
            if (!txt1->isVisible() && !m_drag->isDragging())
                (this->*command)();
        });
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), &frmPTS1::Undo);
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), &frmPTS1::Redo);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &frmPTS1::Redo);
}

void frmPTS1::SavePagePicture()
{
    // A second run would show the panel again in the middle of the first one's wait.
    if (m_savingPicture)
        return;
    m_savingPicture = true;
    ::SavePagePicture(CommonDialog1, m_platform.clock, m_platform.shell, this, Frame1);
    m_savingPicture = false;
    Q_EMIT pictureSaved();
}

// ---- Mouse and keys -------------------------------------------------------------------------

int frmPTS1::labelAt(const QPoint &viewportPos) const
{
    // The topmost label under the pointer; the stamp and signature let the mouse through.
    for (QGraphicsItem *item : m_view->items(viewportPos)) {
        if (!item->isVisible())
            continue;
        if (item->type() == LabelItem::kType
            && static_cast<LabelItem *>(item)->shape().contains(item->mapFromScene(m_view->mapToScene(viewportPos))))
            return static_cast<LabelItem *>(item)->index();
    }
    return -1;
}

bool frmPTS1::handleMouse(QMouseEvent *event)
{
    // While labels or a frame follow the pointer, the other buttons do nothing; a press whose
    // release went elsewhere is forgotten.
    if (m_drag->isDragging())
        return true;
    m_drag->cancel();
    const int label = labelAt(event->position().toPoint());
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const QPoint global = event->globalPosition().toPoint();
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;

    if (label >= 0) {
        switch (event->button()) {
        case Qt::LeftButton:
            if (doubleClick) {
                OpenLabelEditor(label);
            } else {
                SelectLabel(label, modifiers);
                m_drag->press(LabelDrag::Kind::Labels, event->position().toPoint());
            }
            break;
        case Qt::RightButton: {
            m_menuLabel = label;
            const bool several = selectedCount(*m_layout) >= 2;
            Menu_Fild_AlignLeft->setEnabled(several);
            Menu_Fild_AlignTop->setEnabled(several);
            Menu_Fild->popup(global);
            break;
        }
        case Qt::MiddleButton:
            ShowFontInfo(label);
            break;
        default:
            break;
        }
        return true;
    }
    if (overStampOrSignature(*m_view, event->position().toPoint()))
        return true;
    // The empty area or a blank side; moved before it is let go, the press draws a frame.
    if (event->button() == Qt::LeftButton && !doubleClick)
        m_drag->press(LabelDrag::Kind::Frame, event->position().toPoint());
    if (ctrlAlone(modifiers))
        return true;
    if (event->button() == Qt::LeftButton) {
        CloseLabelEditor();
        ClearSelection();
        m_view->setFocus();
    } else if (event->button() == Qt::RightButton) {
        Menu_Number->popup(global);
    }
    return true;
}

bool frmPTS1::handleKey(QKeyEvent *event)
{
    // Esc takes a drag or a frame back; the other keys wait until it is over.
    if (m_drag->isDragging()) {
        if (event->key() == Qt::Key_Escape)
            m_drag->cancel();
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        MoveSelectedLabels(-kKeyStepMm, 0);
        return true;
    case Qt::Key_Right:
        MoveSelectedLabels(kKeyStepMm, 0);
        return true;
    case Qt::Key_Up:
        MoveSelectedLabels(0, -kKeyStepMm);
        return true;
    case Qt::Key_Down:
        MoveSelectedLabels(0, kKeyStepMm);
        return true;
    case Qt::Key_Escape:
        if (!ctrlAlone(event->modifiers()))
            ClearSelectionByKey();
        return true;
    default:
        return false;
    }
}

bool frmPTS1::handleEditorKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CommitLabelEditor(true);
        return true;
    case Qt::Key_Escape:
        CloseLabelEditor();
        return true;
    default:
        return false;
    }
}

void frmPTS1::keyPressEvent(QKeyEvent *event)
{
    // Keys reach the window from the side panel's controls too.
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

bool frmPTS1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txt1) {
        if (event->type() == QEvent::KeyPress && handleEditorKey(static_cast<QKeyEvent *>(event)))
            return true;
        if (event->type() == QEvent::MouseButtonDblClick) {
            CommitLabelEditor(false);
            return true;
        }
        return false;
    }
    if (watched == m_view && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent *>(event));
    if (watched == m_viewport) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return handleMouse(static_cast<QMouseEvent *>(event));
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton)
                m_drag->release(mouse->position().toPoint());
            return true;
        }
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_drag->move(mouse->position().toPoint(), mouse->buttons());
            return true;
        }
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            // The page never scrolls or zooms.
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
