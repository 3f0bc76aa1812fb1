#pragma once

#include <QLineEdit>

// One field box of the record editor: a single-line box that keeps out what the journal file
// cannot hold, and tells the editor when the operator enters it, leaves it or presses Enter.
class FieldBox final : public QLineEdit
{
    Q_OBJECT

public:
    FieldBox(int index, QWidget *parent);

    int index() const { return m_index; }

Q_SIGNALS:
    void entered(int index);
    // Focus went elsewhere inside the program; not when another window or a pop-up menu takes
    // it for a while and gives it back.
    void left(int index);
    // Enter was pressed; the key itself is swallowed.
    void enterPressed(int index);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_index;
};
