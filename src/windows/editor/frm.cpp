#include "frm.h"

#include "EditorSuggestions.h"
#include "FieldBox.h"
#include "journal/AutofillTemplate.h"
#include "journal/FieldCatalogue.h"
#include "journal/FieldInputRules.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalRecords.h"
#include "journal/SuggestionSettings.h"
#include "journal/UpperCaseTicks.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/desktop/BuiltInIcon.h"
#include "platform/desktop/WrappingCheckBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

namespace Text {
const QString caption = QStringLiteral("Свидетельство о регистрации ТС");
const QString heading = QStringLiteral("Запись № ");
const QString allCapitals = QStringLiteral("Делать все буквы ЗАГЛАВНЫМИ");
const QString preview = QStringLiteral("Просмотр перед печатью");
const QString saveTemplate = QStringLiteral("Сохранить для автозаполнения");
const QString menu = QStringLiteral("Галочки");
const QString tickAll = QStringLiteral("Установить  все галочки");
const QString clearAll = QStringLiteral("Снять все галочки");
const QString readOnly = QStringLiteral("Закройте окно печати, чтобы изменить запись");
} // namespace Text

constexpr int kNone = -1;

// Where a field box sits, in twips from the top left of the client area, and where the
// upper-case box of its row sits (kNone where the row's box belongs to another field box).
struct BoxPlace
{
    int left, top, width, height;
    int checkLeft, checkTop;
};

constexpr std::array<BoxPlace, EditorBoxes::kBoxCount> kPlaces = {{
    {4770, 480, 2955, 285, 7800, 420},     // 0 registration plate
    {4770, 780, 2955, 285, 7800, 720},     // 1 VIN
    {4770, 1080, 2955, 285, 7800, 1080},   // 2 make and model
    {4770, 1080, 2955, 285, 7800, 1080},   // 3 never shown
    {4770, 1455, 2955, 285, 7800, 1440},   // 4
    {4770, 1755, 1095, 285, 5940, 1740},   // 5
    {4770, 2055, 1095, 285, 5940, 2040},   // 6
    {4770, 2415, 2955, 285, 7800, 2400},   // 7
    {4770, 2715, 2955, 285, 7800, 2700},   // 8
    {4770, 3075, 2955, 285, 7800, 3060},   // 9
    {4770, 3375, 2955, 285, 7800, 3360},   // 10
    {4770, 3720, 2955, 285, 7800, 3660},   // 11
    {4770, 4020, 1215, 285, 6060, 4020},   // 12
    {4770, 4320, 1215, 285, 6060, 4320},   // 13
    {4770, 4620, 1215, 285, 6060, 4620},   // 14 passport series
    {6660, 4620, 1395, 285, 8160, 4620},   // 15 passport number, same row
    {4770, 4920, 1215, 285, 6060, 4920},   // 16
    {4770, 5220, 1215, 285, 6060, 5220},   // 17
    {10770, 510, 3015, 285, 13860, 480},   // 18 surname
    {10770, 825, 3015, 285, 13860, 780},   // 19
    {10770, 1125, 3015, 285, 13860, 1080}, // 20
    {10770, 1440, 3015, 285, 13860, 1440}, // 21
    {10770, 1740, 3015, 285, 13860, 1740}, // 22
    {10770, 2040, 3015, 285, 13860, 2040}, // 23
    {10770, 2340, 3015, 285, 13860, 2340}, // 24
    {10770, 2640, 3015, 285, 13860, 2640}, // 25
    {10770, 2955, 3015, 285, 13860, 2940}, // 26
    {10770, 3240, 3015, 285, 13860, 3240}, // 27
    {10770, 3540, 675, 285, 13860, 3540},  // 28 house, with the row's upper-case box
    {12000, 3540, 495, 285, kNone, kNone}, // 29 building
    {13170, 3540, 615, 285, kNone, kNone}, // 30 flat
    {10770, 3900, 3855, 285, 14700, 3900}, // 31 special notes
    {10770, 4200, 3855, 285, 14700, 4200}, // 32
    {10770, 4500, 3855, 285, 14700, 4500}, // 33
    {10770, 4845, 3015, 285, 13860, 4860}, // 34 issuing unit
    {10770, 5460, 3015, 285, 13860, 5460}, // 35 date
    {4770, 5520, 3015, 345, 7860, 5580},   // 36 certificate number
    {10770, 6015, 3015, 330, 13860, 6000}, // 37 certificate number, second copy
    {10770, 6360, 3015, 285, 13860, 6360}, // 38
    {10770, 5160, 3015, 285, 13860, 5160}, // 39 issuing unit, second text
    {4770, 480, 2955, 285, kNone, kNone},  // 40..43 never shown
    {4770, 480, 2955, 285, kNone, kNone},  {4770, 480, 2955, 285, kNone, kNone}, {4770, 480, 2955, 285, kNone, kNone},
}};

