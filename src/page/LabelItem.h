#pragma once

#include "PageItem.h"
#include "certificate/CertificateLayout.h"

// One field label on the page: its text in its font and fore colour over a transparent
// background, its rectangle the label's size in millimetres.
class LabelItem final : public PageItem
{
public:
    static constexpr int kType = UserType + 1;

    LabelItem(int index, const CertificateLayout &layout);

    int index() const { return m_index; }
    // Takes the label's text, font, size, colour and visibility from the model.
    void sync();
    void syncPosition();

    int type() const override { return kType; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    const CertificateLayout &m_layout;
    const int m_index;
};
