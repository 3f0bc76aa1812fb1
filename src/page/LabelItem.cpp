#include "LabelItem.h"

#include "certificate/ColourCode.h"
#include "certificate/PageText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace {
// Italic letters and antialiasing reach a little beyond the advances.
constexpr qreal kInkMarginMm = 1.0;
} // namespace

LabelItem::LabelItem(int index, const CertificateLayout &layout) : m_layout(layout), m_index(index)
{
    setZValue(1);
    sync();
    syncPosition();
}

void LabelItem::sync()
{
    const CertificateLayout::Label &label = m_layout.label(m_index);
    const QRectF rect(0, 0, label.width, label.height);
    takeGeometry(rect, label.visible);
}

void LabelItem::syncPosition()
{
    placeAt(m_layout.label(m_index).pos);
}

QRectF LabelItem::boundingRect() const
{
    return m_rect.adjusted(-kInkMarginMm, -kInkMarginMm, kInkMarginMm, kInkMarginMm);
}

QPainterPath LabelItem::shape() const
{
    QPainterPath path;
    path.addRect(m_rect);
    return path;
}

void LabelItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const CertificateLayout::Label &label = m_layout.label(m_index);
    if (label.text.isEmpty())
        return;
    // From millimetres to the device's own dots, so that the font is sized by the device's
    // resolution: 9.75 points are 13 dots on the screen and 81.25 on a 600-dpi printer.
    QPaintDevice *device = painter->device();
    const qreal dpiX = device->logicalDpiX();
    const qreal dpiY = device->logicalDpiY();
    const PageText::DeviceFont font = PageText::deviceFont(label.font, dpiY);
    painter->save();
    painter->scale(25.4 / dpiX * font.scale, 25.4 / dpiY * font.scale);
    painter->setFont(font.font);
    painter->setPen(ColourCode::toColor(label.foreColour));
    const QFontMetricsF metrics(font.font, device);
    painter->drawText(QPointF(0, metrics.ascent()), label.text);
    painter->restore();
}
