#pragma once

#include "certificate/EditorBoxes.h"

#include <QPointer>
#include <QWidget>

#include <array>

struct Journal;
struct Platform;
class FieldBox;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

// The registration certificate of one journal record, box by box: the operator fills it in
// here, opens the certificate for printing, and closes it to store the record in the journal.
class frm final : public QWidget, public EditorBoxes
{
    Q_OBJECT

public:
    static constexpr int kUpperCaseBoxCount = 38;

    // Loads record CurrentRecord of the journal into the boxes and the upper-case choices from
    // the settings store.
    frm(Platform &platform, Journal &journal, QWidget *parent = nullptr);
    ~frm() override;

    QString boxText(int index) const override;
    void setBoxText(int index, const QString &text) override;
    bool isBoxShown(int index) const override;
    void focusBox(int index) override;
    void showEditor() override;

    // The certificate window that serves this editor, made by whoever answers previewRequested.
    // The editor owns it (it becomes the window's parent, which keeps it in front of the editor)
    // and while it is open: the preview button brings it to the front, the boxes take no typing
    // (their texts live in the certificate until it hands them back), and closing the editor
    // first closes the certificate the normal way.
    void setCertificate(QWidget *certificate);
    QWidget *certificate() const { return m_certificate; }
    bool certificateOpen() const;

Q_SIGNALS:
    // The operator asked for the certificate of the record (button Command1).
    void previewRequested();
    // The record has been stored and the journal saved; the journal window takes over.
    void editorClosed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void buildCaptions();
    void buildMenu();
    void placeCaption(QLabel *label, const QRect &box);
    void Form_Load();
    void Form_Unload();

    void txt_GotFocus(int index);
    void showBoxBackground(int index, bool focused);
    // While the certificate holds the texts: the boxes take no typing, and say so.
    void setBoxesReadOnly(bool readOnly);
    void txt_LostFocus(int index);
    void txt_Enter(int index);
    void vinChanged();
    void Command1_Click();
    void Command3_Click();
    void setAllUpperCaseBoxes(bool ticked);
    void loadUpperCaseBoxes();
    void storeUpperCaseBoxes();
    void showCaption(QLabel *caption);
    void certificateGone(const QObject *certificate);

    Platform &m_platform;
    Journal &m_journal;
    bool m_unloaded = false;
    QPointer<QWidget> m_certificate;
    // A close asked for while the certificate could not close yet (its page picture was being
    // taken): the editor closes once the certificate has gone.
    bool m_closeAfterCertificate = false;
    bool m_closing = false;

    std::array<FieldBox *, kBoxCount> txt{};
    std::array<QCheckBox *, kUpperCaseBoxCount> Ch1{};
    QLabel *Label3 = nullptr;
    // "Закройте окно печати, …", shown while the boxes are read-only.
    QLabel *LblReadOnly = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command3 = nullptr;
    // Hover captions of Command1 and Command3.
    QLabel *Lnadp0 = nullptr;
    QLabel *Lnadp2 = nullptr;
    QMenu *Menu_Gal = nullptr;
    QAction *Menu_Gal_1 = nullptr;
    QAction *Menu_Gal_0 = nullptr;
};
