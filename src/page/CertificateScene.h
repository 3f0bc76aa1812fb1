#pragma once

#include "certificate/LayoutTypes.h"

#include <QGraphicsScene>

#include <array>

class CertificateLayout;
class LabelItem;
class PictureItem;
class QPainter;

// The one drawing of the certificate page, in millimetres: the print window's view shows it
// at logical DPI / 25.4 pixels per millimetre, and the same items are rendered into the page
// picture, onto a printer or into a PDF, each device giving only its own scale.
class CertificateScene final : public QGraphicsScene
{
    Q_OBJECT

public:
    explicit CertificateScene(const CertificateLayout &layout, QObject *parent = nullptr);

    LabelItem *labelItem(int i) const { return m_labels.at(size_t(i)); }
    PictureItem *pictureItem(PictureId p) const { return m_pictures.at(size_t(p)); }

    // Draws the page area `sourceMm` at its exact size on the painter's device, its top-left
    // corner at the device's origin: a millimetre is dpi / 25.4 of the device's dots.
    void renderPage(QPainter *painter, const QRectF &sourceMm);

private:
    std::array<LabelItem *, kLabelCount> m_labels{};
    std::array<PictureItem *, kPictureCount> m_pictures{};
};
