#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class Shell;

// "О программе": the program's name and version, a mail link and a web link to its makers and
// the terms of use. The journal window stays disabled while the box is open.
class frmAbout final : public QWidget
{
    Q_OBJECT

public:
    // Disables `owner` (the journal window) until the box closes, however it is closed. The box
    // is a window of its own: as a child it would be disabled with its owner.
    frmAbout(QWidget &owner, Shell &shell);
    ~frmAbout() override;

    // The link a click on Label2 hands to the shell: the address, and a subject whose Cyrillic
    // is percent-encoded as UTF-8, so that it reaches the mail program intact.
    static QString mailLink(const QString &address);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Label2_Click();
    void Label3_Click();

    QWidget &m_owner;
    Shell &m_shell;
    QLabel *lblVersion = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPlainTextEdit *txtSogl = nullptr;
    QPushButton *cmdOK = nullptr;
};
