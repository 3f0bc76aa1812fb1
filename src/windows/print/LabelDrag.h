#pragma once

#include "certificate/LayoutTypes.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>

#include <vector>

class CertificateLayout;
class QGraphicsView;
class QWidget;

// What the left button does on the page after its press, once the pointer has gone farther
// than the start distance before it is let go: pressed on a label, every selected label
// follows the pointer in whole steps of a quarter millimetre; pressed on the empty page, a
// dashed frame follows it and selects the shown labels inside. A press let go where it was is
// the click it has always been: the press itself belongs to the window.
class LabelDrag final : public QObject
{
    Q_OBJECT

public:
    static constexpr float kStepMm = 0.25f;
    enum class Kind { Labels, Frame };

    LabelDrag(CertificateLayout &layout, QGraphicsView &view, QObject *parent = nullptr);
    ~LabelDrag() override;

    // The left button went down at a viewport point: on a label (after its selection) or on
    // the empty page.
    void press(Kind kind, const QPoint &viewportPos);
    // The pointer moved with these buttons held; without the left one, its release went
    // elsewhere and this is where it ended.
    void move(const QPoint &viewportPos, Qt::MouseButtons buttons);
    // The left button let go here, or where the pointer was last seen.
    void release(const QPoint &viewportPos);
    void release();
    // The labels back where the drag found them, the frame gone, nothing selected.
    void cancel();
    // The window closes: dragged labels stay where they are shown, as at a release; a frame
    // selects nothing.
    void endForClosing();

    // Past the start distance and not yet let go: the page's keys wait until it is over.
    bool isDragging() const { return m_dragging; }

Q_SIGNALS:
    // A drag or a frame begins.
    void started();
    // Let go after a drag: the labels that followed the pointer are back where they were, to
    // be moved by (dx, dy) millimetres as one step.
    void dropped(const QList<int> &labels, float dx, float dy);
    // Let go after a frame: the shown labels whose rectangle lies inside it, ascending.
    void framed(const QList<int> &labels);

private:
    void begin();
    void follow(const QPoint &viewportPos);
    // Ends the press; true when a drag or a frame was under way (its frame is hidden).
    bool stop();
    void putBack();
    QList<int> labelsInside(const QRectF &frameMm) const;

    CertificateLayout &m_layout;
    QGraphicsView &m_view;
    // The dashed frame, over the viewport; it goes with the viewport.
    QPointer<QWidget> m_band;

    Kind m_kind = Kind::Labels;
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressPos;
    QPoint m_lastPos;
    QPointF m_pressMm;
    // The labels that follow the pointer, where they were, and how many steps they are away.
    QList<int> m_labels;
    std::vector<MmPoint> m_from;
    QPoint m_steps;
};
