#include "frmAbout.h"

#include "Contacts.h"
#include "platform/Shell.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

namespace Text {
const QString caption = QStringLiteral("О программе");
const QString version = QStringLiteral("Trelvax 1.0.0");
const QString mailSubject = QStringLiteral("На счет программы Trelvax 1.0");
const QString ok = QStringLiteral("OK");
const QString terms = QStringLiteral(
    "Условия использования\n\n"
    "1. Программа Trelvax предназначена для ведения журнала транспортных средств и подготовки "
    "к печати свидетельств о регистрации ТС на бланках установленного образца.\n\n"
    "2. Программа предоставляется «как есть». Разработчики не несут ответственности за убытки, "
    "вызванные её использованием, в том числе за ошибки в напечатанных документах. Перед печатью "
    "проверяйте данные и положение текста на бланке.\n\n"
    "3. Журнал хранится в папке программы в файле Trelvax_1.0. Регулярно делайте резервную копию "
    "через меню «Настройки» — «Резервное копирование базы» и храните копии на другом носителе.\n\n"
    "4. Персональные данные владельцев ТС, внесённые в журнал, обрабатываются пользователем "
    "программы, который отвечает за их защиту в соответствии с законодательством.\n\n"
    "5. Разрешается устанавливать программу на рабочие места вашей организации. Запрещается "
    "изменять программу и распространять её копии без согласия разработчиков.\n\n"
    "Вопросы и предложения присылайте по адресу, указанному выше.");
} // namespace Text

// A label that reads as a link and answers a click.
QLabel *linkLabel(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setCursor(Qt::PointingHandCursor);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget &owner, Shell &shell)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint), m_owner(owner), m_shell(shell)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Text::caption);
    buildControls();
    resize(520, 440);
    m_owner.setEnabled(false);
}

frmAbout::~frmAbout() = default;

QString frmAbout::mailLink(const QString &address)
{
    return QStringLiteral("mailto:") + address + QStringLiteral("?Subject=")
        + QString::fromLatin1(QUrl::toPercentEncoding(Text::mailSubject));
}

void frmAbout::buildControls()
{
    lblVersion = new QLabel(Text::version, this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    QFont heading = lblVersion->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    lblVersion->setFont(heading);

    Label2 = linkLabel(Contacts::mailAddress(), QStringLiteral("Label2"), this);
    Label3 = linkLabel(Contacts::webAddress(), QStringLiteral("Label3"), this);
    Label2->installEventFilter(this);
    Label3->installEventFilter(this);

    txtSogl = new QPlainTextEdit(Text::terms, this);
    txtSogl->setObjectName(QStringLiteral("txtSogl"));
    txtSogl->setReadOnly(true);

    cmdOK = new QPushButton(Text::ok, this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblVersion);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(txtSogl, 1);
    layout->addLayout(buttons);
    cmdOK->setFocus();
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == Label2)
            Label2_Click();
        else if (watched == Label3)
            Label3_Click();
    }
    return QWidget::eventFilter(watched, event);
}

// A link that no program takes is ignored: the box stays as it was.
void frmAbout::Label2_Click()
{
    m_shell.openUrl(mailLink(Label2->text()));
}

void frmAbout::Label3_Click()
{
    m_shell.openUrl(Label3->text());
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    m_owner.setEnabled(true);
    QWidget::closeEvent(event);
}
