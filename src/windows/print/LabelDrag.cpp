#include "LabelDrag.h"

#include "certificate/CertificateLayout.h"

#include <QApplication>
#include <QGraphicsView>
#include <QPainter>
#include <QWidget>

#include <cmath>
#include <utility>

namespace {

// The frame as a dashed line, dark over a light one so that it shows on the blank and on the
// white page alike. It takes no mouse: the viewport under it keeps getting the pointer.
class SelectionFrame final : public QWidget
{
public:
    explicit SelectionFrame(QWidget *viewport) : QWidget(viewport)
    {
        setObjectName(QStringLiteral("frmPTS1.frame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect edge = rect().adjusted(0, 0, -1, -1);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(edge);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(edge);
    }
};

} // namespace

LabelDrag::LabelDrag(CertificateLayout &layout, QGraphicsView &view, QObject *parent)
    : QObject(parent), m_layout(layout), m_view(view)
{
}

LabelDrag::~LabelDrag() = default;

void LabelDrag::press(Kind kind, const QPoint &viewportPos)
{
    cancel();
    m_kind = kind;
    m_pressed = true;
    m_pressPos = viewportPos;
    m_lastPos = viewportPos;
    m_pressMm = m_view.mapToScene(viewportPos);
}

void LabelDrag::move(const QPoint &viewportPos, Qt::MouseButtons buttons)
{
    if (!m_pressed)
        return;
    if (!(buttons & Qt::LeftButton)) {
        release();
        return;
    }
    follow(viewportPos);
}

void LabelDrag::follow(const QPoint &viewportPos)
{
    m_lastPos = viewportPos;
    if (!m_dragging) {
        if ((viewportPos - m_pressPos).manhattanLength() <= QApplication::startDragDistance())
            return;
        begin();
    }
    if (m_kind == Kind::Frame) {
        if (m_band)
            m_band->setGeometry(QRect(m_pressPos, viewportPos).normalized());
        return;
    }
    // Whole steps of the distance covered, towards the press; every label from where it was,
    // so that no step adds up rounding.
    const QPointF mm = m_view.mapToScene(viewportPos) - m_pressMm;
    const QPoint steps(int(std::trunc(mm.x() / kStepMm)), int(std::trunc(mm.y() / kStepMm)));
    if (steps == m_steps)
        return;
    m_steps = steps;
    const float dx = float(steps.x()) * kStepMm;
    const float dy = float(steps.y()) * kStepMm;
    for (qsizetype k = 0; k < m_labels.size(); ++k) {
        const MmPoint from = m_from[size_t(k)];
        m_layout.setLabelPosition(m_labels[k], {from.left + dx, from.top + dy});
    }
}

void LabelDrag::begin()
{
    m_dragging = true;
    Q_EMIT started();
    if (m_kind == Kind::Frame) {
        if (!m_band)
            m_band = new SelectionFrame(m_view.viewport());
        m_band->setGeometry(QRect(m_pressPos, m_pressPos));
        m_band->show();
        m_band->raise();
        return;
    }
    // Hidden labels that are selected move too, as with the arrows.
    m_labels.clear();
    m_from.clear();
    m_steps = QPoint();
    for (int i = 0; i < kLabelCount; ++i) {
        if (m_layout.isSelected(i)) {
            m_labels << i;
            m_from.push_back(m_layout.label(i).pos);
        }
    }
}

void LabelDrag::release(const QPoint &viewportPos)
{
    if (m_pressed)
        follow(viewportPos);
    release();
}

bool LabelDrag::stop()
{
    const bool dragged = m_dragging;
    m_pressed = false;
    m_dragging = false;
    if (dragged && m_kind == Kind::Frame && m_band)
        m_band->hide();
    return dragged;
}

void LabelDrag::release()
{
    if (!stop())
        return;
    if (m_kind == Kind::Frame) {
        const QRectF frameMm = QRectF(m_view.mapToScene(m_pressPos), m_view.mapToScene(m_lastPos)).normalized();
        Q_EMIT framed(labelsInside(frameMm));
        return;
    }
    const float dx = float(m_steps.x()) * kStepMm;
    const float dy = float(m_steps.y()) * kStepMm;
    putBack();
    const QList<int> labels = std::exchange(m_labels, {});
    m_from.clear();
    Q_EMIT dropped(labels, dx, dy);
}

void LabelDrag::cancel()
{
    if (!stop() || m_kind == Kind::Frame)
        return;
    putBack();
    m_labels.clear();
    m_from.clear();
}

void LabelDrag::endForClosing()
{
    if (m_kind == Kind::Frame)
        cancel();
    else
        release();
}

void LabelDrag::putBack()
{
    if (m_steps.isNull())
        return;
    for (qsizetype k = 0; k < m_labels.size(); ++k)
        m_layout.setLabelPosition(m_labels[k], m_from[size_t(k)]);
    m_steps = QPoint();
}

QList<int> LabelDrag::labelsInside(const QRectF &frameMm) const
{
    QList<int> inside;
    for (int i = 0; i < kLabelCount; ++i) {
        const CertificateLayout::Label &label = m_layout.label(i);
        if (label.visible && frameMm.contains(QRectF(label.pos.left, label.pos.top, label.width, label.height)))
            inside << i;
    }
    return inside;
}
