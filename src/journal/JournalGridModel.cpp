#include "JournalGridModel.h"

#include "FieldCatalogue.h"
#include "Journal.h"

namespace {
constexpr std::array<int, JournalGridModel::kColumns> kFieldOfColumn = {
    FieldCatalogue::Id,
    FieldCatalogue::Vin,
    FieldCatalogue::MakeModel,
    FieldCatalogue::BodyNumber,
    FieldCatalogue::RegistrationPlate,
    FieldCatalogue::Colour,
};
} // namespace

JournalGridModel::JournalGridModel(const Journal &journal, QObject *parent)
    : QAbstractTableModel(parent), m_journal(journal)
{
}

int JournalGridModel::fieldOfColumn(int column)
{
    return kFieldOfColumn.at(size_t(column));
}

QString JournalGridModel::header(int column)
{
    static const std::array<QString, kColumns> headers = {
        QStringLiteral("ID"),       QStringLiteral("VIN"),       QStringLiteral("Марка, модель"),
        QStringLiteral("№ кузова"), QStringLiteral("Рег. знак"), QStringLiteral("Цвет"),
    };
    return headers.at(size_t(column));
}

Qt::Alignment JournalGridModel::alignmentOfCode(int code)
{
    static constexpr Qt::Alignment horizontal[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static constexpr Qt::Alignment vertical[3] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    if (code < 0 || code > 8)
        return Qt::AlignLeft | Qt::AlignVCenter;
    return horizontal[code / 3] | vertical[code % 3];
}

int JournalGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int JournalGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant JournalGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const int record = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_journal.table.text(record, fieldOfColumn(index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOfCode(m_alignment[size_t(index.column())]));
    case Qt::BackgroundRole: {
        const Mark m = m_marks[size_t(record)];
        return m == Mark::None ? QVariant() : QVariant(colourOf(m));
    }
    default:
        return {};
    }
}

QVariant JournalGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return header(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

void JournalGridModel::rebuild()
{
    beginResetModel();
    m_rows = std::max(0, m_journal.RecordCount);
    m_marks.assign(size_t(m_rows) + 1, Mark::None);
    endResetModel();
}

void JournalGridModel::setColumnAlignment(int column, int code)
{
    if (column < 0 || column >= kColumns)
        return;
    m_alignment[size_t(column)] = code;
    if (m_rows > 0)
        Q_EMIT dataChanged(index(0, column), index(m_rows - 1, column), {Qt::TextAlignmentRole});
}

void JournalGridModel::setMark(int record, Mark mark)
{
    if (record < 1 || record > m_rows || m_marks[size_t(record)] == mark)
        return;
    m_marks[size_t(record)] = mark;
    Q_EMIT dataChanged(index(record - 1, 0), index(record - 1, kColumns - 1), {Qt::BackgroundRole});
}

JournalGridModel::Mark JournalGridModel::mark(int record) const
{
    if (record < 1 || record > m_rows)
        return Mark::None;
    return m_marks[size_t(record)];
}

void JournalGridModel::setMarks(const std::vector<int> &records, Mark mark)
{
    int first = m_rows + 1;
    int last = 0;
    for (const int r : records) {
        if (r < 1 || r > m_rows || m_marks[size_t(r)] == mark)
            continue;
        m_marks[size_t(r)] = mark;
        first = std::min(first, r);
        last = std::max(last, r);
    }
    rowsChanged(first, last);
}

void JournalGridModel::clearMarks(Mark mark)
{
    int first = m_rows + 1;
    int last = 0;
    for (int r = 1; r <= m_rows; ++r) {
        if (m_marks[size_t(r)] == mark) {
            m_marks[size_t(r)] = Mark::None;
            first = std::min(first, r);
            last = r;
        }
    }
    rowsChanged(first, last);
}

void JournalGridModel::rowsChanged(int firstRecord, int lastRecord)
{
    if (firstRecord <= lastRecord)
        Q_EMIT dataChanged(index(firstRecord - 1, 0), index(lastRecord - 1, kColumns - 1), {Qt::BackgroundRole});
}

QColor JournalGridModel::colourOf(Mark mark)
{
    switch (mark) {
    case Mark::Selected:
        return QColor(255, 255, 0);
    case Mark::SearchHit:
        return QColor(0, 255, 255);
    case Mark::None:
        break;
    }
    return {};
}
