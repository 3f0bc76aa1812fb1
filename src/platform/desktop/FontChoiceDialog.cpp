#include "FontChoiceDialog.h"

#include "platform/RegionalNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

// The sixteen colours of the classic font dialog.
struct NamedColour
{
    const char16_t *name;
    QRgb rgb;
};
constexpr std::array<NamedColour, 16> kColours = {{
    {u"Черный", 0x000000},
    {u"Бордовый", 0x800000},
    {u"Зеленый", 0x008000},
    {u"Оливковый", 0x808000},
    {u"Темно-синий", 0x000080},
    {u"Фиолетовый", 0x800080},
    {u"Сине-зеленый", 0x008080},
    {u"Серый", 0x808080},
    {u"Серебристый", 0xC0C0C0},
    {u"Красный", 0xFF0000},
    {u"Салатовый", 0x00FF00},
    {u"Желтый", 0xFFFF00},
    {u"Синий", 0x0000FF},
    {u"Фуксия", 0xFF00FF},
    {u"Голубой", 0x00FFFF},
    {u"Белый", 0xFFFFFF},
}};

constexpr std::array<int, 16> kSizes = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30};

// Style names in the order bold * 2 + italic.
constexpr std::array<const char16_t *, 4> kStyles = {u"Обычный", u"Курсив", u"Жирный", u"Жирный курсив"};

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(colour);
    QPainter(&pixmap).drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

} // namespace

FontChoiceDialog::FontChoiceDialog(const Dialogs::FontChoice &initial, int minSize, int maxSize, QWidget *parent)
    : QDialog(parent), m_minSize(minSize), m_maxSize(maxSize)
{
    setWindowTitle(QStringLiteral("Шрифт"));
    setObjectName(QStringLiteral("FontChoiceDialog"));

    m_face = new QFontComboBox(this);
    m_face->setObjectName(QStringLiteral("face"));
    m_face->setEditable(true);
    m_face->setCurrentFont(QFont(initial.face));
    // A face that is not installed stays named as it was asked for.
    m_face->setEditText(initial.face);

    m_style = new QComboBox(this);
    m_style->setObjectName(QStringLiteral("style"));
    for (const char16_t *style : kStyles)
        m_style->addItem(QString::fromUtf16(style));
    m_style->setCurrentIndex(int(initial.bold) * 2 + int(initial.italic));

    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (const int size : kSizes)
        if (size >= minSize && size <= maxSize)
            m_size->addItem(QString::number(size));
    auto *validator = new QDoubleValidator(minSize, maxSize, 2, m_size);
    validator->setNotation(QDoubleValidator::StandardNotation);
    m_size->lineEdit()->setValidator(validator);
    m_size->setEditText(RegionalNumber::format(float(qBound<double>(minSize, initial.size, maxSize))));

    m_colour = new QComboBox(this);
    m_colour->setObjectName(QStringLiteral("colour"));
    for (const NamedColour &c : kColours)
        m_colour->addItem(swatch(QColor(c.rgb)), QString::fromUtf16(c.name), QColor(c.rgb));
    selectColour(initial.colour);

    m_strikeout = new QCheckBox(QStringLiteral("Зачеркнутый"), this);
    m_strikeout->setObjectName(QStringLiteral("strikeout"));
    m_strikeout->setChecked(initial.strikeout);
    m_underline = new QCheckBox(QStringLiteral("Подчеркнутый"), this);
    m_underline->setObjectName(QStringLiteral("underline"));
    m_underline->setChecked(initial.underline);
    auto *effects = new QGroupBox(QStringLiteral("Видоизменение"), this);
    auto *effectsForm = new QFormLayout(effects);
    effectsForm->addRow(m_strikeout);
    effectsForm->addRow(m_underline);
    effectsForm->addRow(QStringLiteral("Цвет:"), m_colour);

    m_sample = new QLabel(QStringLiteral("АаБбЯя AaBbYyZz 0123"), this);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setMinimumSize(320, 60);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setFrameShape(QFrame::StyledPanel);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Шрифт:"), m_face);
    form->addRow(QStringLiteral("Начертание:"), m_style);
    form->addRow(QStringLiteral("Размер (%1–%2):").arg(minSize).arg(maxSize), m_size);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(effects);
    layout->addWidget(m_sample);
    layout->addWidget(m_buttons);

    for (QComboBox *box : {static_cast<QComboBox *>(m_face), m_style, m_size, m_colour})
        connect(box, &QComboBox::currentTextChanged, this, &FontChoiceDialog::updateSample);
    for (QCheckBox *box : {m_strikeout, m_underline})
        connect(box, &QCheckBox::toggled, this, &FontChoiceDialog::updateSample);
    updateSample();
}

void FontChoiceDialog::selectColour(const QColor &colour)
{
    const int index = m_colour->findData(colour);
    if (index >= 0) {
        m_colour->setCurrentIndex(index);
        return;
    }
    // A colour of its own, from an earlier choice of the window, is offered as it is.
    m_colour->addItem(swatch(colour), colour.name(), colour);
    m_colour->setCurrentIndex(m_colour->count() - 1);
}

bool FontChoiceDialog::isAcceptable() const
{
    const auto size = RegionalNumber::parse(m_size->currentText());
    return size && *size >= float(m_minSize) && *size <= float(m_maxSize) && !m_face->currentText().trimmed().isEmpty();
}

Dialogs::FontChoice FontChoiceDialog::choice() const
{
    Dialogs::FontChoice c;
    c.face = m_face->currentText().trimmed();
    c.bold = m_style->currentIndex() >= 2;
    c.italic = m_style->currentIndex() % 2 == 1;
    c.size = double(RegionalNumber::parse(m_size->currentText()).value_or(float(m_minSize)));
    c.colour = m_colour->currentData().value<QColor>();
    c.strikeout = m_strikeout->isChecked();
    c.underline = m_underline->isChecked();
    return c;
}

void FontChoiceDialog::updateSample()
{
    const bool acceptable = isAcceptable();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(acceptable);
    if (!acceptable)
        return;
    const Dialogs::FontChoice c = choice();
    QFont font(c.face);
    font.setBold(c.bold);
    font.setItalic(c.italic);
    font.setPointSizeF(c.size);
    font.setStrikeOut(c.strikeout);
    font.setUnderline(c.underline);
    m_sample->setFont(font);
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, c.colour);
    m_sample->setPalette(palette);
}
