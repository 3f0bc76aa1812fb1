#include "WrappingCheckBox.h"

#include <QPainter>
#include <QStyleOptionButton>

WrappingCheckBox::WrappingCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent) {}

QRect WrappingCheckBox::textRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    return rect().adjusted(indicator + spacing, 0, 0, 0);
}

void WrappingCheckBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    option.rect = QRect(indicator.left(), (height() - indicator.height()) / 2, indicator.width(), indicator.height());
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);

    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

bool WrappingCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
