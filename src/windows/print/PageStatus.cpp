#include "PageStatus.h"

#include "certificate/CertificateLayout.h"

#include <QEvent>
#include <QGraphicsView>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>

namespace {

namespace Text {
const QString pointer = QStringLiteral("Указатель: ");
const QString count = QStringLiteral("Выделено полей: ");
const QString label = QStringLiteral("Поле № ");
const QString by = QStringLiteral(" × ");
const QString mm = QStringLiteral(" мм");
// As wide as the texts get, so that the sections do not jump while the pointer moves.
const QString widestPointer = QStringLiteral("Указатель: -888,88 × -888,88 мм");
const QString widestLabel = QStringLiteral("Поле № 88: -888,88 × -888,88 мм");
} // namespace Text

QLabel *section(QWidget *parent, const char *name, const QString &widest)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 8);
    return label;
}

} // namespace

PageStatus::PageStatus(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    m_pointer = section(this, "StatusBar1(Pointer)", Text::widestPointer);
    m_count = section(this, "StatusBar1(Count)", Text::count + QStringLiteral("88"));
    m_firstLabel = section(this, "StatusBar1(Label)", Text::widestLabel);
    addWidget(m_pointer);
    addWidget(m_count);
    addWidget(m_firstLabel, 1);
}

QString PageStatus::position(double left, double top)
{
    // The operator's decimal separator, as the positions are stored; two decimals show the
    // quarter millimetres of the steps.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(left, 'f', 2) + Text::by + locale.toString(top, 'f', 2) + Text::mm;
}

void PageStatus::watch(const CertificateLayout &layout, QGraphicsView &view)
{
    if (m_layout)
        disconnect(m_layout, nullptr, this, nullptr);
    if (m_viewport)
        m_viewport->removeEventFilter(this);
    m_layout = &layout;
    m_view = &view;
    m_viewport = view.viewport();
    view.viewport()->installEventFilter(this);
    // The pointer is followed with no button held too.
    view.viewport()->setMouseTracking(true);
    // A selection changes with a fore colour; during a move only the first label's place
    // matters, and it is looked at only when that label moves.
    connect(&layout, &CertificateLayout::labelChanged, this, &PageStatus::showSelection);
    connect(&layout, &CertificateLayout::labelMoved, this, [this](int i) {
        if (i == m_first)
            showFirstPosition();
    });
    m_pointer->clear();
    showSelection();
}

void PageStatus::showSelection()
{
    int count = 0;
    m_first = -1;
    for (int i = 0; i < kLabelCount; ++i) {
        if (m_layout->isSelected(i)) {
            if (count++ == 0)
                m_first = i;
        }
    }
    m_count->setText(count ? Text::count + QString::number(count) : QString());
    showFirstPosition();
}

void PageStatus::showFirstPosition()
{
    if (m_first < 0) {
        m_firstLabel->clear();
        return;
    }
    const MmPoint pos = m_layout->label(m_first).pos;
    m_firstLabel->setText(Text::label + QString::number(m_first) + QStringLiteral(": ") + position(pos.left, pos.top));
}

void PageStatus::showPointer(const QPoint &viewportPos)
{
    if (!m_view)
        return;
    const QPointF mm = m_view->mapToScene(viewportPos);
    m_pointer->setText(Text::pointer + position(mm.x(), mm.y()));
}

bool PageStatus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport.data()) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)
            showPointer(static_cast<QMouseEvent *>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave)
            m_pointer->clear();
    }
    return QStatusBar::eventFilter(watched, event);
}
