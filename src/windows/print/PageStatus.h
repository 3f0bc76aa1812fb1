#pragma once

#include "certificate/LayoutTypes.h"

#include <QPointer>
#include <QStatusBar>

class CertificateLayout;
class QGraphicsView;
class QLabel;

// The frame's status bar under the print window: where the pointer is on the page, how many
// labels are selected and where the first of them is, in millimetres with the regional decimal
// separator, as they change.
class PageStatus final : public QStatusBar
{
    Q_OBJECT

public:
    explicit PageStatus(QWidget *parent = nullptr);

    // The page of this print window from now on, in place of any earlier one.
    void watch(const CertificateLayout &layout, QGraphicsView &view);

    // "112,25 × 43,50 мм".
    static QString position(double left, double top);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showSelection();
    void showFirstPosition();
    void showPointer(const QPoint &viewportPos);

    QPointer<const CertificateLayout> m_layout;
    // The view is looked at only for the pointer's moves: it sends its last events while it is
    // being destroyed, no longer a view.
    QPointer<QGraphicsView> m_view;
    QPointer<QObject> m_viewport;
    // The lowest-numbered selected label, or -1.
    int m_first = -1;
    QLabel *m_pointer = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_firstLabel = nullptr;
};
