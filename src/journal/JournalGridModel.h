#pragma once

#include <QAbstractTableModel>
#include <QColor>

#include <array>
#include <vector>

struct Journal;

// The journal grid's six columns read straight from the record table: row r - 1 shows record r,
// so no cell is copied and a rebuild of 20000 records costs no more than a reset.
class JournalGridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kColumns = 6;
    enum class Mark : quint8 { None, Selected, SearchHit };

    explicit JournalGridModel(const Journal &journal, QObject *parent = nullptr);

    // The record field shown in a column.
    static int fieldOfColumn(int column);
    static QString header(int column);
    // Grid alignment codes: 0..2 left, 3..5 centred, 6..8 right (top, middle, bottom), 9 general.
    static Qt::Alignment alignmentOfCode(int code);
    static bool isAlignmentCode(int code) { return code >= 0 && code <= 9; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rows again from the table: RecordCount rows, every mark cleared.
    void rebuild();
    void setColumnAlignment(int column, int code);
    // Marks of a record's row (all six cells).
    void setMark(int record, Mark mark);
    Mark mark(int record) const;
    // Marks many rows at once, with one change signal for the lot.
    void setMarks(const std::vector<int> &records, Mark mark);
    void clearMarks(Mark mark);

    static QColor colourOf(Mark mark);

private:
    void rowsChanged(int firstRecord, int lastRecord);

    const Journal &m_journal;
    int m_rows = 0;
    std::vector<Mark> m_marks;
    std::array<int, kColumns> m_alignment{4, 4, 4, 4, 4, 1};
};