constexpr int kClientWidth = 15090;
constexpr int kClientHeight = 6825;
constexpr int kCheckSize = 255;
// The space between a caption and the box it names.
constexpr int kCaptionGap = 4;

// Tab walks the shown boxes in this order, and from the last back to the first.
constexpr std::array<int, 39> kTabOrder = {0,  1,  2,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                           14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
                                           27, 28, 29, 30, 31, 32, 33, 34, 39, 35, 36, 37, 38};

// Where Enter sends the focus from a box; kNone keeps it there.
int enterTarget(int box)
{
    switch (box) {
    case 2:
        return 4;
    case 6:
        return 9;
    case 38:
        return 0;
    case 39:
        return kNone;
    default:
        return box + 1;
    }
}

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    if (palette.color(role) == colour)
        return;
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel *blueLabel(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    setColour(label, QPalette::WindowText, QColor(0, 0, 255));
    label->adjustSize();
    return label;
}

QPushButton *pictureButton(QWidget *parent, const QString &name, const QRect &place, const QString &picture,
                           const QString &hint)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(place);
    const int iconSize = std::min(place.width(), place.height()) - 8;
    button->setIcon(builtInIcon(QStringLiteral(":/assets/") + picture, iconSize));
    button->setIconSize(QSize(iconSize, iconSize));
    // A click takes the focus from the field box, so that its leaving rules run; Tab never
    // stops here.
    button->setFocusPolicy(Qt::ClickFocus);
    // The hover caption is the one text shown; a tool tip would repeat it.
    button->setAccessibleName(hint);
    return button;
}

} // namespace

frm::frm(Platform &platform, Journal &journal, QWidget *parent)
    : QWidget(parent, Qt::Window), m_platform(platform), m_journal(journal)
{
    setObjectName(QStringLiteral("frm"));
    setWindowTitle(Text::caption);
    setMouseTracking(true);
    buildControls();
    buildCaptions();
    buildMenu();
    resize(pixelsFromTwips(kClientWidth), pixelsFromTwips(kClientHeight));
    Form_Load();
    if (SuggestionSettings::isOn(m_platform.settings))
        new EditorSuggestions(this, m_journal, txt);
}

frm::~frm()
{
    // The certificate reads the boxes while it goes: it goes before them.
    delete m_certificate.data();
}

