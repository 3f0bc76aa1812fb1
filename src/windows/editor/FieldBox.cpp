#include "FieldBox.h"

#include "journal/StorableTextValidator.h"

#include <QFocusEvent>
#include <QKeyEvent>

FieldBox::FieldBox(int index, QWidget *parent) : QLineEdit(parent), m_index(index)
{
    setObjectName(QStringLiteral("txt(%1)").arg(index));
    setValidator(new StorableTextValidator(this));
}

void FieldBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    Q_EMIT entered(m_index);
}

void FieldBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        Q_EMIT left(m_index);
}

void FieldBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT enterPressed(m_index);
        return;
    }
    QLineEdit::keyPressEvent(event);
}
