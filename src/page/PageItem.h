#pragma once

#include "certificate/LayoutTypes.h"

#include <QGraphicsItem>

// What the page's labels and pictures share: a rectangle in millimetres from the item's
// top-left corner, taken from the model by sync(), and a place on the page.
class PageItem : public QGraphicsItem
{
protected:
    // The item's rectangle and visibility as the model now gives them.
    void takeGeometry(const QRectF &rect, bool visible)
    {
        if (rect != m_rect)
            prepareGeometryChange();
        m_rect = rect;
        setVisible(visible);
        update();
    }
    void placeAt(MmPoint pos) { setPos(pos.left, pos.top); }

    QRectF m_rect;
};
