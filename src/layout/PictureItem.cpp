#include "PictureItem.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

PictureItem::PictureItem(PictureId id, const CertificateLayout &layout)
    : m_layout(layout), m_id(id)
{
    // Blanks under the labels; the stamp and then the signature over them, so that the text
    // shows through their transparent parts. Neither of the two takes the mouse.
    switch (id) {
    case PictureId::Image1:
    case PictureId::Image2:
        setZValue(0);
        break;
    case PictureId::ImPech:
        setZValue(2);
        setAcceptedMouseButtons(Qt::NoButton);
        break;
    case PictureId::ImPodp:
        setZValue(3);
        setAcceptedMouseButtons(Qt::NoButton);
        break;
    }
    sync();
    syncPosition();
}

PictureItem::~PictureItem() = default;

void PictureItem::sync()
{
    const CertificateLayout::Picture &picture = m_layout.picture(m_id);
    if (picture.svgResource != m_svgResource) {
        m_svgResource = picture.svgResource;
        m_svg.reset();
        if (!m_svgResource.isEmpty() && QFile::exists(m_svgResource)) {
            m_svg = std::make_unique<QSvgRenderer>(m_svgResource);
            if (!m_svg->isValid())
                m_svg.reset();
        }
        // A vector blank is drawn once per scale and then blitted while labels move over it.
        setCacheMode(m_svg ? DeviceCoordinateCache : NoCache);
    }
    const QRectF rect(QPointF(0, 0), picture.sizeMm);
    if (rect != m_rect)
        prepareGeometryChange();
    m_rect = rect;
    setVisible(picture.visible);
    update();
}

void PictureItem::syncPosition()
{
    const MmPoint pos = m_layout.picture(m_id).pos;
    setPos(pos.left, pos.top);
}

QRectF PictureItem::boundingRect() const
{
    return m_rect;
}

void PictureItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const CertificateLayout::Picture &picture = m_layout.picture(m_id);
    if (m_svg) {
        m_svg->render(painter, m_rect);
    } else if (!picture.image.isNull()) {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(m_rect, picture.image);
        painter->restore();
    } else if (isBackground() && !m_svgResource.isEmpty()) {
        // A built-in blank that could not be drawn still takes its place on the page.
        painter->fillRect(m_rect, Qt::white);
    }
}
