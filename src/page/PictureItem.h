#pragma once

#include "PageItem.h"
#include "certificate/CertificateLayout.h"

#include <memory>

class QSvgRenderer;

// One picture of the page: a blank side, the stamp or the signature. A built-in blank is drawn
// on the screen from the run's raster of it and on other devices from its vector art.
class PictureItem final : public PageItem
{
public:
    static constexpr int kType = UserType + 2;

    PictureItem(PictureId id, const CertificateLayout &layout);
    ~PictureItem() override;

    PictureId id() const { return m_id; }
    bool isBackground() const { return m_id == PictureId::Image1 || m_id == PictureId::Image2; }
    void sync();
    void syncPosition();

    int type() const override { return kType; }
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    // The built-in picture from the screen's raster; false when it cannot be drawn so.
    bool paintRaster(QPainter *painter) const;
    // The built-in picture's vector art, read on first use; null when it cannot be drawn.
    QSvgRenderer *vectorArt();

    const CertificateLayout &m_layout;
    const PictureId m_id;
    std::unique_ptr<QSvgRenderer> m_svg;
    QString m_svgResource;
    bool m_svgRead = false;
};