void frm::buildControls()
{
    Label3 = blueLabel(QString(), QStringLiteral("Label3"), this);
    Label3->move(pixelsFromTwips(7950), pixelsFromTwips(45));
    // Beside the heading while the certificate holds the texts; placed once the heading is known.
    LblReadOnly = new QLabel(Text::readOnly, this);
    LblReadOnly->setObjectName(QStringLiteral("LblReadOnly"));
    setColour(LblReadOnly, QPalette::WindowText, QColor(160, 0, 0));
    LblReadOnly->adjustSize();
    LblReadOnly->hide();

    for (int i = 0; i < kBoxCount; ++i) {
        auto *box = new FieldBox(i, this);
        const BoxPlace &p = kPlaces[size_t(i)];
        box->setGeometry(twipsRect(p.left, p.top, p.width, p.height));
        box->setVisible(FieldCatalogue::byBox(i).column != FieldCatalogue::EditorColumn::NotShown);
        connect(box, &FieldBox::entered, this, &frm::txt_GotFocus);
        connect(box, &FieldBox::left, this, &frm::txt_LostFocus);
        connect(box, &FieldBox::enterPressed, this, &frm::txt_Enter);
        txt[size_t(i)] = box;
    }
    connect(txt[1], &QLineEdit::textChanged, this, &frm::vinChanged);

    // The certificate numbers in the number font, red; the further number line dark.
    for (const int i : {36, 37}) {
        QFont font;
        font.setFamilies({QStringLiteral("PTS_Number_1")});
        font.setPointSizeF(11.25);
        txt[size_t(i)]->setFont(font);
        setColour(txt[size_t(i)], QPalette::Text, QColor(255, 0, 0));
    }
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9.75);
    txt[38]->setFont(arial);
    setColour(txt[38], QPalette::Text, QApplication::palette().color(QPalette::Shadow));

    for (int i = 1; i < int(kTabOrder.size()); ++i)
        setTabOrder(txt[size_t(kTabOrder[size_t(i - 1)])], txt[size_t(kTabOrder[size_t(i)])]);

    for (int k = 0; k < kUpperCaseBoxCount; ++k) {
        // Box k governs field box k up to the house row, and k + 2 after it.
        const int governed = k <= 28 ? k : k + 2;
        const BoxPlace &p = kPlaces[size_t(governed)];
        QCheckBox *box = k == 0 ? new WrappingCheckBox(Text::allCapitals, this) : new QCheckBox(this);
        box->setObjectName(QStringLiteral("Ch1(%1)").arg(k));
        const int width = k == 0 ? 1815 : kCheckSize;
        const int height = k <= 1 ? 375 : kCheckSize;
        box->setGeometry(twipsRect(p.checkLeft, p.checkTop, width, height));
        box->setFocusPolicy(Qt::ClickFocus);
        box->setContextMenuPolicy(Qt::PreventContextMenu);
        box->installEventFilter(this);
        box->setVisible(txt[size_t(governed)]->isVisibleTo(this));
        Ch1[size_t(k)] = box;
    }
    // The column's caption in a smaller type, so that it fits beside the boxes it heads.
    QFont small = Ch1[0]->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Ch1[0]->setFont(small);

    Command1 = pictureButton(this, QStringLiteral("Command1"), twipsRect(900, 120, 555, 555),
                             QStringLiteral("preview.svg"), Text::preview);
    Command3 = pictureButton(this, QStringLiteral("Command3"), twipsRect(945, 5220, 615, 555),
                             QStringLiteral("autofill.svg"), Text::saveTemplate);
    connect(Command1, &QPushButton::clicked, this, &frm::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frm::Command3_Click);

    Lnadp0 = blueLabel(Text::preview, QStringLiteral("Lnadp(0)"), this);
    Lnadp0->move(pixelsFromTwips(300), pixelsFromTwips(720));
    Lnadp0->hide();
    Lnadp2 = blueLabel(Text::saveTemplate, QStringLiteral("Lnadp(2)"), this);
    Lnadp2->move(pixelsFromTwips(165), pixelsFromTwips(5910));
    Lnadp2->hide();
    for (QPushButton *button : {Command1, Command3})
        button->installEventFilter(this);
}

void frm::buildCaptions()
{
    // Each caption ends just left of its box, on the box's row. The certificate number's
    // caption is Label1(5); the others are Label2(0), Label2(1), ... in the order of their boxes.
    int next = 0;
    for (int i = 0; i < kBoxCount; ++i) {
        const QString text = FieldCatalogue::caption(i);
        if (text.isEmpty())
            continue;
        auto *label = new QLabel(text, this);
        label->setObjectName(i == 36 ? QStringLiteral("Label1(5)") : QStringLiteral("Label2(%1)").arg(next++));
        placeCaption(label, txt[size_t(i)]->geometry());
        label->setVisible(txt[size_t(i)]->isVisibleTo(this));
        label->setBuddy(txt[size_t(i)]);
    }
}

void frm::placeCaption(QLabel *label, const QRect &box)
{
    // The room runs from the nearest control to the left on the same row up to the box.
    int roomLeft = 0;
    for (const QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QRect other = w->geometry();
        if (qobject_cast<const QLabel *>(w) || !w->isVisibleTo(this) || other.right() >= box.left()
            || other.bottom() < box.top() || other.top() > box.bottom())
            continue;
        roomLeft = std::max(roomLeft, other.right() + 1 + kCaptionGap);
    }
    const int room = box.left() - kCaptionGap - roomLeft;
    const int oneLine = label->sizeHint().width();
    if (oneLine <= room) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(box.left() - kCaptionGap - oneLine, box.top(), oneLine, box.height());
        return;
    }
    // Too long for one line with the fonts at hand: the caption wraps, lines as even as they
    // can be, and runs down from the box's top.
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int lines = label->heightForWidth(room);
    int width = room;
    while (width > 1 && label->heightForWidth(width - 1) == lines)
        --width;
    const int height = std::max(box.height(), lines);
    label->setGeometry(box.left() - kCaptionGap - width, box.top(), width, height);
}

