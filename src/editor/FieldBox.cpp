#include "FieldBox.h"

#include "FieldInputRules.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

namespace {

// Runs on every change of the text, typed, pasted, dropped or set by the program: "|" and the
// characters with no Windows-1251 byte are left out and the rest is kept, so that nothing in a
// box can break a journal line or change silently when the journal is written.
class StorableTextValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        qsizetype removedBeforeCursor = 0;
        qsizetype kept = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (FieldInputRules::isAccepted(input[i]))
                input[kept++] = input[i];
            else if (i < pos)
                ++removedBeforeCursor;
        }
        input.truncate(kept);
        pos -= int(removedBeforeCursor);
        return Acceptable;
    }
};

} // namespace

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
