#include "EditorSuggestions.h"

#include "FieldBox.h"
#include "journal/FieldCatalogue.h"
#include "journal/Journal.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>

#include <algorithm>

namespace {

// The boxes a make and model fills, by field: the Latin make and model, type, category, engine
// model, power, displacement and the two masses.
constexpr std::array<int, 8> kVehicleFields = {5, 6, 7, 9, 14, 15, 18, 19};
// The background of a box filled from an earlier record, until the box is next entered.
const QColor kFilledColour(225, 238, 255);

int fieldOf(const FieldBox *box)
{
    return FieldCatalogue::fieldFromBox(box->index());
}

} // namespace

EditorSuggestions::EditorSuggestions(QWidget *editor, Journal &journal, const Boxes &boxes)
    : QObject(editor), m_editor(editor), m_journal(journal), m_boxes(boxes)
{
    setObjectName(QStringLiteral("EditorSuggestions"));
    journal.suggestions.update(journal.table, journal.RecordCount);

    for (FieldBox *box : m_boxes) {
        if (!SuggestionIndex::hasSuggestions(fieldOf(box)))
            continue;
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, box] { boxEdited(box); });
    }
    // After the editor's own leaving rules, which were connected first.
    for (FieldBox *box : m_boxes)
        connect(box, &FieldBox::left, this, &EditorSuggestions::boxLeft);
}

void EditorSuggestions::boxEdited(FieldBox *box)
{
    const QString text = box->text();
    const QStringList values = m_journal.suggestions.lookup(fieldOf(box), text);
    // A single value that is already there exactly has nothing to offer.
    if (values.isEmpty() || (values.size() == 1 && values.first() == text)) {
        closeList();
        return;
    }
    showList(box, values);
}

void EditorSuggestions::makeList()
{
    m_list = new QListWidget(m_editor);
    m_list->setObjectName(QStringLiteral("lstSuggestions"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    // A value is highlighted only by the keys or a press: a pointer passing over changes
    // nothing that Enter would take.
    m_list->setMouseTracking(false);
    m_list->viewport()->setAttribute(Qt::WA_Hover, false);
    m_list->hide();
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { take(m_list->row(item), true); });
}

void EditorSuggestions::showList(FieldBox *box, const QStringList &values)
{
    // Made when first needed: most editors are opened and closed without one.
    if (!m_list)
        makeList();
    m_box = box;
    m_list->setFont(box->font());
    m_list->clear();
    m_list->addItems(values);
    m_list->setCurrentRow(-1);
    m_list->clearSelection();

    // Under the box, as wide as the box or the longest value, inside the window; above the
    // box where the window has no room below it.
    const int frame = 2 * m_list->frameWidth();
    const int height = m_list->sizeHintForRow(0) * int(values.size()) + frame;
    const int width = std::min(std::max(box->width(), m_list->sizeHintForColumn(0) + frame + 8), m_editor->width());
    const QRect place = box->geometry();
    const int x = std::clamp(place.left(), 0, std::max(0, m_editor->width() - width));
    int y = place.bottom() + 1;
    if (y + height > m_editor->height() && place.top() - height >= 0)
        y = place.top() - height;
    m_list->setGeometry(x, y, width, height);
    m_list->raise();
    m_list->show();
}

void EditorSuggestions::closeList()
{
    m_box = nullptr;
    if (m_list)
        m_list->hide();
}

void EditorSuggestions::highlight(int row)
{
    if (row < 0) {
        m_list->setCurrentRow(-1);
        m_list->clearSelection();
        return;
    }
    m_list->setCurrentRow(row);
}

void EditorSuggestions::take(int row, bool thenEnter)
{
    FieldBox *box = m_box;
    if (!box || row < 0 || row >= m_list->count())
        return;
    const QString value = m_list->item(row)->text();
    closeList();
    box->setText(value);
    if (fieldOf(box) == FieldCatalogue::MakeModel)
        fillFromMakeAndModel();
    if (thenEnter) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &enter);
    }
}

void EditorSuggestions::boxLeft(int index)
{
    if (m_box && m_box->index() == index)
        closeList();
    if (FieldCatalogue::fieldFromBox(index) == FieldCatalogue::MakeModel)
        fillFromMakeAndModel();
}

void EditorSuggestions::fillFromMakeAndModel()
{
    const QString makeAndModel = m_boxes[size_t(FieldCatalogue::boxFromField(FieldCatalogue::MakeModel))]->text();
    const int record = m_journal.suggestions.latestRecordWith(FieldCatalogue::MakeModel, makeAndModel);
    if (record == 0)
        return;
    for (const int field : kVehicleFields) {
        FieldBox *box = m_boxes[size_t(FieldCatalogue::boxFromField(field))];
        const QString value = m_journal.table.text(record, field);
        if (!box->text().isEmpty() || value.isEmpty())
            continue;
        box->setText(value);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, kFilledColour);
        box->setPalette(palette);
    }
}

bool EditorSuggestions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_list || !m_list->isVisible() || watched != m_box)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const int row = m_list->currentRow();
    switch (key->key()) {
    case Qt::Key_Down:
        highlight(std::min(row + 1, m_list->count() - 1));
        return true;
    case Qt::Key_Up:
        highlight(row - 1);
        return true;
    case Qt::Key_Escape:
        closeList();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Taken or not, the box then does what Enter does there.
        if (row >= 0)
            take(row, false);
        else
            closeList();
        return false;
    default:
        return false;
    }
}
