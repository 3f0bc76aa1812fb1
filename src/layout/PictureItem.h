#pragma once

#include "CertificateLayout.h"

#include <QGraphicsItem>

#include <memory>

class QSvgRenderer;

// One picture of the page: a blank side, the stamp or the signature.
class PictureItem final : public QGraphicsItem
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
    const CertificateLayout &m_layout;
    const PictureId m_id;
    std::unique_ptr<QSvgRenderer> m_svg;
    QString m_svgResource;
    QRectF m_rect;
};
