#include "CertificateScene.h"

#include "LabelItem.h"
#include "PictureItem.h"
#include "certificate/CertificateLayout.h"

#include <QPaintDevice>
#include <QPainter>

CertificateScene::CertificateScene(const CertificateLayout &layout, QObject *parent) : QGraphicsScene(parent)
{
    setBackgroundBrush(Qt::white);
    // Items move in steps of a quarter millimetre all the time; the index would be rebuilt
    // more often than it is asked.
    setItemIndexMethod(NoIndex);
    for (int p = 0; p < kPictureCount; ++p) {
        m_pictures[size_t(p)] = new PictureItem(PictureId(p), layout);
        addItem(m_pictures[size_t(p)]);
    }
    for (int i = 0; i < kLabelCount; ++i) {
        m_labels[size_t(i)] = new LabelItem(i, layout);
        addItem(m_labels[size_t(i)]);
    }
    connect(&layout, &CertificateLayout::labelMoved, this, [this](int i) { labelItem(i)->syncPosition(); });
    connect(&layout, &CertificateLayout::labelChanged, this, [this](int i) { labelItem(i)->sync(); });
    connect(&layout, &CertificateLayout::pictureMoved, this, [this](PictureId p) { pictureItem(p)->syncPosition(); });
    connect(&layout, &CertificateLayout::pictureChanged, this, [this](PictureId p) { pictureItem(p)->sync(); });
}

void CertificateScene::renderPage(QPainter *painter, const QRectF &sourceMm)
{
    const QPaintDevice *device = painter->device();
    const QRectF target(0, 0, sourceMm.width() * device->logicalDpiX() / 25.4,
                        sourceMm.height() * device->logicalDpiY() / 25.4);
    // The items are given no widget here: the built-in blanks are drawn from their vector art,
    // on a printer and in a PDF as lines, never as the screen's picture of them.
    render(painter, target, sourceMm, Qt::IgnoreAspectRatio);
}
