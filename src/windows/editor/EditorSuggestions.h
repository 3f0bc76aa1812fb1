#pragma once

#include "certificate/EditorBoxes.h"

#include <QObject>
#include <QPointer>

#include <array>

struct Journal;
class FieldBox;
class QListWidget;
class QWidget;

// Earlier values of the journal under the editor's box being typed in, and the make and model
// that brings the rest of the vehicle with it. The list is a plain child of the editor that
// never takes the focus: the box keeps the keyboard, and this watches its keys. Down and Up
// highlight a value, Enter or a click takes it into the box and then does what Enter does
// there; with nothing highlighted every key does what it does without the list.
class EditorSuggestions final : public QObject
{
    Q_OBJECT

public:
    using Boxes = std::array<FieldBox *, EditorBoxes::kBoxCount>;

    // Brings the journal's index up to date with its records and watches the boxes with
    // suggestions.
    EditorSuggestions(QWidget *editor, Journal &journal, const Boxes &boxes);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void boxEdited(FieldBox *box);
    void boxLeft(int index);
    void makeList();
    void showList(FieldBox *box, const QStringList &values);
    void closeList();
    void highlight(int row);
    // The value at `row` into the box the list is under, then Enter's move when `thenEnter`.
    void take(int row, bool thenEnter);
    // The vehicle of the last record with the make and model now in its box, into the boxes
    // of that vehicle that are still empty.
    void fillFromMakeAndModel();

    QWidget *m_editor;
    Journal &m_journal;
    Boxes m_boxes;
    QPointer<QListWidget> m_list;
    QPointer<FieldBox> m_box;
};
