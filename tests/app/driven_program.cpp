// The program as main() builds it, with an operator inside who answers every message box
// (printing it as "message: caption | text") and then does one thing, given as the first
// argument: "close" closes the journal window once it is shown, "restore" restores the journal
// from the backup named by the second argument, "none" does nothing of its own. Prints
// "ended: <code>" when main() returns.
#include "windows/journal/Form1.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int trelvaxMain(int argc, char *argv[]);

namespace {

QString scenario;
QString backup;

void print(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

class Operator final : public QObject
{
public:
    explicit Operator(QObject *parent) : QObject(parent)
    {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &Operator::look);
        timer->start(20);
    }

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (!box->isVisible() || m_answered.contains(box))
                return;
            m_answered << box;
            print(QStringLiteral("message: %1 | %2").arg(box->windowTitle(), box->text()));
            QAbstractButton *button = box->button(QMessageBox::Yes);
            if (!button)
                button = box->defaultButton() ? static_cast<QAbstractButton *>(box->defaultButton())
                                              : box->buttons().value(0);
            QTimer::singleShot(0, button, &QAbstractButton::click);
            return;
        }
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            if (m_answered.contains(dialog))
                return;
            m_answered << dialog;
            dialog->selectFile(backup);
            QTimer::singleShot(0, dialog, &QDialog::accept);
            return;
        }
        if (m_acted || modal)
            return;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *journal = qobject_cast<Form1 *>(window);
            if (!journal || !journal->isVisible())
                continue;
            m_acted = true;
            // Queued: the command's own dialogs must not run inside this timer's call.
            if (scenario == QLatin1String("close"))
                QTimer::singleShot(0, journal, &QWidget::close);
            else if (scenario == QLatin1String("restore"))
                QTimer::singleShot(0, journal->findChild<QAction *>(QStringLiteral("Menu_Tuns_Vost")),
                                   &QAction::trigger);
        }
    }

    QList<QPointer<QObject>> m_answered;
    bool m_acted = false;
};

void startOperator()
{
    new Operator(QCoreApplication::instance());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startOperator)

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    scenario = QString::fromLocal8Bit(argv[1]);
    if (argc > 2)
        backup = QString::fromLocal8Bit(argv[2]);
    char *programArguments[] = {argv[0], nullptr};
    int programArgumentCount = 1;
    const int code = trelvaxMain(programArgumentCount, programArguments);
    print(QStringLiteral("ended: %1").arg(code));
    return code;
}