void frm::buildMenu()
{
    Menu_Gal = new QMenu(Text::menu, this);
    Menu_Gal->setObjectName(QStringLiteral("Menu_Gal"));
    Menu_Gal_1 = Menu_Gal->addAction(Text::tickAll);
    Menu_Gal_1->setObjectName(QStringLiteral("Menu_Gal_1"));
    Menu_Gal_0 = Menu_Gal->addAction(Text::clearAll);
    Menu_Gal_0->setObjectName(QStringLiteral("Menu_Gal_0"));
    connect(Menu_Gal_1, &QAction::triggered, this, [this] { setAllUpperCaseBoxes(true); });
    connect(Menu_Gal_0, &QAction::triggered, this, [this] { setAllUpperCaseBoxes(false); });
}

void frm::Form_Load()
{
    const int record = m_journal.CurrentRecord;
    for (int i = 0; i < kBoxCount; ++i)
        txt[size_t(i)]->setText(m_journal.table.text(record, FieldCatalogue::fieldFromBox(i)));
    loadUpperCaseBoxes();
    Label3->setText(Text::heading + QString::number(record));
    Label3->adjustSize();
    LblReadOnly->move(Label3->geometry().right() + pixelsFromTwips(240), Label3->y());
}

void frm::Form_Unload()
{
    QList<QString> texts;
    texts.reserve(kBoxCount);
    for (const FieldBox *box : txt)
        texts.append(box->text());
    CommitRecord(m_journal, texts);
    storeUpperCaseBoxes();
    SaveJournal(m_journal, m_platform.dialogs);
}

void frm::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    // The certificate closes first, the normal way: its question, then its texts back into
    // the boxes, which are then stored with the record. A certificate that cannot close yet
    // keeps the editor open until it has gone.
    if (certificateOpen()) {
        m_closing = true;
        const bool closed = m_certificate->close();
        m_closing = false;
        if (!closed) {
            m_closeAfterCertificate = true;
            event->ignore();
            return;
        }
    }
    event->accept();
    m_unloaded = true;
    // The box being typed in is stored as if the operator had left it.
    for (int i = 0; i < kBoxCount; ++i) {
        if (txt[size_t(i)]->hasFocus())
            txt_LostFocus(i);
    }
    Form_Unload();
    Q_EMIT editorClosed();
}

void frm::txt_GotFocus(int index)
{
    showBoxBackground(index, true);
}

void frm::showBoxBackground(int index, bool focused)
{
    // A box that takes no typing looks it, focused or not: greyed like the window, never the
    // yellow of a box being typed in.
    FieldBox *box = txt[size_t(index)];
    const QPalette normal = QApplication::palette(box);
    QColor colour = normal.color(QPalette::Base);
    if (box->isReadOnly())
        colour = normal.color(QPalette::Window);
    else if (focused)
        colour = m_journal.FocusBackColor;
    setColour(box, QPalette::Base, colour);
}

void frm::setBoxesReadOnly(bool readOnly)
{
    for (FieldBox *box : txt) {
        box->setReadOnly(readOnly);
        showBoxBackground(box->index(), box->hasFocus());
    }
    LblReadOnly->setVisible(readOnly);
}

void frm::txt_LostFocus(int index)
{
    FieldBox *box = txt[size_t(index)];
    const QString unbroken = FieldInputRules::withoutLineBreaks(box->text());
    if (unbroken != box->text())
        box->setText(unbroken);
    showBoxBackground(index, false);
    const int k = FieldCatalogue::upperCaseBoxFor(index);
    if (k != FieldCatalogue::kNoBox && Ch1[size_t(k)]->isChecked()) {
        const QString capitals = FieldInputRules::inCapitals(box->text());
        if (capitals != box->text())
            box->setText(capitals);
    }
}

void frm::txt_Enter(int index)
{
    const int target = enterTarget(index);
    if (target != kNone)
        txt[size_t(target)]->setFocus(Qt::TabFocusReason);
}

void frm::vinChanged()
{
    FieldBox *vin = txt[1];
    const bool wrongLength = vin->text().size() != FieldInputRules::kVinLength;
    setColour(vin, QPalette::Text,
              wrongLength ? QColor(255, 0, 0) : QApplication::palette(vin).color(QPalette::ButtonText));
}

