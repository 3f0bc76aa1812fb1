#include "RecordGrid.h"

#include "platform/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

RecordGrid::RecordGrid(QAbstractItemModel *model, QWidget *parent) : QTableView(parent)
{
    setModel(model);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setMouseTracking(true);
    setAlternatingRowColors(false);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);

    connect(this, &QAbstractItemView::clicked, this, &RecordGrid::rowClicked);
    connect(this, &QAbstractItemView::doubleClicked, this, &RecordGrid::rowDoubleClicked);
}

void RecordGrid::setColumnWidthTwips(int column, int twips)
{
    if (column < 0 || column >= model()->columnCount())
        return;
    if (size_t(column) >= m_twips.size()) {
        m_twips.resize(size_t(column) + 1, -1);
        m_pixelsWhenSet.resize(size_t(column) + 1, -1);
    }
    const int pixels = pixelsFromTwips(std::max(0, twips));
    m_twips[size_t(column)] = std::max(0, twips);
    m_pixelsWhenSet[size_t(column)] = pixels;
    setColumnWidth(column, pixels);
}

int RecordGrid::columnWidthTwips(int column) const
{
    if (column < 0 || column >= model()->columnCount())
        return 0;
    const int pixels = columnWidth(column);
    if (size_t(column) < m_twips.size() && pixels == m_pixelsWhenSet[size_t(column)])
        return m_twips[size_t(column)];
    return twipsFromPixels(pixels);
}

int RecordGrid::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + 1 : 0;
}

void RecordGrid::setCurrentColumn(int column)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || column < 0 || column >= model()->columnCount() || current.column() == column)
        return;
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    setCurrentIndex(model()->index(current.row(), column));
    setAutoScroll(scrolls);
}

void RecordGrid::setTopRow(int record)
{
    if (record < 1 || record > model()->rowCount())
        return;
    scrollTo(model()->index(record - 1, 0), QAbstractItemView::PositionAtTop);
}

int RecordGrid::topRow() const
{
    const int row = rowAt(0);
    return row < 0 ? 0 : row + 1;
}

void RecordGrid::keyPressEvent(QKeyEvent *event)
{
    // The arrow keys move the row the operator works on just as a click does, so that the
    // marked row and the current row never part.
    const int before = currentRow();
    QTableView::keyPressEvent(event);
    if (currentRow() != before && currentRow() != 0)
        Q_EMIT rowClicked();
}

void RecordGrid::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT pointerMoved();
    QTableView::mouseMoveEvent(event);
}
