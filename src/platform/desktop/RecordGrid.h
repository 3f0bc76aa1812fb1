#pragma once

#include <QTableView>

#include <vector>

class QAbstractItemModel;

// A grid of records over any item model whose row r - 1 is record r: one fixed header row,
// per-column widths in twips that the operator can drag, and row events. Alignment and row
// colours are the model's.
class RecordGrid final : public QTableView
{
    Q_OBJECT

public:
    explicit RecordGrid(QAbstractItemModel *model, QWidget *parent = nullptr);

    // A width set in twips reads back as set while the operator leaves the column alone, so
    // widths that are no whole number of pixels do not drift from one run to the next.
    void setColumnWidthTwips(int column, int twips);
    int columnWidthTwips(int column) const;

    // The record of the current row, 0 when there is none.
    int currentRow() const;
    // Moves the current cell to another column of the current row, without scrolling.
    void setCurrentColumn(int column);
    // Scrolls so that the record's row is the top visible row.
    void setTopRow(int record);
    int topRow() const;

Q_SIGNALS:
    // A row was clicked, or the current row was moved to another row with the keyboard.
    void rowClicked();
    void rowDoubleClicked();
    void pointerMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Per column: the width last set in twips, and its pixels at the time.
    std::vector<int> m_twips;
    std::vector<int> m_pixelsWhenSet;
};