void frm::Command1_Click()
{
    // One certificate per editor: an open one comes to the front.
    if (certificateOpen()) {
        hide();
        m_certificate->raise();
        m_certificate->activateWindow();
        return;
    }
    Q_EMIT previewRequested();
    // The certificate takes the editor's place; without one the editor stays in view.
    if (isSignalConnected(QMetaMethod::fromSignal(&frm::previewRequested)))
        hide();
}

void frm::Command3_Click()
{
    std::array<QString, AutofillTemplate::kValueCount> texts;
    for (int i = 0; i < kBoxCount; ++i)
        texts[size_t(i)] = txt[size_t(i)]->text();
    // The operator must not count on a template that is not in the file.
    const QString path = m_platform.programFile(AutofillTemplate::fileName());
    QString error;
    if (!SaveAutofillTemplate(m_journal.autofill, texts, path, &error))
        m_platform.dialogs.message(fileNotSaved(QStringLiteral("шаблон автозаполнения"), path, error), this);
}

void frm::setAllUpperCaseBoxes(bool ticked)
{
    for (QCheckBox *box : Ch1)
        box->setChecked(ticked);
}

void frm::loadUpperCaseBoxes()
{
    const UpperCaseTicks ticks = UpperCaseTicks::read(m_platform.settings);
    for (int k = 0; k < kUpperCaseBoxCount; ++k)
        Ch1[size_t(k)]->setChecked(ticks.ticked[size_t(k)]);
}

void frm::storeUpperCaseBoxes()
{
    UpperCaseTicks ticks;
    for (int k = 0; k < kUpperCaseBoxCount; ++k)
        ticks.ticked[size_t(k)] = Ch1[size_t(k)]->isChecked();
    ticks.write(m_platform.settings);
}

void frm::showCaption(QLabel *caption)
{
    Lnadp0->setVisible(caption == Lnadp0);
    Lnadp2->setVisible(caption == Lnadp2);
}

bool frm::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == Command1)
            showCaption(Lnadp0);
        else if (watched == Command3)
            showCaption(Lnadp2);
    } else if (type == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton && qobject_cast<QCheckBox *>(watched)) {
            Menu_Gal->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frm::mouseMoveEvent(QMouseEvent *event)
{
    // A move over a button may reach the window rather than the button; over the bare
    // background neither caption is meant.
    const QWidget *under = childAt(event->position().toPoint());
    if (under == Command1)
        showCaption(Lnadp0);
    else if (under == Command3)
        showCaption(Lnadp2);
    else if (!under)
        showCaption(nullptr);
    QWidget::mouseMoveEvent(event);
}

QString frm::boxText(int index) const
{
    return index >= 0 && index < kBoxCount ? txt[size_t(index)]->text() : QString();
}

void frm::setBoxText(int index, const QString &text)
{
    if (index >= 0 && index < kBoxCount)
        txt[size_t(index)]->setText(text);
}

bool frm::isBoxShown(int index) const
{
    return index >= 0 && index < kBoxCount && txt[size_t(index)]->isVisibleTo(this);
}

void frm::focusBox(int index)
{
    if (isBoxShown(index))
        txt[size_t(index)]->setFocus(Qt::OtherFocusReason);
}

void frm::setCertificate(QWidget *certificate)
{
    if (!certificate || certificate == m_certificate)
        return;
    m_certificate = certificate;
    if (certificate->parentWidget() != this) {
        // A new parent hides a window: it shows again as it was.
        const bool shown = certificate->isVisible();
        certificate->setParent(this, certificate->windowFlags() | Qt::Window);
        certificate->setVisible(shown);
    }
    connect(certificate, &QObject::destroyed, this, [this, certificate] { certificateGone(certificate); });
    setBoxesReadOnly(true);
}

bool frm::certificateOpen() const
{
    return m_certificate && m_certificate->isVisible();
}

void frm::certificateGone(const QObject *certificate)
{
    // An earlier certificate, closed before this one opened, has nothing to say.
    if (m_certificate && m_certificate.data() != certificate)
        return;
    setBoxesReadOnly(false);
    if (m_closeAfterCertificate && !m_unloaded)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frm::showEditor()
{
    // The certificate hands the texts back during the editor's own close: it stays closing.
    if (m_closing || m_unloaded)
        return;
    show();
    raise();
    activateWindow();
}
