#include "PictureItem.h"

#include "BuiltInRaster.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

PictureItem::PictureItem(PictureId id, const CertificateLayout &layout) : m_layout(layout), m_id(id)
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
        // The vector art is read when a printer or a PDF first asks for it.
        m_svgResource = picture.svgResource;
        m_svg.reset();
        m_svgRead = false;
    }
    const QRectF rect(QPointF(0, 0), picture.sizeMm);
    takeGeometry(rect, picture.visible);
}

void PictureItem::syncPosition()
{
    placeAt(m_layout.picture(m_id).pos);
}

QRectF PictureItem::boundingRect() const
{
    return m_rect;
}

QSvgRenderer *PictureItem::vectorArt()
{
    if (!m_svgRead) {
        m_svgRead = true;
        if (QFile::exists(m_svgResource)) {
            m_svg = std::make_unique<QSvgRenderer>(m_svgResource);
            if (!m_svg->isValid())
                m_svg.reset();
        }
    }
    return m_svg.get();
}

bool PictureItem::paintRaster(QPainter *painter) const
{
    // Only a view's plain scale is drawn from the raster; anything else gets the vector art.
    const QTransform transform = painter->worldTransform();
    if (transform.type() > QTransform::TxScale || transform.m11() <= 0 || transform.m22() <= 0)
        return false;
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QRectF logical = transform.mapRect(m_rect);
    const QSize devicePixels(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
    const QImage raster = BuiltInRaster::raster(m_svgResource, devicePixels, ratio);
    if (raster.isNull())
        return false;
    // At whole device pixels, so that the raster is copied as it was made, never resampled.
    const QPointF at(std::round(logical.left() * ratio) / ratio, std::round(logical.top() * ratio) / ratio);
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->drawImage(at, raster);
    painter->restore();
    return true;
}

void PictureItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *widget)
{
    const CertificateLayout::Picture &picture = m_layout.picture(m_id);
    if (!m_svgResource.isEmpty() && widget && paintRaster(painter)) {
        // A view: the screen, or the page picture taken from it.
    } else if (!m_svgResource.isEmpty() && vectorArt()) {
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
