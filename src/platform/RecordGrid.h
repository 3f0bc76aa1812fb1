#pragma once

#include <QTableView>

#include <array>

class JournalGridModel;

// The journal's grid: one fixed header row, per-column widths in twips that the operator can
// drag, per-column alignment, row colours and row events.
class RecordGrid final : public QTableView
{
    Q_OBJECT

public:
    explicit RecordGrid(JournalGridModel *model, QWidget *parent = nullptr);

    JournalGridModel *gridModel() const { return m_model; }

    // A width set in twips reads back as set while the operator leaves the column alone, so
    // widths that are no whole number of pixels do not drift from one run to the next.
    void setColumnWidthTwips(int column, int twips);
    int columnWidthTwips(int column) const;

    // The record of the current row, 0 when there is none.
    int currentRow() const;
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
    JournalGridModel *m_model;
    std::array<int, 6> m_twips{};
    std::array<int, 6> m_pixelsWhenSet{};
};
